// The overlay, the position labels, the list following the film and going
// to a row, with a scripted player.
#include "support/FilmTest.h"

using namespace korv;
using namespace korv::test;

TEST_F(FilmPreviewTest, OverlayShowsTheDueSubtitleOneLinePerLine)
{
    setRows({{"10", "12.5", "Bir|İki"}, {"20", "21", "a||b"}, {"30", "31", "x|y|"}, {"", "45", "no start"},
             {"40", "", "no end"}, {"abc", "45", "word"}});
    const std::pair<double, const char *> ticks[] = {
        {10.0, "Bir\r\nİki"}, {12.5, "Bir\r\nİki"}, {9.996, "Bir\r\nİki"}, // rounds to 10.00 first
        {12.51, ""}, {9.994, ""}, {20.5, "a\r\n\r\nb"}, {30.5, "x\r\ny\r\n"},
        {42, ""}, // a row needs both times
        {-1, ""}, // no film
    };
    for (auto [at, text] : ticks)
        EXPECT_EQ(tickAt(at), text) << at;

    // The tick stops its timer while it works.
    bool activeDuringTick = true;
    player.onRead = [&] { activeDuringTick = preview.TimerAltYazi.isActive(); };
    preview.TimerAltYazi.start();
    tickAt(11);
    EXPECT_FALSE(activeDuringTick);
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
}

TEST_F(FilmPreviewTest, AfterMovingBackTheOverlayIsEmptyForOneTickEvenBeyond32767Rows)
{
    setRegularRows(40000);
    EXPECT_EQ(tickAt(390001), "row 39000");
    EXPECT_EQ(tickAt(390011), "row 39001");
    EXPECT_EQ(tickAt(52), "");
    EXPECT_EQ(tickAt(52), "row 5");
    EXPECT_EQ(preview.LastOverlayRow, 5);
    EXPECT_EQ(tickAt(22), "");
    EXPECT_EQ(tickAt(22.5), "row 2");

    // The row shown last is past the end of a new, shorter list: one empty
    // tick too. Of overlapping rows the first at or after that row shows.
    EXPECT_EQ(tickAt(52), "row 5");
    setRows({{"1", "9", "long"}, {"2", "3", "short"}});
    EXPECT_EQ(tickAt(2.5), "");
    EXPECT_EQ(tickAt(2.5), "long");
    preview.LastOverlayRow = 2;
    EXPECT_EQ(tickAt(2.5), "short");
}

TEST_F(FilmPreviewTest, PositionLabels)
{
    EXPECT_EQ(clockAt(-1), "- | - | -");
    ws.frameRates.film = 25;
    EXPECT_EQ(clockAt(0.5), "0.5 sn | 12 | 00:00:00,50");
    EXPECT_EQ(clockAt(1.5), "1.5 sn | 38 | 00:00:01,50"); // halves to even
    // Ten hours and more: the clock label keeps its text, the others go on.
    EXPECT_EQ(clockAt(36000.25), "36000.25 sn | 900006 | 00:00:01,50");
    ws.frameRates.film = 0; // a DAT film
    EXPECT_EQ(clockAt(12), "12. sn | 0 | 00:00:12,00");
}

TEST_F(FilmPreviewTest, ListFollowsTheFilmAndTheFieldsFollowTheList)
{
    setRows({{"1", "2", "a"}, {"x", "y", "?"}, {"3", "4", "b"}, {"5", "6", "c|d"}});
    EXPECT_EQ(followAt(2), 0); // option 0 is off
    follow = true;
    EXPECT_EQ(followAt(2), 2); // the next row to start
    EXPECT_EQ(field(EditFields::Start), "3");
    EXPECT_EQ(followAt(4.9), 3);
    EXPECT_EQ(field(EditFields::Line2), "d");
    ws.fields.setText(EditFields::Line1, "C"); // typing goes into the row on show
    EXPECT_EQ(cell(3, ColText), "C|d");
    EXPECT_EQ(followAt(9), 3); // past the last start the selection stays
    preview.SkipPositionChange = true;
    EXPECT_EQ(followAt(0), 3);
    preview.SkipPositionChange = false;
    EXPECT_EQ(followAt(-1), 3); // no film, nothing to follow
    setRegularRows(40000);
    EXPECT_EQ(followAt(399989), 39998);
}

TEST_F(FilmPreviewTest, DoubleClickSendsTheFilmToTheRowsStart)
{
    setRows({{"1", "2", "a"}, {"3.5", "4", "b"}, {"5", "6", "c"}, {"?", "7", "d"}});
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, -1); // no film: the player refuses

    player.open(QStringLiteral("film.avi"));
    int changes = 0;
    QObject::connect(&player, &FilmPlayer::positionChanged, [&] { ++changes; });
    ws.list.select(1);
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 3.5);
    EXPECT_EQ(changes, 1);
    player.setPosition(4.5); // a move selects the first row starting at or after it
    EXPECT_EQ(ws.list.selected(), 2);
    ws.list.select(3);
    preview.Listview_DblClick();
    EXPECT_EQ(player.at, 4.5); // "?" is no time
}
