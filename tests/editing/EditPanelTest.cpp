// The edit fields, the line toolbar, a new document and the time shift.
#include "editing/LineCommands.h"
#include "editing/TimeShift.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

using EditPanelTest = WorkspaceTest;

TEST_F(EditPanelTest, ChoosingARowShowsItAndTypingWritesItWithTheJoiningRule)
{
    setRows({{"10", "12.5", "a|b|c|d"}, {"20", "21", "a||b"}});
    EXPECT_EQ(field(EditFields::Line3), "c");
    ws.list.select(1);
    EXPECT_EQ(QStringList({field(EditFields::Line1), field(EditFields::Line2), field(EditFields::Line3)}),
              QStringList({"a", "", "b"}));
    EXPECT_EQ(texts(), QStringList({"a|b|c|d", "a||b"})); // choosing did not write
    EXPECT_FALSE(ws.list.isModified());

    ws.list.select(0);
    ws.fields.setText(EditFields::Line2, "");
    EXPECT_EQ(cell(0, ColText), "a|c"); // empty line skipped, fourth line gone
    ws.fields.setText(EditFields::Line1, "");
    EXPECT_EQ(cell(0, ColText), "c"); // no leading "|"
    ws.fields.setText(EditFields::Line3, "");
    EXPECT_EQ(cell(0, ColText), "");
    ws.fields.setText(EditFields::End, "12");
    EXPECT_EQ(cell(0, ColEnd), "12");
    EXPECT_EQ(ws.fields.duration(), "2. sn");
    ws.fields.setText(EditFields::End, "x"); // not a number: the label stays
    EXPECT_EQ(cell(0, ColEnd), "x");
    EXPECT_EQ(ws.fields.duration(), "2. sn");
    EXPECT_EQ(cell(1, ColText), "a||b");
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(EditPanelTest, AddDeleteAndRestoreKeepOrderNumbersAndSelection)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}}, 1);
    Cubuk_ButtonClick(ws, 1);
    EXPECT_EQ(texts(), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3", "4"}));
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(field(EditFields::Line1), "c"); // the row in its place
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_TRUE(ws.restoreEnabled());
    Cubuk_ButtonClick(ws, 3); // only the second deletion comes back
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(field(EditFields::Start), "3");
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3"}));
    EXPECT_FALSE(ws.restoreEnabled());

    // Deleting the only row leaves an empty one, and can be undone.
    Cubuk_ButtonClick(ws, 2);
    Cubuk_ButtonClick(ws, 2);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_EQ(cell(0, ColNumber), "1");
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"a", ""}));
}

TEST_F(EditPanelTest, ARestorePastTheEndOfANewDocumentRestoresNothing)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}}, 2);
    Cubuk_ButtonClick(ws, 2); // buffer position 3
    ui.yesNoCancel.push_back(Answer::No); // the deletion is not saved
    MnuYeniAltYazi_Click(ws);
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.restoreEnabled());
}

TEST_F(EditPanelTest, NewDocumentAsksOnlyForTwoOrMoreRowsAndOffersChangedWorkForSaving)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    ui.yesNo = {false, true};
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({"a", "b"}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, msg("017"));
    EXPECT_EQ(ui.questions[0].title, "Korvendal Production");
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.list.isModified());
    ws.fields.setText(EditFields::Line1, "typed");
    ui.yesNoCancel = {Answer::Cancel, Answer::No};
    MnuYeniAltYazi_Click(ws); // one row, changed: cancel keeps it
    EXPECT_EQ(texts(), QStringList({"typed"}));
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(ui.questions.size(), 4u);
    EXPECT_EQ(ui.questions[2].message, msg("021"));
    EXPECT_EQ(field(EditFields::Line1), "");
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(EditPanelTest, TimeShiftRoundsToHundredthsAndIsAllOrNothing)
{
    const auto shift = [this](const char *seconds, bool add) {
        ws.fields.setText(EditFields::ShiftSeconds, seconds);
        CmdEkleCikar_Click(ws, add);
    };
    setRows({{"10", "12.5", "a"}, {"3", "10", "b"}});
    shift("2", true);
    EXPECT_EQ(column(ColStart), QStringList({"12.", "5."}));
    EXPECT_EQ(field(EditFields::Start), "12."); // the fields follow
    shift("3.234", false);
    shift("-2", true); // "EKLE" with a negative value moves earlier
    EXPECT_EQ(column(ColStart), QStringList({"6.77", "-0.23"}));
    shift("abc", true);
    shift("", false);
    EXPECT_EQ(column(ColEnd), QStringList({"9.27", "6.77"}));
    EXPECT_TRUE(ui.notices.empty());

    // A row that is not a number stops everything and is named.
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"", "6", "c"}, {"7", "8", "d"}});
    shift("5", true);
    EXPECT_EQ(column(ColStart), QStringList({"1", "3", "", "7"}));
    EXPECT_EQ(column(ColEnd), QStringList({"2", "4", "6", "8"}));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0].message, msg("006") + "\r\n\r\n" + msg("007") + "3");
    EXPECT_EQ(ui.notices[0].title, "Korvendal Production");
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_EQ(ui.busyDepth, 0);
}
