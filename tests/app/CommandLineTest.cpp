// The editor's command line: the file it opens, Qt's options let through,
// --help and --version without a display, wrong options refused.
#include "app/EditorCommandLine.h"
#include "document/ProgramInfo.h"
#include "support/QtPrinters.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace korv;

using Action = EditorCommandLine::Action;

TEST(EditorCommandLine, NamesTheFileToOpenAndLetsQtsOptionsThrough)
{
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, ""},
        {{"film.srt"}, "film.srt"},
        {{"-platform", "offscreen", "film.srt"}, "film.srt"},
        {{"film.srt", "--style", "fusion"}, "film.srt"},
        {{"--style=fusion", "-reverse", "-qwindowgeometry", "640x480", "film.srt"}, "film.srt"},
        {{"--", "-film.srt"}, "-film.srt"},
        {{"/a folder/altyazı.sub"}, "/a folder/altyazı.sub"},
    };
    for (const auto &[args, subtitle] : cases) {
        const EditorCommandLine line = readEditorCommandLine(args);
        EXPECT_EQ(line.action, Action::Run) << args.join(' ').toStdString() << ": " << line.error.toStdString();
        EXPECT_EQ(line.subtitle, subtitle) << args.join(' ').toStdString();
    }
}

TEST(EditorCommandLine, AFilmBesideTheSubtitleFileOrAlone)
{
    auto read = [](const QStringList &args) {
        const EditorCommandLine line = readEditorCommandLine(args);
        return line.subtitle + " | " + line.film;
    };
    EXPECT_EQ(read({"a.srt", "--film", "f.mkv"}), "a.srt | f.mkv");
    EXPECT_EQ(read({"--film", "f.mkv", "a.srt"}), "a.srt | f.mkv");
    EXPECT_EQ(read({"--film=/y/f 2.mkv"}), " | /y/f 2.mkv");
    EXPECT_EQ(read({"--film", "-odd.mkv", "-platform", "offscreen"}), " | -odd.mkv");
    EXPECT_EQ(read({}), " | ");
}

TEST(EditorCommandLine, HelpAndVersionGoToStandardOutputAndMistakesToStandardError)
{
    for (const QStringList &args : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"film.srt", "--help"},
                                    QStringList{"--version", "--help"}, QStringList{"a", "b", "--help"}}) {
        const EditorAnswer answer = answerWithoutWindow(readEditorCommandLine(args));
        EXPECT_EQ(answer.exitCode, 0);
        EXPECT_TRUE(answer.out.startsWith("usage: korvendal-sub [SUBTITLE] [--film FILM]\n")) << args.join(' ').toStdString();
        EXPECT_EQ(answer.err, "");
    }
    const EditorAnswer version = answerWithoutWindow(readEditorCommandLine({"--version"}));
    EXPECT_EQ(version.out, "korvendal-sub " + ProgramInfo::versionText() + "\n");

    const std::vector<std::pair<QStringList, QString>> wrong = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x", "film.srt"}, "unknown option -x"},
        {{"a.srt", "b.srt"}, "one subtitle file at a time"},
        {{"film.srt", "-platform"}, "-platform takes a value"},
        {{"film.srt", "--film"}, "--film takes a film"},
    };
    for (const auto &[args, reason] : wrong) {
        const EditorAnswer answer = answerWithoutWindow(readEditorCommandLine(args));
        EXPECT_EQ(answer.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(answer.out, "");
        EXPECT_TRUE(answer.err.startsWith("korvendal-sub: " + reason + "\nusage: korvendal-sub"))
            << answer.err.toStdString();
    }
}

TEST(EditorProgram, AnswersHelpAndVersionOnAMachineWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    const auto run = [&environment](const QStringList &args) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KORV_RUNTIME_DIR "/korvendal-sub"), args);
        program.waitForFinished(30000);
        return QStringList{QString::number(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1),
                           QString::fromUtf8(program.readAllStandardOutput()),
                           QString::fromUtf8(program.readAllStandardError())};
    };
    const QStringList help = run({"--help"});
    EXPECT_EQ(help[0], "0") << help[2].toStdString();
    EXPECT_TRUE(help[1].startsWith("usage: korvendal-sub [SUBTITLE] [--film FILM]\n"));
    EXPECT_EQ(help[2], "");
    EXPECT_EQ(run({"--version"}), QStringList({"0", "korvendal-sub " + ProgramInfo::versionText() + "\n", ""}));
    const QStringList wrong = run({"--bogus"});
    EXPECT_EQ(wrong[0], "2");
    EXPECT_EQ(wrong[1], "");
    EXPECT_TRUE(wrong[2].startsWith("korvendal-sub: unknown option --bogus\nusage: ")) << wrong[2].toStdString();
}
