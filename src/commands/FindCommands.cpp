#include "commands/FindCommands.h"

#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "editing/Find.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

void FindSubtitle(Workspace &ws, const QString &pattern, int column)
{
    // Positions are 1-based here, as the find state keeps them.
    const int first = ws.findContinues ? ws.lastFoundRow + 1 : 1;
    ws.lastFoundRow = first;
    const FindResult found = findSubtitle(ws.list, pattern, column, first - 1, ws.letterCase);
    if (found.row < 0) {
        ws.ui.showNotice(ws.language.LangMessage(msg::NothingFound), ProgramInfo::kNoticeTitle);
        // The message says the next search starts at the top; so it does.
        ws.findContinues = false;
        return;
    }
    ws.lastFoundRow = found.row + 1;
    ws.findContinues = true;
    // Choosing the row shows it in the edit fields and scrolls to it.
    ws.list.select(found.row);
}

void CmdFind_Click(Workspace &ws)
{
    FindSubtitle(ws, ws.fields.text(EditFields::Search), ColText);
}

} // namespace korv
