// Opening films of every container with a scripted player: the dialog's
// filter, the information panel and the frame rate that flows on into the
// frame label and the MicroDVD window, the audio track heard and remembered,
// a dropped file, and what the user is told of files that are no film.
#include "commands/FileCommands.h"
#include "support/FilmTest.h"
#include "support/TestFilms.h"

#include <QSignalSpy>

#include <sys/stat.h>

using namespace korv;
using namespace korv::test;

namespace {

class FilmOpening : public FilmPreviewTest {
protected:
    QString film(TestFilm which)
    {
        const QString path = testFilm(which);
        if (path.isEmpty())
            ADD_FAILURE() << "ffmpeg could not make a test film";
        return path;
    }
    // The rate the MicroDVD window proposes now.
    QString microDvdProposal()
    {
        folder.write("frames.sub", "{25}{50}Bir\r\n");
        ui.openAnswers = {FileDialogResult::chosen(folder.filePath("frames.sub"))};
        ui.frameRates = {25.0};
        mnualtyaziac_Click(ws);
        return ui.frameRateProposals.value(ui.frameRateProposals.size() - 1);
    }
};

} // namespace

TEST_F(FilmOpening, TheDialogOffersEveryFilmThenAviAndDatThenAllFiles)
{
    ui.openAnswers = {FileDialogResult::cancelled()};
    films.mnufilmac_Click();
    const QStringList parts = ui.openRequests.at(0).filter.split('|');
    ASSERT_EQ(parts.size(), 6) << ui.openRequests.at(0).filter.toStdString();
    const QStringList every = parts[1].split(';');
    for (const char *pattern : {"*.avi", "*.dat", "*.mkv", "*.MKV", "*.mp4", "*.MP4", "*.m4v", "*.webm", "*.mov",
                                "*.ts", "*.m2ts", "*.mpg", "*.mpeg", "*.wmv", "*.ogv"})
        EXPECT_TRUE(every.contains(pattern)) << pattern;
    EXPECT_EQ(parts.mid(2), QStringList({"Avi Film *.avi,*.dat", "*.avi;*.dat", "*.*", "*.*"}));
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(FilmOpening, EveryContainerFillsThePanelAndItsRateFlowsOn)
{
    struct Case {
        TestFilm film;
        QStringList panel; // frames, time, rate label, resolution, the film's rate, rows
        const char *rateRow;
    };
    const Case cases[] = {
        {TestFilm::Mkv23976, {"72", "00:00:03,00", "23.976 FPS", "160x90", "23.976023976024", "7"},
         "23.976 (24000/1001)"},
        {TestFilm::Mp425, {"75", "00:00:03,00", "25 FPS", "160x90", "25", "7"}, "25"},
        {TestFilm::WebM2997, {"90", "00:00:03,00", "29.97 FPS", "160x90", "29.97002997003", "7"},
         "29.97 (30000/1001)"},
        {TestFilm::Mov60, {"120", "00:00:02,00", "60 FPS", "160x90", "60", "7"}, "60"},
        {TestFilm::Ts25, {"75", "00:00:03,00", "25 FPS", "160x90", "25", "7"}, "25"},
        {TestFilm::SilentMp4, {"50", "00:00:02,00", "25 FPS", "160x90", "25", "6"}, "25"},
    };
    for (const Case &c : cases) {
        const QString path = film(c.film);
        ui.openAnswers = {FileDialogResult::chosen(path)};
        films.mnufilmac_Click();
        EXPECT_EQ(player.opened.last(), path);
        EXPECT_EQ(preview.caption(), path);
        EXPECT_EQ(ws.film.path(), path);
        // The length is the longest stream's: the sound may run a few
        // hundredths past the picture.
        QStringList shown = panel();
        EXPECT_TRUE(shown[1].startsWith(c.panel[1].left(9))) << shown[1].toStdString();
        shown[1] = c.panel[1];
        EXPECT_EQ(shown, c.panel) << path.toStdString();
        EXPECT_EQ(values({"M107"}), QStringList({c.rateRow})) << path.toStdString();
        EXPECT_EQ(microDvdProposal(), c.panel[4]) << path.toStdString();
    }
    EXPECT_TRUE(ui.notices.empty()) << ui.lastNotice().toStdString();
    EXPECT_EQ(ui.busyDepth, 0);
    // The wait window stood over each read, the panel already empty.
    EXPECT_EQ(events.mid(0, 2), QStringList({"wait shown, 0 rows", "wait closed"}));

    // The frame label counts at the film's exact rate: 1 s of 23.976 is frame 24.
    ui.openAnswers = {FileDialogResult::chosen(film(TestFilm::Mkv23976))};
    films.mnufilmac_Click();
    EXPECT_EQ(clockAt(1.0), "1. sn | 24 | 00:00:01,00");
    EXPECT_EQ(clockAt(100.1), "100.1 sn | 2400 | 00:01:40,10");
    // The rows are in the language in use, named by their keys here.
    QStringList names;
    for (const AviInfoRow &row : preview.information().rows)
        names << row.name;
    EXPECT_EQ(names, QStringList({"M104", "M105", "M106", "M107", "M108", "M109", "M110"}));
}

TEST_F(FilmOpening, AVariableRateIsSaidAndItsAverageProposed)
{
    films.openFilm(film(TestFilm::VfrMkv));
    EXPECT_EQ(values({"M107"}), QStringList({"M111"})); // "variable, on average ..."
    EXPECT_EQ(preview.information().frameRate, "22.5 FPS");
    EXPECT_EQ(microDvdProposal(), "22.5");
    EXPECT_EQ(clockAt(2.0), "2. sn | 45 | 00:00:02,00");
}

TEST_F(FilmOpening, TheChosenAudioTrackIsHeardAndRememberedForThatFilm)
{
    const QString two = film(TestFilm::TwoTracksMkv);
    QSignalSpy opened(&ws.film, &OpenFilm::filmOpened);
    QSignalSpy changed(&ws.film, &OpenFilm::audioTrackChanged);
    films.openFilm(two);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(ws.film.audioTrackCount(), 2);
    EXPECT_EQ(ws.film.audioTrack(), 0);
    EXPECT_EQ(player.audioTrack, 0);
    EXPECT_EQ(ws.film.description()->audio[1].language, "eng");

    films.chooseAudioTrack(1);
    EXPECT_EQ(player.audioTrack, 1);
    EXPECT_EQ(ws.film.audioTrack(), 1);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.last().at(0).toInt(), 1);
    // No such track, or the one heard already: nothing changes.
    films.chooseAudioTrack(2);
    films.chooseAudioTrack(1);
    EXPECT_EQ(changed.count(), 2);

    // Another film starts at its own first track; this one comes back with
    // the track chosen for it.
    films.openFilm(film(TestFilm::Mkv23976));
    EXPECT_EQ(player.audioTrack, 0);
    EXPECT_EQ(ws.film.audioTrack(), 0);
    films.openFilm(two);
    EXPECT_EQ(player.audioTrack, 1);
    EXPECT_EQ(ws.film.audioTrack(), 1);
    EXPECT_EQ(rememberedAudioTrack(two), 1);
    EXPECT_EQ(rememberedAudioTrack(film(TestFilm::Mkv23976)), 0);

    // A film without sound has no track to hear.
    films.openFilm(film(TestFilm::SilentMp4));
    EXPECT_EQ(ws.film.audioTrack(), -1);
    EXPECT_EQ(changed.last().at(0).toInt(), -1);
}

