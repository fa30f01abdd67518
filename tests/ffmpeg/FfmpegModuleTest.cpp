// FFmpeg's module, loaded on first use: where it is looked for, what a
// program says when it is not there or is no module, and the converter,
// copied away from it, refusing a film with the reason rather than crashing.
#include "ffmpeg/FfmpegModule.h"
#include "media/FilmReader.h"
#include "sound/AudioDecoder.h"
#include "support/TestFilms.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korv;

namespace {

const QString kBuiltModuleFolder = QStringLiteral(KORV_RUNTIME_DIR "/../" KORV_MODULE_SUBDIR);

struct Ran {
    int exitCode = -1;
    QString out, err;
};

// The converter copied into `folder`/bin, run there with a home of its own
// (no sound analysed earlier comes from a cache).
Ran runCopiedConverter(const QTemporaryDir &folder, const QStringList &args)
{
    const QString program = folder.filePath(QStringLiteral("bin/korvendal-subconv"));
    if (!QFileInfo::exists(program)) {
        QDir().mkpath(folder.filePath(QStringLiteral("bin")));
        if (!QFile::copy(QStringLiteral(KORV_RUNTIME_DIR "/korvendal-subconv"), program))
            return {-1, {}, QStringLiteral("the converter could not be copied")};
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath(QStringLiteral("home/.cache")));
    process.setProcessEnvironment(environment);
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("the converter did not run: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(FfmpegModule, IsLookedForInThePrivateLibraryFolderBesideTheProgramsThenBesideTheProgram)
{
    // lib/x86_64-linux-gnu/korvendal-sub on Debian.
    const QString folder = QLatin1String(ffmpeg::kModuleFolder);
    EXPECT_TRUE(folder.startsWith("lib/") && folder.endsWith("/korvendal-sub")) << folder.toStdString();
    EXPECT_EQ(ffmpeg::moduleFolders(QStringLiteral("/usr/bin")), QStringList({"/usr/" + folder, "/usr/bin"}));
    EXPECT_EQ(ffmpeg::moduleFolders(QStringLiteral("/home/u/build/tests")),
              QStringList({"/home/u/build/" + folder, "/home/u/build/tests"}));

    // The build's module, found from the test's own folder, has both entries.
    ffmpeg::Module built(ffmpeg::moduleFolders(QStringLiteral(KORV_RUNTIME_DIR)));
    QString problem;
    EXPECT_NE(built.entry(media::kReadFilmFactsEntry, &problem), nullptr) << problem.toStdString();
    EXPECT_NE(built.entry(sound::kDecodeAudioEntry, &problem), nullptr) << problem.toStdString();
    problem.clear();
    EXPECT_EQ(built.entry("korv_no_such_entry", &problem), nullptr);
    EXPECT_TRUE(problem.contains("korv_no_such_entry")) << problem.toStdString();
    // The second folder is looked in when the first has none.
    QTemporaryDir empty;
    ffmpeg::Module second({empty.path(), QDir::cleanPath(kBuiltModuleFolder)});
    EXPECT_NE(second.entry(media::kReadFilmFactsEntry, &problem), nullptr) << problem.toStdString();
}

TEST(FfmpegModule, AMissingModuleOrAFileThatIsNoneIsNamedEveryTimeItIsAskedFor)
{
    QTemporaryDir a, b;
    ffmpeg::Module missing({a.path(), b.path()});
    for (int ask = 0; ask < 2; ++ask) {
        QString problem;
        EXPECT_EQ(missing.entry(media::kReadFilmFactsEntry, &problem), nullptr);
        EXPECT_EQ(problem, QStringLiteral("korvendal-ffmpeg.so is not in %1, %2").arg(a.path(), b.path()));
    }

    QFile junk(a.filePath(QStringLiteral("korvendal-ffmpeg.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();
    ffmpeg::Module broken({a.path()});
    for (int ask = 0; ask < 2; ++ask) {
        QString problem;
        EXPECT_EQ(broken.entry(sound::kDecodeAudioEntry, &problem), nullptr);
        EXPECT_TRUE(problem.contains(junk.fileName())) << problem.toStdString();
    }
}

TEST(FfmpegModule, TheConverterWithoutTheModuleRefusesFilmsNamingItAndWithItBesideItDescribesThem)
{
    const QString film = test::testFilm(test::TestFilm::Mp425);
    if (film.isEmpty())
        GTEST_SKIP() << "ffmpeg could not make a test film";
    QTemporaryDir folder;
    const QString bin = folder.filePath(QStringLiteral("bin"));
    const QString expected = QStringLiteral("FFmpeg's libraries cannot be loaded (korvendal-ffmpeg.so is not in %1, %2)")
                                 .arg(folder.filePath(QLatin1String(ffmpeg::kModuleFolder)), bin);

    const Ran info = runCopiedConverter(folder, {"--film-info", film});
    EXPECT_EQ(info.exitCode, 1) << info.err.toStdString();
    EXPECT_EQ(info.out, "");
    EXPECT_TRUE(info.err.startsWith("korvendal-subconv: " + film + ": " + expected)) << info.err.toStdString();

    // The sound is the module's too: fitting to the film's voice says the same.
    QFile subtitles(folder.filePath(QStringLiteral("a.srt")));
    ASSERT_TRUE(subtitles.open(QIODevice::WriteOnly));
    subtitles.write("1\r\n00:00:01,000 --> 00:00:02,000\r\nMerhaba\r\n");
    subtitles.close();
    const Ran fit = runCopiedConverter(folder, {"--film", film, "--fit", "--to", "subrip", subtitles.fileName(),
                                                folder.filePath(QStringLiteral("out.srt"))});
    EXPECT_EQ(fit.exitCode, 1) << fit.err.toStdString();
    EXPECT_TRUE(fit.err.contains(expected)) << fit.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("out.srt"))));

    // The module beside the program is found there.
    ASSERT_TRUE(QFile::copy(QDir(kBuiltModuleFolder).filePath(QStringLiteral("korvendal-ffmpeg.so")),
                            QDir(bin).filePath(QStringLiteral("korvendal-ffmpeg.so"))));
    const Ran described = runCopiedConverter(folder, {"--film-info", film});
    EXPECT_EQ(described.exitCode, 0) << described.err.toStdString();
    EXPECT_TRUE(described.out.contains("FRAME RATE :\t25\n")) << described.out.toStdString();
}
