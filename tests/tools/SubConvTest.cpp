#include "SubConv.h"
#include "document/ProgramInfo.h"
#include "locale/IniFile.h"
#include "media/MediaMessages.h"
#include "support/AviFileWriter.h"
#include "support/TestFilms.h"
#include "support/TestFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace korv;

namespace {

class SubConvTest : public ::testing::Test {
protected:
    test::TestFolder folder;
    QString path(const char *name) { return folder.filePath(QString::fromLatin1(name)); }
    // Exit code, then what went to standard output and standard error.
    QStringList run(const QStringList &args)
    {
        const SubConvOutput o = runSubConv(args);
        return {QString::number(o.exitCode), QString::fromUtf8(o.out), QString::fromUtf8(o.err)};
    }
};

const QByteArray kSub = "[INFORMATION]\r\n[SUBTITLE]\r\n00:00:01.50,00:00:03.20\r\nMerhaba[br]d\xFCnya\r\n\r\n"
                        "00:00:03.00,00:00:05.00\r\nS\xFDradaki\r\n\r\n";

} // namespace

TEST_F(SubConvTest, ListPrintsRowsInUtf8WithPointsOrFailsWithAMessage)
{
    folder.write("a.sub", kSub);
    folder.write("b.sub", "{25}{50}Bir\r\n");
    EXPECT_EQ(run({"--list", path("a.sub")}), QStringList({"0", "1.5\t3.2\tMerhaba|dünya\n3\t5\tSıradaki\n", ""}));
    EXPECT_EQ(run({"--list", "--fps", "25", path("b.sub")}), QStringList({"0", "1\t2\tBir\n", ""}));
    EXPECT_EQ(run({"--list", "--fps", "50", path("b.sub")}), QStringList({"0", "0.5\t1\tBir\n", ""}));

    folder.write("x.txt", "hello");
    folder.write("broken.sub", "{1}{2}a\r\n{x}{5}b\r\n");
    for (const char *name : {"x.txt", "missing.sub", "broken.sub"}) {
        const QStringList o = run({"--list", path(name)});
        EXPECT_EQ(o.mid(0, 2), QStringList({"1", ""})) << name;
        EXPECT_FALSE(o[2].isEmpty()) << name;
    }
    // A device without end is not even opened.
    const QStringList endless = run({"--list", "/dev/zero"});
    EXPECT_EQ(endless, QStringList({"1", "", "korvendal-subconv: /dev/zero: not a regular file (a folder, a device or a "
                                              "named pipe)\n"}));
}

TEST_F(SubConvTest, ConvertsShiftedStopsAtOverlapsOrRepairsThem)
{
    folder.write("a.sub", kSub);
    const QStringList stopped = run({"--to", "microdvd", path("a.sub"), path("out.sub")});
    EXPECT_EQ(stopped.mid(0, 2), QStringList({"1", ""}));
    EXPECT_TRUE(stopped[2].contains("Row 1:")) << stopped[2].toStdString();
    EXPECT_TRUE(folder.read("out.sub").isEmpty());
    EXPECT_EQ(run({"--to", "microdvd", "--repair", path("a.sub"), path("out.sub")}), QStringList({"0", "", ""}));
    EXPECT_EQ(folder.read("out.sub"), QByteArray("{37}{75}Merhaba|d\xFCnya\r\n{75}{125}S\xFDradaki\r\n"));

    folder.write("b.sub", "{25}{50}Bir\r\n");
    EXPECT_EQ(run({"--to", "subviewer", "--shift", "-0.5", path("b.sub"), path("out.txt")}), QStringList({"0", "", ""}));
    EXPECT_TRUE(folder.read("out.txt").endsWith("00:00:00.50,00:00:01.50\r\nBir\r\n\r\n"));
}

