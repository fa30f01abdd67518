// A real crash: a program on the command layer killed with SIGKILL after its
// recovery copy was written (and while the next one was being written), then
// started again to bring the copy back.
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// The rows a run of the child printed before `marker`.
QByteArrayList readUntil(QProcess &child, const QByteArray &marker)
{
    QByteArrayList lines;
    while (child.state() != QProcess::NotRunning || child.canReadLine()) {
        if (!child.canReadLine() && !child.waitForReadyRead(20000))
            break;
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().chopped(1);
            if (line == marker)
                return lines;
            lines << line;
        }
    }
    ADD_FAILURE() << "the child never printed " << marker.constData() << "; it said: "
                  << child.readAllStandardError().constData();
    return lines;
}

// Runs the child in `mode` until it prints "copied" (those rows are given
// back in `copied`) and then `marker`; kills it there, or lets it end.
QByteArrayList run(const QString &folder, const char *mode, const QByteArray &marker, QByteArrayList *copied = nullptr)
{
    QProcess child;
    child.start(QStringLiteral(RECOVERY_CHILD), {folder, QString::fromLatin1(mode)});
    EXPECT_TRUE(child.waitForStarted());
    if (copied)
        *copied = readUntil(child, "copied");
    QByteArrayList rows = copied && marker == "copied" ? QByteArrayList() : readUntil(child, marker);
    if (copied) {
        child.kill(); // SIGKILL: nothing of the program runs after it
        EXPECT_TRUE(child.waitForFinished());
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    } else {
        EXPECT_TRUE(child.waitForFinished());
        EXPECT_EQ(child.exitCode(), 0);
    }
    return rows;
}

} // namespace

TEST(RecoveryCrash, KilledProgramsWorkComesBackRowForRow)
{
    korv::test::TestFolder folder;
    const QString recovery = folder.filePath("recovery");
    QByteArrayList changed;
    run(recovery, "change", "copied", &changed);
    ASSERT_EQ(changed.size(), 1000);
    ASSERT_TRUE(changed.join('\n').contains("typed before the kill"));
    // The dead program's lock is still there: the next start must see it is stale.
    EXPECT_EQ(QDir(recovery).entryList({"*.lock"}, QDir::Files).size(), 1);

    EXPECT_EQ(run(recovery, "restore", "restored"), changed);
}

TEST(RecoveryCrash, KillWhileWritingLeavesThePreviousCopy)
{
    korv::test::TestFolder folder;
    const QString recovery = folder.filePath("recovery");
    QByteArrayList copied;
    run(recovery, "stall", "stalled", &copied);
    ASSERT_EQ(copied.size(), 1000);

    const QByteArrayList restored = run(recovery, "restore", "restored");
    EXPECT_EQ(restored, copied);
    EXPECT_FALSE(restored.join('\n').contains("typed while the copy was written"));
}
