#include "app/Workspace.h"
#include "document/FileCommands.h"
#include "document/FrameRate.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QFileDevice>

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

const QByteArray kSubViewer =
    "[INFORMATION]\r\n[TITLE]x\r\n[SUBTITLE]\r\n"
    "00:00:10.00,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"
    "00:00:14.00,00:00:16.00\r\n\xDDkinci\r\n\r\n";

class FileCommandsTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    Workspace ws{ui};

    void open(const QString &name)
    {
        ui.openAnswers.push_back(FileDialogResult::chosen(folder.filePath(name)));
        mnualtyaziac_Click(ws);
    }
    void setRows(std::vector<SubtitleEntry> rows)
    {
        ws.list.replaceAll(std::move(rows));
        ws.list.renumber();
        ws.list.setModified(false);
    }
};

} // namespace

TEST_F(FileCommandsTest, OpensSubViewerWhateverTheName)
{
    folder.write("film.txt", kSubViewer);
    open("film.txt");
    ASSERT_EQ(ws.list.count(), 2);
    EXPECT_EQ(ws.list.cell(0, ColNumber), "1");
    EXPECT_EQ(ws.list.cell(1, ColNumber), "2");
    EXPECT_EQ(ws.list.cell(0, ColText), "Merhaba|dünya");
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(ws.fields.text(EditFields::Line2), "dünya");
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("film.txt"));
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].filter, "SubViewer v2 / Micro DVD Files *.*|*.*");
}

TEST_F(FileCommandsTest, OpensMicroDvdAfterAskingTheFrameRate)
{
    folder.write("film.sub", "{25}{50}Bir\r\n{75}{100}İki|Üç\r\n");
    frameRates().film = 24000.0 / 1001.0;
    ui.frameRates.push_back(25.0);
    open("film.sub");
    ASSERT_EQ(ui.frameRateProposals.size(), 1u);
    EXPECT_EQ(ui.frameRateProposals[0], "23.976023976024");
    ASSERT_EQ(ws.list.count(), 2);
    EXPECT_EQ(ws.list.cell(1, ColStart), "3");
    EXPECT_EQ(ws.list.cell(1, ColText), "İki|Üç");
    EXPECT_EQ(frameRates().microDvd, 25.0);
}

TEST_F(FileCommandsTest, ClosingTheFrameRateWindowReadsNothing)
{
    setRows({{"1", "1", "2", "kept"}});
    folder.write("film.sub", "{25}{50}Bir\r\n");
    ui.frameRates.push_back(std::nullopt);
    open("film.sub");
    ASSERT_EQ(ws.list.count(), 1);
    EXPECT_EQ(ws.list.cell(0, ColText), "kept");
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(FileCommandsTest, UnrecognisedOrEmptyFilesKeepTheList)
{
    setRows({{"1", "1", "2", "kept"}});
    folder.write("empty.srt", "");
    folder.write("lower.sub", "[information]\r\n");
    folder.write("garbage.bin", QByteArray("\x00\x01\x02\xFF\xFE", 5));
    for (const char *name : {"empty.srt", "lower.sub", "garbage.bin"}) {
        ui.notices.clear();
        open(name);
        ASSERT_EQ(ui.notices.size(), 1u) << name;
        EXPECT_EQ(ui.lastNotice(), msg("012"));
        EXPECT_EQ(ui.lastTitle(), "Korvendal Production");
        EXPECT_EQ(ws.list.cell(0, ColText), "kept");
    }
    // A second open right after works.
    folder.write("good.txt", kSubViewer);
    open("good.txt");
    EXPECT_EQ(ws.list.count(), 2);
}

TEST_F(FileCommandsTest, CancelIsSilentAndAFailedDialogIsReported)
{
    ui.openAnswers.push_back(FileDialogResult::cancelled());
    mnualtyaziac_Click(ws);
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    ui.openAnswers.push_back(FileDialogResult::failed(12, "The dialog broke."));
    mnualtyaziac_Click(ws);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), "Error 12 selecting file.\r\nThe dialog broke.");
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(FileCommandsTest, AFileDeletedAfterTheDialogIsReportedThenNotRecognised)
{
    open("gone.txt");
    ASSERT_EQ(ui.notices.size(), 2u);
    EXPECT_TRUE(ui.notices[0].message.contains("gone.txt"));
    EXPECT_EQ(ui.notices[1].message, msg("012"));
}

