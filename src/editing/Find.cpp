#include "editing/Find.h"

#include "commands/Workspace.h"
#include "editing/Wildcard.h"
#include "locale/Messages.h"
#include "document/ProgramInfo.h"

#include <string>

namespace korv {

namespace {

void tellNothingFound(Workspace &ws)
{
    ws.ui.showNotice(LangMessage(QStringLiteral("001")), ProgramInfo::kNoticeTitle);
    // The message says the next search starts at the top; so it does.
    ws.findContinues = false;
}

} // namespace

void FindSubtitle(Workspace &ws, const QString &pattern, int column)
{
    const LetterCase rule = letterCase();
    const std::optional<WildcardPattern> compiled =
        WildcardPattern::compile(QStringLiteral("*") + pattern + QStringLiteral("*"), rule);
    if (!compiled) {
        tellNothingFound(ws);
        return;
    }
    if (column < ColStart || column > ColText)
        column = ColText;

    const int first = ws.findContinues ? ws.lastFoundRow + 1 : 1;
    ws.lastFoundRow = first;
    const SubtitleList &list = ws.list;
    const int n = list.count();
    std::u32string lowered;
    for (int position = first; position <= n; ++position) {
        lowerCaseInto(list.cell(position - 1, column), rule, lowered);
        if (compiled->matches(lowered)) {
            ws.lastFoundRow = position;
            ws.findContinues = true;
            // Choosing the row shows it in the edit fields and scrolls to it.
            ws.list.select(position - 1);
            return;
        }
    }
    tellNothingFound(ws);
}

void CmdFind_Click(Workspace &ws)
{
    FindSubtitle(ws, ws.fields.text(EditFields::Search), ColText);
}

} // namespace korv
