#include "editing/TimeShift.h"

#include "commands/Workspace.h"
#include "document/SubtitleList.h"
#include "document/TimeText.h"
#include "locale/Messages.h"
#include "document/ProgramInfo.h"

#include <vector>

namespace korv {

Status ShiftAllTimes(SubtitleList &list, double seconds, int *failedRow)
{
    const int n = list.count();
    std::vector<double> values(std::size_t(n) * 2);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 2; ++k) {
            const auto value = TextToSeconds(list.cell(i, ColStart + k));
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
        list.setCell(i, ColStart, FormatSeconds(values[std::size_t(i) * 2] + seconds));
        list.setCell(i, ColEnd, FormatSeconds(values[std::size_t(i) * 2 + 1] + seconds));
    }
    return Status::success();
}

void CmdEkleCikar_Click(Workspace &ws, bool add)
{
    if (ws.list.isEmpty())
        return;
    const auto seconds = TextToSeconds(ws.fields.text(EditFields::ShiftSeconds));
    if (!seconds)
        return;
    BusyPointer busy(ws.ui);
    int failedRow = -1;
    if (ShiftAllTimes(ws.list, add ? *seconds : -*seconds, &failedRow))
        return;
    busy.release();
    // The language's own words for "this row's time is not a number", and the
    // row chosen so the user can mend it at once.
    ws.ui.showNotice(LangMessage(QStringLiteral("006")) + QStringLiteral("\r\n\r\n") + LangMessage(QStringLiteral("007"))
                         + ws.list.cell(failedRow, ColNumber),
                     ProgramInfo::kNoticeTitle);
    ws.list.select(failedRow);
}

} // namespace korv
