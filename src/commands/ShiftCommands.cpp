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
    int failedRow = -1;
    if (ShiftAllTimes(ws.list, add ? *seconds : -*seconds, ws.numbers, &failedRow))
        return;
    busy.release();
    // The language's own words for "this row's time is not a number", and the
    // row chosen so the user can mend it at once.
    ws.ui.showNotice(ws.language.LangMessage(msg::TimeNotANumber) + QStringLiteral("\r\n\r\n") + ws.language.LangMessage(msg::RowLabel)
                         + ws.list.cell(failedRow, ColNumber),
                     ProgramInfo::kNoticeTitle);
    ws.list.select(failedRow);
}

} // namespace korv
