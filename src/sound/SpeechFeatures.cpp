#include "sound/SpeechFeatures.h"

#include <QDataStream>
#include <QIODevice>

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace korv::sound {

QByteArray SpeechFeatures::serialise() const
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << magic << formatVersion << quint16(sizeof(SpeechFrame)) << quint64(frames.size());
    static_assert(sizeof(SpeechFrame) == 8, "the cached form is the frame's bytes");
    s.writeRawData(reinterpret_cast<const char *>(frames.data()), int(frames.size() * sizeof(SpeechFrame)));
    return out;
}

std::optional<SpeechFeatures> SpeechFeatures::deserialise(QByteArrayView bytes)
{
    constexpr qsizetype header = 4 + 2 + 2 + 8;
    if (bytes.size() < header)
        return std::nullopt;
    QByteArray copy = QByteArray::fromRawData(bytes.data(), bytes.size());
    QDataStream s(copy);
    s.setByteOrder(QDataStream::LittleEndian);
    quint32 m = 0;
    quint16 version = 0, frameSize = 0;
    quint64 count = 0;
    s >> m >> version >> frameSize >> count;
    if (m != magic || version != formatVersion || frameSize != sizeof(SpeechFrame) ||
        count != quint64(bytes.size() - header) / sizeof(SpeechFrame) ||
        quint64(bytes.size() - header) % sizeof(SpeechFrame) != 0)
        return std::nullopt;
    SpeechFeatures f;
    f.frames.resize(count);
    std::memcpy(f.frames.data(), bytes.data() + header, count * sizeof(SpeechFrame));
    return f;
}

namespace {

// The analysis runs near 8 kHz, where speech has what tells it apart, after
// averaging groups of input samples. The plain average lets a little of
// 4-6 kHz fold into the top band; each band is compared with its own local
// floor, so that costs nothing, and it keeps the features at a few percent
// of the decoding's time, where a proper filter would cost ten.
constexpr int analysisRate = 8000;
constexpr int fftSize = 128; // 16 ms at 8 kHz, centred on the frame
constexpr int history = 5;   // spectra kept for `rise` and `change`
constexpr double bandEdges[SpeechFeatures::bands + 1] = {100, 300, 800, 1600, 2800, 3900};
constexpr double shapeFrom = 300, shapeTo = 3900;

// log2 within 0.01, several times faster than std::log2; the features are
// quantised far coarser.
inline float fastLog2(float x)
{
    quint32 bits;
    std::memcpy(&bits, &x, 4);
    const float exponent = float(int((bits >> 23) & 255) - 127);
    bits = (bits & 0x007FFFFFu) | 0x3F800000u;
    float m;
    std::memcpy(&m, &bits, 4);
    return exponent + (-0.34484843f * m + 2.02466578f) * m - 0.67487759f;
}

constexpr float dbPerLog2 = 3.0103f;

quint8 quantise(double value, double floor, double step)
{
    return quint8(std::clamp(std::lround((value - floor) / step), 0L, 255L));
}

std::mutex &plannerLock()
{
    // FFTW's planner is not thread-safe; its execution is.
    static std::mutex lock;
    return lock;
}

} // namespace

struct SpeechFeatureSink::State {
    int rate = 0;
    int factor = 1;   // input samples per analysis sample
    int decRate = 0;  // analysis rate
    qint64 nextInput = 0; // input sample index (from the film's start) expected next
    float partial = 0;
    int partialCount = 0;
    std::vector<float> dec; // analysis samples from index decBase on
    qint64 decBase = 0;
    qint64 nextFrame = 0;
    SpeechFeatures out;

    float *in = nullptr;
    fftwf_complex *spectrum = nullptr;
    fftwf_plan plan = nullptr;
    std::vector<float> window;
    float scale = 1;
    std::array<int, SpeechFeatures::bands + 1> bandBin{};
    int shapeLo = 0, shapeHi = 0;
    std::vector<float> logs[history]; // dB per bin of the last frames, newest at frameIndex % history
    qint64 framesDone = 0;

