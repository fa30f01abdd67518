// The Debian package, made from this build folder into a temporary one, as
// scripts/package.sh makes it: the files it installs and their rights, its
// control fields and computed dependencies, its manual pages, its metadata,
// and what lintian says of it. The installed programs must find their files
// where the package puts them.
#include "locale/ProgramFiles.h"
#include "support/QtPrinters.h"
#include "support/TestFilms.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

using namespace korv;

namespace {

struct Ran {
    int exitCode = -1;
    QString out, err;
};

Ran run(const QString &program, const QStringList &args, const QString &workingFolder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(600000))
        return {-1, {}, program + QStringLiteral(" did not run: ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

// The files under a source folder, as they must appear under `target`.
std::set<QString> filesOf(const QString &source, const QString &target)
{
    std::set<QString> files;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QLatin1String(".gitkeep")))
            files.insert(target + QDir(source).relativeFilePath(path));
    }
    return files;
}

// A section of a manual page as man shows it, without its heading.
QString section(const QString &page, const char *heading)
{
    static const QRegularExpression nextHeading(QStringLiteral("\n[A-Z]"));
    return page.section(QLatin1Char('\n') + QLatin1String(heading) + QLatin1Char('\n'), 1).section(nextHeading, 0, 0);
}

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

class PackageTest : public ::testing::Test {
protected:
    // Made once for every check: making a package takes seconds.
    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline QString deb, problem, missingTool;

    static void SetUpTestSuite()
    {
        for (const char *name : {"dpkg-deb", "dpkg-shlibdeps"}) {
            if (tool(name).isEmpty()) {
                missingTool = QStringLiteral("%1 is not installed (scripts/setup.sh installs dpkg-dev)").arg(name);
                return;
            }
        }
        folder = std::make_unique<QTemporaryDir>();
        const Ran made = run(QStringLiteral(KORV_CPACK_COMMAND),
                             {"-G", "DEB", "--config", KORV_BINARY_DIR "/CPackConfig.cmake", "-B", folder->path()},
                             folder->path());
        const QStringList debs = QDir(folder->path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        if (made.exitCode != 0 || debs.size() != 1) {
            problem = QStringLiteral("cpack failed:\n") + made.out + made.err;
            return;
        }
        deb = QDir(folder->path()).filePath(debs.first());
        const Ran extracted = run(tool("dpkg-deb"), {"-x", deb, folder->filePath("root")});
        if (extracted.exitCode != 0)
            problem = QStringLiteral("dpkg-deb -x failed: ") + extracted.err;
    }
    static void TearDownTestSuite() { folder.reset(); }

    void SetUp() override
    {
        if (!missingTool.isEmpty())
            GTEST_SKIP() << missingTool.toStdString();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }

    static QString root(const QString &path = {}) { return folder->filePath(QStringLiteral("root") + path); }

    // Field -> value of the package's control file.
    static std::map<QString, QString> controlFields()
    {
        std::map<QString, QString> fields;
        QString last;
        for (const QString &line : run(tool("dpkg-deb"), {"-f", deb}).out.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1Char(' ')) && !last.isEmpty()) {
                fields[last] += QLatin1Char('\n') + line;
            } else if (const qsizetype colon = line.indexOf(QLatin1Char(':')); colon > 0) {
                last = line.left(colon);
                fields[last] = line.mid(colon + 1).trimmed();
            }
        }
        return fields;
    }

    // A manual page as man shows it; its warnings in `warnings`.
    static QString manualPage(const QString &name, QString *warnings = nullptr)
    {
        const Ran shown = run(tool("man"), {"--warnings", "-l", root("/usr/share/man/man1/" + name + ".1.gz")});
        if (warnings)
            *warnings = shown.exitCode == 0 ? shown.err : QStringLiteral("man failed: ") + shown.err;
        return shown.out;
    }
};

} // namespace