TEST_F(SubConvTest, SubRipAndWebVttAreListedToTheMillisecondAndWritten)
{
    folder.write("a.srt", "1\r\n00:00:01,500 --> 00:00:03,205\r\n<i>Merhaba</i>\r\nd\xC3\xBCnya\r\n\r\n"
                          "2\r\n00:00:04,000 --> 00:00:05,060\r\nS\xC4\xB1radaki\r\n");
    EXPECT_EQ(run({"--list", path("a.srt")}),
              QStringList({"0", "1.500\t3.205\t<i>Merhaba</i>|dünya\n4.000\t5.060\tSıradaki\n", ""}));

    EXPECT_EQ(run({"--to", "webvtt", "--shift", "0.001", path("a.srt"), path("out.vtt")}), QStringList({"0", "", ""}));
    EXPECT_EQ(folder.read("out.vtt"), QByteArray("WEBVTT\n\n00:00:01.501 --> 00:00:03.206\n<i>Merhaba</i>\nd\xC3\xBCnya\n\n"
                                                 "00:00:04.001 --> 00:00:05.061\nS\xC4\xB1radaki\n\n"));
    EXPECT_EQ(run({"--list", path("out.vtt")})[1], "1.501\t3.206\t<i>Merhaba</i>|dünya\n4.001\t5.061\tSıradaki\n");
    // To hundredths, and back: SubRip keeps what SubViewer 2 can hold.
    EXPECT_EQ(run({"--to", "subviewer", path("out.vtt"), path("out.sub")})[0], "0");
    EXPECT_EQ(run({"--to", "subrip", path("out.sub"), path("out.srt")})[0], "0");
    EXPECT_EQ(folder.read("out.srt"), QByteArray("1\r\n00:00:01,500 --> 00:00:03,210\r\n<i>Merhaba</i>\r\nd\xC3\xBCnya\r\n\r\n"
                                                 "2\r\n00:00:04,000 --> 00:00:05,060\r\nS\xC4\xB1radaki\r\n\r\n"));
}

TEST_F(SubConvTest, FilmInfoPrintsTheInformationRowsInEnglish)
{
    const QString two = test::testFilm(test::TestFilm::TwoTracksMkv);
    ASSERT_FALSE(two.isEmpty());
    QStringList o = run({"--film-info", two});
    EXPECT_EQ(o[0], "0") << o[2].toStdString();
    EXPECT_EQ(o[2], "");
    const QStringList lines = o[1].split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << o[1].toStdString();
    EXPECT_EQ(lines.mid(0, 5), QStringList({"CONTAINER :\tMatroska", "VIDEO CODEC :\tH264", "RESOLUTION :\t160x90",
                                            "FRAME RATE :\t25", "TOTAL FRAMES :\t100"}));
    EXPECT_TRUE(lines[5].startsWith("DURATION :\t00:00:04,0")) << lines[5].toStdString();
    EXPECT_EQ(lines.mid(6), QStringList({"AUDIO TRACK 1 :\tAAC, channels: 2, 48000 Hz, tur (Turkish)",
                                         "AUDIO TRACK 2 :\tOPUS, channels: 1, 48000 Hz, eng (English)"}));
    // The names are the English language file's, word for word.
    const QString english = QStringLiteral(KORV_SOURCE_DIR "/data/Language/English.lng");
    for (const QString &key : {msg::RowContainer, msg::RowVideoCodec, msg::RowResolution, msg::RowFrameRate,
                               msg::RowTotalFrames, msg::RowDuration})
        EXPECT_TRUE(o[1].contains(ReadIniString("Msg", key, english) + "\t")) << key.toStdString();
    EXPECT_TRUE(o[1].contains(ReadIniString("Msg", msg::RowAudioTrack, english).arg(2) + "\t"));

    // A variable rate says so; an AVI film gives its header rows.
    o = run({"--film-info", test::testFilm(test::TestFilm::VfrMp4)});
    EXPECT_TRUE(o[1].contains("FRAME RATE :\tvariable, on average 22.5 (45/2)\n")) << o[1].toStdString();
    folder.write("film.avi", test::buildAvi({.totalFrames = 250, .width = 320, .height = 240, .length = 250}));
    o = run({"--film-info", path("film.avi")});
    EXPECT_EQ(o[0], "0");
    EXPECT_EQ(o[1].count('\n'), 42);
    EXPECT_TRUE(o[1].startsWith("VIDEO STREAM :\t\nRESOLUTION :\t320x240\nFRAME RATE :\t25\n")) << o[1].toStdString();
}

