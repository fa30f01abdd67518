// The time index the overlay and the list following search: whatever the
// rows (out of order, overlapping, without times) and however they changed,
// it finds what a walk over the rows in order finds.
#include "document/SubtitleList.h"
#include "document/TimeText.h"
#include "preview/SubtitleTimeIndex.h"

#include <gtest/gtest.h>

#include <random>

using namespace korv;

namespace {

const NumberFormat kNumbers = NumberFormat::dot();

int walkCovering(const SubtitleList &list, int from, double t)
{
    for (int row = std::max(from, 0); row < list.count(); ++row) {
        const auto start = TextToSeconds(list.cell(row, ColStart), kNumbers);
        const auto end = TextToSeconds(list.cell(row, ColEnd), kNumbers);
        if (start && end && *start <= t && t <= *end)
            return row;
    }
    return -1;
}

int walkStarting(const SubtitleList &list, double t)
{
    for (int row = 0; row < list.count(); ++row) {
        const auto start = TextToSeconds(list.cell(row, ColStart), kNumbers);
        const auto end = TextToSeconds(list.cell(row, ColEnd), kNumbers);
        if (start && end && *start >= t)
            return row;
    }
    return -1;
}

class TimeIndexTest : public ::testing::Test {
protected:
    std::mt19937 random{20261207};
    SubtitleList list;
    SubtitleTimeIndex index{list, kNumbers};

    QString time(int tenths)
    {
        // One row in twenty has a time that does not read.
        return std::uniform_int_distribution(0, 19)(random) == 0 ? QStringLiteral("x")
                                                                  : QString::number(tenths / 10.0);
    }
    SubtitleEntry row(int around)
    {
        const int start = std::max(0, around + std::uniform_int_distribution(-30, 30)(random));
        return {QString(), time(start), time(start + std::uniform_int_distribution(-5, 40)(random)), QStringLiteral("t")};
    }
    // Every search at times across the rows and a little beyond, from rows
    // at, inside and across the blocks' edges, against the walk.
    void expectSameAsTheWalk(const char *after)
    {
        const int last = list.count() * 10 + 100;
        for (int tenths = -15; tenths <= last; tenths += std::uniform_int_distribution(1, 23)(random)) {
            const double t = tenths / 10.0;
            ASSERT_EQ(index.firstStartingAtOrAfter(t), walkStarting(list, t)) << after << " t=" << t;
            for (int from : {0, 1, 15, 16, 17, 31, 32, 33, list.count() / 2, list.count() - 1, list.count()})
                ASSERT_EQ(index.firstCovering(from, t), walkCovering(list, from, t))
                    << after << " from=" << from << " t=" << t;
        }
    }
};

} // namespace

TEST_F(TimeIndexTest, FindsWhatAWalkOverTheRowsFindsThroughEveryKindOfChange)
{
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 203; ++i) // not a whole number of blocks
        rows.push_back(row(i * 10));
    list.replaceAll(rows);
    expectSameAsTheWalk("the rows read");

    // A few cells changed, each moving its block's bounds (in place), then
    // many at once (the tree made again).
    for (int i = 0; i < 40; ++i) {
        const int r = std::uniform_int_distribution(0, list.count() - 1)(random);
        list.setCell(r, std::uniform_int_distribution(1, 2)(random) == 1 ? ColStart : ColEnd,
                     time(std::uniform_int_distribution(0, list.count() * 10)(random)));
        if (i % 8 == 0)
            expectSameAsTheWalk("a cell changed");
    }
    {
        SubtitleList::BulkChange bulk(list);
        for (int r = 0; r < list.count(); r += 2)
            list.setCell(r, ColStart, time(std::uniform_int_distribution(0, list.count() * 10)(random)));
    }
    expectSameAsTheWalk("every second start changed");

    // Rows added and removed move every block's rows.
    list.insertRow(0, row(5));
    list.insertRow(17, row(170));
    list.appendRow(row(list.count() * 10));
    expectSameAsTheWalk("rows added");
    list.removeRow(3);
    list.removeRow(list.count() - 1);
    expectSameAsTheWalk("rows removed");

    // A list of exactly one block, and of none.
    rows.assign(std::size_t(SubtitleTimeIndex::kBlockRows), SubtitleEntry{});
    for (int i = 0; i < SubtitleTimeIndex::kBlockRows; ++i)
        rows[std::size_t(i)] = row(i * 10);
    list.replaceAll(rows);
    expectSameAsTheWalk("one block");
    list.clear();
    EXPECT_EQ(index.firstCovering(0, 1), -1);
    EXPECT_EQ(index.firstStartingAtOrAfter(1), -1);
}

TEST_F(TimeIndexTest, OnAListInTimeOrderASearchLooksAtABlockOrTwo)
{
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 100000; ++i)
        rows.push_back({QString(), QString::number(i), QString::number(i + 0.5), QStringLiteral("t")});
    list.replaceAll(rows);
    EXPECT_EQ(index.firstCovering(0, 77777.25), 77777);
    EXPECT_LE(index.rowsExamined(), 2 * SubtitleTimeIndex::kBlockRows);
    EXPECT_EQ(index.firstCovering(0, 77777.75), -1);
    EXPECT_LE(index.rowsExamined(), 2 * SubtitleTimeIndex::kBlockRows);
    EXPECT_EQ(index.firstStartingAtOrAfter(4242.5), 4243);
    EXPECT_LE(index.rowsExamined(), 2 * SubtitleTimeIndex::kBlockRows);
}
