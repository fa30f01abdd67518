#pragma once
// Moving captured times onto the voice. A keypad capture is late by the
// person's reaction, so a start looks for the nearest speech onset from
// 600 ms before the press to 200 ms after it, an end for the nearest offset
// from 500 ms before to 300 ms after; with no edge in reach the time stands.
// Pure functions over seconds: the caller stores what they return.

#include "sound/SpeechDetector.h"

#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace korv::sound {

// Rounds a time to what the document will store (a frame of a MicroDVD
// file, a hundredth, a millisecond); the snapped time is the rounded one.
using RoundTime = std::function<double(double)>;
RoundTime roundToStep(double step); // 0.01, 0.001; 0 keeps the time as it is

struct SnapReach {
    double before = 0; // seconds the edge may lie before the press
    double after = 0;  // and after it
};
inline constexpr SnapReach startReach{0.6, 0.2};
inline constexpr SnapReach endReach{0.5, 0.3};

// The edges of the spans, each list in time order.
struct SpeechEdges {
    std::vector<double> onsets;
    std::vector<double> offsets;
    static SpeechEdges of(const std::vector<SpeechSpan> &spans);
};

// The edge nearest to `press` within reach and within [lowest, highest]
// (after rounding), or none.
std::optional<double> nearestEdge(const std::vector<double> &edges, double press, SnapReach reach,
                                  const RoundTime &round, double lowest = -1e300, double highest = 1e300);

// One keypad capture.
double snapStart(const SpeechEdges &edges, double press, const RoundTime &round);
double snapEnd(const SpeechEdges &edges, double press, const RoundTime &round);

struct RowTimes {
    double start = 0;
    double end = 0;
    friend bool operator==(const RowTimes &, const RowTimes &) = default;
};

struct SnapRules {
    double minGap = 2 / 25.0;   // between one row's end and the next row's start
    double minDuration = 0.7;
    static SnapRules forFrameRate(double fps) { return {2 / fps, 0.7}; }
};

struct SnapReport {
    std::vector<RowTimes> rows; // the rows as they are to be stored
    int startsMoved = 0;
    int endsMoved = 0;
    int startsOutOfReach = 0; // no onset within reach
    int endsOutOfReach = 0;   // no offset within reach
    int startsHeld = 0;       // an onset in reach, but taking it would break a rule
    int endsHeld = 0;
};

// Snaps `rows` (in the document's order, which is time order) by the same
// reach. A row never takes an edge that lies before the previous row's end
// or after the next row's start (those belong to the neighbouring lines),
// keeps `minGap` from its neighbours and, where it moves, keeps at least
// `minDuration` (an end whose offset comes sooner is placed at start +
// minDuration, within the gap to the next row). Edges that are not moved
// keep their times exactly.
//
// When only some rows are snapped, `previousEnd` and `nextStart` are the end
// of the row before them and the start of the row after them, which stay.
SnapReport snapRows(const SpeechEdges &edges, const std::vector<RowTimes> &rows, const SnapRules &rules,
                    const RoundTime &round, double previousEnd = -std::numeric_limits<double>::infinity(),
                    double nextStart = std::numeric_limits<double>::infinity());

} // namespace korv::sound
