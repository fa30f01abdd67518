// What the user meets when a file is damaged, too big, out of reach or the
// disk is full: a message that says why, and neither a file on disk nor a row
// of the open document is lost.
#include "document/FileCommands.h"
#include "support/WorkspaceTest.h"

#include <QDirIterator>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace korv;
using namespace korv::test;

namespace {

const QByteArray kSubViewer = "[INFORMATION]\r\n[SUBTITLE]\r\n"
                              "00:00:10.00,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"
                              "00:00:14.00,00:00:16.00\r\n\xDDkinci\r\n\r\n"
                              "00:00:17.00,00:00:18.00\r\nson\r\n\r\n";

class BadInputTest : public WorkspaceTest {
protected:
    bool open(const QString &path)
    {
        ui.openAnswers.push_back(FileDialogResult::chosen(path));
        mnualtyaziac_Click(ws);
        return ui.notices.empty();
    }
    bool save(const QString &path)
    {
        ui.saveAnswers.push_back(FileDialogResult::chosen(path));
        return mnualtyazikaydet_Click(ws, SaveSubViewer);
    }
    // A document of `rows` rows of about 60 bytes each, changed since saved.
    void changedDocument(int rows)
    {
        std::vector<SubtitleEntry> entries;
        for (int i = 0; i < rows; ++i)
            entries.push_back({"0", QString::number(i * 2), QString::number(i * 2 + 1),
                               QStringLiteral("Satır %1|ikinci satır bir az uzun").arg(i)});
        ws.list.replaceAll(std::move(entries));
        ws.list.renumber();
    }
    static QStringList filesIn(const QString &dir)
    {
        QStringList names;
        for (QDirIterator it(dir, QDir::Files | QDir::Hidden); it.hasNext();)
            names << QFileInfo(it.next()).fileName();
        names.sort();
        return names;
    }
};

// A tmpfs of a few kilobytes mounted for one test; needs the right to mount.
class SmallDisk {
public:
    explicit SmallDisk(const QString &path, const char *options) : path_(path)
    {
        QDir().mkpath(path);
        mounted_ = ::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(path_.toLocal8Bit().constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

private:
    QString path_;
    bool mounted_ = false;
};

} // namespace

TEST_F(BadInputTest, EveryCutOfAFileOpensAsFarAsItGoesOrSaysWhere)
{
    // A file cut anywhere (a broken download, a full disk at the last save):
    // the open command never stops silently and never changes the file.
    setRows({{"1", "2", "önceki"}});
    for (qsizetype cut = 1; cut < kSubViewer.size(); ++cut) {
        const QByteArray part = kSubViewer.first(cut);
        folder.write("cut.sub", part);
        ws.list.setModified(false);
        ui.notices.clear();
        const bool whole = open(folder.filePath("cut.sub"));
        ASSERT_EQ(folder.read("cut.sub"), part);
        if (whole) {
            EXPECT_FALSE(ws.list.isModified()) << cut;
            continue;
        }
        ASSERT_EQ(ui.notices.size(), 1u) << cut;
        const QString said = ui.lastNotice();
        EXPECT_TRUE(said == msg("012") || said.startsWith("Row ")) << cut << ": " << said.toStdString();
        // Rows of a partial read are not what is on disk: closing will ask.
        if (said.startsWith("Row "))
            EXPECT_TRUE(ws.list.isModified()) << cut;
    }
}

TEST_F(BadInputTest, AFileFarTooBigIsTurnedDownWithoutBeingRead)
{
    setRows({{"1", "2", "kept"}});
    // Sparse: a film's size without a film's disk space.
    for (const QByteArray &start : {QByteArray("{1}{25}looks like MicroDVD\r\n"), QByteArray("[INFORMATION]\r\n")}) {
        QFile big(folder.filePath("big.sub"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(start);
        ASSERT_TRUE(big.resize(kMaxSubtitleFileBytes + 1));
        big.close();
        ui.notices.clear();
        EXPECT_FALSE(open(big.fileName()));
        // Why, then "not recognised", as for any file that cannot be read.
        ASSERT_EQ(ui.notices.size(), 2u);
        EXPECT_TRUE(ui.notices[0].message.startsWith("The file is larger than 256 MB; a subtitle file is far smaller"))
            << ui.notices[0].message.toStdString();
        EXPECT_EQ(ui.lastNotice(), msg("012"));
        EXPECT_TRUE(ui.frameRateProposals.isEmpty()) << "nothing is asked before the file is turned down";
        EXPECT_EQ(texts(), QStringList{"kept"});
        EXPECT_FALSE(ws.list.isModified());
    }
    // A device or a film that is no subtitle file: only its first line is looked at.
    ui.notices.clear();
    EXPECT_FALSE(open(QStringLiteral("/dev/zero")));
    EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: " + msg("012")});
    EXPECT_EQ(texts(), QStringList{"kept"});
}

TEST_F(BadInputTest, AFolderOrAMissingFileIsToldWithTheSystemsReason)
{
    setRows({{"1", "2", "kept"}});
    QDir().mkpath(folder.filePath("a folder.sub"));
    const std::pair<const char *, const char *> cases[] = {
        {"a folder.sub", "file to open is a directory"},
        {"gone.sub", "No such file or directory"},
    };
    for (const auto &[name, reason] : cases) {
        ui.notices.clear();
        EXPECT_FALSE(open(folder.filePath(name)));
        ASSERT_EQ(ui.notices.size(), 2u) << name;
        EXPECT_EQ(ui.notices[0].message, QString::fromLatin1(reason) + "\r\n" + folder.filePath(name));
        EXPECT_EQ(ui.lastNotice(), msg("012"));
        EXPECT_EQ(texts(), QStringList{"kept"});
    }
}

TEST_F(BadInputTest, AFolderNothingCanBeWrittenToIsToldAndTheWorkStays)
{
    // As root, permissions do not stop a write: a read-only mount does.
    const QString dir = folder.filePath("readonly");
    SmallDisk readOnly(dir, "size=64k");
    if (geteuid() == 0) {
        if (!readOnly.mounted())
            GTEST_SKIP() << "cannot mount a read-only folder here";
        folder.write("readonly/film.sub", kSubViewer);
        ASSERT_EQ(::mount("tmpfs", dir.toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    } else {
        folder.write("readonly/film.sub", kSubViewer);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ASSERT_TRUE(open(dir + "/film.sub"));
    ws.list.setCell(0, ColText, QStringLiteral("değişti"));
    EXPECT_FALSE(save(dir + "/film.sub"));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().contains("film.sub")) << ui.lastNotice().toStdString();
    EXPECT_TRUE(ws.list.isModified());
    EXPECT_EQ(ws.list.cell(0, ColText), "değişti");
    EXPECT_EQ(folder.read("readonly/film.sub"), kSubViewer);
    EXPECT_EQ(filesIn(dir), QStringList{"film.sub"});
    if (geteuid() != 0)
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(BadInputTest, AFullDiskKeepsTheOldFileAndTheDocument)
{
    const QString dir = folder.filePath("small");
    SmallDisk disk(dir, "size=16k");
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small disk here (the file-size limit case still runs)";
    folder.write("small/film.sub", kSubViewer);
    changedDocument(2000); // about 120 KB, far more than the disk holds
    ui.notices.clear();
    EXPECT_FALSE(save(dir + "/film.sub"));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().contains("No space left on device")) << ui.lastNotice().toStdString();
    EXPECT_EQ(folder.read("small/film.sub"), kSubViewer);
    EXPECT_EQ(filesIn(dir), QStringList{"film.sub"}) << "no half-written file is left behind";
    EXPECT_TRUE(ws.list.isModified());
    EXPECT_EQ(ws.list.count(), 2000);
}

TEST_F(BadInputTest, AWriteCutShortByTheFileSizeLimitKeepsTheOldFile)
{
    // The same as a full disk, without needing the right to mount: the
    // process may not write past 16 KB.
    folder.write("film.sub", kSubViewer);
    changedDocument(2000);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 16 * 1024;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = save(folder.filePath("film.sub"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().contains("film.sub")) << ui.lastNotice().toStdString();
    EXPECT_EQ(folder.read("film.sub"), kSubViewer);
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(BadInputTest, TimesNoFileCanHoldAreRefusedBeforeAnythingIsWritten)
{
    // A shift can take a time below zero; a clock text cannot hold it.
    folder.write("film.sub", kSubViewer);
    setRows({{"-1.5", "2", "önce"}, {"3", "4", "sonra"}});
    ws.list.setModified(true);
    EXPECT_FALSE(save(folder.filePath("film.sub")));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().startsWith("Row 1: the start time -1.5 is before the start of the film"));
    EXPECT_EQ(folder.read("film.sub"), kSubViewer);
    EXPECT_TRUE(ws.list.isModified());
}
