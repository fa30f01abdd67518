#pragma once
// The reading checks as the user meets them: the rules in force for the open
// document, the list's column and marks, the tooltip naming what a row
// breaks, the report, and the fixes, each one undo step.

#include "document/SubtitleTableModel.h"
#include "editing/ReadingCheck.h"

#include <QString>

#include <vector>

namespace korv {

class Language;
class Workspace;

// The profile, the frame rate the gap is counted in (the film's, or a
// MicroDVD document's) and the document's precision and number format.
ReadingRules readingRules(const Workspace &ws);

// A rule's name in the current language ("Okuma hızı").
QString readingRuleCaption(const Language &language, ReadingRule rule);
// What a problem is and by how much: "Okuma hızı saniyede 21,3 karakter; en çok 17."
QString readingProblemText(const Workspace &ws, const ReadingProblem &problem);
// Every problem of a row, a line each; empty for a row that breaks nothing.
QString readingTooltip(const Workspace &ws, int row);

// One line of the report: a reading problem, or a word the dictionary does
// not know (rule empty, `word` set).
struct ReportLine {
    int row = -1;
    std::optional<ReadingRule> rule;
    QString word;
    QString ruleText;
    QString valueText;
    QString limitText;
    // What the one-step fix would do ("bitiş 12,5 olur"), empty for none.
    QString fixText;
};
std::vector<ReportLine> readingReport(const Workspace &ws);
// A spelling line for the report.
ReportLine spellingLine(const Workspace &ws, int row, const QString &word);

// The safe fix of a row as one undo step; false when it has none.
bool fixReadingProblem(Workspace &ws, int row);

// "Fix all": every safe fix as one undo step, then the notice telling how
// many were made and how many problems remain.
struct FixAllOutcome {
    int made = 0;
    int remaining = 0;
};
FixAllOutcome fixAllReadingProblems(Workspace &ws);

// The list's reading-speed column, its marks and tooltips, fed by the
// workspace's marks.
class ReadingAnnotations : public RowAnnotations {
public:
    ReadingAnnotations(Workspace &ws, SubtitleTableModel &model);
    QString extraHeader() const override;
    QVariant extraData(int row, int role) const override;
    QVariant cellData(int row, int column, int role) const override;

private:
    Workspace &ws_;
};

// The mark a row breaking a rule carries, so it does not rest on colour.
inline const QString kReadingMark = QStringLiteral("\u26A0");

} // namespace korv
