// The film information panel: ReadAviInfo over files the tests build.
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

class FilmInfoTest : public ::testing::Test {
protected:
    TestFolder folder{QLatin1Char(',')};
    ScriptedDialogs ui;
    Workspace ws{ui};
    ScriptedPlayer player;
    FilmPreview preview{ws, player};
    QStringList events;

    FilmInfoTest()
    {
        preview.showWaitWindow = [this] {
            events << QStringLiteral("wait shown, %1 rows").arg(preview.information().rows.size());
        };
        preview.closeWaitWindow = [this] { events << QStringLiteral("wait closed"); };
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
    QString value(const QString &name) const
    {
        const auto &rows = preview.information().rows;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const AviInfoRow &r) { return r.name == name; });
        return row == rows.end() ? QStringLiteral("(no row)") : row->value;
    }
    QStringList labels() const
    {
        const FilmInformation &i = preview.information();
        return {i.totalFrames, i.totalTime, i.frameRate, i.resolution};
    }
};

} // namespace

TEST_F(FilmInfoTest, OneMinuteAt25FramesFillsEveryRowInOrder)
{
    preview.ReadAviInfo(write("film.avi", film(25, 1, 1500)));
    EXPECT_EQ(frameRates().film, 25);
    EXPECT_EQ(labels(), QStringList({"1500", "00:01:00,00", "25 FPS", "640x480"}));

    QStringList names;
    QStringList values;
    QStringList bold;
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
    EXPECT_EQ(values.mid(0, 7), QStringList({"", "640x480", "25", "1500 FRAME", "00:01:00,00", "1, dk", "60, sn"}));
    EXPECT_EQ(bold, QStringList({"AVI FILE DETAILS", "AVI STREAM DETAILS"}));
    EXPECT_EQ(values[15], "40000");      // the file's dwScale
    EXPECT_EQ(values[21], "1935960438"); // fccType "vids"
    EXPECT_EQ(values[33], "-1");         // dwQuality with every bit set
    EXPECT_EQ(events, QStringList({"wait shown, 0 rows", "wait closed"}));
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.notices.empty());

    // A second read of the same film gives the same list, not twice as many.
    const std::vector<AviInfoRow> first = preview.information().rows;
    preview.ReadAviInfo(folder.filePath("film.avi"));
    EXPECT_EQ(preview.information().rows, first);
}

TEST_F(FilmInfoTest, RatesAndTimesAsFarAsTheyCompute)
{
    preview.ReadAviInfo(write("ntsc.avi", film(30000, 1001, 1798)));
    EXPECT_EQ(labels(), QStringList({"1798", "00:00:59,99", "29,97002997003 FPS", "640x480"}));
    preview.ReadAviInfo(write("film.AVI", film(24000, 1001, 100)));
    EXPECT_DOUBLE_EQ(frameRates().film, 24000.0 / 1001.0);
    EXPECT_EQ(value("FRAME RATE :"), "23,976023976024");
    EXPECT_EQ(value("TIME (SECOND) :"), "4,171 sn");

    // A scale or a rate of 0 gives no frame rate: no frames are counted, the
    // times are unknown.
    for (const AviContents &contents : {film(25, 0, 500), film(0, 1, 500)}) {
        frameRates().film = 25;
        preview.ReadAviInfo(write("zero.avi", contents));
        EXPECT_EQ(frameRates().film, 0);
        EXPECT_EQ(labels(), QStringList({"500", "-", "-", "640x480"}));
        EXPECT_EQ(value("FRAME RATE :"), "-");
        EXPECT_EQ(value("TIME (MINUTE) :"), "-");
    }

    // Ten hours have no clock text; minutes and seconds still show.
    preview.ReadAviInfo(write("long.avi", film(25, 1, 900000)));
    EXPECT_EQ(labels(), QStringList({"900000", "-", "25 FPS", "640x480"}));
    EXPECT_EQ(value("TIME (MINUTE) :"), "600, dk");
    EXPECT_EQ(value("TIME (SECOND) :"), "36000, sn");
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(FilmInfoTest, OnlyNamesEndingInAviAreRead)
{
    preview.ReadAviInfo(write("FILM.Avi", film(25, 1, 1500)));
    EXPECT_EQ(frameRates().film, 25);

    // A DAT film has no information: the panel is cleared.
    preview.ReadAviInfo(write("film.avi.dat", film(25, 1, 1500)));
    EXPECT_EQ(frameRates().film, 0);
    EXPECT_EQ(labels(), QStringList({"-", "-", "-", "-"}));
    EXPECT_TRUE(preview.information().rows.empty());
    EXPECT_EQ(events.size(), 2); // the wait window only for the AVI film
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(FilmInfoTest, AFailedReadKeepsThePreviousFilmsValues)
{
    preview.ReadAviInfo(write("good.avi", film(25, 1, 1500)));
    folder.write("broken.avi", "not a film");
    preview.ReadAviInfo(folder.filePath("broken.avi"));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), "M002\r\n" + folder.filePath("broken.avi"));
    EXPECT_EQ(ui.lastTitle(), "Korvendal Production");
    EXPECT_TRUE(preview.information().rows.empty());
    EXPECT_EQ(labels(), QStringList({"1500", "00:01:00,00", "25 FPS", "640x480"}));
    EXPECT_EQ(frameRates().film, 25);
    EXPECT_EQ(events.mid(2), QStringList({"wait shown, 0 rows", "wait closed"}));
    EXPECT_EQ(ui.busyDepth, 0);

    // The frame label goes on with the previous rate.
    player.at = 0.5;
    preview.UpdateFilmClock();
    EXPECT_EQ(preview.clock().frame, "12");

    preview.ReadAviInfo(folder.filePath("missing.avi"));
    EXPECT_EQ(ui.notices.size(), 2u);

    // A stream start of -1 ends the read silently.
    AviContents s = film(30, 1, 10);
    s.start = 0xFFFFFFFF;
    preview.ReadAviInfo(write("start.avi", s));
    EXPECT_EQ(ui.notices.size(), 2u);
    EXPECT_TRUE(preview.information().rows.empty());
    EXPECT_EQ(frameRates().film, 25);
}
