// Opening a film, its information panel, the overlay, the position labels,
// the list following the film and going to a row, with a scripted player.
#include "commands/FilmCommands.h"
#include "preview/FilmPreview.h"
#include "support/AviFileWriter.h"
#include "support/ScriptedPlayer.h"
#include "support/WorkspaceTest.h"

#include <sys/stat.h>

using namespace korv;
using namespace korv::test;

namespace {

class FilmPreviewTest : public WorkspaceTest {
protected:
    ScriptedPlayer player;
    FilmPreview preview{ws.list, player, ws.frameRates, ws.numbers};
    FilmCommands films{ws, preview};
    bool follow = false;
    QStringList events;

    FilmPreviewTest()
    {
        preview.listFollowsFilm = [this] { return follow; };
        films.showWaitWindow = [this] {
            events << QStringLiteral("wait shown, %1 rows").arg(preview.information().rows.size());
        };
        films.closeWaitWindow = [this] { events << QStringLiteral("wait closed"); };
    }
    QString write(const QString &name, const AviContents &contents)
    {
        folder.write(name, buildAvi(contents));
        return folder.filePath(name);
    }
    static AviContents film(quint32 rate, quint32 scale, quint32 frames)
    {
        return {.totalFrames = frames, .width = 640, .height = 480, .scale = scale, .rate = rate, .length = frames};
    }
    // The information rows' values of these names.
    QStringList values(const QStringList &names) const
    {
        QStringList found;
        for (const QString &name : names) {
            const auto &rows = preview.information().rows;
            const auto row = std::ranges::find(rows, name, &AviInfoRow::name);
            found << (row == rows.end() ? QStringLiteral("(no row)") : row->value);
        }
        return found;
    }
    // The four labels, the film's frame rate and the number of detail rows.
    QStringList panel() const
    {
        const FilmInformation &i = preview.information();
        return {i.totalFrames, i.totalTime, i.frameRate, i.resolution, QString::number(ws.frameRates.film, 'g', 15),
                QString::number(i.rows.size())};
    }
    // Rows 1..n from 10 i to 10 i + 5 seconds, text "row i".
    void setRegularRows(int n)
    {
        std::vector<SubtitleEntry> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({{}, QString::number(10 * i), QString::number(10 * i + 5), QStringLiteral("row %1").arg(i)});
        ws.list.replaceAll(std::move(rows));
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
    QString clockAt(double position)
    {
        player.at = position;
        preview.UpdateFilmClock();
        return preview.clock().time + " | " + preview.clock().frame + " | " + preview.clock().clockTime;
    }
};

} // namespace

TEST_F(FilmPreviewTest, OneMinuteAt25FramesFillsEveryInformationRowInOrder)
{
    ws.numbers = NumberFormat::comma();
    films.ReadAviInfo(write("film.avi", film(25, 1, 1500)));
    EXPECT_EQ(panel(), QStringList({"1500", "00:01:00,00", "25 FPS", "640x480", "25", "42"}));
    QStringList names, values, bold;
    for (const AviInfoRow &row : preview.information().rows) {
        names << row.name;
        values << row.value;
        if (row.bold)
            bold << row.value;
    }
    EXPECT_EQ(names, QStringList({"VIDEO STREAM :", "RESOLUTION :", "FRAME RATE :", "TOTAL FRAME KARE :", "TIME :",
                                  "TIME (MINUTE) :", "TIME (SECOND) :", "", "dwMaxBytesPerSecond", "dwFlags", "dwCaps",
                                  "dwStreams", "dwSuggestedBufferSize", "dwWidth", "dwHeight", "dwScale", "dwRate",
                                  "dwLength", "dwEditCount", "szFileType", "", "fccType", "fccHandler", "dwFlags",
                                  "dwCaps", "wPriority", "wLanguage", "dwScale", "dwRate", "dwStart", "dwLength",
                                  "dwInitialFrames", "dwSuggestedBufferSize", "dwQuality", "dwSampleSize",
                                  "rcFrame.left", "rcFrame.top", "rcFrame.right", "rcFrame.bottom", "dwEditCount",
                                  "dwFormatChangeCount", "szName"}));
    // The file's dwScale, fccType "vids" and dwQuality with every bit set come after the summary.
    EXPECT_EQ(values.mid(0, 7) + QStringList({values[15], values[21], values[33]}),
              QStringList({"", "640x480", "25", "1500 FRAME", "00:01:00,00", "1, dk", "60, sn", "40000", "1935960438", "-1"}));
    EXPECT_EQ(bold, QStringList({"AVI FILE DETAILS", "AVI STREAM DETAILS"}));
    EXPECT_EQ(events, QStringList({"wait shown, 0 rows", "wait closed"}));
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.notices.empty());

