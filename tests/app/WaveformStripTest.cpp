// The waveform strip as a user meets it: boxes dragged by their edges and
// whole with the mouse, a click moving the film, the wheel and the keys
// scrolling and zooming, what it paints where (the sound on its time, the
// boxes, the selected row, the speech, the play line), its place under the
// window's design, and what a screen reader hears of it in both languages.
#include "app/StripGlyphs.h"
#include "app/WaveformStrip.h"
#include "commands/FilmSound.h"
#include "locale/MessageKeys.h"
#include "media/FilmDescription.h"
#include "support/TestFilms.h"
#include "support/WidgetTest.h"
#include "support/ScriptedPlayer.h"
#include "support/WorkspaceTest.h"

#include "../sound/SoundMedia.h"

#include <QAccessible>
#include <QRegularExpression>

using namespace korv;
using namespace korv::test;

namespace {

QString shippedFile(const QString &language)
{
    return QStringLiteral(KORV_SOURCE_DIR "/data/Language/") + language + QStringLiteral(".lng");
}

class StripTest : public WorkspaceTest {
protected:
    QTemporaryDir cacheDir;
    ScriptedPlayer player;
    FilmSound filmSound{ws, sound::SoundCache(cacheDir.filePath(QStringLiteral("sound")))};
    WaveformStrip strip{ws, filmSound, player};

    StripTest()
    {
        setRows({{"1", "2", "Bir"}, {"3", "4.5", "İki"}, {"6", "7", "Üç"}, {"3590", "3600", "Son"}});
        strip.resize(600, 200);
        strip.show();
        strip.setView(0, 10); // 60 pixels a second
    }
    QStringList times(int row) const { return {cell(row, ColStart), cell(row, ColEnd)}; }
    int y() const { return strip.waveRect().center().y(); }
    void drag(int from, int to)
    {
        QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(from, y()));
        QTest::mouseMove(&strip, QPoint((from + to) / 2, y()));
        QTest::mouseMove(&strip, QPoint(to, y()));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, QPoint(to, y()));
    }
    void wheel(int notches, Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF at(300, y());
        QWheelEvent event(at, strip.mapToGlobal(at), {}, QPoint(0, notches * 120), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&strip, &event);
    }
    QColor pixel(double seconds, int yy)
    {
        return strip.grab().toImage().pixelColor(int(strip.xOf(seconds)), yy);
    }
};

} // namespace

TEST_F(StripTest, DraggingABoxChangesItsRowAsOneStepAndAClickMovesTheFilm)
{
    // The middle row's end, 0.2 s later: 12 pixels.
    drag(int(strip.xOf(4.5)), int(strip.xOf(4.5)) + 12);
    EXPECT_EQ(times(1), QStringList({"3", "4.7"}));
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(field(EditFields::End), "4.7");
    EXPECT_EQ(undoCaption(ws.language, ws.history), shownText(msg::Undo) + ": " + shownText(msg::StepDragEnd));
    EXPECT_EQ(ws.history.count(), 1);

    // The last visible row moved whole by half a second.
    drag(int(strip.xOf(6.5)), int(strip.xOf(6.5)) + 30);
    EXPECT_EQ(times(2), QStringList({"6.5", "7.5"}));
    EXPECT_EQ(undoCaption(ws.language, ws.history), shownText(msg::Undo) + ": " + shownText(msg::StepDragRow));
    // The first row's start dragged far before the film: it starts at 0.
    drag(int(strip.xOf(1)), -100);
    EXPECT_EQ(times(0), QStringList({"0", "2"}));
    // The middle row's start dragged past its end stops there.
    drag(int(strip.xOf(3)), int(strip.xOf(5.5)));
    EXPECT_EQ(times(1), QStringList({"4.7", "4.7"}));
    EXPECT_EQ(ws.history.count(), 4);
    ws.history.undo();
    EXPECT_EQ(times(1), QStringList({"3", "4.7"}));

    // A click on the waveform moves the film there and moves no row.
    player.open("film.mkv");
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(int(strip.xOf(5.25)), y()));
    EXPECT_NEAR(player.at, 5.25, 10.0 / 600);
    // A click on a box chooses its row too.
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(int(strip.xOf(1.5)), y()));
    EXPECT_EQ(ws.list.selected(), 0);
    EXPECT_NEAR(player.at, 1.5, 10.0 / 600);
    EXPECT_EQ(times(0), QStringList({"0", "2"}));
    EXPECT_EQ(ws.history.count(), 4);
    EXPECT_TRUE(ws.history.canRedo());
}

