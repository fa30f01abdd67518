// The open film's sound as the window sees it: analysed when a film opens or
// its track changes, the speech in it handed to the workspace, a bad sound
// told once and nothing else touched, and the work stopped by another film
// or by the owner going away, with no thread left behind.
#include "commands/FilmSound.h"
#include "locale/MessageKeys.h"
#include "media/FilmDescription.h"
#include "support/TestFilms.h"
#include "support/WorkspaceTest.h"

#include "../sound/SoundMedia.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace korv;
using namespace korv::test;

namespace {

int threadsRunning()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The searches for speech running now (their threads are named).
int speechSearches()
{
    int found = 0;
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "korv-speech")
            ++found;
    }
    return found;
}

// A thread joined a moment ago may still be listed while the system tidies
// it away; one left working is listed for much longer than this.
bool backTo(int threads)
{
    return QTest::qWaitFor([&] { return threadsRunning() <= threads; }, 100);
}

class FilmSoundTest : public WorkspaceTest {
protected:
    QTemporaryDir cacheDir;
    sound::SoundCache cache() const { return sound::SoundCache(cacheDir.filePath(QStringLiteral("sound"))); }

    // Opens the film as the film command does: described, the track chosen.
    void open(const QString &path, int track = 0)
    {
        ASSERT_FALSE(path.isEmpty()) << "ffmpeg could not make a test film";
        auto described = media::describeFilm(path);
        ws.film.open(path, described ? std::optional(*described) : std::nullopt, track);
    }
    static bool settled(const FilmSound &analysis)
    {
        return QTest::qWaitFor([&] { return analysis.state() != FilmSound::State::Analysing && !analysis.busy(); }, 60000);
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(cacheDir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
};

} // namespace

TEST_F(FilmSoundTest, AnOpenedFilmIsAnalysedWithThePercentShownAndItsSpeechReachesTheWorkspace)
{
    FilmSound analysis(ws, cache());
    EXPECT_EQ(analysis.state(), FilmSound::State::NoFilm);
    EXPECT_EQ(analysis.stateText(), shownText(msg::WaveformNoFilm));
    EXPECT_EQ(analysis.peaks(), nullptr);

    QStringList percents;
    QObject::connect(&analysis, &FilmSound::changed, [&] {
        if (analysis.state() == FilmSound::State::Analysing)
            percents << analysis.statusText();
    });
    open(testFilm(TestFilm::Mkv23976));
    EXPECT_EQ(analysis.state(), FilmSound::State::Analysing);
    // The status bar says the analysis goes on, with its percent.
    EXPECT_EQ(analysis.statusText(), shownText(msg::StatusAnalysing).replace("%1", shownText(msg::WaveformPercent)));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.state(), FilmSound::State::Ready);
    EXPECT_EQ(analysis.stateText(), shownText(msg::WaveformReady));
    EXPECT_TRUE(analysis.statusText().isEmpty());
    EXPECT_FALSE(percents.isEmpty());
    ASSERT_NE(analysis.peaks(), nullptr);
    EXPECT_TRUE(analysis.peaks()->isComplete());
    EXPECT_NEAR(analysis.peaks()->filledUpToUs() / 1e6, 3.0, 0.1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ws.filmSpeech.known(); }, 10000));
    EXPECT_TRUE(analysis.speechKnown());
    EXPECT_TRUE(ui.notices.empty());

    // Another track of the same film is analysed afresh: its peaks are new.
    const auto first = analysis.peaks();
    QSignalSpy replaced(&analysis, &FilmSound::peaksReplaced);
    open(testFilm(TestFilm::TwoTracksMkv), 0);
    ASSERT_TRUE(settled(analysis));
    ASSERT_TRUE(ws.film.setAudioTrack(1));
    EXPECT_FALSE(ws.filmSpeech.known()); // the last track's speech is gone at once
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.state(), FilmSound::State::Ready);
    EXPECT_GE(replaced.size(), 2);
    EXPECT_NE(analysis.peaks(), first);
    EXPECT_NEAR(analysis.peaks()->filledUpToUs() / 1e6, 4.0, 0.1);
}

