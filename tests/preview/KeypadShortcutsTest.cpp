#include "app/Form1.h"
#include "app/Workspace.h"
#include "editing/LineCommands.h"
#include "preview/KeyCodes.h"
#include "preview/KeypadShortcuts.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

using namespace korv;
using namespace korv::test;

namespace {

constexpr int kp(int digit) { return KeyCode::Keypad0 + digit; }

// A film that only keeps its position and play state.
struct Film {
    double position = -1;
    int state = 0;
    int plays = 0;
    int pauses = 0;
    std::vector<bool> skipGuardDuringMove;
    bool skipGuard = false;
};

class KeypadTest : public ::testing::Test {
protected:
    TestFolder folder{QLatin1Char(',')};
    ScriptedDialogs ui;
    Workspace ws{ui};
    Film film;
    ScrollLockState scrollLock;
    std::array<bool, 5> flags{};
    QString seconds = QStringLiteral("2");
    bool editPage = true;
    bool findEnabled = true;
    int tables = 0, finds = 0, goTos = 0;
    std::vector<int> lineButtons;
    KeypadShortcuts keys{ws, filmControls(), hooks(), scrollLock};

    void SetUp() override
    {
        scrollLock.set(true);
        ws.optionFlag = [this](int i) { return flags[std::size_t(i)]; };
        ws.optionSeconds = [this] { return seconds; };
        std::vector<SubtitleEntry> rows(10);
        ws.list.replaceAll(rows);
        ws.list.renumber();
    }
    FilmControls filmControls()
    {
        FilmControls c;
        c.position = [this] { return film.position; };
        c.setPosition = [this](double p) {
            film.position = p;
            film.skipGuardDuringMove.push_back(film.skipGuard);
        };
        c.playState = [this] { return film.state; };
        c.play = [this] { film.state = 2; ++film.plays; };
        c.pause = [this] { film.state = 1; ++film.pauses; };
        c.setSkipPositionChange = [this](bool on) { film.skipGuard = on; };
        return c;
    }
    ShortcutHooks hooks()
    {
        ShortcutHooks h;
        h.showShortcutTable = [this] { ++tables; };
        h.findEnabled = [this] { return findEnabled; };
        h.find = [this] { ++finds; };
        h.editPageShown = [this] { return editPage; };
        h.pressLineButton = [this](int b) {
            lineButtons.push_back(b);
            Cubuk_ButtonClick(ws, b);
        };
        h.goToSelectedRow = [this] { ++goTos; };
        return h;
    }
    // One key as the main window sees it: key-down, then its character.
    bool press(int code, int character = 0)
    {
        keys.Form_KeyDown(code, false);
        return keys.Form_KeyPress(character);
    }
    QString start() const { return ws.fields.text(EditFields::Start); }
    QString end() const { return ws.fields.text(EditFields::End); }
    QString cellStart() const { return ws.list.cell(ws.list.selected(), ColStart); }
};

} // namespace

TEST(KeyCodes, KeypadAndFunctionKeysMapOnce)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_4, Qt::KeypadModifier), 100);
    EXPECT_EQ(virtualKeyCode(Qt::Key_4, Qt::NoModifier), 0); // the main-row digit is no shortcut
    EXPECT_EQ(virtualKeyCode(Qt::Key_Period, Qt::KeypadModifier), 110);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Comma, Qt::KeypadModifier), 110);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F1, Qt::ShiftModifier), 112);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F3, Qt::NoModifier), 114);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Down, Qt::KeypadModifier), 40); // Num Lock off
}

TEST_F(KeypadTest, Key4CapturesTheStartAtHundredths)
{
    film.position = 12.345;
    EXPECT_TRUE(press(kp(4), '4'));
    EXPECT_EQ(start(), "12,35");
    EXPECT_EQ(cellStart(), "12,35");
    film.position = 12.0;
    press(kp(4));
    EXPECT_EQ(start(), "12");
    EXPECT_EQ(cellStart(), "12");
}

