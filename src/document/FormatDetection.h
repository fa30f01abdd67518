#pragma once
// Which format a subtitle file is in, from its first field: "[INFORMATION]"
// means SubViewer 2, a leading "{" means MicroDVD. The name does not matter.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korv {

enum class SubtitleFormat { Unknown = 0, SubViewer = 1, MicroDvd = 2 };

// The first field as a comma-separated-values reader takes it: leading blanks
// skipped, up to the first comma or the end of the line, quotes removed.
QString firstCsvField(QStringView firstLine);

// Looks at the file's first line only (past a UTF-8 byte-order mark).
SubtitleFormat detectFormat(QByteArrayView bytes);

} // namespace korv
