#pragma once
// Opening and saving subtitle files: the file menu's "ALTYAZI AÇ" and its two
// "KAYDET" items, with their dialogs, questions and notices, over the file
// layer of document/FileIO.h.

#include "document/FileIO.h"
#include "document/TimeText.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace korv {

class Workspace;

// The save items, by their menu index.
enum class SaveFormat { SubViewer = 2, MicroDvd = 3, SubRip = 4, WebVtt = 5 };

// Hundredths for SubViewer 2 and MicroDVD, milliseconds for SubRip and WebVTT.
TimePrecision precisionOf(SaveFormat format);

// "ALTYAZI AÇ": dialog, detection, the reader of the format, renumbering.
void mnualtyaziac_Click(Workspace &ws);

// The part after the dialog, also used for a file named on the command line.
// True when the whole file was read into the list.
bool openSubtitleFile(Workspace &ws, const QString &path);

// Reads the file once (the reader gets the same bytes) and recognises its
// format. A file that cannot be read is reported and counts as not
// recognised.
DetectedFile DetectSubtitleFormat(Workspace &ws, const QString &path);

// Replace the list with the file's rows; true when the whole file was read.
// On a failure the rows read so far stay and the reason is shown.
bool ReadSubViewerFile(Workspace &ws, const QByteArray &bytes);
bool ReadMicroDVDFile(Workspace &ws, const QByteArray &bytes);
bool ReadSubRipFile(Workspace &ws, const QByteArray &bytes);
// Parts the rows have no place for (cue identifiers, settings, NOTE blocks)
// are told of once.
bool ReadWebVttFile(Workspace &ws, const QByteArray &bytes);

// Write the list to `path`; true when written (and "003" was shown).
bool WriteSubViewerFile(Workspace &ws, const QString &path);
bool WriteMicroDVDFile(Workspace &ws, const QString &path);
// UTF-8 without a byte-order mark; CR LF for SubRip, LF for WebVTT.
bool WriteSubRipFile(Workspace &ws, const QString &path);
bool WriteWebVttFile(Workspace &ws, const QString &path);

// The save items: the overlap check, the save dialog, the writer of the
// format. True when the file was written.
bool mnualtyazikaydet_Click(Workspace &ws, SaveFormat format);

// The shared file dialog: a chosen path, or nothing when the user cancelled
// (silent) or the dialog failed ("Error N selecting file." shown). The dialog
// remembers the path for its next use.
std::optional<QString> chooseFileToOpen(Workspace &ws, const QString &filter);
std::optional<QString> chooseFileToSave(Workspace &ws, const QString &filter, const QString &fileName);

} // namespace korv
