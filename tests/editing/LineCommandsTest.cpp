#include "EditingFixture.h"

#include "editing/LineCommands.h"

#include <QSignalSpy>

using namespace korv;
using namespace korv::test;

using LineCommandsTest = EditingTest;

TEST_F(LineCommandsTest, AddPutsAnEmptyRowAfterTheSelectedOne)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 1);
    EXPECT_EQ(texts(), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(cell(3, ColNumber), "4");
    EXPECT_EQ(ws.fields.text(EditFields::Start), "");
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "");
    Cubuk_ButtonClick(ws, 4); // not a button: nothing
    EXPECT_EQ(ws.list.count(), 4);
}

TEST_F(LineCommandsTest, RestoreBringsBackOnlyTheLastDeletedRow)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    QSignalSpy enabled(&ws, &Workspace::restoreEnabledChanged);
    EXPECT_FALSE(ws.restoreEnabled());
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(texts(), QStringList({"a", "c"}));
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "c"); // the row in its place
    EXPECT_TRUE(ws.restoreEnabled());
    ws.list.select(0);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(texts(), QStringList({"c"}));
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"a", "c"}));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(ws.fields.text(EditFields::End), "2");
    EXPECT_EQ(cell(1, ColNumber), "2");
    EXPECT_FALSE(ws.restoreEnabled());
    EXPECT_EQ(enabled.count(), 2); // on, then off
}

TEST_F(LineCommandsTest, DeleteAndRestoreGiveTheRowsBackInOrder)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 2);
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(cell(1, ColStart), "3");
}

TEST_F(LineCommandsTest, DeletingTheOnlyRowLeavesAnEmptyRowAndCanBeUndone)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    Cubuk_ButtonClick(ws, 2); // "a" goes to the buffer
    Cubuk_ButtonClick(ws, 2); // the only row, "b"
    ASSERT_EQ(ws.list.count(), 1);
    EXPECT_EQ(cell(0, ColNumber), "1");
    EXPECT_EQ(cell(0, ColText), "");
    EXPECT_TRUE(ws.restoreEnabled());
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"b", ""}));
}

TEST_F(LineCommandsTest, RestoreAtAPositionPastTheEndRestoresNothing)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    ws.list.select(2);
    Cubuk_ButtonClick(ws, 2); // buffer position 3
    ui.yesNo.push_back(true);
    MnuYeniAltYazi_Click(ws);
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.restoreEnabled());
}

TEST_F(LineCommandsTest, NewDocumentAsksOnlyForTwoOrMoreRows)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    ui.yesNo.push_back(false);
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({"a", "b"}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, msg("017"));
    EXPECT_EQ(ui.questions[0].title, "Korvendal Production");

    ui.yesNo.push_back(true);
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_FALSE(ws.list.isModified());

    ws.fields.setText(EditFields::Line1, "typed");
    MnuYeniAltYazi_Click(ws); // one row, filled: no question
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "");
    EXPECT_FALSE(ws.list.isModified());
}
