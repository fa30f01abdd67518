#include "locale/LanguageFiles.h"

#include "locale/IniFile.h"
#include "locale/Language.h"
#include "locale/LanguageKeys.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace korv {

bool isLanguageFile(const QString &path)
{
    // Every language file is a few kilobytes; a big file is something else
    // and is not read through.
    constexpr qint64 kMostBytes = 1 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostBytes)
        return false;
    QStringList known;
    for (const SectionKeys &section : keysReadByProgram())
        known << section.section;
    const QStringList sections = iniSectionNames(file.readAll());
    return std::any_of(sections.begin(), sections.end(),
                       [&](const QString &name) { return known.contains(name, Qt::CaseInsensitive); });
}

QStringList languageFileNames(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    names.removeIf([&](const QString &name) { return !isLanguageFile(dir.filePath(name)); });
    return names;
}

QString languageOfFile(const QString &fileName)
{
    constexpr qsizetype kExtensionLength = 4;
    if (fileName.size() <= kExtensionLength)
        return QString();
    return fileName.left(fileName.size() - kExtensionLength);
}

QString languageAuthorText(const Language &languages, const QString &language)
{
    return language + QStringLiteral("\nAuthor :")
        + ReadIniString(kAuthorSection, kAuthorKey, languages.filePath(language));
}

} // namespace korv
