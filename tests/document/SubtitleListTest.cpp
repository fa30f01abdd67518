#include "document/SubtitleList.h"
#include "support/QtPrinters.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korv;

TEST(SubtitleList, TheSelectionStaysOnItsRowAndNumbersHaveNoGaps)
{
    SubtitleList list;
    list.replaceAll({{"0", "", "", "a"}, {"0", "", "", "b"}, {"0", "", "", "c"}});
    list.select(1);
    EXPECT_TRUE(list.insertRow(0)); // before the selection: the same row stays selected
    EXPECT_EQ(list.cell(list.selected(), ColText), "b");
    EXPECT_FALSE(list.insertRow(5));
    EXPECT_FALSE(list.removeRow(-1));
    list.removeRow(0);
    list.renumber();
    EXPECT_EQ(QStringList({list.cell(0, ColNumber), list.cell(1, ColNumber), list.cell(2, ColNumber)}),
              QStringList({"1", "2", "3"}));

    QSignalSpy spy(&list, &SubtitleList::selectionChanged);
    list.removeRow(1); // the selected row: the one in its place is chosen
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(list.cell(1, ColText), "c");
    EXPECT_EQ(spy.count(), 1);
    list.removeRow(1);
    EXPECT_EQ(list.cell(list.selected(), ColText), "a");
    list.removeRow(0);
    EXPECT_EQ(list.selected(), -1);
}

TEST(SubtitleList, FarMoreThan32767RowsAndOneSignalForABulkChange)
{
    SubtitleList list;
    list.replaceAll(std::vector<SubtitleEntry>(40000));
    list.renumber();
    list.select(39999);
    EXPECT_EQ(list.selected(), 39999);
    EXPECT_EQ(list.cell(39999, ColNumber), "40000");

    list.setModified(false);
    list.setCell(0, ColText, QString()); // no real change
    list.renumber();
    EXPECT_FALSE(list.isModified());
    QSignalSpy spy(&list, &SubtitleList::cellsChanged);
    {
        SubtitleList::BulkChange bulk(list);
        for (int i = 10; i < 900; ++i)
            list.setCell(i, ColStart, QStringLiteral("1"));
    }
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 10);
    EXPECT_EQ(spy[0][1].toInt(), 899);
    EXPECT_TRUE(list.isModified());
}
