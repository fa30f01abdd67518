// The reading checks as the user meets them: the list's column, marks and
// tooltips following every change, the report, and fixes that are one undo
// step, never change a text and never pass a neighbour.
#include "commands/LineCommands.h"
#include "commands/ReadingCommands.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class ReadingCommandsTest : public WorkspaceTest {
protected:
    SubtitleTableModel model{ws.list};
    ReadingAnnotations annotations{ws, model};

    ReadingCommandsTest()
    {
        // The built-in Turkish texts, with their values filled in.
        folder.language.setCurrentLanguage(QStringLiteral("Yok"));
        model.setAnnotations(&annotations);
    }
    QString shown(int row, int column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role).toString();
    }
    QString speed(int row) const { return shown(row, SubtitleTableModel::kExtraColumn); }
    bool marked(int row) const { return model.data(model.index(row, ColText), Qt::BackgroundRole).isValid(); }
};

} // namespace

TEST_F(ReadingCommandsTest, TheColumnAndTheMarksFollowTypingDeletingAndUndoing)
{
    setRows({{"1", "3", "Merhaba"}, {"4", "6", "Nasılsın"}, {"7", "9", "İyiyim"}});
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(SubtitleTableModel::kExtraColumn, Qt::Horizontal, Qt::DisplayRole).toString(), "KR/SN");
    EXPECT_EQ(speed(0), "3.5");
    EXPECT_FALSE(marked(0));
    std::vector<int> told;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &from, const QModelIndex &to) { told.push_back(to.row() - from.row() + 1); });

    // Typing a long second line: the row speeds past 17 and is marked with
    // a colour and a symbol; only it and the row before it were told.
    ws.fields.setText(EditFields::Line2, QStringLiteral("bugün hava çok güzel, denize gidelim mi?"));
    EXPECT_EQ(speed(0), kReadingMark + " 23.5");
    EXPECT_TRUE(marked(0));
    EXPECT_TRUE(shown(0, ColStart, Qt::ToolTipRole).contains("Okuma hızı saniyede 23.5 karakter; en çok 17."));
    EXPECT_TRUE(shown(0, ColText, Qt::ToolTipRole).startsWith("Merhaba|bugün"));
    for (int rows : told)
        EXPECT_LE(rows, 2);
    // Undo takes the line and the mark away, redo brings both back.
    ws.history.undo();
    EXPECT_EQ(speed(0), "3.5");
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(shown(0, ColStart, Qt::ToolTipRole).isEmpty());
    ws.history.redo();
    EXPECT_TRUE(marked(0));
    // Deleting what was typed takes the mark away.
    ws.fields.setText(EditFields::Line2, QString());
    EXPECT_EQ(speed(0), "3.5");
    EXPECT_FALSE(marked(0));

    // A deleted row takes its mark with it; the row before meets a new next.
    ws.list.setCell(2, ColStart, QStringLiteral("6.02"));
    EXPECT_TRUE(marked(1));
    EXPECT_TRUE(shown(1, ColEnd, Qt::ToolTipRole).contains("arası 20 ms; en az 80 ms"));
    ws.list.select(2);
    Cubuk_ButtonClick(ws, 2);
    EXPECT_EQ(ws.list.count(), 2);
    EXPECT_FALSE(marked(1));
    ws.history.undo();
    EXPECT_TRUE(marked(1));
    EXPECT_EQ(ws.reading.markedRows(), 1);
}

TEST_F(ReadingCommandsTest, TheGapIsCountedInTheFilmsFramesOrAMicroDvdDocumentsRate)
{
    setRows({{"1", "3", "Bir"}, {"3.04", "5", "İki"}});
    ws.reading.recheckAll();
    EXPECT_EQ(readingTooltip(ws, 0), "Sonraki altyazıyla arası 40 ms; en az 80 ms.");
    ws.documentFormat = SaveFormat::MicroDvd;
    ws.frameRates.microDvd = 25;
    EXPECT_EQ(readingTooltip(ws, 0), "Sonraki altyazıyla arası 1 kare; en az 2 kare.");
    // The film's rate comes first.
    ws.frameRates.film = 24;
    EXPECT_EQ(readingTooltip(ws, 0), "Sonraki altyazıyla arası 0.96 kare; en az 2 kare.");
}

