#include "commands/UnsavedChanges.h"

#include "commands/FileCommands.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

bool confirmUnsavedChanges(Workspace &ws)
{
    if (!ws.list.isModified())
        return true;
    switch (ws.ui.askYesNoCancel(ws.language.LangText(msg::UnsavedChanges), ProgramInfo::kNoticeTitle)) {
    case Answer::Yes:
        // Saved in the format the document came in; a failed or cancelled
        // save keeps the document open.
        return mnualtyazikaydet_Click(ws, ws.documentFormat);
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

} // namespace korv
