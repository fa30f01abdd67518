// The reading checks and their fixes, asking nobody: every rule at its limit
// and one step past it, what a viewer sees of markup, gaps counted in frames,
// and fixes that stay inside the row's own room.
#include "editing/ReadingCheck.h"
#include "editing/ReadingMarks.h"

#include <gtest/gtest.h>

#include "support/QtPrinters.h"

using namespace korv;

namespace {

ReadingRules rulesAt(TimePrecision precision, double frameRate = 0)
{
    ReadingRules rules;
    rules.precision = precision;
    rules.frameRate = frameRate;
    rules.numbers = NumberFormat::dot();
    return rules;
}

const ReadingRules kMs = rulesAt(TimePrecision::Milliseconds);

std::vector<SubtitleEntry> rows(std::initializer_list<std::array<const char *, 3>> list)
{
    std::vector<SubtitleEntry> out;
    for (const auto &r : list)
        out.push_back({"0", r[0], r[1], QString::fromUtf8(r[2])});
    return out;
}

// The rules a lone row breaks.
QStringList broken(const char *start, const char *end, const char *text, const ReadingRules &rules = kMs)
{
    QStringList names;
    for (const ReadingProblem &p : rowProblems(rows({{start, end, text}}), 0, rules))
        names << readingRuleName(p.rule);
    return names;
}

QString letters(int n)
{
    return QString(n, QLatin1Char('a'));
}

} // namespace

TEST(ReadingRules, EachLimitHoldsAtItsValueAndBreaksOneStepPast)
{
    // Reading speed: 17 characters in a second is the limit itself.
    EXPECT_EQ(broken("10", "11", "aaaaaaaa aaaaaaaa"), QStringList());
    EXPECT_EQ(broken("10", "11", "aaaaaaaa aaaaaaaaa"), QStringList({"cps"}));
    EXPECT_EQ(broken("10", "12", qPrintable(letters(34))), QStringList());
    EXPECT_EQ(broken("10", "11.999", qPrintable(letters(34))), QStringList({"cps"}));
    // Line length, per line: 42 holds, 43 does not.
    EXPECT_EQ(broken("0", "4", qPrintable(letters(42) + "|" + letters(20))), QStringList());
    EXPECT_EQ(broken("0", "4", qPrintable(letters(20) + "|" + letters(43))), QStringList({"line-length"}));
    // Lines: two hold, three do not.
    EXPECT_EQ(broken("0", "4", "a|b"), QStringList());
    EXPECT_EQ(broken("0", "4", "a|b|c"), QStringList({"lines"}));
    // Durations: 0.833 s and 7 s hold; a millisecond less or more does not.
    EXPECT_EQ(broken("10", "10.833", "ab"), QStringList());
    EXPECT_EQ(broken("10", "10.832", "ab"), QStringList({"min-duration"}));
    EXPECT_EQ(broken("10", "17", "ab"), QStringList());
    EXPECT_EQ(broken("10", "17.001", "ab"), QStringList({"max-duration"}));
    // A row with nothing to show.
    EXPECT_EQ(broken("0", "2", ""), QStringList({"empty"}));
    EXPECT_EQ(broken("0", "2", "{\\an8}| <i></i> "), QStringList({"empty"}));
    // A row may break several at once, told in the rules' order.
    EXPECT_EQ(broken("0", "0.5", qPrintable(letters(43) + "|b|c")),
              QStringList({"cps", "line-length", "lines", "min-duration"}));
}

TEST(ReadingRules, AZeroLimitTurnsItsRuleOffAndTheValuesComeFromTheProfile)
{
    ReadingRules rules = kMs;
    rules.profile.maxCps = 0;
    rules.profile.maxLines = 0;
    rules.profile.minDuration = 0;
    EXPECT_EQ(broken("0", "0.1", "a|b|c|d", rules), QStringList());
    rules.profile.maxLineLength = 10;
    rules.profile.maxDuration = 2.5;
    EXPECT_EQ(broken("0", "2.5", "0123456789", rules), QStringList());
    EXPECT_EQ(broken("0", "2.501", "0123456789a", rules), QStringList({"line-length", "max-duration"}));
    // An empty text is always told.
    EXPECT_EQ(broken("0", "1", "", rules), QStringList({"empty"}));
}

