#include "app/Workspace.h"
#include "editing/OverlapCheck.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

class OverlapCheckTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    Workspace ws{ui};

    void setRows(std::vector<std::pair<const char *, const char *>> times)
    {
        std::vector<SubtitleEntry> rows;
        for (const auto &[start, end] : times)
            rows.push_back({QStringLiteral("0"), QString::fromUtf8(start), QString::fromUtf8(end), QStringLiteral("x")});
        ws.list.replaceAll(rows);
        ws.list.renumber();
        ws.list.select(ws.list.count() - 1);
    }
    QString start(int row) const { return ws.list.cell(row, ColStart); }
    QString end(int row) const { return ws.list.cell(row, ColEnd); }
    static QString report(int row, bool repaired)
    {
        return "\r\n" + msg("007") + QString::number(row) + "\r\n" + (repaired ? msg("011") : QStringLiteral("HATA DÜZELTİLMEDİ"));
    }
};

} // namespace

TEST_F(OverlapCheckTest, EmptyListPassesAndTheButtonSaysNoErrors)
{
    ws.list.clear();
    EXPECT_TRUE(CheckOverlaps(ws));
    CmdHataKontrolu_Click(ws);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("005"));
    EXPECT_EQ(ui.lastTitle(), "Korvendal Production");
}

TEST_F(OverlapCheckTest, ANewDocumentsEmptyRowIsNotANumber)
{
    setRows({{"", ""}});
    EXPECT_FALSE(CheckOverlaps(ws));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("006") + "\r\n\r\n" + msg("007") + "1");
    EXPECT_EQ(ui.lastTitle(), msg("008"));
    EXPECT_EQ(ws.list.selected(), 0);
}

TEST_F(OverlapCheckTest, AutomaticRepairPullsTheEndBackAndReports)
{
    setRows({{"10", "12.5"}, {"12", "14"}});
    ws.hataCheck1 = true;
    CmdHataKontrolu_Click(ws);
    EXPECT_EQ(end(0), "12");
    EXPECT_EQ(start(0), "10");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("004") + "\r\n" + report(1, true));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ws.list.selected(), 1); // the repair leaves the selection alone
}

TEST_F(OverlapCheckTest, WithoutRepairTheFirstOverlapStopsTheWalk)
{
    setRows({{"10", "12.5"}, {"12", "14"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(end(0), "12.5");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("009") + "\r\n\r\n" + msg("007") + "1");
    EXPECT_EQ(ui.lastTitle(), msg("008"));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(ws.fields.text(EditFields::End), "12.5");
}

TEST_F(OverlapCheckTest, EqualTimesAreNoOverlap)
{
    setRows({{"10", "12"}, {"12", "14"}});
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_TRUE(ws.checkReport.isEmpty());
}

TEST_F(OverlapCheckTest, AskingBeforeEachRepairFollowsTheAnswers)
{
    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}});
    ws.hataCheck1 = ws.hataCheck2 = true;
    ui.yesNoCancel = {Answer::No, Answer::Yes};
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(end(0), "3");
    EXPECT_EQ(end(1), "4");
    EXPECT_EQ(ws.checkReport, report(1, false) + report(2, true));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].message,
              msg("009") + "\r\n\r\n" + msg("007") + "1\r\n\r\n" + msg("010"));
    EXPECT_EQ(ui.questions[0].title, msg("008"));
}

TEST_F(OverlapCheckTest, CancelStopsWithAnUnrepairedEntry)
{
    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}});
    ws.hataCheck1 = ws.hataCheck2 = true;
    ui.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ws.checkReport, report(1, false));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(OverlapCheckTest, TimesAreNormalisedToHundredths)
{
    setRows({{"10.456", "12."}, {"13", "14.999"}});
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(start(0), "10.46");
    EXPECT_EQ(end(0), "12");
    EXPECT_EQ(end(1), "15");
}

TEST_F(OverlapCheckTest, AnEmptyStartStopsWhileTestingThePreviousRow)
{
    setRows({{"1.001", "2"}, {"3.004", "4"}, {"", "6"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.lastNotice(), msg("006") + "\r\n\r\n" + msg("007") + "3");
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(start(0), "1");      // normalised
    EXPECT_EQ(start(1), "3.004");  // not reached
}

TEST_F(OverlapCheckTest, ARepairedSelectedRowShowsItsNewEnd)
{
    setRows({{"10", "12.5"}, {"12", "14"}});
    ws.list.select(0);
    ws.hataCheck1 = true;
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(ws.fields.text(EditFields::End), "12");
}
