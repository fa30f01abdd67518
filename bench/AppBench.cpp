// Start-up: from nothing to the main window shown, with the language applied
// and the options read (a later run: no language window).
#include "BenchData.h"

#include "app/Form1.h"
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

void BM_StartToShownMainWindow(benchmark::State &state)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Language"));
    // The shipped language files, beside a program that ran before.
    for (const char *name : {"Turkish.lng", "English.lng"})
        QFile::copy(QStringLiteral(KORV_SOURCE_DIR "/data/Language/") + QLatin1String(name),
                    folder.filePath(QStringLiteral("Language/")) + QLatin1String(name));
    Language language(folder.path());
    setSettingsRoot(folder.filePath(QStringLiteral("config")));
    WriteFirstRunDone(folder.path());
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Turkish"));
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

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
