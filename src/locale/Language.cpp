#include "locale/Language.h"

#include "locale/BuiltInTexts.h"
#include "locale/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace korv {

Language::Language(QString programFolder) : programFolder_(programFolder), firstRunFolder_(std::move(programFolder)) {}

Language::Language(const ProgramFiles &files) : programFolder_(files.dataFolder), firstRunFolder_(files.firstRunFolder)
{
}

QString Language::folder() const
{
    return QDir(programFolder_).filePath(QStringLiteral("Language"));
}

QString Language::filePath(const QString &language) const
{
    const QDir dir(folder());
    const QString usual = dir.filePath(language + QStringLiteral(".lng"));
    if (QFileInfo::exists(usual))
        return usual;
    // The language of a file is its name less four characters, whatever they
    // are ("X.LNG" is offered as X): that is the file read for it.
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (name.size() == language.size() + 4 && name.startsWith(language))
            return dir.filePath(name);
    }
    return usual;
}

QString Language::LangMessage(const QString &key) const
{
    if (current_.isEmpty())
        return QString();
    return ReadIniString(QStringLiteral("Msg"), key, currentFile());
}

QString Language::LangText(const QString &key) const
{
    const QString text = LangMessage(key);
    return text.isEmpty() ? builtInText(key) : text;
}

QString Language::LangText(const Message &message) const
{
    return messageWithText(message, message.isSystem() ? QString() : LangText(message.key));
}

} // namespace korv
