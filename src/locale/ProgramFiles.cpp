#include "locale/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

namespace korv {

ProgramFiles locateProgramFiles(const QString &programFolder)
{
    const QDir beside(programFolder);
    if (QFileInfo(beside.filePath(QStringLiteral("Language"))).isDir())
        return {programFolder, programFolder};
    const QString installed = QDir::cleanPath(beside.filePath(QStringLiteral("../share/korvendal-sub")));
    if (QFileInfo(installed + QStringLiteral("/Language")).isDir())
        return {installed, QString()};
    return {programFolder, programFolder};
}

} // namespace korv