TEST_F(KeypadTest, Key4WithOption2WritesTheEndTheOptionsSecondsLater)
{
    flags[2] = true;
    film.position = 10;
    press(kp(4));
    EXPECT_EQ(start(), "10");
    EXPECT_EQ(end(), "12");
    seconds = QStringLiteral("4,5");
    press(kp(4));
    EXPECT_EQ(end(), "14,5");
    flags[2] = false;
    film.position = 20;
    press(kp(4));
    EXPECT_EQ(end(), "14,5");
}

TEST_F(KeypadTest, Key5FillsWhicheverTimeIsEmpty)
{
    for (double t : {1.0, 3.0, 5.0}) {
        film.position = t;
        press(kp(5));
    }
    EXPECT_EQ(start(), "1");
    EXPECT_EQ(end(), "3");
}

TEST_F(KeypadTest, Option4MakesKey5PauseAndKey2OnlyPlay)
{
    flags[4] = true;
    film.state = 2;
    film.position = 7;
    press(kp(2));
    EXPECT_EQ(film.state, 2);
    press(kp(5));
    EXPECT_EQ(film.state, 1);
    EXPECT_EQ(start(), "");
}

TEST_F(KeypadTest, Key2TogglesPlayAndPause)
{
    for (auto [before, after] : std::array<std::pair<int, int>, 3>{{{2, 1}, {1, 2}, {0, 2}}}) {
        film.state = before;
        press(kp(2));
        EXPECT_EQ(film.state, after) << before;
    }
}

TEST_F(KeypadTest, Option1PausesAfterEachCapture)
{
    flags[1] = true;
    film.position = 4;
    for (int key : {4, 5, 6}) {
        film.state = 2;
        press(kp(key));
        EXPECT_EQ(film.state, 1) << key;
    }
    EXPECT_EQ(end(), "4");
}

TEST_F(KeypadTest, Key6WithOption3AddsAndSelectsTheNextRow)
{
    flags[3] = true;
    ws.list.select(3);
    film.position = 8.5;
    press(kp(6));
    EXPECT_EQ(ws.list.cell(3, ColEnd), "8,5");
    EXPECT_EQ(ws.list.selected(), 4);
    EXPECT_EQ(ws.list.count(), 11);
    EXPECT_EQ(end(), "");
    EXPECT_EQ(lineButtons, std::vector<int>{1});
}

TEST_F(KeypadTest, StepKeysChangeTheSkipStep)
{
    press(kp(7));
    EXPECT_EQ(ws.fields.text(EditFields::SkipStep), "1");
    press(kp(9));
    press(kp(9));
    press(kp(9));
    EXPECT_EQ(ws.fields.text(EditFields::SkipStep), "4");
    press(kp(8));
    EXPECT_EQ(ws.fields.text(EditFields::SkipStep), "1");
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("0,5"));
    press(kp(7));
    EXPECT_EQ(ws.fields.text(EditFields::SkipStep), "-0,5");
}

TEST_F(KeypadTest, SkipsMoveTheFilmWithoutMovingTheList)
{
    film.position = 10;
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("2,5"));
    press(kp(3));
    EXPECT_DOUBLE_EQ(film.position, 12.5);
    press(kp(1));
    EXPECT_DOUBLE_EQ(film.position, 10);
    EXPECT_EQ(film.skipGuardDuringMove, (std::vector<bool>{true, true}));
    EXPECT_FALSE(film.skipGuard);
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("abc"));
    keys.Command1_Click(1);
    EXPECT_EQ(ws.fields.text(EditFields::SkipStep), "1");
    EXPECT_DOUBLE_EQ(film.position, 11);
}

