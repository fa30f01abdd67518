// The editing tools on 100,000-subtitle documents: time shift (and its undo
// and redo), find, split and one keystroke in an edit field.
#include "BenchData.h"

#include "commands/FindCommands.h"
#include "commands/RecoveryCopies.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"
#include "commands/Workspace.h"
#include "document/SubtitleTableModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

using namespace korv;

namespace {

// Answers every question; the save dialog picks the next of two files.
class BenchDialogs : public UserDialogs {
public:
    QString folder;
    int saves = 0;

    void showNotice(const QString &, const QString &) override {}
    void showMessageBox(const QString &) override {}
    bool askYesNo(const QString &, const QString &) override { return true; }
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::Yes; }
    FileDialogResult chooseFileToOpen(const FileDialogRequest &) override { return FileDialogResult::cancelled(); }
    FileDialogResult chooseFileToSave(const FileDialogRequest &) override
    {
        return FileDialogResult::chosen(folder + QStringLiteral("/part%1.sub").arg(++saves % 2 + 1));
    }
    std::optional<double> askFrameRate(const QString &) override { return 25.0; }
    void setBusy(bool) override {}
};

// A workspace holding the benchmark document, with the list view's model
// listening as in the program.
struct Document {
    BenchDialogs ui;
    Workspace ws{ui, bench::languages()};
    SubtitleTableModel model{ws.list};

    Document()
    {
        ws.numbers = bench::kNumbers;
        ws.list.replaceAll(bench::makeRows());
        ws.list.renumber();
        ws.list.select(ws.list.count() / 2);
        ws.history.startNew();
    }
};

// What the process holds: resident memory and the heap in use, in bytes.
struct Held {
    double resident = 0;
    double heap = 0;
};

Held heldNow()
{
    Held held;
    QFile status(QStringLiteral("/proc/self/statm"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> pages = status.readAll().split(' ');
        if (pages.size() > 1)
            held.resident = pages[1].toDouble() * double(sysconf(_SC_PAGESIZE));
    }
    held.heap = double(mallinfo2().uordblks);
    return held;
}

void BM_TimeShift(benchmark::State &state)
{
    Document doc;
    doc.ws.fields.setText(EditFields::ShiftSeconds, QStringLiteral("1.25"));
    bool add = true;
    for (auto _ : state) {
        CmdEkleCikar_Click(doc.ws, add);
        add = !add;
    }
}
BENCHMARK(BM_TimeShift)->Unit(benchmark::kMillisecond);

// Undo and redo of a shift of every row.
void BM_UndoTimeShift(benchmark::State &state)
{
    Document doc;
    doc.ws.fields.setText(EditFields::ShiftSeconds, QStringLiteral("1.25"));
    for (auto _ : state) {
        state.PauseTiming();
        CmdEkleCikar_Click(doc.ws, true);
        state.ResumeTiming();
        doc.ws.history.undo();
    }
}
BENCHMARK(BM_UndoTimeShift)->Unit(benchmark::kMillisecond);

void BM_RedoTimeShift(benchmark::State &state)
{
    Document doc;
    doc.ws.fields.setText(EditFields::ShiftSeconds, QStringLiteral("1.25"));
    CmdEkleCikar_Click(doc.ws, true);
    for (auto _ : state) {
        state.PauseTiming();
        doc.ws.history.undo();
        state.ResumeTiming();
        doc.ws.history.redo();
    }
}
BENCHMARK(BM_RedoTimeShift)->Unit(benchmark::kMillisecond);

// A hundred shifts of every row, all kept for undo: what the process holds
// more after them than before (counters in MB).
void BM_HundredShiftsHeld(benchmark::State &state)
{
    for (auto _ : state) {
        Document doc;
        doc.ws.fields.setText(EditFields::ShiftSeconds, QStringLiteral("0.37"));
        malloc_trim(0);
        const Held before = heldNow();
        for (int i = 0; i < 100; ++i)
            CmdEkleCikar_Click(doc.ws, i % 3 != 0);
        malloc_trim(0);
        const Held after = heldNow();
        state.counters["MB more resident"] = (after.resident - before.resident) / 1e6;
        state.counters["MB more heap"] = (after.heap - before.heap) / 1e6;
        state.counters["steps"] = doc.ws.history.count();
    }
}
BENCHMARK(BM_HundredShiftsHeld)->Iterations(1)->Unit(benchmark::kMillisecond);

// A search text found nowhere: every row is looked at, then "001".
void BM_FindWalksAllRows(benchmark::State &state, const char *search)
{
    Document doc;
    doc.ws.fields.setText(EditFields::Search, QString::fromUtf8(search));
    for (auto _ : state) {
        CmdFind_Click(doc.ws);
        benchmark::DoNotOptimize(doc.ws.findContinues);
    }
}
BENCHMARK_CAPTURE(BM_FindWalksAllRows, plain_text, "KAPIYI KAPAT")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindWalksAllRows, wildcards, "ı?ık#[!a-z]*z")->Unit(benchmark::kMillisecond);

// Both files written, the document rebuilt.
void BM_Split(benchmark::State &state)
{
    Document doc;
    QTemporaryDir dir;
    doc.ui.folder = dir.path();
    doc.ws.hataCheck1 = true;
    doc.ws.fields.setText(EditFields::SplitPoint, doc.ws.list.cell(doc.ws.list.count() / 2, ColStart));
    for (auto _ : state)
        CmdBol_Click(doc.ws, 0);
    state.counters["saves"] = doc.ui.saves;
}
BENCHMARK(BM_Split)->Unit(benchmark::kMillisecond);

// One character typed in a line field: written into the selected row.
void BM_TypeOneCharacter(benchmark::State &state)
{
    Document doc;
    const QString shorter = QStringLiteral("Merhaba");
    const QString longer = QStringLiteral("Merhabaa");
    bool flip = false;
    for (auto _ : state) {
        doc.ws.fields.setText(EditFields::Line2, flip ? shorter : longer);
        flip = !flip;
    }
}
BENCHMARK(BM_TypeOneCharacter)->Unit(benchmark::kMicrosecond);

// A recovery copy of the changed document: the window's thread only takes
// the snapshot (`arg` 0); the worker thread writes the file (1: the whole
// copy, waited for).
void BM_RecoveryCopy(benchmark::State &state)
{
    Document doc;
    QTemporaryDir folder;
    RecoveryCopies copies(doc.ws, folder.path(), 30);
    const bool whole = state.range(0) == 1;
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        doc.ws.fields.setText(EditFields::Line2, (flip = !flip) ? QStringLiteral("a") : QStringLiteral("b"));
        copies.waitForWrites();
        state.ResumeTiming();
        copies.writeNow();
        if (whole)
            copies.waitForWrites();
    }
    copies.waitForWrites();
    state.counters["copy MB"] = double(QFileInfo(copies.copyPath()).size()) / 1e6;
}
BENCHMARK(BM_RecoveryCopy)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
