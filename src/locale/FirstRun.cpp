#include "locale/FirstRun.h"

#include "locale/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace korv {

namespace {

bool firstLineIsOne(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Only the first line matters; a huge file is not read to its end.
    const QByteArray head = file.read(64);
    qsizetype end = 0;
    while (end < head.size() && head[end] != '\r' && head[end] != '\n')
        ++end;
    return head.first(end) == "1";
}

bool writeOne(const QString &path)
{
    QSaveFile file(path);
    // A read-only folder may still hold a writable set.cfg.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("1\r\n");
    return file.commit();
}

} // namespace

QString firstRunFileBesideProgram(const QString &programFolder)
{
    return QDir(programFolder).filePath(kFirstRunFileName);
}

QString firstRunFileInConfigFolder()
{
    return QDir(userConfigFolder()).filePath(kFirstRunFileName);
}

bool FirstRunDone(const QString &programFolder)
{
    if (programFolder.isEmpty())
        return firstLineIsOne(firstRunFileInConfigFolder());
    if (firstLineIsOne(firstRunFileBesideProgram(programFolder)))
        return true;
    // The copy in the configuration folder stands in only for a program
    // folder that cannot be written; otherwise deleting set.cfg beside the
    // program brings the first run back.
    return !QFileInfo(programFolder).isWritable() && firstLineIsOne(firstRunFileInConfigFolder());
}

bool WriteFirstRunDone(const QString &programFolder)
{
    if (!programFolder.isEmpty() && writeOne(firstRunFileBesideProgram(programFolder)))
        return true;
    if (!QDir().mkpath(userConfigFolder()))
        return false;
    return writeOne(firstRunFileInConfigFolder());
}

} // namespace korv
