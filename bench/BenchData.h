#pragma once
// Documents of realistic shape for the benchmarks: 100,000 subtitles of one
// or two lines, Turkish text, two to four seconds each.

#include "document/SubtitleList.h"
#include "document/TimeText.h"
#include "locale/Language.h"

#include <QByteArray>
#include <vector>

namespace korv::bench {

constexpr int kRows = 100000;

// The benchmarks write and read times with ".".
inline const NumberFormat kNumbers = NumberFormat::dot();
// The program's languages for a benchmark's workspace or window: no files.
Language &languages();

std::vector<SubtitleEntry> makeRows(int count = kRows);
// The same rows as file bytes, Windows-1254 with CR LF.
QByteArray subViewerFile(int count = kRows);
QByteArray microDvdFile(int count = kRows);
// The same rows as SubRip (CR LF) and WebVTT (LF) files, UTF-8.
QByteArray subRipFile(int count = kRows);
QByteArray webVttFile(int count = kRows);

// Sets up what the programs need (the offscreen platform) and runs the
// benchmarks the command line chooses.
int runBenchmarks(int argc, char **argv);

} // namespace korv::bench
