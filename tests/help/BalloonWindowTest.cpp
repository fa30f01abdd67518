#include "help/BalloonWindow.h"
#include "help/Messages.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace korv;

namespace {

BalloonWindow *loadedBalloon()
{
    const auto balloons = QApplication::topLevelWidgets();
    EXPECT_LE(std::count_if(balloons.begin(), balloons.end(),
                            [](QWidget *w) { return qobject_cast<BalloonWindow *>(w) != nullptr; }),
              1);
    return qobject_cast<BalloonWindow *>(QApplication::activeModalWidget());
}

// Runs check on the balloon once it is up (the balloon is modal).
void whileShown(std::function<void(BalloonWindow *)> check)
{
    QTimer::singleShot(0, [check] {
        BalloonWindow *balloon = loadedBalloon();
        ASSERT_NE(balloon, nullptr);
        check(balloon);
    });
}

void pressKey(QWidget *window, bool autoRepeat = false)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QApplication::sendEvent(window, &key);
}

} // namespace

TEST(BalloonRegionTest, TheTailLeavesTheRoundedBodyTowardsTheTip)
{
    const QRegion r = balloonRegion(balloonShape(TopRight, QPoint(600, 500), QSize(1024, 768)));
    for (QPoint in : {QPoint(874, 150), QPoint(1023, 150), QPoint(655, 400)}) // body, its edge, tail
        EXPECT_TRUE(r.contains(in)) << in.x() << "," << in.y();
    // Beside the tail, the rounded corners, left of the body, far away.
    for (QPoint out : {QPoint(640, 400), QPoint(670, 400), QPoint(724, 0), QPoint(1023, 299), QPoint(723, 150),
                       QPoint(10, 10)})
        EXPECT_FALSE(r.contains(out)) << out.x() << "," << out.y();
}

TEST(BalloonWindowTest, ShowsThePageInItsCornerAndClosesOnAKey)
{
    test::TestFolder folder;
    folder.write("Help/01.html", "<html><head><meta charset=\"utf-8\"></head><body>Yardım sayfası</body></html>");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint tip(screen.width() - 200, screen.height() - 100);

    whileShown([&](BalloonWindow *balloon) {
        EXPECT_TRUE(IsFormLoaded(QStringLiteral("BalonYardim1")));
        EXPECT_TRUE(balloon->isModal());
        EXPECT_TRUE(balloon->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(balloon->geometry(), screen);
        EXPECT_EQ(balloon->palette().color(QPalette::Window), QColor(140, 109, 92));
        EXPECT_EQ(balloon->Web->toPlainText(), QStringLiteral("Yardım sayfası"));
        EXPECT_EQ(balloon->Picture1->geometry(), QRect(screen.width() - 301, 0, 300, 300));
        // Only the balloon is left of the screen-sized window.
        EXPECT_TRUE(balloon->mask().contains(QPoint(screen.width() - 150, 150)));
        const BalloonShape &shape = balloon->currentShape();
        const QPoint baseMiddle = (shape.base1 + shape.base2) / 2;
        EXPECT_TRUE(balloon->mask().contains(baseMiddle + (tip - baseMiddle) * 0.8)); // the tail
        EXPECT_FALSE(balloon->mask().contains(QPoint(10, screen.height() - 10)));

        pressKey(balloon, true); // still repeating from the previous balloon
        EXPECT_TRUE(balloon->isVisible());
        pressKey(balloon);
    });
    ShowBalloon(TopRight, tip.x(), tip.y(), QStringLiteral("01.html"));
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("BalonYardim1")));
}

TEST(BalloonWindowTest, ANewBalloonReplacesTheOneShown)
{
    test::TestFolder folder;
    bool secondShown = false;
    whileShown([&](BalloonWindow *first) {
        QPointer<BalloonWindow> gone = first;
        whileShown([&](BalloonWindow *second) {
            EXPECT_TRUE(gone.isNull());
            EXPECT_EQ(second->currentShape().body.top(), second->height() - 300);
            secondShown = true;
            pressKey(second);
        });
        ShowBalloon(BottomLeft, 400, 100, QStringLiteral("02.html"));
    });
    ShowBalloon(TopLeft, 400, 400, QStringLiteral("01.html"));
    EXPECT_TRUE(secondShown);
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("BalonYardim1")));
}

TEST(BalloonWindowTest, IsFormLoadedMatchesTheExactName)
{
    auto *options = new QWidget;
    options->setObjectName(QStringLiteral("frmSecenekler"));
    EXPECT_TRUE(IsFormLoaded(QStringLiteral("frmSecenekler"))); // loaded, though hidden
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmsecenekler")));
    delete options;
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmSecenekler")));
}

TEST(BalloonWindowTest, AToolbarButtonIsMeasuredWithinItsToolbar)
{
    QWidget window;
    window.move(100, 50);
    QWidget frame(&window);
    frame.setGeometry(1, 462, 429, 60);
    QToolBar toolbar(&frame);
    toolbar.setGeometry(1, 7, 427, 52);
    QToolButton button(&toolbar);
    button.setGeometry(170, 3, 80, 46);
    // x: (1500 + 15 + 2550 + 600) / 15; y: (750 + 6930 + 45 + 690) / 15
    EXPECT_EQ(tourScreenPoint(&window, &frame, &button, 600, 690), QPoint(311, 561));
}

TEST(BalloonWindowTest, ShippedPagesFitThePageAndNameTheirControls)
{
    setProgramFolder(QStringLiteral(KORV_SOURCE_DIR "/data"));
    const QFont appFont = QApplication::font();
    QFont font = appFont;
    font.setPointSizeF(8.0); // the program's font
    QApplication::setFont(font);
    const std::pair<const char *, QStringList> pages[] = {
        {"01.html", {"YARDIM"}},
        {"02.html", {"SATIR - 1 :", "SATIR - 3 :"}},
        {"03.html", {"SÜRE :", "SCROLL LOCK"}},
        {"04.html", {"çeyrek saniye", "kısaltır"}},
        {"05.html", {"DEĞİŞTİR", "BÖL", "SENKRONİZE", "KONTROL & TAMİR"}},
    };
    for (const auto &[page, captions] : pages) {
        BalloonWindow balloon;
        balloon.navigate(QString::fromLatin1(page));
        balloon.show();
        for (const QString &caption : captions)
            EXPECT_TRUE(balloon.Web->toPlainText().contains(caption)) << page << " " << caption.toStdString();
        EXPECT_EQ(balloon.Web->verticalScrollBar()->maximum(), 0) << page << " does not fit";
    }
    QApplication::setFont(appFont);
}
