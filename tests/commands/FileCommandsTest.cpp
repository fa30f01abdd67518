#include "commands/FileCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/UnsavedChanges.h"
#include "document/ProgramInfo.h"
#include "support/WorkspaceTest.h"

#include <sys/stat.h>

using namespace korv;
using namespace korv::test;

namespace {

using Rows = std::vector<SubtitleEntry>;

const QByteArray kSubViewer = "[INFORMATION]\r\n[TITLE]x\r\n[SUBTITLE]\r\n"
                              "00:00:10.00,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"
                              "00:00:14.00,00:00:16.00\r\n\xDDkinci\r\n\r\n";

class FileCommandsTest : public WorkspaceTest {
protected:
    void open(const QString &name)
    {
        ui.openAnswers.push_back(FileDialogResult::chosen(folder.filePath(name)));
        mnualtyaziac_Click(ws);
    }
    // Saves as `name`, or cancels the save dialog for none.
    bool save(const char *name, SaveFormat format = SaveFormat::SubViewer)
    {
        ui.saveAnswers.push_back(name ? FileDialogResult::chosen(folder.filePath(name)) : FileDialogResult::cancelled());
        return mnualtyazikaydet_Click(ws, format);
    }
};

} // namespace

TEST_F(FileCommandsTest, OpensSubViewerWhateverTheNameAndSavesItUnderANewOne)
{
    folder.write("film.txt", kSubViewer);
    open("film.txt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "10", "12.5", "Merhaba|dünya"}, {"2", "14", "16", "İkinci"}}));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(field(EditFields::Line2), "dünya");
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("film.txt"));
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(ui.openRequests.at(0).filter, "SubViewer v2 / Micro DVD Files *.*|*.*");

    ws.list.setCell(0, ColStart, "10.456");
    EXPECT_TRUE(save("out.sub"));
    EXPECT_EQ(ui.saveRequests.at(0).fileName, folder.filePath("film.txt")); // the last path is proposed
    EXPECT_EQ(ui.saveRequests[0].filter, "SubViewer v2 Files *.*|*.*");
    EXPECT_EQ(ui.lastNotice(), shownText("003"));
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("out.sub"));
    const QByteArray bytes = folder.read("out.sub");
    EXPECT_TRUE(bytes.contains("00:00:10.46,00:00:12.50\r\nMerhaba[br]d\xFCnya\r\n\r\n"));
    EXPECT_TRUE(bytes.endsWith("\xDDkinci\r\n\r\n"));
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(FileCommandsTest, OpensMicroDvdAtTheRateConfirmedAndSavesItAsSubViewer)
{
    setRows({{"1", "2", "kept"}});
    folder.write("film.sub", "{37}{80}Merhaba|dünya\r\n{90}{100}İki|Üç\r\n");
    ws.frameRates.film = 24000.0 / 1001.0;
    ui.frameRates = {std::nullopt, 25.0};
    open("film.sub"); // the frame-rate window closed: nothing read
    EXPECT_EQ(texts(), QStringList{"kept"});
    EXPECT_TRUE(ui.notices.empty());
    open("film.sub");
    EXPECT_EQ(ui.frameRateProposals, QStringList({"23.976023976024", "23.976023976024"}));
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1.48", "3.2", "Merhaba|dünya"}, {"2", "3.6", "4", "İki|Üç"}}));
    EXPECT_EQ(ws.frameRates.microDvd, 25.0);
    EXPECT_TRUE(save("out.txt"));
    EXPECT_TRUE(folder.read("out.txt").contains("00:00:01.48,00:00:03.20\r\nMerhaba[br]d\xFCnya\r\n\r\n"));
}

