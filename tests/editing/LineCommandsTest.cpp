#include "support/WorkspaceTest.h"

#include "editing/LineCommands.h"

using namespace korv;
using namespace korv::test;

using LineCommandsTest = WorkspaceTest;

TEST_F(LineCommandsTest, AddDeleteAndRestoreKeepOrderNumbersAndSelection)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 1);
    EXPECT_EQ(texts(), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(cell(3, ColNumber), "4");
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "c"); // the row in its place
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_TRUE(ws.restoreEnabled());
    Cubuk_ButtonClick(ws, 3); // only the second deletion comes back
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(ws.fields.text(EditFields::Start), "3");
    EXPECT_EQ(cell(2, ColNumber), "3");
    EXPECT_FALSE(ws.restoreEnabled());
}

TEST_F(LineCommandsTest, DeletingTheOnlyRowLeavesAnEmptyRowAndCanBeUndone)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    Cubuk_ButtonClick(ws, 2); // "a" goes to the buffer
    Cubuk_ButtonClick(ws, 2); // the only row, "b"
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_EQ(cell(0, ColNumber), "1");
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"b", ""}));
}

TEST_F(LineCommandsTest, RestoreAtAPositionPastTheEndRestoresNothing)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    ws.list.select(2);
    Cubuk_ButtonClick(ws, 2); // buffer position 3
    ui.yesNoCancel.push_back(Answer::No); // the deletion is not saved
    MnuYeniAltYazi_Click(ws);
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.restoreEnabled());
}

TEST_F(LineCommandsTest, NewDocumentAsksOnlyForTwoOrMoreRows)
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
    MnuYeniAltYazi_Click(ws); // changed: offered for saving first; cancel keeps it
    EXPECT_EQ(texts(), QStringList({"typed"}));
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(ui.questions.size(), 4u);
    EXPECT_EQ(ui.questions[2].message, msg("021"));
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "");
    EXPECT_FALSE(ws.list.isModified());
}