    State()
    {
        in = static_cast<float *>(fftwf_malloc(sizeof(float) * fftSize));
        spectrum = static_cast<fftwf_complex *>(fftwf_malloc(sizeof(fftwf_complex) * (fftSize / 2 + 1)));
        std::lock_guard<std::mutex> lock(plannerLock());
        plan = fftwf_plan_dft_r2c_1d(fftSize, in, spectrum, FFTW_ESTIMATE);
        window.resize(fftSize);
        double sumSquares = 0;
        for (int n = 0; n < fftSize; ++n) {
            window[n] = float(0.5 - 0.5 * std::cos(2 * M_PI * (n + 0.5) / fftSize));
            sumSquares += double(window[n]) * window[n];
        }
        // A full-scale sine gives 0 dB in its band.
        scale = float(4.0 / (fftSize * sumSquares));
    }
    ~State()
    {
        {
            std::lock_guard<std::mutex> lock(plannerLock());
            fftwf_destroy_plan(plan);
        }
        fftwf_free(in);
        fftwf_free(spectrum);
    }

    void start(int sampleRate)
    {
        rate = sampleRate;
        factor = std::max(1, sampleRate / analysisRate);
        decRate = sampleRate / factor;
        const double binHz = double(decRate) / fftSize;
        const int top = fftSize / 2;
        for (int b = 0; b <= SpeechFeatures::bands; ++b)
            bandBin[b] = std::clamp(int(std::ceil(bandEdges[b] / binHz)), 1, top);
        shapeLo = std::clamp(int(std::ceil(shapeFrom / binHz)), 1, top);
        shapeHi = std::clamp(int(std::ceil(shapeTo / binHz)), shapeLo, top);
        for (auto &l : logs)
            l.assign(fftSize / 2 + 1, -120.f);
        partial = 0;
        partialCount = 0;
        dec.clear();
        // The analysis grid starts at the frame the sound reaches now, so a
        // change of rate mid-film keeps every frame at its time.
        nextInput = nextFrame * rate / 100;
        decBase = nextInput / factor;
    }

    // Analysis samples up to `upTo` (exclusive) are in; compute every frame
    // whose window they complete.
    void computeFrames()
    {
        const qint64 available = decBase + qint64(dec.size());
        while (true) {
            const qint64 centre = (2 * nextFrame + 1) * decRate / 200; // the frame's middle
            const qint64 first = centre - fftSize / 2;
            if (first + fftSize > available)
                break;
            for (int n = 0; n < fftSize; ++n) {
                const qint64 at = first + n - decBase;
                in[n] = at >= 0 ? dec[at] * window[n] : 0.f;
            }
            fftwf_execute(plan);
            analyse();
            ++nextFrame;
        }
        // Keep only what later windows still need.
        const qint64 keepFrom = (2 * nextFrame + 1) * decRate / 200 - fftSize / 2;
        if (keepFrom - decBase > 4096) {
            dec.erase(dec.begin(), dec.begin() + (keepFrom - decBase));
            decBase = keepFrom;
        }
    }

