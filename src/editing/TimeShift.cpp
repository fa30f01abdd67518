#include "editing/TimeShift.h"

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <vector>

namespace korv {

Status ShiftAllTimes(SubtitleList &list, double seconds, const NumberFormat &nf, int *failedRow)
{
    const int n = list.count();
    std::vector<double> values(std::size_t(n) * 2);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 2; ++k) {
            const auto value = TextToSeconds(list.cell(i, ColStart + k), nf);
            if (!value) {
                if (failedRow)
                    *failedRow = i;
                return Failure{Message::of(k == 0 ? msg::StartNotANumber : msg::EndNotANumber,
                                           {QString::number(i + 1), shortened(list.cell(i, ColStart + k), 40)})};
            }
            values[std::size_t(i) * 2 + std::size_t(k)] = *value;
        }
    }
    SubtitleList::BulkChange bulk(list);
    for (int i = 0; i < n; ++i) {
        // The general form of the sum keeps 15 digits, and so does the
        // pattern: one rounding to hundredths gives what two conversions would.
        list.setCell(i, ColStart, FormatSeconds(values[std::size_t(i) * 2] + seconds, nf));
        list.setCell(i, ColEnd, FormatSeconds(values[std::size_t(i) * 2 + 1] + seconds, nf));
    }
    return Status::success();
}

} // namespace korv