TEST_F(FileCommandsTest, AFailedReadKeepsTheRowsReadSoFarNumbered)
{
    folder.write("broken.txt", "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nA\r\n\r\nbroken line\r\nB\r\n");
    open("broken.txt");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().contains("Row 2"));
    ASSERT_EQ(ws.list.count(), 2);
    EXPECT_EQ(ws.list.cell(1, ColNumber), "2");
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(FileCommandsTest, SavesSubViewerAndProposesTheLastPath)
{
    folder.write("in.txt", kSubViewer);
    open("in.txt");
    ws.list.setCell(0, ColStart, "10.456");
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("out.sub")));
    EXPECT_TRUE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    ASSERT_EQ(ui.saveRequests.size(), 1u);
    EXPECT_EQ(ui.saveRequests[0].fileName, folder.filePath("in.txt"));
    EXPECT_EQ(ui.saveRequests[0].filter, "SubViewer v2 Files *.*|*.*");
    EXPECT_EQ(ui.lastNotice(), msg("003"));
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("out.sub"));
    const QByteArray bytes = folder.read("out.sub");
    EXPECT_TRUE(bytes.contains("00:00:10.46,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"));
    EXPECT_TRUE(bytes.endsWith("\xDDkinci\r\n\r\n"));
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(FileCommandsTest, SavesMicroDvdWithTheConfirmedRate)
{
    setRows({{"1", "1.5", "3.2", "Merhaba|dünya"}});
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("out.sub")));
    ui.frameRates.push_back(25.0);
    EXPECT_TRUE(mnualtyazikaydet_Click(ws, SaveMicroDvd));
    EXPECT_EQ(ui.saveRequests[0].filter, "Micro DVD Files *.*|*.*");
    EXPECT_EQ(ui.frameRateProposals.value(0), "25");
    EXPECT_EQ(folder.read("out.sub"), QByteArray("{37}{80}Merhaba|d\xFCnya\r\n"));
}

TEST_F(FileCommandsTest, CancellingTheSaveDialogChangesNothing)
{
    setRows({{"1", "1", "2", "a"}});
    ws.currentSubtitleFile = "/old/path.sub";
    ui.saveAnswers.push_back(FileDialogResult::cancelled());
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    EXPECT_EQ(ws.currentSubtitleFile, "/old/path.sub");
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(FileCommandsTest, AnOverlapWithoutRepairShowsTheCheckAndNoDialog)
{
    setRows({{"1", "10", "12.5", "a"}, {"2", "12", "14", "b"}});
    for (int index : {SaveSubViewer, SaveMicroDvd}) {
        ui.notices.clear();
        EXPECT_FALSE(mnualtyazikaydet_Click(ws, index));
        ASSERT_EQ(ui.notices.size(), 1u);
        EXPECT_EQ(ui.lastNotice(), msg("009") + "\r\n\r\n" + msg("007") + "1");
        EXPECT_EQ(ui.lastTitle(), msg("008"));
    }
    EXPECT_TRUE(ui.saveRequests.empty());
}

TEST_F(FileCommandsTest, UnencodableCharacterRefusesTheSaveAndKeepsTheOldFile)
{
    folder.write("out.sub", "old contents");
    setRows({{"1", "1", "2", "fine"}, {"2", "3", "4", "bad \u4E2D"}});
    ws.list.setModified(true);
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("out.sub")));
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().startsWith("Row 2 holds the character")) << ui.lastNotice().toStdString();
    EXPECT_TRUE(ui.lastNotice().contains("U+4E2D"));
    EXPECT_EQ(folder.read("out.sub"), "old contents");
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(FileCommandsTest, ATimeBeyondTheClockKeepsTheOldFileByteForByte)
{
    folder.write("out.sub", "old contents");
    setRows({{"1", "1", "2", "a"}, {"2", "36000", "36002", "b"}});
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("out.sub")));
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.lastNotice(), msg("003"));
    EXPECT_TRUE(ui.lastNotice().contains("Row 2"));
    EXPECT_EQ(folder.read("out.sub"), "old contents");
}

