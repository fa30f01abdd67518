// The editing commands over a workspace: the edit fields, the line toolbar,
// a new document, the time shift, the overlap check, find and split.
#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"
#include "document/SubViewerFormat.h"
#include "editing/Wildcard.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

const QString kTitle = QStringLiteral("Korvendal Production: ");

class EditingTest : public WorkspaceTest {
protected:

    void shift(const char *seconds, bool add)
    {
        ws.fields.setText(EditFields::ShiftSeconds, seconds);
        CmdEkleCikar_Click(ws, add);
    }
    // Presses "BUL" with each text: the selected row's number, or 0 when the
    // press ended with message "001".
    std::vector<int> press(std::initializer_list<const char *> searches)
    {
        std::vector<int> found;
        for (const char *search : searches) {
            ws.fields.setText(EditFields::Search, QString::fromUtf8(search));
            const std::size_t before = ui.notices.size();
            CmdFind_Click(ws);
            found.push_back(ui.notices.size() == before ? ws.list.selected() + 1 : 0);
            if (ui.notices.size() != before)
                EXPECT_EQ(ui.notices.back().message, shownText("001"));
        }
        return found;
    }
    // Splits at `point`; save dialogs, if asked, are answered with one.sub and two.sub.
    void split(const char *point, int format = 0)
    {
        ws.fields.setText(EditFields::SplitPoint, point);
        ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("one.sub")),
                          FileDialogResult::chosen(folder.filePath("two.sub"))};
        CmdBol_Click(ws, format);
    }
    void threeRows() { setRows({{"10", "12", "A"}, {"14", "16", "B"}, {"20", "22", "C"}}); }
};

QString report(int row, bool repaired)
{
    return "\r\n" + shownText("007") + QString::number(row) + "\r\n" + (repaired ? shownText("011") : QStringLiteral("HATA DÜZELTİLMEDİ"));
}

// A notice that stopped the walk on a row.
QString stopped(const char *key, int row)
{
    return shownText(key) + "\r\n\r\n" + shownText("007") + QString::number(row);
}

// A SubViewer file: the header, then "time line\r\ntext" records.
QByteArray subViewer(std::initializer_list<const char *> records)
{
    QByteArray out = subviewer::headerLines().join("\r\n").toLatin1() + "\r\n";
    for (const char *record : records)
        out += QByteArray(record) + "\r\n\r\n";
    return out;
}

} // namespace

TEST_F(EditingTest, AddDeleteAndRestoreKeepOrderNumbersAndSelection)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}}, 1);
    Cubuk_ButtonClick(ws, 1);
    EXPECT_EQ(texts(), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3", "4"}));
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(field(EditFields::Line1), "c"); // the row in its place
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3"})); // renumbered
    ws.list.select(1);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_TRUE(ws.restoreEnabled());
    Cubuk_ButtonClick(ws, 3); // only the second deletion comes back
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3"}));
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(field(EditFields::Start), "3");
    EXPECT_FALSE(ws.restoreEnabled());

    // Deleting the only row leaves an empty one, and can be undone: the row
    // takes the empty one's place, so nothing blocks saving.
    for (int i = 0; i < 3; ++i)
        Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(column(ColNumber) + texts(), QStringList({"1", ""}));
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(column(ColNumber) + texts(), QStringList({"1", "a"}));
    EXPECT_EQ(field(EditFields::Line1), "a");
    // Once something was typed into the empty row, both stay.
    Cubuk_ButtonClick(ws, 2);
    ws.fields.setText(EditFields::Line1, "new");
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({"a", "new"}));

    // A position past the end of a new document restores nothing.
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}}, 2);
    Cubuk_ButtonClick(ws, 2); // buffer position 3
    ui.yesNoCancel = {Answer::No}; // the deletion is not saved
    MnuYeniAltYazi_Click(ws);
    Cubuk_ButtonClick(ws, 3);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.restoreEnabled());
}

