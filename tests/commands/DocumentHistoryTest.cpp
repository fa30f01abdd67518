// Undo and redo: every kind of step taken back and done again, the rule that
// joins typing into one step, the modified flag following the history, and
// what starts a new history or stays out of it.
#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpTour.h"
#include "commands/KeypadShortcuts.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"
#include "commands/UnsavedChanges.h"
#include "document/SubViewerFormat.h"
#include "preview/FilmPreview.h"
#include "preview/KeyCodes.h"
#include "support/ScriptedPlayer.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

// All a user sees of the document.
struct DocumentState {
    std::vector<SubtitleEntry> rows;
    int selected;
    bool modified;
    QStringList fields;
    bool operator==(const DocumentState &) const = default;
};

std::ostream &operator<<(std::ostream &out, const DocumentState &state)
{
    for (const SubtitleEntry &row : state.rows)
        out << "[" << row.number.toStdString() << " " << row.start.toStdString() << " " << row.end.toStdString()
            << " " << row.text.toStdString() << "] ";
    return out << "selected " << state.selected << (state.modified ? " modified" : "") << " fields "
               << state.fields.join('/').toStdString();
}

class HistoryTest : public WorkspaceTest {
protected:
    qint64 now = 0;
    ScriptedPlayer player;
    FilmPreview film{ws.list, player, ws.frameRates, ws.numbers};
    ScrollLockState scrollLock;
    std::array<bool, 5> flags{};
    KeypadShortcuts keys{ws, film, {[] {}, [] { return true; }, [] { return true; }}, scrollLock};

    HistoryTest()
    {
        ws.history.setClock([this] { return now; });
        ws.option = [this](Option option) { return flags[std::size_t(option)]; };
        scrollLock.set(true);
    }

    DocumentState state() const
    {
        QStringList shown;
        for (int i = EditFields::Start; i <= EditFields::Line3; ++i)
            shown << field(i);
        return {ws.list.rows(), ws.list.selected(), ws.list.isModified(), shown};
    }
    void type(int index, const QString &text)
    {
        ws.fields.setText(index, field(index) + text);
        now += 100;
    }
    QString undoName() const { return undoCaption(ws.language, ws.history); }
    QString redoName() const { return redoCaption(ws.language, ws.history); }

    // Does `step`, then checks that undo gives back the document as it was
    // and redo the document as the step left it. `selectedAfterUndo`: the row
    // an undo chooses when it is not the one chosen before (a step over many
    // rows chooses the first it changed).
    void checkStep(const char *nameKey, const std::function<void()> &step, int selectedAfterUndo = -1)
    {
        SCOPED_TRACE(nameKey);
        const int stepsBefore = ws.history.count();
        DocumentState before = state();
        step();
        const DocumentState after = state();
        ASSERT_NE(before.rows, after.rows) << "the step changed nothing";
        EXPECT_EQ(ws.history.count(), stepsBefore + 1);
        EXPECT_EQ(undoName(), shownText("066") + ": " + shownText(nameKey));

        ws.history.undo();
        if (selectedAfterUndo >= 0) {
            EXPECT_EQ(ws.list.selected(), selectedAfterUndo);
            ws.list.select(before.selected);
        }
        EXPECT_EQ(state(), before);
        EXPECT_EQ(redoName(), shownText("067") + ": " + shownText(nameKey));
        ws.history.redo();
        if (selectedAfterUndo >= 0)
            ws.list.select(after.selected);
        EXPECT_EQ(state(), after);
    }
};

} // namespace

