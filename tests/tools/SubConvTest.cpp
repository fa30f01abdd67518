#include "SubConv.h"
#include "support/TestFolder.h"

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

TEST_F(SubConvTest, UsageErrorsExitWithTwo)
{
    for (const QStringList &args : {QStringList{}, QStringList{"--list"}, QStringList{"--to", "srt", "a", "b"},
                                    QStringList{"--list", "--fps", "abc", "a"}, QStringList{"--list", "--fps", "0", "a"},
                                    QStringList{"--list", "--fps", "1,000", "a"}, QStringList{"--list", "--fps", "1001", "a"},
                                    QStringList{"--bogus", "a"}, QStringList{"--to", "subviewer", "onlyone"}}) {
        const QStringList o = run(args);
        EXPECT_EQ(o[0], "2") << args.join(' ').toStdString();
        EXPECT_TRUE(o[2].contains("usage:"));
    }
}
