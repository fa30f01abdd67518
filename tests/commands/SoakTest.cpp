// A soak of random commands on a 10,000-row document, as a restless user
// would give them: after every command the document must hold together, and
// at the end undoing everything must give the rows back, and a saved file
// must read back as the rows it was written from.
//
// SOAK_SEED picks the commands, SOAK_SECONDS runs for that long instead of
// the ordinary suite's few hundred commands; both are printed on a failure.
#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"
#include "commands/Workspace.h"
#include "document/SubViewerFormat.h"
#include "document/SubtitleTableModel.h"
#include "support/TestFolder.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <random>

using namespace korv;
using namespace korv::test;

namespace {

// Answers like a user clicking without reading, from the soak's own dice.
class RandomAnswers : public UserDialogs {
public:
    RandomAnswers(std::mt19937 &dice, const TestFolder &folder) : dice_(dice), folder_(folder) {}
    int questions = 0;
    QString lastSaved;

    QString lastNotice;
    void showNotice(const QString &message, const QString &) override { lastNotice = message; }
    void showMessageBox(const QString &) override {}
    bool askYesNo(const QString &, const QString &) override { return ++questions, dice_() % 2 == 0; }
    Answer askYesNoCancel(const QString &, const QString &) override
    {
        ++questions;
        // Mostly Yes, so that repairs happen and checks run to the end.
        const unsigned roll = dice_() % 10;
        return roll < 7 ? Answer::Yes : roll < 9 ? Answer::No : Answer::Cancel;
    }
    FileDialogResult chooseFileToOpen(const FileDialogRequest &) override { return FileDialogResult::cancelled(); }
    FileDialogResult chooseFileToSave(const FileDialogRequest &) override
    {
        lastSaved = folder_.filePath(QStringLiteral("saved%1.sub").arg(++saves_));
        return FileDialogResult::chosen(lastSaved);
    }
    std::optional<double> askFrameRate(const QString &) override { return 25.0; }
    void setBusy(bool) override {}

private:
    std::mt19937 &dice_;
    const TestFolder &folder_;
    int saves_ = 0;
};

// What a view knows of the model: its rows as the model's signals told it.
// A change the model did not announce leaves the mirror behind.
class ModelMirror {
public:
    std::vector<std::array<QString, 4>> rows;

    explicit ModelMirror(QAbstractItemModel &model) : model_(model)
    {
        reload();
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { reload(); });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex &, int first, int last) {
            for (int row = first; row <= last; ++row)
                rows.insert(rows.begin() + row, read(row));
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex &, int first, int last) {
            rows.erase(rows.begin() + first, rows.begin() + last + 1);
        });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                             for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                                 rows[std::size_t(row)] = read(row);
                         });
    }

private:
    std::array<QString, 4> read(int row) const
    {
        std::array<QString, 4> cells;
        for (int column = 0; column < 4; ++column)
            cells[std::size_t(column)] = model_.data(model_.index(row, column), Qt::DisplayRole).toString();
        return cells;
    }
    void reload()
    {
        rows.clear();
        for (int row = 0; row < model_.rowCount(); ++row)
            rows.push_back(read(row));
    }
    QAbstractItemModel &model_;
};

unsigned seedFromEnvironment()
{
    bool ok = false;
    const unsigned seed = qEnvironmentVariable("SOAK_SEED").toUInt(&ok);
    return ok ? seed : 20261206u;
}

class Soak : public ::testing::Test {
protected:
    TestFolder folder;
    unsigned seed = seedFromEnvironment();
    std::mt19937 dice{seed};
    RandomAnswers ui{dice, folder};
    Workspace ws{ui, folder.language};
    SubtitleTableModel model{ws.list};
    ModelMirror mirror{model};
    std::vector<SubtitleEntry> historyStart;
    int commands = 0;
    QString lastCommand;

    Soak()
    {
        ws.numbers = NumberFormat::dot();
        ws.letterCase = LetterCase::Default;
        std::vector<SubtitleEntry> rows;
        for (int i = 0; i < 10000; ++i) {
            // Some subtitles run into the next one, for the check to repair.
            const int start = i * 300 + int(dice() % 100);
            const int end = start + 150 + int(dice() % 300);
            rows.push_back({QString::number(i + 1), hundredths(start), hundredths(end),
                            QStringLiteral("satır %1|ikinci çğıöşü").arg(i)});
        }
        ws.list.replaceAll(std::move(rows));
        ws.list.select(0);
        ws.history.startNew();
        historyStart = ws.list.rows();
    }