TEST_F(FileCommandsTest, WhatCannotBeOpenedIsToldAndTheListIsKept)
{
    setRows({{"1", "2", "kept"}});
    ui.openAnswers = {FileDialogResult::cancelled(), FileDialogResult::failed(12, "The dialog broke.")};
    mnualtyaziac_Click(ws); // cancel is silent
    EXPECT_TRUE(ui.notices.empty());
    mnualtyaziac_Click(ws);
    EXPECT_EQ(ui.shown(), QStringList{"Korvendal Production: Error 12 selecting file.\r\nThe dialog broke."});
    EXPECT_EQ(ui.busyDepth, 0);

    folder.write("empty.srt", "");
    folder.write("lower.sub", "[information]\r\n");
    folder.write("garbage.bin", QByteArray("\x00\x01\x02\xFF\xFE", 5));
    QDir().mkpath(folder.filePath("folder.sub"));
    // A named pipe would hang the window for good if it were opened.
    ASSERT_EQ(::mkfifo(folder.filePath("pipe.sub").toLocal8Bit().constData(), 0600), 0);
    for (const char *name : {"empty.srt", "lower.sub", "garbage.bin", "gone.txt", "folder.sub", "pipe.sub"}) {
        ui.notices.clear();
        open(name);
        const bool unreadable = QStringList({"gone.txt", "folder.sub", "pipe.sub"}).contains(QLatin1String(name));
        EXPECT_EQ(ui.shown().size(), unreadable ? 2 : 1) << name;
        EXPECT_EQ(ui.shown().last(), "Korvendal Production: " + shownText("012"));
        EXPECT_EQ(texts(), QStringList{"kept"});
    }
    // Told why with the path, then not recognised.
    EXPECT_EQ(ui.notices[0].message, shownText(msg::NotARegularFile, folder.filePath("pipe.sub")));
    folder.write("good.txt", kSubViewer);
    open("good.txt");
    EXPECT_EQ(ws.list.count(), 2);
}

TEST_F(FileCommandsTest, AFailedReadKeepsTheRowsReadSoFarNumbered)
{
    folder.write("broken.txt", "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nA\r\n\r\nbroken line\r\nB\r\n");
    open("broken.txt");
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), shownText(msg::NotATimeLine));
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1", "2", "A"}, {"2", "", "", ""}}));
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(FileCommandsTest, SavingChecksFirstAndACancelledDialogChangesNothing)
{
    setRows({{"10", "12.5", "a"}, {"12", "14", "b"}});
    for (SaveFormat format : {SaveFormat::SubViewer, SaveFormat::MicroDvd}) {
        ui.notices.clear();
        EXPECT_FALSE(mnualtyazikaydet_Click(ws, format));
        EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + shownText("009") + "\r\n\r\n" + shownText("007") + "1"});
    }
    EXPECT_TRUE(ui.saveRequests.empty());

    setRows({{"1.5", "3.2", "Merhaba|dünya"}});
    ws.currentSubtitleFile = "/old/path.sub";
    ui.notices.clear();
    EXPECT_FALSE(save(nullptr));
    EXPECT_EQ(ws.currentSubtitleFile, "/old/path.sub");
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ui.busyDepth, 0);

    // Closing the frame-rate window writes nothing and keeps the changes.
    ws.list.setModified(true);
    ui.frameRates = {std::nullopt};
    EXPECT_FALSE(save("out.sub", SaveFormat::MicroDvd));
    EXPECT_FALSE(QFile::exists(folder.filePath("out.sub")));
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_TRUE(ws.list.isModified());

    ui.frameRates = {25.0};
    EXPECT_TRUE(save("out.sub", SaveFormat::MicroDvd));
    EXPECT_EQ(ui.saveRequests[1].filter, "Micro DVD Files *.*|*.*");
    EXPECT_EQ(ui.frameRateProposals, QStringList({"25", "25"}));
    EXPECT_EQ(folder.read("out.sub"), QByteArray("{37}{80}Merhaba|d\xFCnya\r\n"));
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheOldFileByteForByteAndSaysWhy)
{
    folder.write("out.sub", "old");
    folder.write("dir/inside.txt", "old");
    const std::tuple<const char *, SubtitleEntry, QString> cases[] = {
        // Where to, the second row, what the notice says.
        {"out.sub", {"2", "3", "4", "bad \u4E2D"}, shownText(msg::CharacterNotInCodePage)},
        {"out.sub", {"2", "36000", "36002", "b"}, shownText(msg::NoClockTime)},
        {"out.sub", {"2", "3", "-4", "b"}, shownText("082")}, // the check names an end before its start
        {"dir", {"2", "3", "4", "b"}, folder.filePath("dir")},
        {"no/such/dir/out.sub", {"2", "3", "4", "b"}, folder.filePath("no/such/dir/out.sub")},
    };
    for (const auto &[target, second, notice] : cases) {
        ws.list.replaceAll({{"1", "1", "2", "fine"}, second});
        ui.notices.clear();
        ui.saveAnswers.clear(); // a check that stops leaves the dialog's answer unasked
        EXPECT_FALSE(save(target));
        ASSERT_EQ(ui.notices.size(), 1u) << target;
        EXPECT_TRUE(ui.lastNotice().startsWith(notice) || ui.lastNotice().endsWith(notice))
            << ui.lastNotice().toStdString();
        EXPECT_TRUE(ws.list.isModified());
    }
    EXPECT_EQ(folder.read("out.sub"), "old");
    EXPECT_EQ(folder.read("dir/inside.txt"), "old");
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
    EXPECT_EQ(ui.openRequests.size(), 1u); // no dialog after Cancel
    EXPECT_EQ(texts(), QStringList{"Değişti"});

    // Yes saves in the format the file came in, then opens the other file.
    ui.yesNoCancel.push_back(Answer::Yes);
    ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("a.sub")));
    ui.frameRates.push_back(25.0);
    open("b.txt");
    EXPECT_EQ(ui.questions.back().message, shownText("021"));
    EXPECT_EQ(folder.read("a.sub"), QByteArray("{25}{50}De\xF0i\xFEti\r\n"));
    EXPECT_EQ(ws.list.count(), 2);
    EXPECT_FALSE(ws.list.isModified());

    // A save that is cancelled keeps the changed document open.
    ws.fields.setText(EditFields::Line1, QStringLiteral("x"));
    ui.yesNoCancel.push_back(Answer::Yes);
    ui.saveAnswers.push_back(FileDialogResult::cancelled());
    mnualtyaziac_Click(ws);
    EXPECT_EQ(ui.openRequests.size(), 2u);
    EXPECT_EQ(cell(0, ColText), "x|dünya");
}

