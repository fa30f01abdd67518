// Reading, writing and checking 100,000-subtitle documents, and showing them
// in the list view.
#include "BenchData.h"

#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "commands/Workspace.h"
#include "document/MicroDvdFormat.h"
#include "document/SubRipFormat.h"
#include "document/SubtitleTableModel.h"
#include "document/SubViewerFormat.h"
#include "document/WebVttFormat.h"
#include "document/TextCodec.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korv;

namespace {

// From the file's bytes to a list of rows, as the open command does it.
void BM_Read(benchmark::State &state, bool (*read)(Workspace &, const QByteArray &), QByteArray (*file)())
{
    const QByteArray bytes = file();
    SilentDialogs ui(25.0);
    Workspace ws(ui, bench::languages());
    ws.numbers = bench::kNumbers;
    for (auto _ : state) {
        read(ws, bytes);
        ws.list.renumber();
        benchmark::DoNotOptimize(ws.list.count());
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK_CAPTURE(BM_Read, subviewer, ReadSubViewerFile, [] { return bench::subViewerFile(); })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, microdvd, ReadMicroDVDFile, [] { return bench::microDvdFile(); })->Unit(benchmark::kMillisecond);

// SubRip and WebVTT as the open command will read them: decoded, read,
// put in the list and numbered.
ReadOutcome readSubRip(QStringView text)
{
    return subrip::read(text, bench::kNumbers);
}
ReadOutcome readWebVtt(QStringView text)
{
    return webvtt::read(text, bench::kNumbers).read;
}

void BM_ReadUtf8(benchmark::State &state, ReadOutcome (*read)(QStringView), QByteArray (*file)())
{
    const QByteArray bytes = file();
    SubtitleList list;
    for (auto _ : state) {
        ReadOutcome outcome = read(decodeText(bytes).text);
        list.replaceAll(std::move(outcome.rows));
        list.renumber();
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK_CAPTURE(BM_ReadUtf8, subrip, readSubRip, [] { return bench::subRipFile(); })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadUtf8, webvtt, readWebVtt, [] { return bench::webVttFile(); })->Unit(benchmark::kMillisecond);

// The whole open command from a file on disk: the first line looked at, the
// file read in pieces under its size limit, decoded and read into the list.
void BM_OpenSubViewerFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("film.sub"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bench::subViewerFile());
    file.close();
    SilentDialogs ui(25.0);
    Workspace ws(ui, bench::languages());
    ws.numbers = bench::kNumbers;
    for (auto _ : state)
        benchmark::DoNotOptimize(openSubtitleFile(ws, path));
}
BENCHMARK(BM_OpenSubViewerFile)->Unit(benchmark::kMillisecond);

// From the list to the file on disk, atomically.
void BM_Write(benchmark::State &state, bool (*write)(Workspace &, const QString &))
{
    SilentDialogs ui(25.0);
    Workspace ws(ui, bench::languages());
    ws.numbers = bench::kNumbers;
    ws.list.replaceAll(bench::makeRows());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.sub"));
    for (auto _ : state)
        benchmark::DoNotOptimize(write(ws, path));
}
BENCHMARK_CAPTURE(BM_Write, subviewer, WriteSubViewerFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, microdvd, WriteMicroDVDFile)->Unit(benchmark::kMillisecond);

// From the list to UTF-8 bytes on disk, atomically, as the save command will.
void BM_WriteUtf8(benchmark::State &state,
                  Result<QString> (*write)(const SubtitleList &, const NumberFormat &, std::vector<qsizetype> *))
{
    SubtitleList list;
    list.replaceAll(bench::makeRows());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    for (auto _ : state) {
        std::vector<qsizetype> offsets;
        const Result<QString> text = write(list, bench::kNumbers, &offsets);
        benchmark::DoNotOptimize(writeFileAtomically(path, text->toUtf8()).ok());
    }
}
BENCHMARK_CAPTURE(BM_WriteUtf8, subrip, subrip::write)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteUtf8, webvtt, webvtt::write)->Unit(benchmark::kMillisecond);

void BM_CheckOverlaps(benchmark::State &state)
{
    SilentDialogs ui(25.0);
    Workspace ws(ui, bench::languages());
    ws.numbers = bench::kNumbers;
    ws.list.replaceAll(bench::makeRows());
    ws.list.renumber();
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckOverlaps(ws));
}
BENCHMARK(BM_CheckOverlaps)->Unit(benchmark::kMillisecond);

// A new document of 100,000 rows shown in the list view, painted once.
void BM_ShowInListView(benchmark::State &state)
{
    SubtitleList list;
    SubtitleTableModel model(list);
    QTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(18);
    view.resize(420, 300);
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        list.replaceAll(bench::makeRows());
        view.selectRow(0);
        view.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowInListView)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // bench_document --write-sample FILE [subrip]: the 100,000-subtitle file
    // the comparison with ffmpeg reads, SubViewer 2 or SubRip.
    if ((argc == 3 || argc == 4) && QByteArray(argv[1]) == "--write-sample") {
        QFile file(QString::fromLocal8Bit(argv[2]));
        const bool subRip = argc == 4 && QByteArray(argv[3]) == "subrip";
        const QByteArray bytes = subRip ? bench::subRipFile() : bench::subViewerFile();
        return file.open(QIODevice::WriteOnly) && file.write(bytes) > 0 ? 0 : 1;
    }
    return bench::runBenchmarks(argc, argv);
}
