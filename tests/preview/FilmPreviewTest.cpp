// Opening a film, the overlay, the position labels, the list following the
// film and going to a row, with a scripted player.
#include "app/Workspace.h"
#include "document/FrameRate.h"
#include "preview/FilmPreview.h"
#include "support/AviFileWriter.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPlayer.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

class FilmPreviewTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    Workspace ws{ui};
    ScriptedPlayer player;
    FilmPreview preview{ws, player};
    bool follow = false;

    FilmPreviewTest()
    {
        ws.optionFlag = [this](int flag) { return flag == 0 && follow; };
    }

    void setRows(std::vector<SubtitleEntry> rows)
    {
        ws.list.replaceAll(std::move(rows));
        ws.list.renumber();
    }
    // Rows i = 1..n from 10 i to 10 i + 5 seconds, text "row i".
    void setRegularRows(int n)
    {
        std::vector<SubtitleEntry> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({QString(), QString::number(10 * i), QString::number(10 * i + 5), QStringLiteral("row %1").arg(i)});
        setRows(std::move(rows));
    }
    QString tickAt(double position)
    {
        player.at = position;
        preview.TimerAltYazi_Timer();
        return preview.overlayText();
    }
};

} // namespace

TEST_F(FilmPreviewTest, OverlayShowsTheDueSubtitleOneLinePerLine)
{
    setRows({{{}, "10", "12.5", "Bir|İki"}, {{}, "20", "21", "a||b"}, {{}, "30", "31", "x|y|"}});
    EXPECT_EQ(tickAt(10.0), "Bir\r\nİki");
    EXPECT_EQ(tickAt(12.5), "Bir\r\nİki");
    EXPECT_EQ(tickAt(9.996), "Bir\r\nİki"); // rounds to 10.00 first
    EXPECT_EQ(tickAt(12.51), "");
    EXPECT_EQ(tickAt(9.994), "");
    EXPECT_EQ(tickAt(20.5), "a\r\n\r\nb");
    EXPECT_EQ(tickAt(30.5), "x\r\ny\r\n");
    // Before any film the position is -1: nothing shows.
    EXPECT_EQ(tickAt(-1), "");
}

TEST_F(FilmPreviewTest, AfterMovingBackTheOverlayIsEmptyForOneTick)
{
    setRegularRows(6);
    EXPECT_EQ(tickAt(52), "row 5");
    EXPECT_EQ(preview.LastOverlayRow, 5);
    EXPECT_EQ(tickAt(22), "");
    EXPECT_EQ(preview.LastOverlayRow, 1);
    EXPECT_EQ(tickAt(22.5), "row 2");
    EXPECT_EQ(preview.LastOverlayRow, 2);
}

TEST_F(FilmPreviewTest, RowsWithoutBothTimesNeverShow)
{
    setRows({{{}, "", "20", "no start"}, {{}, "10", "", "no end"}, {{}, "abc", "20", "word"}, {{}, "14", "16", "ok"}});
    EXPECT_EQ(tickAt(12), "");
    EXPECT_EQ(tickAt(15), "ok");
    // The row shown last is now past the end of a new list: one empty tick.
    setRows({{{}, "1", "9", "long"}, {{}, "2", "3", "short"}});
    EXPECT_EQ(tickAt(2.5), "");
    // Overlapping rows: the first one at or after the row shown last.
    EXPECT_EQ(tickAt(2.5), "long");
    preview.LastOverlayRow = 2;
    EXPECT_EQ(tickAt(2.5), "short");
}

TEST_F(FilmPreviewTest, OverlayTickStopsItsTimerWhileItWorks)
{
    setRegularRows(3);
    bool activeDuringTick = true;
    player.onRead = [&] { activeDuringTick = preview.TimerAltYazi.isActive(); };
    preview.TimerAltYazi.start();
    tickAt(11);
    EXPECT_FALSE(activeDuringTick);
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
    EXPECT_EQ(preview.TimerAltYazi.interval(), 500);
}

TEST_F(FilmPreviewTest, LongListsWorkBeyond32767Rows)
{
    setRegularRows(40000);
    EXPECT_EQ(tickAt(10.0 * 39000 + 1), "row 39000");
    EXPECT_EQ(tickAt(10.0 * 39001 + 1), "row 39001");
    follow = true;
    player.at = 10.0 * 39999 - 1;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 39998);
}

