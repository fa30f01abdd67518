// The edit fields, the wildcard matcher, and the walks over the rows that ask
// nobody: the overlap check, the search, the cut of a split and the shift.
#include "editing/Find.h"
#include "editing/OverlapCheck.h"
#include "editing/Split.h"
#include "editing/TimeShift.h"
#include "editing/Wildcard.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

using EditFieldsTest = WorkspaceTest;

bool fits(const char *text, const char *pattern, LetterCase rule = LetterCase::Default)
{
    std::u32string lowered;
    lowerCaseInto(QString::fromUtf8(text), rule, lowered);
    const auto compiled = WildcardPattern::compile(QString::fromUtf8(pattern), rule);
    return compiled && compiled->matches(lowered);
}

} // namespace

TEST(Wildcard, PatternRules)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"has 7 in it", "*[0-9]*", true}, {"no digit", "*[0-9]*", false}, {"123", "1?3", true}, {"1a3", "1?3", true},
        {"13", "1?3", false}, {"a5b", "a#b", true}, {"axb", "a#b", false}, {"cat", "c[!o]t", true},
        {"cot", "c[!o]t", false}, {"a-b", "a[-x]b", true}, {"a*b", "a[*]b", true}, {"axb", "a[*]b", false},
        {"ab", "a[]b", true}, {"abxbcd", "a*b?d", true}, {"abcbd", "a*b?d", false}, {"One|two", "*E|T*", true},
        {"a😀b", "a?b", true},
        // Letters compare as the locale lower-cases them: "I" and "ı", "İ" and "i" in a Turkish one.
        {"LINE", "*line*", true}, {"ışık", "*IŞIK*", false}, {"İx", "i?", true}, {"ÇAĞ", "*çağ*", true},
    };
    for (const auto &[text, pattern, fit] : cases)
        EXPECT_EQ(fits(text, pattern), fit) << text << " / " << pattern;
    EXPECT_TRUE(fits("ışık", "*IŞIK*", LetterCase::Turkic));
    EXPECT_TRUE(fits("İSTANBUL", "*istanbul*", LetterCase::Turkic));
    EXPECT_FALSE(fits("Işık", "*isik*", LetterCase::Turkic));
    // Turkish and Azerbaijani lower-case I to dotless ı; every other language to i.
    QList<LetterCase> rules;
    for (const char *name : {"tr_TR", "az_AZ", "en_US", "de_DE", "C"})
        rules << letterCaseOf(QLocale(QString::fromLatin1(name)));
    EXPECT_EQ(rules, QList<LetterCase>({LetterCase::Turkic, LetterCase::Turkic, LetterCase::Default,
                                        LetterCase::Default, LetterCase::Default}));
    EXPECT_FALSE(WildcardPattern::compile(u"a[b", LetterCase::Default));
    EXPECT_FALSE(WildcardPattern::compile(u"[z-a]", LetterCase::Default));
}