TEST_F(PackageTest, HoldsEveryFileInItsPlaceOwnedByRootAndReadableByAll)
{
    EXPECT_EQ(QFileInfo(deb).fileName(), "korvendal-sub_" KORV_PROJECT_VERSION "_amd64.deb");

    std::set<QString> expected = {
        "./usr/bin/korvendal-sub",
        "./usr/bin/korvendal-subconv",
        "./usr/" KORV_MODULE_SUBDIR "/korvendal-ffmpeg.so",
        "./usr/share/applications/korvendal-sub.desktop",
        "./usr/share/metainfo/example.korvendal.sub.metainfo.xml",
        "./usr/share/man/man1/korvendal-sub.1.gz",
        "./usr/share/man/man1/korvendal-subconv.1.gz",
        "./usr/share/doc/korvendal-sub/copyright",
        "./usr/share/doc/korvendal-sub/changelog.gz",
    };
    for (int size : kIconSizes)
        expected.insert(QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/korvendal-sub.png").arg(size));
    expected.merge(filesOf(KORV_SOURCE_DIR "/data/Language", "./usr/share/korvendal-sub/Language/"));
    expected.merge(filesOf(KORV_SOURCE_DIR "/data/Help", "./usr/share/korvendal-sub/Help/"));
    ASSERT_GT(expected.size(), 20u);

    // "-rw-r--r-- root/root 1234 2026-12-07 04:00 ./usr/share/..."
    std::set<QString> files;
    const Ran listed = run(tool("dpkg-deb"), {"-c", deb});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    for (const QString &line : listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(f.size(), 6) << line.toStdString();
        const QString &rights = f[0];
        const QString &path = f[5];
        EXPECT_EQ(f[1], "root/root") << line.toStdString();
        if (rights.startsWith(QLatin1Char('d'))) {
            EXPECT_EQ(rights, "drwxr-xr-x") << line.toStdString();
            continue;
        }
        files.insert(path);
        EXPECT_EQ(rights, path.startsWith("./usr/bin/") ? "-rwxr-xr-x" : "-rw-r--r--") << line.toStdString();
    }
    EXPECT_EQ(files, expected);

    // Each icon is the size its folder says.
    for (int size : kIconSizes) {
        const QImage icon(root(QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/korvendal-sub.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
}

TEST_F(PackageTest, ControlFieldsNameTheProgramAndEveryPackageItNeeds)
{
    const std::map<QString, QString> fields = controlFields();
    const auto field = [&fields](const char *name) {
        const auto it = fields.find(QLatin1String(name));
        return it == fields.end() ? QString() : it->second;
    };
    EXPECT_EQ(field("Package"), "korvendal-sub");
    EXPECT_EQ(field("Version"), KORV_PROJECT_VERSION);
    EXPECT_EQ(field("Architecture"), "amd64");
    EXPECT_EQ(field("Section"), "video");
    EXPECT_EQ(field("Priority"), "optional");
    EXPECT_EQ(field("Maintainer"), "Korvendal Sub Ekibi <altyazi@korvendal.example>");
    EXPECT_EQ(field("Homepage"), "http://www.korvendal.example/altyazi");
    EXPECT_TRUE(field("Description").startsWith("subtitle editor for timing and translating film subtitles\n "))
        << field("Description").toStdString();
    EXPECT_GT(field("Installed-Size").toInt(), 0);

    // "libc6 (>= 2.34), gstreamer1.0-libav, ..." -> the names.
    std::set<QString> depends;
    for (const QString &alternatives : field("Depends").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        for (const QString &one : alternatives.split(QLatin1Char('|')))
            depends.insert(one.trimmed().section(QLatin1Char(' '), 0, 0));
    }
    // The player's plugins and the Turkish dictionary, listed by hand; the
    // libraries, found by dpkg-shlibdeps in what the programs link.
    for (const char *name : {"gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good", "gstreamer1.0-plugins-bad",
                             "gstreamer1.0-libav", "hunspell-tr", "qt6-translations-l10n", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                             "libqt6multimedia6", "libhunspell-1.7-0", "libc6", "libstdc++6"})
        EXPECT_TRUE(depends.count(QLatin1String(name))) << name << " missing from: " << field("Depends").toStdString();
    // FFmpeg's, which only the module links ("libavformat59"): read there too.
    for (const char *library : {"libavformat", "libavcodec", "libavutil"}) {
        const bool found = std::any_of(depends.begin(), depends.end(), [library](const QString &name) {
            return name.startsWith(QLatin1String(library)) && name.size() > qsizetype(qstrlen(library))
                   && name.at(qstrlen(library)).isDigit();
        });
        EXPECT_TRUE(found) << library << " missing from: " << field("Depends").toStdString();
    }
}

TEST_F(PackageTest, VersionsAgreeAndTheDesktopEntryStartsWhatThePackageHolds)
{
    const Ran changelog = run(QStringLiteral("/bin/sh"),
                              {"-c", "gzip -dc \"$0\" | head -n 1", root("/usr/share/doc/korvendal-sub/changelog.gz")});
    EXPECT_TRUE(changelog.out.startsWith("korvendal-sub (" KORV_PROJECT_VERSION ") ")) << changelog.out.toStdString();
    QFile metainfo(root("/usr/share/metainfo/example.korvendal.sub.metainfo.xml"));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QString metadata = QString::fromUtf8(metainfo.readAll());
    const QRegularExpressionMatch release =
        QRegularExpression(QStringLiteral("<release version=\"([^\"]+)\"")).match(metadata);
    EXPECT_EQ(release.captured(1), KORV_PROJECT_VERSION) << "the newest release named in the AppStream metadata";
    EXPECT_TRUE(manualPage("korvendal-sub").contains("Korvendal Sub " KORV_PROJECT_VERSION));

    QFile entry(root("/usr/share/applications/korvendal-sub.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString desktop = QString::fromUtf8(entry.readAll());
    const QString exec = QRegularExpression(QStringLiteral("\nExec=(\\S+)")).match(desktop).captured(1);
    EXPECT_TRUE(QFileInfo(root("/usr/bin/" + exec)).isExecutable()) << exec.toStdString();
    EXPECT_TRUE(desktop.contains("\nIcon=korvendal-sub\n"));
    EXPECT_TRUE(desktop.contains("application/x-subrip;"));
    EXPECT_TRUE(metadata.contains("<launchable type=\"desktop-id\">korvendal-sub.desktop</launchable>"));
}

TEST_F(PackageTest, TheInstalledProgramsRunAndFindTheirFilesWhereThePackagePutsThem)
{
    const ProgramFiles files = locateProgramFiles(root("/usr/bin"));
    EXPECT_EQ(files.dataFolder, root("/usr/share/korvendal-sub"));
    EXPECT_EQ(files.firstRunFolder, QString()); // never beside the program in /usr/bin
    for (const char *file : {"/Language/Turkish.lng", "/Language/English.lng", "/Help/01.html"})
        EXPECT_TRUE(QFileInfo::exists(files.dataFolder + QLatin1String(file))) << file;

    for (const char *program : {"korvendal-sub", "korvendal-subconv"}) {
        const Ran version = run(root("/usr/bin/") + QLatin1String(program), {"--version"});
        EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
        EXPECT_EQ(version.out, QLatin1String(program) + QStringLiteral(" " KORV_PROJECT_VERSION "\n"));
    }

    // FFmpeg's module, loaded from the package's private folder: the film
    // is described, not refused for want of the libraries.
    const QString film = test::testFilm(test::TestFilm::Mp425);
    if (film.isEmpty())
        GTEST_SKIP() << "ffmpeg could not make a test film";
    const Ran info = run(root("/usr/bin/korvendal-subconv"), {"--film-info", film});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains("FRAME RATE :\t25\n")) << info.out.toStdString();
}

TEST_F(PackageTest, ManualPagesHaveNoWarningsAndNameEveryOptionAndExitCode)
{
    if (tool("man").isEmpty())
        GTEST_SKIP() << "man is not installed (scripts/setup.sh installs man-db)";
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
    static const QRegularExpression exitCode(QStringLiteral("(?:Exit status: |, )(\\d+) "));
    for (const char *program : {"korvendal-sub", "korvendal-subconv"}) {
        QString warnings;
        const QString page = manualPage(QLatin1String(program), &warnings);
        EXPECT_EQ(warnings, "") << program;
        ASSERT_TRUE(page.contains("\nSYNOPSIS\n")) << program;
        // Every option of --help's table ("  -h, --help   print ...") has
        // an entry of its own under OPTIONS ("       -h, --help").
        const QString help = run(root("/usr/bin/") + QLatin1String(program), {"--help"}).out;
        QStringList offered, entries;
        for (const QString &line : help.split(QLatin1Char('\n'))) {
            const QString left = line.trimmed().section(QStringLiteral("  "), 0, 0);
            if (line.startsWith(QLatin1String("  -")))
                for (const QRegularExpressionMatch &m : option.globalMatch(left))
                    offered << m.captured();
        }
        for (const QString &line : section(page, "OPTIONS").split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("       -")))
                for (const QRegularExpressionMatch &m : option.globalMatch(line))
                    entries << m.captured();
        }
        EXPECT_GE(offered.size(), 3) << program;
        for (const QString &name : offered)
            EXPECT_TRUE(entries.contains(name)) << program << " page has no entry for " << name.toStdString();
        // And every exit code, in its own section.
        const QString exitSection = QLatin1Char('\n') + section(page, "EXIT STATUS");
        const QString helpExit = help.section(QStringLiteral("Exit status:"), 1).simplified();
        QStringList codes;
        for (const QRegularExpressionMatch &m : exitCode.globalMatch(QStringLiteral("Exit status: ") + helpExit))
            codes << m.captured(1);
        EXPECT_FALSE(codes.isEmpty()) << program;
        for (const QString &code : codes)
            EXPECT_TRUE(exitSection.contains(QStringLiteral("\n       ") + code + QLatin1Char(' ')))
                << program << " page lacks exit code " << code.toStdString() << " in:\n" << exitSection.toStdString();
    }
}

TEST_F(PackageTest, DesktopEntryAndAppStreamMetadataValidate)
{
    const QString appstream = tool("appstreamcli");
    const QString desktop = tool("desktop-file-validate");
    if (appstream.isEmpty() || desktop.isEmpty())
        GTEST_SKIP() << "appstreamcli or desktop-file-validate is not installed (scripts/setup.sh installs "
                        "appstream and desktop-file-utils)";
    const Ran metadata =
        run(appstream, {"validate", "--no-net", root("/usr/share/metainfo/example.korvendal.sub.metainfo.xml")});
    EXPECT_EQ(metadata.exitCode, 0) << metadata.out.toStdString() << metadata.err.toStdString();
    const Ran entry = run(desktop, {root("/usr/share/applications/korvendal-sub.desktop")});
    EXPECT_EQ(entry.exitCode, 0);
    EXPECT_EQ(entry.out + entry.err, "");
}

TEST_F(PackageTest, LintianFindsNoErrorAndNoWarning)
{
    const QString lintian = tool("lintian");
    if (lintian.isEmpty())
        GTEST_SKIP() << "lintian is not installed (scripts/setup.sh installs it)";
    const Ran report = run(lintian, {"--no-tag-display-limit", deb});
    QStringList faults;
    for (const QString &line : (report.out + report.err).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("E: ")) || line.startsWith(QLatin1String("W: ")))
            faults << line;
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}
