#include "document/SubtitleList.h"
#include "document/SubtitleTableModel.h"
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
    // Every number, across the pieces the texts are kept in, and a number
    // changed in one list changes no other's.
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.cell(i, ColNumber), QString::number(i + 1)) << i;
    SubtitleList other;
    other.replaceAll(std::vector<SubtitleEntry>(5000));
    other.renumber();
    other.setCell(4096, ColNumber, QStringLiteral("x"));
    EXPECT_EQ(list.cell(4096, ColNumber), "4097");
    EXPECT_EQ(QString(other.cell(4097, ColNumber)).append(QLatin1Char('!')), "4098!");

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

namespace {

// A column and a colour from above, as the reading checks give them.
class Stripes : public korv::RowAnnotations {
public:
    QString extraHeader() const override { return QStringLiteral("EK"); }
    QVariant extraData(int row, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("x%1").arg(row)) : QVariant();
    }
    QVariant cellData(int row, int, int role) const override
    {
        return role == Qt::BackgroundRole && row % 2 ? QVariant(QStringLiteral("odd")) : QVariant();
    }
};

} // namespace

TEST(SubtitleTableModelAnnotations, AColumnAndRolesFromAboveWithoutTouchingTheRowsOwnCells)
{
    korv::SubtitleList list;
    list.replaceAll({{"1", "1", "2", "Bir"}, {"2", "3", "4", "İki"}});
    korv::SubtitleTableModel model(list);
    EXPECT_EQ(model.columnCount(), 4);
    Stripes stripes;
    model.setAnnotations(&stripes);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "EK");
    EXPECT_EQ(model.data(model.index(1, 4), Qt::DisplayRole).toString(), "x1");
    EXPECT_EQ(model.data(model.index(1, korv::ColText), Qt::DisplayRole).toString(), "İki");
    EXPECT_EQ(model.data(model.index(1, korv::ColStart), Qt::BackgroundRole).toString(), "odd");
    EXPECT_FALSE(model.data(model.index(0, korv::ColStart), Qt::BackgroundRole).isValid());
    // Told for the rows named, every column, the extra one too.
    std::vector<std::pair<QModelIndex, QModelIndex>> told;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &a, const QModelIndex &b) { told.push_back({a, b}); });
    model.annotationsChanged(-3, 7);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first, model.index(0, 0));
    EXPECT_EQ(told[0].second, model.index(1, 4));
    model.setAnnotations(nullptr);
    EXPECT_EQ(model.columnCount(), 4);
}
