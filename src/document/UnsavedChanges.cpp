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
    QString question = LangMessage(QStringLiteral("021"));
    if (question.isEmpty()) // a language file of an older release
        question = QStringLiteral("Altyazıda kaydedilmemiş değişiklikler var. Önce kaydetmek ister misiniz?");
    switch (ws.ui.askYesNoCancel(question, ProgramInfo::kNoticeTitle)) {
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
