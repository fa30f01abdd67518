#include "sound/SpeechFeatures.h"

#include "sound/SoundCache.h"

#include <QDataStream>
#include <QtEndian>
#include <QIODevice>

#include <fftw3.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KORV_X86_DISPATCH 1
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace korv::sound {

QByteArray SpeechFeatures::serialise() const
{
    // Written in place into memory of its final size: a stream would grow
    // its buffer, copying megabytes into fresh pages again and again.
    static_assert(sizeof(SpeechFrame) == SpeechFeatures::bands + 2, "the cached form is the frame's bytes");
    constexpr qsizetype header = 4 + 2 + 2 + 8;
    const qsizetype body = qsizetype(frames.size() * sizeof(SpeechFrame));
    QByteArray out(header + body, Qt::Uninitialized);
    char *p = out.data();
    qToLittleEndian<quint32>(magic, p);
    qToLittleEndian<quint16>(formatVersion, p + 4);
    qToLittleEndian<quint16>(quint16(sizeof(SpeechFrame)), p + 6);
    qToLittleEndian<quint64>(quint64(frames.size()), p + 8);
    if (body > 0)
        std::memcpy(p + header, frames.data(), size_t(body));
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
    if (count > 0)
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
constexpr int maxFactor = 48; // up to 384 kHz
constexpr double bandEdges[SpeechFeatures::bands + 1] = {100, 300, 800, 1600, 2800, 3900};

// Voicing is judged at a quarter of the analysis rate (about 2 kHz, where a
// voice's pitch and first harmonics lie) over 64 samples (32 ms: two and a
// half periods of a low voice), from the power spectrum of 90-900 Hz
// weighted up by frequency, so that pink noise, loudest in the lows, is as
// flat as white and has no period to show. The autocorrelation comes back
// at twice that rate (the spectrum padded), so a period need not fall on a
// sample; it is summed directly over the few bins and lags wanted.
constexpr int voiceFactor = 4;
constexpr int voiceSize = 64;
constexpr int voiceHalf = voiceSize * voiceFactor / 2; // analysis samples either side of the frame's middle
constexpr int acfSize = 2 * voiceSize; // the spectrum padded
constexpr double voiceLowHz = 90, voiceHighHz = 900;
constexpr double shortestPeriod = 0.0025, longestPeriod = 0.0125; // s
constexpr int keptHalf = std::max(fftSize / 2, voiceHalf);

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

quint8 quantise(float value, float floor, float step)
{
    return quint8(std::clamp((value - floor) / step + 0.5f, 0.f, 255.f));
}

// The autocorrelation over the lags from a power spectrum: for every lag
// l, the sum over the bins k of power[k] * cosines[k][l], each lag's sum
// kept in a register while the bins go by. Every lag adds its bins in the
// same order with separate multiplies and adds, whichever width runs, so a
// processor with AVX gives the very same features as one without.
void sumCosines(const float *power, int bins, const float *cosines, int stride, int count, float *acf)
{
    int l = 0;
#ifdef __SSE2__
    for (; l + 16 <= count; l += 16) {
        __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        const float *c = cosines + l;
        for (int k = 0; k < bins; ++k, c += stride) {
            const __m128 p = _mm_set1_ps(power[k]);
            a0 = _mm_add_ps(a0, _mm_mul_ps(p, _mm_loadu_ps(c)));
            a1 = _mm_add_ps(a1, _mm_mul_ps(p, _mm_loadu_ps(c + 4)));
            a2 = _mm_add_ps(a2, _mm_mul_ps(p, _mm_loadu_ps(c + 8)));
            a3 = _mm_add_ps(a3, _mm_mul_ps(p, _mm_loadu_ps(c + 12)));
        }
        _mm_storeu_ps(acf + l, a0);
        _mm_storeu_ps(acf + l + 4, a1);
        _mm_storeu_ps(acf + l + 8, a2);
        _mm_storeu_ps(acf + l + 12, a3);
    }
    for (; l + 4 <= count; l += 4) {
        __m128 a = _mm_setzero_ps();
        const float *c = cosines + l;
        for (int k = 0; k < bins; ++k, c += stride)
            a = _mm_add_ps(a, _mm_mul_ps(_mm_set1_ps(power[k]), _mm_loadu_ps(c)));
        _mm_storeu_ps(acf + l, a);
    }
#endif
    for (; l < count; ++l) {
        float a = 0;
        for (int k = 0; k < bins; ++k)
            a += power[k] * cosines[size_t(k) * stride + l];
        acf[l] = a;
    }
}

#ifdef KORV_X86_DISPATCH
// The same eight lags at a time. AVX only, not FMA: a fused multiply-add
// rounds once where the others round twice.
__attribute__((target("avx"))) void sumCosinesAvx(const float *power, int bins, const float *cosines, int stride, int count, float *acf)
{
    int l = 0;
    for (; l + 24 <= count; l += 24) {
        __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0;
        const float *c = cosines + l;
        for (int k = 0; k < bins; ++k, c += stride) {
            const __m256 p = _mm256_set1_ps(power[k]);
            a0 = _mm256_add_ps(a0, _mm256_mul_ps(p, _mm256_loadu_ps(c)));
            a1 = _mm256_add_ps(a1, _mm256_mul_ps(p, _mm256_loadu_ps(c + 8)));
            a2 = _mm256_add_ps(a2, _mm256_mul_ps(p, _mm256_loadu_ps(c + 16)));
        }
        _mm256_storeu_ps(acf + l, a0);
        _mm256_storeu_ps(acf + l + 8, a1);
        _mm256_storeu_ps(acf + l + 16, a2);
    }
    for (; l + 8 <= count; l += 8) {
        __m256 a = _mm256_setzero_ps();
        const float *c = cosines + l;
        for (int k = 0; k < bins; ++k, c += stride)
            a = _mm256_add_ps(a, _mm256_mul_ps(_mm256_set1_ps(power[k]), _mm256_loadu_ps(c)));
        _mm256_storeu_ps(acf + l, a);
    }
    _mm256_zeroupper();
    if (l < count)
        sumCosines(power, bins, cosines + l, stride, count - l, acf + l);
}
#endif

using SumCosines = void (*)(const float *, int, const float *, int, int, float *);

SumCosines pickSumCosines()
{
#ifdef KORV_X86_DISPATCH
    if (__builtin_cpu_supports("avx"))
        return sumCosinesAvx;
#endif
    return sumCosines;
}

std::mutex &plannerLock()
{
    // FFTW's planner is not thread-safe; its execution is.
    static std::mutex lock;
    return lock;
}

// The power spectrum of a real signal of 2 m samples from a complex
// transform of m points, its even samples the real parts and its odd ones
// the imaginary: FFTW transforms complex data with vector instructions and
// real data without, so for the short transforms here, run hundreds of
// thousands of times a film, this is about half the time.
class RealPowerSpectrum {
public:
    explicit RealPowerSpectrum(int size) : m(size / 2)
    {
        buffer = static_cast<fftwf_complex *>(fftwf_malloc(sizeof(fftwf_complex) * m));
        transformed = static_cast<fftwf_complex *>(fftwf_malloc(sizeof(fftwf_complex) * m));
        {
            std::lock_guard<std::mutex> lock(plannerLock());
            plan = fftwf_plan_dft_1d(m, buffer, transformed, FFTW_FORWARD, FFTW_ESTIMATE);
        }
        cosines.resize(m + 1);
        sines.resize(m + 1);
        for (int k = 0; k <= m; ++k) {
            cosines[k] = float(std::cos(M_PI * k / m));
            sines[k] = float(std::sin(M_PI * k / m));
        }
    }
    ~RealPowerSpectrum()
    {
        {
            std::lock_guard<std::mutex> lock(plannerLock());
            fftwf_destroy_plan(plan);
        }
        fftwf_free(buffer);
        fftwf_free(transformed);
    }
    RealPowerSpectrum(const RealPowerSpectrum &) = delete;
    RealPowerSpectrum &operator=(const RealPowerSpectrum &) = delete;

    // The 2 m samples to transform.
    float *input() { return reinterpret_cast<float *>(buffer); }
    void transform() { fftwf_execute(plan); }
    // |X[k]|^2 of the real transform for k in [from, to), into power[k - from].
    void powers(int from, int to, float *power) const
    {
        const float *t = reinterpret_cast<const float *>(transformed);
        int k = from;
#ifdef __SSE2__
        // Four bins at once where k and m - k stay inside the transform:
        // the same arithmetic, in the same order, as one bin at a time.
        if (k < 1)
            k = bin(t, k, from, power);
        const __m128 half = _mm_set1_ps(0.5f);
        for (; k + 4 <= to && k + 3 <= m - 1; k += 4) {
            const __m128 a0 = _mm_loadu_ps(t + 2 * k), a1 = _mm_loadu_ps(t + 2 * k + 4);
            const __m128 b0 = _mm_loadu_ps(t + 2 * (m - k - 3)), b1 = _mm_loadu_ps(t + 2 * (m - k - 1));
            const __m128 ar = _mm_shuffle_ps(a0, a1, _MM_SHUFFLE(2, 0, 2, 0)), ai = _mm_shuffle_ps(a0, a1, _MM_SHUFFLE(3, 1, 3, 1));
            const __m128 br = _mm_shuffle_ps(b1, b0, _MM_SHUFFLE(0, 2, 0, 2)), bi = _mm_shuffle_ps(b1, b0, _MM_SHUFFLE(1, 3, 1, 3));
            const __m128 er = _mm_mul_ps(half, _mm_add_ps(ar, br)), ei = _mm_mul_ps(half, _mm_sub_ps(ai, bi));
            const __m128 orr = _mm_mul_ps(half, _mm_add_ps(ai, bi)), oi = _mm_mul_ps(_mm_set1_ps(-0.5f), _mm_sub_ps(ar, br));
            const __m128 c = _mm_loadu_ps(cosines.data() + k), s = _mm_loadu_ps(sines.data() + k);
            const __m128 xr = _mm_add_ps(_mm_add_ps(er, _mm_mul_ps(c, orr)), _mm_mul_ps(s, oi));
            const __m128 xi = _mm_sub_ps(_mm_add_ps(ei, _mm_mul_ps(c, oi)), _mm_mul_ps(s, orr));
            _mm_storeu_ps(power + k - from, _mm_add_ps(_mm_mul_ps(xr, xr), _mm_mul_ps(xi, xi)));
        }
#endif
        while (k < to)
            k = bin(t, k, from, power);
    }

private:
    // Bin k alone; returns k + 1.
    int bin(const float *t, int k, int from, float *power) const
    {
        // The transforms of the even samples (e) and of the odd ones (o),
        // then X[k] = e + exp(-i pi k / m) o.
        const int ka = k < m ? k : k - m, kb = k > 0 ? m - k : 0;
        const float ar = t[2 * ka], ai = t[2 * ka + 1], br = t[2 * kb], bi = t[2 * kb + 1];
        const float er = 0.5f * (ar + br), ei = 0.5f * (ai - bi);
        const float orr = 0.5f * (ai + bi), oi = -0.5f * (ar - br);
        const float c = cosines[k], s = sines[k];
        const float xr = (er + c * orr) + s * oi, xi = (ei + c * oi) - s * orr;
        power[k - from] = xr * xr + xi * xi;
        return k + 1;
    }

    int m;
    fftwf_complex *buffer = nullptr, *transformed = nullptr;
    fftwf_plan plan = nullptr;
    std::vector<float> cosines, sines; // of pi k / m
};

} // namespace

struct SpeechFeatureSink::State {
    int rate = 0;
    int factor = 1;   // input samples per analysis sample
    int decRate = 0;  // analysis rate
    qint64 nextInput = 0; // input sample index (from the film's start) expected next
    float partial[maxFactor] = {}; // a group a block's end cut short
    int partialCount = 0;
    std::vector<float> dec; // analysis samples from index decBase on
    qint64 decBase = 0;
    qint64 nextFrame = 0;
    SpeechFeatures out;

    RealPowerSpectrum bandSpectrum{fftSize};
    std::vector<float> window;
    float scale = 1;
    std::array<int, SpeechFeatures::bands + 1> bandBin{};

    // Voicing.
    RealPowerSpectrum voiceSpectrum{voiceSize};
    std::vector<float> voiceWindow;
    int voiceLowBin = 1, voiceHighBin = 1, shortestLag = 1, lags = 1, lagStride = 8; // lags rounded up to eights
    std::vector<float> binWeight;    // by bin
    std::vector<float> cosines;      // by bin, then by lag: the weighted cosine of each bin at each lag
    std::vector<float> inverseTaper; // by lag: what the window alone leaves of a period
    double lagMs = 0;                // milliseconds per lag
    SumCosines sumCosinesNow = pickSumCosines();

    State()
    {
        voiceWindow.resize(voiceSize);
        for (int n = 0; n < voiceSize; ++n)
            voiceWindow[n] = float(0.5 - 0.5 * std::cos(2 * M_PI * (n + 0.5) / voiceSize));
        window.resize(fftSize);
        double sumSquares = 0;
        for (int n = 0; n < fftSize; ++n) {
            window[n] = float(0.5 - 0.5 * std::cos(2 * M_PI * (n + 0.5) / fftSize));
            sumSquares += double(window[n]) * window[n];
        }
        // A full-scale sine gives 0 dB in its band.
        scale = float(4.0 / (fftSize * sumSquares));
    }

    // The autocorrelation at lag l of a power spectrum P over bins k of a
    // transform of acfSize: P[0] + 2 sum P[k] cos(2 pi k l / acfSize). The
    // window's own, the same way: a perfectly periodic sound gives the
    // window's shape at its period, so dividing by it makes a long period
    // count as much as a short one.
    void startVoicing()
    {
        const double voiceRate = double(decRate) / voiceFactor;
        const double binHz = voiceRate / voiceSize;
        voiceLowBin = std::max(1, int(std::ceil(voiceLowHz / binHz)));
        voiceHighBin = std::min(voiceSize / 2 - 1, int(std::floor(voiceHighHz / binHz)));
        binWeight.assign(voiceSize / 2 + 1, 0.f);
        for (int k = voiceLowBin; k <= voiceHighBin; ++k)
            binWeight[k] = float(k) / voiceHighBin;
        const double acfRate = 2 * voiceRate;
        lagMs = 1000 / acfRate;
        shortestLag = int(std::ceil(shortestPeriod * acfRate));
        const int longestLag = std::min(acfSize / 2, int(std::floor(longestPeriod * acfRate)));
        lags = longestLag - shortestLag + 1;
        lagStride = (lags + 7) / 8 * 8; // whole AVX vectors
        auto cosine = [](int k, int l) { return std::cos(2 * M_PI * k * l / acfSize); };
        cosines.assign(size_t(voiceHighBin - voiceLowBin + 1) * lagStride, 0.f);
        for (int k = voiceLowBin; k <= voiceHighBin; ++k)
            for (int l = 0; l < lags; ++l)
                cosines[size_t(k - voiceLowBin) * lagStride + l] = float(2 * binWeight[k] * cosine(k, shortestLag + l));
        std::vector<double> windowPower(voiceSize / 2 + 1);
        for (int k = 0; k <= voiceSize / 2; ++k) {
            double re = 0, im = 0;
            for (int n = 0; n < voiceSize; ++n) {
                re += voiceWindow[n] * std::cos(2 * M_PI * k * n / voiceSize);
                im -= voiceWindow[n] * std::sin(2 * M_PI * k * n / voiceSize);
            }
            windowPower[k] = re * re + im * im;
        }
        auto windowAcf = [&](int l) {
            double sum = 0;
            for (int k = 0; k <= voiceSize / 2; ++k)
                sum += (k == 0 ? 1 : 2) * windowPower[k] * cosine(k, l);
            return sum;
        };
        const double atZero = windowAcf(0);
        inverseTaper.assign(lags, 0.f);
        for (int l = 0; l < lags; ++l) {
            const double here = windowAcf(shortestLag + l);
            inverseTaper[l] = here > 1e-6 * atZero ? float(atZero / here) : 0.f;
        }
    }

    void start(int sampleRate)
    {
        rate = sampleRate;
        factor = std::clamp(sampleRate / analysisRate, 1, maxFactor);
        decRate = sampleRate / factor;
        const double binHz = double(decRate) / fftSize;
        const int top = fftSize / 2;
        for (int b = 0; b <= SpeechFeatures::bands; ++b)
            bandBin[b] = std::clamp(int(std::ceil(bandEdges[b] / binHz)), 1, top);
        startVoicing();
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
            if (centre + keptHalf > available)
                break;
            const qint64 from = first - decBase;
            float *in = bandSpectrum.input();
            if (from >= 0) {
                const float *src = dec.data() + from;
                for (int n = 0; n < fftSize; ++n)
                    in[n] = src[n] * window[n];
            } else { // the film's first 8 ms
                for (int n = 0; n < fftSize; ++n)
                    in[n] = from + n >= 0 ? dec[from + n] * window[n] : 0.f;
            }
            bandSpectrum.transform();
            analyse();
            // Voicing every other frame: its window is three frames long, so
            // the frame between two computed ones is their mean.
            if (nextFrame % 2 == 0) {
                voicing(centre - voiceHalf - decBase);
                interpolateVoicing();
            }
            ++nextFrame;
        }
        // Keep only what later windows still need.
        const qint64 keepFrom = (2 * nextFrame + 1) * decRate / 200 - keptHalf;
        if (keepFrom - decBase > 4096) {
            dec.erase(dec.begin(), dec.begin() + (keepFrom - decBase));
            decBase = keepFrom;
        }
    }

    void analyse()
    {
        float power[fftSize / 2 + 1];
        bandSpectrum.powers(bandBin[0], bandBin[SpeechFeatures::bands], power);
        // Written in place: a frame put together on the stack byte by byte
        // and then copied out as words stalls the processor on every frame.
        SpeechFrame &f = out.frames.emplace_back();
        for (int b = 0; b < SpeechFeatures::bands; ++b) {
            float sum = 1e-12f;
            for (int k = bandBin[b]; k < bandBin[b + 1]; ++k)
                sum += power[k - bandBin[0]];
            f.band[b] = quantise(dbPerLog2 * fastLog2(sum * scale), SpeechFrame::levelFloor, SpeechFrame::levelStep);
        }
    }

    // The frame before the last, between two whose voicing was computed,
    // takes their mean and the period of the more voiced.
    void interpolateVoicing()
    {
        const size_t n = out.frames.size();
        if (n < 3)
            return;
        const SpeechFrame &a = out.frames[n - 3], &b = out.frames[n - 1];
        SpeechFrame &between = out.frames[n - 2];
        between.voicing = quint8((a.voicing + b.voicing + 1) / 2);
        between.period = a.voicing >= b.voicing ? a.period : b.period;
    }

    // The last frame's voicing, from the analysis samples from `from` (an
    // index into dec, negative before the film's start) on.
    void voicing(qint64 from)
    {
        float *voiceIn = voiceSpectrum.input();
        int n = 0;
#ifdef __SSE2__
        // Four samples at once once inside the film: sixteen analysis
        // samples turned so that each vector holds every fourth, then added
        // as the samples one at a time are.
        for (; from >= 0 && n + 4 <= voiceSize; n += 4, from += 4 * voiceFactor) {
            const float *x = dec.data() + from;
            __m128 r0 = _mm_loadu_ps(x), r1 = _mm_loadu_ps(x + 4), r2 = _mm_loadu_ps(x + 8), r3 = _mm_loadu_ps(x + 12);
            _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
            const __m128 sum = _mm_add_ps(_mm_add_ps(r0, r1), _mm_add_ps(r2, r3));
            _mm_storeu_ps(voiceIn + n, _mm_mul_ps(sum, _mm_loadu_ps(voiceWindow.data() + n)));
        }
#endif
        for (; n < voiceSize; ++n, from += voiceFactor) {
            float sum = 0;
            if (from >= 0) {
                const float *x = dec.data() + from;
                sum = (x[0] + x[1]) + (x[2] + x[3]);
            } else {
                for (int m = 0; m < voiceFactor; ++m)
                    sum += from + m >= 0 ? dec[from + m] : 0.f;
            }
            voiceIn[n] = sum * voiceWindow[n];
        }
        voiceSpectrum.transform();
        float power[voiceSize / 2 + 1];
        voiceSpectrum.powers(voiceLowBin, voiceHighBin + 1, power);
        float zero = 0;
        for (int k = voiceLowBin; k <= voiceHighBin; ++k)
            zero += 2 * binWeight[k] * power[k - voiceLowBin];
        float acf[acfSize / 2 + 4];
        sumCosinesNow(power, voiceHighBin - voiceLowBin + 1, cosines.data(), lagStride, lagStride, acf);
        SpeechFrame &f = out.frames.back();
        if (!(zero > 1e-14f))
            return; // silence: no voicing, no period
        // The highest, the first of equals; none over 0 leaves the shortest.
        float best = 0;
        int bestLag = 0;
        int l = 0;
#ifdef __SSE2__
        // The weighted values kept, so that finding the first of the highest
        // is a few vector compares rather than a multiply a lag.
        float weighted[acfSize / 2 + 4];
        __m128 top = _mm_setzero_ps();
        for (; l + 4 <= lags; l += 4) {
            const __m128 v = _mm_mul_ps(_mm_loadu_ps(acf + l), _mm_loadu_ps(inverseTaper.data() + l));
            _mm_storeu_ps(weighted + l, v);
            top = _mm_max_ps(top, v);
        }
        top = _mm_max_ps(top, _mm_shuffle_ps(top, top, _MM_SHUFFLE(1, 0, 3, 2)));
        top = _mm_max_ps(top, _mm_shuffle_ps(top, top, _MM_SHUFFLE(2, 3, 0, 1)));
        best = _mm_cvtss_f32(top);
        for (; l < lags; ++l) {
            weighted[l] = acf[l] * inverseTaper[l];
            best = std::max(best, weighted[l]);
        }
        if (best > 0) {
            const __m128 wanted = _mm_set1_ps(best);
            int mask = 0;
            for (; bestLag + 4 <= lags; bestLag += 4)
                if ((mask = _mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(weighted + bestLag), wanted))) != 0)
                    break;
            if (mask != 0)
                bestLag += __builtin_ctz(unsigned(mask));
            else
                while (weighted[bestLag] != best)
                    ++bestLag;
        }
