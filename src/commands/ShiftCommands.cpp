#include "commands/ShiftCommands.h"

#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "document/TimeText.h"
#include "editing/TimeShift.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

void CmdEkleCikar_Click(Workspace &ws, bool add)
{
    if (ws.list.isEmpty())
        return;
    const auto seconds = TextToSeconds(ws.fields.text(EditFields::ShiftSeconds), ws.numbers);
    if (!seconds)
        return;
    BusyPointer busy(ws.ui);
    const double offset = add ? *seconds : -*seconds;
    int failedRow = -1;
    {
        // The step keeps the offset; only a time the opposite shift would not
        // give back exactly ("1" read back as "1.") is kept as it was.
        const TimeShifter forward(offset, ws.numbers, ws.precision()), back(-offset, ws.numbers, ws.precision());
        TimeTransform transform;
        transform.move = [forward, back](const QString &text, bool ahead) { return ahead ? forward(text) : back(text); };
        transform.givesBack = [forward](const QString &before, const QString &after) {
            return forward.givesBack(before, after);
        };
        const HistoryStep step(ws, StepKind::TimeShift, std::move(transform));
        if (ShiftAllTimes(ws.list, offset, ws.numbers, &failedRow, ws.precision()))
            return;
    }
    busy.release();
    // The language's own words for "this row's time is not a number", and the
    // row chosen so the user can mend it at once.
    ws.ui.showNotice(ws.language.LangMessage(msg::TimeNotANumber) + QStringLiteral("\r\n\r\n") + ws.language.LangMessage(msg::RowLabel)
                         + ws.list.cell(failedRow, ColNumber),
                     ProgramInfo::kNoticeTitle);
    ws.list.select(failedRow);
}

} // namespace korv
