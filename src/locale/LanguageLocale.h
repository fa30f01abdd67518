#pragma once
// Dates and times as the window's language writes them.

#include <QLocale>

namespace korv {

class Language;

// The locale of the language in use: the language a file is named after
// ("English", or its own name, "Deutsch"), Turkish before one is chosen (the
// built-in texts are Turkish), the system's for a name that is no language.
QLocale localeOf(const Language &language);

} // namespace korv