TEST_F(HistoryTest, EveryKindOfStepIsTakenBackAndDoneAgain)
{
    setRows({{"1", "2", "bir|iki"}, {"3", "4", "üç"}, {"5", "6", "dört"}}, 1);
    checkStep("068", [&] { type(EditFields::Line2, "x"); });
    checkStep("077", [&] { CmdArayiAc_Click(ws); });
    checkStep("078", [&] { CmdArayiKapat_Click(ws); });
    ws.fields.setText(EditFields::ShiftSeconds, "1.5");
    checkStep("072", [&] { CmdEkleCikar_Click(ws, false); }, 0);
    checkStep("069", [&] { addRow(ws); });
    checkStep("070", [&] { deleteRow(ws); });
    checkStep("071", [&] { restoreRow(ws); });

    // Deleting the only row leaves an empty one; both are one step.
    setRows({{"1", "2", "tek"}});
    checkStep("070", [&] { deleteRow(ws); });
    // Restoring it takes the empty row's place.
    checkStep("071", [&] { restoreRow(ws); });

    ws.hataCheck1 = true;
    setRows({{"1", "5", "a"}, {"2", "3", "b"}, {"4", "9", "c"}, {"8", "10", "d"}}, 3);
    checkStep("073", [&] { EXPECT_TRUE(CheckOverlaps(ws)); }, 0);
    EXPECT_EQ(column(ColEnd), QStringList({"2", "3", "8", "10"})); // all three repairs, in one step

    ui.yesNoCancel = {Answer::No}; // the changes are not saved first
    checkStep("074", [&] { MnuYeniAltYazi_Click(ws); });
}

TEST_F(HistoryTest, KeypadCapturesAreOneStepEachWithTheRowKeySixAdds)
{
    setRows({{"", "", "a"}, {"", "", "b"}});
    player.at = 12.5;
    checkStep("075", [&] { keys.Form_KeyDown(KeyCode::Keypad0 + 4, false); });
    player.at = 14;
    checkStep("076", [&] { keys.Form_KeyDown(KeyCode::Keypad0 + 5, false); });

    flags[std::size_t(Option::NewRowAfterEnd)] = true;
    player.at = 15.25;
    checkStep("076", [&] { keys.Form_KeyDown(KeyCode::Keypad0 + 6, false); });
    EXPECT_EQ(ws.list.count(), 3);
    ws.history.undo();
    EXPECT_EQ(ws.list.count(), 2) << "the added row went with the end it followed";
    EXPECT_EQ(cell(0, ColEnd), "14");

    // Keys that only drive the film are no step.
    const int steps = ws.history.count();
    keys.Form_KeyDown(KeyCode::Keypad0 + 2, false);
    keys.Form_KeyDown(KeyCode::Keypad0 + 9, false);
    EXPECT_EQ(ws.history.count(), steps);
}

TEST_F(HistoryTest, TypingInOneFieldOfOneRowIsOneStepUntilSomethingElseHappens)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    auto undoOnce = [&] {
        ws.history.undo();
        return ws.list.cell(0, ColText) + "/" + ws.list.cell(1, ColText);
    };

    for (const char *letter : {"x", "y", "z"})
        type(EditFields::Line1, letter);
    EXPECT_EQ(ws.history.count(), 1);
    EXPECT_EQ(undoOnce(), "a/b");
    ws.history.redo();

    // Another field of the same row.
    type(EditFields::Line2, "q");
    // A pause of more than two seconds.
    now += DocumentHistory::kTypingPauseMs + 1;
    type(EditFields::Line2, "r");
    // Another row; back to the first; away and back again before typing on.
    ws.list.select(1);
    type(EditFields::Line1, "s");
    ws.list.select(0);
    type(EditFields::Line2, "t");
    ws.list.select(1);
    ws.list.select(0);
    type(EditFields::Line2, "w");
    // A command in between.
    addRow(ws);
    deleteRow(ws);
    type(EditFields::Line1, "u");
    type(EditFields::Line1, "v");
    EXPECT_EQ(undoOnce(), "axyz|qrtw/bs");
    EXPECT_EQ(undoOnce(), "axyz|qrtw/"); // the deleted row came back
    EXPECT_EQ(undoOnce(), "axyz|qrtw/bs"); // and went again, as it was added
    EXPECT_EQ(undoOnce(), "axyz|qrt/bs");
    EXPECT_EQ(undoOnce(), "axyz|qr/bs");
    EXPECT_EQ(undoOnce(), "axyz|qr/b");
    EXPECT_EQ(undoOnce(), "axyz|q/b");
    EXPECT_EQ(undoOnce(), "axyz/b");
    EXPECT_EQ(undoOnce(), "a/b");
    EXPECT_FALSE(ws.history.canUndo());

    // Typed and taken back within one step: nothing is left to undo.
    setRows({{"1", "2", "a"}});
    type(EditFields::Line1, "b");
    ws.fields.setText(EditFields::Line1, "a");
    EXPECT_FALSE(ws.history.canUndo());
    EXPECT_FALSE(ws.list.isModified());

    // Fields 5 to 8 are no part of the document.
    type(EditFields::Search, "abc");
    type(EditFields::SkipStep, "2");
    EXPECT_FALSE(ws.history.canUndo());
}

