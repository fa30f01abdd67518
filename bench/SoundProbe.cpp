// Times the sound analysis of one film as a user meets it, printing one line
// per figure:
//   korvendal-sound-probe FILM analyse   one whole analysis through a fresh,
//                                        empty cache (decode, peaks, the
//                                        cache written), for timing the whole
//                                        process against ffmpeg decoding the
//                                        same film
//   korvendal-sound-probe FILM analyse-speech
//                                        the same with the speech features
//                                        computed on the same decode, then
//                                        the speech found in them, as the
//                                        application does: its time against
//                                        `analyse` is what speech edges cost
//   korvendal-sound-probe FILM report    the same as analyse, then when the first ten
//                                        minutes were readable, the peaks'
//                                        memory, the film reopened from the
//                                        cache, and cancels mid-analysis
#include "sound/PeakPyramid.h"
#include "sound/SoundAnalysis.h"
#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <thread>

using namespace korv::sound;

namespace {

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs one analysis to its end, noting when the first ten minutes were readable.
struct Run {
    qint64 totalMs = -1, firstTenMinutesMs = -1;
    bool fromCache = false;
    SoundProblem problem;
    std::shared_ptr<const PeakPyramid> peaks;
};

double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

Run analyse(const QString &film, const QString &cacheFolder, std::vector<std::shared_ptr<MonoSink>> extraSinks = {})
{
    Run run;
    SoundAnalysis analysis{SoundCache(cacheFolder)};
    QElapsedTimer clock;
    QTimer poll; // the strip would look this often: once a frame
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (run.firstTenMinutesMs < 0 && analysis.peaks()->filledUpToUs() >= 600LL * 1000000)
            run.firstTenMinutesMs = clock.elapsed();
    });
    QObject::connect(&analysis, &SoundAnalysis::finished, [&] {
        run.totalMs = clock.elapsed();
        QCoreApplication::quit();
    });
    QObject::connect(&analysis, &SoundAnalysis::failed, [&](const SoundProblem &p) {
        run.problem = p;
        QCoreApplication::quit();
    });
    clock.start();
    analysis.start(film, 0, std::move(extraSinks));
    poll.start();
    QCoreApplication::exec();
    if (run.firstTenMinutesMs < 0 && analysis.peaks()->filledUpToUs() >= 600LL * 1000000)
        run.firstTenMinutesMs = run.totalMs;
    run.fromCache = analysis.fromCache();
    run.peaks = analysis.peaks();
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILM analyse|analyse-speech|report\n", argv[0]);
        return 2;
    }
    const QString film = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argv[2];
    QTemporaryDir cache;
    if (mode == "analyse") {
        const Run run = analyse(film, cache.path());
        std::printf("analysed %.1f s of sound in %lld ms, problem %s\n", run.peaks->filledUpToUs() / 1e6,
                    static_cast<long long>(run.totalMs), failureName(run.problem.failure));
        return run.problem ? 1 : 0;
    }
    if (mode == "analyse-speech") {
        // The detector on a thread of its own once the analysis has ended,
        // as the film's sound runs it.
        auto features = std::make_shared<SpeechFeatureSink>();
        const Run run = analyse(film, cache.path(), {features});
        const double before = processSeconds();
        std::vector<SpeechSpan> spans;
        std::thread([&] { spans = detectSpeech(features->features()); }).join();
        const double detectorSeconds = processSeconds() - before;
        std::printf("analysed %.1f s of sound in %lld ms, problem %s; %zu speech frames, %zu spans found in %.3f s\n",
                    run.peaks->filledUpToUs() / 1e6, static_cast<long long>(run.totalMs), failureName(run.problem.failure),
                    features->features().frames.size(), spans.size(), detectorSeconds);
        // Fingerprints, so that a change meant to keep the results can be
        // checked to keep them; only when asked, as sound.sh times this mode.
        if (qEnvironmentVariableIsSet("KORV_SPEECH_HASH")) {
            QCryptographicHash spanHash(QCryptographicHash::Sha1);
            for (const SpeechSpan &s : spans)
                spanHash.addData(QByteArray::number(s.start, 'f', 3) + ' ' + QByteArray::number(s.end, 'f', 3) + '\n');
            std::printf("features sha1 %s, spans sha1 %s\n",
                        QCryptographicHash::hash(features->features().serialise(), QCryptographicHash::Sha1).toHex().constData(),
                        spanHash.result().toHex().constData());
        }
        return run.problem ? 1 : 0;
    }
    const long rssBefore = peakRssKb();
    const Run first = analyse(film, cache.path());
    if (first.problem) {
        std::printf("failed: %s (%s)\n", failureName(first.problem.failure), qPrintable(first.problem.detail));
        return 1;
    }
    std::printf("analysis: %lld ms; first 10 minutes readable after %lld ms\n", static_cast<long long>(first.totalMs),
                static_cast<long long>(first.firstTenMinutesMs));
    std::printf("peaks: %.2f MB for %.1f s of sound; peak RSS %.1f MB (%.1f MB before)\n",
                first.peaks->memoryBytes() / 1e6, first.peaks->filledUpToUs() / 1e6, peakRssKb() / 1e3, rssBefore / 1e3);
    const Run again = analyse(film, cache.path());
    std::printf("reopened from the cache: %lld ms (%s)\n", static_cast<long long>(again.totalMs),
                again.fromCache ? "from the cache" : "NOT from the cache");

    // Cancels as the window makes them: another film opened (start() cancels
    // the running analysis) a moment into the analysis, at 0.2 to 2 s.
    QTemporaryDir other;
    qint64 worstUs = 0, sumUs = 0;
    const int cancels = 10;
    for (int i = 0; i < cancels; ++i) {
        SoundAnalysis analysis{SoundCache(other.path())};
        analysis.start(film, 0);
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 200 + 200 * i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QElapsedTimer cancel;
        cancel.start();
        analysis.cancel();
        const qint64 us = cancel.nsecsElapsed() / 1000;
        worstUs = std::max(worstUs, us);
        sumUs += us;
    }
    std::printf("cancel mid-analysis: mean %.2f ms, worst %.2f ms of %d\n", sumUs / 1000.0 / cancels, worstUs / 1000.0, cancels);
    return 0;
}
