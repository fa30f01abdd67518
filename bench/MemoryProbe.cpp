// The editor's window with a 100,000-row document open: what it holds in
// memory once the rows are shown. bench/memory.sh writes the files first
// (another process, so that making them weighs nothing here), then opens
// each in a fresh process and prints what it reports.
// Usage: korvendal-memory-probe --write microdvd|subrip|webvtt|subviewer FILE
//        korvendal-memory-probe FILE
#include "BenchData.h"

#include "app/Form1.h"
#include "commands/FileCommands.h"
#include "locale/FirstRun.h"
#include "locale/Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <malloc.h>

using namespace korv;

namespace {

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in MB.
double statusMegabytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Where the resident memory lies, from /proc/self/smaps: the mapped files
// (the program and its libraries, fonts), and the anonymous memory of the
// heap and the rest (thread arenas, large blocks, stacks); and of what the
// allocator holds, how much is in use.
QByteArray residentParts()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    double files = 0, anonymous = 0;
    bool file = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 5 && f[0].contains('-') && !f[0].endsWith(':')) {
            // "start-end perms offset dev inode [path]": a file has an inode.
            file = f[4] != "0";
        } else if (f.size() >= 2 && f[0] == "Rss:") {
            (file ? files : anonymous) += f[1].toDouble() / 1024.0;
        }
    }
    const struct mallinfo2 heap = mallinfo2();
    const double used = double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
    const double free = double(heap.fordblks) / (1024.0 * 1024.0);
    return QStringLiteral("files %1 MB, anonymous %2 MB (allocated %3 MB, free in the heap %4 MB)")
        .arg(files, 0, 'f', 1)
        .arg(anonymous, 0, 'f', 1)
        .arg(used, 0, 'f', 1)
        .arg(free, 0, 'f', 1)
        .toUtf8();
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--write") {
        const QByteArray format(argv[2]);
        QByteArray (*file)(int) = format == "microdvd" ? bench::microDvdFile
            : format == "subrip"                      ? bench::subRipFile
            : format == "webvtt"                      ? bench::webVttFile
            : format == "subviewer"                   ? bench::subViewerFile
                                                      : nullptr;
        QFile out(QString::fromLocal8Bit(argv[3]));
        return file && out.open(QIODevice::WriteOnly) && out.write(file(bench::kRows)) > 0 ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvendal-memory-probe [--write FORMAT] FILE\n");
        return 2;
    }
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Language"));
    QFile::copy(QStringLiteral(KORV_SOURCE_DIR "/data/Language/Turkish.lng"),
                folder.filePath(QStringLiteral("Language/Turkish.lng")));
    setSettingsRoot(folder.filePath(QStringLiteral("config")));
    WriteFirstRunDone(folder.path());
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Turkish"));
    Language language(folder.path());
    SilentDialogs silent(25.0);
    Form1 form(language, &silent);
    form.Form_Load();
    form.show();
    QApplication::processEvents();
    const double before = statusMegabytes("VmRSS:");
    if (!openSubtitleFile(form.workspace(), QString::fromLocal8Bit(argv[1])))
        return 1;
    form.repaint();
    QApplication::processEvents();
    std::printf("%s: %d rows, resident %.1f MB (%.1f MB before opening), peak %.1f MB\n  %s\n", argv[1],
                form.workspace().list.count(), statusMegabytes("VmRSS:"), before, statusMegabytes("VmHWM:"),
                residentParts().constData());
    // Ended here, the window and the document still allocated: nothing is
    // left to tidy, and a heap profiler run over the probe reports what the
    // open document holds as what was never freed.
    std::fflush(stdout);
    std::_Exit(0);
}
