// The detector's rules on features laid out by hand, with edges as abrupt
// as no real voice has: a voice right after a note of the score or a drum;
// a short sound alone and near a sentence; a line's first word and its weak
// first syllable.
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

quint8 voiced(double share) { return quint8(std::lround(share / SpeechFrame::voicingStep)); }

// Syllables of 150 ms at `db` in every band, 80 ms apart, from `from` s,
// voiced as vowels are.
void speak(SpeechFeatures &f, double from, int syllables, double db)
{
    for (int s = 0; s < syllables; ++s)
        for (int t = int(from * 100) + s * 23; t < int(from * 100) + s * 23 + 15; ++t) {
            for (int b = 0; b < SpeechFeatures::bands; ++b)
                f.frames[t].band[b] = q(db);
            f.frames[t].voicing = voiced(0.95);
        }
}

double spoken(const std::vector<SpeechSpan> &spans, double from, double to)
{
    double sum = 0;
    for (const SpeechSpan &s : spans)
        sum += std::max(0.0, std::min(s.end, to) - std::max(s.start, from));
    return sum;
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

TEST(SpeechEdges, AShortSoundIsAWordNearASentenceAndNothingAlone)
{
    // A sound of 150 ms, voiced and standing 20 dB over the background:
    // 0.6 s after a sentence it is a short word ("yes"); ten seconds from
    // any, it is a note or a call in the film's sound.
    SpeechFeatures f = background(-40);
    speak(f, 2.0, 6, -20);
    speak(f, 4.0, 1, -20);
    speak(f, 14.0, 1, -20);
    const std::vector<SpeechSpan> spans = detectSpeech(f);
    EXPECT_GT(spoken(spans, 3.9, 4.3), 0.1);
    EXPECT_EQ(spoken(spans, 13, 15), 0.0);
}

TEST(SpeechEdges, ALineBeginsAtItsVoiceNotAtTheDrumBeforeIt)
{
    // A drum beat of 80 ms (loud in the lows, unvoiced) ends as the voice
    // begins at 10.10 s: the line begins with the voice.
    SpeechFeatures f = background(-40);
    for (int t = 1000; t < 1008; ++t) {
        for (int b = 0; b < 3; ++b)
            f.frames[t].band[b] = q(-18);
        f.frames[t].voicing = voiced(0.3);
    }
    speak(f, 10.10, 6, -20);
    const std::vector<SpeechSpan> spans = detectSpeech(f);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(spans[0].start, 10.08, 0.03);
}

TEST(SpeechEdges, AWeakFirstSyllableInDenseDialogueBeginsItsLine)
{
    // Lines that follow each other closely: around them the level swings as
    // a voice's does, so a syllable must swing more than that to be sure of
    // itself. The second line's first syllable is 5 dB weaker than the rest
    // and swings less; being voiced, it still begins its line.
    SpeechFeatures f = background(-40);
    speak(f, 5.0, 14, -20);
    for (int t = 860; t < 875; ++t) {
        for (int b = 0; b < SpeechFeatures::bands; ++b)
            f.frames[t].band[b] = q(-25);
        f.frames[t].voicing = voiced(0.95);
    }
    speak(f, 8.83, 6, -20);
    speak(f, 10.4, 14, -20);
    const std::vector<SpeechSpan> spans = detectSpeech(f);
    bool begins = false;
    for (const SpeechSpan &s : spans)
        begins = begins || std::abs(s.start - 8.6) <= 0.06;
    EXPECT_TRUE(begins);
}

TEST(SpeechEdges, AShortPauseAfterALinesFirstWordKeepsItOneLine)
{
    // "Look, the lights are on": a word, a pause of 270 ms, the rest. With
    // what the background hides of each added back, the parts nearly touch:
    // one line, beginning with its first word.
    SpeechFeatures f = background(-40);
    speak(f, 5.0, 1, -20);
    speak(f, 5.42, 6, -20);
    const std::vector<SpeechSpan> spans = detectSpeech(f);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(spans[0].start, 4.96, 0.015);
}
