#include "commands/HelpTour.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class HelpTourTest : public WorkspaceTest {
protected:
    // What each balloon showed, and the list and timers while it was up.
    QStringList balloons;
    std::vector<QStringList> rows;
    bool timer1 = false, timer2 = false;
    int tabSelected = 0;

    HelpTourTest()
    {
        ws.numbers = NumberFormat::comma();
        folder.language.setCurrentLanguage(QStringLiteral("Turkish"));
        folder.write("Language/Turkish.lng", "[Msg]\r\n018=M018\r\n019=Birinci\r\n020=\xDDkinci\r\n");
        setRows({{"1", "2", "user's row"}});
    }
    HelpTourHooks hooks()
    {
        return {[](TourTarget t) { return QPoint(int(t) * 100, 50); },
                [this](int corner, QPoint tip, const QString &page) {
                    if (timer1)
                        TimerOr1_Timer(ws); // the blinking selection, one tick
                    if (timer2)
                        TimerOr2_Timer(ws);
                    balloons << QStringLiteral("%1 %2 %3,%4 %5%6").arg(page).arg(corner).arg(tip.x()).arg(tip.y())
                                    .arg(timer1 ? " timer1" : "", timer2 ? " timer2" : "");
                    QStringList seen;
                    for (const SubtitleEntry &row : ws.list.rows())
                        seen << row.start + "/" + row.end + "/" + row.text;
                    rows.push_back(seen);
                },
                [this] { ++tabSelected; }, [this](bool on) { timer1 = on; }, [this](bool on) { timer2 = on; }};
    }
};

} // namespace

TEST_F(HelpTourTest, BuildsSampleRowsShowsFiveBalloonsAndCleansUp)
{
    StartHelpTour(ws, hooks());
    EXPECT_EQ(balloons, QStringList({"01.html 2 0,50 ", "05.html 2 100,50 ", "02.html 2 200,50  timer1",
                                     "03.html 2 300,50 ", "04.html 2 400,50  timer2"}));
    EXPECT_EQ(rows[0], QStringList{"//"}); // the user's row deleted: one empty row
    EXPECT_EQ(rows[2], (QStringList{"//Birinci", "//İkinci"}));
    EXPECT_EQ(rows[3][0], "25,32/30,52/Birinci");
    EXPECT_EQ(rows[4][0], "25,32/30,77/Birinci"); // lengthened by the demonstration
    EXPECT_EQ(tabSelected, 1);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0].title, "SON OLARAK...");
    EXPECT_TRUE(ui.lastNotice().endsWith("NOT: Kısayol tablosunu F1 tuşu ile ekrana getirebilirsiniz."));
    // Afterwards the user's document is back as it was: its row, shown in the
    // fields, its restore buffer, and whether it had changes.
    EXPECT_EQ(ws.list.rows(), std::vector<SubtitleEntry>({{"1", "1", "2", "user's row"}}));
    EXPECT_EQ(field(EditFields::Line1), "user's row");
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_FALSE(ws.restoreEnabled());
    EXPECT_EQ(ws.deletedRowBuffer, (std::array<QString, 4>{}));

    ws.fields.setText(EditFields::Line1, "changed");
    ws.deletedRowBuffer = {"1", "7", "8", "deleted before"};
    ws.setRestoreEnabled(true);
    StartHelpTour(ws, hooks());
    EXPECT_EQ(texts(), QStringList{"changed"});
    EXPECT_TRUE(ws.list.isModified());
    EXPECT_TRUE(ws.restoreEnabled());
    EXPECT_EQ(ws.deletedRowBuffer[3], "deleted before");
}

TEST_F(HelpTourTest, OnlyInTurkishAndNotOverTwoRows)
{
    folder.language.setCurrentLanguage(QStringLiteral("English"));
    StartHelpTour(ws, hooks());
    EXPECT_EQ(ui.shown(), QStringList{"UPSS: Only in Turkish"});

    folder.language.setCurrentLanguage(QStringLiteral("Turkish"));
    ws.list.appendRow({"0", "1", "2", "keep"});
    StartHelpTour(ws, hooks());
    EXPECT_EQ(ui.lastNotice(), "M018");
    EXPECT_EQ(texts(), QStringList({"user's row", "keep"}));
    EXPECT_TRUE(balloons.empty());
}

TEST_F(HelpTourTest, TimerOr1BlinksBetweenTheFirstTwoRows)
{
    ws.list.appendRow({"0", "1", "2", "iki"});
    TimerOr1_Timer(ws);
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(field(EditFields::Line1), "iki");
    TimerOr1_Timer(ws);
    EXPECT_EQ(ws.list.selected(), 0);
}
