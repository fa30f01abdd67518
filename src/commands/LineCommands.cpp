#include "commands/LineCommands.h"

#include "commands/UnsavedChanges.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

namespace {
enum Buffer { BufPosition = 0, BufStart = 1, BufEnd = 2, BufText = 3 };
} // namespace

void addRow(Workspace &ws)
{
    const HistoryStep step(ws, StepKind::AddRow);
    SubtitleList &list = ws.list;
    const int position = list.isValidRow(list.selected()) ? list.selected() + 1 : list.count();
    list.insertRow(position);
    list.renumber();
    // Choosing the new row empties the edit fields for the new subtitle.
    list.select(position);
}

void deleteRow(Workspace &ws)
{
    const HistoryStep step(ws, StepKind::DeleteRow);
    SubtitleList &list = ws.list;
    const int row = list.selected();
    if (list.isValidRow(row)) {
        // The only row is kept too, so that a restore brings back the row just
        // deleted and never an older one.
        const SubtitleEntry &entry = list.row(row);
        ws.deletedRowBuffer = {QString::number(row + 1), entry.start, entry.end, entry.text};
        // Removing the selected row selects the one that takes its place,
        // which shows it in the edit fields.
        list.removeRow(row);
    }
    if (list.isEmpty())
        addRow(ws);
    list.renumber();
    ws.setRestoreEnabled(true);
}

void restoreRow(Workspace &ws)
{
    const HistoryStep step(ws, StepKind::RestoreRow);
    SubtitleList &list = ws.list;
    const auto &buffer = ws.deletedRowBuffer;
    bool isNumber = false;
    const int position = buffer[BufPosition].toInt(&isNumber) - 1;
    // Deleting the only row left an empty one in its place; the row comes
    // back instead of it, not beside it.
    const bool placeholder = position == 0 && list.count() == 1 && list.row(0).start.isEmpty()
        && list.row(0).end.isEmpty() && list.row(0).text.isEmpty();
    // A position past the end (rows were removed since) restores nothing.
    if (isNumber && list.insertRow(position, {QStringLiteral("0"), buffer[BufStart], buffer[BufEnd], buffer[BufText]})) {
        if (placeholder)
            list.removeRow(1);
        list.select(position);
    } else {
        list.select(list.selected());
    }
    list.renumber();
    ws.setRestoreEnabled(false);
}

void Cubuk_ButtonClick(Workspace &ws, int position)
{
    switch (position) {
    case 1: addRow(ws); break;
    case 2: deleteRow(ws); break;
    case 3: restoreRow(ws); break;
    default: break;
    }
}

void MnuYeniAltYazi_Click(Workspace &ws)
{
    // Changed work is offered for saving first; an unchanged list of two or
    // more rows is still confirmed before it goes.
    if (ws.list.isModified()) {
        if (!confirmUnsavedChanges(ws))
            return;
    } else if (ws.list.count() > 1
               && !ws.ui.askYesNo(ws.language.LangMessage(msg::NewDocumentQuestion), ProgramInfo::kNoticeTitle)) {
        return;
    }
    {
        // Undo brings the old document back.
        const HistoryStep step(ws, StepKind::NewDocument);
        ws.list.clear();
        addRow(ws);
    }
    // A new, empty document has nothing to save.
    ws.history.markEmpty();
}

void CmdArayiAc_Click(Workspace &ws)
{
    const HistoryStep step(ws, StepKind::Lengthen);
    ws.fields.CmdArayiAc_Click();
}

void CmdArayiKapat_Click(Workspace &ws)
{
    const HistoryStep step(ws, StepKind::Shorten);
    ws.fields.CmdArayiKapat_Click();
}

} // namespace korv
