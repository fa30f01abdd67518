// Films decoded to peaks: the bursts land where the film plays them (at its
// start, middle and end, at odd frame and sample rates, across a gap in the
// timestamps), the chosen track is the one read, and each kind of bad film
// gives its reason.
#include "SoundMedia.h"
#include "support/TestFilms.h"

#include "sound/AudioDecoder.h"

#include <QTemporaryDir>

using namespace korv::sound;

namespace korv::test {
namespace {

struct Decoded {
    DecodeOutcome outcome;
    std::shared_ptr<PeakPyramid> peaks = std::make_shared<PeakPyramid>();
};

Decoded decode(const QString &path, int track = 0)
{
    Decoded d;
    PeakBuilder builder(d.peaks);
    MonoSink *sinks[] = {&builder};
    d.outcome = decodeAudio(path, track, sinks);
    return d;
}

TEST(SoundFilms, BurstsOfATwoHourFilmLandWithinTenMillisecondsAtItsStartMiddleAndEnd)
{
    const Decoded d = decode(longFilm());
    ASSERT_FALSE(d.outcome.problem) << failureName(d.outcome.problem.failure);
    EXPECT_TRUE(burstsMatch(burstsIn(*d.peaks), kLongBursts, kLongShift));
    EXPECT_NEAR(d.peaks->filledUpToUs() / 1e6, 7200 + kLongShift, 0.02);
    EXPECT_TRUE(d.peaks->isComplete());
}

TEST(SoundFilms, BurstsLandWithinTenMillisecondsInA23976MkvAndA2997Mp4)
{
    const Decoded mkv = decode(mkvFilm());
    ASSERT_FALSE(mkv.outcome.problem);
    EXPECT_EQ(mkv.outcome.sampleRate, 44100);
    EXPECT_TRUE(burstsMatch(burstsIn(*mkv.peaks), kMkvBursts, kMkvShift));

    const Decoded mp4 = decode(mp4Film());
    ASSERT_FALSE(mp4.outcome.problem);
    EXPECT_EQ(mp4.outcome.sampleRate, 48000);
    EXPECT_TRUE(burstsMatch(burstsIn(*mp4.peaks), kMp4Bursts, 0));
}

TEST(SoundFilms, AGapInTheTimestampsIsSilenceAndWhatFollowsKeepsItsTime)
{
    const Decoded d = decode(gapFilm());
    ASSERT_FALSE(d.outcome.problem) << qPrintable(d.outcome.problem.detail);
    EXPECT_TRUE(burstsMatch(burstsIn(*d.peaks), kGapBursts, 0));
    // The gap itself: known, and silent.
    for (const PeakColumn &c : peakColumns(*d.peaks, 2100000, 4900000, 50)) {
        ASSERT_TRUE(c.known);
        EXPECT_EQ(c.max, 0.0f);
    }
    EXPECT_NEAR(d.outcome.endUs / 1e6, 7.0, 0.03);
}

TEST(SoundFilms, TheChosenAudioStreamIsReadAndItsChannelsMixedToOne)
{
    const QString film = twoTrackFilm();
    const Decoded first = decode(film, 0);
    ASSERT_FALSE(first.outcome.problem);
    EXPECT_TRUE(burstsIn(*first.peaks, 0.001f).empty()) << "the first stream is silent";

    const Decoded second = decode(film, 1);
    ASSERT_FALSE(second.outcome.problem);
    EXPECT_EQ(second.outcome.sampleRate, 22050);
    EXPECT_TRUE(burstsMatch(burstsIn(*second.peaks, 0.03f), {{1.0, 2.0}}, 0));
    // The right channel's tone at 1/8 is 1/16 in the mix of two channels.
    const PeakColumn tone = peakSummary(*second.peaks, 120, 180);
    EXPECT_NEAR(tone.max, 0.0625, 0.003);
    EXPECT_NEAR(tone.min, -0.0625, 0.003);
    EXPECT_NEAR(tone.shade, 0.0625 / std::sqrt(2.0), 0.003);

    const Decoded third = decode(film, 2);
    EXPECT_EQ(third.outcome.problem.failure, SoundFailure::NoAudioTrack);
}

// ---- bad films ----

class BadFilms : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
};

TEST_F(BadFilms, AFilmWithoutSoundHasNoAudioTrack)
{
    const Decoded d = decode(pictureOnlyFilm());
    EXPECT_EQ(d.outcome.problem.failure, SoundFailure::NoAudioTrack);
    EXPECT_EQ(d.peaks->filledBins(), 0);
}

TEST_F(BadFilms, ACodecWithoutADecoderIsUndecodable)
{
    const QByteArray wav = waveOfUnknownCodec();
    const Decoded d = decode(write(QStringLiteral("odd.wav"), wav));
    EXPECT_EQ(d.outcome.problem.failure, SoundFailure::UndecodableCodec);
    EXPECT_EQ(d.outcome.problem.detail, QStringLiteral("0x7777"));
}

TEST_F(BadFilms, ATruncatedFilmKeepsThePeaksUpToTheDamage)
{
    QFile whole(mkvFilm());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    // Cut at 70%: past the second burst (10 s of 20), before the third (18.5 s).
    const Decoded d = decode(write(QStringLiteral("cut.mkv"), bytes.left(bytes.size() * 7 / 10)));
    EXPECT_EQ(d.outcome.problem.failure, SoundFailure::TruncatedFile) << qPrintable(d.outcome.problem.detail);
    EXPECT_TRUE(d.peaks->isComplete());
    EXPECT_GT(d.peaks->filledUpToUs(), 11000000);
    EXPECT_LT(d.peaks->filledUpToUs(), 18000000);
    EXPECT_TRUE(burstsMatch(burstsIn(*d.peaks), {kMkvBursts[0], kMkvBursts[1]}, kMkvShift));
}

TEST_F(BadFilms, TextNamedMkvAndMissingOrUnreadableFilesAreUnreadable)
{
    const Decoded text = decode(write(QStringLiteral("notes.mkv"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nhello\r\n"));
    EXPECT_EQ(text.outcome.problem.failure, SoundFailure::UnreadableFile);

    const Decoded missing = decode(dir.filePath(QStringLiteral("gone.mkv")));
    EXPECT_EQ(missing.outcome.problem.failure, SoundFailure::UnreadableFile);
    EXPECT_FALSE(missing.outcome.problem.detail.isEmpty());

    const Decoded folder = decode(dir.path());
    EXPECT_EQ(folder.outcome.problem.failure, SoundFailure::UnreadableFile);

    const Decoded empty = decode(write(QStringLiteral("empty.mp4"), {}));
    EXPECT_EQ(empty.outcome.problem.failure, SoundFailure::UnreadableFile);
}

} // namespace
} // namespace korv::test
