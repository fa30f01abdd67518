#pragma once
// set.cfg: a one-line file whose first line "1" means the first-run steps
// (language window, shortcut table, help tour) have been done.
//
// It lives beside the program. An installed program's folder is often
// read-only, and the first-run steps would then repeat at every start, so
// when the file cannot be written there it goes to the user's configuration
// folder instead; that copy counts only while the program's folder cannot
// be written. An installed program gives no folder of its own (an empty
// one): its mark is the user's alone.

#include <QString>

namespace korv {

inline const QString kFirstRunFileName = QStringLiteral("set.cfg");

// The two places set.cfg is looked for: beside the program, then the user's
// configuration folder.
QString firstRunFileBesideProgram(const QString &programFolder);
QString firstRunFileInConfigFolder();

// True when the first line of set.cfg is exactly "1". A missing, empty or
// unreadable file, or any other first line, reads as not done.
bool FirstRunDone(const QString &programFolder);

// Writes set.cfg anew as the single line "1" CR LF: beside the program, or,
// when that fails, in the user's configuration folder. False when neither
// could be written.
bool WriteFirstRunDone(const QString &programFolder);

} // namespace korv
