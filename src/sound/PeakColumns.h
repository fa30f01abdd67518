#pragma once
// What the waveform strip paints: for each pixel column of a time span, the
// lowest and highest sample and the RMS under it. A pure function of the
// pyramid's published bins, costing about the number of columns (times the
// pyramid's depth at most), never the number of samples.

#include "sound/PeakPyramid.h"

#include <span>
#include <vector>

namespace korv::sound {

struct PeakColumn {
    float min = 0; // -1 .. 1
    float max = 0;
    float shade = 0; // RMS, 0 .. 1
    // False where nothing is known yet (not analysed, before 0, past the end).
    bool known = false;
};

// The 10 ms bins [firstBin, endBin) of a pyramid summed up; endBin must not
// exceed the `filled` count the caller loaded.
PeakColumn peakSummary(const PeakPyramid &pyramid, qint64 firstBin, qint64 endBin);

// Column i covers the 10 ms bins from the one holding fromUs + span * i / n up
// to the one holding fromUs + span * (i + 1) / n (exclusive), and at least the
// first: zoomed out, every bin belongs to exactly one column; zoomed in past
// 10 ms a column, the columns under one bin all show it.
void peakColumns(const PeakPyramid &pyramid, qint64 fromUs, qint64 toUs, std::span<PeakColumn> out);
std::vector<PeakColumn> peakColumns(const PeakPyramid &pyramid, qint64 fromUs, qint64 toUs, int width);

} // namespace korv::sound