    static QString hundredths(int value) { return QString::number(value / 100.0, 'f', 2); }
    int anyRow() { return int(dice() % unsigned(std::max(ws.list.count(), 1))); }

    std::string where() const
    {
        return "after command " + std::to_string(commands) + " (" + lastCommand.toStdString()
               + "); replay with SOAK_SEED=" + std::to_string(seed);
    }

    void type()
    {
        static const QString letters = QStringLiteral("aeçğışöüAZ09.:, ");
        const int field = EditFields::Start + int(dice() % 5);
        QString text = ws.fields.text(field);
        // Times are mostly typed as times; now and then a slip leaves one
        // that is no number, which shift, check and save must then refuse.
        if ((field == EditFields::Start || field == EditFields::End) && dice() % 200 != 0) {
            ws.fields.setText(field, hundredths(int(dice() % 3000000)));
            return;
        }
        if (dice() % 4 == 0 && !text.isEmpty())
            text.chop(1);
        else
            text += letters.at(int(dice() % unsigned(letters.size())));
        ws.fields.setText(field, text);
    }

    // Stop at the first overlap, repair all, or ask about each.
    void setCheckBoxes()
    {
        const unsigned roll = dice() % 3;
        ws.hataCheck1 = roll > 0;
        ws.hataCheck2 = roll == 2;
    }

    void saveAndReopen(bool repairAll = false)
    {
        setCheckBoxes();
        if (repairAll)
            ws.hataCheck1 = true, ws.hataCheck2 = false;
        if (!mnualtyazikaydet_Click(ws, SaveFormat::SubViewer))
            return;
        ++saves;
        const std::vector<SubtitleEntry> saved = ws.list.rows();
        ASSERT_TRUE(openSubtitleFile(ws, ui.lastSaved)) << where();
        // A file reads back as the rows it was written from.
        ASSERT_EQ(ws.list.count(), int(saved.size())) << where();
        for (int i = 0; i < ws.list.count(); ++i) {
            const SubtitleEntry &row = ws.list.row(i);
            ASSERT_EQ(row.start, saved[std::size_t(i)].start) << "row " << i << " " << where();
            ASSERT_EQ(row.end, saved[std::size_t(i)].end) << "row " << i << " " << where();
            ASSERT_EQ(row.text, saved[std::size_t(i)].text) << "row " << i << " " << where();
        }
        historyStart = ws.list.rows();
    }

    void runOne()
    {
        ui.lastNotice.clear();
        runOneCommand();
        mendIfTold();
        expectConsistent();
    }
    // Told that a time is no number, the user mends the row shown; told that
    // it ends before it starts, its end; told that the rows are out of time
    // order (the sort was refused), the user tries again.
    bool mendIfTold()
    {
        const auto told = [this](const char *key) {
            return ui.lastNotice.startsWith(folder.language.LangText(QString::fromLatin1(key)));
        };
        if (told("083"))
            return true;
        if (told("082")) {
            const double start = TextToSeconds(ws.fields.text(EditFields::Start), ws.numbers).value_or(0);
            ws.fields.setText(EditFields::End, hundredths(int(start * 100) + 1 + int(dice() % 500)));
            ++mended;
            return true;
        }
        if (!told("006"))
            return false;
        ws.fields.setText(EditFields::Start, hundredths(int(dice() % 3000000)));
        ws.fields.setText(EditFields::End, hundredths(int(dice() % 3000000)));
        ++mended;
        return true;
    }
    int mended = 0;
    int saves = 0;
    void runOneCommand()
    {
        const unsigned roll = dice() % 100;
        if (roll < 45) {
            lastCommand = "type";
            type();
        } else if (roll < 55) {
            lastCommand = "select";
            ws.list.select(anyRow());
        } else if (roll < 61) {
            lastCommand = "add";
            addRow(ws);
        } else if (roll < 67) {
            lastCommand = "delete";
            deleteRow(ws);
        } else if (roll < 70) {
            lastCommand = "restore";
            restoreRow(ws);
        } else if (roll < 73) {
            lastCommand = "shift";
            ws.fields.setText(EditFields::ShiftSeconds, hundredths(int(dice() % 1000)));
            CmdEkleCikar_Click(ws, dice() % 2 == 0);
        } else if (roll < 75) {
            lastCommand = "check";
            setCheckBoxes();
            CheckOverlaps(ws);
        } else if (roll < 76) {
            lastCommand = "split";
            ws.fields.setText(EditFields::SplitPoint, QString::number(dice() % 3000000 / 100));
            CmdBol_Click(ws, int(dice() % 2));
        } else if (roll < 79) {
            lastCommand = "find";
            FindSubtitle(ws, QStringLiteral("%1").arg(dice() % 100), 3);
        } else if (roll < 82) {
            lastCommand = dice() % 2 ? "lengthen" : "shorten";
            lastCommand == "lengthen" ? CmdArayiAc_Click(ws) : CmdArayiKapat_Click(ws);
        } else if (roll < 90) {
            lastCommand = "undo";
            ws.history.undo();
        } else if (roll < 97) {
            lastCommand = "redo";
            ws.history.redo();
        } else {
            lastCommand = "save and reopen";
            saveAndReopen();
        }
        ++commands;
    }