TEST_F(FilmSoundTest, ABadSoundIsToldOnceInTheStateAndANoticeAndTouchesNothingElse)
{
    setRows({{"1", "2", "Bir"}, {"3", "4", "İki"}});
    FilmSound analysis(ws, cache());
    open(testFilm(TestFilm::SilentMp4));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.state(), FilmSound::State::Failed);
    EXPECT_EQ(analysis.problem().failure, sound::SoundFailure::NoAudioTrack);
    EXPECT_EQ(analysis.stateText(), shownText(msg::SoundNoAudioTrack));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), shownText(msg::SoundNotice));

    // The same film again: the strip says it, the notice does not come back.
    open(testFilm(TestFilm::SilentMp4));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.state(), FilmSound::State::Failed);
    EXPECT_EQ(ui.notices.size(), 1u);

    // A codec without a decoder: its name beside the reason.
    const QByteArray wav = waveOfUnknownCodec();
    open(write("odd.wav", wav));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.stateText(), shownText(msg::SoundUndecodable) + " (0x7777)");
    EXPECT_EQ(ui.notices.size(), 2u);

    // A film cut short keeps its waveform up to the break, and its speech.
    open(write("cut.mkv", filmHead(TestFilm::Mkv23976, 0.7)));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.problem().failure, sound::SoundFailure::TruncatedFile);
    EXPECT_GT(analysis.peaks()->filledBins(), 0);
    EXPECT_EQ(ui.notices.size(), 3u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ws.filmSpeech.known(); }, 10000));

    // A file that is no film: the strip says so, the film command tells.
    open(write("words.mkv", "1\r\n00:00:01,000 --> 00:00:02,000\r\nBir\r\n"));
    ASSERT_TRUE(settled(analysis));
    EXPECT_EQ(analysis.problem().failure, sound::SoundFailure::UnreadableFile);
    EXPECT_TRUE(analysis.stateText().startsWith(shownText(msg::SoundUnreadable)));
    EXPECT_EQ(ui.notices.size(), 3u);

    // Nothing else was touched: the rows, the selection, the history.
    EXPECT_EQ(column(ColText), QStringList({"Bir", "İki"}));
    EXPECT_EQ(ws.history.count(), 0);
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(FilmSoundTest, AnotherFilmOrTheOwnerGoingStopsTheAnalysisAndLeavesNoThread)
{
    const QString longer = longFilm(); // two hours: its analysis takes a while
    const QString other = testFilm(TestFilm::Mkv23976);
    const int before = threadsRunning();
    {
        FilmSound analysis(ws, cache());
        open(longer);
        ASSERT_EQ(analysis.state(), FilmSound::State::Analysing);
        const auto first = analysis.peaks();
        // Another film mid-analysis: the first stops where it was, unfinished.
        open(other);
        const qint64 stoppedAt = first->filledBins();
        EXPECT_FALSE(first->isComplete());
        ASSERT_TRUE(settled(analysis));
        EXPECT_EQ(first->filledBins(), stoppedAt);
        EXPECT_EQ(analysis.state(), FilmSound::State::Ready);
        EXPECT_NEAR(analysis.peaks()->filledUpToUs() / 1e6, 3.0, 0.1);
        // Its cache entry was not written: only the finished film's is there.
        EXPECT_EQ(QDir(cacheDir.filePath("sound")).entryList({"*.sound"}, QDir::Files).size(), 1);

        // The owner goes mid-analysis, with the speech search of the last
        // film perhaps still running.
        open(longer);
        ASSERT_TRUE(analysis.busy());
    }
    EXPECT_TRUE(backTo(before));
    {
        // The owner goes while the speech of a whole film is searched for.
        FilmSound analysis(ws, cache());
        open(longer);
        ASSERT_TRUE(QTest::qWaitFor([&] { return analysis.state() != FilmSound::State::Analysing; }, 60000));
        EXPECT_FALSE(ws.filmSpeech.known());
        EXPECT_TRUE(analysis.busy());
        EXPECT_TRUE(QTest::qWaitFor([] { return speechSearches() == 1; }, 1000));
    }
    EXPECT_EQ(speechSearches(), 0);
    EXPECT_TRUE(ui.notices.empty());
}
