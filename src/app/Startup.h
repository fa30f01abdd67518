#pragma once
// The editor's start, shared by the program and the start-up benchmark: the
// main window made, loaded and shown, a file named on the command line
// opened after the first activation.

#include "app/EditorCommandLine.h"

class QApplication;

namespace korv {

// Runs the editor until it is closed, opening the subtitle file the command
// line names. With `quitWhenIdle` it ends as soon as the window is up and the
// first activation is over (the benchmark's end).
int runEditor(QApplication &app, const EditorCommandLine &line = {}, bool quitWhenIdle = false);

} // namespace korv
