#pragma once
// Sound with known speech, made from nothing: sentences spoken by espeak-ng
// (Turkish and English) at chosen times, mixed with pink noise or music made
// by ffmpeg, passed through an AAC encoder and decoded again as a film's
// sound would be. The true edges of each line come from its clean clip
// (trimmed where it is 40 dB below its loudest 10 ms). Everything is cached
// in the given folder, so only the first run of a build pays for it.

#include "sound/MonoBlock.h"

#include <QString>

#include <vector>

namespace korv::test {

enum class SpeechCondition {
    Clean,
    Pink15,          // steady pink noise, 15 dB under the speech
    Pink6,           // steady pink noise, 6 dB under the speech
    MusicBed,        // music all along, 10 dB under the speech
    LoudMusicBetween, // music 12 dB over the speech between lines, ducked 25 dB under dialogue, with hits
    Silence,         // no speech at all from here on
    MusicOnly,
    NoiseOnly,
};

QString conditionName(SpeechCondition condition);

struct SpokenLine {
    double start = 0; // seconds, the clean clip's edges
    double end = 0;
    QString text;
};

struct SpeechSound {
    int sampleRate = 48000;
    std::vector<float> samples;
    std::vector<SpokenLine> lines; // empty for the conditions without speech
    QString error;                 // a tool missing or failing
    double seconds() const { return double(samples.size()) / sampleRate; }
};

// `seconds` of sound with lines placed by `seed` (the same seed gives the
// same lines in every condition).
SpeechSound makeSpeechSound(SpeechCondition condition, double seconds, unsigned seed, const QString &cacheFolder);

// Feeds the sound to a sink as a decoder would: blocks of `blockSamples`
// stamped with their time, starting at `startUs`.
void feedSound(sound::MonoSink &sink, const SpeechSound &sound, qsizetype blockSamples = 1024, qint64 startUs = 0);

} // namespace korv::test