    void expectConsistent()
    {
        const int count = ws.list.count();
        ASSERT_GE(count, 1) << where();
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(ws.list.cell(i, ColNumber), QString::number(i + 1)) << where();
        const int selected = ws.list.selected();
        ASSERT_TRUE(selected >= 0 && selected < count) << "selected " << selected << " of " << count << " " << where();
        const SubtitleEntry &row = ws.list.row(selected);
        ASSERT_EQ(ws.fields.text(EditFields::Start), row.start) << where();
        ASSERT_EQ(ws.fields.text(EditFields::End), row.end) << where();
        // The line fields hold the text's first lines (typing may have left
        // an empty one among them, which the text leaves out).
        QStringList lines;
        for (int field : {EditFields::Line1, EditFields::Line2, EditFields::Line3})
            if (!ws.fields.text(field).isEmpty())
                lines << ws.fields.text(field);
        ASSERT_TRUE(row.text.startsWith(lines.join('|'))) << row.text.toStdString() << " " << where();
        ASSERT_EQ(mirror.rows.size(), std::size_t(count)) << where();
        for (int i = 0; i < count; ++i)
            for (int column = ColNumber; column <= ColText; ++column)
                ASSERT_EQ(mirror.rows[std::size_t(i)][std::size_t(column)], ws.list.cell(i, column))
                    << "row " << i << " column " << column << " " << where();
    }
};

} // namespace

TEST_F(Soak, RandomCommandsKeepTheDocumentWhole)
{
    bool ok = false;
    const int seconds = qEnvironmentVariable("SOAK_SECONDS").toInt(&ok);
    QElapsedTimer clock;
    clock.start();
    const auto goOn = [&] { return ok && seconds > 0 ? clock.elapsed() < seconds * 1000LL : commands < 600; };
    while (goOn()) {
        runOne();
        if (HasFatalFailure())
            return;
    }

    // Back through every step to where the history began.
    const std::vector<SubtitleEntry> end = ws.list.rows();
    while (ws.history.canUndo())
        ws.history.undo();
    if (ws.history.count() < DocumentHistory::kStepLimit)
        ASSERT_EQ(ws.list.rows(), historyStart) << where();
    while (ws.history.canRedo())
        ws.history.redo();
    ASSERT_EQ(ws.list.rows(), end) << where();

    // A last save, repairing every overlap, once every time is a number.
    lastCommand = "last save and reopen";
    do {
        ui.lastNotice.clear();
        const int before = saves;
        saveAndReopen(true);
        if (HasFatalFailure() || saves > before)
            break;
    } while (mendIfTold());
    ASSERT_GT(saves, 0) << "nothing was ever saved " << where();
    std::cout << "soak: " << commands << " commands, " << ui.questions << " questions answered, " << saves
              << " files saved and read back, " << mended << " rows mended, seed " << seed << "\n";
}
