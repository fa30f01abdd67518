#include "help/TourGeometry.h"

#include "document/TimeText.h"

namespace korv {

BalloonShape balloonShape(int corner, QPoint tip, QSize window, QSize body)
{
    using Balloon::kTailHalfBase;
    const int W = window.width();
    const int H = window.height();
    const int bw = body.width();
    const int bh = body.height();
    // The tail's base is centred under the body's middle.
    const int m = int(RoundHalfEven(bw / 2.0));

    BalloonShape shape;
    shape.tip = tip;
    switch (corner) {
    case TopRight:
        shape.bodyPosition = QPoint(W - bw - 1, 0);
        shape.base1 = QPoint(W - (m - kTailHalfBase), 0);
        shape.base2 = QPoint(W - (m + kTailHalfBase), 0);
        shape.body = QRect(QPoint(W - bw, 0), QPoint(W - 1, bh - 1));
        break;
    case BottomRight:
        shape.bodyPosition = QPoint(W - bw - 1, H - bh - 1);
        shape.base1 = QPoint(W - (m - kTailHalfBase), H);
        shape.base2 = QPoint(W - (m + kTailHalfBase), H);
        shape.body = QRect(QPoint(W - bw, H - bh), QPoint(W - 1, H - 1));
        break;
    case BottomLeft:
        shape.bodyPosition = QPoint(0, H - bh - 1);
        shape.base1 = QPoint(m - kTailHalfBase, H);
        shape.base2 = QPoint(m + kTailHalfBase, H);
        shape.body = QRect(QPoint(0, H - bh), QPoint(bw - 1, H - 1));
        break;
    case TopLeft:
    default:
        shape.bodyPosition = QPoint(0, 0);
        shape.base1 = QPoint(m - kTailHalfBase, 0);
        shape.base2 = QPoint(m + kTailHalfBase, 0);
        shape.body = QRect(QPoint(0, 0), QPoint(bw - 1, bh - 1));
        break;
    }
    return shape;
}

QPoint tourScreenPoint(const TourAnchor &anchor, double offsetX, double offsetY, double twipsPerPixelX,
                       double twipsPerPixelY)
{
    const double x = (anchor.windowLeft + anchor.frameLeft + anchor.controlLeft + offsetX) / twipsPerPixelX;
    const double y = (anchor.windowTop + anchor.frameTop + anchor.controlTop + offsetY) / twipsPerPixelY;
    return QPoint(int(RoundHalfEven(x)), int(RoundHalfEven(y)));
}

} // namespace korv
