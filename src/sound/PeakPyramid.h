#pragma once
// The waveform's peaks: per 10 ms the lowest and highest sample and the RMS
// (the second shade, where quiet speech shows), and coarser levels of 4, 16,
// 64 ... such bins, so that any zoom is a lookup.
//
// One thread writes (the analysis worker, through PeakBuilder), any number
// read at the same time without a lock: the writer only appends, and
// publishes how many 10 ms bins are final with a release store; a reader
// that loads that count (acquire) may read every bin below it, at every
// level, and those bins never change again. Storage grows in chunks whose
// table never moves, so appending never invalidates what a reader holds.

#include "sound/MonoBlock.h"

#include <QByteArray>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

namespace korv::sound {

struct PeakBin {
    qint16 min = 0;
    qint16 max = 0;
    quint16 shade = 0; // RMS, on the same scale as min and max
};
static_assert(sizeof(PeakBin) == 6);

class PeakPyramid {
public:
    static constexpr qint64 kBinUs = 10000;
    static constexpr int kFanOut = 4;
    static constexpr int kLevels = 10; // the top bin covers 4^9 x 10 ms, about 44 minutes
    // Sound past 48 hours is left out: no film is that long, and the chunk
    // tables stay fixed in size.
    static constexpr qint64 kMaxBins = 48LL * 3600 * 1000000 / kBinUs;
    static constexpr float kScale = 32767.0f;

    PeakPyramid();
    ~PeakPyramid();
    PeakPyramid(const PeakPyramid &) = delete;
    PeakPyramid &operator=(const PeakPyramid &) = delete;

    // Reader side, any thread.
    // 10 ms bins final from the start; bins at or past it are not to be read.
    qint64 filledBins() const { return filled_.load(std::memory_order_acquire); }
    qint64 filledUpToUs() const { return filledBins() * kBinUs; }
    // True once the whole stream is in (or a cache entry was loaded).
    bool isComplete() const { return complete_.load(std::memory_order_acquire); }
    // Bins of `level` (each 4^level x 10 ms) that are final: filledBins() >> 2 level.
    static qint64 binsAtLevel(qint64 filled, int level) { return filled >> (2 * level); }
    // Only for index < binsAtLevel(filledBins(), level) as loaded by the caller.
    const PeakBin &bin(int level, qint64 index) const
    {
        return chunks_[level][size_t(index >> kChunkShift)][index & (kChunkBins - 1)];
    }
    // Heap bytes held by the bins and their tables.
    size_t memoryBytes() const;

    // Writer side, one thread only. Appends final 10 ms bins (those past
    // kMaxBins are dropped) and publishes them with every coarser bin they
    // complete.
    void append(const PeakBin *bins, qint64 count);
    // No more bins will come.
    void markComplete() { complete_.store(true, std::memory_order_release); }

    // The 10 ms bins, little-endian, for the cache; complete pyramids only.
    QByteArray serialize() const;
    // Writer side: fills an empty pyramid from serialize()'s bytes and marks
    // it complete; false (the pyramid untouched) for bytes that are not a
    // whole serialized pyramid.
    bool restore(const QByteArray &bytes);

private:
    static constexpr int kChunkShift = 14;
    static constexpr qint64 kChunkBins = qint64(1) << kChunkShift;
    static constexpr size_t kChunks = size_t((kMaxBins + kChunkBins - 1) / kChunkBins);

    PeakBin &slot(int level, qint64 index);

    // Chunk pointers are set by the writer before the bins in them are
    // published; the tables themselves never move.
    std::array<std::unique_ptr<std::unique_ptr<PeakBin[]>[]>, kLevels> chunks_;
    std::atomic<qint64> filled_{0};
    std::atomic_bool complete_{false};
    qint64 written_ = 0; // writer's own count (== filled_ between calls)
    std::atomic<size_t> chunkBytes_{0};
};

// The MonoSink that fills a pyramid from decoded blocks, placing each sample
// by its block's timestamp. It keeps the newest bins open for a moment
// (overlapping blocks still merge into them) and appends the rest.
class PeakBuilder final : public MonoSink {
public:
    explicit PeakBuilder(std::shared_ptr<PeakPyramid> pyramid);
    void consume(const MonoBlock &block) override;
    void finish(qint64 endUs) override;

private:
    struct Open {
        float min = 0, max = 0;
        double sumSquares = 0;
        qint64 count = 0;
    };
    static constexpr qint64 kOpenBins = 64;

    void closeBinsBefore(qint64 bin);
    Open &open(qint64 bin) { return open_[size_t(bin % kOpenBins)]; }

    std::shared_ptr<PeakPyramid> pyramid_;
    std::array<Open, kOpenBins> open_{};
    qint64 firstOpen_ = 0; // bins before it are appended
    std::vector<PeakBin> closed_;
};

} // namespace korv::sound
