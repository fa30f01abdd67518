#pragma once
// Moving every subtitle earlier or later by the same number of seconds.

#include "document/Result.h"
#include "document/TimeText.h"

#include <optional>

namespace korv {

class SubtitleList;

// Adds `seconds` to every start and end time, written with at most two
// decimals, three at milliseconds ("12." for a whole second). All or
// nothing: when a start or end does not read as a number, nothing changes,
// the failure names the row and `failedRow` (when given) receives its index.
Status ShiftAllTimes(SubtitleList &list, double seconds, const NumberFormat &nf, int *failedRow = nullptr,
                     TimePrecision precision = TimePrecision::Hundredths);

// Moves one time text by a number of seconds, written as ShiftAllTimes
// writes it; nothing when the text is not a number.
class TimeShifter {
public:
    TimeShifter(double seconds, const NumberFormat &nf, TimePrecision precision = TimePrecision::Hundredths);

    std::optional<QString> operator()(const QString &text) const;
    // Whether the opposite shift gives `before` back from `after`, what this
    // one made of it. Answered without a conversion for the usual case: a
    // text in the form the shift writes, moved by whole hundredths.
    bool givesBack(const QString &before, const QString &after) const;

private:
    double seconds_;
    NumberFormat nf_;
    TimePrecision precision_;
    // The seconds in units of the precision, when they are a whole number of them.
    std::optional<qint64> units_;
};

} // namespace korv
