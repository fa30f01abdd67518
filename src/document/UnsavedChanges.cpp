#include "document/UnsavedChanges.h"

#include "app/Workspace.h"
#include "document/FileCommands.h"
#include "help/Messages.h"
#include "help/ProgramInfo.h"

namespace korv {

bool confirmUnsavedChanges(Workspace &ws)
{
    if (!ws.list.isModified())
        return true;
    switch (ws.ui.askYesNoCancel(LangText(QStringLiteral("021")), ProgramInfo::kNoticeTitle)) {
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
