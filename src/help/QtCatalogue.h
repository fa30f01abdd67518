#pragma once
// Qt's own windows (the file chooser, its "replace the file?" question, the
// buttons of standard boxes) speak the language of the window's language
// file through Qt's translation catalogue for that language. Our own texts
// still come from the language files; this covers only the words Qt writes.

#include <QLocale>

namespace korv {

// Installs Qt's catalogue for `locale` in place of the one before it;
// English, or a language Qt has no catalogue for, leaves Qt's own English.
// Returns whether a catalogue is now in use.
bool UseQtCatalogue(const QLocale &locale);

} // namespace korv