TEST(ReadingRules, OnlyWhatTheViewerSeesIsCounted)
{
    auto lengths = [](const char *text) {
        const ShownText shown = measureShownText(QString::fromUtf8(text));
        return std::vector<int>(shown.lineLengths.begin(), shown.lineLengths.end());
    };
    EXPECT_EQ(lengths("<i>Merhaba</i>|{\\an8}dünya"), std::vector<int>({7, 5}));
    EXPECT_EQ(lengths("<font color=\"#ff0000\">Kırmızı</font> ışık"), std::vector<int>({12}));
    EXPECT_EQ(lengths("{y:i}Gel buraya!"), std::vector<int>({11}));
    EXPECT_EQ(lengths("<00:00:01.500>karaoke"), std::vector<int>({7}));
    // Not markup: a lone bracket, "<" before a blank, a tag left open.
    EXPECT_EQ(lengths("a < b"), std::vector<int>({5}));
    EXPECT_EQ(lengths("<i yarım"), std::vector<int>({8}));
    EXPECT_EQ(lengths("{kapanmadı|x}"), std::vector<int>({10, 2}));
    // Blanks at a line's ends are not read; an empty middle line is no line.
    EXPECT_EQ(lengths("  iki  kelime  ||son"), std::vector<int>({11, 3}));
    // Turkish letters, a combining accent and a character past the basic
    // plane are one character each.
    EXPECT_EQ(lengths("İĞŞÇÖÜığşçöü"), std::vector<int>({12}));
    EXPECT_EQ(lengths("hika\xCC\x82ye"), std::vector<int>({6}));
    EXPECT_EQ(lengths("\xF0\x9F\x98\x80!"), std::vector<int>({2}));
    EXPECT_EQ(measureShownText(u"ab|cd").characters, 4);
}

TEST(ReadingRules, TheGapCountsFramesOfTheRateToTheNearestTimeTheDocumentHolds)
{
    auto gapBroken = [](const char *nextStart, const ReadingRules &rules) {
        const auto list = rows({{"10", "12", "Bir"}, {nextStart, "15", "İki"}});
        const auto problems = rowProblems(list, 0, rules);
        return !problems.empty() && problems.front().rule == ReadingRule::Gap;
    };
    // Two frames at 25 fps: 80 ms.
    const ReadingRules at25 = rulesAt(TimePrecision::Milliseconds, 25);
    EXPECT_FALSE(gapBroken("12.08", at25));
    EXPECT_TRUE(gapBroken("12.079", at25));
    // Two frames at 23.976 fps are 83.4 ms: 83 in milliseconds, 0.08 s in hundredths.
    const ReadingRules film = rulesAt(TimePrecision::Milliseconds, 24000.0 / 1001);
    EXPECT_FALSE(gapBroken("12.083", film));
    EXPECT_TRUE(gapBroken("12.082", film));
    const ReadingRules filmHundredths = rulesAt(TimePrecision::Hundredths, 24000.0 / 1001);
    EXPECT_FALSE(gapBroken("12.08", filmHundredths));
    EXPECT_TRUE(gapBroken("12.07", filmHundredths));
    // With no frame rate the gap is in milliseconds.
    ReadingRules noRate = kMs;
    noRate.profile.minGapMs = 120;
    EXPECT_FALSE(gapBroken("12.12", noRate));
    EXPECT_TRUE(gapBroken("12.119", noRate));
    // An overlap is a gap below the minimum; the last row has no gap.
    EXPECT_TRUE(gapBroken("11.5", at25));
    EXPECT_TRUE(rowProblems(rows({{"10", "12", "son"}}), 0, at25).empty());

    // The report's values: frames with the rate, milliseconds without.
    const auto inFrames = rowProblems(rows({{"10", "12", "a"}, {"12.04", "14", "b"}}), 0, at25);
    ASSERT_EQ(inFrames.size(), 1u);
    EXPECT_EQ(readingValueText(ReadingRule::Gap, inFrames[0].value, at25), "1");
    EXPECT_EQ(readingValueText(ReadingRule::Gap, inFrames[0].limit, at25), "2");
    const auto inMs = rowProblems(rows({{"10", "12", "a"}, {"12.04", "14", "b"}}), 0, kMs);
    EXPECT_EQ(readingValueText(ReadingRule::Gap, inMs[0].value, kMs), "40");
    EXPECT_EQ(readingValueText(ReadingRule::Gap, inMs[0].limit, kMs), "80");
}

