#include "locale/Messages.h"

#include "locale/BuiltInTexts.h"
#include "locale/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace korv {

namespace {

QString &folderStorage()
{
    static QString folder;
    return folder;
}

QString &languageStorage()
{
    static QString language;
    return language;
}

} // namespace

QString programFolder()
{
    QString &folder = folderStorage();
    if (folder.isEmpty() && QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    return folder;
}

void setProgramFolder(const QString &folder)
{
    folderStorage() = folder;
}

QString CurrentLanguage()
{
    return languageStorage();
}

void setCurrentLanguage(const QString &language)
{
    languageStorage() = language;
}

QString languageFilePath(const QString &language)
{
    const QDir folder(QDir(programFolder()).filePath(QStringLiteral("Language")));
    const QString usual = folder.filePath(language + QStringLiteral(".lng"));
    if (QFileInfo::exists(usual))
        return usual;
    // The language of a file is its name less four characters, whatever they
    // are ("X.LNG" is offered as X): that is the file read for it.
    const QStringList names = folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (name.size() == language.size() + 4 && name.startsWith(language))
            return folder.filePath(name);
    }
    return usual;
}

QString currentLanguageFile()
{
    return languageFilePath(CurrentLanguage());
}

QString LangMessage(const QString &key)
{
    if (CurrentLanguage().isEmpty())
        return QString();
    return ReadIniString(QStringLiteral("Msg"), key, currentLanguageFile());
}

QString LangText(const QString &key)
{
    const QString text = LangMessage(key);
    return text.isEmpty() ? builtInText(key) : text;
}

QString LangText(const Message &message)
{
    return messageWithText(message, message.isSystem() ? QString() : LangText(message.key));
}

} // namespace korv
