#include "locale/LanguageFiles.h"

#include "help/Messages.h"
#include "locale/IniFile.h"
#include "locale/LanguageKeys.h"

#include <QDir>

namespace korv {

QString languageFolder()
{
    return QDir(programFolder()).filePath(QStringLiteral("Language"));
}

QStringList languageFileNames(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    return dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString languageOfFile(const QString &fileName)
{
    constexpr qsizetype kExtensionLength = 4;
    if (fileName.size() <= kExtensionLength)
        return QString();
    return fileName.left(fileName.size() - kExtensionLength);
}

QString languageAuthorText(const QString &language)
{
    return language + QStringLiteral("\nAuthor :")
        + ReadIniString(kAuthorSection, kAuthorKey, languageFilePath(language));
}

} // namespace korv
