#include "ffmpeg/FfmpegModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace korv::ffmpeg {

namespace {

QString programFolder()
{
    // The file itself, links resolved: a program started through a link
    // still finds the module installed beside its real folder.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (const QString real = self.canonicalFilePath(); !real.isEmpty())
        return QFileInfo(real).absolutePath();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

} // namespace

QStringList moduleFolders(const QString &programFolder)
{
    const QDir folder(programFolder);
    return {QDir::cleanPath(folder.filePath(QStringLiteral("../") + QLatin1String(kModuleFolder))),
            QDir::cleanPath(programFolder)};
}

bool Module::load(QString *problem)
{
    if (!tried_) {
        tried_ = true;
        QString found;
        for (const QString &folder : folders_) {
            const QString path = QDir(folder).filePath(QLatin1String(kModuleFile));
            if (QFileInfo(path).isFile()) {
                found = path;
                break;
            }
        }
        if (found.isEmpty()) {
            loadProblem_ = QStringLiteral("%1 is not in %2").arg(QLatin1String(kModuleFile), folders_.join(QStringLiteral(", ")));
        } else {
            library_.setFileName(found);
            // The module's own symbols stay its own; resolved at once, so a
            // library it lacks is named now rather than at the first call.
            library_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
            if (!library_.load())
                loadProblem_ = library_.errorString();
        }
    }
    if (!loadProblem_.isEmpty() && problem)
        *problem = loadProblem_;
    return loadProblem_.isEmpty();
}

QFunctionPointer Module::entry(const char *name, QString *problem)
{
    const std::lock_guard lock(mutex_);
    if (!load(problem))
        return nullptr;
    const QFunctionPointer found = library_.resolve(name);
    if (!found && problem)
        *problem = QStringLiteral("%1 has no %2 (%3)").arg(library_.fileName(), QLatin1String(name), library_.errorString());
    return found;
}

QFunctionPointer entry(const char *name, QString *problem)
{
    static Module module(moduleFolders(programFolder()));
    return module.entry(name, problem);
}

} // namespace korv::ffmpeg