TEST_F(EditingTest, NewDocumentAsksOnlyForTwoOrMoreRowsAndOffersChangedWorkForSaving)
{
    // One unchanged row goes without a question.
    setRows({{"1", "2", "only"}});
    MnuYeniAltYazi_Click(ws);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(texts(), QStringList({""}));

    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    ui.yesNo = {false, true};
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({"a", "b"}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title + ": " + ui.questions[0].message, kTitle + shownText("017"));
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList({""}));
    EXPECT_FALSE(ws.list.isModified());
    ws.fields.setText(EditFields::Line1, "typed");
    ui.yesNoCancel = {Answer::Cancel, Answer::No};
    MnuYeniAltYazi_Click(ws); // one row, changed: cancel keeps it
    EXPECT_EQ(texts(), QStringList({"typed"}));
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(ui.questions.size(), 4u);
    EXPECT_EQ(ui.questions[2].message, shownText("021"));
    EXPECT_EQ(field(EditFields::Line1), "");
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(EditingTest, TimeShiftRoundsToHundredthsAndIsAllOrNothing)
{
    setRows({{"10", "12.5", "a"}, {"3", "10", "b"}});
    shift("2", true);
    EXPECT_EQ(column(ColStart), QStringList({"12.", "5."}));
    EXPECT_EQ(field(EditFields::Start), "12."); // the fields follow
    shift("3.234", false);
    shift("-2", true); // "EKLE" with a negative value moves earlier
    EXPECT_EQ(column(ColStart), QStringList({"6.77", "-0.23"}));
    shift("abc", true);
    shift("", false);
    EXPECT_EQ(column(ColEnd), QStringList({"9.27", "6.77"}));
    EXPECT_TRUE(ui.notices.empty());

    // A row that is not a number stops everything and is named.
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"", "6", "c"}, {"7", "8", "d"}});
    shift("5", true);
    EXPECT_EQ(column(ColStart) + column(ColEnd), QStringList({"1", "3", "", "7", "2", "4", "6", "8"}));
    EXPECT_EQ(ui.shown(), QStringList{kTitle + stopped("006", 3)});
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(EditingTest, OverlapCheckNormalisesTimesAndPassesEqualTimesAndAnEmptyList)
{
    setRows({{"10.456", "12."}, {"12", "14.999"}});
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_TRUE(ws.checkReport.isEmpty());
    EXPECT_EQ(column(ColStart) + column(ColEnd), QStringList({"10.46", "12", "12", "15"}));
    EXPECT_TRUE(ui.notices.empty());
    ws.list.clear();
    EXPECT_TRUE(CheckOverlaps(ws));
    CmdHataKontrolu_Click(ws);
    EXPECT_EQ(ui.shown(), QStringList{kTitle + shownText("005")});
}

TEST_F(EditingTest, OverlapCheckStopsOnATimeThatIsNotANumber)
{
    setRows({{"", ""}}); // a new document's empty row
    EXPECT_FALSE(CheckOverlaps(ws));
    // An empty start is found while the row before it is tested.
    setRows({{"1.001", "2"}, {"3.004", "4"}, {"", "6"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.shown(), QStringList({shownText("008") + ": " + stopped("006", 1), shownText("008") + ": " + stopped("006", 3)}));
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_EQ(column(ColStart), QStringList({"1", "3.004", ""})); // normalised as far as it got
}

TEST_F(EditingTest, OverlapCheckWithoutRepairStopsAtTheFirstOverlap)
{
    // Less than a hundredth is an overlap all the same: the times are
    // compared as they stand, before they are rounded.
    setRows({{"10", "12.004"}, {"12.001", "14"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("009", 1)});
    ui.notices.clear();

    setRows({{"10", "12.5"}, {"12", "14"}}, 1);
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(cell(0, ColEnd), "12.5");
    EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("009", 1)});
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_EQ(field(EditFields::End), "12.5");
}

TEST_F(EditingTest, OverlapCheckRepairsByPullingTheEndsBack)
{
    setRows({{"10", "12.5"}, {"12", "14"}, {"13.5", "15"}}, 1);
    ws.hataCheck1 = true;
    CmdHataKontrolu_Click(ws);
    EXPECT_EQ(column(ColStart) + column(ColEnd), QStringList({"10", "12", "13.5", "12", "13.5", "15"}));
    EXPECT_EQ(ui.shown(), QStringList{kTitle + shownText("004") + "\r\n" + report(1, true) + report(2, true)});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ws.list.selected(), 1); // the repair leaves the selection alone
    EXPECT_EQ(field(EditFields::End), "13.5");
}

