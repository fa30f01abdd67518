// Speech found in made sound: a minute of Turkish and English sentences at
// known times, clean, under pink noise, under music and between loud music;
// and sound with no speech at all. The sound is made once per build folder.
#include "speech/SpeechSound.h"

#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"
#include "sound/SpeechFit.h"
#include "sound/SpeechSnap.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>

using namespace korv::sound;
using korv::test::SpeechCondition;
using korv::test::SpeechSound;

namespace {

const QString mediaFolder = QStringLiteral(KORV_TEST_MEDIA_DIR);
constexpr unsigned seed = 7;

// A minute of `condition`, or as many seconds as asked, made once a run.
const SpeechSound &sound(SpeechCondition condition, int seconds = 60)
{
    static std::map<std::pair<SpeechCondition, int>, SpeechSound> made;
    auto it = made.find({condition, seconds});
    if (it == made.end())
        it = made.emplace(std::pair{condition, seconds}, korv::test::makeSpeechSound(condition, seconds, seed, mediaFolder)).first;
    return it->second;
}

SpeechFeatures featuresOf(const SpeechSound &s, qsizetype block = 4096, qint64 startUs = 0)
{
    SpeechFeatureSink sink;
    korv::test::feedSound(sink, s, block, startUs);
    return sink.take();
}

std::vector<RowTimes> lateCaptures(const SpeechSound &s, unsigned captureSeed)
{
    std::mt19937 random(captureSeed);
    std::uniform_real_distribution<double> late(0.12, 0.45);
    std::vector<RowTimes> rows;
    for (const auto &line : s.lines)
        rows.push_back({std::round((line.start + late(random)) * 1000) / 1000,
                        std::round((line.end + late(random)) * 1000) / 1000});
    return rows;
}

double speechSeconds(const std::vector<SpeechSpan> &spans)
{
    double sum = 0;
    for (const SpeechSpan &s : spans)
        sum += s.end - s.start;
    return sum;
}

struct Condition {
    SpeechCondition condition;
    double starts; // share of starts that must land within 100 ms
    double ends;   // share of ends within 150 ms
};

class SpokenLines : public ::testing::TestWithParam<Condition> {};

} // namespace

TEST_P(SpokenLines, LateCapturesLandOnTheirOwnLinesEdges)
{
    const SpeechSound &s = sound(GetParam().condition);
    ASSERT_TRUE(s.error.isEmpty()) << qPrintable(s.error);
    ASSERT_GE(s.lines.size(), 12u);
    const std::vector<SpeechSpan> spans = detectSpeech(featuresOf(s));
    const std::vector<RowTimes> captured = lateCaptures(s, 11);
    const SnapReport report = snapRows(SpeechEdges::of(spans), captured, SnapRules::forFrameRate(25), roundToStep(0.001));

    int starts = 0, ends = 0;
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const RowTimes &row = report.rows[i];
        starts += std::abs(row.start - s.lines[i].start) <= 0.1;
        ends += std::abs(row.end - s.lines[i].end) <= 0.15;
        // Whatever moved went towards its own line, never to another's.
        for (size_t j = 0; j < s.lines.size(); ++j) {
            if (j == i)
                continue;
            if (row.start != captured[i].start)
                EXPECT_GT(std::abs(row.start - s.lines[j].start), std::abs(row.start - s.lines[i].start)) << "row " << i;
            if (row.end != captured[i].end)
                EXPECT_GT(std::abs(row.end - s.lines[j].end), std::abs(row.end - s.lines[i].end)) << "row " << i;
        }
    }
    const double n = double(s.lines.size());
    EXPECT_GE(starts / n, GetParam().starts) << starts << " of " << n << " starts within 100 ms";
    EXPECT_GE(ends / n, GetParam().ends) << ends << " of " << n << " ends within 150 ms";
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SpokenLines,
    // A little under what the benchmark measures on ten minutes of each
    // (README, Speech edges); the minute here has 15 lines.
    ::testing::Values(Condition{SpeechCondition::Clean, 0.93, 0.93}, Condition{SpeechCondition::Pink15, 0.93, 0.93},
                      Condition{SpeechCondition::Pink6, 0.93, 0.93}, Condition{SpeechCondition::MusicBed, 0.93, 0.86},
                      Condition{SpeechCondition::LoudMusicBetween, 0.93, 0.86}),
    [](const auto &info) {
        QString name = korv::test::conditionName(info.param.condition);
        name.remove(QLatin1Char('-'));
        return name.toStdString();
    });