TEST_F(FileCommandsTest, SubRipAndWebVttOpenAndSaveInTheirOwnFormatToTheMillisecond)
{
    const QByteArray srt = "1\r\n00:00:01,500 --> 00:00:03,205\r\n<i>Merhaba</i>\r\nd\xC3\xBCnya\r\n\r\n"
                           "2\r\n00:00:04,000 --> 00:00:05,061\r\n{\\an8}\xC4\xB0kinci\r\n\r\n";
    folder.write("film.srt", srt);
    open("film.srt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1.5", "3.205", "<i>Merhaba</i>|dünya"}, {"2", "4", "5.061", "{\\an8}İkinci"}}));
    EXPECT_TRUE(ui.frameRateProposals.isEmpty());
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(ws.documentFormat, SaveFormat::SubRip);
    EXPECT_EQ(ws.fields.duration(), "1.705 sn");

    // Saved unchanged: the same bytes; the check before it keeps every millisecond.
    ws.list.setModified(true);
    ui.yesNoCancel = {Answer::Yes};
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("same.srt"))};
    EXPECT_TRUE(confirmUnsavedChanges(ws)); // "save first" saves as SubRip
    EXPECT_EQ(ui.saveRequests.back().filter, "SubRip Files|*.srt");
    EXPECT_EQ(folder.read("same.srt"), srt);

    // A shift works to the millisecond.
    ws.fields.setText(EditFields::ShiftSeconds, "0.001");
    CmdEkleCikar_Click(ws, true);
    EXPECT_EQ(column(ColEnd), QStringList({"3.206", "5.062"}));

    // Saved as SubViewer 2, the document takes hundredths from then on.
    EXPECT_TRUE(save("film.sub"));
    EXPECT_EQ(column(ColEnd), QStringList({"3.21", "5.06"}));
    EXPECT_EQ(ws.documentFormat, SaveFormat::SubViewer);
    CmdEkleCikar_Click(ws, true);
    EXPECT_EQ(column(ColEnd), QStringList({"3.21", "5.06"})) << "a thousandth rounds away at hundredths";

    // WebVTT: the parts the rows cannot hold are told of once, on opening.
    ui.notices.clear();
    ui.yesNoCancel = {Answer::No}; // the shifted rows are not saved
    folder.write("film.vtt", "WEBVTT - a title\n\nNOTE made by hand\n\nfirst\n00:01.000 --> 00:02.500 align:start\n"
                             "Bir\n\n00:00:03.000 --> 00:00:04.000\nİki\n");
    open("film.vtt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1", "2.5", "Bir"}, {"2", "3", "4", "İki"}}));
    EXPECT_EQ(ui.shown(), QStringList{ProgramInfo::kNoticeTitle + ": " + shownText("052")});
    EXPECT_TRUE(save("out.vtt", SaveFormat::WebVtt));
    EXPECT_EQ(ui.saveRequests.back().filter, "WebVTT Files|*.vtt");
    EXPECT_EQ(folder.read("out.vtt"), "WEBVTT\n\n00:00:01.000 --> 00:00:02.500\nBir\n\n00:00:03.000 --> 00:00:04.000\nİki\n\n");

    // A time before the film's start is refused, naming its row.
    ws.list.setCell(0, ColStart, "-0.5");
    EXPECT_FALSE(save("neg.srt", SaveFormat::SubRip));
    EXPECT_FALSE(QFile::exists(folder.filePath("neg.srt")));
    EXPECT_EQ(ui.lastNotice(), shownText("035"));
}

