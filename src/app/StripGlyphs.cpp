#include "app/StripGlyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <climits>

namespace korv {

StripGlyphs StripGlyphs::make(const std::array<QColor, FaceCount> &colours)
{
    StripGlyphs glyphs;
    for (int id = 0; id < FaceCount; ++id) {
        QFont font;
        font.setPixelSize(id == Box || id == SelectedBox ? 11 : 10);
        const QFontMetrics metrics(font);
        Face &face = glyphs.faces_[std::size_t(id)];
        face.ascent = metrics.ascent();
        int x = 0;
        for (qsizetype i = 0; i < kCharacters.size(); ++i) {
            const int advance = metrics.horizontalAdvance(kCharacters[i]);
            face.cells[std::size_t(i)] = QRect(x, 0, advance, metrics.height());
            x += advance + 2; // room for a glyph that reaches past its advance
        }
        face.image = QImage(std::max(1, x), std::max(1, metrics.height()), QImage::Format_ARGB32_Premultiplied);
        face.image.fill(Qt::transparent);
        QPainter p(&face.image);
        p.setFont(font);
        p.setPen(colours[std::size_t(id)]);
        for (qsizetype i = 0; i < kCharacters.size(); ++i)
            p.drawText(face.cells[std::size_t(i)].left(), face.ascent, QString(kCharacters[i]));
    }
    return glyphs;
}

bool StripGlyphs::covers(const QString &text)
{
    for (const QChar c : text)
        if (!kCharacters.contains(c))
            return false;
    return true;
}

int StripGlyphs::width(FaceId face, const QString &text) const
{
    int w = 0;
    for (const QChar c : text)
        w += faces_[face].cells[std::size_t(kCharacters.indexOf(c))].width();
    return w;
}

void StripGlyphs::draw(QPainter &p, FaceId face, QPoint at, const QString &text, int right) const
{
    const Face &f = faces_[face];
    for (const QChar c : text) {
        const QRect cell = f.cells[std::size_t(kCharacters.indexOf(c))];
        if (at.x() + cell.width() > right)
            return;
        // The cell with the room after it, where a glyph may overhang.
        p.drawImage(at, f.image, cell.adjusted(0, 0, 1, 0));
        at.rx() += cell.width();
    }
}

} // namespace korv
