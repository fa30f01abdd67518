// The waveform's columns: what painting the strip asks of the peaks, at zooms
// from the whole film to one second across. On the 2-hour benchmark film when
// KORV_SOUND_FILM names it (bench/sound.sh does), else on 2 hours of noise.
#include "sound/AudioDecoder.h"
#include "sound/PeakColumns.h"
#include "sound/PeakPyramid.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <cstdio>
#include <cstdlib>

using namespace korv::sound;

namespace {

constexpr qint64 kTwoHoursUs = 7200LL * 1000000;

const PeakPyramid &film()
{
    static const std::shared_ptr<PeakPyramid> pyramid = [] {
        auto p = std::make_shared<PeakPyramid>();
        if (const char *path = std::getenv("KORV_SOUND_FILM")) {
            PeakBuilder builder(p);
            MonoSink *sinks[] = {&builder};
            decodeAudio(QString::fromLocal8Bit(path), 0, sinks);
        } else {
            std::vector<PeakBin> bins(size_t(kTwoHoursUs / PeakPyramid::kBinUs));
            QRandomGenerator random(1);
            for (PeakBin &b : bins) {
                b.max = qint16(random.bounded(16000));
                b.min = qint16(-random.bounded(16000));
                b.shade = quint16(b.max / 3);
            }
            p->append(bins.data(), qint64(bins.size()));
            p->markComplete();
        }
        std::fprintf(stderr, "peaks of %.1f s: %.2f MB\n", p->filledUpToUs() / 1e6, p->memoryBytes() / 1e6);
        return p;
    }();
    return *pyramid;
}

// range(0): the span in milliseconds; range(1): the strip's width in pixels.
// Each run paints the span at a new place along the film, as scrolling does.
void BM_StripColumns(benchmark::State &state)
{
    const PeakPyramid &peaks = film();
    const qint64 span = state.range(0) * 1000;
    std::vector<PeakColumn> columns(size_t(state.range(1)));
    qint64 from = 0;
    for (auto _ : state) {
        peakColumns(peaks, from, from + span, columns);
        benchmark::DoNotOptimize(columns.data());
        from = (from + span / 3 + 12345) % std::max<qint64>(1, kTwoHoursUs - span);
    }
    state.counters["peaks_MB"] = peaks.memoryBytes() / 1e6;
}
BENCHMARK(BM_StripColumns)
    ->ArgsProduct({{7200000, 600000, 60000, 10000, 1000}, {1280, 3840}})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
