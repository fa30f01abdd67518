#pragma once
// A private program folder for one test: a "Language" folder with a language
// file whose messages read "M001", "M002", ... (every key the program has),
// the program's languages over it with that file chosen, and an empty
// settings store of its own.

#include "document/TimeText.h"
#include "locale/BuiltInTexts.h"
#include "locale/Language.h"
#include "locale/Registry.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace korv::test {

class TestFolder {
    QTemporaryDir dir_, config_;

public:
    TestFolder()
    {
        QByteArray lng = "[Msg]\r\n";
        QStringList keys;
        for (int i = 1; i <= 20; ++i)
            keys << QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        for (const QString &key : keys + builtInKeys())
            lng += QStringLiteral("%1=M%1\r\n").arg(key).toLatin1();
        write(QStringLiteral("Language/Test.lng"), lng);
        language.setCurrentLanguage(QStringLiteral("Test"));
        setSettingsRoot(config_.path());
    }
    ~TestFolder() { setSettingsRoot(previousSettingsRoot_); }

    Language language{dir_.path()};

    // The folder the settings store lives under for this test.
    QString configPath() const { return config_.path(); }
    QString filePath(const QString &name) const { return QDir(dir_.path()).filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString previousSettingsRoot_ = settingsRoot();
};

// Message text of the test language file.
inline QString shownText(const char *key)
{
    return QStringLiteral("M") + QLatin1String(key);
}
inline QString shownText(const QString &key)
{
    return QStringLiteral("M") + key;
}
// A message about a file as the test language shows it: its text, then the file.
inline QString shownText(const QString &key, const QString &path)
{
    return shownText(key) + QStringLiteral("\r\n") + path;
}

} // namespace korv::test
