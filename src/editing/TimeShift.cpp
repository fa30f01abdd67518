#include "editing/TimeShift.h"

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <vector>

namespace korv {

Status ShiftAllTimes(SubtitleList &list, double seconds, const NumberFormat &nf, int *failedRow,
                     TimePrecision precision)
{
    const int n = list.count();
    const TimeShifter shift(seconds, nf, precision);
    // Every new text first: one start or end that is no number changes nothing.
    std::vector<QString> texts(std::size_t(n) * 2);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 2; ++k) {
            auto text = shift(list.cell(i, ColStart + k));
            if (!text) {
                if (failedRow)
                    *failedRow = i;
                return Failure{Message::of(k == 0 ? msg::StartNotANumber : msg::EndNotANumber,
                                           {QString::number(i + 1), shortened(list.cell(i, ColStart + k), 40)})};
            }
            texts[std::size_t(i) * 2 + std::size_t(k)] = std::move(*text);
        }
    }
    SubtitleList::BulkChange bulk(list);
    for (int i = 0; i < n; ++i) {
        list.setCell(i, ColStart, texts[std::size_t(i) * 2]);
        list.setCell(i, ColEnd, texts[std::size_t(i) * 2 + 1]);
    }
    return Status::success();
}

namespace {
// Far inside the range where the sum in hundredths and the pattern agree.
constexpr qint64 kFastLimit = 100000000000LL;
} // namespace

TimeShifter::TimeShifter(double seconds, const NumberFormat &nf, TimePrecision precision)
    : seconds_(seconds), nf_(nf), precision_(precision)
{
    // The offset in units, read back from the pattern's own text of it.
    if (const auto units = PlainUnits(FormatSeconds(seconds, precision, nf), precision, nf);
        units && *units > -kFastLimit && *units < kFastLimit
        && TextToSeconds(FormatSeconds(seconds, precision, nf), nf) == seconds)
        units_ = units;
}

std::optional<QString> TimeShifter::operator()(const QString &text) const
{
    // A plain text moved by whole hundredths is summed as integers: the
    // pattern would write the same, and this is most of a shift's work.
    if (units_) {
        if (const auto n = PlainUnits(text, precision_, nf_); n && *n > -kFastLimit && *n < kFastLimit)
            return FormatUnits(*n + *units_, precision_, nf_);
    }
    const auto value = TextToSeconds(text, nf_);
    if (!value)
        return std::nullopt;
    return FormatSeconds(*value + seconds_, precision_, nf_);
}

bool TimeShifter::givesBack(const QString &before, const QString &after) const
{
    bool formatted = false;
    if (units_) {
        if (const auto n = PlainUnits(before, precision_, nf_, &formatted); n && formatted && *n > -kFastLimit && *n < kFastLimit)
            return true;
    }
    return TimeShifter(-seconds_, nf_, precision_)(after) == before;
}

} // namespace korv