TEST(ReadingRules, ValuesAreWrittenInTheUsersNumberFormat)
{
    ReadingRules comma = kMs;
    comma.numbers = NumberFormat::comma();
    const auto problems = rowProblems(rows({{"10", "10,5", "Çok hızlı okunacak bir satır"}}), 0, comma);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(readingValueText(problems[0].rule, problems[0].value, comma), "56");
    EXPECT_EQ(readingValueText(problems[1].rule, problems[1].value, comma), "0,5");
    EXPECT_EQ(readingValueText(problems[1].rule, problems[1].limit, comma), "0,833");
    EXPECT_EQ(readingValueText(ReadingRule::Cps, 18.26, kMs), "18.3");
}

TEST(ReadingRules, TheWholeCheckListsEveryProblemInRowOrder)
{
    const auto list = rows({{"1", "3", "iyi"}, {"3.01", "3.5", "kısa"}, {"5", "6", "x"}, {"7", "8", ""}});
    QStringList seen;
    for (const ReadingProblem &p : checkReading(list, kMs))
        seen << QStringLiteral("%1 %2").arg(p.row + 1).arg(readingRuleName(p.rule));
    EXPECT_EQ(seen, QStringList({"1 gap", "2 min-duration", "4 empty"}));
    // Times that are no number leave their row's timing rules unchecked.
    EXPECT_EQ(broken("abc", "2", "metin"), QStringList());
}