TEST_F(HistoryTest, TheModifiedFlagFollowsTheSavedState)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}});
    type(EditFields::Line1, "x");
    addRow(ws);
    EXPECT_TRUE(ws.list.isModified());
    ws.history.undo();
    ws.history.undo();
    EXPECT_FALSE(ws.list.isModified()) << "back to the state opened";
    // Closing asks nothing now.
    EXPECT_TRUE(confirmUnsavedChanges(ws));
    EXPECT_TRUE(ui.questions.empty());

    ws.history.redo();
    EXPECT_TRUE(ws.list.isModified());
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("saved.sub"))};
    ASSERT_TRUE(mnualtyazikaydet_Click(ws, SaveFormat::SubViewer));
    EXPECT_FALSE(ws.list.isModified());
    ws.history.undo();
    EXPECT_TRUE(ws.list.isModified()) << "a step undone past the saved state";
    ws.history.redo();
    EXPECT_FALSE(ws.list.isModified());
    ws.history.redo();
    EXPECT_TRUE(ws.list.isModified());

    // A new step made after undoing past the saved state never comes back to it.
    ws.history.undo();
    ws.history.undo();
    deleteRow(ws);
    ws.history.undo();
    EXPECT_TRUE(ws.list.isModified());
}

TEST_F(HistoryTest, OpeningStartsANewHistoryAndTheTourAndASplitStayOutOfIt)
{
    setRows({{"1", "2", "a"}});
    type(EditFields::Line1, "b");
    HelpTourHooks hooks;
    hooks.showBalloon = [&](int, QPoint, const QString &) {
        EXPECT_FALSE(ws.history.canUndo()) << "no undo while the sample rows are up";
        TimerOr2_Timer(ws);
    };
    folder.language.setCurrentLanguage(QStringLiteral("Turkish"));
    StartHelpTour(ws, hooks);
    folder.language.setCurrentLanguage(QStringLiteral("Test"));
    EXPECT_EQ(ws.history.count(), 1);
    EXPECT_EQ(undoName(), shownText("066") + ": " + shownText("068"));
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"a"}));
    ws.history.redo();

    addRow(ws);
    ws.fields.setText(EditFields::Start, "5");
    ws.fields.setText(EditFields::End, "6");
    const int steps = ws.history.count();
    ws.fields.setText(EditFields::SplitPoint, "3");
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("one.sub")),
                      FileDialogResult::chosen(folder.filePath("two.sub"))};
    CmdBol_Click(ws, 0);
    ASSERT_TRUE(QFile::exists(folder.filePath("two.sub")));
    EXPECT_EQ(ws.history.count(), steps);
    EXPECT_TRUE(ws.list.isModified());

    folder.write("film.sub", subviewer::headerLines().join("\r\n").toLatin1() + "\r\n00:00:01.00,00:00:02.00\r\nopened\r\n");
    ASSERT_TRUE(openSubtitleFile(ws, folder.filePath("film.sub")));
    EXPECT_FALSE(ws.history.canUndo());
    EXPECT_FALSE(ws.history.canRedo());
    EXPECT_EQ(undoName(), shownText("066"));
    EXPECT_FALSE(ws.list.isModified());
}

TEST_F(HistoryTest, AShiftKeepsOnlyTheTimesItCouldNotGiveBackAndTheOldestStepsGo)
{
    // "7" and "8,5" in another form than the shift writes: still given back as typed.
    setRows({{"7", "8.50", "a"}, {"1.25", "2.", "b"}, {"3", "4.1", "c"}});
    ws.fields.setText(EditFields::ShiftSeconds, "0.333");
    const auto original = ws.list.rows();
    CmdEkleCikar_Click(ws, true);
    EXPECT_EQ(column(ColStart), QStringList({"7.33", "1.58", "3.33"}));
    ws.history.undo();
    EXPECT_EQ(ws.list.rows(), original);
    ws.history.redo();
    EXPECT_EQ(column(ColEnd), QStringList({"8.83", "2.33", "4.43"}));

    // The history keeps a thousand steps, then lets the oldest go.
    setRows({{"1", "2", "a"}});
    for (int i = 0; i < DocumentHistory::kStepLimit + 5; ++i)
        addRow(ws);
    EXPECT_EQ(ws.history.count(), DocumentHistory::kStepLimit);
    while (ws.history.canUndo())
        ws.history.undo();
    EXPECT_EQ(ws.list.count(), 6);
    EXPECT_TRUE(ws.list.isModified()) << "the opened state can no longer be reached";
}

