#pragma once
// Where a subtitle's times go when its box is dragged on the waveform strip:
// an edge or the whole box moved by some seconds, put on the document's
// grid (a MicroDVD frame, a hundredth, a millisecond), and held between its
// neighbours. Pure: the caller writes what it returns.

#include <limits>

namespace korv {

enum class DragPart { Start, End, Whole };

struct BoxTimes {
    double start = 0;
    double end = 0;
    friend bool operator==(const BoxTimes &, const BoxTimes &) = default;
};

struct DragBounds {
    // The previous row's end (0 for the first row: nothing starts before the
    // film) and the next row's start.
    double lowest = 0;
    double highest = std::numeric_limits<double>::infinity();
};

// `box` moved by `delta` seconds at `part`. The moved time is rounded to the
// nearest multiple of `step` (0: kept as it is); an edge never passes the
// other edge (a zero duration at least) nor its bound, a moved box keeps its
// duration and stays within both bounds. A time that is not moved keeps its
// value exactly. A box that cannot move that way at all is returned as it is.
BoxTimes dragBox(BoxTimes box, DragPart part, double delta, DragBounds bounds, double step);

} // namespace korv