TEST_F(EditingTest, OverlapCheckAsksBeforeEachRepairUntilCancel)
{
    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}}, 2);
    ws.hataCheck1 = ws.hataCheck2 = true;
    ui.yesNoCancel = {Answer::No, Answer::Yes};
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(column(ColEnd), QStringList({"3", "4", "6"}));
    EXPECT_EQ(ws.checkReport, report(1, false) + report(2, true));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].title + ": " + ui.questions[0].message,
              shownText("008") + ": " + stopped("009", 1) + "\r\n\r\n" + shownText("010"));

    setRows({{"1", "3"}, {"2", "5"}, {"4", "6"}}, 2);
    ui.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ws.checkReport, report(1, false));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(EditingTest, TheCheckNamesAnEndBeforeItsStartAndRowsOutOfOrderAndSortsThemOnlyWithAYes)
{
    // An end before its start, read from a file or typed, in every mode.
    for (const bool repair : {false, true}) {
        setRows({{"1", "2"}, {"5", "4"}, {"6", "7"}});
        ws.hataCheck1 = repair;
        ui.notices.clear();
        EXPECT_FALSE(CheckOverlaps(ws));
        EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("082", 2)});
        EXPECT_EQ(ws.list.selected(), 1);
    }
    // An end that rounds to its start at the precision is none before it.
    setRows({{"1.004", "1.001"}});
    EXPECT_TRUE(CheckOverlaps(ws));

    // Without the repair, the first row that starts before the row above it.
    ws.hataCheck1 = false;
    ui.notices.clear();
    setRows({{"1", "2", "a"}, {"5", "7", "b"}, {"3", "6", "c"}, {"5", "5.5", "d"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("083", 3)});
    EXPECT_TRUE(ui.questions.empty());

    // With it, the user is asked first; No stops there, the rows unmoved.
    ws.hataCheck1 = true;
    ui.notices.clear();
    ui.yesNo = {false};
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(texts(), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("083", 3)});
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title + ": " + ui.questions[0].message, shownText("008") + ": " + shownText("084"));

    // Rows cannot be sorted while a start is no number: that row is named first.
    ui.notices.clear();
    ui.questions.clear();
    setRows({{"5", "6", "a"}, {"1", "2", "b"}, {"x", "9", "c"}});
    EXPECT_FALSE(CheckOverlaps(ws));
    EXPECT_EQ(ui.shown(), QStringList{shownText("008") + ": " + stopped("006", 3)});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    setRows({{"1", "2", "a"}, {"5", "7", "b"}, {"3", "6", "c"}, {"5", "5.5", "d"}});

    // Yes sorts by start (equal starts keep their order), then repairs: no
    // end is pulled before its start. One step undoes both.
    ui.yesNo = {true};
    ws.list.select(1);
    EXPECT_TRUE(CheckOverlaps(ws));
    EXPECT_EQ(texts(), QStringList({"a", "c", "b", "d"}));
    EXPECT_EQ(column(ColStart) + column(ColEnd), QStringList({"1", "3", "5", "5", "2", "5", "5", "5.5"}));
    EXPECT_EQ(column(ColNumber), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(texts().at(ws.list.selected()), "b") << "the selected row is followed to its place";
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(column(ColEnd), QStringList({"2", "7", "6", "5.5"}));
}

TEST_F(EditingTest, FindGoesOnBelowTheLastHitAndWrapsAfterTheNotice)
{
    setRows({{"1", "2", "Hello|World"}, {"3", "4", "hello again"}, {"5", "6", "Bye"}});
    EXPECT_EQ(press({"HELLO"}), std::vector<int>{1});
    EXPECT_EQ(field(EditFields::Line2), "World");
    // A new search text goes on below; the empty text fits every row; an
    // unclosed "[" is no pattern: told, back to the top.
    EXPECT_EQ(press({"HELLO", "HELLO", "HELLO", "bye", "", "", "[", "world"}),
              (std::vector<int>{2, 0, 1, 3, 0, 1, 0, 1}));

    setRows({{"1", "2", "KIRMIZI"}, {"3", "4", "kırmızı"}});
    ws.letterCase = LetterCase::Turkic; // "I" is the capital of "ı"
    EXPECT_EQ(press({"kırmızı", "kırmızı", "kırmızı"}), (std::vector<int>{2, 0, 1}));
}

