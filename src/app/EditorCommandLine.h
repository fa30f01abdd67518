#pragma once
// The editor's command line: `korvendal-sub [SUBTITLE] [--film FILM]`,
// `--help` and `--version`. It is read before the window system is reached, so --help and
// --version answer on a machine without a display, and a wrong option ends
// with the usage instead of a window. Qt's own options (-platform, -style,
// ...) are let through for QApplication to take.

#include <QString>
#include <QStringList>

namespace korv {

struct EditorCommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QString subtitle; // the file to open at start; empty for none
    QString film;     // the film to open at start (--film FILM); empty for none
    QString error;    // what was wrong, for UsageError
};

// `arguments` without the program name, as the system gave them.
EditorCommandLine readEditorCommandLine(const QStringList &arguments);

QString editorUsage();

// What to print before ending, and the exit code, for every action but Run:
// the help and the version on standard output (0), a usage error and the
// usage on standard error (2).
struct EditorAnswer {
    int exitCode = 0;
    QString out;
    QString err;
};
EditorAnswer answerWithoutWindow(const EditorCommandLine &line);

} // namespace korv