TEST_F(StripTest, TheWheelScrollsAndCtrlWheelAndPlusMinusZoomFromTheWholeFilmToASecond)
{
    wheel(-2); // down: later
    EXPECT_DOUBLE_EQ(strip.viewStart(), 2.5);
    wheel(4);
    EXPECT_DOUBLE_EQ(strip.viewStart(), 0); // not before the film
    strip.setFocus();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(&strip, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(strip.viewSpan(), 1);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(&strip, Qt::Key_Minus);
    // The whole film: here the last subtitle's end, with no film open.
    EXPECT_DOUBLE_EQ(strip.viewSpan(), 3600);
    EXPECT_DOUBLE_EQ(strip.viewStart(), 0);
    for (int i = 0; i < 60; ++i)
        wheel(1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(strip.viewSpan(), 1);
    // Zoomed in around the pointer: the time under it stays under it.
    strip.setView(100, 20);
    const double under = strip.timeAt(300);
    wheel(1, Qt::ControlModifier);
    EXPECT_LT(strip.viewSpan(), 20);
    EXPECT_NEAR(strip.timeAt(300), under, 1e-9);
    wheel(-1, Qt::ControlModifier);
    EXPECT_NEAR(strip.viewSpan(), 20, 1e-9);
}

TEST_F(StripTest, ItPaintsTheSoundOnItsTimeTheBoxesTheSpeechAndThePlayLine)
{
    // Bursts at 2-2.4, 10-10.3 and 18.5-19 s (played 23 ms later in Matroska).
    const QString film = mkvFilm();
    auto described = media::describeFilm(film);
    ws.film.open(film, described ? std::optional(*described) : std::nullopt, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return filmSound.state() == FilmSound::State::Ready; }, 60000));
    strip.setView(0, 20); // 30 pixels a second
    const QImage shot = strip.grab().toImage();
    const int middle = strip.waveRect().center().y();
    auto loud = [&](double seconds) {
        // Some pixel of the column above the middle line is drawn.
        const int x = int(strip.xOf(seconds));
        for (int yy = strip.waveRect().top() + 2; yy < middle - 2; ++yy)
            if (shot.pixelColor(x, yy).blue() > 150 && shot.pixelColor(x, yy).red() < 200)
                return true;
        return false;
    };
    for (double t : {2.2, 10.15, 18.7})
        EXPECT_TRUE(loud(t)) << t;
    for (double t : {1.5, 5.0, 14.0, 19.5})
        EXPECT_FALSE(loud(t)) << t;

    // Boxes: the selected row in its own colour, the others alike.
    ws.list.select(1);
    const int top = strip.waveRect().top() + 3;
    const QColor chosen = pixel(3.7, top), other = pixel(1.5, top), none = pixel(5.2, top);
    EXPECT_GT(chosen.green(), other.green());
    EXPECT_NE(other, none);
    EXPECT_EQ(pixel(6.5, top), other);

    // The speech as a band under the waveform.
    const int band = strip.height() - WaveformStrip::kSpeechBandHeight / 2;
    const QColor quiet = pixel(12, band);
    ws.filmSpeech.setSpans({{11.0, 13.0}});
    EXPECT_NE(pixel(12, band), quiet);
    EXPECT_EQ(pixel(14, band), quiet);

    // The play line where the film is.
    player.open(film);
    player.state = PlayState::Paused;
    player.at = 8.0;
    QTest::qWait(250);
    EXPECT_GT(pixel(8.0, band - 10).red(), 200);
    EXPECT_LT(pixel(8.5, band - 10).red(), 200);
}

TEST_F(StripTest, WhilePlayingTheLineMovesOnAndTheStripPagesOn)
{
    player.open("film.mkv");
    player.state = PlayState::Paused;
    player.at = 9.5;
    QTest::qWait(150);
    EXPECT_DOUBLE_EQ(strip.shownPosition(), 9.5);
    // The player reports seldom; between reports the line moves on with the
    // clock from the moment it plays.
    player.state = PlayState::Playing;
    QTest::qWait(120);
    EXPECT_GT(strip.shownPosition(), 9.5);
    EXPECT_LE(strip.shownPosition(), 9.75);
    EXPECT_DOUBLE_EQ(strip.viewStart(), 0);
    player.at = 10.5; // past the right edge: the next page
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.viewStart() > 9; }, 1000));
    EXPECT_LT(strip.viewStart(), 10.5);
    EXPECT_DOUBLE_EQ(strip.viewSpan(), 10);
}

