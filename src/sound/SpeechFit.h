#pragma once
// Laying a whole subtitle file on its film's speech: the offset and the
// frame-rate change that a file made for another cut or another rate of the
// film needs. A row's time t becomes t * ratio + offset, where the ratio is
// the file's rate over the film's (a file timed at 25 fps on a 23.976 fps
// film: 25 / 23.976).

#include "sound/SpeechSnap.h"

#include <atomic>
#include <functional>
#include <vector>

namespace korv::sound {

struct FitOptions {
    double maxOffset = 600; // seconds either way
    // Any two of these may be the file's and the film's rate.
    std::vector<double> rates{23.976, 24, 25, 29.97, 30};
    // The film's rate where known: of two changes with the same ratio
    // (24 -> 23.976 and 30 -> 29.97) the one to this rate is named.
    double filmRate = 0;
    // Set from another thread to stop the search; the result then says so.
    const std::atomic_bool *cancel = nullptr;
    // The percent done, now and then, from the searching thread; 100 last.
    std::function<void(int percent)> progress;
};

struct FitResult {
    bool found = false;    // false: too few rows, or not two in five on speech
    double offset = 0;     // seconds
    double fromRate = 0;   // the file's rate; both 0 when the rate stays
    double toRate = 0;     // the film's rate
    int rowsOnSpeech = 0;  // rows whose start or end lies on an edge afterwards
    bool cancelled = false; // stopped before the end: nothing else holds
    double ratio() const { return fromRate > 0 && toRate > 0 ? fromRate / toRate : 1.0; }
    double apply(double t) const { return t * ratio() + offset; }
};

FitResult fitRows(const SpeechEdges &edges, const std::vector<RowTimes> &rows, const FitOptions &options = {});

} // namespace korv::sound
