#pragma once
// Where the program's own files are.
//
// Run from its build folder or from a copied folder, the program has
// "Language" and "Help" beside it, and set.cfg goes there too. Installed
// (the programs in <prefix>/bin), it finds them in <prefix>/share/korvendal-sub;
// its folder then belongs to the system and is shared by every user, so the
// first-run mark lives only in each user's configuration folder, as it does
// for any program folder that cannot be written.

#include <QString>

namespace korv {

struct ProgramFiles {
    QString dataFolder;     // holds "Language" and "Help"
    QString firstRunFolder; // where set.cfg may go beside the program; empty when installed
};

// The files of the program in `programFolder` (the folder of its executable).
// Beside it when a "Language" folder is there, else the installed place when
// that has one; beside it again when neither has (the built-in texts serve).
ProgramFiles locateProgramFiles(const QString &programFolder);

} // namespace korv
