#pragma once
// A private program folder for one test: a "Language" folder with a language
// file whose messages read "M001" to "M020", chosen as the current language,
// the user's number format set to a known one, and an empty settings store
// of its own.

#include "support/QtPrinters.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace korv::test {

class TestFolder {
public:
    explicit TestFolder(QChar decimalSeparator = QLatin1Char('.'));
    ~TestFolder();

    QString path() const { return dir_.path(); }
    // The folder the settings store lives under for this test.
    QString configPath() const { return config_.path(); }
    QString filePath(const QString &name) const;

    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir dir_;
    QTemporaryDir config_;
    QString previousSettingsRoot_;
};

// Message text of the test language file.
inline QString msg(const char *key)
{
    return QStringLiteral("M") + QLatin1String(key);
}

} // namespace korv::test