TEST(NoSpeech, SilenceMusicAndNoiseGiveAlmostNone)
{
    for (SpeechCondition c : {SpeechCondition::Silence, SpeechCondition::MusicOnly, SpeechCondition::NoiseOnly}) {
        const SpeechSound &s = sound(c);
        ASSERT_TRUE(s.error.isEmpty()) << qPrintable(s.error);
        const std::vector<SpeechSpan> spans = detectSpeech(featuresOf(s));
        // At most 0.3 s of the minute (a word's worth); nothing at all in digital
        // silence.
        EXPECT_LE(speechSeconds(spans), c == SpeechCondition::Silence ? 0.0 : 0.3)
            << qPrintable(korv::test::conditionName(c)) << ": " << spans.size() << " spans";
    }
    // Noise, then music: what the music must do to count is set by the music
    // around it, not by the calmer noise a minute before (at most a word's
    // worth of the two minutes).
    SpeechSound both = sound(SpeechCondition::NoiseOnly);
    const SpeechSound &music = sound(SpeechCondition::MusicOnly);
    both.samples.insert(both.samples.end(), music.samples.begin(), music.samples.end());
    EXPECT_LE(speechSeconds(detectSpeech(featuresOf(both))), 0.2) << "noise, then music";
}

TEST(LoudMusicBetweenLines, IsNotTakenForSpeechOverThreeMinutes)
{
    // Three minutes: long enough that what the rules let through of the music
    // between lines (its swells, its return after a line, its notes and hits)
    // shows against what they keep out.
    const SpeechSound &s = sound(SpeechCondition::LoudMusicBetween, 180);
    ASSERT_TRUE(s.error.isEmpty()) << qPrintable(s.error);
    ASSERT_GE(s.lines.size(), 40u);
    const std::vector<SpeechSpan> spans = detectSpeech(featuresOf(s));
    // The music between the lines, from 0.2 s after one line to 0.2 s
    // before the next (the edges allow for what the music hides of a line).
    const int frames = int(s.seconds() * 100);
    std::vector<char> line(frames, 0), taken(frames, 0);
    for (const auto &l : s.lines)
        for (int k = std::max(0, int(l.start * 100) - 20); k < std::min(frames, int(l.end * 100) + 20); ++k)
            line[k] = 1;
    for (const SpeechSpan &sp : spans)
        for (int k = int(std::lround(sp.start * 100)); k < std::min(frames, int(std::lround(sp.end * 100))); ++k)
            taken[k] = 1;
    int music = 0, takenMusic = 0;
    for (int k = 0; k < frames; ++k)
        if (!line[k]) {
            ++music;
            takenMusic += taken[k];
        }
    EXPECT_LE(double(takenMusic) / music, 0.035) << takenMusic << " of " << music << " frames of music taken";

    const std::vector<RowTimes> captured = lateCaptures(s, 11);
    const SnapReport report = snapRows(SpeechEdges::of(spans), captured, SnapRules::forFrameRate(25), roundToStep(0.001));
    int starts = 0, ends = 0;
    for (size_t i = 0; i < s.lines.size(); ++i) {
        starts += std::abs(report.rows[i].start - s.lines[i].start) <= 0.1;
        ends += std::abs(report.rows[i].end - s.lines[i].end) <= 0.15;
    }
    const double n = double(s.lines.size());
    EXPECT_GE(starts / n, 0.9) << starts << " of " << n << " starts within 100 ms";
    EXPECT_GE(ends / n, 0.9) << ends << " of " << n << " ends within 150 ms";
}

TEST(SpeechFeatureSink, PlacesBlocksByTheirTimestamps)
{
    // A film whose sound starts 2.5 s in, and whose stream skips 3 s after
    // 10 s: every line is found where the timestamps put it.
    const SpeechSound &s = sound(SpeechCondition::Clean);
    SpeechFeatureSink sink;
    const qsizetype rate = s.sampleRate, cut = 10 * rate, block = 1024;
    const qint64 startUs = 2500000, gapUs = 3000000;
    for (qsizetype at = 0; at < qsizetype(s.samples.size());) {
        qsizetype count = std::min<qsizetype>(block, qsizetype(s.samples.size()) - at);
        if (at < cut)
            count = std::min(count, cut - at);
        sink.consume({s.samples.data() + at, count, s.sampleRate, startUs + (at >= cut ? gapUs : 0) + at * 1000000 / rate});
        at += count;
    }
    sink.finish(startUs + gapUs + qint64(s.samples.size()) * 1000000 / rate);
    const SpeechFeatures f = sink.take();
    EXPECT_NEAR(f.seconds(), 2.5 + 3 + s.seconds(), 0.011);
    const SpeechEdges edges = SpeechEdges::of(detectSpeech(f));
    int found = 0;
    for (const auto &line : s.lines) {
        const double expected = line.start + 2.5 + (line.start >= 10 ? 3 : 0);
        const auto onset = nearestEdge(edges.onsets, expected, {0.05, 0.05}, roundToStep(0));
        found += onset.has_value();
    }
    EXPECT_GE(found, int(s.lines.size()) - 1);
}

