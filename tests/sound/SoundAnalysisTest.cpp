// The analysis as the window will drive it: start, percent, peaks filling,
// finished or failed once, the cache reused, rebuilt and bounded, and cancel
// by another film or by the owner going away, leaving no worker behind.
#include "SoundMedia.h"

#include "sound/SoundAnalysis.h"

#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <thread>

using namespace korv::sound;

namespace korv::test {
namespace {

// Counts what reaches it, from the worker thread.
class CountingSink : public MonoSink {
public:
    std::atomic<qint64> samples{0};
    std::atomic_bool finished{false};
    void consume(const MonoBlock &block) override { samples += block.count; }
    void finish(qint64) override { finished = true; }
};

// A rider whose result (the number of samples it saw) is kept in the cache.
class KeptCount : public CachedSink {
public:
    explicit KeptCount(quint32 tag = korv::sound::sectionTag("TEST")) : tag_(tag) {}
    std::atomic<qint64> samples{0};
    std::atomic_bool restored{false};
    quint32 sectionTag() const override { return tag_; }
    quint32 sectionVersion() const override { return 2; }
    void consume(const MonoBlock &block) override { samples += block.count; }
    void finish(qint64) override {}
    bool restore(const QByteArray &bytes) override
    {
        samples = bytes.toLongLong();
        restored = true;
        return true;
    }
    QByteArray save() const override { return QByteArray::number(samples.load()); }

private:
    quint32 tag_;
};

class SoundAnalysisTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString cacheFolder() const { return dir.filePath(QStringLiteral("cache")); }
    SoundCache cache(qint64 limit = SoundCache::kDefaultLimit) const { return SoundCache(cacheFolder(), limit); }

    // A film of our own, to change in place.
    QString copyOf(const QString &film, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(film, path));
        return path;
    }
    int entries() const { return QDir(cacheFolder()).entryList({QStringLiteral("*.sound")}, QDir::Files).size(); }

    // Waits for the end of the analysis: true for finished(), false for failed().
    static bool runToEnd(SoundAnalysis &analysis)
    {
        QSignalSpy finished(&analysis, &SoundAnalysis::finished), failed(&analysis, &SoundAnalysis::failed);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 60000));
        QTest::qWait(20); // a second signal would be a fault
        EXPECT_EQ(finished.size() + failed.size(), 1);
        return !finished.isEmpty();
    }
};

TEST_F(SoundAnalysisTest, ReopeningAFilmTakesItsWholeWaveformFromTheCache)
{
    const QString film = copyOf(mp4Film(), QStringLiteral("film.mp4"));
    SoundAnalysis first{cache()};
    QSignalSpy progress(&first, &SoundAnalysis::progressChanged);
    first.start(film, 0);
    ASSERT_TRUE(runToEnd(first));
    EXPECT_FALSE(first.fromCache());
    EXPECT_EQ(first.state(), SoundAnalysis::State::Ready);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toInt(), 100);
    EXPECT_EQ(first.percent(), 100);
    for (qsizetype i = 1; i < progress.size(); ++i)
        EXPECT_GE(progress[i].at(0).toInt(), progress[i - 1].at(0).toInt());
    EXPECT_EQ(entries(), 1);

    SoundAnalysis again{cache()};
    again.start(film, 0);
    ASSERT_TRUE(runToEnd(again));
    EXPECT_TRUE(again.fromCache());
    EXPECT_TRUE(again.peaks()->isComplete());
    EXPECT_EQ(again.peaks()->filledBins(), first.peaks()->filledBins());
    EXPECT_TRUE(burstsMatch(burstsIn(*again.peaks()), kMp4Bursts, 0));

    // The film's bytes replaced but its size and time kept: the cache still
    // answers, which shows it, not the film, gave the peaks.
    const QDateTime modified = QFileInfo(film).lastModified();
    {
        QFile f(film);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write(QByteArray(f.size(), '\0'));
        f.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    SoundAnalysis third{cache()};
    third.start(film, 0);
    ASSERT_TRUE(runToEnd(third));
    EXPECT_TRUE(burstsMatch(burstsIn(*third.peaks()), kMp4Bursts, 0));

    // Another film under the same name: analysed anew.
    copyOf(mkvFilm(), QStringLiteral("film.mp4"));
    SoundAnalysis changed{cache()};
    changed.start(film, 0);
    ASSERT_TRUE(runToEnd(changed));
    EXPECT_FALSE(changed.fromCache());
    EXPECT_TRUE(burstsMatch(burstsIn(*changed.peaks()), kMkvBursts, kMkvShift));
    EXPECT_EQ(entries(), 1);
}

