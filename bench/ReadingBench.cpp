// The reading checks and the spelling on 100,000-subtitle documents: the
// whole check, the marks after one keystroke, and the spelling of a Turkish
// document and of one typed line.
#include "BenchData.h"

#include "commands/ReadingCommands.h"
#include "commands/Workspace.h"
#include "editing/ReadingCheck.h"
#include "spelling/SpellChecker.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace korv;

namespace {

ReadingRules benchRules()
{
    ReadingRules rules;
    rules.numbers = bench::kNumbers;
    return rules;
}

SpellChecker &turkish()
{
    static std::unique_ptr<SpellChecker> checker = SpellChecker::load(QStringLiteral("tr_TR"));
    return *checker;
}

// Every rule but the spelling over every row.
void BM_CheckAllRows(benchmark::State &state)
{
    const std::vector<SubtitleEntry> rows = bench::makeRows();
    const ReadingRules rules = benchRules();
    std::size_t problems = 0;
    for (auto _ : state)
        problems = checkReading(rows, rules).size();
    state.counters["problems"] = double(problems);
}
BENCHMARK(BM_CheckAllRows)->Unit(benchmark::kMillisecond);

// The list's marks of every row made again (a new profile, a file opened).
void BM_MarkAllRows(benchmark::State &state)
{
    SubtitleList list;
    list.replaceAll(bench::makeRows());
    ReadingMarks marks(list);
    marks.rules = benchRules;
    for (auto _ : state)
        marks.recheckAll();
}
BENCHMARK(BM_MarkAllRows)->Unit(benchmark::kMillisecond);

// One character typed into a line field of row 50,000 of 100,000: the row
// written, its marks and the row before it checked again.
void BM_TypeOneCharacterWithMarks(benchmark::State &state)
{
    SilentDialogs ui;
    Workspace ws(ui, bench::languages());
    ws.numbers = bench::kNumbers;
    ws.list.replaceAll(bench::makeRows());
    ws.list.select(50000);
    const QString base = ws.fields.text(EditFields::Line1);
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        ws.fields.setText(EditFields::Line1, longer ? base + QLatin1Char('x') : base);
    }
}
BENCHMARK(BM_TypeOneCharacterWithMarks)->Unit(benchmark::kMicrosecond);

void BM_LoadTurkishDictionary(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SpellChecker::load(QStringLiteral("tr_TR")));
}
BENCHMARK(BM_LoadTurkishDictionary)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every word of a 100,000-row Turkish document, on one thread, with a fresh
// dictionary each time (no word known from a previous run).
void BM_SpellTurkishDocument(benchmark::State &state)
{
    const std::vector<SubtitleEntry> rows = bench::makeRows();
    std::size_t unknown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto checker = SpellChecker::load(QStringLiteral("tr_TR"));
        state.ResumeTiming();
        unknown = 0;
        for (const SubtitleEntry &row : rows)
            unknown += checker->unknownWords(row.text).size();
    }
    state.counters["unknown"] = double(unknown);
}
BENCHMARK(BM_SpellTurkishDocument)->Iterations(3)->Unit(benchmark::kMillisecond);

// A line field spelled again after a keystroke that made a word the
// dictionary has not seen yet (the other words are known from before).
void BM_SpellTypedLine(benchmark::State &state)
{
    SpellChecker &checker = turkish();
    auto letters = [](int n) {
        QString s;
        do {
            s += QChar(u'a' + n % 26);
            n /= 26;
        } while (n > 0);
        return s;
    };
    int n = 0;
    for (auto _ : state) {
        const QString line = QStringLiteral("Işıklar söndüğünde buluşalım, yarın gel") + letters(++n);
        benchmark::DoNotOptimize(checker.unknownWords(line));
    }
}
BENCHMARK(BM_SpellTypedLine)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
