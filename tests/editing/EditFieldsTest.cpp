#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

using EditFieldsTest = WorkspaceTest;

TEST_F(EditFieldsTest, ChoosingARowShowsItWithoutWritingIntoIt)
{
    setRows({{"1", "2", "a|b|c|d"}, {"3", "4", "a||b"}});
    EXPECT_EQ(ws.fields.text(EditFields::Line3), "c");
    ws.list.select(1);
    EXPECT_EQ(ws.fields.text(EditFields::Line2), "");
    EXPECT_EQ(ws.fields.text(EditFields::Line3), "b");
    EXPECT_EQ(texts(), QStringList({"a|b|c|d", "a||b"}));
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(EditFieldsTest, TypingWritesIntoTheSelectedRowWithTheJoiningRule)
{
    setRows({{"10", "12.5", "a|b|c|d"}, {"20", "21", "other"}});
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
    EXPECT_EQ(cell(1, ColText), "other");
    EXPECT_TRUE(ws.list.isModified());
}
