#pragma once
// Moving every subtitle earlier or later by the same number of seconds.

#include "document/Result.h"
#include "document/TimeText.h"

namespace korv {

class SubtitleList;

// Adds `seconds` to every start and end time, written with at most two
// decimals ("12." for a whole second). All or nothing: when a start or end
// does not read as a number, nothing changes, the failure names the row and
// `failedRow` (when given) receives its index.
Status ShiftAllTimes(SubtitleList &list, double seconds, const NumberFormat &nf, int *failedRow = nullptr);

} // namespace korv