TEST_F(FileCommandsTest, OpeningTellsOnceInOneWindowWhatTheReadLeftOutOrWillChange)
{
    // Blank lines inside a text, "|" in a text, a position after the times
    // and a stray byte in UTF-8: the rows are shown, then one notice.
    folder.write("wild.srt", "1\r\n00:00:01,000 --> 00:00:02,000 X1:1 X2:2 Y1:3 Y2:4\r\nBir\r\n\r\nve iki\r\n\r\n"
                             "2\r\n00:00:03,000 --> 00:00:04,000\r\nA|B \xFF\r\n\r\n"
                             "3\r\n00:00:05,000 --> 00:00:06,000\r\n\xC5\x9E" "eker \xC3\xA7\x61y\xC4\xB1\r\n");
    open("wild.srt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1", "2", "Bir|ve iki"},
                                    {"2", "3", "4", QStringLiteral("A|B \uFFFD")},
                                    {"3", "5", "6", "Şeker çayı"}}));
    const QStringList told{shownText("058"), shownText("055"), shownText("056"), shownText("057")};
    EXPECT_EQ(ui.shown(), QStringList(ProgramInfo::kNoticeTitle + ": " + told.join("\r\n\r\n")));
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_EQ(ws.documentFormat, SaveFormat::SubRip);

    // A file that needed no change says nothing; UTF-16 is read as it is.
    ui.notices.clear();
    QByteArray utf16("\xFF\xFE");
    for (const char16_t c : u"1\r\n00:00:01,000 --> 00:00:02,000\r\nİyi\r\n")
        utf16.append(char(c & 0xFF)).append(char(c >> 8));
    utf16.chop(2); // the string's terminating zero
    folder.write("utf16.srt", utf16);
    open("utf16.srt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "1", "2", "İyi"}}));
    EXPECT_TRUE(ui.notices.empty());

    // An end before its start is read, and the check before the save names it.
    folder.write("backwards.srt", "1\r\n00:00:05,000 --> 00:00:04,000\r\nGeri\r\n");
    open("backwards.srt");
    EXPECT_EQ(ws.list.rows(), Rows({{"1", "5", "4", "Geri"}}));
    EXPECT_FALSE(save("out.srt", SaveFormat::SubRip));
    EXPECT_EQ(ui.lastNotice(), shownText("082") + "\r\n\r\n" + shownText("007") + "1");
    EXPECT_FALSE(QFile::exists(folder.filePath("out.srt")));
}