#else
        for (; l < lags; ++l) {
            const float v = acf[l] * inverseTaper[l];
            if (v > best)
                best = v, bestLag = l;
        }
#endif
        bestLag += shortestLag;
        f.voicing = quint8(std::clamp(best / zero * 200.f + 0.5f, 0.f, 200.f));
        f.period = quint8(std::clamp(bestLag * lagMs * 10 + 0.5, 1.0, 255.0));
    }

    // Averages groups of input samples, summed as a tree: a chain of
    // additions would wait on each other, and this loop sees every sample
    // of the film. Every group is summed in the same order, however the
    // blocks cut it, so the features do not depend on the decoder's blocks.
    static float average6(const float *x) { return ((x[0] + x[1]) + (x[2] + x[3]) + (x[4] + x[5])) * (1.f / 6); }
    static float average5(const float *x) { return ((x[0] + x[1]) + (x[2] + x[3]) + x[4]) * (1.f / 5); }
    static float average(const float *x, int factor)
    {
        if (factor == 6)
            return average6(x);
        if (factor == 5)
            return average5(x);
        float sum = 0;
        for (int m = 0; m < factor; ++m)
            sum += x[m];
        return sum / factor;
    }
    static void decimate6(const float *x, qsizetype groups, float *d)
    {
        qsizetype g = 0;
#ifdef __SSE2__
        // Four groups at once: 24 samples turned into six vectors of every
        // sixth sample, then added in the order average6() adds them.
        const __m128 sixth = _mm_set1_ps(1.f / 6);
        for (; g + 4 <= groups; g += 4, x += 24) {
            const __m128 a = _mm_loadu_ps(x), b = _mm_loadu_ps(x + 4), c = _mm_loadu_ps(x + 8),
                         dd = _mm_loadu_ps(x + 12), e = _mm_loadu_ps(x + 16), f = _mm_loadu_ps(x + 20);
            const __m128 u0 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 2, 1, 0)), w0 = _mm_shuffle_ps(dd, e, _MM_SHUFFLE(3, 2, 1, 0));
            const __m128 u1 = _mm_shuffle_ps(a, c, _MM_SHUFFLE(1, 0, 3, 2)), w1 = _mm_shuffle_ps(dd, f, _MM_SHUFFLE(1, 0, 3, 2));
            const __m128 u2 = _mm_shuffle_ps(b, c, _MM_SHUFFLE(3, 2, 1, 0)), w2 = _mm_shuffle_ps(e, f, _MM_SHUFFLE(3, 2, 1, 0));
            const __m128 v0 = _mm_shuffle_ps(u0, w0, _MM_SHUFFLE(2, 0, 2, 0)), v1 = _mm_shuffle_ps(u0, w0, _MM_SHUFFLE(3, 1, 3, 1));
            const __m128 v2 = _mm_shuffle_ps(u1, w1, _MM_SHUFFLE(2, 0, 2, 0)), v3 = _mm_shuffle_ps(u1, w1, _MM_SHUFFLE(3, 1, 3, 1));
            const __m128 v4 = _mm_shuffle_ps(u2, w2, _MM_SHUFFLE(2, 0, 2, 0)), v5 = _mm_shuffle_ps(u2, w2, _MM_SHUFFLE(3, 1, 3, 1));
            const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_add_ps(v0, v1), _mm_add_ps(v2, v3)), _mm_add_ps(v4, v5));
            _mm_storeu_ps(d + g, _mm_mul_ps(sum, sixth));
        }
