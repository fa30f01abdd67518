#include "support/WorkspaceTest.h"

#include "document/SubViewerFormat.h"
#include "editing/Split.h"

using namespace korv;
using namespace korv::test;

namespace {

class SplitTest : public WorkspaceTest {
protected:
    // Splits at `point`; the two save dialogs are answered with one.sub and two.sub.
    void split(const char *point, int format = 0)
    {
        ws.fields.setText(EditFields::SplitPoint, point);
        ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("one.sub")));
        ui.saveAnswers.push_back(FileDialogResult::chosen(folder.filePath("two.sub")));
        CmdBol_Click(ws, format);
    }
    void threeRows() { setRows({{"10", "12", "A"}, {"14", "16", "B"}, {"20", "22", "C"}}); }
};

// A SubViewer file: the header, then "time line\r\ntext" records.
QByteArray subViewer(std::initializer_list<const char *> records)
{
    QByteArray out = subviewer::headerLines().join("\r\n").toLatin1() + "\r\n";
    for (const char *record : records)
        out += QByteArray(record) + "\r\n\r\n";
    return out;
}

} // namespace

TEST_F(SplitTest, TheThreeWaysAPointMeetsTheSubtitles)
{
    threeRows();
    ws.list.select(2);
    split("15"); // inside a subtitle: it is in both files
    EXPECT_EQ(folder.read("one.sub"), subViewer({"00:00:10.00,00:00:12.00\r\nA", "00:00:14.00,00:00:15.00\r\nB"}));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:00.00,00:00:01.00\r\nB", "00:00:05.00,00:00:07.00\r\nC"}));
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(cell(1, ColEnd), "16");
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_EQ(ui.busyDepth, 0);

    split("14"); // on a start: that subtitle stays in the first file
    EXPECT_EQ(folder.read("one.sub"), subViewer({"00:00:10.00,00:00:12.00\r\nA", "00:00:14.00,00:00:14.00\r\nB"}));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:00.00,00:00:02.00\r\nB", "00:00:06.00,00:00:08.00\r\nC"}));

    setRows({{"10", "12", "A"}, {"20", "22", "C"}});
    split("15"); // between subtitles: the first file's last one is stretched
    EXPECT_EQ(folder.read("one.sub"), subViewer({"00:00:10.00,00:00:15.00\r\nA"}));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:05.00,00:00:07.00\r\nC"}));
    ui.frameRates = {25.0, 25.0};
    split("15", 1);
    EXPECT_EQ(folder.read("one.sub"), "{250}{375}A\r\n");
    EXPECT_EQ(folder.read("two.sub"), "{125}{175}C\r\n");
}

TEST_F(SplitTest, NothingIsWrittenForABadPointOrADocumentFailingTheCheck)
{
    for (const char *point : {"abc", "0", "10", "20", "25"}) {
        threeRows();
        ui.notices.clear();
        ws.fields.setText(EditFields::SplitPoint, point);
        CmdBol_Click(ws, 0);
        ASSERT_EQ(ui.notices.size(), 1u) << point;
        EXPECT_EQ(ui.notices[0].message, msg("013"));
        EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    }
    setRows({{"10", "15", "A"}, {"14", "16", "B"}, {"20", "22", "C"}});
    ws.fields.setText(EditFields::SplitPoint, "15");
    CmdBol_Click(ws, 0);
    EXPECT_EQ(ui.lastNotice(), msg("009") + "\r\n\r\n" + msg("007") + "1");
    EXPECT_TRUE(ui.saveRequests.empty());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(SplitTest, ACancelledFirstFileStillWritesTheSecondAndKeepsTheDocument)
{
    threeRows();
    ws.list.setModified(true);
    ws.fields.setText(EditFields::SplitPoint, "15");
    ui.saveAnswers = {FileDialogResult::cancelled(), FileDialogResult::chosen(folder.filePath("two.sub"))};
    CmdBol_Click(ws, 0);
    EXPECT_FALSE(QFile::exists(folder.filePath("one.sub")));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:00.00,00:00:01.00\r\nB", "00:00:05.00,00:00:07.00\r\nC"}));
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(cell(2, ColNumber), "3");
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(SplitTest, HandlesDocumentsBeyondSixteenBitRowCounts)
{
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 40000; ++i)
        rows.push_back({"0", QString::number(i * 0.5, 'f', 2), QString::number(i * 0.5 + 0.25, 'f', 2), "x"});
    ws.list.replaceAll(std::move(rows));
    split("19000.1");
    EXPECT_EQ(ws.list.count(), 40000);
    const QByteArray second = folder.read("two.sub");
    EXPECT_EQ(second.right(31), "\n00:16:39.40,00:16:39.65\r\nx\r\n\r\n");
    EXPECT_EQ(second.count("\r\nx\r\n"), 2000);
    EXPECT_EQ(folder.read("one.sub").count("\r\nx\r\n"), 38001);
}