TEST(SpeechFeatureSink, PutsAToneInTheFramesItSoundsInAndItsBand)
{
    // A second of silence, a second of a 1 kHz tone, a second of silence:
    // each frame is judged over the 16 ms around its middle, so frames 0-98
    // and from 201 on hear nothing at all and 100-198 the tone whole, in
    // 800-1600 Hz and far under it elsewhere; at half the amplitude, 6 dB
    // lower.
    auto featuresOfTone = [](double amplitude) {
        const int rate = 48000;
        std::vector<float> samples(3 * rate, 0.f);
        for (int n = rate; n < 2 * rate; ++n)
            samples[n] = float(amplitude * std::sin(2 * M_PI * 1000 * (n - rate) / rate));
        SpeechFeatureSink sink;
        sink.consume({samples.data(), qsizetype(samples.size()), rate, 0});
        sink.finish(3000000);
        return sink.take();
    };
    const SpeechFeatures loud = featuresOfTone(1), f = featuresOfTone(0.5);
    ASSERT_EQ(f.frames.size(), 300u);
    for (int t : {0, 50, 98, 201, 250, 299})
        for (int b = 0; b < SpeechFeatures::bands; ++b)
            EXPECT_EQ(f.frames[t].band[b], 0) << "frame " << t << " band " << b;
    for (int t = 100; t <= 198; ++t) {
        EXPECT_NEAR(loud.frames[t].level(2) - f.frames[t].level(2), 6, 0.5) << "frame " << t;
        EXPECT_GT(f.frames[t].level(2), -10) << "frame " << t;
        for (int b : {0, 1, 3, 4})
            EXPECT_LT(f.frames[t].level(b), f.frames[t].level(2) - 20) << "frame " << t << " band " << b;
    }
}

TEST(SpeechFeatureSink, GivesTheSameFeaturesForAnyBlockSizeAndOverlap)
{
    const SpeechSound &s = sound(SpeechCondition::Pink15);
    const QByteArray whole = featuresOf(s, 4096).serialise();
    EXPECT_EQ(featuresOf(s, 333).serialise(), whole);
    // Blocks that overlap the previous one by 100 samples are read once.
    SpeechFeatureSink sink;
    for (qsizetype at = 0; at < qsizetype(s.samples.size()); at += 900) {
        const qsizetype from = std::max<qsizetype>(0, at - 100);
        const qsizetype count = std::min<qsizetype>(1000, qsizetype(s.samples.size()) - from);
        sink.consume({s.samples.data() + from, count, s.sampleRate, from * 1000000 / s.sampleRate});
    }
    sink.finish(qint64(s.samples.size()) * 1000000 / s.sampleRate);
    EXPECT_EQ(sink.take().serialise(), whole);
}

TEST(SpeechFeatureSink, FindsTheSameEdgesAt44100Hz)
{
    const SpeechSound &s = sound(SpeechCondition::Clean);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
                                            QStringLiteral("f32le"), QStringLiteral("-ar"), QStringLiteral("48000"),
                                            QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-i"),
                                            QStringLiteral("pipe:0"), QStringLiteral("-ar"), QStringLiteral("44100"),
                                            QStringLiteral("-f"), QStringLiteral("f32le"), QStringLiteral("pipe:1")});
    ASSERT_TRUE(ffmpeg.waitForStarted());
    ffmpeg.write(reinterpret_cast<const char *>(s.samples.data()), qint64(s.samples.size() * sizeof(float)));
    ffmpeg.closeWriteChannel();
    QByteArray out;
    while (!ffmpeg.waitForFinished(100))
        out += ffmpeg.readAllStandardOutput();
    out += ffmpeg.readAllStandardOutput();
    SpeechSound resampled;
    resampled.sampleRate = 44100;
    resampled.samples.resize(out.size() / sizeof(float));
    std::memcpy(resampled.samples.data(), out.constData(), resampled.samples.size() * sizeof(float));

    const SpeechEdges at48 = SpeechEdges::of(detectSpeech(featuresOf(s)));
    const SpeechEdges at44 = SpeechEdges::of(detectSpeech(featuresOf(resampled)));
    ASSERT_FALSE(at48.onsets.empty());
    int same = 0;
    for (double onset : at48.onsets)
        same += nearestEdge(at44.onsets, onset, {0.02, 0.02}, roundToStep(0)).has_value();
    EXPECT_GE(same, int(at48.onsets.size() * 9 / 10)) << same << " of " << at48.onsets.size();
}