TEST_F(HistoryTest, TypingPausedExactlyAtTheLimitOrSteadilyIsOneStep)
{
    setRows({{"1", "2", "a"}});
    type(EditFields::Line1, "b");
    now += DocumentHistory::kTypingPauseMs - 100; // `type` waited 100 ms already
    type(EditFields::Line1, "c");
    EXPECT_EQ(ws.history.count(), 1) << "a pause of exactly the limit";
    // Thirty keys 100 ms apart: the pause counts from the last key, not the first.
    for (int i = 0; i < 30; ++i)
        type(EditFields::Line1, "d");
    EXPECT_EQ(ws.history.count(), 1);
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList{"a"});
    ws.history.redo();
    // One millisecond more is a new step.
    now += DocumentHistory::kTypingPauseMs - 99;
    type(EditFields::Line1, "e");
    EXPECT_EQ(ws.history.count(), 2);
}

TEST_F(HistoryTest, AnUndoneDeletionLeavesRestoreOffAfterARestore)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"5", "6", "c"}});
    deleteRow(ws); // a
    restoreRow(ws);
    EXPECT_FALSE(ws.restoreEnabled());
    ws.list.select(1);
    deleteRow(ws); // b
    EXPECT_TRUE(ws.restoreEnabled());
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"}));
    // "a" was brought back already: restore is off, as it was before.
    EXPECT_FALSE(ws.restoreEnabled());
    ws.history.undo(); // the restore
    EXPECT_EQ(texts(), QStringList({"b", "c"}));
    EXPECT_TRUE(ws.restoreEnabled());
    ws.history.redo();
    ws.history.redo();
    EXPECT_EQ(texts(), QStringList({"a", "c"}));
    EXPECT_TRUE(ws.restoreEnabled());
    restoreRow(ws);
    EXPECT_EQ(texts(), QStringList({"a", "b", "c"})) << "the row just deleted, not an older one";
}

TEST_F(HistoryTest, UndoingANewDocumentBackToTheFileLeavesNothingToSave)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}}); // as opened
    ui.yesNo = {true}; // "start a new subtitle?"
    MnuYeniAltYazi_Click(ws);
    EXPECT_EQ(texts(), QStringList{""});
    EXPECT_FALSE(ws.list.isModified());
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"a", "b"}));
    EXPECT_FALSE(ws.list.isModified()) << "the file as it is on disk";
    EXPECT_TRUE(confirmUnsavedChanges(ws));
    EXPECT_EQ(ui.questions.size(), 1u) << "closing asks nothing";
    ws.history.redo();
    EXPECT_FALSE(ws.list.isModified()) << "the new, empty document";

    // Typing into the new document and taking it back: nothing to save.
    type(EditFields::Line1, "x");
    EXPECT_TRUE(ws.list.isModified());
    ws.history.undo();
    EXPECT_FALSE(ws.list.isModified());
    ws.history.undo();
    EXPECT_FALSE(ws.list.isModified());

    // A save is the state on disk from then on; the one opened is not.
    type(EditFields::Line1, "y");
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("saved.sub"))};
    ASSERT_TRUE(mnualtyazikaydet_Click(ws, SaveFormat::SubViewer));
    type(EditFields::Line1, "z"); // joins no step of the saved state
    ui.yesNoCancel = {Answer::No}; // "save first?"
    MnuYeniAltYazi_Click(ws);
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"ayz", "b"}));
    EXPECT_TRUE(ws.list.isModified());
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"ay", "b"}));
    EXPECT_FALSE(ws.list.isModified()) << "the file as saved";
    ws.history.undo();
    EXPECT_EQ(texts(), QStringList({"a", "b"}));
    EXPECT_TRUE(ws.list.isModified()) << "no longer what is on disk";
}