#endif
        for (; g < groups; ++g, x += 6)
            d[g] = average6(x);
    }

#ifdef KORV_X86_DISPATCH
    // Eight groups at once: the four-group turn above in each half of the
    // register (AVX shuffles stay within halves), the same additions in the
    // same order, so the same features as without AVX.
    __attribute__((target("avx"))) static void decimate6Avx(const float *x, qsizetype groups, float *d)
    {
        qsizetype g = 0;
        const __m256 sixth = _mm256_set1_ps(1.f / 6);
#define load(p) _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p)), _mm_loadu_ps((p) + 24), 1)
        for (; g + 8 <= groups; g += 8, x += 48) {
            const __m256 a = load(x), b = load(x + 4), c = load(x + 8), dd = load(x + 12), e = load(x + 16), f = load(x + 20);
            const __m256 u0 = _mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 2, 1, 0)), w0 = _mm256_shuffle_ps(dd, e, _MM_SHUFFLE(3, 2, 1, 0));
            const __m256 u1 = _mm256_shuffle_ps(a, c, _MM_SHUFFLE(1, 0, 3, 2)), w1 = _mm256_shuffle_ps(dd, f, _MM_SHUFFLE(1, 0, 3, 2));
            const __m256 u2 = _mm256_shuffle_ps(b, c, _MM_SHUFFLE(3, 2, 1, 0)), w2 = _mm256_shuffle_ps(e, f, _MM_SHUFFLE(3, 2, 1, 0));
            const __m256 v0 = _mm256_shuffle_ps(u0, w0, _MM_SHUFFLE(2, 0, 2, 0)), v1 = _mm256_shuffle_ps(u0, w0, _MM_SHUFFLE(3, 1, 3, 1));
            const __m256 v2 = _mm256_shuffle_ps(u1, w1, _MM_SHUFFLE(2, 0, 2, 0)), v3 = _mm256_shuffle_ps(u1, w1, _MM_SHUFFLE(3, 1, 3, 1));
            const __m256 v4 = _mm256_shuffle_ps(u2, w2, _MM_SHUFFLE(2, 0, 2, 0)), v5 = _mm256_shuffle_ps(u2, w2, _MM_SHUFFLE(3, 1, 3, 1));
            const __m256 sum = _mm256_add_ps(_mm256_add_ps(_mm256_add_ps(v0, v1), _mm256_add_ps(v2, v3)), _mm256_add_ps(v4, v5));
            _mm256_storeu_ps(d + g, _mm256_mul_ps(sum, sixth));
        }
