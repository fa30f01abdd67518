#pragma once
// Subtitle files on disk: read whole (within a size no subtitle file comes
// near), recognised by their first line, encoded in Windows-1254, and
// written through a temporary file that replaces the target only when every
// byte was written, so a failed save never damages the old file.
//
// Nothing here talks to the user: failures come back as messages.

#include "document/FormatDetection.h"
#include "document/Result.h"
#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

#include <vector>

namespace korv {

// The most a subtitle file may hold: far beyond any real one (100,000
// subtitles take about 8 MB), far below what would exhaust memory.
constexpr qint64 kMaxSubtitleFileBytes = qint64(256) << 20;
// How much of a file the format detection looks at (a byte-order mark and
// the first line's first 4096 bytes, or characters of UTF-16).
constexpr qint64 kFormatHeadBytes = 2 + 2 * 4096;

// The rest of an open file (standard input, a pipe), refused when it is far
// bigger than a subtitle file can be (a film chosen by mistake, a device
// without end) rather than read into memory. `path` names it in a failure.
Result<QByteArray> readAllOf(QFile &file, const QString &path);

// A file's bytes; refused, with the reason, when it is not a regular file,
// cannot be read or is bigger than kMaxSubtitleFileBytes.
Result<QByteArray> readWholeFile(const QString &path);

struct DetectedFile {
    SubtitleFormat format = SubtitleFormat::Unknown;
    QByteArray bytes; // the whole file, when its format was recognised
};
// The file's format from its first line; a recognised file is read whole
// (once: its reader gets the same bytes), any other is not read through, so
// a film or a device chosen by mistake answers at once. A named pipe, a
// device or a folder is refused before it is opened.
Result<DetectedFile> readSubtitleFile(const QString &path);

// A subtitle file's bytes decoded and read in `format` (`framesPerSecond`
// for MicroDVD). Bytes that were no character are replaced, and a notice
// names the rows that hold them (msg::InvalidBytesReplaced).
ReadOutcome readSubtitleBytes(SubtitleFormat format, QByteArrayView bytes, double framesPerSecond,
                              const NumberFormat &nf);

// Windows-1254 bytes of a file's text; a character the code page cannot hold
// refuses the whole file, naming the row (from the writer's row offsets).
Result<QByteArray> encodeForFile(const QString &text, const std::vector<qsizetype> &rowOffsets);

// Whether this program may write `path` (a file or a folder), by the rights
// it runs with.
bool mayWrite(const QString &path);

// How a save's bytes reach the temporary file; tests put a failing writer here.
using DeviceWriter = qint64 (*)(QIODevice &device, const char *data, qint64 size);
// The bytes through a temporary file that replaces `path` only when all of
// them were written: a failure leaves the old file as it was.
Status writeFileAtomically(const QString &path, const QByteArray &bytes, DeviceWriter write = nullptr);

} // namespace korv
