// The speech edges measured: snapping late captures back onto the voice in
// each condition, fitting shifted and re-timed files, and the time each step
// takes against the decoding floor. Prints a table; see the README.
//
//   bench_speech [--minutes M] [--seeds S] [--conditions clean,pink-6dB,...]
#include "speech/SpeechSound.h"

#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"
#include "sound/SpeechFit.h"
#include "sound/SpeechSnap.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

using namespace korv;
using namespace korv::sound;
using korv::test::SpeechCondition;

namespace {

struct Tally {
    int starts = 0, startsNear = 0, ends = 0, endsNear = 0, foreign = 0;
    double speechFrames = 0, speechHit = 0, quietFrames = 0, quietHit = 0;
    void add(const Tally &o)
    {
        starts += o.starts, startsNear += o.startsNear, ends += o.ends, endsNear += o.endsNear, foreign += o.foreign;
        speechFrames += o.speechFrames, speechHit += o.speechHit, quietFrames += o.quietFrames, quietHit += o.quietHit;
    }
};

// Index of the line whose true edge is nearest to t.
size_t nearestLine(const std::vector<test::SpokenLine> &lines, double t, bool start)
{
    size_t best = 0;
    for (size_t i = 1; i < lines.size(); ++i)
        if (std::abs((start ? lines[i].start : lines[i].end) - t) < std::abs((start ? lines[best].start : lines[best].end) - t))
            best = i;
    return best;
}

Tally measure(const test::SpeechSound &s, const std::vector<SpeechSpan> &spans, unsigned seed, bool verbose)
{
    Tally tally;
    // Frames: how much of the truth is found, how much of the rest is taken.
    const int frames = int(s.seconds() * 100);
    std::vector<char> truth(frames, 0), found(frames, 0);
    for (const auto &l : s.lines)
        for (int k = int(l.start * 100); k < std::min(frames, int(l.end * 100)); ++k)
            truth[k] = 1;
    for (const auto &sp : spans)
        for (int k = int(std::lround(sp.start * 100)); k < std::min(frames, int(std::lround(sp.end * 100))); ++k)
            found[k] = 1;
    for (int k = 0; k < frames; ++k) {
        (truth[k] ? tally.speechFrames : tally.quietFrames) += 1;
        (truth[k] ? tally.speechHit : tally.quietHit) += found[k];
    }
    if (s.lines.empty())
        return tally;
    // Captures late by 120 to 450 ms, as a person's are.
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> late(0.12, 0.45);
    std::vector<RowTimes> rows;
    for (const auto &l : s.lines)
        rows.push_back({std::round((l.start + late(random)) * 1000) / 1000, std::round((l.end + late(random)) * 1000) / 1000});
    const SnapReport report = snapRows(SpeechEdges::of(spans), rows, SnapRules::forFrameRate(25), roundToStep(0.001));
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowTimes &r = report.rows[i];
        const bool startOk = std::abs(r.start - s.lines[i].start) <= 0.1;
        const bool endOk = std::abs(r.end - s.lines[i].end) <= 0.15;
        tally.starts++, tally.ends++;
        tally.startsNear += startOk;
        tally.endsNear += endOk;
        if (r.start != rows[i].start && nearestLine(s.lines, r.start, true) != i)
            ++tally.foreign;
        if (r.end != rows[i].end && nearestLine(s.lines, r.end, false) != i)
            ++tally.foreign;
        if (verbose && (!startOk || !endOk)) {
            std::printf("   spans:");
            for (const auto &sp : spans)
                if (sp.end > s.lines[i].start - 1.5 && sp.start < s.lines[i].end + 1.5)
                    std::printf(" [%.2f %.2f]", sp.start, sp.end);
            std::printf("\n");
        }
        if (verbose && (!startOk || !endOk))
            std::printf("    line %zu [%.2f %.2f] captured [%.3f %.3f] snapped [%.3f %.3f]%s%s\n", i, s.lines[i].start,
                        s.lines[i].end, rows[i].start, rows[i].end, r.start, r.end, startOk ? "" : " START",
                        endOk ? "" : " END");
    }
    if (verbose) {
        // Where the detected edge nearest to each true edge lies.
        std::vector<double> on, off;
        const SpeechEdges e = SpeechEdges::of(spans);
        for (const auto &l : s.lines) {
            auto near = [](const std::vector<double> &v, double t) {
                double best = 1e9;
                for (double x : v)
                    if (std::abs(x - t) < std::abs(best))
                        best = x - t;
                return best;
            };
            on.push_back(near(e.onsets, l.start));
            off.push_back(near(e.offsets, l.end));
        }
        std::sort(on.begin(), on.end());
        std::sort(off.begin(), off.end());
        auto p = [](const std::vector<double> &v, double q) { return v[size_t(q * (v.size() - 1))] * 1000; };
        std::printf("    onset error ms p10 %.0f p50 %.0f p90 %.0f; offset error p10 %.0f p50 %.0f p90 %.0f\n", p(on, .1),
                    p(on, .5), p(on, .9), p(off, .1), p(off, .5), p(off, .9));
    }
    return tally;
}

SpeechFeatures features(const test::SpeechSound &s)
{
    SpeechFeatureSink sink;
    test::feedSound(sink, s, 4096);
    return sink.take();
}

double percent(double a, double b) { return b > 0 ? 100.0 * a / b : 0; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    double minutes = 5;
    int seeds = 2;
    bool verbose = false;
    QStringList only;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--minutes") && i + 1 < args.size())
            minutes = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seeds") && i + 1 < args.size())
            seeds = args[++i].toInt();
        else if (args[i] == QLatin1String("--conditions") && i + 1 < args.size())
            only = args[++i].split(QLatin1Char(','));
        else if (args[i] == QLatin1String("--verbose"))
            verbose = true;
    }
    const QString cache = QStringLiteral(KORV_BENCH_MEDIA_DIR);
    const SpeechCondition all[] = {SpeechCondition::Clean,    SpeechCondition::Pink15,           SpeechCondition::Pink6,
                                   SpeechCondition::MusicBed, SpeechCondition::LoudMusicBetween, SpeechCondition::Silence,
                                   SpeechCondition::MusicOnly, SpeechCondition::NoiseOnly};
    std::printf("%-20s %6s %9s %9s %8s %10s %10s\n", "condition", "lines", "starts", "ends", "foreign", "speech hit",
                "rest taken");
    for (SpeechCondition c : all) {
        if (!only.isEmpty() && !only.contains(test::conditionName(c)))
            continue;
        Tally total;
        for (int seed = 1; seed <= seeds; ++seed) {
            const test::SpeechSound s = test::makeSpeechSound(c, minutes * 60, 100 + seed, cache);
            if (!s.error.isEmpty()) {
                std::printf("%s: %s\n", qPrintable(test::conditionName(c)), qPrintable(s.error));
                return 1;
            }
            const auto spans = detectSpeech(features(s));
            total.add(measure(s, spans, seed, verbose));
        }
        std::printf("%-20s %6d %8.1f%% %8.1f%% %8d %9.1f%% %9.1f%%\n", qPrintable(test::conditionName(c)), total.starts,
                    percent(total.startsNear, total.starts), percent(total.endsNear, total.ends), total.foreign,
                    percent(total.speechHit, total.speechFrames), percent(total.quietHit, total.quietFrames));
    }
    return 0;
}
