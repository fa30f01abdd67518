// The speech edges measured: snapping late captures back onto the voice in
// each condition, fitting shifted and re-timed files, and the time each step
// takes against the decoding floor. Prints a table; see the README.
//
//   bench_speech [--minutes M] [--seeds S] [--first-seed F] [--conditions clean,pink-6dB,...] [--verbose] [--dump DIR]
//                             sounds 100 + F .. 100 + F + S - 1 (default F = 1); a second set,
//                             e.g. --first-seed 11, checks figures on sentences nothing was tuned on
//   bench_speech --speed      the costs: snapping, fitting, the features against ffmpeg
//   bench_speech --webrtc     the same table with WebRTC's voice detector in place of ours
#include "speech/SpeechSound.h"

#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"
#include "sound/SpeechFit.h"
#include "sound/SpeechSnap.h"

#include "document/MicroDvdFormat.h"

#ifdef KORV_HAVE_WEBRTC_APM
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>
#endif

#include <QCoreApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <sys/resource.h>
#include <tuple>

using namespace korv;
using namespace korv::sound;
using korv::test::SpeechCondition;

namespace {

struct Tally {
    int starts = 0, startsNear = 0, ends = 0, endsNear = 0, foreign = 0;
    int singleStartsNear = 0, singleEndsNear = 0;
    double fitShiftWorst = 0, fitRateWorst = 0; // ms, the row farthest from the truth after fitting
    double speechFrames = 0, speechHit = 0, quietFrames = 0, quietHit = 0;
    void add(const Tally &o)
    {
        starts += o.starts, startsNear += o.startsNear, ends += o.ends, endsNear += o.endsNear, foreign += o.foreign;
        singleStartsNear += o.singleStartsNear, singleEndsNear += o.singleEndsNear;
        fitShiftWorst = std::max(fitShiftWorst, o.fitShiftWorst), fitRateWorst = std::max(fitRateWorst, o.fitRateWorst);
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
    const SpeechEdges edges = SpeechEdges::of(spans);
    const SnapReport report = snapRows(edges, rows, SnapRules::forFrameRate(25), roundToStep(0.001));
    for (size_t i = 0; i < rows.size(); ++i) {
        // The keypad's single captures, each on its own.
        tally.singleStartsNear += std::abs(snapStart(edges, rows[i].start, roundToStep(0.001)) - s.lines[i].start) <= 0.1;
        tally.singleEndsNear += std::abs(snapEnd(edges, rows[i].end, roundToStep(0.001)) - s.lines[i].end) <= 0.15;
    }
    // A well-timed file moved by 4.321 s, and one timed on a 23.976 fps copy
    // of this (25 fps) film; after fitting, how far is the worst row?
    auto worstAfterFit = [&](double ratio, double offset) {
        std::vector<RowTimes> moved;
        for (const auto &l : s.lines)
            moved.push_back({std::round((l.start * ratio + offset) * 1000) / 1000, std::round((l.end * ratio + offset) * 1000) / 1000});
        const FitResult fit = fitRows(edges, moved);
        double worst = fit.found ? 0 : 1e6;
        for (size_t i = 0; i < moved.size(); ++i)
            worst = std::max({worst, std::abs(fit.apply(moved[i].start) - s.lines[i].start),
                              std::abs(fit.apply(moved[i].end) - s.lines[i].end)});
        return worst * 1000;
    };
    tally.fitShiftWorst = worstAfterFit(1, 4.321);
    tally.fitRateWorst = worstAfterFit(25 / 23.976, 0.8);
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

// Every frame's features beside the truth and what was found, for study
// outside (one line a frame: time, five bands, voicing, period, the line
// index or -1, found).
void dump(const QString &path, const test::SpeechSound &s, const SpeechFeatures &f, const std::vector<SpeechSpan> &spans)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    std::vector<int> line(f.frames.size(), -1);
    std::vector<char> found(f.frames.size(), 0);
    for (size_t i = 0; i < s.lines.size(); ++i)
        for (size_t k = size_t(s.lines[i].start * 100); k < std::min(line.size(), size_t(s.lines[i].end * 100)); ++k)
            line[k] = int(i);
    for (const auto &sp : spans)
        for (size_t k = size_t(std::lround(sp.start * 100)); k < std::min(found.size(), size_t(std::lround(sp.end * 100))); ++k)
            found[k] = 1;
    QByteArray text;
    for (size_t k = 0; k < f.frames.size(); ++k) {
        const SpeechFrame &fr = f.frames[k];
        text += QByteArray::number(k) + '\t';
        for (int b = 0; b < SpeechFeatures::bands; ++b)
            text += QByteArray::number(fr.level(b)) + '\t';
        text += QByteArray::number(fr.voiced()) + '\t' + QByteArray::number(fr.period) + '\t' + QByteArray::number(line[k]) +
                '\t' + QByteArray::number(int(found[k])) + '\n';
    }
    out.write(text);
}

SpeechFeatures features(const test::SpeechSound &s)
{
    SpeechFeatureSink sink;
    test::feedSound(sink, s, 4096);
    return sink.take();
}

double percent(double a, double b) { return b > 0 ? 100.0 * a / b : 0; }

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double childrenSeconds()
{
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

#ifdef KORV_HAVE_WEBRTC_APM
// The voice detector of Debian's WebRTC audio processing library, through
// its public interface (10 ms frames of 16-bit samples at 48 kHz), its
// frames joined into spans the way ours are: pauses up to 120 ms bridged,
// spans under 150 ms dropped.
std::vector<SpeechSpan> webrtcSpans(const test::SpeechSound &s, double *seconds = nullptr)
{
    std::unique_ptr<webrtc::AudioProcessing> apm(webrtc::AudioProcessing::Create());
    apm->voice_detection()->Enable(true);
    apm->voice_detection()->set_likelihood(webrtc::VoiceDetection::kLowLikelihood);
    webrtc::AudioFrame frame;
    std::vector<int16_t> pcm(480);
    std::vector<char> voiced;
    const double t0 = threadSeconds();
    for (size_t at = 0; at + 480 <= s.samples.size(); at += 480) {
        for (int i = 0; i < 480; ++i)
            pcm[i] = int16_t(std::clamp(s.samples[at + i] * 32767.f, -32768.f, 32767.f));
        frame.UpdateFrame(0, 0, pcm.data(), 480, 48000, webrtc::AudioFrame::kNormalSpeech,
                          webrtc::AudioFrame::kVadUnknown, 1);
        apm->ProcessStream(&frame);
        voiced.push_back(apm->voice_detection()->stream_has_voice());
    }
    if (seconds)
        *seconds = threadSeconds() - t0;
    std::vector<SpeechSpan> spans;
    for (int t = 0; t < int(voiced.size());) {
        if (!voiced[t]) {
            ++t;
            continue;
        }
        int e = t;
        while (e < int(voiced.size()) && voiced[e])
            ++e;
        if (!spans.empty() && t / 100.0 - spans.back().end <= 0.12)
            spans.back().end = e / 100.0;
        else
            spans.push_back({t / 100.0, e / 100.0});
        t = e;
    }
    std::erase_if(spans, [](const SpeechSpan &sp) { return sp.end - sp.start < 0.15; });
    return spans;
}
#endif

bool runQuietly(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("ffmpeg"), args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The features' cost on a two-hour film (ten minutes of speech under music,
// twelve times over, in stereo AAC at 128 kb/s in Matroska) against ffmpeg
// decoding the same film: both as processor time, which a busy machine
// disturbs far less than the clock.
void measureCost(const QString &cache)
{
    const QString film = cache + QStringLiteral("/film-2h.mka");
    if (!QFile::exists(film)) {
        const test::SpeechSound base = test::makeSpeechSound(SpeechCondition::MusicBed, 600, 201, cache);
        const QString raw = cache + QStringLiteral("/film-10min.f32");
        QFile out(raw);
        if (!base.error.isEmpty() || !out.open(QIODevice::WriteOnly))
            return;
        out.write(reinterpret_cast<const char *>(base.samples.data()), qint64(base.samples.size() * sizeof(float)));
        out.close();
        std::printf("making the two-hour film (once)...\n");
        runQuietly({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-stream_loop"),
                    QStringLiteral("11"), QStringLiteral("-f"), QStringLiteral("f32le"), QStringLiteral("-ar"),
                    QStringLiteral("48000"), QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-i"), raw,
                    QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                    QStringLiteral("-b:a"), QStringLiteral("128k"), film});
        QFile::remove(raw);
    }
    for (int round = 1; round <= 3; ++round) {
        // The floor.
        const double before = childrenSeconds();
        QElapsedTimer clock;
        clock.start();
        runQuietly({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-vn"), QStringLiteral("-i"), film,
                    QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
        const double floorWall = clock.elapsed() / 1000.0, floorCpu = childrenSeconds() - before;

        // The sink, fed the film's sound as ffmpeg decodes it to one channel.
        QProcess decode;
        decode.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), film,
                                                QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-f"),
                                                QStringLiteral("f32le"), QStringLiteral("pipe:1")});
        SpeechFeatureSink sink;
        std::vector<float> block;
        qint64 at = 0;
        double sinkCpu = 0;
        QByteArray pending;
        while (decode.waitForReadyRead(-1) || decode.bytesAvailable() > 0) {
            pending += decode.readAll();
            const qsizetype samples = pending.size() / qsizetype(sizeof(float));
            if (samples == 0)
                continue;
            block.resize(samples);
            std::memcpy(block.data(), pending.constData(), samples * sizeof(float));
            pending.remove(0, samples * qsizetype(sizeof(float)));
            const double t0 = threadSeconds();
            sink.consume({block.data(), samples, 48000, at * 1000000 / 48000});
            sinkCpu += threadSeconds() - t0;
            at += samples;
            if (decode.state() == QProcess::NotRunning && decode.bytesAvailable() == 0)
                break;
        }
        decode.waitForFinished(-1);
        double t0 = threadSeconds();
        sink.finish(at * 1000000 / 48000);
        sinkCpu += threadSeconds() - t0;
        const SpeechFeatures features = sink.take();
        t0 = threadSeconds();
        const auto spans = detectSpeech(features);
        const double detectCpu = threadSeconds() - t0;
        // The same sound again from a file of decoded samples, with nothing
        // running beside the sink: as it runs on the decoding thread itself.
        const QString pcm = cache + QStringLiteral("/film-2h.f32");
        if (!QFile::exists(pcm))
            runQuietly({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), film, QStringLiteral("-ac"),
                        QStringLiteral("1"), QStringLiteral("-f"), QStringLiteral("f32le"), pcm});
        QFile in(pcm);
        double aloneCpu = 0;
        if (in.open(QIODevice::ReadOnly)) {
            SpeechFeatureSink alone;
            std::vector<float> buffer(16384);
            qint64 done = 0;
            for (qint64 got; (got = in.read(reinterpret_cast<char *>(buffer.data()), qint64(buffer.size() * sizeof(float)))) > 0;) {
                const qsizetype samples = qsizetype(got / qint64(sizeof(float)));
                const double t1 = threadSeconds();
                alone.consume({buffer.data(), samples, 48000, done * 1000000 / 48000});
                aloneCpu += threadSeconds() - t1;
                done += samples;
            }
            const double t1 = threadSeconds();
            alone.finish(done * 1000000 / 48000);
            aloneCpu += threadSeconds() - t1;
        }
        std::printf("round %d: %.0f s of sound; ffmpeg decoding %.2f s processor (%.2f s clock); features %.3f s while ffmpeg "
                    "decodes beside them (%.1f%% of the floor), %.3f s alone (%.1f%%); detector %.3f s, %zu spans; cached "
                    "features %.1f MB\n",
                    round, at / 48000.0, floorCpu, floorWall, sinkCpu, 100 * sinkCpu / floorCpu, aloneCpu,
                    100 * aloneCpu / floorCpu, detectCpu, spans.size(), features.serialise().size() / 1e6);
    }
    QFile::remove(cache + QStringLiteral("/film-2h.f32")); // 1.4 GB
}

// Snapping 100,000 rows and fitting 1,500, on edges laid out as a film's.
void measureSnapAndFit()
{
    std::mt19937 random(5);
    auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
    auto layout = [&](int count, std::vector<SpeechSpan> &spans, std::vector<RowTimes> &rows, std::vector<SpeechSpan> &lines) {
        double t = 2;
        for (int i = 0; i < count; ++i) {
            const double end = t + uniform(0.8, 4);
            spans.push_back({std::round(t * 100) / 100, std::round(end * 100) / 100});
            lines.push_back(spans.back());
            rows.push_back({t + uniform(0.12, 0.45), end + uniform(0.12, 0.45)});
            // Now and then a breath or a noise the detector took for speech.
            if (uniform(0, 1) < 0.3)
                spans.push_back({std::round((end + 0.6) * 100) / 100, std::round((end + 0.8) * 100) / 100});
            t = end + uniform(0.9, 3);
        }
        std::sort(spans.begin(), spans.end(), [](auto &a, auto &b) { return a.start < b.start; });
    };
    {
        std::vector<SpeechSpan> spans, lines;
        std::vector<RowTimes> rows;
        layout(100000, spans, rows, lines);
        const SpeechEdges edges = SpeechEdges::of(spans);
        const korv::microdvd::FrameTimes frames(25);
        const RoundTime toFrames = [&frames](double t) {
            const auto f = frames.frameOf(std::llround(t * 100));
            return f ? double(*frames.hundredthsOf(*f)) / 100 : t;
        };
        for (const auto &[name, round] : {std::pair{"milliseconds", roundToStep(0.001)}, std::pair{"MicroDVD frames", toFrames}}) {
            double best = 1e9;
            SnapReport report;
            for (int k = 0; k < 5; ++k) {
                QElapsedTimer clock;
                clock.start();
                report = snapRows(edges, rows, SnapRules::forFrameRate(25), round);
                best = std::min(best, clock.nsecsElapsed() / 1e6);
            }
            std::printf("snapping 100,000 rows (%s): %.1f ms (best of 5); %d starts and %d ends moved\n", name, best,
                        report.startsMoved, report.endsMoved);
        }
    }
    {
        std::vector<SpeechSpan> spans, lines;
        std::vector<RowTimes> rows;
        layout(1500, spans, rows, lines);
        const SpeechEdges edges = SpeechEdges::of(spans);
        for (const auto &[name, ratio, offset] : {std::tuple{"moved by +3.217 s", 1.0, 3.217},
                                                  std::tuple{"timed at 23.976 fps, film at 25", 25 / 23.976, -2.5}}) {
            // Well-timed rows (on the true edges, which the detector found
            // among its other spans), and the same rows as late captures.
            for (bool late : {false, true}) {
                std::vector<RowTimes> moved;
                for (size_t i = 0; i < rows.size(); ++i) {
                    const RowTimes r = late ? rows[i] : RowTimes{lines[i].start, lines[i].end};
                    moved.push_back({r.start * ratio + offset, r.end * ratio + offset});
                }
                QElapsedTimer clock;
                clock.start();
                const FitResult fit = fitRows(edges, moved);
                const double ms = clock.nsecsElapsed() / 1e6;
                double worst = 0;
                for (size_t i = 0; i < moved.size(); ++i)
                    worst = std::max({worst, std::abs(fit.apply(moved[i].start) - lines[i].start),
                                      std::abs(fit.apply(moved[i].end) - lines[i].end)});
                std::printf("fitting 1,500 rows over %.0f minutes (%s, %s): %.0f ms; found %+.3f s, %g -> %g fps; "
                            "worst row %.0f ms from its line\n",
                            rows.back().end / 60, name, late ? "late captures" : "well timed", ms, fit.offset,
                            fit.fromRate, fit.toRate, worst * 1000);
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    double minutes = 5;
    int seeds = 2, firstSeed = 1;
    bool verbose = false, speed = false, webrtc = false;
    QString dumpFolder;
    double webrtcSeconds = 0, soundSeconds = 0;
    QStringList only;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--minutes") && i + 1 < args.size())
            minutes = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seeds") && i + 1 < args.size())
            seeds = args[++i].toInt();
        else if (args[i] == QLatin1String("--first-seed") && i + 1 < args.size())
            firstSeed = args[++i].toInt();
        else if (args[i] == QLatin1String("--conditions") && i + 1 < args.size())
            only = args[++i].split(QLatin1Char(','));
        else if (args[i] == QLatin1String("--dump") && i + 1 < args.size())
            dumpFolder = args[++i];
        else if (args[i] == QLatin1String("--verbose"))
            verbose = true;
        else if (args[i] == QLatin1String("--speed"))
            speed = true;
        else if (args[i] == QLatin1String("--webrtc"))
            webrtc = true;
    }
    const QString cache = QStringLiteral(KORV_BENCH_MEDIA_DIR);
    if (speed) {
        measureSnapAndFit();
        measureCost(cache);
        return 0;
    }
    const SpeechCondition all[] = {SpeechCondition::Clean,    SpeechCondition::Pink15,           SpeechCondition::Pink6,
                                   SpeechCondition::MusicBed, SpeechCondition::LoudMusicBetween, SpeechCondition::Silence,
                                   SpeechCondition::MusicOnly, SpeechCondition::NoiseOnly};
    std::printf("Late captures (120-450 ms) of every line, snapped as rows and one by one; fits of the true times\n"
                "moved by 4.321 s and timed at 23.976 fps; frames of speech found and of the rest taken.\n\n");
    std::printf("%-19s %5s %11s %9s %8s %10s %9s %10s %10s %8s %8s\n", "condition", "lines", "row starts", "row ends",
                "foreign", "one start", "one end", "fit shift", "fit rate", "speech", "rest");
    for (SpeechCondition c : all) {
        if (!only.isEmpty() && !only.contains(test::conditionName(c)))
            continue;
        Tally total;
        for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            const test::SpeechSound s = test::makeSpeechSound(c, minutes * 60, 100 + seed, cache);
            if (!s.error.isEmpty()) {
                std::printf("%s: %s\n", qPrintable(test::conditionName(c)), qPrintable(s.error));
                return 1;
            }
#ifdef KORV_HAVE_WEBRTC_APM
            double took = 0;
            const auto spans = webrtc ? webrtcSpans(s, &took) : detectSpeech(features(s));
            webrtcSeconds += took;
            soundSeconds += s.seconds();
#else
            if (webrtc) {
                std::printf("built without Debian's WebRTC audio processing library (libwebrtc-audio-processing-dev)\n");
                return 1;
            }
            const SpeechFeatures f = features(s);
            const auto spans = detectSpeech(f);
            if (!dumpFolder.isEmpty())
                dump(QStringLiteral("%1/%2-%3.tsv").arg(dumpFolder, test::conditionName(c)).arg(100 + seed), s, f, spans);
#endif
            total.add(measure(s, spans, seed, verbose));
        }
        auto fitText = [](double worst) {
            return worst >= 1e6 ? QStringLiteral("no fit") : QStringLiteral("%1 ms").arg(worst, 0, 'f', 0);
        };
        if (total.starts > 0)
            std::printf("%-19s %5d %10.1f%% %8.1f%% %8d %9.1f%% %8.1f%% %10s %10s %7.1f%% %7.1f%%\n",
                        qPrintable(test::conditionName(c)), total.starts, percent(total.startsNear, total.starts),
                        percent(total.endsNear, total.ends), total.foreign, percent(total.singleStartsNear, total.starts),
                        percent(total.singleEndsNear, total.ends), qPrintable(fitText(total.fitShiftWorst)),
                        qPrintable(fitText(total.fitRateWorst)), percent(total.speechHit, total.speechFrames),
                        percent(total.quietHit, total.quietFrames));
        else
            std::printf("%-19s %5d %62s %7.1f%% (%.1f s of %.0f s)\n", qPrintable(test::conditionName(c)), 0, "", percent(total.quietHit, total.quietFrames),
                        total.quietHit / 100, total.quietFrames / 100);
    }
    if (webrtc)
        std::printf("\nWebRTC's detector took %.2f s of processor time for %.0f s of sound: %.2f s for two hours\n",
                    webrtcSeconds, soundSeconds, webrtcSeconds * 7200 / std::max(1.0, soundSeconds));
    return 0;
}
