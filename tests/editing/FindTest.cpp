#include "editing/Find.h"
#include "editing/Wildcard.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class FindTest : public WorkspaceTest {
protected:
    void TearDown() override { setLetterCase(LetterCase::Default); }

    // Presses "BUL" with `search`: the selected row's number, or 0 when the
    // press ended with message "001".
    int press(const char *search)
    {
        ws.fields.setText(EditFields::Search, QString::fromUtf8(search));
        const std::size_t before = ui.notices.size();
        CmdFind_Click(ws);
        if (ui.notices.size() == before)
            return ws.list.selected() + 1;
        EXPECT_EQ(ui.notices.back().message, msg("001"));
        return 0;
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
    EXPECT_EQ(press("bye"), 3); // a new search text goes on below
    EXPECT_EQ(press(""), 0);
    EXPECT_EQ(press(""), 1); // the empty text fits every row
    EXPECT_EQ(press("["), 0); // not a valid pattern: told, back to the top
    EXPECT_EQ(press("world"), 1);
}

TEST_F(FindTest, SearchesAnyColumnOverTheWholeDocument)
{
    std::vector<SubtitleEntry> rows(40000, SubtitleEntry{"0", "1", "2", "x"});
    rows[39000].start = "123.5";
    ws.list.replaceAll(std::move(rows));
    FindSubtitle(ws, "123", ColStart);
    EXPECT_EQ(ws.list.selected(), 39000);
}

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
    EXPECT_FALSE(WildcardPattern::compile(u"a[b", LetterCase::Default));
    EXPECT_FALSE(WildcardPattern::compile(u"[z-a]", LetterCase::Default));
}

TEST_F(FindTest, ATurkishLocaleFindsDotlessLetters)
{
    setRows({{"1", "2", "KIRMIZI"}, {"3", "4", "kırmızı"}});
    setLetterCase(LetterCase::Turkic);
    EXPECT_EQ(press("kırmızı"), 1);
    EXPECT_EQ(press("kırmızı"), 2);
}