TEST_F(EditingTest, SplitAtAPointInsideOnOrBetweenSubtitles)
{
    const char *a = "00:00:10.00,00:00:12.00\r\nA";
    const std::tuple<int, const char *, int, QByteArray, QByteArray> cases[] = {
        // Inside a subtitle it is in both files; on a start it stays in the first.
        {3, "15", 0, subViewer({a, "00:00:14.00,00:00:15.00\r\nB"}),
         subViewer({"00:00:00.00,00:00:01.00\r\nB", "00:00:05.00,00:00:07.00\r\nC"})},
        {3, "14", 0, subViewer({a, "00:00:14.00,00:00:14.00\r\nB"}),
         subViewer({"00:00:00.00,00:00:02.00\r\nB", "00:00:06.00,00:00:08.00\r\nC"})},
        // Between subtitles the first file's last one is stretched.
        {2, "15", 0, subViewer({"00:00:10.00,00:00:15.00\r\nA"}), subViewer({"00:00:05.00,00:00:07.00\r\nC"})},
        {2, "15", 1, "{250}{375}A\r\n", "{125}{175}C\r\n"},
    };
    for (const auto &[rows, point, format, one, two] : cases) {
        if (rows == 3)
            setRows({{"10", "12", "A"}, {"14", "16", "B"}, {"20", "22", "C"}}, 2);
        else
            setRows({{"10", "12", "A"}, {"20", "22", "C"}}, 1);
        ui.frameRates = {25.0, 25.0};
        split(point, format);
        EXPECT_EQ(folder.read("one.sub"), one) << point;
        EXPECT_EQ(folder.read("two.sub"), two) << point;
        // The document is rebuilt as it was.
        EXPECT_EQ(texts() + column(ColEnd), rows == 3 ? QStringList({"A", "B", "C", "12", "16", "22"})
                                                      : QStringList({"A", "C", "12", "22"}));
        EXPECT_EQ(ws.list.selected(), rows - 1);
        EXPECT_FALSE(ws.list.isModified());
        EXPECT_EQ(ui.busyDepth, 0);
    }
    // A subtitle that ends exactly at the point is in both files.
    setRows({{"10", "12", "A"}, {"14", "15", "B"}, {"20", "22", "C"}});
    split("15");
    EXPECT_EQ(folder.read("one.sub"), subViewer({a, "00:00:14.00,00:00:15.00\r\nB"}));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:00.00,00:00:00.00\r\nB", "00:00:05.00,00:00:07.00\r\nC"}));
}

TEST_F(EditingTest, AfterASplitTheDocumentIsStillItsOwnFileInItsOwnFormat)
{
    folder.write("film.txt", subViewer({"00:00:10.00,00:00:12.00\r\nA", "00:00:14.00,00:00:16.00\r\nB",
                                       "00:00:20.00,00:00:22.00\r\nC"}));
    ui.openAnswers = {FileDialogResult::chosen(folder.filePath("film.txt"))};
    mnualtyaziac_Click(ws);
    ws.fields.setText(EditFields::Line1, "changed");
    ui.frameRates = {25.0, 25.0};
    split("15", 1); // the parts as MicroDVD
    EXPECT_EQ(folder.read("two.sub"), "{0}{25}B\r\n{125}{175}C\r\n");
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("film.txt"));

    // "Save first" before a new document saves the whole document as it came.
    ui.yesNoCancel = {Answer::Yes};
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("film.txt"))};
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(ui.saveRequests.back().fileName, folder.filePath("film.txt"));
    EXPECT_EQ(ui.saveRequests.back().filter, "SubViewer v2 Files *.*|*.*");
    EXPECT_TRUE(folder.read("film.txt").contains("00:00:10.00,00:00:12.00\r\nchanged\r\n"));
    EXPECT_EQ(texts(), QStringList{""});
}

TEST_F(EditingTest, SplitWritesNothingForABadPointOrAFailedCheckAndGoesOnAfterACancel)
{
    for (const char *point : {"abc", "0", "10", "20", "25"}) {
        threeRows();
        ui.notices.clear();
        split(point);
        EXPECT_EQ(ui.shown(), QStringList{kTitle + shownText("013")}) << point;
        EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    }
    setRows({{"10", "15", "A"}, {"14", "16", "B"}, {"20", "22", "C"}});
    split("15");
    EXPECT_EQ(ui.lastNotice(), stopped("009", 1));
    EXPECT_TRUE(ui.saveRequests.empty());
    EXPECT_EQ(ui.busyDepth, 0);

    // A cancelled first file: the second is still written, the document kept.
    threeRows();
    ws.list.setModified(true);
    ws.fields.setText(EditFields::SplitPoint, "15");
    ui.saveAnswers = {FileDialogResult::cancelled(), FileDialogResult::chosen(folder.filePath("two.sub"))};
    CmdBol_Click(ws, 0);
    EXPECT_FALSE(QFile::exists(folder.filePath("one.sub")));
    EXPECT_EQ(folder.read("two.sub"), subViewer({"00:00:00.00,00:00:01.00\r\nB", "00:00:05.00,00:00:07.00\r\nC"}));
    EXPECT_EQ(texts() + column(ColNumber), QStringList({"A", "B", "C", "1", "2", "3"}));
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(EditingTest, SplitAndFindWorkBeyondSixteenBitRowCounts)
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
    ws.list.setCell(39000, ColStart, "t123");
    FindSubtitle(ws, "t123", ColStart); // any column
    EXPECT_EQ(ws.list.selected(), 39000);
}