TEST_F(EditFieldsTest, ChoosingARowShowsItAndTypingWritesItWithTheJoiningRule)
{
    setRows({{"10", "12.5", "a|b|c|d"}, {"20", "21", "a||b"}});
    EXPECT_EQ(field(EditFields::Line3), "c");
    ws.list.select(1);
    EXPECT_EQ(QStringList({field(EditFields::Line1), field(EditFields::Line2), field(EditFields::Line3)}),
              QStringList({"a", "", "b"}));
    EXPECT_EQ(texts(), QStringList({"a|b|c|d", "a||b"})); // choosing did not write
    EXPECT_FALSE(ws.list.isModified());

    ws.list.select(0);
    QStringList written;
    for (int line : {EditFields::Line2, EditFields::Line1, EditFields::Line3}) {
        ws.fields.setText(line, "");
        written << cell(0, ColText);
    }
    // Empty lines skipped, no leading "|"; the fourth line has no field and stays.
    EXPECT_EQ(written, QStringList({"a|c|d", "c|d", "d"}));
    setRows({{"1", "2", "a|b|c|d|e"}, {"3", "4", "a|b|c|"}});
    ws.fields.setText(EditFields::Line2, "B");
    ws.list.select(1);
    ws.fields.setText(EditFields::Line3, "C");
    EXPECT_EQ(texts(), QStringList({"a|B|c|d|e", "a|b|C|"}));
    setRows({{"10", "12.5", "a|b|c|d"}, {"20", "21", "a||b"}});
    ws.fields.setText(EditFields::End, "12");
    EXPECT_EQ(cell(0, ColEnd) + " " + ws.fields.duration(), "12 2. sn");
    ws.fields.setText(EditFields::End, "x"); // not a number: the label stays
    EXPECT_EQ(cell(0, ColEnd) + " " + ws.fields.duration(), "x 2. sn");
    EXPECT_EQ(cell(1, ColText), "a||b");
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(EditFieldsTest, DisplayTimeButtonsGoByQuarters)
{
    setRows({{"10", "", "a"}, {"20", "1", "b"}, {"30", "31", "c"}});
    ws.fields.CmdArayiAc_Click(); // an empty end starts from the start
    EXPECT_EQ(cell(0, ColEnd), "10.25");
    ws.list.select(1);
    for (int i = 0; i < 5; ++i)
        ws.fields.CmdArayiKapat_Click(); // no bound, not even zero
    EXPECT_EQ(cell(1, ColEnd), "-0.25");
    EXPECT_EQ(ws.fields.duration(), "-20.25 sn");
}

TEST(RowWalks, TheOverlapCheckAsksItsCallerAndTheSearchAndCutNeedNoWorkspace)
{
    const NumberFormat nf = NumberFormat::dot();
    SubtitleList list;
    list.replaceAll({{"1", "1", "3", "a"}, {"2", "2", "5", "b"}, {"3", "4", "6.004", "c"}, {"4", "6", "7", "d"}});
    std::vector<int> asked;
    const std::array decisions{OverlapDecision::Leave, OverlapDecision::Repair, OverlapDecision::Cancel};
    const OverlapCheckResult result = checkOverlaps(list, nf, OverlapMode::Decide, [&](int row) {
        asked.push_back(row);
        return decisions[asked.size() - 1];
    });
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(result.stop, OverlapCheckResult::Stop::Cancelled);
    EXPECT_EQ(result.row, 2);
    EXPECT_EQ(result.entries.size(), 3u);
    QStringList ends;
    for (const SubtitleEntry &row : list.rows())
        ends << row.end;
    EXPECT_EQ(ends, QStringList({"3", "4", "6.004", "7"})); // the third row stopped the walk unrounded

    const OverlapCheckResult stopped = checkOverlaps(list, nf, OverlapMode::Stop);
    EXPECT_EQ(std::tuple(int(stopped.stop), stopped.row), std::tuple(int(OverlapCheckResult::Stop::Overlap), 0));
    list.setCell(1, ColEnd, QStringLiteral("x"));
    const OverlapCheckResult notANumber = checkOverlaps(list, nf, OverlapMode::Repair);
    EXPECT_EQ(std::tuple(notANumber.row, notANumber.column), std::tuple(1, int(ColEnd)));

    EXPECT_EQ(findSubtitle(list, u"C", ColText, 0, LetterCase::Default).row, 2);
    EXPECT_EQ(findSubtitle(list, u"a", ColText, 1, LetterCase::Default).row, -1);
    EXPECT_FALSE(findSubtitle(list, u"[", ColText, 0, LetterCase::Default).patternValid);

    // A point outside the subtitles' starts cuts nothing.
    for (const char *point : {"0", "1", "6", "7", "abc"})
        EXPECT_FALSE(splitAt(list.rows(), QString::fromLatin1(point), nf)) << point;
    // The repair above pulled the first end back to 2: the second part begins
    // with the first row ending at or after the point.
    const std::optional<SplitParts> parts = splitAt(list.rows(), QStringLiteral("2.5"), nf);
    ASSERT_TRUE(parts);
    EXPECT_EQ(std::pair(parts->first.back().end, parts->second.front().text), std::pair(QString("2.5"), QString("c")));
}

TEST(TimeShifterTest, WritesWhatThePatternWritesAndKnowsWhenTheWayBackIsExact)
{
    const NumberFormat nf = NumberFormat::comma();
    const char *texts[] = {"12",     "12,5",    "12,",  "012,50",   "-0,05", "0,", "1.234,5",     "1e2",    "12,345",
                           "3599,99", "-7,3",    "6,843", "35999,999", " 4",   "x",  "99999999,99", "0,0005", "-6,8430"};
    for (auto precision : {TimePrecision::Hundredths, TimePrecision::Milliseconds}) {
        for (double seconds : {1.25, -2.0, 0.01, -0.07, 0.333, 0.005, -0.015, 0.0005, -0.2345, 1e-9, 0.0, -1e-3, 1e12}) {
            const TimeShifter forward(seconds, nf, precision), back(-seconds, nf, precision);
            for (const char *t : texts) {
                const QString text = QString::fromLatin1(t);
                const auto value = TextToSeconds(text, nf);
                const std::optional<QString> expected =
                    value ? std::optional<QString>(FormatSeconds(*value + seconds, precision, nf)) : std::nullopt;
                const std::optional<QString> moved = forward(text);
                ASSERT_EQ(moved, expected) << t << " + " << seconds;
                if (!moved)
                    continue;
                const bool exact = back(*moved) == text;
                EXPECT_EQ(forward.givesBack(text, *moved), exact) << t << " + " << seconds;
            }
        }
    }
}
