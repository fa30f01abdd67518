#include "editing/OverlapCheck.h"

#include "document/MillisecondTime.h"
#include "document/TimeText.h"

namespace korv {

namespace {

// A time at the precision, in the plain form ("12", not "12.").
void normalise(SubtitleList &list, int row, int column, const NumberFormat &nf, TimePrecision precision)
{
    const auto value = TextToSeconds(list.cell(row, column), nf);
    if (value)
        list.setCell(row, column, TimeTextAtPrecision(*value, precision, nf));
}

} // namespace

OverlapCheckResult checkOverlaps(SubtitleList &list, const NumberFormat &nf, OverlapMode mode,
                                 const std::function<OverlapDecision(int row)> &decide, TimePrecision precision)
{
    using Stop = OverlapCheckResult::Stop;
    OverlapCheckResult result;
    auto stopAt = [&result](Stop why, int row, int column = -1) {
        result.stop = why;
        result.row = row;
        result.column = column;
        return result;
    };
    const int n = list.count();
    SubtitleList::BulkChange bulk(list);
    for (int i = 0; i < n; ++i) {
        if (!TextToSeconds(list.cell(i, ColStart), nf))
            return stopAt(Stop::NotANumber, i, ColStart);
        const auto end = TextToSeconds(list.cell(i, ColEnd), nf);
        if (!end)
            return stopAt(Stop::NotANumber, i, ColEnd);
        if (i < list.count() - 1) {
            const auto nextStart = TextToSeconds(list.cell(i + 1, ColStart), nf);
            if (!nextStart)
                return stopAt(Stop::NotANumber, i + 1, ColStart);
            // Strictly: a subtitle may end where the next one starts.
            if (*nextStart < *end) {
                if (mode == OverlapMode::Stop)
                    return stopAt(Stop::Overlap, i);
                OverlapDecision decision = OverlapDecision::Repair;
                if (mode == OverlapMode::Decide && decide)
                    decision = decide(i);
                if (decision == OverlapDecision::Cancel) {
                    result.entries.push_back({i, false});
                    return stopAt(Stop::Cancelled, i);
                }
                const bool repair = decision == OverlapDecision::Repair;
                if (repair)
                    list.setCell(i, ColEnd, SecondsToText(*nextStart, nf));
                result.entries.push_back({i, repair});
            }
        }
        normalise(list, i, ColStart, nf, precision);
        normalise(list, i, ColEnd, nf, precision);
    }
    return result;
}

} // namespace korv