TEST_F(FilmOpening, WhatIsNoFilmIsToldOnceAndTheDocumentStays)
{
    setRows({{"1", "2", "Bir"}, {"3", "4", "İki"}});
    folder.write("empty.mp4", {});
    folder.write("text.mkv", "1\r\n00:00:01,000 --> 00:00:02,000\r\nMerhaba\r\n\r\n");
    folder.write("cut.mkv", filmHead(TestFilm::Mkv23976, 0.4));
    ASSERT_EQ(::mkfifo(folder.filePath("pipe.mkv").toLocal8Bit().constData(), 0600), 0);
    const std::pair<QString, QStringList> cases[] = {
        {folder.filePath("empty.mp4"), {"M100"}},
        {folder.filePath("text.mkv"), {"M100", "M101"}},
        {folder.filePath("cut.mkv"), {"M103"}},
        {film(TestFilm::SoundOnlyMp4), {"M102"}},
        {folder.filePath("pipe.mkv"), {"M025"}},
    };
    for (const auto &[path, keys] : cases) {
        ui.notices.clear();
        films.openFilm(path);
        // The player's own complaint about the same film would repeat it.
        emit player.cannotPlay(QStringLiteral("Internal data stream error."));
        ASSERT_EQ(ui.notices.size(), 1u) << path.toStdString();
        EXPECT_TRUE(keys.contains(ui.lastNotice().left(4))) << ui.lastNotice().toStdString();
        EXPECT_TRUE(ui.lastNotice().endsWith("\r\n" + path)) << ui.lastNotice().toStdString();
        EXPECT_EQ(ui.notices.back().title, "Korvendal Production");
        EXPECT_EQ(ui.busyDepth, 0);
    }
    EXPECT_FALSE(player.opened.contains(folder.filePath("pipe.mkv")));
    EXPECT_EQ(texts(), QStringList({"Bir", "İki"}));
    EXPECT_FALSE(ws.list.isModified());
    // What was told of an unreadable film leaves no rate behind.
    films.openFilm(folder.filePath("empty.mp4"));
    EXPECT_EQ(panel(), QStringList({"-", "-", "-", "-", "0", "0"}));
}

TEST_F(FilmOpening, ADroppedFilmOpensAsTheFilmAndAnythingElseAsSubtitles)
{
    setRows({{"1", "2", "Bir"}});
    const QString mkv = film(TestFilm::Mkv23976);
    films.openDroppedFile(mkv);
    EXPECT_EQ(player.opened, QStringList({mkv}));
    EXPECT_EQ(texts(), QStringList({"Bir"}));

    folder.write("dropped.srt", "1\r\n00:00:01,000 --> 00:00:02,500\r\nMerhaba\r\n\r\n");
    ws.fields.setText(EditFields::Line1, QStringLiteral("değişti"));
    ui.yesNoCancel = {Answer::Cancel};
    films.openDroppedFile(folder.filePath("dropped.srt"));
    EXPECT_EQ(texts(), QStringList({"değişti"})); // the user kept the changed document
    ui.yesNoCancel = {Answer::No};
    films.openDroppedFile(folder.filePath("dropped.srt"));
    EXPECT_EQ(texts(), QStringList({"Merhaba"}));
    EXPECT_EQ(player.opened.size(), 1);
}
