#include "editing/OverlapCheck.h"

#include "commands/Workspace.h"
#include "document/TimeText.h"
#include "locale/Messages.h"
#include "document/ProgramInfo.h"

namespace korv {

namespace {

const QString kNewLine = QStringLiteral("\r\n");

QString rowLabel(const Workspace &ws, int row)
{
    return LangMessage(QStringLiteral("007")) + ws.list.cell(row, ColNumber);
}

bool failAt(Workspace &ws, int row)
{
    ws.ui.showNotice(LangMessage(QStringLiteral("006")) + kNewLine + kNewLine + rowLabel(ws, row),
                     LangMessage(QStringLiteral("008")));
    ws.list.select(row);
    return false;
}

void addReportEntry(Workspace &ws, int row, bool repaired)
{
    ws.checkReport += kNewLine + LangMessage(QStringLiteral("007")) + QString::number(row + 1) + kNewLine
        + (repaired ? LangMessage(QStringLiteral("011")) : QStringLiteral("HATA DÜZELTİLMEDİ"));
}

// A time at hundredths, in the plain form ("12", not "12.").
void normalise(SubtitleList &list, int row, int column)
{
    const auto value = TextToSeconds(list.cell(row, column));
    if (value)
        list.setCell(row, column, SecondsToTextAtHundredths(*value));
}

} // namespace

bool CheckOverlaps(Workspace &ws)
{
    SubtitleList &list = ws.list;
    ws.checkReport.clear();
    const int n = list.count();
    SubtitleList::BulkChange bulk(list);
    for (int i = 0; i < n; ++i) {
        if (!TextToSeconds(list.cell(i, ColStart)))
            return failAt(ws, i);
        const auto end = TextToSeconds(list.cell(i, ColEnd));
        if (!end)
            return failAt(ws, i);
        if (i < list.count() - 1) {
            const auto nextStart = TextToSeconds(list.cell(i + 1, ColStart));
            if (!nextStart)
                return failAt(ws, i + 1);
            if (*nextStart < *end) {
                const QString question = LangMessage(QStringLiteral("009")) + kNewLine + kNewLine + rowLabel(ws, i);
                if (!ws.hataCheck1) {
                    ws.ui.showNotice(question, LangMessage(QStringLiteral("008")));
                    list.select(i);
                    return false;
                }
                bool repair = true;
                if (ws.hataCheck2) {
                    list.select(i);
                    const Answer answer = ws.ui.askYesNoCancel(
                        question + kNewLine + kNewLine + LangMessage(QStringLiteral("010")),
                        LangMessage(QStringLiteral("008")));
                    if (answer == Answer::Cancel) {
                        addReportEntry(ws, i, false);
                        return false;
                    }
                    repair = answer == Answer::Yes;
                }
                if (repair)
                    list.setCell(i, ColEnd, SecondsToText(*nextStart));
                addReportEntry(ws, i, repair);
            }
        }
        normalise(list, i, ColStart);
        normalise(list, i, ColEnd);
    }
    return true;
}

void CmdHataKontrolu_Click(Workspace &ws)
{
    if (!CheckOverlaps(ws))
        return;
    if (ws.checkReport.isEmpty())
        ws.ui.showNotice(LangMessage(QStringLiteral("005")), ProgramInfo::kNoticeTitle);
    else
        ws.ui.showNotice(LangMessage(QStringLiteral("004")) + kNewLine + ws.checkReport, ProgramInfo::kNoticeTitle);
}

} // namespace korv
