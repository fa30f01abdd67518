#include "editing/OverlapCheck.h"

#include "document/MillisecondTime.h"
#include "document/TimeText.h"

#include <algorithm>

namespace korv {

namespace {

// A time at the precision, in the plain form ("12", not "12.").
void normalise(SubtitleList &list, int row, int column, const NumberFormat &nf, TimePrecision precision)
{
    const auto value = TextToSeconds(list.cell(row, column), nf);
    if (value)
        list.setCell(row, column, TimeTextAtPrecision(*value, precision, nf));
}

// The first row that starts before the row above it (-1 for none), and the
// first whose start is no number (-1 for none), the starts read until then.
struct StartOrder {
    int firstOutOfOrder = -1;
    int firstNotANumber = -1;
};

StartOrder readStarts(const SubtitleList &list, const NumberFormat &nf, std::vector<double> &starts)
{
    starts.reserve(std::size_t(list.count()));
    StartOrder order;
    for (int i = 0; i < list.count(); ++i) {
        const auto start = TextToSeconds(list.cell(i, ColStart), nf);
        if (!start) {
            order.firstNotANumber = i;
            return order;
        }
        if (order.firstOutOfOrder < 0 && i > 0 && *start < starts.back())
            order.firstOutOfOrder = i;
        starts.push_back(*start);
    }
    return order;
}

void sortByStart(SubtitleList &list, const std::vector<double> &starts)
{
    std::vector<int> order(starts.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = int(k);
    std::stable_sort(order.begin(), order.end(),
                     [&starts](int a, int b) { return starts[std::size_t(a)] < starts[std::size_t(b)]; });
    std::vector<SubtitleEntry> rows;
    rows.reserve(order.size());
    for (int k : order)
        rows.push_back(list.row(k));
    const int selected = list.selected();
    list.replaceAll(std::move(rows));
    list.renumber();
    if (selected >= 0)
        list.select(int(std::find(order.begin(), order.end(), selected) - order.begin()));
}

} // namespace

OverlapCheckResult checkOverlaps(SubtitleList &list, const NumberFormat &nf, OverlapMode mode,
                                 const std::function<OverlapDecision(int row)> &decide, TimePrecision precision,
                                 const SortQuestion &sortFirst)
{
    using Stop = OverlapCheckResult::Stop;
    OverlapCheckResult result;
    auto stopAt = [&result](Stop why, int row, int column = -1) {
        result.stop = why;
        result.row = row;
        result.column = column;
        return result;
    };
    if (mode != OverlapMode::Stop) {
        std::vector<double> starts;
        const StartOrder order = readStarts(list, nf, starts);
        // Rows out of order can only be sorted once every start is a
        // number: that start is mended first.
        if (order.firstOutOfOrder >= 0 && order.firstNotANumber >= 0)
            return stopAt(Stop::NotANumber, order.firstNotANumber, ColStart);
        if (order.firstOutOfOrder >= 0 && (!sortFirst || sortFirst(order.firstOutOfOrder))) {
            sortByStart(list, starts);
            result.sorted = true;
        }
    }
    const int n = list.count();
    SubtitleList::BulkChange bulk(list);
    for (int i = 0; i < n; ++i) {
        const auto start = TextToSeconds(list.cell(i, ColStart), nf);
        if (!start)
            return stopAt(Stop::NotANumber, i, ColStart);
        const auto end = TextToSeconds(list.cell(i, ColEnd), nf);
        if (!end)
            return stopAt(Stop::NotANumber, i, ColEnd);
        // At the precision written: an end that rounds to its start is none before it.
        const auto startUnits = ToUnits(*start, precision);
        const auto endUnits = ToUnits(*end, precision);
        if (startUnits && endUnits ? *endUnits < *startUnits : *end < *start)
            return stopAt(Stop::EndBeforeStart, i);
        if (i < list.count() - 1) {
            const auto nextStart = TextToSeconds(list.cell(i + 1, ColStart), nf);
            if (!nextStart)
                return stopAt(Stop::NotANumber, i + 1, ColStart);
            // Pulling this end back to a start before its own would put it
            // before its start: rows out of order are told, not mended.
            if (*nextStart < *start)
                return stopAt(Stop::OutOfOrder, i + 1);
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