// ---- in the main window ----

namespace {

class StripWindowTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    std::unique_ptr<Form1> form;

    void makeWindow(const QString &language)
    {
        QFile shipped(shippedFile("English"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        folder.write("Language/English.lng", shipped.readAll());
        QFile turkish(shippedFile("Turkish"));
        ASSERT_TRUE(turkish.open(QIODevice::ReadOnly));
        folder.write("Language/Turkish.lng", turkish.readAll());
        folder.language.setCurrentLanguage(language);
        form = std::make_unique<Form1>(folder.language, &ui);
    }
    WaveformStrip *strip() { return form->controls().Waveform; }
    static int threadsRunning()
    {
        return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }
    void openFilm(const QString &path)
    {
        auto described = media::describeFilm(path);
        form->workspace().film.open(path, described ? std::optional(*described) : std::nullopt, 0);
    }
};

} // namespace

TEST_F(StripWindowTest, AScreenReaderHearsItsNameAndStateInEitherLanguage)
{
    const QString film = longFilm();
    struct Case {
        const char *language, *name, *noFilm, *percent, *ready, *status;
    };
    for (const Case c : {Case{"English", "WAVEFORM", "NO FILM OPEN", "^\\d+%$", "READY", "^WAVEFORM \\d+%$"},
                         Case{"Turkish", "SES DALGASI", "FİLM AÇILMADI", "^%\\d+$", "HAZIR", "^SES DALGASI %\\d+$"}}) {
        SCOPED_TRACE(c.language);
        makeWindow(c.language);
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(strip());
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(c.name));
        EXPECT_EQ(reader->text(QAccessible::Description), QString::fromUtf8(c.noFilm));
        EXPECT_TRUE(form->controls().SoundState->text().isEmpty());

        openFilm(film);
        EXPECT_TRUE(QRegularExpression(c.percent).match(reader->text(QAccessible::Description)).hasMatch())
            << reader->text(QAccessible::Description).toStdString();
        EXPECT_TRUE(QRegularExpression(QString::fromUtf8(c.status)).match(form->controls().SoundState->text()).hasMatch())
            << form->controls().SoundState->text().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->controls().filmSound->state() == FilmSound::State::Ready; }, 60000));
        EXPECT_EQ(reader->text(QAccessible::Description), QString::fromUtf8(c.ready));
        EXPECT_TRUE(form->controls().SoundState->text().isEmpty());
        form.reset();
    }
    // A film without sound: the reason, in the language in use.
    makeWindow("English");
    openFilm(testFilm(TestFilm::SilentMp4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->controls().filmSound->state() == FilmSound::State::Failed; }, 60000));
    EXPECT_EQ(strip()->accessibleDescription(), "The film has no audio track");
    EXPECT_EQ(ui.lastNotice(), "No whole waveform could be drawn: The film has no audio track");
    folder.language.setCurrentLanguage("Turkish");
    form->applyOwnTexts();
    EXPECT_EQ(strip()->accessibleDescription(), "Filmde ses izi yok");
    EXPECT_EQ(strip()->accessibleName(), "SES DALGASI");
}

TEST_F(StripWindowTest, ItLiesUnderTheDesignTakesFocusWithTabAndZoomsWithItsKeys)
{
    makeWindow("Turkish");
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // At the smallest window: across the window, under every design rectangle.
    EXPECT_EQ(strip()->geometry(), QRect(1, 522, 790, 120));
    for (QWidget *w : {form->controls().Frame6, form->controls().Frame15, form->controls().Frame12})
        EXPECT_LE(w->geometry().bottom(), strip()->y()) << w->objectName().toStdString();
    EXPECT_EQ(form->controls().Durum->y(), strip()->geometry().bottom() + 1);
    form->resize(form->width() + 200, form->height() + 100);
    EXPECT_EQ(strip()->geometry(), QRect(1, 622, 990, 120));

    // Tab reaches it, after the AVI details.
    form->controls().Text1[EditFields::Start]->setFocus();
    for (int i = 0; i < 20 && QApplication::focusWidget() != strip(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), strip());
    // + and - reach it through the window's own keys.
    form->workspace().list.replaceAll({{"1", "0", "100", "a"}});
    strip()->setView(0, 60);
    QTest::keyClick(strip(), Qt::Key_Plus);
    EXPECT_LT(strip()->viewSpan(), 60);
    QTest::keyClick(strip(), Qt::Key_Minus);
    QTest::keyClick(strip(), Qt::Key_Minus);
    EXPECT_GT(strip()->viewSpan(), 60);
}

