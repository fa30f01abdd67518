// Laying times on the voice through the main window: rows highlighted with
// the mouse and F9, the fit from the file menu while the window stays live,
// and cancelled from its progress window.
#include "commands/FilmCommands.h"
#include "commands/SpeechCommands.h"
#include "locale/MessageKeys.h"
#include "preview/QtFilmPlayer.h"
#include "support/TestFilms.h"
#include "support/WidgetTest.h"

#include <QMenu>

#include <cmath>

using namespace korv;
using namespace korv::test;

namespace {

class VoiceWindowTest : public Form1Test {
protected:
    void SetUp() override
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ws.list.replaceAll({{"0", "1.3", "2.3", "a"}, {"0", "3.2", "4.3", "b"}, {"0", "6.2", "7.3", "c"}});
        ws.list.renumber();
        ws.history.startNew();
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect rect = form.controls().Listview->visualRect(form.listModel().index(row, ColText));
        QTest::mouseClick(form.controls().Listview->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    // Ten lines of speech, each 2.5 s late in the file; the first is at 4 s.
    void layLinesLate()
    {
        std::vector<sound::SpeechSpan> spans;
        std::vector<SubtitleEntry> rows;
        for (int i = 0; i < 10; ++i) {
            const double start = 4 + i * 6.1 + (i % 3) * 0.7;
            spans.push_back({start, start + 1.2 + (i % 2) * 0.5});
            rows.push_back({"0", SecondsToText(start + 2.5, ws.numbers), SecondsToText(spans.back().end + 2.5, ws.numbers),
                            "x"});
        }
        ws.filmSpeech.setSpans(spans);
        ws.list.replaceAll(rows);
        ws.list.renumber();
    }
    QStringList starts() const
    {
        QStringList out;
        for (const SubtitleEntry &row : ws.list.rows())
            out << row.start;
        return out;
    }
};

} // namespace

TEST_F(VoiceWindowTest, F9SnapsTheHighlightedRowsAndTheChosenOneStaysChosen)
{
    ws.filmSpeech.setSpans({{1.0, 2.0}, {3.0, 4.0}, {6.0, 7.0}});
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    EXPECT_EQ(ws.list.selected(), 1); // the row clicked last is the edit panel's
    QTest::keyClick(form.controls().Listview, Qt::Key_F9);
    EXPECT_EQ(starts(), QStringList({"1", "3", "6.2"}));
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.lastNotice(), shownText(msg::SnapRowsDone));

    // Ctrl+A highlights the whole list: every row.
    ws.history.undo();
    form.controls().Listview->setFocus();
    QTest::keyClick(form.controls().Listview, Qt::Key_A, Qt::ControlModifier);
    form.controls().mnuSeseOturt->trigger();
    EXPECT_EQ(starts(), QStringList({"1", "3", "6"}));
    EXPECT_EQ(form.controls().mnuGeriAl->text(), shownText(msg::Undo) + ": " + shownText(msg::StepSnapRows));
}

TEST_F(VoiceWindowTest, TheFitRunsBesideTheWindowAndAsksBeforeItChangesAnything)
{
    layLinesLate();
    QAction *fit = form.controls().mnuFilmeUydur;
    EXPECT_TRUE(form.controls().mnudosyamenu->actions().contains(fit));
    ui.yesNo = {true};
    fit->trigger();
    EXPECT_FALSE(fit->isEnabled()); // one search at a time
    EXPECT_EQ(form.statusHint(), shownText(msg::FitRunning));
    ASSERT_TRUE(waitUntil([&] { return fit->isEnabled(); }, 10000));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, shownText(msg::FitQuestionOffset));
    EXPECT_EQ(starts().first(), "4");
    EXPECT_NE(form.statusHint(), shownText(msg::FitRunning));
}

TEST_F(VoiceWindowTest, AFitCancelledFromItsProgressWindowSaysSoAndChangesNothing)
{
    layLinesLate();
    const QStringList before = starts();
    ws.history.startNew();
    QAction *fit = form.controls().mnuFilmeUydur;
    fit->trigger();
    ASSERT_TRUE(ui.progressShown);
    EXPECT_EQ(ui.progressWindows.back().message, shownText(msg::FitRunning));
    ui.cancelProgress();
    ASSERT_TRUE(waitUntil([&] { return fit->isEnabled(); }, 10000));
    EXPECT_EQ(form.statusHint(), shownText(msg::FitStopped));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(starts(), before);
    EXPECT_FALSE(ws.history.canUndo());
}

TEST_F(VoiceWindowTest, KeyFourOnTheOpenFilmLandsOnTheOnsetBeforeThePress)
{
    const QString mkv = testFilm(TestFilm::TwoTracksMkv);
    ASSERT_FALSE(mkv.isEmpty());
    ws.list.replaceAll(std::vector<SubtitleEntry>(1));
    ws.list.renumber();
    form.controls().filmCommands->openFilm(mkv);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.controls().filmPlayer->playState() == PlayState::Playing; }, 8000));
    ws.filmSpeech.setSpans({{1.0, 1.6}, {2.0, 2.6}, {3.0, 3.6}});
    // Paused where the last press of a line would come, late after its onset.
    form.controls().filmPlayer->pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.controls().filmPlayer->playState() == PlayState::Paused; }, 8000));
    form.controls().filmPlayer->setPosition(1.37);
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(form.controls().filmPlayer->position() - 1.37) < 0.05; }, 8000));
    QLineEdit *line = form.controls().Text1[EditFields::Line1];
    QApplication::setActiveWindow(&form);
    line->setFocus();
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == line; }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    QTest::keyClick(line, Qt::Key_ScrollLock);
    ASSERT_TRUE(form.controls().scrollLock.on());
    QTest::keyClick(line, Qt::Key_4, Qt::KeypadModifier);
    ASSERT_EQ(ws.filmSpeech.marks().size(), 1u) << "start: " << ws.list.cell(0, ColStart).toStdString();
    const FilmSpeech::SnapMark mark = ws.filmSpeech.marks()[0];
    EXPECT_EQ(mark.to, 1.0) << mark.from; // the nearest onset before the press
    EXPECT_EQ(ws.list.cell(0, ColStart), SecondsToText(mark.to, ws.numbers));
    EXPECT_EQ(form.controls().Text1[EditFields::Start]->text(), SecondsToText(mark.to, ws.numbers));
    // Held on screen for a look (KORV_TEST_HOLD_MS, when a person drives it).
    QTest::qWait(qEnvironmentVariableIntValue("KORV_TEST_HOLD_MS"));
}
