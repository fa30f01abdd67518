// Opening a film and its information panel, with a scripted player: what
// the user is told, once, and what the panel shows.
#include "support/FilmTest.h"

#include <sys/stat.h>

using namespace korv;
using namespace korv::test;

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
    EXPECT_TRUE(ui.openRequests.at(0).filter.contains("|Avi Film *.avi,*.dat|*.avi;*.dat|"));
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
    // A DAT film the media library cannot describe either opens without
    // information, silently: the panel is cleared.
    films.mnufilmac_Click();
    EXPECT_EQ(player.opened.size(), 2);
    EXPECT_EQ(panel(), QStringList({"-", "-", "-", "-", "0", "0"}));
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(events.size(), 4); // the wait window over both reads

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
