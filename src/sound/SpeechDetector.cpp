#include "sound/SpeechDetector.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korv::sound {
namespace {

constexpr int framesPerSecond = 1000 / SpeechFeatures::frameMs;

// The floor of each band: a low percentile of its level over the seconds
// around. Steady noise and a music bed sit at their floor; a voice rises
// above it, quiet or loud, wherever in the film.
constexpr int floorReach = 250;   // frames either way (2.5 s)
constexpr int floorStride = 5;    // frames between evaluations
constexpr double floorShare = 0.1;

// A low percentile of `values` (0-255) over the frames around each frame,
// as a value of the same scale: one for each floorStride frames, as it
// changes no oftener. The histogram's cut is moved from where it
// was, not searched again: the window moves by a few frames at a time, so
// the percentile moves by a few steps, and a film has hundreds of
// thousands of frames.
template<typename Step>
std::vector<quint8> localPercentile(int n, Step step, double share)
{
    std::vector<quint8> result((n + floorStride - 1) / floorStride, 0);
    std::array<int, 256> histogram{};
    int inWindow = 0, lo = 0, hi = 0; // window [lo, hi)
    int level = 0, below = 0;         // the cut, and how many lie under it
    for (int t = 0; t < n; t += floorStride) {
        const int wantLo = std::max(0, t - floorReach), wantHi = std::min(n, t + floorReach + 1);
        for (; hi < wantHi; ++hi, ++inWindow) {
            const int v = step(hi);
            ++histogram[v];
            below += v < level;
        }
        for (; lo < wantLo; ++lo, --inWindow) {
            const int v = step(lo);
            --histogram[v];
            below -= v < level;
        }
        // The lowest level whose count from the bottom passes the rank
        // (255 when none does).
        const int rank = int(inWindow * share);
        while (level > 0 && below > rank)
            below -= histogram[--level];
        while (level < 255 && below + histogram[level] <= rank)
            below += histogram[level++];
        result[t / floorStride] = quint8(level);
    }
    return result;
}

// The loudest and the quietest of the frames around each frame, for
// frames [first, first + count): before[i] and after[i] over the `reach`
// frames before and after frame first + i (and it), near[i] over the 5
// either side. Windows are cut at the film's ends. Extremes of 2, 4, 8
// and then 16 frames are made from those of half the length, in place, so
// every window is two overlapping ones: a few vector operations a frame,
// in a buffer that stays in the cache.
struct Extremes {
    static constexpr int reach = 30;
    std::vector<float> loud, low; // frames first - reach ... first + count + reach - 1, then 16 more past the film
    int first = 0, length = 0;

    void fill(const std::vector<float> &level, int from, int count)
    {
        first = from;
        const int n = int(level.size());
        length = count + 2 * reach;
        loud.resize(length + 16);
        low.resize(length + 16);
        for (int i = 0; i < length; ++i) {
            const int t = from - reach + i;
            const bool inside = t >= 0 && t < n;
            loud[i] = inside ? level[t] : -HUGE_VALF;
            low[i] = inside ? level[t] : HUGE_VALF;
        }
        for (int i = length; i < length + 16; ++i)
            loud[i] = -HUGE_VALF, low[i] = HUGE_VALF;
    }
    // Extremes over `span` frames from each frame on, from those over half.
    void doubleSpan(int half)
    {
        float *a = loud.data(), *b = low.data();
        for (int i = 0; i + half < length + 16; ++i) {
            a[i] = std::max(a[i], a[i + half]);
            b[i] = std::min(b[i], b[i + half]);
        }
    }
    int local(int t) const { return t - first + reach; }
};

double toPower(double db) { return std::pow(10.0, db / 10); }

// The passes over every frame of the film work in single precision with
// base-2 exponents and logarithms: the levels come in half-decibel steps,
// far coarser than a float's error, and these passes run hundreds of
// thousands of times a film.
inline float toPowerF(float db) { return std::exp2(db * 0.33219281f); }       // 10^(db/10)
inline float toDecibelsF(float power) { return 3.0103f * std::log2(power); } // 10 log10(power)

// The power of each quantised level: the levels come in 256 steps, so their
// powers are looked up, not computed for every frame and band.
const std::array<float, 256> &levelPowers()
{
    static const std::array<float, 256> powers = [] {
        std::array<float, 256> p{};
        for (int q = 0; q < 256; ++q)
            p[q] = float(toPower(SpeechFrame::levelFloor + q * SpeechFrame::levelStep));
        return p;
    }();
    return powers;
}

} // namespace

