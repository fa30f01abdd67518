#include "help/BalloonWindow.h"

#include "help/Twips.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPolygon>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

namespace korv {

namespace {

QWidget *loadedForm(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        // Pop-up menus are top-level widgets too, but not windows of the program.
        if (window->windowType() != Qt::Popup && window->objectName() == name)
            return window;
    }
    return nullptr;
}

const QColor kPaper(255, 252, 238);
const QColor kRule(196, 214, 236);
const QColor kMargin(242, 178, 178);

} // namespace

const QColor &BalloonWindow::background()
{
    static const QColor brown(140, 109, 92);
    return brown;
}

BalloonWindow::BalloonWindow(const Language &language, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), language_(language)
{
    setObjectName(QStringLiteral("BalonYardim1"));
    setWindowTitle(QString());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background());
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(Twips::rect(0, 0, 4500, 4500));
    Picture1->setPixmap(notebookPage(Picture1->size()));

    Picture2 = new QWidget(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(Twips::rect(780, 105, 45, 4275));
    Picture2->setAutoFillBackground(true);
    QPalette margin = Picture2->palette();
    margin.setColor(QPalette::Window, kMargin);
    Picture2->setPalette(margin);

    // The page is read over the notebook's ruled paper; keys belong to the
    // balloon, which closes on any of them.
    Web = new QTextBrowser(Picture1);
    Web->setObjectName(QStringLiteral("Web"));
    Web->setGeometry(Twips::rect(795, 75, 3570, 4320));
    Web->setFrameShape(QFrame::NoFrame);
    Web->setFocusPolicy(Qt::NoFocus);
    Web->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Web->viewport()->setAutoFillBackground(false);
    QPalette page = Web->palette();
    page.setColor(QPalette::Base, Qt::transparent);
    page.setColor(QPalette::Text, QColor(40, 30, 25));
    Web->setPalette(page);
    Web->setAccessibleName(language_.LangText(msg::NameHelpPage));
}

void BalloonWindow::navigate(const QString &page)
{
    Web->setSource(QUrl::fromLocalFile(language_.programFolder() + QStringLiteral("/Help/") + page));
}

void BalloonWindow::shape(int corner, QPoint tip)
{
    // The window covers the whole screen the tip lies on; with no window
    // manager only an explicit geometry does that.
    QScreen *screen = QGuiApplication::screenAt(tip);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    setGeometry(area);

    shape_ = balloonShape(corner, tip - area.topLeft(), area.size(), Picture1->size());
    Picture1->move(shape_.bodyPosition);
    setMask(balloonRegion(shape_));
}

void BalloonWindow::keyPressEvent(QKeyEvent *event)
{
    // A key still repeating from closing the previous balloon must not close
    // this one before it is read.
    if (event->isAutoRepeat())
        return;
    close();
}

QRegion balloonRegion(const BalloonShape &shape)
{
    const auto tail = shape.tail();
    const QRegion triangle(QPolygon({tail[0], tail[1], tail[2]}), Qt::OddEvenFill);

    const QRect &r = shape.body;
    const int e = Balloon::kCornerEllipse;
    const int h = e / 2;
    QRegion body(r.adjusted(h, 0, -h, 0));
    body += r.adjusted(0, h, 0, -h);
    body += QRegion(QRect(r.left(), r.top(), e, e), QRegion::Ellipse);
    body += QRegion(QRect(r.right() - e + 1, r.top(), e, e), QRegion::Ellipse);
    body += QRegion(QRect(r.left(), r.bottom() - e + 1, e, e), QRegion::Ellipse);
    body += QRegion(QRect(r.right() - e + 1, r.bottom() - e + 1, e, e), QRegion::Ellipse);
    return triangle.united(body);
}

QPixmap BalloonWindow::notebookPage(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // The sheet with a soft shadow under its right and lower edges.
    const QRectF sheet(18, 3, w - 24, h - 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 35, 25, 90));
    p.drawRoundedRect(sheet.translated(3, 3), 5, 5);
    p.setBrush(kPaper);
    p.setPen(QPen(QColor(150, 128, 108), 1));
    p.drawRoundedRect(sheet, 5, 5);

    // Ruled lines under the text, a stronger one under the header.
    p.setPen(QPen(kRule, 1));
    for (qreal y = 36.5; y < sheet.bottom() - 6; y += 17)
        p.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
    p.setPen(QPen(QColor(150, 180, 220), 1.5));
    p.drawLine(QPointF(sheet.left() + 2, 19.5), QPointF(sheet.right() - 2, 19.5));

    // Punched holes showing the brown behind the sheet, and the wire rings
    // that run through them around the sheet's left edge.
    for (qreal y = 14; y < h - 12; y += 19) {
        p.setPen(Qt::NoPen);
        p.setBrush(background().darker(115));
        p.drawEllipse(QPointF(34, y), 3.6, 3.6);

        QPainterPath ring;
        ring.moveTo(34, y - 1);
        ring.cubicTo(28, y - 9, 6, y - 8, 5, y - 1);
        ring.cubicTo(5, y + 3, 10, y + 5, 15, y + 4);
        QLinearGradient metal(0, y - 8, 0, y + 5);
        metal.setColorAt(0, QColor(245, 245, 245));
        metal.setColorAt(0.5, QColor(160, 160, 165));
        metal.setColorAt(1, QColor(90, 90, 95));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 60, 60, 140), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(ring.translated(0.8, 0.8));
        p.setPen(QPen(QBrush(metal), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(ring);
    }
    p.end();
    return pixmap;
}

void ShowBalloon(const Language &language, int corner, int x, int y, const QString &page, QWidget *parent)
{
    if (QWidget *previous = loadedForm(QStringLiteral("BalonYardim1")))
        delete previous;

    QPointer<BalloonWindow> balloon = new BalloonWindow(language, parent);
    balloon->navigate(page);
    balloon->shape(corner, QPoint(x, y));
    balloon->exec();
    // Closed by a key, or replaced by a later balloon (then already gone).
    delete balloon.data();
}

bool IsFormLoaded(const QString &name)
{
    return loadedForm(name) != nullptr;
}

QPoint tourScreenPoint(const QWidget *window, const QWidget *frame, const QWidget *control, double offsetX,
                       double offsetY)
{
    constexpr double tpp = 15;
    TourAnchor anchor;
    anchor.windowLeft = window->x() * tpp;
    anchor.windowTop = window->y() * tpp;
    anchor.frameLeft = frame->x() * tpp;
    anchor.frameTop = frame->y() * tpp;
    anchor.controlLeft = control->x() * tpp;
    anchor.controlTop = control->y() * tpp;
    return tourScreenPoint(anchor, offsetX, offsetY, tpp, tpp);
}

} // namespace korv
