#include "commands/KeypadShortcuts.h"
#include "commands/LineCommands.h"
#include "preview/FilmPreview.h"
#include "preview/KeyCodes.h"
#include "support/ScriptedPlayer.h"
#include "support/WidgetTest.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

constexpr int kp(int digit) { return KeyCode::Keypad0 + digit; }

class KeypadTest : public WorkspaceTest {
protected:
    // The film keeps its position and play state; -1: no film open.
    ScriptedPlayer player;
    FilmPreview film{ws.list, player, ws.frameRates, ws.numbers};
    // Whether a skip had the list's following held off while it moved the film.
    std::vector<bool> skipGuardDuringMove;
    ScrollLockState scrollLock;
    std::array<bool, 5> flags{};
    QString seconds = QStringLiteral("2");
    bool editPage = true, findEnabled = true;
    int tables = 0;
    KeypadShortcuts keys{ws, film,
                         {[this] { ++tables; }, [this] { return findEnabled; }, [this] { return editPage; }},
                         scrollLock};

    KeypadTest()
    {
        ws.numbers = NumberFormat::comma();
        scrollLock.set(true);
        ws.option = [this](Option option) { return flags[std::size_t(option)]; };
        ws.optionSeconds = [this] { return seconds; };
        ws.list.replaceAll(std::vector<SubtitleEntry>(10));
        ws.list.renumber();
        QObject::connect(&player, &FilmPlayer::positionChanged,
                         [this] { skipGuardDuringMove.push_back(film.SkipPositionChange); });
    }
    // One key as the main window sees it: key-down, then its character.
    bool press(int code, int character = 0)
    {
        keys.Form_KeyDown(code, false);
        return keys.Form_KeyPress(character);
    }
    // The edit fields' start and end, and the selected row's.
    QString times() const
    {
        const int row = ws.list.selected();
        return field(EditFields::Start) + " " + field(EditFields::End) + " / " + cell(row, ColStart) + " "
            + cell(row, ColEnd);
    }
};

} // namespace

TEST_F(KeypadTest, Key4CapturesTheStartAndWithOption2AnEndTheOptionsSecondsLater)
{
    const std::tuple<double, bool, const char *, const char *> presses[] = {
        {-1, false, "2", "-1  / -1 "}, // no film
        {12.345, false, "2", "12,35  / 12,35 "}, {12.0, false, "2", "12  / 12 "}, {10, true, "2", "10 12 / 10 12"},
        {10, true, "4,5", "10 14,5 / 10 14,5"}, {20, false, "4,5", "20 14,5 / 20 14,5"},
    };
    for (const auto &[at, option2, optionSeconds, shown] : presses) {
        player.at = at;
        flags[2] = option2;
        seconds = optionSeconds;
        EXPECT_TRUE(press(kp(4), '4')) << at; // the digit is not typed
        EXPECT_EQ(times(), shown) << at;
    }
}

TEST_F(KeypadTest, CaptureAndPlayKeysWithOptions1And4)
{
    for (double t : {1.0, 3.0, 5.0}) { // key 5 fills whichever time is empty
        player.at = t;
        press(kp(5));
    }
    EXPECT_EQ(times(), "1 3 / 1 3");
    using P = PlayState;
    for (auto [before, after] : {std::pair{P::Playing, P::Paused}, {P::Paused, P::Playing}, {P::Stopped, P::Playing},
                                 {P::Waiting, P::Waiting}}) { // key 2 plays and pauses
        player.state = before;
        press(kp(2));
        EXPECT_EQ(player.state, after) << int(before);
    }
    flags[1] = true; // pauses after each capture
    ws.list.select(1);
    player.at = 4;
    for (int key : {4, 5, 6}) {
        player.state = P::Playing;
        press(kp(key));
        EXPECT_EQ(player.state, P::Paused) << key;
    }
    EXPECT_EQ(times(), "4 4 / 4 4");
    flags[1] = false;
    flags[4] = true; // key 5 only pauses, key 2 only plays
    ws.list.select(2);
    player.state = P::Playing;
    press(kp(2));
    EXPECT_EQ(player.state, P::Playing);
    press(kp(5));
    EXPECT_EQ(player.state, P::Paused);
    EXPECT_EQ(times(), "  /  ");
}

