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
    std::printf("%s: %d rows, resident %.1f MB (%.1f MB before opening), peak %.1f MB\n", argv[1],
                form.workspace().list.count(), statusMegabytes("VmRSS:"), before, statusMegabytes("VmHWM:"));
    return 0;
}
