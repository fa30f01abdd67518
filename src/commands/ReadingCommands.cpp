#include "commands/ReadingCommands.h"

#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QBrush>
#include <QColor>

#include <bit>

namespace korv {

namespace {

const QString kNewLine = QStringLiteral("\n");

QString fill(const Language &language, const QString &key, const QStringList &values)
{
    return language.LangText(Message::of(key, values));
}

} // namespace

ReadingRules readingRules(const Workspace &ws)
{
    ReadingRules rules;
    rules.profile = ws.readingProfile;
    rules.precision = ws.precision();
    rules.numbers = ws.numbers;
    if (ws.frameRates.film > 0)
        rules.frameRate = ws.frameRates.film;
    else if (ws.documentFormat == SaveFormat::MicroDvd && ws.frameRates.microDvd > 0)
        rules.frameRate = ws.frameRates.microDvd;
    return rules;
}

QString readingRuleCaption(const Language &language, ReadingRule rule)
{
    switch (rule) {
    case ReadingRule::Cps: return language.LangText(msg::RuleCps);
    case ReadingRule::LineLength: return language.LangText(msg::RuleLineLength);
    case ReadingRule::Lines: return language.LangText(msg::RuleLines);
    case ReadingRule::MinDuration: return language.LangText(msg::RuleMinDuration);
    case ReadingRule::MaxDuration: return language.LangText(msg::RuleMaxDuration);
    case ReadingRule::Gap: return language.LangText(msg::RuleGap);
    case ReadingRule::Empty: return language.LangText(msg::RuleEmpty);
    }
    return QString();
}

QString readingProblemText(const Workspace &ws, const ReadingProblem &p)
{
    const ReadingRules rules = readingRules(ws);
    const QString value = readingValueText(p.rule, p.value, rules);
    const QString limit = readingValueText(p.rule, p.limit, rules);
    const Language &l = ws.language;
    switch (p.rule) {
    case ReadingRule::Cps: return fill(l, msg::ProblemCps, {value, limit});
    case ReadingRule::LineLength: return fill(l, msg::ProblemLineLength, {QString::number(p.line + 1), value, limit});
    case ReadingRule::Lines: return fill(l, msg::ProblemLines, {value, limit});
    case ReadingRule::MinDuration: return fill(l, msg::ProblemMinDuration, {value, limit});
    case ReadingRule::MaxDuration: return fill(l, msg::ProblemMaxDuration, {value, limit});
    case ReadingRule::Gap: return fill(l, rules.gapInFrames() ? msg::ProblemGapFrames : msg::ProblemGapMs, {value, limit});
    case ReadingRule::Empty: return l.LangText(msg::ProblemEmpty);
    }
    return QString();
}

QString readingTooltip(const Workspace &ws, int row)
{
    QStringList lines;
    for (const ReadingProblem &p : rowProblems(ws.list.rows(), row, readingRules(ws)))
        lines << readingProblemText(ws, p);
    return lines.join(kNewLine);
}

std::vector<ReportLine> readingReport(const Workspace &ws)
{
    const ReadingRules rules = readingRules(ws);
    std::vector<ReportLine> report;
    int fixRow = -1;
    std::optional<ReadingFix> fix;
    for (const ReadingProblem &p : checkReading(ws.list.rows(), rules)) {
        if (p.row != fixRow) {
            fixRow = p.row;
            fix = safeFix(ws.list.rows(), p.row, rules);
        }
        ReportLine line;
        line.row = p.row;
        line.rule = p.rule;
        line.ruleText = readingRuleCaption(ws.language, p.rule);
        if (p.rule != ReadingRule::Empty) {
            line.valueText = readingValueText(p.rule, p.value, rules);
            line.limitText = readingValueText(p.rule, p.limit, rules);
        }
        if (p.rule == ReadingRule::LineLength)
            line.ruleText += QStringLiteral(" (%1)").arg(p.line + 1);
        if (fix && (fix->mends & ruleBit(p.rule)))
            line.fixText = fill(ws.language, msg::FixNewEnd, {fix->endText});
        report.push_back(line);
    }
    return report;
}

ReportLine spellingLine(const Workspace &ws, int row, const QString &word)
{
    ReportLine line;
    line.row = row;
    line.word = word;
    line.ruleText = ws.language.LangText(msg::RuleSpelling);
    line.valueText = word;
    return line;
}

bool fixReadingProblem(Workspace &ws, int row)
{
    const auto fix = safeFix(ws.list.rows(), row, readingRules(ws));
    if (!fix)
        return false;
    // Undoing shows the row it changed.
    ws.list.select(row);
    const HistoryStep step(ws, StepKind::ReadingFix);
    ws.list.setCell(row, ColEnd, fix->endText);
    return true;
}

FixAllOutcome fixAllReadingProblems(Workspace &ws)
{
    const ReadingRules rules = readingRules(ws);
    FixAllOutcome outcome;
    {
        const HistoryStep step(ws, StepKind::ReadingFixAll);
        const SubtitleList::BulkChange bulk(ws.list);
        // A row's fix moves only its own end, so no fix changes another's.
        for (int row = 0; row < ws.list.count(); ++row) {
            if (!ws.reading.broken(row))
                continue;
            if (const auto fix = safeFix(ws.list.rows(), row, rules)) {
                ws.list.setCell(row, ColEnd, fix->endText);
                ++outcome.made;
            }
        }
    }
    outcome.remaining = int(checkReading(ws.list.rows(), rules).size());
    ws.ui.showNotice(fill(ws.language, msg::FixAllDone, {QString::number(outcome.made), QString::number(outcome.remaining)}),
                     ProgramInfo::kNoticeTitle);
    return outcome;
}

ReadingAnnotations::ReadingAnnotations(Workspace &ws, SubtitleTableModel &model) : ws_(ws)
{
    QObject::connect(&ws.reading, &ReadingMarks::changed, &model, &SubtitleTableModel::annotationsChanged);
}

QString ReadingAnnotations::extraHeader() const
{
    return ws_.language.LangText(msg::ReadingSpeedHeader);
}

QVariant ReadingAnnotations::extraData(int row, int role) const
{
    const RuleSet broken = ws_.reading.broken(row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const auto cps = ws_.reading.cps(row);
        QString text = cps ? readingValueText(ReadingRule::Cps, *cps, readingRules(ws_)) : QStringLiteral("-");
        return broken ? kReadingMark + QLatin1Char(' ') + text : text;
    }
    case Qt::TextAlignmentRole: return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (broken & ruleBit(ReadingRule::Cps))
            return QBrush(QColor(170, 0, 0));
        break;
    default: return cellData(row, SubtitleTableModel::kExtraColumn, role);
    }
    return {};
}

QVariant ReadingAnnotations::cellData(int row, int column, int role) const
{
    const RuleSet broken = ws_.reading.broken(row);
    if (!broken)
        return {};
    if (role == Qt::BackgroundRole)
        return QBrush(QColor(255, 226, 214));
    if (role == Qt::ToolTipRole) {
        const QString problems = readingTooltip(ws_, row);
        // The text's own tooltip shows all of it; the problems follow.
        if (column == ColText) {
            const QString &text = ws_.list.cell(row, ColText);
            return text.left(SubtitleTableModel::kShownLength) + QStringLiteral("\n\n") + problems;
        }
        return problems;
    }
    return {};
}

} // namespace korv
