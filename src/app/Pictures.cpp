#include "app/Pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace korv::Pictures {

namespace {

QIcon drawn(int size, const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return QIcon(pixmap);
}

const QColor kInk(60, 45, 35);

} // namespace

QIcon files()
{
    return drawn(24, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 190, 80));
        QPainterPath folder;
        folder.moveTo(2, 6);
        folder.lineTo(9, 6);
        folder.lineTo(11, 8);
        folder.lineTo(21, 8);
        folder.lineTo(21, 20);
        folder.lineTo(2, 20);
        folder.closeSubpath();
        p.drawPath(folder);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 10, 12));
        p.setPen(QPen(QColor(120, 120, 120), 1));
        for (int y = 6; y <= 12; y += 3)
            p.drawLine(QPointF(8, y), QPointF(14, y));
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(250, 210, 110));
        p.drawRect(QRectF(2, 11, 19, 9));
    });
}

QIcon options()
{
    return drawn(24, [](QPainter &p) {
        p.translate(12, 12);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(150, 160, 175));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            QPainterPath tooth;
            tooth.addRect(QRectF(-2, -11, 4, 5));
            QTransform t;
            t.rotate(i * 45);
            gear.addPath(t.map(tooth));
        }
        gear.addEllipse(QPointF(0, 0), 7.5, 7.5);
        p.drawPath(gear.simplified());
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 3, 3);
    });
}

QIcon help()
{
    return drawn(24, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(90, 150, 220));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon about()
{
    return drawn(24, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(110, 170, 110));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 7.5), 1.8, 1.8);
        p.drawRoundedRect(QRectF(10.5, 10.5, 3, 8), 1, 1);
    });
}

QIcon exit()
{
    return drawn(24, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(170, 110, 70));
        p.drawRect(QRectF(4, 2, 12, 20));
        p.setBrush(QColor(230, 230, 230));
        p.drawEllipse(QPointF(13, 12), 1.2, 1.2);
        p.setPen(QPen(QColor(200, 40, 40), 2.2));
        p.drawLine(QPointF(12, 12), QPointF(22, 12));
        p.drawLine(QPointF(18, 8), QPointF(22, 12));
        p.drawLine(QPointF(18, 16), QPointF(22, 12));
    });
}

QIcon skipBack()
{
    return drawn(20, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(10, 4), QPointF(10, 16), QPointF(2, 10)}));
        p.drawPolygon(QPolygonF({QPointF(18, 4), QPointF(18, 16), QPointF(10, 10)}));
    });
}

QIcon skipForward()
{
    return drawn(20, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(2, 16), QPointF(10, 10)}));
        p.drawPolygon(QPolygonF({QPointF(10, 4), QPointF(10, 16), QPointF(18, 10)}));
    });
}

QIcon lengthen()
{
    return drawn(16, [](QPainter &p) {
        p.setPen(QPen(QColor(30, 120, 30), 2.5));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    });
}

QIcon shorten()
{
    return drawn(16, [](QPainter &p) {
        p.setPen(QPen(QColor(170, 40, 40), 2.5));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    });
}

QIcon program()
{
    return drawn(32, [](QPainter &p) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(40, 40, 48));
        p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
        p.setBrush(Qt::white);
        for (int x = 5; x < 29; x += 6) {
            p.drawRect(QRectF(x, 7, 3, 2));
            p.drawRect(QRectF(x, 23, 3, 2));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 90));
        p.drawRoundedRect(QRectF(7, 17, 18, 3), 1.5, 1.5);
        p.drawRoundedRect(QRectF(10, 12, 12, 3), 1.5, 1.5);
    });
}

} // namespace korv::Pictures
