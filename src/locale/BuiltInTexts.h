#pragma once
// The texts of this release that a language file of an older one lacks, in
// Turkish, the program's own language. The shipped language files hold them
// all; these stand in when the chosen file does not.

#include <QString>
#include <QStringList>

namespace korv {

// The built-in text of a message ("021" on); empty for another key.
QString builtInText(const QString &key);
// Every message key that has a built-in text, in order.
QStringList builtInKeys();

} // namespace korv
