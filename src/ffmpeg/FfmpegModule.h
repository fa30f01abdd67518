#pragma once
// FFmpeg's libraries are not linked into the programs: every call into them
// lives in a module (korvendal-ffmpeg.so) loaded on the first film described
// or sound decoded. Linked, they and the codec libraries they pull in took
// about 17 MB of every window's memory, film or none.
//
// The module is looked for in the package's private library folder beside
// the program's folder (`../lib/x86_64-linux-gnu/korvendal-sub` on Debian:
// under `build/` for everything in the build, under `/usr` for `/usr/bin`),
// then in the program's own folder. When it cannot be loaded the caller gets why, in
// words naming the file (or the library it lacks), and fails as it does for
// a film it cannot read.

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <mutex>

namespace korv::ffmpeg {

inline constexpr char kModuleFile[] = "korvendal-ffmpeg.so";
// Its folder under the prefix (the build folder or the installed one).
inline constexpr char kModuleFolder[] = KORV_MODULE_SUBDIR;

// The folders the module is looked for in, in order, for a program in
// `programFolder`.
QStringList moduleFolders(const QString &programFolder);

// One module file, loaded on the first entry asked of it, never unloaded.
// Safe to use from several threads.
class Module {
public:
    explicit Module(QStringList folders) : folders_(std::move(folders)) {}

    // The named entry point; null when the module or the entry is missing,
    // with why in `problem`.
    QFunctionPointer entry(const char *name, QString *problem);

private:
    bool load(QString *problem);

    QStringList folders_;
    std::mutex mutex_;
    QLibrary library_;
    bool tried_ = false;
    QString loadProblem_;
};

// The running program's module (found from the program's own folder).
QFunctionPointer entry(const char *name, QString *problem);

} // namespace korv::ffmpeg
