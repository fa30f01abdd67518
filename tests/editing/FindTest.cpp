#include "EditingFixture.h"

#include "editing/Find.h"
#include "editing/Wildcard.h"

using namespace korv;
using namespace korv::test;

namespace {

class FindTest : public EditingTest {
protected:
    void SetUp() override { setLetterCase(LetterCase::Default); }
    void TearDown() override { setLetterCase(LetterCase::Default); }

    // Presses "BUL" with `search` and tells which row is selected, or 0 when
    // the press ended with message "001".
    int press(const char *search)
    {
        ws.fields.setText(EditFields::Search, QString::fromUtf8(search));
        const std::size_t before = ui.notices.size();
        CmdFind_Click(ws);
        if (ui.notices.size() > before) {
            EXPECT_EQ(ui.notices.back().message, msg("001"));
            EXPECT_EQ(ui.notices.back().title, "Korvendal Production");
            return 0;
        }
        return ws.list.selected() + 1;
    }
};

bool fits(const char *text, const char *pattern, LetterCase rule = LetterCase::Default)
{
    std::u32string lowered;
    lowerCaseInto(QString::fromUtf8(text), rule, lowered);
    const auto compiled = WildcardPattern::compile(QString::fromUtf8(pattern), rule);
    return compiled && compiled->matches(lowered);
}

} // namespace

TEST_F(FindTest, EachPressGoesOnBelowTheLastHitAndWrapsAfterTheNotice)
{
    setRows({{"1", "2", "Hello|World"}, {"3", "4", "hello again"}, {"5", "6", "Bye"}});
    EXPECT_EQ(press("HELLO"), 1);
    EXPECT_EQ(ws.fields.text(EditFields::Line2), "World");
    EXPECT_EQ(press("HELLO"), 2);
    EXPECT_EQ(press("HELLO"), 0);
    EXPECT_EQ(press("HELLO"), 1);
    // Changing the search text does not restart the search.
    EXPECT_EQ(press("bye"), 3);
}

TEST_F(FindTest, AnEmptySearchTextVisitsEveryRow)
{
    setRows({{"1", "2", "a"}, {"3", "4", ""}});
    EXPECT_EQ(press(""), 1);
    EXPECT_EQ(press(""), 2);
    EXPECT_EQ(press(""), 0);
    EXPECT_EQ(press(""), 1);
}

TEST_F(FindTest, AnInvalidPatternIsToldAndTheNextSearchStartsAtTheTop)
{
    setRows({{"1", "2", "a[b"}, {"3", "4", "x"}, {"5", "6", "a[b"}});
    EXPECT_EQ(press("a[[]b"), 1);
    EXPECT_EQ(press("["), 0);
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(press("a[[]b"), 1);
}

TEST_F(FindTest, SearchesAnyColumnOverTheWholeDocument)
{
    std::vector<SubtitleEntry> rows(40000, SubtitleEntry{"0", "1", "2", "x"});
    rows[39000].start = "123.5";
    ws.list.replaceAll(std::move(rows));
    ws.list.renumber();
    FindSubtitle(ws, "123", ColStart);
    EXPECT_EQ(ws.list.selected(), 39000);
    EXPECT_EQ(ws.lastFoundRow, 39001);
}

TEST(Wildcard, PatternRules)
{
    EXPECT_TRUE(fits("has 7 in it", "*[0-9]*"));
    EXPECT_FALSE(fits("no digit", "*[0-9]*"));
    EXPECT_TRUE(fits("x123", "*1?3*"));
    EXPECT_TRUE(fits("1a3", "*1?3*"));
    EXPECT_FALSE(fits("13", "*1?3*"));
    EXPECT_TRUE(fits("a5b", "a#b"));
    EXPECT_FALSE(fits("axb", "a#b"));
    EXPECT_TRUE(fits("cat", "c[!o]t"));
    EXPECT_FALSE(fits("cot", "c[!o]t"));
    EXPECT_TRUE(fits("a-b", "a[-x]b"));
    EXPECT_TRUE(fits("a*b", "a[*]b"));
    EXPECT_FALSE(fits("axb", "a[*]b"));
    EXPECT_TRUE(fits("ab", "a[]b"));
    EXPECT_TRUE(fits("abxbcd", "a*b?d"));
    EXPECT_FALSE(fits("abcbd", "a*b?d"));
    EXPECT_TRUE(fits("Line one|line two", "*E|L*"));
    EXPECT_FALSE(fits("abc", "a*d"));
    EXPECT_FALSE(WildcardPattern::compile(u"[", LetterCase::Default));
    EXPECT_FALSE(WildcardPattern::compile(u"[z-a]", LetterCase::Default));
}

TEST(Wildcard, LettersAreComparedAsTheLocaleLowerCasesThem)
{
    // Turkish: I and ı are one letter, İ and i another.
    EXPECT_TRUE(fits("ışık", "*IŞIK*", LetterCase::Turkic));
    EXPECT_TRUE(fits("İSTANBUL", "*istanbul*", LetterCase::Turkic));
    EXPECT_TRUE(fits("istanbul", "*İST*", LetterCase::Turkic));
    EXPECT_FALSE(fits("Işık", "*isik*", LetterCase::Turkic));
    // Elsewhere I is i, and İ still one character i.
    EXPECT_TRUE(fits("LINE", "*line*"));
    EXPECT_FALSE(fits("ışık", "*IŞIK*"));
    EXPECT_TRUE(fits("İx", "i?"));
    EXPECT_TRUE(fits("ÇAĞ", "*çağ*"));
    EXPECT_TRUE(fits("a😀b", "a?b")); // one character outside the BMP
}

TEST_F(FindTest, FindUsesTheChosenLetterCase)
{
    setRows({{"1", "2", "KIRMIZI"}, {"3", "4", "kırmızı"}});
    setLetterCase(LetterCase::Turkic);
    ws.list.select(0);
    EXPECT_EQ(press("kırmızı"), 1);
    EXPECT_EQ(press("kırmızı"), 2);
}