TEST_F(SoundAnalysisTest, ADamagedEntryIsRebuiltWithoutAWord)
{
    const QString film = mp4Film();
    SoundAnalysis analysis{cache()};
    analysis.start(film, 0);
    ASSERT_TRUE(runToEnd(analysis));
    const QString entry = cache().entryPath(*filmKey(film, 0));
    {
        QFile f(entry);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write("damage");
    }
    analysis.start(film, 0);
    ASSERT_TRUE(runToEnd(analysis)) << "no failure is reported for the cache";
    EXPECT_FALSE(analysis.fromCache());
    EXPECT_TRUE(burstsMatch(burstsIn(*analysis.peaks()), kMp4Bursts, 0));
    analysis.start(film, 0);
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_TRUE(analysis.fromCache()) << "the entry was written again";
}

TEST_F(SoundAnalysisTest, TwoAnalysesOfOneFilmAtOnceBothFinishAndLeaveOneWholeEntry)
{
    const QString film = mkvFilm();
    SoundAnalysis one{cache()}, two{cache()};
    QSignalSpy oneDone(&one, &SoundAnalysis::finished), twoDone(&two, &SoundAnalysis::finished);
    one.start(film, 0);
    two.start(film, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !oneDone.isEmpty() && !twoDone.isEmpty(); }, 60000));
    EXPECT_TRUE(burstsMatch(burstsIn(*one.peaks()), kMkvBursts, kMkvShift));
    EXPECT_TRUE(burstsMatch(burstsIn(*two.peaks()), kMkvBursts, kMkvShift));
    EXPECT_EQ(QDir(cacheFolder()).entryList(QDir::Files).size(), 1);
    SoundAnalysis three{cache()};
    three.start(film, 0);
    ASSERT_TRUE(runToEnd(three));
    EXPECT_TRUE(three.fromCache());
}

TEST_F(SoundAnalysisTest, TheCacheStaysWithinItsLimit)
{
    // Room for the 20 s film's peaks (12 kB) or the 7 s film's (4 kB), not both.
    SoundAnalysis analysis{cache(15000)};
    analysis.start(mp4Film(), 0);
    ASSERT_TRUE(runToEnd(analysis));
    analysis.start(gapFilm(), 0);
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_EQ(entries(), 1);
    analysis.start(gapFilm(), 0);
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_TRUE(analysis.fromCache()) << "the newest stays";
    analysis.start(mp4Film(), 0);
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_FALSE(analysis.fromCache()) << "the oldest went";
}

TEST_F(SoundAnalysisTest, OpeningAnotherFilmMidAnalysisStopsTheFirst)
{
    SoundAnalysis analysis{cache()};
    auto rider = std::make_shared<CountingSink>();
    QSignalSpy finished(&analysis, &SoundAnalysis::finished), failed(&analysis, &SoundAnalysis::failed);
    analysis.start(longFilm(), 0, {rider});
    ASSERT_TRUE(QTest::qWaitFor([&] { return analysis.percent() >= 2; }, 60000));
    // The peaks fill from the start while the decode runs.
    const auto longPeaks = analysis.peaks();
    EXPECT_GT(longPeaks->filledUpToUs(), 60 * 1000000LL);
    EXPECT_FALSE(longPeaks->isComplete());

    analysis.start(mp4Film(), 0);
    // start() returned with the first worker ended: its rider is no longer fed.
    const qint64 fed = rider->samples.load();
    EXPECT_GT(fed, 0);
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_EQ(rider->samples.load(), fed);
    EXPECT_FALSE(rider->finished.load());
    EXPECT_EQ(rider.use_count(), 1) << "the first analysis let go of its rider";
    EXPECT_EQ(analysis.filmPath(), mp4Film());
    EXPECT_TRUE(burstsMatch(burstsIn(*analysis.peaks()), kMp4Bursts, 0));
    EXPECT_FALSE(longPeaks->isComplete());
    // Only the finished film was cached.
    EXPECT_EQ(entries(), 1);
    EXPECT_TRUE(failed.isEmpty());
}

