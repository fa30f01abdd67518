// Start-up: from nothing to the main window shown, with the language applied
// and the options read (a later run: no language window); and a 100,000-row
// file of each format opened in the window and shown.
#include "BenchData.h"

#include "app/Form1.h"
#include "commands/FileCommands.h"
#include "locale/FirstRun.h"
#include "locale/Language.h"
#include "locale/Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korv;

namespace {

// A program folder with the shipped language files, beside a program that
// ran before (no first-run steps).
void prepareProgramFolder(const QTemporaryDir &folder)
{
    QDir(folder.path()).mkpath(QStringLiteral("Language"));
    for (const char *name : {"Turkish.lng", "English.lng"})
        QFile::copy(QStringLiteral(KORV_SOURCE_DIR "/data/Language/") + QLatin1String(name),
                    folder.filePath(QStringLiteral("Language/")) + QLatin1String(name));
    setSettingsRoot(folder.filePath(QStringLiteral("config")));
    WriteFirstRunDone(folder.path());
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Turkish"));
}

void BM_StartToShownMainWindow(benchmark::State &state)
{
    QTemporaryDir folder;
    prepareProgramFolder(folder);
    Language language(folder.path());
    for (auto _ : state) {
        Form1 form(language);
        form.Form_Load();
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.isVisible());
        state.PauseTiming();
        form.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToShownMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// The open command in the shown window, from the file on disk to its rows
// painted in the list (the frame-rate window answered at once), the formats
// side by side in one run.
void BM_OpenAndShow(benchmark::State &state, const char *name, QByteArray (*file)())
{
    QTemporaryDir folder;
    prepareProgramFolder(folder);
    Language language(folder.path());
    const QString path = folder.filePath(QLatin1String(name));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file()) <= 0) {
        state.SkipWithError("the file cannot be written");
        return;
    }
    out.close();
    SilentDialogs silent(25.0);
    Form1 form(language, &silent);
    form.Form_Load();
    form.show();
    QApplication::processEvents();
    Workspace &ws = form.workspace();
    for (auto _ : state) {
        benchmark::DoNotOptimize(openSubtitleFile(ws, path));
        form.repaint();
        QApplication::processEvents();
    }
    state.counters["rows"] = ws.list.count();
}
BENCHMARK_CAPTURE(BM_OpenAndShow, microdvd, "film.txt", [] { return bench::microDvdFile(); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndShow, subrip, "film.srt", [] { return bench::subRipFile(); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndShow, webvtt, "film.vtt", [] { return bench::webVttFile(); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndShow, subviewer, "film.sub", [] { return bench::subViewerFile(); })
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