TEST(ReadingFixes, LengthenIntoTheFreeGapKeepingTheMinimumGap)
{
    // Too short, room after it: lengthened to 0.833 s, rounded up to the
    // document's step.
    auto fix = safeFix(rows({{"10", "10.5", "kısa"}, {"12", "13", "sonraki"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "10.833");
    fix = safeFix(rows({{"10", "10.5", "kısa"}, {"12", "13", "sonraki"}}), 0, rulesAt(TimePrecision::Hundredths));
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "10.84");
    // Too fast: as long as its characters need at 17 a second.
    fix = safeFix(rows({{"10", "11", qPrintable(letters(34))}, {"14", "15", "x y"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "12");
    EXPECT_EQ(fix->mends, ruleBit(ReadingRule::Cps));
    // Not enough room before the next start less two frames: no fix.
    EXPECT_FALSE(safeFix(rows({{"10", "11", qPrintable(letters(34))}, {"11.9", "15", "x"}}), 0,
                         rulesAt(TimePrecision::Milliseconds, 25)));
    // Exactly enough room.
    fix = safeFix(rows({{"10", "11", qPrintable(letters(34))}, {"12.08", "15", "x"}}), 0,
                  rulesAt(TimePrecision::Milliseconds, 25));
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "12");
    // The last row has all the room after it.
    fix = safeFix(rows({{"10", "10.1", "son"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "10.833");
}

TEST(ReadingFixes, ShortenAndCloseTheGapButNeverBreakAnotherRule)
{
    auto fix = safeFix(rows({{"10", "19.5", "uzun"}, {"30", "31", "x"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "17");
    EXPECT_EQ(fix->mends, ruleBit(ReadingRule::MaxDuration));
    // Ends 40 ms before the next start; pulled back to keep 80 ms.
    fix = safeFix(rows({{"10", "12.96", "ara"}, {"13", "14", "x"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "12.92");
    // An overlap is mended the same way.
    fix = safeFix(rows({{"10", "13.5", "ara"}, {"13", "14", "x"}}), 0, kMs);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "12.92");
    // Pulling the end back would make the row too short: no fix.
    EXPECT_FALSE(safeFix(rows({{"10", "10.9", "ab"}, {"10.9", "14", "x"}}), 0, kMs));
    // Nor too fast.
    EXPECT_FALSE(safeFix(rows({{"10", "12", qPrintable(letters(34))}, {"12.02", "14", "x"}}), 0, kMs));
    // Nothing to mend by moving the end: the text's own problems stay.
    EXPECT_FALSE(safeFix(rows({{"0", "4", "a|b|c"}}), 0, kMs));
    EXPECT_FALSE(safeFix(rows({{"0", "4", ""}}), 0, kMs));
    // With the gap rule off a lengthened end still stops at the next start.
    ReadingRules noGap = kMs;
    noGap.profile.minGapMs = 0;
    fix = safeFix(rows({{"10", "10.5", "kısa"}, {"10.833", "13", "x"}}), 0, noGap);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->endText, "10.833");
    EXPECT_FALSE(safeFix(rows({{"10", "10.5", "kısa"}, {"10.8", "13", "x"}}), 0, noGap));
}

TEST(ReadingMarks, OnlyTheTouchedRowsAndTheRowBeforeThemAreCheckedAgain)
{
    SubtitleList list;
    std::vector<SubtitleEntry> entries = rows({{"1", "2", "bir"}, {"3", "4", "iki"}, {"5", "6", "üç"}, {"7", "8", "dört"}});
    list.replaceAll(entries);
    ReadingMarks marks(list);
    marks.rules = [] { return kMs; };
    marks.recheckAll();
    EXPECT_EQ(marks.markedRows(), 0);
    std::vector<std::pair<int, int>> told;
    QObject::connect(&marks, &ReadingMarks::changed, [&](int first, int last) { told.push_back({first, last}); });

    // Row 3's start moves close to row 2's end: rows 2 and 3 are checked.
    list.setCell(2, ColStart, QStringLiteral("4.02"));
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(marks.broken(1), ruleBit(ReadingRule::Gap));
    EXPECT_EQ(marks.markedRows(), 1);
    // Renumbering touches every number but no time or text.
    told.clear();
    list.renumber();
    EXPECT_TRUE(told.empty());
    // A row inserted before row 3 brings its own check and row 2's.
    list.insertRow(2, {"0", "4.5", "4.6", ""});
    EXPECT_EQ(told.back(), std::make_pair(1, 2));
    EXPECT_EQ(marks.broken(2), ruleBit(ReadingRule::Empty) | ruleBit(ReadingRule::MinDuration) | ruleBit(ReadingRule::Gap));
    EXPECT_EQ(marks.broken(1), 0); // its next start is 4.5 now
    // Removed again: row 2 meets 4.02 once more.
    list.removeRow(2);
    EXPECT_EQ(marks.broken(1), ruleBit(ReadingRule::Gap));
    EXPECT_EQ(marks.markedRows(), 1);
    ASSERT_TRUE(marks.cps(0));
    EXPECT_DOUBLE_EQ(*marks.cps(0), 3.0);
    // A bulk change is checked as one range.
    told.clear();
    {
        SubtitleList::BulkChange bulk(list);
        list.setCell(0, ColText, QStringLiteral("a|b|c"));
        list.setCell(3, ColText, QStringLiteral("beş"));
    }
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(marks.broken(0), ruleBit(ReadingRule::Lines));
    EXPECT_EQ(marks.markedRows(), 2);

    // A time alone changed: the text's measure stands, the speed is worked
    // out again from it (its characters over 2 s instead of 1 s).
    ASSERT_TRUE(marks.cps(0));
    const double overOneSecond = *marks.cps(0);
    EXPECT_GT(overOneSecond, 0);
    list.setCell(0, ColEnd, QStringLiteral("3"));
    ASSERT_TRUE(marks.cps(0));
    EXPECT_DOUBLE_EQ(*marks.cps(0), overOneSecond / 2);
    // A text changed, then a row added before it, in one bulk change: the
    // row is checked with its new text when it is checked next, where it went.
    {
        SubtitleList::BulkChange bulk(list);
        list.setCell(1, ColText, QStringLiteral("1|2|3|4"));
        list.insertRow(0, {"0", "0", "0.5", "önce"});
    }
    ASSERT_EQ(list.cell(2, ColText), "1|2|3|4");
    list.setCell(2, ColEnd, QStringLiteral("3.9"));
    EXPECT_EQ(marks.broken(2) & ruleBit(ReadingRule::Lines), ruleBit(ReadingRule::Lines));
}