TEST_F(KeypadTest, LineKeysAddAndDeleteRowsAndOption3MovesOnAfterTheEnd)
{
    ws.list.setCell(0, ColText, QStringLiteral("first"));
    press(kp(0));
    EXPECT_EQ(std::pair(ws.list.count(), ws.list.selected()), std::pair(11, 1));
    press(KeyCode::KeypadDecimal);
    EXPECT_EQ(ws.list.count(), 10);

    flags[3] = true;
    ws.list.select(3);
    player.at = 8.5;
    press(kp(6));
    EXPECT_EQ(cell(3, ColEnd), "8,5");
    EXPECT_EQ(std::pair(ws.list.count(), ws.list.selected()), std::pair(11, 4));
    EXPECT_EQ(field(EditFields::End), "");
}

TEST_F(KeypadTest, StepKeysAndSkipsMoveTheFilmWithoutMovingTheList)
{
    QStringList steps;
    for (int key : {7, 9, 9, 9, 8}) {
        press(kp(key));
        steps << field(EditFields::SkipStep);
    }
    EXPECT_EQ(steps, QStringList({"1", "2", "3", "4", "1"}));
    EXPECT_EQ(keys.Command1_ToolTip(1), "1 SECOND FORWARD");
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("3"));
    EXPECT_EQ(keys.Command1_ToolTip(0), "3 SECOND REWARD");
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("0,5"));
    press(kp(7));
    EXPECT_EQ(field(EditFields::SkipStep), "-0,5");

    player.at = 10;
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("2,5"));
    press(kp(3));
    EXPECT_DOUBLE_EQ(player.at, 12.5);
    press(kp(1));
    EXPECT_DOUBLE_EQ(player.at, 10);
    EXPECT_EQ(skipGuardDuringMove, (std::vector<bool>{true, true}));
    EXPECT_FALSE(film.SkipPositionChange);
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("abc"));
    keys.Command1_Click(1);
    EXPECT_EQ(field(EditFields::SkipStep), "1");
    EXPECT_DOUBLE_EQ(player.at, 11);
}

TEST_F(KeypadTest, WithScrollLockOffOrOnAnotherPageTheKeypadTypes)
{
    player.at = 3;
    for (bool otherPage : {false, true}) {
        scrollLock.set(otherPage);
        editPage = !otherPage;
        EXPECT_FALSE(press(kp(4), '4'));
        EXPECT_EQ(times(), "  /  ");
        EXPECT_EQ(keys.lastShortcutKey(), 0);
    }
    editPage = true;
    scrollLock.keyPressed();
    EXPECT_FALSE(scrollLock.on());
    scrollLock.keyPressed();
    EXPECT_TRUE(press(kp(4), '4'));
    EXPECT_EQ(times(), "3  / 3 ");
}

TEST_F(KeypadTest, F1F3AndEnterActOnEveryPage)
{
    editPage = false;
    scrollLock.set(false);
    ws.list.setCell(3, ColText, QStringLiteral("x"));
    ws.list.setCell(5, ColStart, QStringLiteral("7,5"));
    press(KeyCode::F1);
    press(KeyCode::F3); // nothing to search for
    EXPECT_EQ(ws.list.selected(), 0);
    ws.fields.setText(EditFields::Search, QStringLiteral("x"));
    keys.Form_KeyDown(KeyCode::F3, true); // Shift+, Ctrl+ or Alt+F3 does nothing here
    EXPECT_EQ(ws.list.selected(), 0);
    findEnabled = false;
    press(KeyCode::F3);
    EXPECT_EQ(ws.list.selected(), 0);
    findEnabled = true;
    press(KeyCode::F3);
    EXPECT_EQ(ws.list.selected(), 3);
    // Enter sends the film to the chosen row's start and types no line break.
    player.at = 0;
    ws.list.select(5);
    EXPECT_TRUE(press(0, KeyCode::Enter));
    EXPECT_DOUBLE_EQ(player.at, 7.5);
    EXPECT_EQ(tables, 1);
}

TEST_F(KeypadTest, CapturesToTheDocumentsPrecision)
{
    player.at = 12.3456;
    press(kp(4));
    EXPECT_EQ(times(), "12,35  / 12,35 ");
    ws.documentFormat = SaveFormat::SubRip; // a SubRip or WebVTT document keeps milliseconds
    press(kp(6));
    EXPECT_EQ(times(), "12,35 12,346 / 12,35 12,346");
}
