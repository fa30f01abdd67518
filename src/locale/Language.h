#pragma once
// The program's languages: the folder with "Language" (and "Help") in it, the
// language in use, and its numbered messages.
//
// One object a run, made at start-up and handed to the commands and the
// windows, so tests give each its own folder. Messages are read from the
// current language file at the moment they are shown; a missing file,
// section or key gives the empty text, or for the messages of this release
// the built-in Turkish one.

#include "document/Message.h"
#include "locale/ProgramFiles.h"

#include <QString>

namespace korv {

class Language {
public:
    // A program with its files beside it.
    explicit Language(QString programFolder);
    explicit Language(const ProgramFiles &files);

    // The folder holding "Language" and "Help".
    const QString &programFolder() const { return programFolder_; }
    // Where set.cfg may go beside the program; empty for an installed one.
    const QString &firstRunFolder() const { return firstRunFolder_; }

    // Name of the current language: a language file's name less its
    // extension; empty until one is chosen.
    const QString &CurrentLanguage() const { return current_; }
    void setCurrentLanguage(const QString &language) { current_ = language; }

    // Program folder + "/Language".
    QString folder() const;
    // The file of a language: its name with ".lng", or the file it was
    // offered from ("X.LNG").
    QString filePath(const QString &language) const;
    QString currentFile() const { return filePath(current_); }

    // Section "Msg" of the current language file.
    QString LangMessage(const QString &key) const;
    // A message of this release ("021" on): the current language's text, or
    // the built-in Turkish one when the language file does not have it.
    QString LangText(const QString &key) const;
    // A message with its values filled in and its file on a line of its own.
    QString LangText(const Message &message) const;

private:
    QString programFolder_;
    QString firstRunFolder_;
    QString current_;
};

} // namespace korv
