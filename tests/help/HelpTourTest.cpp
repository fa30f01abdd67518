#include "app/Workspace.h"
#include "help/HelpTour.h"
#include "help/Messages.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

// What the list looked like while each balloon was up.
struct BalloonSeen {
    QString page;
    QPoint tip;
    int rows;
    QStringList texts;
    bool timer1;
    bool timer2;
};

class HelpTourTest : public ::testing::Test {
protected:
    TestFolder folder{QLatin1Char(',')};
    ScriptedDialogs ui;
    Workspace ws{ui};
    std::vector<BalloonSeen> balloons;
    bool timer1 = false, timer2 = false;
    int tabSelected = 0;

    void SetUp() override
    {
        setCurrentLanguage(QStringLiteral("Turkish"));
        folder.write("Language/Turkish.lng", "[Msg]\r\n018=M018\r\n019=Birinci\r\n020=\xDDkinci\r\n");
        ws.list.replaceAll(std::vector<SubtitleEntry>(1));
        ws.list.renumber();
        ws.list.setModified(false);
    }
    HelpTourHooks hooks()
    {
        HelpTourHooks h;
        h.tipFor = [](TourTarget t) { return QPoint(int(t) * 100, 50); };
        h.showBalloon = [this](int corner, QPoint tip, const QString &page) {
            EXPECT_EQ(corner, 2);
            if (timer1)
                TimerOr1_Timer(ws); // the blinking selection, one tick
            if (timer2)
                TimerOr2_Timer(ws);
            QStringList texts;
            for (const SubtitleEntry &row : ws.list.rows())
                texts << row.start + "/" + row.end + "/" + row.text;
            balloons.push_back({page, tip, ws.list.count(), texts, timer1, timer2});
        };
        h.selectEditTab = [this] { ++tabSelected; };
        h.setTimerOr1 = [this](bool on) { timer1 = on; };
        h.setTimerOr2 = [this](bool on) { timer2 = on; };
        return h;
    }
};

} // namespace

TEST_F(HelpTourTest, BuildsSampleRowsShowsFiveBalloonsAndCleansUp)
{
    ws.list.setCell(0, ColText, QStringLiteral("user's row"));
    ws.list.setModified(false); // as if just saved
    StartHelpTour(ws, hooks());
    ASSERT_EQ(balloons.size(), 5u);
    const QStringList pages = {"01.html", "05.html", "02.html", "03.html", "04.html"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(balloons[i].page, pages[qsizetype(i)]);
        EXPECT_EQ(balloons[i].tip, QPoint(int(i) * 100, 50));
    }
    EXPECT_EQ(balloons[0].rows, 1);                       // the user's row deleted: one empty row
    EXPECT_EQ(balloons[0].texts, QStringList{"//"});
    EXPECT_EQ(balloons[2].texts, (QStringList{"//Birinci", "//İkinci"}));
    EXPECT_TRUE(balloons[2].timer1);
    EXPECT_FALSE(balloons[3].timer1);
    EXPECT_EQ(balloons[3].texts[0], "25,32/30,52/Birinci");
    EXPECT_TRUE(balloons[4].timer2);
    EXPECT_EQ(balloons[4].texts[0], "25,32/30,77/Birinci"); // lengthened by the demonstration
    EXPECT_EQ(tabSelected, 1);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastTitle(), "SON OLARAK...");
    EXPECT_TRUE(ui.lastNotice().endsWith("NOT: Kısayol tablosunu F1 tuşu ile ekrana getirebilirsiniz."));
    // Afterwards: one empty row, nothing to save, and a sample row to restore.
    ASSERT_EQ(ws.list.count(), 1);
    EXPECT_EQ(ws.list.row(0), (SubtitleEntry{"1", "", "", ""}));
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_TRUE(ws.restoreEnabled());
    EXPECT_TRUE(ws.deletedRowBuffer[3] == "Birinci" || ws.deletedRowBuffer[3] == "İkinci");
}

TEST_F(HelpTourTest, OnlyInTurkish)
{
    setCurrentLanguage(QStringLiteral("English"));
    StartHelpTour(ws, hooks());
    EXPECT_TRUE(balloons.empty());
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), "Only in Turkish");
    EXPECT_EQ(ui.lastTitle(), "UPSS");
}

TEST_F(HelpTourTest, TwoRowsAreLeftAlone)
{
    ws.list.appendRow({"0", "1", "2", "keep"});
    StartHelpTour(ws, hooks());
    EXPECT_TRUE(balloons.empty());
    EXPECT_EQ(ui.lastNotice(), "M018");
    EXPECT_EQ(ws.list.count(), 2);
}

TEST_F(HelpTourTest, TimerOr1BlinksBetweenTheFirstTwoRows)
{
    ws.list.replaceAll(std::vector<SubtitleEntry>(2));
    ws.list.setCell(1, ColText, QStringLiteral("iki"));
    TimerOr1_Timer(ws);
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(ws.fields.text(EditFields::Line1), "iki");
    TimerOr1_Timer(ws);
    EXPECT_EQ(ws.list.selected(), 0);
}
