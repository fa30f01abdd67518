#include "support/TestFolder.h"

#include "app/Registry.h"
#include "document/FrameRate.h"
#include "document/TimeText.h"
#include "help/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace korv::test {

TestFolder::TestFolder(QChar decimalSeparator)
{
    QDir(dir_.path()).mkpath(QStringLiteral("Language"));
    QByteArray lng = "[Msg]\r\n";
    for (int i = 1; i <= 21; ++i)
        lng += QStringLiteral("%1=M%1\r\n").arg(i, 3, 10, QLatin1Char('0')).toLatin1();
    write(QStringLiteral("Language/Test.lng"), lng);
    setProgramFolder(dir_.path());
    setCurrentLanguage(QStringLiteral("Test"));
    setNumberFormat(decimalSeparator == QLatin1Char(',') ? NumberFormat::comma() : NumberFormat::dot());
    frameRates() = FrameRates{};
    previousSettingsRoot_ = settingsRoot();
    setSettingsRoot(config_.path());
}

TestFolder::~TestFolder()
{
    setNumberFormat(NumberFormat::dot());
    setSettingsRoot(previousSettingsRoot_);
}

QString TestFolder::filePath(const QString &name) const
{
    return QDir(dir_.path()).filePath(name);
}

void TestFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TestFolder::read(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace korv::test
