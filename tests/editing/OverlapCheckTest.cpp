#include "editing/OverlapCheck.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

using OverlapCheckTest = WorkspaceTest;

QString report(int row, bool repaired)
{
    return "\r\n" + msg("007") + QString::number(row) + "\r\n" + (repaired ? msg("011") : QStringLiteral("HATA DÜZELTİLMEDİ"));
}

QString stopped(const char *key, int row)
{
    return msg(key) + "\r\n\r\n" + msg("007") + QString::number(row);
}

} // namespace

TEST_F(OverlapCheckTest, TimesAreNormalisedEqualTimesPassAndAnEmptyListHasNoErrors)
{
    setRows({{"10.456", "12."}, {"12", "14.999"}});
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_TRUE(ws.checkReport.isEmpty());
    EXPECT_EQ(column(ColStart), QStringList({"10.46", "12"}));
    EXPECT_EQ(column(ColEnd), QStringList({"12", "15"}));
    EXPECT_TRUE(ui.notices.empty());

    ws.list.clear();
    EXPECT_TRUE(CheckOverlaps(ws));
    CmdHataKontrolu_Click(ws);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("005"));
    EXPECT_EQ(ui.lastTitle(), "Korvendal Production");
}

TEST_F(OverlapCheckTest, ATimeThatIsNotANumberStopsTheWalkOnItsRow)
{
    setRows({{"", ""}}); // a new document's empty row
    EXPECT_FALSE(CheckOverlaps(ws));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), stopped("006", 1));
    EXPECT_EQ(ui.lastTitle(), msg("008"));

    // An empty start is found while the row before it is tested.
    setRows({{"1.001", "2"}, {"3.004", "4"}, {"", "6"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.lastNotice(), stopped("006", 3));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(column(ColStart), QStringList({"1", "3.004", ""})); // normalised as far as it got
}

TEST_F(OverlapCheckTest, WithoutRepairTheFirstOverlapStopsTheWalkOnItsRow)
{
    setRows({{"10", "12.5"}, {"12", "14"}}, 1);
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(cell(0, ColEnd), "12.5");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), stopped("009", 1));
    EXPECT_EQ(ui.lastTitle(), msg("008"));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(field(EditFields::End), "12.5");
}

TEST_F(OverlapCheckTest, AutomaticRepairPullsTheEndsBackAndReports)
{
    setRows({{"10", "12.5"}, {"12", "14"}, {"13.5", "15"}}, 1);
    ws.hataCheck1 = true;
    CmdHataKontrolu_Click(ws);
    EXPECT_EQ(column(ColEnd), QStringList({"12", "13.5", "15"}));
    EXPECT_EQ(column(ColStart), QStringList({"10", "12", "13.5"}));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), msg("004") + "\r\n" + report(1, true) + report(2, true));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ws.list.selected(), 1); // the repair leaves the selection alone
    EXPECT_EQ(field(EditFields::End), "13.5");
}

TEST_F(OverlapCheckTest, AskingBeforeEachRepairFollowsTheAnswersUntilCancel)
{
    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}}, 2);
    ws.hataCheck1 = ws.hataCheck2 = true;
    ui.yesNoCancel = {Answer::No, Answer::Yes};
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(column(ColEnd), QStringList({"3", "4", "6"}));
    EXPECT_EQ(ws.checkReport, report(1, false) + report(2, true));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].message, stopped("009", 1) + "\r\n\r\n" + msg("010"));
    EXPECT_EQ(ui.questions[0].title, msg("008"));

    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}}, 2);
    ui.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ws.checkReport, report(1, false));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_TRUE(ui.notices.empty());
}
