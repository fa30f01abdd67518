// The peak pyramid from blocks of known samples: what each pixel column shows
// at any zoom, where timestamps put the sound, and reading while the worker
// writes.
#include "sound/PeakColumns.h"
#include "sound/PeakPyramid.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

using namespace korv::sound;

namespace {

// A mono signal at `rate`, fed in blocks of `block` samples stamped exactly.
struct Signal {
    int rate;
    std::vector<float> samples;

    void feed(MonoSink &sink, qint64 startUs = 0, qsizetype block = 1024) const
    {
        for (qsizetype i = 0; i < qsizetype(samples.size()); i += block) {
            const qsizetype n = std::min<qsizetype>(block, qsizetype(samples.size()) - i);
            sink.consume({samples.data() + i, n, rate, startUs + i * 1000000 / rate});
        }
        sink.finish(startUs + qint64(samples.size()) * 1000000 / rate);
    }
};

// Loudness changing every few milliseconds, quiet passages among loud ones.
Signal speechLike(int rate, double seconds, quint32 seed)
{
    QRandomGenerator random(seed);
    Signal s{rate, std::vector<float>(size_t(rate * seconds))};
    float level = 0.1f;
    for (size_t i = 0; i < s.samples.size(); ++i) {
        if (i % size_t(rate / 250) == 0)
            level = random.bounded(4) == 0 ? float(random.generateDouble()) : float(random.generateDouble() * 0.02);
        s.samples[i] = level * float(random.generateDouble() * 2 - 1);
    }
    return s;
}

// The column over the samples themselves.
PeakColumn truthOver(const Signal &s, qint64 fromBin, qint64 toBin)
{
    const qint64 first = fromBin * s.rate / 100, last = std::min<qint64>(toBin * s.rate / 100, qint64(s.samples.size()));
    PeakColumn c;
    c.min = 1, c.max = -1;
    double squares = 0;
    for (qint64 i = first; i < last; ++i) {
        c.min = std::min(c.min, s.samples[size_t(i)]);
        c.max = std::max(c.max, s.samples[size_t(i)]);
        squares += double(s.samples[size_t(i)]) * s.samples[size_t(i)];
    }
    c.shade = float(std::sqrt(squares / double(last - first)));
    c.known = last > first;
    return c;
}

std::shared_ptr<PeakPyramid> built(const Signal &s, qint64 startUs = 0)
{
    auto pyramid = std::make_shared<PeakPyramid>();
    PeakBuilder builder(pyramid);
    s.feed(builder, startUs);
    return pyramid;
}

TEST(PeakPyramid, EveryColumnAtEveryZoomShowsTheSamplesUnderIt)
{
    // 20 minutes at 8 kHz: deep enough for every level of the pyramid.
    const Signal s = speechLike(8000, 1200, 7);
    const auto pyramid = built(s);
    ASSERT_EQ(pyramid->filledBins(), 120000);
    const qint64 totalUs = 1200LL * 1000000;
    struct View {
        qint64 from, to;
        int width;
    };
    const View views[] = {{0, totalUs, 1920},          {0, totalUs, 333},
                          {123456789, 987654321, 1000}, {600000000, 601000000, 800},
                          {5000, 7 * 60000000 + 3, 77}, {totalUs - 3000000, totalUs, 300}};
    for (const View &v : views) {
        const std::vector<PeakColumn> columns = peakColumns(*pyramid, v.from, v.to, v.width);
        for (int i = 0; i < v.width; ++i) {
            const qint64 a = (v.from + (v.to - v.from) * i / v.width) / PeakPyramid::kBinUs;
            const qint64 b = std::max(a + 1, (v.from + (v.to - v.from) * (i + 1) / v.width) / PeakPyramid::kBinUs);
            const PeakColumn truth = truthOver(s, a, b);
            const PeakColumn &c = columns[size_t(i)];
            ASSERT_TRUE(c.known);
            ASSERT_NEAR(c.min, truth.min, 1.0 / 32767) << "view " << v.from << ".." << v.to << " column " << i;
            ASSERT_NEAR(c.max, truth.max, 1.0 / 32767) << "view " << v.from << ".." << v.to << " column " << i;
            ASSERT_NEAR(c.shade, truth.shade, 0.002 + truth.shade * 0.01) << "view " << v.from << ".." << v.to << " column " << i;
        }
    }
}

TEST(PeakPyramid, ColumnsOutsideTheSoundAreUnknownAndZoomedInColumnsShareTheirBin)
{
    const Signal s = speechLike(48000, 2, 3);
    const auto pyramid = built(s);
    const std::vector<PeakColumn> around = peakColumns(*pyramid, -1000000, 3000000, 4);
    EXPECT_FALSE(around[0].known); // before the film's start
    EXPECT_TRUE(around[1].known);
    EXPECT_TRUE(around[2].known);
    EXPECT_FALSE(around[3].known); // past the sound's end

    // 1 ms a column: ten columns under each 10 ms bin, all showing it.
    const std::vector<PeakColumn> close = peakColumns(*pyramid, 500000, 520000, 20);
    const PeakColumn first = truthOver(s, 50, 51), second = truthOver(s, 51, 52);
    for (int i = 0; i < 20; ++i)
        EXPECT_NEAR(close[size_t(i)].max, (i < 10 ? first : second).max, 1.0 / 32767) << i;
}

TEST(PeakPyramid, TimestampsPlaceTheSoundAcrossGapsLateStartsAndOverlaps)
{
    auto pyramid = std::make_shared<PeakPyramid>();
    PeakBuilder builder(pyramid);
    const std::vector<float> loud(4800, 0.5f), quiet(4800, -0.25f);
    // 0.1 s loud at 1 s, then a gap, then 0.1 s quiet at an hour, then a
    // block stamped 5 ms back into the one before it.
    builder.consume({loud.data(), 4800, 48000, 1000000});
    builder.consume({quiet.data(), 4800, 48000, 3600000000LL});
    builder.consume({loud.data(), 480, 48000, 3600095000LL});
    builder.finish(3600105000LL);
    ASSERT_EQ(pyramid->filledBins(), 360011);
    EXPECT_EQ(pyramid->bin(0, 99).max, 0);
    EXPECT_EQ(pyramid->bin(0, 100).max, 16384);
    EXPECT_EQ(pyramid->bin(0, 109).max, 16384);
    EXPECT_EQ(pyramid->bin(0, 110).max, 0);
    const PeakColumn gap = peakSummary(*pyramid, 110, 360000);
    EXPECT_TRUE(gap.known);
    EXPECT_EQ(gap.max, 0.0f);
    EXPECT_EQ(gap.min, 0.0f);
    EXPECT_EQ(pyramid->bin(0, 360000).min, -8192);
    EXPECT_EQ(pyramid->bin(0, 360000).max, -8192);
    // The overlapping block merged into the bin it overlaps and the next.
    EXPECT_EQ(pyramid->bin(0, 360009).min, -8192);
    EXPECT_EQ(pyramid->bin(0, 360009).max, 16384);
    EXPECT_EQ(pyramid->bin(0, 360010).max, 16384);

    // At an odd rate (11025 Hz) a tone starting at 2.005 s begins in bin 200.
    auto odd = std::make_shared<PeakPyramid>();
    PeakBuilder oddBuilder(odd);
    const std::vector<float> tone(11025, 0.5f);
    oddBuilder.consume({tone.data(), 11025, 11025, 2005000});
    oddBuilder.finish(3005000);
    EXPECT_EQ(odd->bin(0, 199).max, 0);
    EXPECT_EQ(odd->bin(0, 200).max, 16384);
    EXPECT_EQ(odd->bin(0, 300).max, 16384);
    EXPECT_EQ(odd->filledBins(), 301);
}

TEST(PeakPyramid, AReaderSeesOnlyFinalBinsWhileTheWriterFills)
{
    const Signal s = speechLike(16000, 600, 11);
    auto pyramid = std::make_shared<PeakPyramid>();
    PeakBuilder builder(pyramid);
    std::atomic_bool done{false};
    std::vector<std::vector<PeakColumn>> seen;
    std::vector<qint64> seenFilled;
    std::thread reader([&] {
        while (!done.load()) {
            const qint64 filled = pyramid->filledBins();
            // Only the span known to be filled, so the columns are comparable later.
            seen.push_back(peakColumns(*pyramid, 0, filled * PeakPyramid::kBinUs, 200));
            seenFilled.push_back(filled);
            ASSERT_GE(filled, seenFilled.front());
            std::this_thread::yield();
        }
    });
    s.feed(builder, 0, 256);
    done.store(true);
    reader.join();
    ASSERT_TRUE(pyramid->isComplete());
    size_t compared = 0;
    for (size_t k = 0; k < seen.size(); ++k) {
        if (seenFilled[k] == 0)
            continue;
        const std::vector<PeakColumn> now = peakColumns(*pyramid, 0, seenFilled[k] * PeakPyramid::kBinUs, 200);
        for (size_t i = 0; i < now.size(); ++i) {
            ASSERT_EQ(seen[k][i].min, now[i].min) << "read " << k << " column " << i;
            ASSERT_EQ(seen[k][i].max, now[i].max);
            ASSERT_EQ(seen[k][i].shade, now[i].shade);
        }
        ++compared;
    }
    EXPECT_GT(compared, 0u) << "the reader never saw the pyramid filling";
}

TEST(PeakPyramid, SerializedPeaksComeBackTheSameAndDamagedBytesAreRefused)
{
    const Signal s = speechLike(8000, 400, 5);
    const auto pyramid = built(s);
    const QByteArray bytes = pyramid->serialize();
    PeakPyramid back;
    ASSERT_TRUE(back.restore(bytes));
    EXPECT_TRUE(back.isComplete());
    ASSERT_EQ(back.filledBins(), pyramid->filledBins());
    const auto a = peakColumns(*pyramid, 0, 400000000, 640), b = peakColumns(back, 0, 400000000, 640);
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].min, b[i].min);
        ASSERT_EQ(a[i].max, b[i].max);
        ASSERT_EQ(a[i].shade, b[i].shade);
    }
    PeakPyramid cut;
    EXPECT_FALSE(cut.restore(bytes.left(bytes.size() - 1)));
    EXPECT_EQ(cut.filledBins(), 0);
    EXPECT_FALSE(cut.isComplete());
    QByteArray wrongMagic = bytes;
    wrongMagic[0] = 'X';
    EXPECT_FALSE(cut.restore(wrongMagic));
}

} // namespace