TEST_F(FilmPreviewTest, PositionLabels)
{
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"-", "-", "-"}));

    frameRates().film = 25;
    player.at = 0.5;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"0.5 sn", "12", "00:00:00,50"}));
    player.at = 1.5;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock().frame, "38"); // halves to even
    player.at = 12;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"12. sn", "300", "00:00:12,00"}));

    // Ten hours and more: the clock label keeps its text, the others go on.
    player.at = 36000.25;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"36000.25 sn", "900006", "00:00:12,00"}));

    // A DAT film has no frame rate.
    frameRates().film = 0;
    player.at = 3.25;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"3.25 sn", "0", "00:00:03,25"}));
}

TEST_F(FilmPreviewTest, ListFollowsTheFilmAndTheFieldsFollowTheList)
{
    setRows({{{}, "1", "2", "a"}, {{}, "x", "y", "not a time"}, {{}, "3", "4", "b"}, {{}, "5", "6", "c|d"}});
    player.at = 2;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 0); // option 0 is off

    follow = true;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 2); // the next row to start
    EXPECT_EQ(ws.fields.text(EditFields::Start), "3");
    player.at = 4.9;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 3);
    EXPECT_EQ(ws.fields.text(EditFields::Line2), "d");
    // Typing goes into the row on show.
    ws.fields.setText(EditFields::Line1, "C");
    EXPECT_EQ(ws.list.cell(3, ColText), "C|d");

    // Past the last start the selection stays.
    player.at = 9;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 3);

    // A skip keeps the selection; so does having no film.
    player.at = 0;
    preview.SkipPositionChange = true;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 3);
    preview.SkipPositionChange = false;
    player.at = -1;
    preview.TmrFilmiizle_Timer();
    EXPECT_EQ(ws.list.selected(), 3);
}

TEST_F(FilmPreviewTest, DoubleClickSendsTheFilmToTheRowsStart)
{
    setRows({{{}, "1", "2", "a"}, {{}, "3.5", "4", "b"}, {{}, "5", "6", "c"}, {{}, "?", "7", "d"}});
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, -1); // no film open: the player refuses

    player.open(QStringLiteral("film.avi"));
    ws.list.select(1);
    std::vector<std::pair<double, double>> changes;
    QObject::connect(&player, &FilmPlayer::positionChanged, [&](double o, double n) { changes.emplace_back(o, n); });
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 3.5);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(ws.list.selected(), 1);

    // The move selects the first row that starts at or after the position.
    player.setPosition(4.5);
    EXPECT_EQ(ws.list.selected(), 2);

    ws.list.select(3);
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 4.5); // "?" is no time
}

TEST_F(FilmPreviewTest, OpeningAFilm)
{
    ui.openAnswers.push_back(FileDialogResult::cancelled());
    preview.mnufilmac_Click();
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].filter, "Avi Film *.avi,*.dat|*.avi;*.dat");
    EXPECT_TRUE(player.opened.isEmpty());
    EXPECT_TRUE(ui.notices.empty());

    ui.openAnswers.push_back(FileDialogResult::failed(5, QStringLiteral("Bad call")));
    preview.mnufilmac_Click();
    EXPECT_EQ(ui.lastNotice(), "Error 5 selecting file.\r\nBad call");
    EXPECT_TRUE(player.opened.isEmpty());

    AviSpec spec;
    folder.write("film.avi", buildAvi(spec));
    ui.openAnswers.push_back(FileDialogResult::chosen(folder.filePath("film.avi")));
    ASSERT_FALSE(preview.TimerAltYazi.isActive());
    preview.mnufilmac_Click();
    EXPECT_EQ(player.opened, QStringList({folder.filePath("film.avi")}));
    EXPECT_EQ(preview.caption(), folder.filePath("film.avi"));
    EXPECT_EQ(preview.information().frameRate, "25 FPS");
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(ui.notices.size(), 1u);

    // A DAT film opens without information.
    folder.write("film.dat", "\x00\x00\x01\xBA");
    ui.openAnswers.push_back(FileDialogResult::chosen(folder.filePath("film.dat")));
    preview.mnufilmac_Click();
    EXPECT_EQ(player.opened.size(), 2);
    EXPECT_EQ(preview.information().frameRate, "-");
    EXPECT_EQ(frameRates().film, 0);
}
