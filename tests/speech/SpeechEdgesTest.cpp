// The detector's edges on features laid out by hand: a voice right after a
// note of the score, with edges as abrupt as no real voice has.
#include "sound/SpeechDetector.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korv::sound;

namespace {

quint8 q(double db) { return quint8(std::lround((db - SpeechFrame::levelFloor) / SpeechFrame::levelStep)); }

// Twenty seconds of a steady background at `backgroundDb` in every band.
SpeechFeatures background(double backgroundDb)
{
    SpeechFeatures f;
    f.frames.resize(2000);
    for (size_t t = 0; t < f.frames.size(); ++t)
        for (int b = 0; b < SpeechFeatures::bands; ++b)
            f.frames[t].band[b] = q(backgroundDb + ((t * 7 + b * 3) % 5) * 0.5); // a little unsteady
    return f;
}

// Syllables of 150 ms at `db` in every band, 80 ms apart, from `from` s.
void speak(SpeechFeatures &f, double from, int syllables, double db)
{
    for (int s = 0; s < syllables; ++s)
        for (int t = int(from * 100) + s * 23; t < int(from * 100) + s * 23 + 15; ++t)
            for (int b = 0; b < SpeechFeatures::bands; ++b)
                f.frames[t].band[b] = q(db);
}

} // namespace

TEST(SpeechEdges, AVoiceBeginsAfterTheNoteBeforeItAndKeepsWhatTheBackgroundHides)
{
    SpeechFeatures f = background(-40);
    // A note of the score from 10.00 s, 5 dB over the background in the low
    // bands; the voice from 10.25 s.
    for (int t = 1000; t < 1025; ++t)
        for (int b = 0; b < 3; ++b)
            f.frames[t].band[b] = q(-35);
    speak(f, 10.25, 6, -20);
    const std::vector<SpeechSpan> spans = detectSpeech(f);
    ASSERT_EQ(spans.size(), 1u);
    // The voice stands 20 dB over the background: of the 40 dB of a real
    // voice's fade that count, some 25 would lie under the background (40 ms
    // of fading in, 120 ms of fading out), and the edges allow for them.
    EXPECT_NEAR(spans[0].start, 10.25 - 0.04, 0.015);
    const double end = 10.25 + 5 * 0.23 + 0.15;
    EXPECT_NEAR(spans[0].end, end + 0.12, 0.02);
}
