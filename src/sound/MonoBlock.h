#pragma once
// The decoded sound as every analyser sees it: one channel of float samples
// in [-1, 1], each run placed on the film's time line by the stream's own
// timestamp, so that nothing drifts over a long film or across a gap.

#include <QtGlobal>

namespace korv::sound {

struct MonoBlock {
    const float *samples = nullptr;
    qsizetype count = 0;
    int sampleRate = 0;
    // The first sample's time in microseconds from the film's start, as the
    // stream stamped it.
    qint64 startUs = 0;
};

// Receives every block of one analysis in time order, on the analysing
// thread. Blocks may leave gaps (silence) and, rarely, overlap a little;
// a sink places each by its own time.
class MonoSink {
public:
    virtual ~MonoSink() = default;
    virtual void consume(const MonoBlock &block) = 0;
    // The stream has ended; `endUs` is the end of its last sample.
    virtual void finish(qint64 endUs) = 0;
};

} // namespace korv::sound