TEST_F(StripWindowTest, ClosingTheWindowMidAnalysisLeavesNoThreadRunning)
{
    const QString film = longFilm();
    // A fresh analysis, not the last run's cache entry.
    if (const auto key = sound::filmKey(film, 0))
        QFile::remove(sound::SoundCache().entryPath(*key));
    makeWindow("Turkish");
    form->show();
    const int before = threadsRunning();
    openFilm(film);
    ASSERT_TRUE(form->controls().filmSound->busy());
    form->close();
    form.reset();
    EXPECT_LE(threadsRunning(), before);
}

TEST(StripGlyphsTest, WriteTheirCharactersAsTextWouldAndLeaveOutWhatCrossesTheEdge)
{
    const StripGlyphs glyphs = StripGlyphs::make({Qt::white, Qt::white, Qt::white, Qt::white});
    EXPECT_TRUE(StripGlyphs::covers("1:02:03.5"));
    EXPECT_TRUE(StripGlyphs::covers("%37"));
    EXPECT_FALSE(StripGlyphs::covers("12a"));
    // The ink of each way of writing: its columns and its amount.
    const auto ink = [](const QImage &image) {
        int first = image.width(), last = -1, amount = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const int v = qGray(image.pixel(x, y)); v > 0) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                    amount += v;
                }
        return std::tuple{first, last, amount};
    };
    for (const QString text : {"1:02:03", "59:58.5", "1500", "%37"}) {
        QImage drawn(200, 30, QImage::Format_RGB32), written(200, 30, QImage::Format_RGB32);
        drawn.fill(Qt::black);
        written.fill(Qt::black);
        {
            QPainter p(&drawn);
            QFont font;
            font.setPixelSize(10);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(10, 5 + glyphs.ascent(StripGlyphs::Ruler), text);
            QPainter q(&written);
            glyphs.draw(q, StripGlyphs::Ruler, QPoint(10, 5), text);
        }
        const auto [from1, to1, amount1] = ink(drawn);
        const auto [from2, to2, amount2] = ink(written);
        ASSERT_GE(to1, 0) << text.toStdString();
        EXPECT_NEAR(from2, from1, 1) << text.toStdString();
        EXPECT_NEAR(to2, to1, 2) << text.toStdString();
        EXPECT_NEAR(amount2, amount1, amount1 * 0.15) << text.toStdString();
    }
    // A label narrower than its text loses the characters past its edge.
    QImage clipped(200, 30, QImage::Format_RGB32);
    clipped.fill(Qt::black);
    {
        QPainter p(&clipped);
        const int right = 10 + glyphs.width(StripGlyphs::Box, "15");
        glyphs.draw(p, StripGlyphs::Box, QPoint(10, 5), "1500", right + 3);
    }
    EXPECT_LE(std::get<1>(ink(clipped)), 10 + glyphs.width(StripGlyphs::Box, "15") + 1);
    EXPECT_GE(std::get<1>(ink(clipped)), 10 + glyphs.width(StripGlyphs::Box, "1"));
}

TEST_F(StripTest, TheRulerAndTheRowNumbersAreWrittenOnceTheirCharactersAreMade)
{
    // The ruler's text colour above a tick, the boxes' numbers in their edge colour.
    const auto written = [&](const QRect &area, auto isText) {
        const QImage shot = strip.grab().toImage();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (isText(shot.pixelColor(x, y)))
                    return true;
        return false;
    };
    const auto ruler = [](const QColor &c) { return c.red() > 120 && c.blue() > 120; };
    const auto number = [](const QColor &c) { return c.red() > 110 && c.green() > 80 && c.blue() < 60; };
    const QRect rulerText(int(strip.xOf(2)) + 3, 0, 30, WaveformStrip::kRulerHeight - 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return written(rulerText, ruler); }, 5000));
    // Row 2 (3 to 4.5 s, 90 pixels) carries its number at its top left;
    // nothing of that colour lies in its middle, away from the edges.
    const int top = strip.waveRect().top();
    EXPECT_TRUE(written(QRect(int(strip.xOf(3)) + 3, top + 1, 10, 14), number));
    EXPECT_FALSE(written(QRect(int(strip.xOf(3.6)), top + 20, 20, 20), number));
    // A box too narrow for its number has none.
    strip.setView(0, 300); // row 1 is 2 pixels wide, row 2 starts 4 pixels after it
    EXPECT_FALSE(written(QRect(int(strip.xOf(1)), top + 1, 4, 14), number));
}
