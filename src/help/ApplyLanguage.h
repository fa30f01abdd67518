#pragma once
// ApplyLanguage: re-labels a window from the current language file.
//
// The window is recognised by its object name ("Form1", "frmKisayollar",
// "frmBilgiAliniyor", "frmSecenekler"); each key of its section is read from
// the file at that moment, in the table's order, and set on the control of
// that name. A key missing from the file gives an empty text; a file that
// cannot be read at all leaves the window's texts as they are. A control the
// window lacks stops the window's re-labelling with a message box naming it.
// Any other window is left alone.

#include <QString>

class QWidget;

namespace korv {

class Language;
class UserDialogs;

void ApplyLanguage(QWidget *window, const Language &language, UserDialogs &ui);
// The same, showing its message box over the window.
void ApplyLanguage(QWidget *window, const Language &language);

// A caption as a control without mnemonics shows it: "&&" is one "&", and a
// single "&" (which marks a mnemonic) is dropped.
QString captionWithoutMnemonics(const QString &text);

} // namespace korv