TEST_F(KeypadTest, TooltipsNameTheCurrentStep)
{
    EXPECT_EQ(keys.Command1_ToolTip(1), "1 SECOND FORWARD");
    ws.fields.setText(EditFields::SkipStep, QStringLiteral("3"));
    EXPECT_EQ(keys.Command1_ToolTip(0), "3 SECOND REWARD");
}

TEST_F(KeypadTest, Keys0AndPointAddAndDeleteRows)
{
    ws.list.setCell(0, ColText, QStringLiteral("first"));
    press(kp(0));
    EXPECT_EQ(ws.list.count(), 11);
    EXPECT_EQ(ws.list.selected(), 1);
    press(KeyCode::KeypadDecimal);
    EXPECT_EQ(ws.list.count(), 10);
    EXPECT_EQ(lineButtons, (std::vector<int>{1, 2}));
}

TEST_F(KeypadTest, ScrollLockOffLetsTheKeypadType)
{
    scrollLock.set(false);
    film.position = 3;
    EXPECT_FALSE(press(kp(4), '4'));
    EXPECT_EQ(start(), "");
    scrollLock.keyPressed();
    EXPECT_TRUE(press(kp(4), '4'));
    EXPECT_EQ(start(), "3");
}

TEST_F(KeypadTest, OtherPagesTypeTheDigitAndCaptureNothing)
{
    editPage = false;
    film.position = 3;
    EXPECT_FALSE(press(kp(4), '4'));
    EXPECT_EQ(start(), "");
    EXPECT_EQ(keys.lastShortcutKey(), 0);
}

TEST_F(KeypadTest, NoFilmCapturesMinusOne)
{
    press(kp(4));
    EXPECT_EQ(start(), "-1");
}

TEST_F(KeypadTest, F1F3AndEnterActOnEveryPage)
{
    editPage = false;
    scrollLock.set(false);
    press(KeyCode::F1);
    EXPECT_EQ(tables, 1);
    press(KeyCode::F3);
    EXPECT_EQ(finds, 0); // nothing to search for
    ws.fields.setText(EditFields::Search, QStringLiteral("x"));
    press(KeyCode::F3);
    keys.Form_KeyDown(KeyCode::F3, true);
    EXPECT_EQ(finds, 1); // Shift+F3 does nothing here
    findEnabled = false;
    press(KeyCode::F3);
    EXPECT_EQ(finds, 1);
    EXPECT_TRUE(press(0, KeyCode::Enter)); // the line break is dropped
    EXPECT_EQ(goTos, 1);
}

// The main window previews every key: with the real widgets, the keypad
// captures into the row instead of typing while Scroll Lock is on.
TEST(MainWindowKeys, KeypadCapturesOnlyWhileScrollLockIsOn)
{
    TestFolder folder;
    ScriptedDialogs ui;
    Form1 form(&ui);
    form.show();
    QApplication::setActiveWindow(&form);
    QLineEdit *line = form.Text1[EditFields::Line1];
    line->setFocus();
    ASSERT_FALSE(form.scrollLock.on());
    QTest::keyClick(line, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(line->text(), "4"); // Scroll Lock off: the keypad types
    QTest::keyClick(line, Qt::Key_ScrollLock);
    ASSERT_TRUE(form.scrollLock.on());
    QTest::keyClick(line, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(line->text(), "4");   // no digit typed
    EXPECT_EQ(form.Text1[EditFields::Start]->text(), "-1"); // no film: the position is -1
    EXPECT_EQ(form.workspace().list.cell(0, ColStart), "-1");
    QTest::keyClick(line, Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(form.Text1[EditFields::SkipStep]->text(), "2");
    // On another tab the keypad types again.
    form.Sekme->setCurrentIndex(1);
    QLineEdit *split = form.Text1[EditFields::SplitPoint];
    split->setFocus();
    QTest::keyClick(split, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(split->text(), "5");
    // Enter types no line break anywhere.
    QTest::keyClick(split, Qt::Key_Return);
    EXPECT_EQ(split->text(), "5");
}