    // A second read of the same film gives the same list, not twice as many.
    const std::vector<AviInfoRow> first = preview.information().rows;
    films.ReadAviInfo(folder.filePath("film.avi"));
    EXPECT_EQ(preview.information().rows, first);
}

TEST_F(FilmPreviewTest, RatesAndTimesAsFarAsTheyCompute)
{
    ws.numbers = NumberFormat::comma();
    films.ReadAviInfo(write("ntsc.avi", film(30000, 1001, 1798)));
    EXPECT_EQ(panel(), QStringList({"1798", "00:00:59,99", "29,97002997003 FPS", "640x480", "29.97002997003", "42"}));
    films.ReadAviInfo(write("film.AVI", film(24000, 1001, 100)));
    EXPECT_EQ(panel()[4], "23.976023976024");
    EXPECT_EQ(values({"FRAME RATE :", "TIME (SECOND) :"}), QStringList({"23,976023976024", "4,171 sn"}));
    // A scale or a rate of 0 gives no frame rate: no frames are counted, the
    // times are unknown.
    for (const AviContents &contents : {film(25, 0, 500), film(0, 1, 500)}) {
        ws.frameRates.film = 25;
        films.ReadAviInfo(write("zero.avi", contents));
        EXPECT_EQ(panel(), QStringList({"500", "-", "-", "640x480", "0", "42"}));
        EXPECT_EQ(values({"FRAME RATE :", "TIME (MINUTE) :"}), QStringList({"-", "-"}));
    }
    // Ten hours have no clock text; minutes and seconds still show.
    films.ReadAviInfo(write("long.avi", film(25, 1, 900000)));
    EXPECT_EQ(panel(), QStringList({"900000", "-", "25 FPS", "640x480", "25", "42"}));
    EXPECT_EQ(values({"TIME (MINUTE) :", "TIME (SECOND) :"}), QStringList({"600, dk", "36000, sn"}));
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(FilmPreviewTest, AFailedReadKeepsThePreviousFilmsValues)
{
    films.ReadAviInfo(write("good.avi", film(25, 1, 1500)));
    folder.write("broken.avi", "not a film");
    films.ReadAviInfo(folder.filePath("broken.avi"));
    EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: M002\r\n" + folder.filePath("broken.avi")});
    EXPECT_EQ(panel(), QStringList({"1500", "00:01:00,00", "25 FPS", "640x480", "25", "0"}));
    EXPECT_EQ(events.mid(2), QStringList({"wait shown, 0 rows", "wait closed"}));
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(clockAt(0.5), "0.5 sn | 12 | 00:00:00,50"); // the frame label goes on with the previous rate
    films.ReadAviInfo(folder.filePath("missing.avi"));
    EXPECT_EQ(ui.notices.size(), 2u);

    // A stream start of -1 ends the read silently.
    AviContents s = film(30, 1, 10);
    s.start = 0xFFFFFFFF;
    films.ReadAviInfo(write("start.avi", s));
    EXPECT_EQ(ui.notices.size(), 2u);
    EXPECT_EQ(panel(), QStringList({"1500", "00:01:00,00", "25 FPS", "640x480", "25", "0"}));
}

TEST_F(FilmPreviewTest, OpensAviAndDatFilmsAndReadsOnlyNamesEndingInAvi)
{
    ui.openAnswers = {FileDialogResult::cancelled(), FileDialogResult::failed(5, QStringLiteral("Bad call"))};
    films.mnufilmac_Click();
    EXPECT_EQ(ui.openRequests.at(0).filter, "Avi Film *.avi,*.dat|*.avi;*.dat");
    EXPECT_TRUE(ui.notices.empty());
    films.mnufilmac_Click();
    EXPECT_EQ(ui.lastNotice(), "Error 5 selecting file.\r\nBad call");
    EXPECT_TRUE(player.opened.isEmpty());

    write("FILM.Avi", AviContents{});
    folder.write("film.avi.dat", QByteArray("\x00\x00\x01\xBA", 4));
    ui.openAnswers = {FileDialogResult::chosen(folder.filePath("FILM.Avi")),
                      FileDialogResult::chosen(folder.filePath("film.avi.dat"))};
    films.mnufilmac_Click();
    EXPECT_EQ(player.opened, QStringList({folder.filePath("FILM.Avi")}));
    EXPECT_EQ(preview.caption(), folder.filePath("FILM.Avi"));
    EXPECT_EQ(preview.information().frameRate, "25 FPS");
    EXPECT_TRUE(preview.TimerAltYazi.isActive());
    EXPECT_EQ(ui.busyDepth, 0);
    films.mnufilmac_Click(); // a DAT film opens without information: the panel is cleared
    EXPECT_EQ(player.opened.size(), 2);
    EXPECT_EQ(panel(), QStringList({"-", "-", "-", "-", "0", "0"}));
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(events.size(), 2); // the wait window only for the AVI film

    // What is not a regular file is told of as an unreadable film and never
    // reaches the player: a named pipe would hang it, and the window with it.
    ASSERT_EQ(::mkfifo(folder.filePath("pipe.avi").toLocal8Bit().constData(), 0600), 0);
    QDir().mkpath(folder.filePath("folder.dat"));
    for (const char *name : {"pipe.avi", "folder.dat"}) {
        ui.notices.clear();
        ui.openAnswers = {FileDialogResult::chosen(folder.filePath(name))};
        films.mnufilmac_Click();
        EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: M002\r\n" + folder.filePath(name)});
    }
    EXPECT_EQ(player.opened.size(), 2);
    EXPECT_EQ(preview.caption(), folder.filePath("film.avi.dat"));
}

TEST_F(FilmPreviewTest, AFilmThatCannotBePlayedIsToldOnce)
{
    folder.write("broken.dat", "not a film");
    folder.write("broken.avi", "not a film");
    player.refusal = QStringLiteral("Internal data stream error.");
    ui.openAnswers = {FileDialogResult::chosen(folder.filePath("broken.dat")),
                      FileDialogResult::chosen(folder.filePath("broken.avi"))};
    films.mnufilmac_Click();
    emit player.cannotPlay(QStringLiteral("Could not determine type of stream.")); // the player's second word
    EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: " + shownText("024", folder.filePath("broken.dat"))});
    // The header read has said it for an AVI film; the player's word would repeat it.
    ui.notices.clear();
    films.mnufilmac_Click();
    EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: M002\r\n" + folder.filePath("broken.avi")});
    emit player.cannotPlay(QStringLiteral("late")); // the same film, later
    EXPECT_EQ(ui.notices.size(), 1u);

    // A film that opened well and fails while playing is told when it fails.
    player.refusal.clear();
    ui.openAnswers = {FileDialogResult::chosen(write("good.avi", film(25, 1, 1500)))};
    films.mnufilmac_Click();
    emit player.cannotPlay(QStringLiteral("Decoding failed."));
    EXPECT_EQ(ui.lastNotice(), shownText("024", folder.filePath("good.avi")));
}

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
