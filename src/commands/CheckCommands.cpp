#include "commands/CheckCommands.h"

#include "commands/Workspace.h"
#include "document/Message.h"
#include "document/ProgramInfo.h"
#include "editing/OverlapCheck.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

namespace {

const QString kNewLine = QStringLiteral("\r\n");

QString rowLabel(const Workspace &ws, int row)
{
    return ws.language.LangMessage(msg::RowLabel) + ws.list.cell(row, ColNumber);
}

QString reportEntry(const Workspace &ws, int row, bool repaired)
{
    return kNewLine + ws.language.LangMessage(msg::RowLabel) + QString::number(row + 1) + kNewLine
        + (repaired ? ws.language.LangMessage(msg::Repaired) : QStringLiteral("HATA DÜZELTİLMEDİ"));
}

} // namespace

bool CheckOverlaps(Workspace &ws)
{
    return CheckOverlaps(ws, ws.precision());
}

bool CheckOverlaps(Workspace &ws, TimePrecision precision)
{
    // Every repair of one run, and the times it tidied, are one step.
    const HistoryStep step(ws, StepKind::Check);
    const OverlapMode mode = !ws.hataCheck1 ? OverlapMode::Stop
        : ws.hataCheck2                     ? OverlapMode::Decide
                                            : OverlapMode::Repair;
    const QString overlapText = ws.language.LangMessage(msg::EndPassesNextStart) + kNewLine + kNewLine;
    const OverlapCheckResult result = checkOverlaps(ws.list, ws.numbers, mode, [&](int row) {
        // The row in question is on screen while the user decides.
        ws.list.select(row);
        switch (ws.ui.askYesNoCancel(overlapText + rowLabel(ws, row) + kNewLine + kNewLine
                                         + ws.language.LangMessage(msg::RepairQuestion),
                                     ws.language.LangMessage(msg::CheckTitle))) {
        case Answer::Yes: return OverlapDecision::Repair;
        case Answer::No: return OverlapDecision::Leave;
        case Answer::Cancel: break;
        }
        return OverlapDecision::Cancel;
    }, precision, [&](int row) {
        // Sorting moves the user's rows: only with a Yes.
        return ws.ui.askYesNo(ws.language.LangText(Message::of(msg::SortByStartQuestion, {QString::number(row + 1)})),
                              ws.language.LangMessage(msg::CheckTitle));
    });
    ws.checkReport.clear();
    for (const OverlapCheckResult::Entry &entry : result.entries)
        ws.checkReport += reportEntry(ws, entry.row, entry.repaired);

    using Stop = OverlapCheckResult::Stop;
    if (result.stop != Stop::None && result.stop != Stop::Cancelled) {
        QString what = overlapText;
        switch (result.stop) {
        case Stop::NotANumber: what = ws.language.LangMessage(msg::TimeNotANumber) + kNewLine + kNewLine; break;
        case Stop::EndBeforeStart: what = ws.language.LangText(msg::EndBeforeStart) + kNewLine + kNewLine; break;
        case Stop::OutOfOrder: what = ws.language.LangText(msg::StartBeforeRowAbove) + kNewLine + kNewLine; break;
        default: break;
        }
        ws.ui.showNotice(what + rowLabel(ws, result.row), ws.language.LangMessage(msg::CheckTitle));
        ws.list.select(result.row);
    }
    return result.reachedEnd();
}

void CmdHataKontrolu_Click(Workspace &ws)
{
    if (!CheckOverlaps(ws))
        return;
    if (ws.checkReport.isEmpty())
        ws.ui.showNotice(ws.language.LangMessage(msg::CheckFoundNothing), ProgramInfo::kNoticeTitle);
    else
        ws.ui.showNotice(ws.language.LangMessage(msg::CheckReport) + kNewLine + ws.checkReport, ProgramInfo::kNoticeTitle);
}

} // namespace korv