TEST_F(SubConvTest, FilmInfoOfWhatIsNoFilmFailsWithTheReason)
{
    folder.write("empty.mp4", {});
    folder.write("broken.avi", "not a film");
    for (const char *name : {"empty.mp4", "broken.avi", "missing.mkv"}) {
        const QStringList o = run({"--film-info", path(name)});
        EXPECT_EQ(o[0], "1") << name;
        EXPECT_EQ(o[1], "") << name;
        EXPECT_TRUE(o[2].startsWith("korvendal-subconv: ")) << o[2].toStdString();
        EXPECT_TRUE(o[2].contains(path(name))) << o[2].toStdString();
    }
    // Sound alone: its rows, and the reason it is no film.
    const QStringList sound = run({"--film-info", test::testFilm(test::TestFilm::SoundOnlyMp4)});
    EXPECT_EQ(sound[0], "1");
    EXPECT_TRUE(sound[1].contains("AUDIO TRACK 1 :\tAAC")) << sound[1].toStdString();
    EXPECT_TRUE(sound[2].contains("no picture")) << sound[2].toStdString();
}

TEST_F(SubConvTest, UsageErrorsExitWithTwoAndPutTheReasonAndTheUsageOnStandardError)
{
    folder.write("a.sub", kSub);
    const QString a = path("a.sub");
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, "nothing to do"},
        {{"--list"}, "--list takes FILE"},
        {{"--to", "srt", "a", "b"}, "--to takes subviewer, microdvd, subrip or webvtt"},
        {{"--to"}, "Missing value after '--to'."},
        {{"--list", "--fps", "abc", a}, "--fps takes a frame rate"},
        {{"--list", "--fps", "0", a}, "--fps takes a frame rate"},
        {{"--list", "--fps", "1,000", a}, "--fps takes a frame rate"},
        {{"--list", "--fps", "1001", a}, "--fps takes a frame rate"},
        {{"--list", a, "--fps"}, "Missing value after '--fps'."},
        {{"--bogus", a}, "Unknown option 'bogus'."},
        {{"--list", "--shift", "1", a}, "--list does not take --shift"},
        {{"--list", "--repair", a}, "--list does not take --repair"},
        {{"--list", "--to", "subrip", a, "b"}, "choose one of --list, --to"},
        {{"--to", "subrip", "--to", "webvtt", a, "b"}, "choose one of --list, --to"},
        {{"--to", "subviewer", "onlyone"}, "--to FORMAT takes IN OUT"},
        {{"--list", a, a}, "--list takes FILE"},
        {{"--to", "subrip", "--shift", "ten", a, "b"}, "--shift takes a number of seconds"},
        {{"--film-info"}, "--film-info takes FILM"},
        {{"--film-info", a, a}, "--film-info takes FILM"},
        {{"--film-info", "--fps", "25", a}, "--film-info does not take --fps"},
    };
    for (const auto &[args, reason] : cases) {
        const QStringList o = run(args);
        const std::string shown = args.join(' ').toStdString();
        EXPECT_EQ(o[0], "2") << shown;
        EXPECT_EQ(o[1], "") << shown; // nothing a pipe would take for a result
        EXPECT_TRUE(o[2].startsWith("korvendal-subconv: " + reason)) << shown << "\n" << o[2].toStdString();
        EXPECT_TRUE(o[2].contains("\nusage: korvendal-subconv --list [--fps RATE] FILE\n")) << shown;
    }
    EXPECT_FALSE(QFile::exists("b"));
    // The values are read as the usage says, in either spelling.
    EXPECT_EQ(run({"--list", "--fps=50", "-fps", "25", a})[0], "0");
    EXPECT_EQ(run({"--to=subrip", "--shift=-1.5", "--repair", a, path("b.srt")})[0], "0");
}

TEST_F(SubConvTest, HelpAndVersionGoToStandardOutputAndEndWithZero)
{
    for (const QStringList &args : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"--list", "--help"}}) {
        const QStringList o = run(args);
        EXPECT_EQ(o[0], "0");
        EXPECT_EQ(o[2], "");
        EXPECT_TRUE(o[1].startsWith("usage: korvendal-subconv --list [--fps RATE] FILE\n"
                                    "       korvendal-subconv --to FORMAT [--fps RATE] [--shift SECONDS] [--repair] "
                                    "[--film FILM] [--audio-track N] [--snap] [--fit] IN OUT\n"
                                    "       korvendal-subconv --check [--fps RATE] [--dictionary NAME] FILE\n"
                                    "       korvendal-subconv --film-info FILM\n"
                                    "       korvendal-subconv --help | --version\n"))
            << o[1].toStdString();
        for (const char *line : {"\n  --fps RATE", "\n  --shift SECONDS", "\n  --repair", "\n  --dictionary NAME",
                                 "\n  -h, --help", "\n  --version",
                                 "\n  --film FILM", "\n  --audio-track N", "\n  --snap", "\n  --fit",
                                 "Exit status: 0 done, 1 ", "no such audio track or no speech was found, 2 a usage\nerror."})
            EXPECT_TRUE(o[1].contains(line)) << line;
    }
    EXPECT_EQ(run({"--version"}), QStringList({"0", "korvendal-subconv " + ProgramInfo::versionText() + "\n", ""}));
}

