#pragma once
// The start-up steps that concern settings and language: mark the installed
// version, let the user choose a language on a first run, then build the
// language menu, which applies the stored language.

#include <QString>

#include <functional>

namespace korv {

class LanguageMenu;

// Stores "version"; when set.cfg (beside the program in `firstRunFolder`, or
// the user's) does not say the first run is done, calls
// `showLanguageWindow` (which returns when the window has closed); then runs
// the menu's LoadLanguageMenu.
void RunLanguageStartup(const QString &firstRunFolder, LanguageMenu &menu,
                        const std::function<void()> &showLanguageWindow);

} // namespace korv
