#include "document/SubtitleList.h"

#include <QSignalSpy>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace korv;



TEST(SubtitleList, RenumberGivesPositionsWithoutGaps)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(3));
    list.insertRow(1);
    list.removeRow(3);
    list.renumber();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.cell(0, ColNumber), "1");
    EXPECT_EQ(list.cell(1, ColNumber), "2");
    EXPECT_EQ(list.cell(2, ColNumber), "3");
}

TEST(SubtitleList, RemovingTheSelectedRowSelectsTheOneInItsPlace)
{
    SubtitleList list;
    std::vector<SubtitleEntry> rows(3);
    rows[0].text = "a";
    rows[1].text = "b";
    rows[2].text = "c";
    list.replaceAll(rows);
    list.select(1);
    QSignalSpy spy(&list, &SubtitleList::selectionChanged);
    list.removeRow(1);
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(list.cell(list.selected(), ColText), "c");
    EXPECT_EQ(spy.count(), 1);
    list.removeRow(1);
    EXPECT_EQ(list.cell(list.selected(), ColText), "a");
    list.removeRow(0);
    EXPECT_EQ(list.selected(), -1);
}

TEST(SubtitleList, InsertBeforeTheSelectionKeepsTheSameRowSelected)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(2));
    list.setCell(1, ColText, "keep");
    list.select(1);
    EXPECT_TRUE(list.insertRow(0));
    EXPECT_EQ(list.cell(list.selected(), ColText), "keep");
    EXPECT_FALSE(list.insertRow(5));
    EXPECT_FALSE(list.removeRow(-1));
}

TEST(SubtitleList, BulkChangeAnnouncesOneRange)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(1000));
    QSignalSpy spy(&list, &SubtitleList::cellsChanged);
    {
        SubtitleList::BulkChange bulk(list);
        for (int i = 10; i < 900; ++i)
            list.setCell(i, ColStart, QStringLiteral("1"));
    }
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 10);
    EXPECT_EQ(spy[0][1].toInt(), 899);
}

TEST(SubtitleList, ModifiedFollowsRealChangesOnly)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(2));
    list.setModified(false);
    list.setCell(0, ColText, QString());
    list.renumber();
    EXPECT_FALSE(list.isModified());
    list.setCell(0, ColText, QStringLiteral("x"));
    EXPECT_TRUE(list.isModified());
}

TEST(SubtitleList, HoldsFarMoreThan32767Rows)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(40000));
    list.renumber();
    list.select(39999);
    EXPECT_EQ(list.selected(), 39999);
    EXPECT_EQ(list.cell(39999, ColNumber), "40000");
}