TEST_F(SubConvTest, AFileNamedDashIsStandardInputAndOutput)
{
    int reads = 0;
    QByteArray input = kSub;
    const StandardInput standardInput = [&]() -> Result<QByteArray> {
        ++reads;
        return input;
    };
    const auto runWith = [&](const QStringList &args) {
        const SubConvOutput o = runSubConv(args, standardInput);
        return QStringList{QString::number(o.exitCode), QString::fromUtf8(o.out), QString::fromUtf8(o.err)};
    };
    EXPECT_EQ(runWith({"--list", "-"}), QStringList({"0", "1.5\t3.2\tMerhaba|dünya\n3\t5\tSıradaki\n", ""}));
    // Written to standard output as it would be to a file; no file named "-".
    const SubConvOutput converted = runSubConv({"--to", "subrip", "--repair", "-", "-"}, standardInput);
    EXPECT_EQ(converted.exitCode, 0);
    EXPECT_EQ(converted.out, QByteArray("1\r\n00:00:01,500 --> 00:00:03,000\r\nMerhaba\r\nd\xC3\xBCnya\r\n\r\n"
                                        "2\r\n00:00:03,000 --> 00:00:05,000\r\nS\xC4\xB1radaki\r\n\r\n"));
    EXPECT_FALSE(QFile::exists("-"));
    EXPECT_EQ(runSubConv({"--to", "microdvd", "--repair", "-", "-"}, standardInput).out,
              QByteArray("{37}{75}Merhaba|d\xFCnya\r\n{75}{125}S\xFDradaki\r\n"));
    // From standard input into a file, and from a file to standard output.
    EXPECT_EQ(runWith({"--to", "webvtt", "--repair", "-", path("out.vtt")})[0], "0");
    EXPECT_TRUE(folder.read("out.vtt").startsWith("WEBVTT\n\n00:00:01.500 --> 00:00:03.000\n"));
    EXPECT_TRUE(runSubConv({"--to", "subviewer", path("out.vtt"), "-"}, standardInput)
                    .out.endsWith("00:00:03.00,00:00:05.00\r\nS\xFDradaki\r\n\r\n"));
    EXPECT_EQ(reads, 4);

    // Failures name standard input, not "-".
    input = "{1}{2}a\r\n{x}{5}b\r\n";
    EXPECT_EQ(runWith({"--list", "-"}),
              QStringList({"1", "", "korvendal-subconv: standard input: row 2: \"{x}{5}b\" has no start frame\n"}));
    input = "hello";
    EXPECT_EQ(runWith({"--list", "-"})[2],
              "korvendal-subconv: standard input: not a SubViewer 2, MicroDVD, SubRip or WebVTT file\n");
    const SubConvOutput unreadable = runSubConv({"--list", "-"}, [] {
        return Result<QByteArray>(Failure{Message::system("Input/output error", "standard input")});
    });
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, "korvendal-subconv: standard input: Input/output error\n");
    // A file that is really named "-" is reached as "./-".
    folder.write("-", "{25}{50}Bir\r\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.filePath(""));
    const QStringList dashFile = run({"--list", "./-"});
    QDir::setCurrent(previous);
    EXPECT_EQ(dashFile, QStringList({"0", "1\t2\tBir\n", ""}));
}

namespace {

// The converter as a shell runs it, fed `input` on standard input.
struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};
Ran runProgram(const QStringList &args, const QByteArray &input = {}, const QString &outputFile = {})
{
    QProcess program;
    if (!outputFile.isEmpty())
        program.setStandardOutputFile(outputFile);
    program.start(QStringLiteral(KORV_RUNTIME_DIR "/korvendal-subconv"), args);
    if (!program.waitForStarted())
        return {};
    program.write(input);
    program.closeWriteChannel();
    program.waitForFinished(30000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, program.readAllStandardOutput(),
            program.readAllStandardError()};
}

} // namespace