std::vector<SpeechSpan> detectSpeech(const SpeechFeatures &f)
{
    const int n = int(f.frames.size());
    std::vector<SpeechSpan> spans;
    if (n == 0)
        return spans;
    const std::array<float, 256> &power = levelPowers();
    // Each band's floor, as a level step (the lowest band has none: it
    // tells a voice from nothing here).
    std::array<std::vector<quint8>, SpeechFeatures::bands> floors;
    for (int b = 1; b < SpeechFeatures::bands; ++b)
        floors[b] = localPercentile(n, [&](int t) { return f.frames[t].band[b]; }, floorShare);

    // What is known of each frame as yes or no, or a small count, in one
    // byte: a film has hundreds of thousands of frames, and each array of
    // them is memory the system must hand over page by page, which costs
    // more than the passes that fill it.
    enum : quint8 {
        brightFlag = 1,      // see below
        activeShift = 1,     // bits 1-2: how many formant bands stand out
        syllableFlag = 8,    // a syllable's peak near (see the swing)
        nearLoudFlag = 16,   // within 35 dB of the loudest around
        speechFlag = 32,     // taken for speech
    };
    std::vector<quint8> flags(n, 0);
    auto bright = [&](int t) { return (flags[t] & brightFlag) != 0; };
    auto active = [&](int t) { return (flags[t] >> activeShift) & 3; };
    // A voice has formants above 1.6 kHz: its highs lie within 40 dB of its
    // lows, where a bass line, a drum or a low chord has next to nothing.
    // How far the voice's bands (300-3900 Hz) stand over their floors, and
    // in how many of the three formant bands a voice would show (6 dB: 12
    // level steps).
    std::vector<float> level(n), steadyOver(n); // steadyOver holds the level over the floor first
    std::vector<float> floorLevel((n + floorStride - 1) / floorStride); // one for each floorStride frames
    auto floorAt = [&](int t) { return floorLevel[t / floorStride]; };
    for (int t = 0; t < n; ++t) {
        const SpeechFrame &fr = f.frames[t];
        const int stride = t / floorStride;
        const float lows = power[fr.band[1]] + power[fr.band[2]];
        const float highs = power[fr.band[3]] + power[fr.band[4]];
        float sum = 0;
        int bands = 0;
        for (int b = 1; b < SpeechFeatures::bands; ++b) {
            sum += power[fr.band[b]];
            if (b <= 3 && fr.band[b] - floors[b][stride] > 12)
                ++bands;
        }
        level[t] = toDecibelsF(std::max(sum, 1e-30f));
        if (t % floorStride == 0) {
            float floor = 0;
            for (int b = 1; b < SpeechFeatures::bands; ++b)
                floor += power[floors[b][stride]];
            floorLevel[stride] = toDecibelsF(std::max(floor, 1e-30f));
        }
        steadyOver[t] = level[t] - floorLevel[stride];
        flags[t] = quint8((highs > lows * 1e-4f ? brightFlag : 0) | bands << activeShift);
    }
    for (auto &floor : floors)
        std::vector<quint8>().swap(floor);
    // A voice is voiced: its vowels repeat themselves at the pitch, where
    // noise, a hit, a hi-hat and most of a film's music do not.
    auto voicing = [&](int t) { return float(f.frames[t].voiced()); };
    constexpr float clearlyVoiced = 0.8f;

    // A voice comes in syllables: within the 300 ms before any moment of
    // speech and within the 300 ms after it, its level moves by 15 dB and
    // more, where noise and most music hold theirs; a swell of music that
    // then holds moves on one side only. 300 ms, not less: a line's last
    // vowel is often held that long.
    // The range does not tell a peak from a ramp: music fading back in after
    // a line has a wide range on both sides too. A syllable stands over the
    // quietest of the 300 ms before it and of the 300 ms after it.
    std::vector<float> swing(n);
    {
        constexpr int chunk = 4096;
        Extremes e;
        std::vector<float> peak(chunk);
        for (int from = 0; from < n; from += chunk) {
            const int count = std::min(chunk, n - from);
            e.fill(level, from, count);
            e.doubleSpan(1);
            e.doubleSpan(2);
            e.doubleSpan(4); // over 8 frames: the loudest of the 5 either side
            for (int t = from; t < from + count; ++t) {
                const int i = e.local(t);
                peak[t - from] = std::max(e.loud[i - 5], e.loud[i - 2]);
            }
            e.doubleSpan(8); // over 16: of the 30 before and after
            for (int t = from; t < from + count; ++t) {
                const int i = e.local(t);
                const float lb = std::max(e.loud[i - 30], e.loud[i - 15]), qb = std::min(e.low[i - 30], e.low[i - 15]);
                const float la = std::max(e.loud[i], e.loud[i + 15]), qa = std::min(e.low[i], e.low[i + 15]);
                const float h = peak[t - from];
                swing[t] = std::min(lb - qb, la - qa);
                if (std::min(h - qb, h - qa) > 10)
                    flags[t] |= syllableFlag;
                if (level[t] >= std::max(lb, la) - 35)
                    flags[t] |= nearLoudFlag;
            }
        }
    }

    // How much the background itself swings sets how much a voice must:
    // steady noise little, music much (in level steps).
    const std::vector<quint8> usualSwingSteps =
        localPercentile(n, [&](int t) { return std::clamp(int(swing[t] * 2), 0, 255); }, 0.2);
    auto usualSwing = [&](int t) { return float(usualSwingSteps[t / floorStride] * SpeechFrame::levelStep); };

    // The level over the floor, averaged over 50 ms: in noise a syllable's
    // frames scatter around the threshold. Worked out in place, the powers
    // of the five frames kept aside.
    {
        std::array<float, 8> overPower{};
        int ready = 0; // powers of the frames before this are in overPower
        for (int t = 0; t < n; ++t) {
            for (; ready < n && ready <= t + 2; ++ready)
                overPower[ready & 7] = toPowerF(steadyOver[ready]);
            float sum = 0;
            int count = 0;
            for (int k = std::max(0, t - 2); k <= std::min(n - 1, t + 2); ++k, ++count)
                sum += overPower[k & 7];
            steadyOver[t] = toDecibelsF(sum / float(count));
        }
    }
    // A voice must stand clearly over its background somewhere (a core),
    // and is all of the stretch around it where it stands somewhat over it:
    // weak first and last syllables belong to the word they begin or end.
    // Over a floor of digital silence anything stands out, so a voice is
    // also within 35 dB of the loudest of the 300 ms around it.
    for (int t = 0; t < n;) {
        // Where the background itself swings much (music), standing a few
        // decibels over its floor is what it does on its own.
        auto lax = [&](int k) {
            return bright(k) && (flags[k] & nearLoudFlag) && steadyOver[k] > std::max(2.5f, usualSwing(k) * 0.75f) &&
                   swing[k] > std::clamp(usualSwing(k) + 4.f, 7.f, 13.f);
        };
        if (!lax(t)) {
            ++t;
            continue;
        }
        int e = t;
        int cores = 0;
        // In dense dialogue the swing around is the voice's own, and a first
        // syllable may not beat it; clearly voiced, it needs only a syllable's
        // swing and one formant band.
        for (; e < n && lax(e); ++e)
            cores += (flags[e] & syllableFlag) && bright(e) && steadyOver[e] > 6 &&
                     ((active(e) >= 2 && swing[e] > std::clamp(usualSwing(e) + 8.f, 11.f, 17.f)) ||
                      (voicing(e) >= clearlyVoiced && active(e) >= 1 && swing[e] > 8));
        if (cores >= 3)
            for (int k = t; k < e; ++k)
                flags[k] |= speechFlag;
        t = e;
    }

    // Bridge the pauses inside a sentence; drop what is too short to be a
    // word, what is short and alone (a short word is said within a second
    // of its sentence, a note or a hit of music stands anywhere), and what
    // has not three clearly voiced frames (music's swells, drums and hits).
    constexpr int bridge = 12, shortest = 10, shortAlone = 20, sentenceReach = 100, voicedLeast = 3;
    int lastEnd = -1000;
    for (int t = 0; t < n;) {
        if (!(flags[t] & speechFlag)) {
            ++t;
            continue;
        }
        int e = t;
        while (e < n && (flags[e] & speechFlag))
            ++e;
        if (!spans.empty() && t - lastEnd <= bridge) {
            spans.back().end = e;
        } else {
            spans.push_back({double(t), double(e)});
        }
        lastEnd = e;
        t = e;
    }
    std::vector<SpeechSpan> kept;
    for (size_t i = 0; i < spans.size(); ++i) {
        SpeechSpan s = spans[i];
        if (s.end - s.start < shortest)
            continue;
        if (s.end - s.start < shortAlone) {
            bool nearSentence = false;
            for (size_t j = i > 3 ? i - 3 : 0; j < std::min(spans.size(), i + 4); ++j)
                nearSentence = nearSentence || (j != i && spans[j].end - spans[j].start >= shortAlone &&
                                                std::max(spans[j].start - s.end, s.start - spans[j].end) <= sentenceReach);
            if (!nearSentence)
                continue;
        }
        // The decision needs a few frames of evidence; the voice began where
        // its energy first stood clear of the floor, and ended where it sank
        // back, but never further than 38 dB under the span's loudest: that
        // is breath and room, not the line.
        int a = int(s.start), e = int(s.end);
        const float peak = *std::max_element(level.begin() + a, level.begin() + e);
        // Levels summed over three frames: one frame of noise neither ends a
        // word nor begins one. The background is the valley the voice rose
        // from (or sank into): the quietest of the 300 ms before the onset
        // (after the offset), whatever fills it, noise or music.
        auto smooth = [&](int t) {
            double sum = 0;
            int count = 0;
            for (int k = std::max(0, t - 1); k <= std::min(n - 1, t + 1); ++k, ++count)
                sum += toPower(level[k]);
            return 10 * std::log10(sum / count);
        };
        auto valley = [&](int from, int to) {
            double lowest = 1e9;
            for (int t = std::max(0, from); t < std::min(n, to); ++t)
                lowest = std::min(lowest, smooth(t));
            return lowest;
        };
        const double before = valley(a - 30, a), after = valley(e, e + 30);
        auto hears = [&](int t, double background) {
            return t >= 0 && t < n && bright(t) && smooth(t) > std::max(background + 5, double(floorAt(t)) + 3) &&
                   level[t] > peak - 38;
        };
        auto hearsSoon = [&](int t, int step, double background) {
            for (int k = 0; k < 3; ++k, t += step)
                if (hears(t, background))
                    return true;
            return false;
        };
        // Walking out from the word, the level must keep falling (back
        // before the onset not at all, after the offset within 2 dB): a rise
        // means the background's own sound, not the word.
        for (int k = 0; k < 25 && hearsSoon(a - 1, -1, before) && smooth(a - 1) <= smooth(a); ++k)
            --a;
        for (int k = 0; k < 10 && a + 1 < e && !hears(a, before); ++k)
            ++a;
        for (int k = 0; k < 30 && hearsSoon(e, 1, after) && smooth(e) <= smooth(e - 1) + 2; ++k)
            ++e;
        for (int k = 0; k < 10 && e - 1 > a && !hears(e - 1, after); ++k)
            --e;
        // What the background hides: the word's first and last decibels down
        // to 40 dB under its loudest lie under the background. Words fade in
        // at about 6 dB and out at about 2 dB per 10 ms; the hidden part is
        // that long.
        const double hiddenBefore = before + 5 - (peak - 40), hiddenAfter = after + 5 - (peak - 40);
        if (hiddenBefore > 0)
            a = std::max(0, a - std::min(5, int(hiddenBefore / 6)));
        if (hiddenAfter > 0)
            e = std::min(n, e + std::min(15, int(hiddenAfter / 2)));
        // A line begins voiced or with a hiss (its 1.6-3.9 kHz over its
        // 300-1600 Hz): before its first voiced frames, what is neither is
        // the background's (music fading under the line, a drum), not the
        // line.
        int firstVoiced = -1;
        for (int k = a; k < std::min(e, a + 60) && firstVoiced < 0; ++k)
            if (voicing(k) >= 0.7f)
                firstVoiced = k;
        if (firstVoiced > a + 5) {
            int from = firstVoiced, gap = 0;
            for (int k = firstVoiced - 1; k >= a && gap <= 2; --k) {
                const SpeechFrame &fr = f.frames[k];
                const double lows = power[fr.band[1]] + power[fr.band[2]];
                const double highs = power[fr.band[3]] + power[fr.band[4]];
                if (voicing(k) >= 0.55f || highs >= lows * 0.5) {
                    from = k;
                    gap = 0;
                } else {
                    ++gap;
                }
            }
            if (from > a + 5)
                a = from - 1;
        }
        // Walked out, two parts of one line may now nearly touch; a pause
        // after a line's first word is as short.
        if (!kept.empty() && a * 0.01 <= kept.back().end + 0.12 + 1e-9) {
            kept.back().end = e / double(framesPerSecond);
            continue;
        }
        // Standing apart, it must be voiced somewhere: a line's last word
        // may be faint under music, a swell, a drum or a hit is not voiced.
        int voiced = 0;
        for (int k = int(s.start); k < int(s.end); ++k)
            voiced += voicing(k) >= clearlyVoiced;
        if (voiced < voicedLeast)
            continue;
        kept.push_back({a / double(framesPerSecond), e / double(framesPerSecond)});
    }
    return kept;
}

} // namespace korv::sound
