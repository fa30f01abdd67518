#pragma once
// Unsaved work is never lost without asking: before the window closes, before
// another file is opened and before a new document is started, a changed
// document offers to be saved first.

namespace korv {

class Workspace;

// Asks (save / go on without saving / cancel) when the document changed
// since it was opened, saved or started. True when the caller may go on:
// nothing changed, the user chose not to save, or the save succeeded.
bool confirmUnsavedChanges(Workspace &ws);

} // namespace korv
