#include "editing/EditFields.h"

#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

namespace korv {

EditFields::EditFields(SubtitleList &list, const NumberFormat &nf, QObject *parent)
    : QObject(parent), list_(list), nf_(nf)
{
    texts_[SkipStep] = QStringLiteral("1");
    connect(&list_, &SubtitleList::selectionChanged, this, &EditFields::Listview_ItemClick);
    connect(&list_, &SubtitleList::cellsChanged, this, &EditFields::refreshIfSelected);
    connect(&list_, &SubtitleList::resetDone, this, [this] { Listview_ItemClick(list_.selected()); });
}

void EditFields::assign(int index, const QString &text)
{
    if (texts_[std::size_t(index)] == text)
        return;
    texts_[std::size_t(index)] = text;
    emit textChanged(index, text);
}

void EditFields::setText(int index, const QString &text)
{
    if (index < 0 || index >= kCount)
        return;
    const bool changed = texts_[std::size_t(index)] != text;
    assign(index, text);
    if (changed)
        Text1_Change(index);
}

void EditFields::Text1_Change(int index)
{
    if (list_.isEmpty() || clearingFields_ || !list_.isValidRow(list_.selected()))
        return;
    const int row = list_.selected();
    writingField_ = index;
    if (index == Start || index == End) {
        list_.setCell(row, index + 1, texts_[std::size_t(index)]);
        updateDuration();
    } else if (index >= Line1 && index <= Line3) {
        // Empty line fields are skipped: lines A, (empty), C give "A|C".
        QString joined = texts_[Line1];
        for (int k : {Line2, Line3}) {
            const QString &line = texts_[std::size_t(k)];
            if (line.isEmpty())
                continue;
            if (!joined.isEmpty())
                joined += QLatin1Char('|');
            joined += line;
        }
        // Lines after the third have no field; they stay as they were.
        if (!moreLines_.isNull()) {
            if (!joined.isEmpty())
                joined += QLatin1Char('|');
            joined += moreLines_;
        }
        list_.setCell(row, ColText, joined);
    }
    writingField_ = -1;
}

QString EditFields::linesAfterTheThird(const QString &text)
{
    qsizetype bar = -1;
    for (int k = 0; k < 3; ++k) {
        bar = text.indexOf(QLatin1Char('|'), bar + 1);
        if (bar < 0)
            return QString();
    }
    // Not null even when empty: "a|b|c|" keeps its empty fourth line.
    return text.mid(bar + 1).isNull() ? QStringLiteral("") : text.mid(bar + 1);
}

void EditFields::updateDuration()
{
    const auto start = TextToSeconds(texts_[Start], nf_);
    const auto end = TextToSeconds(texts_[End], nf_);
    if (!start || !end)
        return; // the label keeps what it showed
    const QString text = FormatSeconds(*end - *start, precision(), nf_) + QStringLiteral(" sn");
    if (text != duration_) {
        duration_ = text;
        emit durationChanged(duration_);
    }
}

void EditFields::Listview_ItemClick(int row)
{
    if (list_.isEmpty() || !list_.isValidRow(row))
        return;
    // The fields are filled with the row's own texts: nothing needs writing
    // back, and choosing a row must never change it (a fourth line, an empty
    // middle line and the modified flag all stay as they are).
    clearingFields_ = true;
    for (int i = Start; i <= Line3; ++i)
        assign(i, QString());
    const SubtitleEntry &entry = list_.row(row);
    assign(Start, entry.start);
    assign(End, entry.end);
    const SubtitleLines lines = SplitSubtitleLines(entry.text);
    assign(Line1, lines.line1);
    assign(Line2, lines.line2);
    assign(Line3, lines.line3);
    moreLines_ = linesAfterTheThird(entry.text);
    clearingFields_ = false;
    updateDuration();
}

void EditFields::refreshIfSelected(int firstRow, int lastRow)
{
    const int row = list_.selected();
    if (writingField_ >= 0 || clearingFields_ || row < firstRow || row > lastRow)
        return;
    // A command changed the row on screen (a shift, a repair): show it.
    Listview_ItemClick(row);
}

void EditFields::shiftEnd(double delta)
{
    if (texts_[End].isEmpty())
        setText(End, texts_[Start]);
    const auto end = TextToSeconds(texts_[End], nf_);
    if (!end)
        return;
    setText(End, SecondsToText(*end + delta, nf_));
}

void EditFields::CmdArayiAc_Click()
{
    shiftEnd(0.25);
}

void EditFields::CmdArayiKapat_Click()
{
    shiftEnd(-0.25);
}

void EditFields::Text1_KeyDown(int /*index*/, int keyCode)
{
    if (keyCode != 40 && keyCode != 38)
        return;
    const int target = list_.selected() + (keyCode == 40 ? 1 : -1);
    // At either end the selection stays and the fields are shown again.
    list_.select(list_.isValidRow(target) ? target : list_.selected());
}

} // namespace korv