TEST_F(SoundAnalysisTest, CancelAndDestroyingTheOwnerMidAnalysisLeaveNoWorker)
{
    auto rider = std::make_shared<CountingSink>();
    {
        SoundAnalysis analysis{cache()};
        QSignalSpy finished(&analysis, &SoundAnalysis::finished), progress(&analysis, &SoundAnalysis::progressChanged);
        analysis.start(longFilm(), 0, {rider});
        ASSERT_TRUE(QTest::qWaitFor([&] { return analysis.percent() >= 1; }, 60000));
        // The worker goes on reporting while this thread is busy; what it
        // reported before the cancel must not arrive after it.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        analysis.cancel();
        const qint64 fed = rider->samples.load();
        const qsizetype reported = progress.size();
        const int percent = analysis.percent();
        QTest::qWait(100);
        EXPECT_EQ(rider->samples.load(), fed);
        EXPECT_TRUE(finished.isEmpty());
        EXPECT_EQ(progress.size(), reported);
        EXPECT_EQ(analysis.percent(), percent);
        EXPECT_EQ(analysis.state(), SoundAnalysis::State::Idle);
        EXPECT_EQ(rider.use_count(), 1);

        analysis.start(longFilm(), 0, {rider});
        ASSERT_TRUE(QTest::qWaitFor([&] { return rider->samples.load() > fed; }, 60000));
    } // destroyed mid-analysis
    EXPECT_EQ(rider.use_count(), 1);
    const qint64 fed = rider->samples.load();
    QTest::qWait(100);
    EXPECT_EQ(rider->samples.load(), fed);
    EXPECT_FALSE(rider->finished.load());
    EXPECT_EQ(entries(), 0);
}

TEST_F(SoundAnalysisTest, RidersShareTheDecodeAndTheirKeptResultsComeFromTheCache)
{
    const QString film = mkvFilm();
    auto plain = std::make_shared<CountingSink>();
    auto kept = std::make_shared<KeptCount>();
    SoundAnalysis analysis{cache()};
    analysis.start(film, 0, {plain, kept});
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_NEAR(plain->samples.load(), 20 * 44100, 2048);
    EXPECT_EQ(kept->samples.load(), plain->samples.load());
    EXPECT_TRUE(plain->finished.load());

    // Again: the kept result comes from the cache, and nothing is decoded.
    auto keptAgain = std::make_shared<KeptCount>();
    analysis.start(film, 0, {keptAgain});
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_TRUE(analysis.fromCache());
    EXPECT_TRUE(keptAgain->restored.load());
    EXPECT_EQ(keptAgain->samples.load(), kept->samples.load());

    // A rider the cache has nothing for gets the sound decoded for it alone;
    // its result joins the entry beside the others.
    auto other = std::make_shared<KeptCount>(sectionTag("OTHR"));
    analysis.start(film, 0, {other});
    ASSERT_TRUE(runToEnd(analysis));
    EXPECT_FALSE(analysis.fromCache());
    EXPECT_FALSE(other->restored.load());
    EXPECT_EQ(other->samples.load(), kept->samples.load());
    CacheEntry entry;
    ASSERT_EQ(cache().load(*filmKey(film, 0), &entry), SoundCache::Lookup::Hit);
    EXPECT_NE(entry.find(kPeakSection, kPeakSectionVersion), nullptr);
    EXPECT_NE(entry.find(sectionTag("TEST"), 2), nullptr);
    EXPECT_NE(entry.find(sectionTag("OTHR"), 2), nullptr);
}

TEST_F(SoundAnalysisTest, AFailureIsToldOnceWithItsReasonAndATruncatedFilmKeepsItsPeaks)
{
    SoundAnalysis analysis{cache()};
    QSignalSpy failed(&analysis, &SoundAnalysis::failed);
    analysis.start(pictureOnlyFilm(), 0);
    EXPECT_FALSE(runToEnd(analysis));
    EXPECT_EQ(analysis.state(), SoundAnalysis::State::Failed);
    EXPECT_EQ(analysis.problem().failure, SoundFailure::NoAudioTrack);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0].at(0).value<SoundProblem>().failure, SoundFailure::NoAudioTrack);
    EXPECT_TRUE(analysis.peaks()->isComplete());
    EXPECT_EQ(analysis.peaks()->filledBins(), 0);

    QFile whole(mp4FaststartFilm());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString cut = dir.filePath(QStringLiteral("cut.mp4"));
    QFile part(cut);
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(whole.read(whole.size() * 6 / 10));
    part.close();
    analysis.start(cut, 0);
    EXPECT_FALSE(runToEnd(analysis));
    EXPECT_EQ(analysis.problem().failure, SoundFailure::TruncatedFile);
    // What came before the damage is shown: the first two bursts.
    const std::vector<Burst> found = burstsIn(*analysis.peaks());
    ASSERT_GE(found.size(), 2u);
    EXPECT_TRUE(burstsMatch({found[0], found[1]}, {kMp4Bursts[0], kMp4Bursts[1]}, 0));
    EXPECT_EQ(entries(), 0) << "a damaged film's peaks are not kept";
}

} // namespace
} // namespace korv::test
