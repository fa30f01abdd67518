#include "SubConv.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace korv;

namespace {

class SubConvTest : public ::testing::Test {
protected:
    test::TestFolder folder{QLatin1Char(',')}; // the tool uses "." whatever the user's format
    SubConvOutput run(QStringList args) { return runSubConv(args); }
    QString path(const char *name) { return folder.filePath(QString::fromLatin1(name)); }
};

const QByteArray kSub = "[INFORMATION]\r\n[SUBTITLE]\r\n00:00:01.50,00:00:03.20\r\nMerhaba[br]d\xFCnya\r\n\r\n"
                        "00:00:03.00,00:00:05.00\r\nS\xFDradaki\r\n\r\n";

} // namespace

TEST_F(SubConvTest, ListPrintsRowsInUtf8WithPoints)
{
    folder.write("a.sub", kSub);
    const SubConvOutput o = run({"--list", path("a.sub")});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(o.out), "1.5\t3.2\tMerhaba|dünya\n3\t5\tSıradaki\n");
    folder.write("b.sub", "{25}{50}Bir\r\n");
    EXPECT_EQ(run({"--list", "--fps", "25", path("b.sub")}).out, "1\t2\tBir\n");
    EXPECT_EQ(run({"--list", "--fps", "50", path("b.sub")}).out, "0.5\t1\tBir\n");
}

TEST_F(SubConvTest, UnreadableOrUnknownFilesFailWithAMessage)
{
    folder.write("x.txt", "hello");
    for (const char *name : {"x.txt", "missing.sub"}) {
        const SubConvOutput o = run({"--list", path(name)});
        EXPECT_EQ(o.exitCode, 1) << name;
        EXPECT_TRUE(o.out.isEmpty());
        EXPECT_FALSE(o.err.isEmpty());
    }
    folder.write("broken.sub", "{1}{2}a\r\n{x}{5}b\r\n");
    EXPECT_EQ(run({"--list", path("broken.sub")}).exitCode, 1);
}

TEST_F(SubConvTest, ConvertsStopsAtOverlapsOrRepairsThem)
{
    folder.write("a.sub", kSub);
    const SubConvOutput stopped = run({"--to", "microdvd", path("a.sub"), path("out.sub")});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_TRUE(stopped.err.contains("Row 1")) << stopped.err.constData();
    EXPECT_TRUE(folder.read("out.sub").isEmpty());
    const SubConvOutput repaired = run({"--to", "microdvd", "--repair", path("a.sub"), path("out.sub")});
    EXPECT_EQ(repaired.exitCode, 0) << repaired.err.constData();
    EXPECT_EQ(folder.read("out.sub"), QByteArray("{37}{75}Merhaba|d\xFCnya\r\n{75}{125}S\xFDradaki\r\n"));
}

TEST_F(SubConvTest, ShiftsBeforeWriting)
{
    folder.write("b.sub", "{25}{50}Bir\r\n");
    const SubConvOutput o = run({"--to", "subviewer", "--shift", "-0.5", path("b.sub"), path("out.txt")});
    EXPECT_EQ(o.exitCode, 0) << o.err.constData();
    EXPECT_TRUE(folder.read("out.txt").endsWith("00:00:00.50,00:00:01.50\r\nBir\r\n\r\n"));
}

TEST_F(SubConvTest, UsageErrorsExitWithTwo)
{
    for (const QStringList &args : {QStringList{}, QStringList{"--list"}, QStringList{"--to", "srt", "a", "b"},
                                    QStringList{"--list", "--fps", "abc", "a"}, QStringList{"--list", "--fps", "0", "a"},
                                    QStringList{"--bogus", "a"}, QStringList{"--to", "subviewer", "onlyone"}}) {
        const SubConvOutput o = run(args);
        EXPECT_EQ(o.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains("usage:"));
    }
}