TEST_F(SubConvTest, TheProgramWorksInAPipeAndEndsWithEachExitCode)
{
    const Ran converted = runProgram({"--to", "webvtt", "--repair", "-", "-"}, kSub);
    EXPECT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    EXPECT_EQ(converted.err, "");
    EXPECT_TRUE(converted.out.startsWith("WEBVTT\n\n00:00:01.500 --> 00:00:03.000\nMerhaba\nd\xC3\xBCnya\n"));
    const Ran listed = runProgram({"--list", "-"}, converted.out);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "1.500\t3.000\tMerhaba|dünya\n3.000\t5.000\tSıradaki\n");

    const Ran help = runProgram({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: korvendal-subconv")) << help.out.toStdString();
    EXPECT_EQ(help.err, "");
    const Ran version = runProgram({"--version"});
    EXPECT_EQ(version.out, "korvendal-subconv " + ProgramInfo::versionText().toUtf8() + "\n");

    const Ran overlapping = runProgram({"--to", "subrip", "-", "-"}, kSub);
    EXPECT_EQ(overlapping.exitCode, 1);
    EXPECT_EQ(overlapping.out, "");
    EXPECT_TRUE(overlapping.err.startsWith("korvendal-subconv: Row 1: its end 3.2 passes")) << overlapping.err.toStdString();
    const Ran missing = runProgram({"--list", path("missing.srt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("missing.srt")) << missing.err.toStdString();
    const Ran wrong = runProgram({"--lsit", "-"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_TRUE(wrong.err.startsWith("korvendal-subconv: Unknown option 'lsit'.\nusage: ")) << wrong.err.toStdString();

    // A listing that could not be written whole is no success.
    const Ran full = runProgram({"--list", "-"}, kSub, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "korvendal-subconv: standard output: No space left on device\n");
}

TEST_F(SubConvTest, CheckPrintsOneLineAProblemAndExitsByWhatItFound)
{
    // Row 1 is too fast and ends 40 ms before row 2; row 2 is too short and
    // has a misspelt word; row 3 has three lines and markup that is not read.
    folder.write("c.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nMerhaba anne, bugün hava çok güzel değil\r\n\r\n"
                          "2\r\n00:00:02,040 --> 00:00:02,500\r\nGüzell\r\n\r\n"
                          "3\r\n00:00:05,000 --> 00:00:09,000\r\n<i>Bir</i>\r\n{\\an8}İki\r\nÜç\r\n\r\n");
    QStringList o = run({"--check", path("c.srt")});
    EXPECT_EQ(o[0], "1") << o[2].toStdString();
    EXPECT_EQ(o[1], "1\tcps\t40\t17\n"
                    "1\tgap\t40\t80\n"
                    "2\tmin-duration\t0.46\t0.833\n"
                    "2\tspelling\tGüzell\ttr_TR\n"
                    "3\tlines\t3\t2\n");
    // With a rate the gap is in frames; without the dictionary no spelling.
    o = run({"--check", "--fps", "25", "--dictionary", "none", path("c.srt")});
    EXPECT_EQ(o[1], "1\tcps\t40\t17\n1\tgap\t1\t2\n2\tmin-duration\t0.46\t0.833\n3\tlines\t3\t2\n");
    // A clean file: nothing printed, exit 0.
    folder.write("ok.srt", "1\r\n00:00:01,000 --> 00:00:03,000\r\nHello world\r\n\r\n");
    o = run({"--check", "--dictionary", "en_US", path("ok.srt")});
    EXPECT_EQ(o, QStringList({"0", "", ""}));
    // Errors exit with 2: no such file, a dictionary not installed, a usage error.
    EXPECT_EQ(run({"--check", path("missing.srt")})[0], "2");
    o = run({"--check", "--dictionary", "xx_XX", path("ok.srt")});
    EXPECT_EQ(o[0], "2");
    EXPECT_TRUE(o[2].contains("xx_XX")) << o[2].toStdString();
    EXPECT_EQ(run({"--check", path("ok.srt"), path("c.srt")})[0], "2");
    EXPECT_EQ(run({"--list", "--dictionary", "tr_TR", path("ok.srt")})[0], "2");
}

TEST_F(SubConvTest, WhatAReadLeavesOutIsToldAndNoFileIsWrittenThatCannotBeReadBack)
{
    // The editor's notices, in English on standard error; the rows still go out.
    folder.write("styled.vtt", "WEBVTT\n\nNOTE x\n\n00:01.000 --> 00:02.000 align:start\nA\n");
    folder.write("placed.srt", "1\r\n00:00:01,000 --> 00:00:02,000 X1:10 X2:20 Y1:5 Y2:9\r\nA\r\n\r\n"
                               "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n\r\nC\r\n");
    const QString placed = path("placed.srt");
    EXPECT_EQ(run({"--list", path("styled.vtt")}),
              QStringList({"0", "1.000\t2.000\tA\n",
                           "korvendal-subconv: " + path("styled.vtt")
                               + ": cue identifiers, cue settings, NOTE, STYLE and REGION blocks are not kept\n"}));
    EXPECT_EQ(run({"--to", "subrip", placed, path("out.srt")}),
              QStringList({"0", "",
                           "korvendal-subconv: " + placed
                               + ": blank lines inside subtitle texts were left out (the first in row 2)\n"
                                 "korvendal-subconv: "
                               + placed + ": row 1 (and maybe others) has a position after its times (X1:... Y2:...), "
                                          "which is not kept\n"}));
    EXPECT_EQ(folder.read("out.srt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n"
                                      "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\nC\r\n\r\n");

    // A document with no rows is refused: no reader would take the file back.
    folder.write("header.sub", "[INFORMATION]\r\n[SUBTITLE]\r\n");
    folder.write("empty.vtt", "WEBVTT\n\nNOTE nothing yet\n");
    for (const char *name : {"header.sub", "empty.vtt"}) {
        const QStringList refused = run({"--to", "webvtt", path(name), path("none.vtt")});
        EXPECT_EQ(refused.mid(0, 2), QStringList({"1", ""})) << name;
        EXPECT_TRUE(refused[2].contains(path(name) + ": holds no subtitle; nothing was written")) << name;
        EXPECT_FALSE(QFile::exists(path("none.vtt"))) << name;
    }
}

TEST_F(SubConvTest, RowsOutOfTimeOrderAreNamedOrSortedBeforeTheRepairNeverAnEndBeforeItsStart)
{
    // The third row starts before the second; the fourth has the same start
    // as the second and comes after it.
    folder.write("shuffled.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n"
                                 "2\r\n00:00:05,000 --> 00:00:07,000\r\nB\r\n\r\n"
                                 "3\r\n00:00:03,000 --> 00:00:06,000\r\nC\r\n\r\n"
                                 "4\r\n00:00:05,000 --> 00:00:05,500\r\nD\r\n\r\n");
    const QString shuffled = path("shuffled.srt");
    const QStringList named = run({"--to", "subrip", shuffled, path("out.srt")});
    EXPECT_EQ(named, QStringList({"1", "",
                                  "korvendal-subconv: Row 3: its start 3 is before the start 5 of the row above it; "
                                  "the rows are not in time order (use --repair to sort them by start).\n"}));
    EXPECT_FALSE(QFile::exists(path("out.srt")));
    EXPECT_EQ(run({"--to", "subrip", "--repair", shuffled, path("out.srt")}), QStringList({"0", "", ""}));
    EXPECT_EQ(folder.read("out.srt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n"
                                      "2\r\n00:00:03,000 --> 00:00:05,000\r\nC\r\n\r\n"
                                      "3\r\n00:00:05,000 --> 00:00:05,000\r\nB\r\n\r\n"
                                      "4\r\n00:00:05,000 --> 00:00:05,500\r\nD\r\n\r\n");

    // An end before its start is read, then named by the check, repair or not.
    folder.write("backwards.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n"
                                  "2\r\n00:00:05,000 --> 00:00:04,000\r\nB\r\n");
    for (const QStringList &options : {QStringList(), QStringList{"--repair"}}) {
        const QStringList refused = run(QStringList{"--to", "subviewer"} + options + QStringList{path("backwards.srt"), path("out.sub")});
        EXPECT_EQ(refused, QStringList({"1", "", "korvendal-subconv: Row 2: its end 4 is before its start 5.\n"}));
    }
    EXPECT_EQ(run({"--list", path("backwards.srt")})[1], "1.000\t2.000\tA\n5.000\t4.000\tB\n");
}
