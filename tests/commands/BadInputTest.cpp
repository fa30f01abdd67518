// What the user meets when a file is damaged, too big, out of reach or the
// disk is full: a message that says why, and neither a file on disk nor a row
// of the open document is lost.
#include "commands/FileCommands.h"
#include "support/WorkspaceTest.h"

#include <sys/mount.h>
#include <unistd.h>

using namespace korv;
using namespace korv::test;

namespace {

const QByteArray kSubViewer = "[INFORMATION]\r\n[SUBTITLE]\r\n"
                              "00:00:10.00,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"
                              "00:00:14.00,00:00:16.00\r\n\xDDkinci\r\n\r\n";

class BadInputTest : public WorkspaceTest {
protected:
    bool open(const QString &path)
    {
        ws.list.setModified(false);
        ui.notices.clear();
        ui.openAnswers.push_back(FileDialogResult::chosen(path));
        mnualtyaziac_Click(ws);
        return ui.notices.empty();
    }
    bool save(const QString &path)
    {
        ui.saveAnswers.push_back(FileDialogResult::chosen(path));
        return mnualtyazikaydet_Click(ws, SaveFormat::SubViewer);
    }
    // A tmpfs mounted on `dir` for this test (false where mounting is not allowed).
    bool mountSmallDisk(const QString &dir, unsigned long flags = 0)
    {
        QDir().mkpath(dir);
        if (::mount("tmpfs", dir.toLocal8Bit().constData(), "tmpfs", flags, "size=16k") != 0)
            return false;
        mounts_ << dir;
        return true;
    }
    ~BadInputTest() override
    {
        for (const QString &dir : mounts_)
            ::umount2(dir.toLocal8Bit().constData(), MNT_DETACH);
    }

private:
    QStringList mounts_;
};

} // namespace

TEST_F(BadInputTest, EveryCutOfAFileOpensAsFarAsItGoesOrSaysWhere)
{
    // A file cut anywhere (a broken download, say): never a silent stop, and
    // the rows of a partial read count as changed, so closing asks.
    for (qsizetype cut = 1; cut < kSubViewer.size(); ++cut) {
        folder.write("cut.sub", kSubViewer.first(cut));
        if (open(folder.filePath("cut.sub")))
            continue;
        ASSERT_EQ(ui.notices.size(), 1u) << cut;
        const QString said = ui.lastNotice();
        const bool rowNamed = said == shownText(msg::NotATimeLine) || said == shownText(msg::FileEndsBeforeText);
        EXPECT_TRUE(said == shownText("012") || (rowNamed && ws.list.isModified())) << cut;
    }
}

TEST_F(BadInputTest, AFileFarTooBigIsTurnedDownWithoutBeingRead)
{
    setRows({{"1", "2", "kept"}});
    QFile big(folder.filePath("big.sub")); // sparse: a film's size without its disk space
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("{1}{25}looks like MicroDVD\r\n");
    ASSERT_TRUE(big.resize(kMaxSubtitleFileBytes + 1));
    big.close();
    EXPECT_FALSE(open(big.fileName()));
    ASSERT_EQ(ui.notices.size(), 2u); // why, then "not recognised", as for any unreadable file
    EXPECT_EQ(ui.notices[0].message, shownText(msg::FileTooLarge, big.fileName()));
    EXPECT_TRUE(ui.frameRateProposals.isEmpty()) << "nothing is asked before the file is turned down";
    // A device is no subtitle file: it is not even opened.
    EXPECT_FALSE(open(QStringLiteral("/dev/zero")));
    EXPECT_EQ(ui.shown(), QStringList({"Korvendal Production: " + shownText(msg::NotARegularFile, "/dev/zero"),
                                       "Korvendal Production: " + shownText("012")}));
    EXPECT_EQ(texts(), QStringList{"kept"});
}

TEST_F(BadInputTest, AReadOnlyFolderOrAFullDiskKeepsTheOldFileAndTheWork)
{
    // As root, permissions do not stop a write: a read-only mount does.
    const QString readOnly = folder.filePath("readonly"), full = folder.filePath("full");
    if (!mountSmallDisk(readOnly) || !mountSmallDisk(full))
        GTEST_SKIP() << "cannot mount a small disk here";
    folder.write("readonly/film.sub", kSubViewer);
    folder.write("full/film.sub", kSubViewer);
    ASSERT_EQ(::mount("tmpfs", readOnly.toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k"), 0);
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 2000; ++i) // about 100 KB: more than the disk holds
        rows.push_back({"0", QString::number(i), QString::number(i + 0.5), QStringLiteral("Satır|ikinci satır")});
    ws.list.replaceAll(std::move(rows));

    for (const auto &[name, reason] : {std::pair("readonly", "Existing file"), std::pair("full", "No space left")}) {
        const QString dir = folder.filePath(QLatin1String(name));
        ui.notices.clear();
        EXPECT_FALSE(save(dir + "/film.sub"));
        ASSERT_EQ(ui.notices.size(), 1u);
        EXPECT_TRUE(ui.lastNotice().startsWith(QLatin1String(reason))) << ui.lastNotice().toStdString();
        EXPECT_EQ(folder.read(QLatin1String(name) + "/film.sub"), kSubViewer);
        EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"film.sub"}) << "nothing half-written";
        EXPECT_TRUE(ws.list.isModified());
        EXPECT_EQ(ws.list.count(), 2000);
    }
}

TEST_F(BadInputTest, AWriteThatFailsHalfwayLeavesTheOldFileWhoeverRunsIt)
{
    // Injected at the file layer, so the guarantee holds without a full disk
    // or the rights of root.
    folder.write("film.sub", kSubViewer);
    static int writes;
    writes = 0;
    const DeviceWriter failing = [](QIODevice &device, const char *data, qint64 size) -> qint64 {
        return ++writes == 1 ? device.write(data, std::min<qint64>(size, 10)) : -1;
    };
    const Status written = writeFileAtomically(folder.filePath("film.sub"), QByteArray(5000, 'x'), failing);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.error().path, folder.filePath("film.sub"));
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(folder.read("film.sub"), kSubViewer);
    EXPECT_EQ(QDir(folder.filePath("")).entryList({"film.sub*"}, QDir::Files | QDir::Hidden), QStringList{"film.sub"});
}

TEST_F(BadInputTest, AFolderThatCannotBeWrittenIsNamedEvenWhenTheFileItselfIsWritable)
{
    // Permissions mean nothing to root: the save runs as "nobody" for a moment.
    char base[] = "/tmp/korv-ro-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const QString folderPath = QString::fromLocal8Bit(base) + "/ro", file = folderPath + "/film.sub";
    ASSERT_TRUE(QDir().mkpath(folderPath));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(kSubViewer);
    old.close();
    ::chmod(base, 0755);
    ::chmod(file.toLocal8Bit().constData(), 0666);
    ::chmod(folderPath.toLocal8Bit().constData(), 0555);
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::seteuid(65534), 0);
    const Status written = writeFileAtomically(file, "new");
    if (root)
        ASSERT_EQ(::seteuid(0), 0);
    QDir(QString::fromLocal8Bit(base)).removeRecursively();
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().key, msg::FolderNotWritable) << describe(written.error()).toStdString();
    EXPECT_EQ(written.error().path, file);
}
