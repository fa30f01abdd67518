#pragma once
// Which format a subtitle file is in, from its first line (and for SubRip
// the second), past a byte-order mark and empty lines: "[INFORMATION]" as
// the first field or a SubViewer 2 time line means SubViewer 2, a leading
// "{" MicroDVD, a number over a SubRip time line SubRip, "WEBVTT" WebVTT.
// The name does not matter.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korv {

enum class SubtitleFormat { Unknown = 0, SubViewer = 1, MicroDvd = 2, SubRip = 3, WebVtt = 4 };

// The first field as a comma-separated-values reader takes it: leading blanks
// skipped, up to the first comma or the end of the line, quotes removed.
QString firstCsvField(QStringView firstLine);

// Looks at the first kDetectionBytes bytes only (past a UTF-8 byte-order
// mark; of UTF-16, the first kDetectionBytes characters).
constexpr qsizetype kDetectionBytes = 4096;
SubtitleFormat detectFormat(QByteArrayView bytes);

} // namespace korv
