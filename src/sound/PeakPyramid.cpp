#include "sound/PeakPyramid.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korv::sound {

PeakPyramid::PeakPyramid()
{
    for (auto &table : chunks_)
        table = std::make_unique<std::unique_ptr<PeakBin[]>[]>(kChunks);
}

PeakPyramid::~PeakPyramid() = default;

size_t PeakPyramid::memoryBytes() const
{
    return sizeof(*this) + kLevels * kChunks * sizeof(std::unique_ptr<PeakBin[]>) + chunkBytes_.load(std::memory_order_relaxed);
}

PeakBin &PeakPyramid::slot(int level, qint64 index)
{
    auto &chunk = chunks_[level][size_t(index >> kChunkShift)];
    if (!chunk) {
        chunk = std::make_unique<PeakBin[]>(size_t(kChunkBins));
        chunkBytes_.fetch_add(kChunkBins * sizeof(PeakBin), std::memory_order_relaxed);
    }
    return chunk[index & (kChunkBins - 1)];
}

void PeakPyramid::append(const PeakBin *bins, qint64 count)
{
    count = std::min(count, kMaxBins - written_);
    if (count <= 0)
        return;
    const qint64 from = written_;
    for (qint64 i = 0; i < count; ++i)
        slot(0, from + i) = bins[i];
    written_ = from + count;
    // Every coarser bin the new ones complete, lower levels first, so each
    // level reads only final bins of the one below.
    for (int level = 1; level < kLevels; ++level) {
        const qint64 first = binsAtLevel(from, level);
        const qint64 last = binsAtLevel(written_, level);
        for (qint64 j = first; j < last; ++j) {
            const PeakBin *below[kFanOut];
            for (int k = 0; k < kFanOut; ++k)
                below[k] = &bin(level - 1, j * kFanOut + k);
            PeakBin merged = *below[0];
            float squares = 0;
            for (const PeakBin *b : below) {
                merged.min = std::min(merged.min, b->min);
                merged.max = std::max(merged.max, b->max);
                squares += float(b->shade) * float(b->shade);
            }
            merged.shade = quint16(std::lround(std::sqrt(squares / kFanOut)));
            slot(level, j) = merged;
        }
    }
    filled_.store(written_, std::memory_order_release);
}

namespace {
constexpr char kMagic[8] = {'K', 'P', 'E', 'A', 'K', 'S', '0', '1'};
struct Header {
    char magic[8];
    qint64 bins;
};
} // namespace

QByteArray PeakPyramid::serialize() const
{
    const qint64 bins = filledBins();
    QByteArray bytes(qsizetype(sizeof(Header) + bins * sizeof(PeakBin)), Qt::Uninitialized);
    char *out = bytes.data();
    std::memcpy(out, kMagic, sizeof kMagic);
    qToLittleEndian<qint64>(bins, out + sizeof kMagic);
    out += sizeof(Header);
    for (qint64 done = 0; done < bins;) {
        const qint64 n = std::min(kChunkBins - (done & (kChunkBins - 1)), bins - done);
        qToLittleEndian<quint16>(&bin(0, done), n * 3, out);
        out += n * sizeof(PeakBin);
        done += n;
    }
    return bytes;
}

bool PeakPyramid::restore(const QByteArray &bytes)
{
    if (written_ != 0 || bytes.size() < qsizetype(sizeof(Header)) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return false;
    const qint64 bins = qFromLittleEndian<qint64>(bytes.constData() + sizeof kMagic);
    if (bins < 0 || bins > kMaxBins || bytes.size() != qsizetype(sizeof(Header) + bins * sizeof(PeakBin)))
        return false;
    std::vector<PeakBin> chunk(static_cast<size_t>(kChunkBins));
    const char *in = bytes.constData() + sizeof(Header);
    for (qint64 done = 0; done < bins;) {
        const qint64 n = std::min(kChunkBins, bins - done);
        qFromLittleEndian<quint16>(in, n * 3, chunk.data());
        append(chunk.data(), n);
        in += n * sizeof(PeakBin);
        done += n;
    }
    markComplete();
    return true;
}

// ---- filling from decoded sound ----

PeakBuilder::PeakBuilder(std::shared_ptr<PeakPyramid> pyramid)
    : pyramid_(std::move(pyramid))
{
}

void PeakBuilder::closeBinsBefore(qint64 bin)
{
    bin = std::min(bin, PeakPyramid::kMaxBins);
    auto level = [](float v) { return qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * PeakPyramid::kScale)); };
    // A gap longer than the open window is silence: its bins close empty,
    // appended a batch at a time so a long gap needs no long buffer.
    while (firstOpen_ < bin) {
        const qint64 stop = std::min(bin, firstOpen_ + 16384);
        for (; firstOpen_ < stop; ++firstOpen_) {
            Open &o = open(firstOpen_);
            PeakBin b;
            if (o.count > 0) {
                b.min = level(o.min);
                b.max = level(o.max);
                b.shade = quint16(std::lround(std::min(1.0, std::sqrt(o.sumSquares / double(o.count))) * PeakPyramid::kScale));
            }
            closed_.push_back(b);
            o = Open{};
        }
        pyramid_->append(closed_.data(), qint64(closed_.size()));
        closed_.clear();
    }
}

void PeakBuilder::consume(const MonoBlock &block)
{
    if (block.count <= 0 || block.sampleRate <= 0)
        return;
    // Times in units of 1/rate microseconds keep every sample's place exact.
    const qint64 rate = block.sampleRate;
    const qint64 binUnits = PeakPyramid::kBinUs * rate;
    const qint64 origin = block.startUs * rate; // sample i lies at origin + i * 1e6
    auto firstSampleAt = [&](qint64 units) { // first i whose time is >= units
        const qint64 d = units - origin;
        return d <= 0 ? qint64(0) : (d + 999999) / 1000000;
    };
    qint64 i = firstSampleAt(0); // sound before the film's start has no place
    while (i < block.count) {
        const qint64 bin = (origin + i * 1000000) / binUnits;
        if (bin >= PeakPyramid::kMaxBins)
            break;
        const qint64 end = std::min(block.count, firstSampleAt((bin + 1) * binUnits));
        if (bin >= firstOpen_) {
            if (bin >= firstOpen_ + kOpenBins)
                closeBinsBefore(bin - kOpenBins + 1);
            Open &o = open(bin);
            const float *s = block.samples + i;
            const qint64 n = end - i;
            float lo = s[0], hi = s[0];
            float squares = 0; // at most one bin's samples: float holds them well
            for (qint64 k = 0; k < n; ++k) {
                lo = std::min(lo, s[k]);
                hi = std::max(hi, s[k]);
                squares += s[k] * s[k];
            }
            if (o.count == 0) {
                o.min = lo;
                o.max = hi;
            } else {
                o.min = std::min(o.min, lo);
                o.max = std::max(o.max, hi);
            }
            o.sumSquares += squares;
            o.count += n;
        }
        // Samples for bins already appended (a block overlapping far back) are dropped.
        i = end;
    }
}

void PeakBuilder::finish(qint64 endUs)
{
    closeBinsBefore((std::max<qint64>(0, endUs) + PeakPyramid::kBinUs - 1) / PeakPyramid::kBinUs);
    pyramid_->markComplete();
}

} // namespace korv::sound
