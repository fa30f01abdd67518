#pragma once
// The language folder "Language" beside the program and what is offered
// from it.

#include <QString>
#include <QStringList>

namespace korv {

class Language;

// Names of the files of a folder, sorted by name without regard to case.
// Every language file counts, whatever its extension; other files (a note,
// a damaged or foreign file) are not offered, since choosing one would leave
// every caption empty. A missing folder lists nothing.
QStringList languageFileNames(const QString &folder);
// A readable file of at most 1 MiB with at least one section the program
// reads ("Form1", "Msg", "AUTHOR", ...).
bool isLanguageFile(const QString &path);

// A file's language: its name less its last four characters (the ".lng").
// Empty when that leaves nothing.
QString languageOfFile(const QString &fileName);

// What the language window shows for a language: its name, a line break,
// and "Author :" followed by the translator's name from the language file.
QString languageAuthorText(const Language &languages, const QString &language);

} // namespace korv