TEST_F(ReadingCommandsTest, AFixIsOneUndoStepThatKeepsTheTextAndTheNeighbours)
{
    setRows({{"1", "1.5", "Kısa"}, {"4", "5", "Sonraki"}, {"5.02", "8", "Üçüncü"}}, 2);
    const std::vector<SubtitleEntry> before = ws.list.rows();
    ASSERT_TRUE(fixReadingProblem(ws, 0));
    EXPECT_EQ(cell(0, ColEnd), "1.84");
    EXPECT_EQ(texts(), QStringList({"Kısa", "Sonraki", "Üçüncü"}));
    EXPECT_EQ(cell(1, ColStart), "4");
    EXPECT_EQ(ws.history.count(), 1);
    EXPECT_EQ(undoCaption(ws.language, ws.history), "GERİ AL: DÜZELTME");
    ws.history.undo();
    EXPECT_EQ(ws.list.rows(), before);
    EXPECT_EQ(ws.list.selected(), 0);
    // A row with nothing a moved end mends: no step.
    setRows({{"1", "3", "a|b|c"}});
    EXPECT_FALSE(fixReadingProblem(ws, 0));
    EXPECT_EQ(ws.history.count(), 0);
}

TEST_F(ReadingCommandsTest, FixAllIsOneStepAndTellsWhatItMadeAndWhatRemains)
{
    // Row 1 too short with room; row 2 too long; row 3 too close to row 4
    // but too short to pull back; row 4 has three lines; row 5 is fine.
    setRows({{"1", "1.2", "Kısa"},
             {"3", "12", "Uzun"},
             {"12.55", "13.4", "Sıkışık"},
             {"13.42", "16", "a|b|c"},
             {"20", "22", "İyi"}});
    const std::vector<SubtitleEntry> before = ws.list.rows();
    const FixAllOutcome outcome = fixAllReadingProblems(ws);
    EXPECT_EQ(outcome.made, 2);
    EXPECT_EQ(outcome.remaining, 2);
    EXPECT_EQ(ui.lastNotice(), "2 düzeltme yapıldı; 2 sorun kaldı.");
    EXPECT_EQ(column(ColEnd), QStringList({"1.84", "10", "13.4", "16", "22"}));
    EXPECT_EQ(column(ColStart), QStringList({"1", "3", "12.55", "13.42", "20"}));
    EXPECT_EQ(texts(), QStringList({"Kısa", "Uzun", "Sıkışık", "a|b|c", "İyi"}));
    // No row's end passes the next start.
    for (int row = 0; row + 1 < ws.list.count(); ++row)
        EXPECT_LE(cell(row, ColEnd).toDouble(), cell(row + 1, ColStart).toDouble());
    EXPECT_EQ(ws.history.count(), 1);
    EXPECT_EQ(undoCaption(ws.language, ws.history), "GERİ AL: TÜMÜNÜ DÜZELTME");
    ws.history.undo();
    EXPECT_EQ(ws.list.rows(), before);
    ws.history.redo();
    EXPECT_EQ(column(ColEnd), QStringList({"1.84", "10", "13.4", "16", "22"}));
}

TEST_F(ReadingCommandsTest, TheReportNamesRowRuleValueLimitAndTheFix)
{
    setRows({{"1", "1.5", "Kısa"}, {"4", "5", ""}, {"7", "9", "a|b|c"}});
    const std::vector<ReportLine> report = readingReport(ws);
    QStringList lines;
    for (const ReportLine &l : report)
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(l.row + 1).arg(l.ruleText, l.valueText, l.limitText, l.fixText);
    EXPECT_EQ(lines, QStringList({"1 En kısa süre 0.5 0.833 bitiş 1.84 olur", "2 Boş altyazı   ",
                                  "3 Satır sayısı 3 2 "}));
    EXPECT_EQ(spellingLine(ws, 4, "güzell").valueText, "güzell");
}
