#include "editing/BoxDrag.h"

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

// A hair of tolerance, so that a bound already on the grid (1.23 read back
// as 1.2299999999) counts as on it.
constexpr double kTolerance = 1e-9;

double nearest(double t, double step)
{
    return step > 0 ? std::round(t / step) * step : t;
}

double atOrAbove(double t, double step)
{
    return step > 0 ? std::ceil(t / step - kTolerance) * step : t;
}

double atOrBelow(double t, double step)
{
    return step > 0 ? std::floor(t / step + kTolerance) * step : t;
}

// `t` on the grid within [lo, hi]; nothing fits when the grid has no point there.
bool placed(double &t, double lo, double hi, double step)
{
    if (lo > hi + kTolerance)
        return false;
    t = nearest(t, step);
    if (t < lo - kTolerance)
        t = atOrAbove(lo, step);
    if (t > hi + kTolerance)
        t = atOrBelow(hi, step);
    return t >= lo - kTolerance && t <= hi + kTolerance;
}

} // namespace

BoxTimes dragBox(BoxTimes box, DragPart part, double delta, DragBounds bounds, double step)
{
    const double lowest = std::max(0.0, bounds.lowest);
    BoxTimes moved = box;
    switch (part) {
    case DragPart::Start:
        moved.start = box.start + delta;
        if (!placed(moved.start, lowest, std::min(box.end, bounds.highest), step))
            return box;
        break;
    case DragPart::End:
        moved.end = box.end + delta;
        if (!placed(moved.end, std::max(box.start, lowest), bounds.highest, step))
            return box;
        break;
    case DragPart::Whole: {
        const double duration = box.end - box.start;
        moved.start = box.start + delta;
        if (!placed(moved.start, lowest, bounds.highest - duration, step))
            return box;
        moved.end = moved.start + duration;
        break;
    }
    }
    return moved;
}

} // namespace korv
