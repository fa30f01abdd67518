#include "sound/PeakColumns.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace korv::sound {

PeakColumn peakSummary(const PeakPyramid &pyramid, qint64 firstBin, qint64 endBin)
{
    PeakColumn column;
    if (endBin <= firstBin)
        return column;
    int lo = 32767, hi = -32768;
    double squares = 0; // shade squared, weighted by the 10 ms bins it covers
    qint64 a = firstBin;
    // Cover the range with the largest aligned bins that fit: at most three
    // of each level on either side, whatever the range's length.
    while (a < endBin) {
        int level = PeakPyramid::kLevels - 1;
        if (a != 0)
            level = std::min(level, std::countr_zero(quint64(a)) / 2);
        while (level > 0 && a + (qint64(1) << (2 * level)) > endBin)
            --level;
        const PeakBin &b = pyramid.bin(level, a >> (2 * level));
        lo = std::min<int>(lo, b.min);
        hi = std::max<int>(hi, b.max);
        const qint64 width = qint64(1) << (2 * level);
        squares += double(b.shade) * b.shade * double(width);
        a += width;
    }
    column.min = lo / PeakPyramid::kScale;
    column.max = hi / PeakPyramid::kScale;
    column.shade = float(std::sqrt(squares / double(endBin - firstBin)) / PeakPyramid::kScale);
    column.known = true;
    return column;
}

namespace {
qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
} // namespace

void peakColumns(const PeakPyramid &pyramid, qint64 fromUs, qint64 toUs, std::span<PeakColumn> out)
{
    const qint64 n = qint64(out.size());
    if (n == 0)
        return;
    const qint64 filled = pyramid.filledBins(); // one load: every column sees the same bins
    const qint64 span = std::max<qint64>(0, toUs - fromUs);
    qint64 a = floorDiv(fromUs, PeakPyramid::kBinUs);
    for (qint64 i = 0; i < n; ++i) {
        const qint64 next = floorDiv(fromUs + qint64((__int128)span * (i + 1) / n), PeakPyramid::kBinUs);
        const qint64 b = std::max(next, a + 1);
        out[size_t(i)] = peakSummary(pyramid, std::max<qint64>(a, 0), std::min(b, filled));
        a = next;
    }
}

std::vector<PeakColumn> peakColumns(const PeakPyramid &pyramid, qint64 fromUs, qint64 toUs, int width)
{
    std::vector<PeakColumn> columns(size_t(std::max(0, width)));
    peakColumns(pyramid, fromUs, toUs, columns);
    return columns;
}

} // namespace korv::sound
