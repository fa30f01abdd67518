#pragma once
// The overlap check over the rows, asking nobody: it stops at the first
// start or end that is not a number, at a subtitle that ends before it
// starts and at one that starts before the row above it (a repair first
// sorts the rows by start, when `sortFirst` agrees, so that pulling an end
// back never puts it before its start), finds every subtitle whose end passes
// the next one's start and, as the mode says, stops there, pulls that end
// back to the next start, or lets `decide` choose; every time it passes is
// rewritten at the document's precision (hundredths or milliseconds). The command that asks and reports is in
// commands/CheckCommands.h.

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <functional>
#include <vector>

namespace korv {

// HataCheck1 off: stop at an overlap; on: repair it; on with HataCheck2:
// decide each one.
enum class OverlapMode { Stop, Repair, Decide };
enum class OverlapDecision { Repair, Leave, Cancel };

struct OverlapCheckResult {
    enum class Stop { None, NotANumber, Overlap, Cancelled, EndBeforeStart, OutOfOrder };
    Stop stop = Stop::None;
    // Where the walk stopped (0-based), and for NotANumber the column whose
    // time did not read.
    int row = -1;
    int column = -1;
    // Every overlap met (the row whose end passed the next start), repaired
    // or left, in order.
    struct Entry {
        int row;
        bool repaired;
    };
    std::vector<Entry> entries;
    // The rows were sorted by start before the walk.
    bool sorted = false;

    bool reachedEnd() const { return stop == Stop::None; }
};

// Asked, before a repair or a decided walk, whether rows out of time order
// (the first of them is `row`, 0-based) may be sorted by start; the rows of
// equal starts keep their order. Without it they are.
using SortQuestion = std::function<bool(int row)>;

// The walk. Rows before the one it stopped at keep their repairs and
// rounding; that row and those after it are left as they were.
OverlapCheckResult checkOverlaps(SubtitleList &list, const NumberFormat &nf, OverlapMode mode,
                                 const std::function<OverlapDecision(int row)> &decide = {},
                                 TimePrecision precision = TimePrecision::Hundredths,
                                 const SortQuestion &sortFirst = {});

} // namespace korv
