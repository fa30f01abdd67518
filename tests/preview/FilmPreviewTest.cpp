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

    FilmPreviewTest() { ws.optionFlag = [this](int flag) { return flag == 0 && follow; }; }

    void setRows(std::vector<SubtitleEntry> rows) { ws.list.replaceAll(std::move(rows)); }
    // Rows 1..n from 10 i to 10 i + 5 seconds, text "row i".
    void setRegularRows(int n)
    {
        std::vector<SubtitleEntry> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({{}, QString::number(10 * i), QString::number(10 * i + 5), QStringLiteral("row %1").arg(i)});
        setRows(std::move(rows));
    }
    QString tickAt(double position)
    {
        player.at = position;
        preview.TimerAltYazi_Timer();
        return preview.overlayText();
    }
    int followAt(double position)
    {
        player.at = position;
        preview.TmrFilmiizle_Timer();
        return ws.list.selected();
    }
};

} // namespace

TEST_F(FilmPreviewTest, OverlayShowsTheDueSubtitleOneLinePerLine)
{
    setRows({{{}, "10", "12.5", "Bir|İki"}, {{}, "20", "21", "a||b"}, {{}, "30", "31", "x|y|"},
             {{}, "", "45", "no start"}, {{}, "40", "", "no end"}, {{}, "abc", "45", "word"}});
    EXPECT_EQ(tickAt(10.0), "Bir\r\nİki");
    EXPECT_EQ(tickAt(12.5), "Bir\r\nİki");
    EXPECT_EQ(tickAt(9.996), "Bir\r\nİki"); // rounds to 10.00 first
    EXPECT_EQ(tickAt(12.51), "");
    EXPECT_EQ(tickAt(9.994), "");
    EXPECT_EQ(tickAt(20.5), "a\r\n\r\nb");
    EXPECT_EQ(tickAt(30.5), "x\r\ny\r\n");
    EXPECT_EQ(tickAt(42), ""); // a row needs both times
    EXPECT_EQ(tickAt(-1), "");  // no film
}

TEST_F(FilmPreviewTest, AfterMovingBackTheOverlayIsEmptyForOneTick)
{
    setRegularRows(6);
    EXPECT_EQ(tickAt(52), "row 5");
    EXPECT_EQ(preview.LastOverlayRow, 5);
    EXPECT_EQ(tickAt(22), "");
    EXPECT_EQ(tickAt(22.5), "row 2");

    // The row shown last is past the end of a new, shorter list: one empty
    // tick too. Of overlapping rows the first at or after that row shows.
    EXPECT_EQ(tickAt(52), "row 5");
    setRows({{{}, "1", "9", "long"}, {{}, "2", "3", "short"}});
    EXPECT_EQ(tickAt(2.5), "");
    EXPECT_EQ(tickAt(2.5), "long");
    preview.LastOverlayRow = 2;
    EXPECT_EQ(tickAt(2.5), "short");
}

TEST_F(FilmPreviewTest, OverlayTickStopsItsTimerWhileItWorks)
{
    bool activeDuringTick = true;
    player.onRead = [&] { activeDuringTick = preview.TimerAltYazi.isActive(); };
    preview.TimerAltYazi.start();
    tickAt(11);
    EXPECT_FALSE(activeDuringTick);
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
}

TEST_F(FilmPreviewTest, LongListsWorkBeyond32767Rows)
{
    setRegularRows(40000);
    EXPECT_EQ(tickAt(390001), "row 39000");
    EXPECT_EQ(tickAt(390011), "row 39001");
    follow = true;
    EXPECT_EQ(followAt(399989), 39998);
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
    EXPECT_EQ(preview.clock(), FilmClockLabels({"1.5 sn", "38", "00:00:01,50"})); // halves to even

    // Ten hours and more: the clock label keeps its text, the others go on.
    player.at = 36000.25;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"36000.25 sn", "900006", "00:00:01,50"}));

    frameRates().film = 0; // a DAT film
    player.at = 12;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock(), FilmClockLabels({"12. sn", "0", "00:00:12,00"}));
}

TEST_F(FilmPreviewTest, ListFollowsTheFilmAndTheFieldsFollowTheList)
{
    setRows({{{}, "1", "2", "a"}, {{}, "x", "y", "?"}, {{}, "3", "4", "b"}, {{}, "5", "6", "c|d"}});
    EXPECT_EQ(followAt(2), 0); // option 0 is off
    follow = true;
    EXPECT_EQ(followAt(2), 2); // the next row to start
    EXPECT_EQ(ws.fields.text(EditFields::Start), "3");
    EXPECT_EQ(followAt(4.9), 3);
    EXPECT_EQ(ws.fields.text(EditFields::Line2), "d");
    ws.fields.setText(EditFields::Line1, "C"); // typing goes into the row on show
    EXPECT_EQ(ws.list.cell(3, ColText), "C|d");
    EXPECT_EQ(followAt(9), 3); // past the last start the selection stays

    preview.SkipPositionChange = true;
    EXPECT_EQ(followAt(0), 3);
    preview.SkipPositionChange = false;
    EXPECT_EQ(followAt(-1), 3); // no film, nothing to follow
}

TEST_F(FilmPreviewTest, DoubleClickSendsTheFilmToTheRowsStart)
{
    setRows({{{}, "1", "2", "a"}, {{}, "3.5", "4", "b"}, {{}, "5", "6", "c"}, {{}, "?", "7", "d"}});
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, -1); // no film: the player refuses

    player.open(QStringLiteral("film.avi"));
    int changes = 0;
    QObject::connect(&player, &FilmPlayer::positionChanged, [&] { ++changes; });
    ws.list.select(1);
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 3.5);
    EXPECT_EQ(changes, 1);
    // The move selects the first row starting at or after the position.
    player.setPosition(4.5);
    EXPECT_EQ(ws.list.selected(), 2);
    ws.list.select(3);
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 4.5); // "?" is no time
}

TEST_F(FilmPreviewTest, OpeningAFilm)
{
    ui.openAnswers = {FileDialogResult::cancelled(), FileDialogResult::failed(5, QStringLiteral("Bad call"))};
    preview.mnufilmac_Click();
    EXPECT_EQ(ui.openRequests.at(0).filter, "Avi Film *.avi,*.dat|*.avi;*.dat");
    EXPECT_TRUE(ui.notices.empty());
    preview.mnufilmac_Click();
    EXPECT_EQ(ui.lastNotice(), "Error 5 selecting file.\r\nBad call");
    EXPECT_TRUE(player.opened.isEmpty());

    folder.write("film.avi", buildAvi(AviContents{}));
    folder.write("film.dat", QByteArray("\x00\x00\x01\xBA", 4));
    ui.openAnswers = {FileDialogResult::chosen(folder.filePath("film.avi")),
                      FileDialogResult::chosen(folder.filePath("film.dat"))};
    preview.mnufilmac_Click();
    EXPECT_EQ(player.opened, QStringList({folder.filePath("film.avi")}));
    EXPECT_EQ(preview.caption(), folder.filePath("film.avi"));
    EXPECT_EQ(preview.information().frameRate, "25 FPS");
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
    EXPECT_EQ(ui.busyDepth, 0);

    preview.mnufilmac_Click(); // a DAT film opens without information
    EXPECT_EQ(player.opened.size(), 2);
    EXPECT_EQ(preview.information().frameRate, "-");
    EXPECT_EQ(frameRates().film, 0);
    EXPECT_EQ(ui.notices.size(), 1u);
}