TEST_F(FileCommandsTest, AReadOnlyTargetIsReportedAndUntouched)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    folder.write("ro.sub", "old");
    QFile::setPermissions(folder.filePath("ro.sub"), QFileDevice::ReadOwner);
    setRows({{"1", "1", "2", "a"}});
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("ro.sub")));
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    EXPECT_NE(ui.lastNotice(), msg("003"));
    EXPECT_EQ(folder.read("ro.sub"), "old");
}

TEST_F(FileCommandsTest, AFolderAsTargetIsReportedAndKept)
{
    folder.write("dir/inside.txt", "x");
    setRows({{"1", "1", "2", "a"}});
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("dir")));
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    EXPECT_NE(ui.lastNotice(), msg("003"));
    EXPECT_EQ(folder.read("dir/inside.txt"), "x");
}

TEST_F(FileCommandsTest, AMissingFolderIsReported)
{
    setRows({{"1", "1", "2", "a"}});
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("no/such/dir/out.sub")));
    EXPECT_FALSE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.lastNotice().contains("out.sub"));
}

TEST_F(FileCommandsTest, OpenedAsMicroDvdSavedAsSubViewer)
{
    folder.write("in.sub", "{37}{80}Merhaba|dünya\r\n");
    ui.frameRates.push_back(25.0);
    open("in.sub");
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("out.txt")));
    EXPECT_TRUE(mnualtyazikaydet_Click(ws, SaveSubViewer));
    EXPECT_TRUE(folder.read("out.txt").contains("00:00:01.48,00:00:03.20\r\nMerhaba[br]d\xFCnya\r\n\r\n"));
}

TEST_F(FileCommandsTest, ChangedWorkIsOfferedForSavingBeforeAnotherFileOpens)
{
    folder.write("a.sub", "{25}{50}Bir\r\n");
    folder.write("b.txt", kSubViewer);
    ui.frameRates.push_back(25.0);
    open("a.sub");
    EXPECT_FALSE(ws.list.isModified());
    ws.fields.setText(EditFields::Line1, QStringLiteral("Değişti"));
    ASSERT_TRUE(ws.list.isModified());

    ui.yesNoCancel.push_back(Answer::Cancel);
    mnualtyaziac_Click(ws);
    EXPECT_TRUE(ui.openRequests.size() == 1u); // no dialog after Cancel
    EXPECT_EQ(ws.list.cell(0, ColText), "Değişti");

    // Yes saves in the format the file came in, then opens the other file.
    ui.yesNoCancel.push_back(Answer::Yes);
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("a.sub")));
    ui.frameRates.push_back(25.0);
    open("b.txt");
    EXPECT_EQ(ui.questions.back().message, msg("021"));
    EXPECT_EQ(folder.read("a.sub"), QByteArray("{25}{50}De\xF0i\xFEti\r\n"));
    EXPECT_EQ(ws.list.count(), 2);
    EXPECT_FALSE(ws.list.isModified());

    // A save that is cancelled keeps the changed document open.
    ws.fields.setText(EditFields::Line1, QStringLiteral("x"));
    ui.yesNoCancel.push_back(Answer::Yes);
    ui.saveAnswers.push_back(FileDialogResult::cancelled());
    mnualtyaziac_Click(ws);
    EXPECT_EQ(ui.openRequests.size(), 2u);
    EXPECT_EQ(ws.list.cell(0, ColText), "x|dünya");
}
