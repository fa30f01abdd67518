#include "commands/SplitCommands.h"

#include "commands/Workspace.h"
#include "editing/Split.h"

#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "document/ProgramInfo.h"
#include "document/TimeText.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <vector>

namespace korv {

void CmdBol_Click(Workspace &ws, int formatEntry)
{
    SubtitleList &list = ws.list;
    BusyPointer busy(ws.ui);
    if (!CheckOverlaps(ws)) {
        list.renumber();
        return;
    }
    const QString pointText = ws.fields.text(EditFields::SplitPoint);
    std::vector<SubtitleEntry> table = list.rows();
    std::optional<SplitParts> parts = splitAt(table, pointText, ws.numbers);
    if (!parts) {
        busy.release();
        ws.ui.showNotice(ws.language.LangMessage(msg::SplitPointInvalid), ProgramInfo::kNoticeTitle);
        list.renumber();
        return;
    }
    const bool wasModified = list.isModified();
    const int selected = list.selected();
    // Saving the parts names the files they went to; the document itself is
    // still the file it was, in its format, for any later save.
    const QString documentFile = ws.currentSubtitleFile;
    const SaveFormat documentFormat = ws.documentFormat;
    // The parts pass through the list on their way to disk; the document is
    // not changed and its history does not hear of them.
    const DocumentHistory::Pause quiet(ws.history);

    list.replaceAll(std::move(parts->first));
    // Entry 0 of the format box is SubViewer 2, entry 1 MicroDVD.
    const SaveFormat format = formatEntry == 1 ? SaveFormat::MicroDvd : SaveFormat::SubViewer;
    mnualtyazikaydet_Click(ws, format);
    // The second file is written whatever became of the first.
    list.replaceAll(std::move(parts->second));
    mnualtyazikaydet_Click(ws, format);

    // The document comes back whole, whatever the two saves did, with the
    // row numbers it had.
    list.replaceAll(std::move(table));
    list.select(selected);
    // Writing the parts did not save the document itself.
    list.setModified(wasModified);
    ws.currentSubtitleFile = documentFile;
    ws.documentFormat = documentFormat;
}

} // namespace korv
