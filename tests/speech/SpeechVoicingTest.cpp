// The voicing the feature sink hears: a pitch in a tone of harmonics, at
// the film's usual rates, and none in noise or silence.
#include "sound/SpeechFeatures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace korv::sound;

namespace {

SpeechFeatures analyse(const std::vector<float> &samples, int rate)
{
    SpeechFeatureSink sink;
    for (qsizetype at = 0; at < qsizetype(samples.size()); at += 1000)
        sink.consume({samples.data() + at, std::min<qsizetype>(1000, qsizetype(samples.size()) - at), rate,
                      at * 1000000 / rate});
    sink.finish(qint64(samples.size()) * 1000000 / rate);
    return sink.take();
}

// Two seconds of a tone of ten harmonics falling by 6 dB an octave, as a
// vowel's do.
std::vector<float> tone(double pitch, int rate)
{
    std::vector<float> x(2 * rate);
    for (size_t i = 0; i < x.size(); ++i) {
        double v = 0;
        for (int k = 1; k <= 10; ++k)
            v += std::sin(2 * M_PI * pitch * k * double(i) / rate + k * 0.7) / k;
        x[i] = float(0.1 * v);
    }
    return x;
}

// Noise whose power falls by 3 dB an octave (pink), by Voss and McCartney's
// sum of held random values.
std::vector<float> pink(int rate, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> u(-1, 1);
    std::vector<float> x(2 * rate);
    float rows[16] = {};
    for (size_t i = 0; i < x.size(); ++i) {
        float sum = 0;
        for (int r = 0; r < 16; ++r) {
            if (r == 0 || (i & ((1u << r) - 1)) == 0)
                rows[r] = u(random);
            sum += rows[r];
        }
        x[i] = 0.02f * sum;
    }
    return x;
}

} // namespace

TEST(SpeechVoicing, HearsThePitchOfALowManAChildAndBetweenAtEitherRate)
{
    for (int rate : {48000, 44100}) {
        for (double pitch : {100.0, 130.0, 210.0, 330.0}) {
            const SpeechFeatures f = analyse(tone(pitch, rate), rate);
            ASSERT_EQ(f.frames.size(), 200u);
            int voiced = 0, onPeriod = 0;
            for (size_t t = 5; t < 195; ++t) {
                voiced += f.frames[t].voiced() >= 0.9;
                // The period found is the pitch's, or (for a high voice) a
                // multiple of it.
                const double ms = f.frames[t].period / 10.0, period = 1000 / pitch;
                const double multiple = std::round(ms / period);
                onPeriod += multiple >= 1 && std::abs(ms - multiple * period) <= 0.25;
            }
            EXPECT_EQ(voiced, 190) << pitch << " Hz at " << rate;
            EXPECT_EQ(onPeriod, 190) << pitch << " Hz at " << rate;
        }
    }
}

TEST(SpeechVoicing, HearsNoneInNoiseOrSilence)
{
    for (int rate : {48000, 44100}) {
        for (unsigned seed : {1u, 2u}) {
            const SpeechFeatures f = analyse(pink(rate, seed), rate);
            // Noise has no period, only chance likenesses: mostly under half,
            // next to never what the detector counts as clearly voiced.
            int clear = 0, underHalf = 0;
            for (const SpeechFrame &fr : f.frames) {
                clear += fr.voiced() >= 0.8;
                underHalf += fr.voiced() < 0.5;
            }
            EXPECT_LE(clear, 3) << "pink noise at " << rate;
            EXPECT_GE(underHalf, 120) << "pink noise at " << rate;
        }
        const SpeechFeatures quiet = analyse(std::vector<float>(rate, 0.f), rate);
        for (const SpeechFrame &fr : quiet.frames) {
            EXPECT_EQ(fr.voicing, 0);
            EXPECT_EQ(fr.period, 0);
        }
    }
}
