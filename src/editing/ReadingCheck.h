#pragma once
// The reading checks over the rows, asking nobody: how fast a viewer must
// read a subtitle, how long its lines are, how many it has, how long it
// stays, how close the next one comes, and whether it shows anything at all.
// The limits come from a ReadingProfile; times are worked in whole
// milliseconds, so a limit holds exactly at the document's precision.
//
// A fix changes only the row's end and only within the room the row has: it
// keeps the text, never touches a neighbour, never passes the next start
// (less the minimum gap) and never breaks a rule the row kept before.

#include "document/ReadingProfile.h"
#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <functional>
#include <optional>
#include <vector>

namespace korv {

enum class ReadingRule : quint8 { Cps, LineLength, Lines, MinDuration, MaxDuration, Gap, Empty };
inline constexpr int kReadingRuleCount = 7;

// A set of rules, one bit each.
using RuleSet = quint8;
constexpr RuleSet ruleBit(ReadingRule rule)
{
    return RuleSet(1u << unsigned(rule));
}

// The rule's name where programs read it: "cps", "line-length", "lines",
// "min-duration", "max-duration", "gap", "empty".
QString readingRuleName(ReadingRule rule);

// What a viewer sees of a subtitle text. Markup (<i>, </font>, <00:01.000>,
// {\an8}, {y:i}) and the line separator "|" are not shown; blanks at either
// end of a line are not read; a line of nothing but blanks and markup is no
// line. Characters are counted as the eye does: a letter with a combining
// accent or a character outside the basic plane is one.
struct ShownText {
    int characters = 0;
    // Each shown line's characters, in order (on the stack for up to four:
    // a check of every row allocates nothing per row).
    QVarLengthArray<int, 4> lineLengths;
};
ShownText measureShownText(QStringView text);

// What the rules need of a text, small enough to keep for every row.
struct TextMeasure {
    int characters = 0;
    int lines = 0;
    int longestLine = 0;
};
TextMeasure summarize(const ShownText &shown);

// The profile and what it is applied to: the frame rate for the gap (0 for
// none: the gap is then in milliseconds) and the document's precision, to
// which a fixed end is rounded.
struct ReadingRules {
    ReadingProfile profile;
    double frameRate = 0;
    TimePrecision precision = TimePrecision::Hundredths;
    NumberFormat numbers;

    // One step of the document's times: 10 ms or 1 ms.
    qint64 unitMs() const;
    // The minimum gap in milliseconds, to the nearest time the document can
    // hold (2 frames at 23.976 fps: 83 ms, or 0.08 s in hundredths).
    qint64 minGapMs() const;
    bool gapInFrames() const { return frameRate > 0; }
};

// A time text in whole milliseconds; nothing when it is no number.
std::optional<qint64> timeTextMs(const QString &text, const NumberFormat &numbers);

// The rules a row breaks, from its times (none when they are no number),
// the next row's start (none for the last) and its text's measure; its
// reading speed into `cps` when asked.
RuleSet brokenRules(std::optional<qint64> start, std::optional<qint64> end, std::optional<qint64> nextStart,
                    const TextMeasure &text, const ReadingRules &rules, std::optional<double> *cps = nullptr);

// One row's measures and the rules it breaks.
struct RowReading {
    RuleSet broken = 0;
    ShownText shown;
    std::optional<qint64> durationMs; // none when a time is no number
    std::optional<qint64> gapMs;      // to the next row; none for the last
    // Characters a second; none without a positive duration or text.
    std::optional<double> cps;
};

RowReading readRow(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules);
// The rows first..last in order, each start read once, handed to `visit`.
void readRows(const std::vector<SubtitleEntry> &rows, int first, int last, const ReadingRules &rules,
              const std::function<void(int row, const RowReading &reading)> &visit);

struct ReadingProblem {
    int row = -1;
    ReadingRule rule = ReadingRule::Empty;
    // cps; characters; lines; seconds; frames or milliseconds (gap).
    double value = 0;
    double limit = 0;
    // The shown line (0-based) that is too long.
    int line = -1;
};

// The problems of one row (one per too-long line), in rule order.
std::vector<ReadingProblem> rowProblems(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules);
// Every row's, in row order.
std::vector<ReadingProblem> checkReading(const std::vector<SubtitleEntry> &rows, const ReadingRules &rules);

// A value or limit as the report and the converter write it: reading speed
// with one decimal, seconds with up to three, frames with up to two, the
// rest whole.
QString readingValueText(ReadingRule rule, double value, const ReadingRules &rules);

// The one change that mends a row: its new end.
struct ReadingFix {
    int row = -1;
    qint64 endMs = 0;
    QString endText; // at the document's precision, in its number format
    RuleSet mends = 0;
};

// The safe fix of a row, if it has one: among lengthening into the free gap
// after it (for a row too short or too fast), shortening to the longest
// duration and pulling the end back to keep the minimum gap, the one that
// leaves the fewest problems, creates none and moves the end least.
std::optional<ReadingFix> safeFix(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules);

} // namespace korv