#undef load
        _mm256_zeroupper();
        decimate6(x, groups - g, d + g);
    }
#endif
    using Decimate = void (*)(const float *, qsizetype, float *);
    static Decimate pickDecimate6()
    {
#ifdef KORV_X86_DISPATCH
        if (__builtin_cpu_supports("avx"))
            return decimate6Avx;
#endif
        return decimate6;
    }
    Decimate decimate6Now = pickDecimate6();

    void push(const float *x, qsizetype count)
    {
        qsizetype i = 0;
        // Finish the group a previous block began.
        while (partialCount > 0 && i < count) {
            partial[partialCount++] = x[i++];
            if (partialCount == factor) {
                dec.push_back(average(partial, factor));
                partialCount = 0;
            }
        }
        const qsizetype groups = (count - i) / factor;
        const size_t old = dec.size();
        dec.resize(old + groups);
        float *d = dec.data() + old;
        if (factor == 6) {
            decimate6Now(x + i, groups, d); // 48 kHz, the films' usual rate
        } else {
            for (qsizetype g = 0; g < groups; ++g)
                d[g] = average(x + i + g * factor, factor);
        }
        i += groups * factor;
        for (; i < count; ++i)
            partial[partialCount++] = x[i];
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

SpeechFeatureSink::SpeechFeatureSink() : d(std::make_unique<State>())
{
    // Room for four hours at once: the system hands over only the pages
    // written, and a growing vector would copy its frames over and over,
    // each time into memory new to the process.
    d->out.frames.reserve(size_t(4) * 3600 * 1000 / SpeechFeatures::frameMs);
}
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
    d->silence(qint64(2 * keptHalf) * d->factor);
    // A last frame with no computed one after it keeps the one before's.
    if (auto &all = d->out.frames; all.size() >= 2 && d->nextFrame % 2 == 0) {
        all.back().voicing = all[all.size() - 2].voicing;
        all.back().period = all[all.size() - 2].period;
    }
    if (qint64(d->out.frames.size()) > frames)
        d->out.frames.resize(frames);
}

quint32 SpeechFeatureSink::sectionTag() const
{
    return korv::sound::sectionTag("SPCH");
}

bool SpeechFeatureSink::restore(const QByteArray &bytes)
{
    auto kept = SpeechFeatures::deserialise(bytes);
    if (!kept)
        return false;
    d->out = std::move(*kept);
    return true;
}

const SpeechFeatures &SpeechFeatureSink::features() const
{
    return d->out;
}

SpeechFeatures SpeechFeatureSink::take()
{
    SpeechFeatures f = std::move(d->out);
    d->out = {};
    return f;
}

} // namespace korv::sound
