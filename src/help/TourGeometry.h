#pragma once
// Geometry of the help tour: where a balloon's body and tail go, and how the
// tour turns a control's position into the screen point the tail aims at.
// Everything here is plain arithmetic so that it can be checked directly.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

namespace korv {

// The screen corner the balloon's body sits in.
enum BalloonCorner { TopLeft = 1, TopRight = 2, BottomRight = 3, BottomLeft = 4 };

namespace Balloon {
constexpr int kBodySize = 300;       // the notebook page, pixels
constexpr int kCornerEllipse = 10;   // rounding of the body's corners
constexpr int kTailHalfBase = 20;    // the tail's base is 40 pixels wide
} // namespace Balloon

struct BalloonShape {
    // Where the body picture is placed in the window.
    QPoint bodyPosition;
    // The tail: a triangle from its base on the screen edge to the tip.
    QPoint base1;
    QPoint base2;
    QPoint tip;
    // The visible body, drawn with rounded corners.
    QRect body;

    std::array<QPoint, 3> tail() const { return {base1, base2, tip}; }
};

// The shape of a balloon in a window of the given size (pixels, window
// coordinates) whose tail points at tip. A corner outside 1..4 is taken as
// the top-left one, so the body is never lost.
BalloonShape balloonShape(int corner, QPoint tip, QSize window, QSize body = {Balloon::kBodySize, Balloon::kBodySize});

// A control's position as the tour measures it, in twips: the main window's
// outer left/top, the containing frame's left/top in the window, the
// control's left/top in its container (for a toolbar button: within the
// toolbar, whose own offset in the frame is not counted).
struct TourAnchor {
    double windowLeft = 0;
    double windowTop = 0;
    double frameLeft = 0;
    double frameTop = 0;
    double controlLeft = 0;
    double controlTop = 0;
};

// The screen point in pixels of anchor + offset (twips), halves to even.
QPoint tourScreenPoint(const TourAnchor &anchor, double offsetX, double offsetY, double twipsPerPixelX = 15,
                       double twipsPerPixelY = 15);

} // namespace korv
