#pragma once
// Reads one value of an INI-style file (language files).
//
// Section lines "[name]", key lines "name=value"; names compared without
// regard to case; the first matching section and key win; a value is one
// line, blanks around it dropped (quotes around it keep them), ended by a
// zero byte, cut to its first 1023 characters. Bytes are Windows-1254 (UTF-8
// is taken where a value is valid UTF-8; a file with a UTF-8 byte-order mark
// or in UTF-16 with its mark is read as such). A missing file,
// section or key gives the default. Nothing is cached: every call reads the
// file again, so a changed file is seen at once.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace korv {

QString ReadIniString(const QString &section, const QString &key, const QString &fileName,
                      const QString &defaultText = QString());

// The same from the file's bytes.
QString readIniValue(QByteArrayView bytes, const QString &section, const QString &key,
                     const QString &defaultText = QString());

// The names of every section line "[name]" of the file's bytes, in order.
QStringList iniSectionNames(QByteArrayView bytes);

} // namespace korv
