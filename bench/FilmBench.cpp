// A film's description and its first picture, on the two-hour film that
// bench/make_long_film.sh makes once: the media library reading the
// container (no decoding), and the player from open() to the first frame.
#include "BenchData.h"

#include "media/FilmDescription.h"
#include "preview/QtFilmPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QVideoFrame>
#include <QVideoSink>

#include <benchmark/benchmark.h>

using namespace korv;

namespace {

QString longFilm(const char *name)
{
    return QStringLiteral(KORV_BENCH_FILMS "/") + QLatin1String(name);
}

void BM_DescribeTwoHourFilm(benchmark::State &state, const char *name)
{
    const QString path = longFilm(name);
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("make the film first: bash bench/make_long_film.sh BUILD");
        return;
    }
    for (auto _ : state) {
        const auto film = media::describeFilm(path);
        if (!film || !film->video) {
            state.SkipWithError("the film could not be described");
            return;
        }
        benchmark::DoNotOptimize(film->video->rate);
    }
}
BENCHMARK_CAPTURE(BM_DescribeTwoHourFilm, mkv, "two-hours.mkv")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_DescribeTwoHourFilm, mp4, "two-hours.mp4")->Unit(benchmark::kMillisecond)->Iterations(20);

// From open() to the first picture in the video sink, the player made anew
// each time (the media framework itself is started before timing).
void BM_OpenToFirstFrame(benchmark::State &state, const char *name)
{
    const QString path = longFilm(name);
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("make the film first: bash bench/make_long_film.sh BUILD");
        return;
    }
    for (auto _ : state) {
        QVideoSink sink;
        QtFilmPlayer player;
        player.setVideoOutput([&sink] { return &sink; });
        bool shown = false;
        QObject::connect(&sink, &QVideoSink::videoFrameChanged, [&shown](const QVideoFrame &frame) {
            if (frame.isValid())
                shown = true;
        });
        player.mediaPlayer(); // the framework started, outside the timing
        QElapsedTimer clock;
        clock.start();
        player.open(path);
        while (!shown && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!shown) {
            state.SkipWithError("no picture within 10 s");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        player.stop();
    }
}
BENCHMARK_CAPTURE(BM_OpenToFirstFrame, mkv, "two-hours.mkv")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
