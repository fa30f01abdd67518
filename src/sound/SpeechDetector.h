#pragma once
// Where someone speaks, from a film's speech features: spans with onset and
// offset on the 10 ms grid. Every decision is local: each band is measured
// against its own floor over the few seconds around, so quiet dialogue in a
// loud film, steady noise and music are judged by what surrounds them, not
// by a level fixed for the whole film.

#include "sound/SpeechFeatures.h"

#include <vector>

namespace korv::sound {

struct SpeechSpan {
    double start = 0; // seconds, a multiple of 10 ms
    double end = 0;
    friend bool operator==(const SpeechSpan &, const SpeechSpan &) = default;
};

// The spans in time order, none overlapping, at least 30 ms apart.
std::vector<SpeechSpan> detectSpeech(const SpeechFeatures &features);

} // namespace korv::sound
