#pragma once
// Opening and saving subtitle files: the file menu's "ALTYAZI AÇ" and its two
// "KAYDET" items, the format detection and the four readers and writers.
//
// A writer never damages its target: the whole file is built and encoded
// first, then written through a temporary file that replaces the target only
// when everything was written.

#include "document/FormatDetection.h"
#include "document/Result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

namespace korv {

class Workspace;

// Menu indexes of the two save items.
enum SaveFormatIndex { SaveSubViewer = 2, SaveMicroDvd = 3 };

// "ALTYAZI AÇ": dialog, detection, the reader of the format, renumbering.
void mnualtyaziac_Click(Workspace &ws);

// The part after the dialog, also used for a file named on the command line.
// True when the whole file was read into the list.
bool openSubtitleFile(Workspace &ws, const QString &path);

struct DetectedFile {
    SubtitleFormat format = SubtitleFormat::Unknown;
    QByteArray bytes;
};

// Reads the file once (the reader gets the same bytes) and recognises its
// format; sets the workspace's current file. A file that cannot be read is
// reported and counts as not recognised.
DetectedFile DetectSubtitleFormat(Workspace &ws, const QString &path);

// Replace the list with the file's rows; true when the whole file was read.
// On a failure the rows read so far stay and the reason is shown.
bool ReadSubViewerFile(Workspace &ws, const QByteArray &bytes);
bool ReadMicroDVDFile(Workspace &ws, const QByteArray &bytes);

// Write the list to `path`; true when written (and "003" was shown).
bool WriteSubViewerFile(Workspace &ws, const QString &path);
bool WriteMicroDVDFile(Workspace &ws, const QString &path);

// The save items (index 2 SubViewer, 3 MicroDVD): the overlap check, the
// save dialog, the writer. True when the file was written.
bool mnualtyazikaydet_Click(Workspace &ws, int index);

// The shared file dialog: a chosen path, or nothing when the user cancelled
// (silent) or the dialog failed ("Error N selecting file." shown). The dialog
// remembers the path for its next use.
std::optional<QString> chooseFileToOpen(Workspace &ws, const QString &filter);
std::optional<QString> chooseFileToSave(Workspace &ws, const QString &filter, const QString &fileName);

// The most a subtitle file may hold: far beyond any real one (100,000
// subtitles take about 8 MB), far below what would exhaust memory.
constexpr qint64 kMaxSubtitleFileBytes = qint64(256) << 20;
// How much of a file the format detection looks at (a byte-order mark and
// the first line's first 4096 bytes).
constexpr qint64 kFormatHeadBytes = 4099;

// Building blocks shared with the command-line converter.
// A file's bytes; refused, with the reason, when it cannot be read or is
// bigger than kMaxSubtitleFileBytes.
Result<QByteArray> readWholeFile(const QString &path);
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
