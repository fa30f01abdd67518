// The film side with 100,000 subtitles: an overlay tick during playback, a
// list-following tick in the main window, and reading the headers of a 2 GB
// film.
#include "BenchData.h"

#include "app/Form1.h"
#include "commands/Workspace.h"
#include "document/TimeText.h"
#include "media/AviHeaders.h"
#include "preview/FilmPreview.h"
#include "support/AviFileWriter.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

using namespace korv;

namespace {

// A film that is where the benchmark says.
class SteppedPlayer : public FilmPlayer {
public:
    double at = 0;
    void open(const QString &) override {}
    double position() const override { return at; }
    void setPosition(double seconds) override { at = seconds; }
    PlayState playState() const override { return PlayState::Playing; }
    void play() override {}
    void pause() override {}
    void stop() override {}
    void setAudioTrack(int) override {}
};

double lastStart(const SubtitleList &list)
{
    return TextToSeconds(list.cell(list.count() - 1, ColStart), bench::kNumbers).value_or(0);
}

// Overlay ticks every half second through the whole film, subtitles and gaps
// alike; "rows/tick" is how many rows a tick compared.
void BM_OverlayTickForward(benchmark::State &state)
{
    SubtitleList list;
    list.replaceAll(bench::makeRows(int(state.range(0))));
    SteppedPlayer player;
    const FrameRates rates{25, 0};
    FilmPreview preview(list, player, rates, bench::kNumbers);
    const double end = lastStart(list) + 1;
    player.at = 5;
    double examined = 0;
    int most = 0;
    qint64 ticks = 0;
    for (auto _ : state) {
        player.at += 0.5;
        if (player.at > end)
            player.at = 5;
        preview.TimerAltYazi_Timer();
        examined += preview.rowsExamined();
        most = std::max(most, preview.rowsExamined());
        ++ticks;
    }
    state.counters["rows/tick"] = examined / double(std::max<qint64>(ticks, 1));
    state.counters["most rows"] = most;
}
BENCHMARK(BM_OverlayTickForward)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The list following the film in the main window: the selection moves, the
// edit fields refill, the list view scrolls and repaints.
void BM_ListFollowingTick(benchmark::State &state)
{
    Form1 form(bench::languages());
    form.show();
    Workspace &ws = form.workspace();
    ws.numbers = bench::kNumbers;
    ws.list.replaceAll(bench::makeRows());
    ws.list.renumber();
    SteppedPlayer player;
    FilmPreview preview(ws.list, player, ws.frameRates, ws.numbers);
    preview.listFollowsFilm = [] { return true; };
    QApplication::processEvents();
    const double end = lastStart(ws.list) + 1;
    player.at = 5;
    for (auto _ : state) {
        player.at += 0.05;
        if (player.at > end)
            player.at = 5;
        preview.TmrFilmiizle_Timer();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ListFollowingTick)->Unit(benchmark::kMicrosecond);

// An OpenDML film of 2 GB (a sparse file): the header list at its start, the
// rest of its first RIFF part and an 'AVIX' part never read.
void BM_ReadHeadersOf2GBFilm(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.avi"));
    {
        test::AviContents avi;
        avi.width = 720;
        avi.height = 576;
        avi.totalFrames = 26000;
        avi.length = 52000;
        avi.openDml = true;
        avi.grandFrames = 52000;
        QByteArray bytes = test::buildAvi(avi);
        bytes.truncate(bytes.indexOf("RIFF", 4)); // the AVIX part goes 1 GB in
        constexpr qint64 partSize = qint64(1) << 30;
        constexpr qint64 fileSize = qint64(2) << 30;
        char size[4];
        qToLittleEndian(quint32(partSize - 8), size);
        bytes.replace(4, 4, size, 4);
        const qsizetype movi = bytes.indexOf("movi") - 8;
        qToLittleEndian(quint32(partSize - movi - 8), size);
        bytes.replace(movi + 4, 4, size, 4);
        bytes.truncate(movi + 12);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.resize(fileSize)
            || !file.seek(partSize) || file.write(QByteArray("RIFF\xF4\xFF\xFF\x3F" "AVIXLIST", 16)) != 16) {
            state.SkipWithError("cannot make the sparse film");
            return;
        }
    }
    for (auto _ : state) {
        const AviHeaders headers = readAviHeaders(path);
        if (!headers.ok() || headers.file.dwLength != 52000 || headers.file.szFileType != "AVI File (OpenDML)") {
            state.SkipWithError("the headers were not read");
            return;
        }
        benchmark::DoNotOptimize(headers);
    }
    state.counters["file GB"] = double(QFileInfo(path).size()) / double(1 << 30);
}
BENCHMARK(BM_ReadHeadersOf2GBFilm)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
