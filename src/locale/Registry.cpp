#include "locale/Registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace korv {

namespace {

QString &rootStorage()
{
    static QString root;
    return root;
}

bool useNativeRegistry()
{
#ifdef Q_OS_WIN
    return rootStorage().isEmpty();
#else
    return false;
#endif
}

// One store per call, opened and closed like a registry key: nothing of the
// values is kept between calls by this module.
std::unique_ptr<QSettings> openKey(const QString &subKey)
{
    if (useNativeRegistry())
        return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + subKey, QSettings::NativeFormat);
    const QString file = settingsFile(subKey);
    if (file.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

// Value names are plain words; a slash or backslash would make QSettings
// read them as a path of groups.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace

QString settingsRoot()
{
    const QString &root = rootStorage();
    if (!root.isEmpty())
        return root;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void setSettingsRoot(const QString &folder)
{
    rootStorage() = folder;
}

QString userDataFolder()
{
    const QString &root = rootStorage();
    if (!root.isEmpty())
        return QDir(root).filePath(QStringLiteral("data"));
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString settingsFile(const QString &subKey)
{
    if (useNativeRegistry())
        return QString();
    const QString root = settingsRoot();
    if (root.isEmpty())
        return QString();
    // The configuration folder already is the user's "Software" branch.
    QString path = subKey;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString software = QStringLiteral("Software/");
    if (path.startsWith(software, Qt::CaseInsensitive))
        path = path.mid(software.size());
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral(".")))
        return QString();
    return QDir(root).filePath(parts.join(QLatin1Char('/')) + QStringLiteral(".ini"));
}

QString userConfigFolder()
{
    QString path = kProgramKey;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // "Software/Korvendal/Altyazi": the maker's folder.
    const QString maker = path.section(QLatin1Char('/'), 1, 1);
    return QDir(settingsRoot()).filePath(maker);
}

void RegSetString(const QString &subKey, const QString &name, const QString &value)
{
    if (!isPlainName(name))
        return;
    const auto key = openKey(subKey);
    if (!key)
        return;
    key->setValue(name, value);
    key->sync();
}

QString RegGetString(const QString &subKey, const QString &name, const QString &defaultValue)
{
    if (!isPlainName(name))
        return defaultValue;
    const auto key = openKey(subKey);
    if (!key)
        return defaultValue;
    const QVariant value = key->value(name);
    if (value.typeId() != QMetaType::QString)
        return defaultValue;
    QString text = value.toString();
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

void SaveRegSetting(const QString &name, const QString &value)
{
    RegSetString(kProgramKey, name, value);
}

QString GetRegSetting(const QString &name)
{
    return RegGetString(kProgramKey, name, QString());
}

} // namespace korv
