#pragma once
// The current language and the numbered messages "001" to "020".
//
// Messages are read from the current language file at the moment they are
// shown; a missing file, section or key gives the empty text.

#include "document/Message.h"

#include <QString>

namespace korv {

// The folder the program runs from, with "Language" and "Help" beside it.
// Tests point it at a folder of their own.
QString programFolder();
void setProgramFolder(const QString &folder);

// Name of the current language: a language file's name less its extension.
QString CurrentLanguage();
void setCurrentLanguage(const QString &language);

// Program folder + "/Language/" + language + ".lng".
QString languageFilePath(const QString &language);
QString currentLanguageFile();

// Section "Msg" of the current language file.
QString LangMessage(const QString &key);

// A message of this release ("021" on): the current language's text, or the
// built-in Turkish one when the language file does not have it (a file of an
// older release, or none at all).
QString LangText(const QString &key);
// A message with its values filled in and its file on a line of its own.
QString LangText(const Message &message);

} // namespace korv