    void analyse()
    {
        SpeechFrame f;
        std::vector<float> &now = logs[framesDone % history];
        const std::vector<float> &previous = logs[(framesDone + history - 1) % history];
        const std::vector<float> &earlier = logs[(framesDone + 1) % history]; // 4 frames back
        float power[fftSize / 2 + 1];
        for (int k = bandBin[0]; k < bandBin[SpeechFeatures::bands]; ++k) {
            power[k] = (spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1]) * scale + 1e-12f;
            now[k] = dbPerLog2 * fastLog2(power[k]);
        }
        for (int b = 0; b < SpeechFeatures::bands; ++b) {
            float sum = 1e-12f;
            for (int k = bandBin[b]; k < bandBin[b + 1]; ++k)
                sum += power[k];
            f.band[b] = quantise(dbPerLog2 * fastLog2(sum), SpeechFrame::levelFloor, SpeechFrame::levelStep);
        }
        const int n = shapeHi - shapeLo;
        if (n > 1) {
            double sumPower = 0, sumLog = 0, rise = 0;
            for (int k = shapeLo; k < shapeHi; ++k) {
                sumPower += power[k];
                sumLog += now[k];
                // Below -90 dB the logs are only the codec's dither.
                rise += std::max(0.f, std::max(now[k], -90.f) - std::max(previous[k], -90.f));
            }
            const double meanNow = sumLog / n;
            // The shape is compared over its top 30 dB: below that lie the
            // window's leakage and the codec's noise, which change at random
            // and would hide a held note's stillness.
            float topNow = -200, topEarlier = -200;
            for (int k = shapeLo; k < shapeHi; ++k) {
                topNow = std::max(topNow, now[k]);
                topEarlier = std::max(topEarlier, earlier[k]);
            }
            double cross = 0, a2 = 0, b2 = 0, ma = 0, mb = 0;
            for (int k = shapeLo; k < shapeHi; ++k) {
                ma += std::max(now[k], topNow - 30);
                mb += std::max(earlier[k], topEarlier - 30);
            }
            ma /= n;
            mb /= n;
            for (int k = shapeLo; k < shapeHi; ++k) {
                const double a = std::max(now[k], topNow - 30) - ma, b = std::max(earlier[k], topEarlier - 30) - mb;
                cross += a * b;
                a2 += a * a;
                b2 += b * b;
            }
            const double flatness = meanNow - dbPerLog2 * fastLog2(float(sumPower / n));
            f.tonality = quantise(-flatness, 0, SpeechFrame::fineStep);
            f.rise = quantise(rise / n, 0, SpeechFrame::fineStep);
            const double correlation = a2 > 0 && b2 > 0 ? cross / std::sqrt(a2 * b2) : 1.0;
            f.change = quantise((1 - correlation) * 100, 0, 1);
        }
        out.frames.push_back(f);
        ++framesDone;
    }

    void push(const float *x, qsizetype count)
    {
        qsizetype i = 0;
        // Finish the group a previous block began.
        while (partialCount > 0 && i < count) {
            partial += x[i++];
            if (++partialCount == factor) {
                dec.push_back(partial / factor);
                partial = 0;
                partialCount = 0;
            }
        }
        const qsizetype groups = (count - i) / factor;
        const size_t old = dec.size();
        dec.resize(old + groups);
        float *d = dec.data() + old;
        const float inverse = 1.f / factor;
        for (qsizetype g = 0; g < groups; ++g, i += factor) {
            float s = 0;
            for (int m = 0; m < factor; ++m)
                s += x[i + m];
            d[g] = s * inverse;
        }
        for (; i < count; ++i) {
            partial += x[i];
            ++partialCount;
        }
        nextInput += count;
        computeFrames();
    }

    void silence(qint64 count)
    {
        static const std::vector<float> zeros(8192, 0.f);
        while (count > 0) {
            const qint64 n = std::min<qint64>(count, qint64(zeros.size()));
            push(zeros.data(), n);
            count -= n;
        }
    }
};

SpeechFeatureSink::SpeechFeatureSink() : d(std::make_unique<State>()) {}
SpeechFeatureSink::~SpeechFeatureSink() = default;

void SpeechFeatureSink::consume(const MonoBlock &block)
{
    if (block.count <= 0 || block.sampleRate <= 0 || !block.samples)
        return;
    if (block.sampleRate != d->rate)
        d->start(block.sampleRate);
    const qint64 first = (block.startUs * d->rate + 500000) / 1000000;
    qsizetype skip = 0;
    if (first > d->nextInput) {
        d->silence(first - d->nextInput);
    } else if (first < d->nextInput) {
        // Overlapping what was read already: read it once.
        skip = qsizetype(std::min<qint64>(d->nextInput - first, block.count));
    }
    d->push(block.samples + skip, block.count - skip);
}

void SpeechFeatureSink::finish(qint64 endUs)
{
    if (d->rate == 0)
        d->start(analysisRate);
    const qint64 frames = (endUs + SpeechFeatures::frameMs * 1000 - 1) / (SpeechFeatures::frameMs * 1000);
    // Silence past the end completes the last windows; then trim to the end.
    const qint64 endInput = (endUs * d->rate + 500000) / 1000000;
    if (endInput > d->nextInput)
        d->silence(endInput - d->nextInput);
    d->silence(qint64(fftSize) * d->factor);
    if (qint64(d->out.frames.size()) > frames)
        d->out.frames.resize(frames);
}

SpeechFeatures SpeechFeatureSink::take()
{
    SpeechFeatures f = std::move(d->out);
    d->out = {};
    return f;
}

} // namespace korv::sound