TEST(SpeechFeatures, CachedFormRoundTripsAndRefusesAnythingElse)
{
    const SpeechFeatures f = featuresOf(sound(SpeechCondition::Clean));
    const QByteArray bytes = f.serialise();
    const auto back = SpeechFeatures::deserialise(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->serialise(), bytes);
    EXPECT_EQ(detectSpeech(*back), detectSpeech(f));

    QByteArray otherVersion = bytes;
    otherVersion[4] = char(SpeechFeatures::formatVersion + 1);
    EXPECT_FALSE(SpeechFeatures::deserialise(otherVersion).has_value());
    EXPECT_FALSE(SpeechFeatures::deserialise(bytes.left(bytes.size() - 3)).has_value());
    EXPECT_FALSE(SpeechFeatures::deserialise(bytes.left(10)).has_value());
    EXPECT_FALSE(SpeechFeatures::deserialise(QByteArray(64, 'x')).has_value());
    // An empty film is a valid entry.
    const auto empty = SpeechFeatures::deserialise(SpeechFeatures{}.serialise());
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->frames.empty());
}

TEST(SpeechFeatureSink, IsKeptInTheFilmsCacheAndRestoredFromIt)
{
    SpeechFeatureSink analysed;
    korv::test::feedSound(analysed, sound(SpeechCondition::Clean));
    const QByteArray kept = analysed.save();
    EXPECT_EQ(kept, analysed.features().serialise());

    SpeechFeatureSink reopened;
    EXPECT_EQ(reopened.sectionTag(), analysed.sectionTag());
    EXPECT_EQ(reopened.sectionVersion(), SpeechFeatures::formatVersion);
    ASSERT_TRUE(reopened.restore(kept));
    EXPECT_EQ(detectSpeech(reopened.features()), detectSpeech(analysed.features()));
    // A damaged section is refused, and the film is decoded for it again.
    SpeechFeatureSink damaged;
    EXPECT_FALSE(damaged.restore(kept.left(kept.size() / 2)));
}

TEST(FitFile, FindsAFileMadeForAnotherCut)
{
    const SpeechSound &s = sound(SpeechCondition::Pink15);
    const SpeechEdges edges = SpeechEdges::of(detectSpeech(featuresOf(s)));
    std::vector<RowTimes> rows;
    for (const auto &line : s.lines)
        rows.push_back({line.start + 3.217, line.end + 3.217});
    const FitResult fit = fitRows(edges, rows);
    ASSERT_TRUE(fit.found);
    EXPECT_NEAR(fit.offset, -3.217, 0.02);
    EXPECT_EQ(fit.ratio(), 1.0);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(fit.apply(rows[i].start), s.lines[i].start, 0.1) << "row " << i;
        EXPECT_NEAR(fit.apply(rows[i].end), s.lines[i].end, 0.1) << "row " << i;
    }
}

TEST(FitFile, FindsAFileTimedOnACopyAtAnotherRate)
{
    // The film runs at 25 fps; the file was timed on a 23.976 fps copy,
    // where everything comes later by 25 / 23.976, and 1.5 s later still.
    const SpeechSound &s = sound(SpeechCondition::MusicBed);
    const SpeechEdges edges = SpeechEdges::of(detectSpeech(featuresOf(s)));
    std::vector<RowTimes> rows;
    for (const auto &line : s.lines)
        rows.push_back({line.start * 25 / 23.976 + 1.5, line.end * 25 / 23.976 + 1.5});
    const FitResult fit = fitRows(edges, rows);
    ASSERT_TRUE(fit.found);
    // Over one minute 24 and 23.976 fps differ by 58 ms, too little to tell
    // apart; the rate change found must be one of the two.
    EXPECT_NEAR(fit.ratio(), 23.976 / 25, 0.0011) << fit.fromRate << " -> " << fit.toRate;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(fit.apply(rows[i].start), s.lines[i].start, 0.1) << "row " << i;
        EXPECT_NEAR(fit.apply(rows[i].end), s.lines[i].end, 0.1) << "row " << i;
    }
}

TEST(FitFile, FindsNothingWithoutSpeech)
{
    const SpeechSound &s = sound(SpeechCondition::Clean);
    std::vector<RowTimes> rows;
    for (const auto &line : s.lines)
        rows.push_back({line.start, line.end});
    EXPECT_FALSE(fitRows(SpeechEdges::of(detectSpeech(featuresOf(sound(SpeechCondition::Silence)))), rows).found);
    EXPECT_FALSE(fitRows(SpeechEdges::of(detectSpeech(featuresOf(s))), {{1, 2}, {3, 4}}).found); // too few rows
}
