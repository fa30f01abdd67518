// The notice window, the frame-rate window and the help balloon: its shape
// in each corner, the window that shows it, and the points its tail aims at.
#include "help/BalloonWindow.h"
#include "help/FrameRateDialog.h"
#include "help/NoticeWindow.h"
#include "help/ProgressWindow.h"
#include "help/ShortcutTableWindow.h"
#include "help/TourGeometry.h"
#include "support/WidgetTest.h"

#include <algorithm>

using namespace korv;
using namespace korv::test;

TEST(NoticeWindow, ShowsTheMessageAndTitleEnterClosesAndThePointerIsNormalMeanwhile)
{
    TestFolder folder;
    QtUserDialogs dialogs(folder.language, NumberFormat::dot());
    dialogs.setBusy(true);
    QString seen;
    whenShown<NoticeWindow>([&](NoticeWindow *w) {
        auto *ok = w->findChild<QPushButton *>("Command1");
        seen = QStringList({w->findChild<QPlainTextEdit *>("Text1(2)")->toPlainText(), w->windowTitle(), ok->text(),
                            ok->isDefault() ? "default" : "not default",
                            QApplication::overrideCursor()->shape() == Qt::ArrowCursor ? "arrow" : "busy"})
                   .join(" | ");
        QTest::keyClick(w, Qt::Key_Return);
    });
    dialogs.showNotice(QStringLiteral("Birinci satır\r\nİkinci satır"), QStringLiteral("Korvendal Production"));
    EXPECT_EQ(seen, "Birinci satır\nİkinci satır | Korvendal Production | TAMAM | default | arrow");
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialogs.setBusy(false);
}

TEST(FrameRateWindow, ProposesAndRefusesWhatIsNoRate)
{
    TestFolder folder;
    NumberFormat numbers = NumberFormat::dot();
    QStringList notices;
    FrameRateDialog dialog(QStringLiteral("23.976023976024"), [&](const QString &m, const QString &) { notices << m; }, numbers);
    auto *combo = dialog.findChild<QComboBox *>("Combo3");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(dialog.windowTitle(), " MICRO DVD - FRAME RATE");
    EXPECT_EQ(combo->currentText(), "23.976023976024");
    QStringList choices;
    for (int i = 0; i < combo->count(); ++i)
        choices << combo->itemText(i);
    EXPECT_EQ(choices, (QStringList{"23.976", "24", "25", "29.97", "30"}));
    dialog.show();
    combo->setEditText(QStringLiteral("abc"));
    QTest::mouseClick(dialog.findChild<QPushButton *>("Command1"), Qt::LeftButton);
    EXPECT_EQ(notices, QStringList{"ERROR..."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.rate());
    // 0 would write every frame as 0; a group separator or a rate of
    // thousands is a mistyped rate, never 25000 frames a second.
    for (const char *wrong : {"0", "0.5", "1000.5", "25,000", "1,000", "-25"}) {
        combo->setEditText(QString::fromLatin1(wrong));
        dialog.confirm();
        EXPECT_FALSE(dialog.rate()) << wrong;
    }
    EXPECT_EQ(notices.size(), 7);
    combo->setEditText(QStringLiteral("29.97"));
    dialog.confirm();
    EXPECT_EQ(dialog.rate(), 29.97);
    EXPECT_FALSE(dialog.isVisible());

    // One Return confirms the rate shown, also a film's own that is no choice.
    for (auto [key, proposal] : {std::pair{Qt::Key_Return, "23.976023976024"}, {Qt::Key_Enter, "25"}}) {
        FrameRateDialog asked(QString::fromLatin1(proposal), [&](const QString &m, const QString &) { notices << m; }, numbers);
        auto *box = asked.findChild<QComboBox *>("Combo3");
        EXPECT_EQ(box->currentIndex(), box->findText(QString::fromLatin1(proposal)));
        asked.show();
        QTest::keyClick(box->lineEdit(), key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(asked.rate(), QString::fromLatin1(proposal).toDouble()) << proposal;
        EXPECT_FALSE(asked.isVisible());
    }
    // In a Turkish number format "23.976" has a group separator: refused.
    numbers = NumberFormat::comma();
    FrameRateDialog turkish(QStringLiteral("25"), [&](const QString &m, const QString &) { notices << m; }, numbers);
    for (const char *wrong : {"23.976", "1.000"}) {
        turkish.findChild<QComboBox *>("Combo3")->setEditText(QString::fromLatin1(wrong));
        turkish.confirm();
        EXPECT_FALSE(turkish.rate()) << wrong;
    }
    EXPECT_EQ(notices.size(), 9);

    // The file dialogs' filters in Qt's form.
    EXPECT_EQ(QtUserDialogs::qtFilter("Avi Film *.avi,*.dat|*.avi;*.dat"), "Avi Film *.avi,*.dat (*.avi *.dat)");
    EXPECT_EQ(QtUserDialogs::qtFilter("SubViewer v2 / Micro DVD Files *.*|*.*"), "SubViewer v2 / Micro DVD Files *.* (*)");
}

namespace {

bool balloonLoaded()
{
    const auto windows = QApplication::topLevelWidgets();
    const auto balloons = std::count_if(windows.begin(), windows.end(),
                                        [](QWidget *w) { return qobject_cast<BalloonWindow *>(w) != nullptr; });
    EXPECT_LE(balloons, 1);
    return IsFormLoaded(QStringLiteral("BalonYardim1"));
}

void pressKey(QWidget *window, bool autoRepeat = false)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QApplication::sendEvent(window, &key);
}

} // namespace

TEST(BalloonShapeTest, EachCornerHoldsTheBodyWithTheTailBaseOnThatEdgeUnderItsMiddle)
{
    const std::tuple<int, QRect, QPoint, QPoint> cases[] = {
        {TopLeft, QRect(0, 0, 300, 300), {130, 0}, {170, 0}},
        {TopRight, QRect(724, 0, 300, 300), {894, 0}, {854, 0}}, // body 724..1024 x 0..300
        {BottomRight, QRect(724, 468, 300, 300), {894, 768}, {854, 768}},
        {BottomLeft, QRect(0, 468, 300, 300), {130, 768}, {170, 768}},
        {7, QRect(0, 0, 300, 300), {130, 0}, {170, 0}}, // unknown: top-left rather than no body
    };
    for (const auto &[corner, body, base1, base2] : cases) {
        const BalloonShape s = balloonShape(corner, QPoint(600, 500), QSize(1024, 768), QSize(300, 300));
        EXPECT_EQ(std::tuple(s.body, s.base1, s.base2, s.tail()[2]), std::tuple(body, base1, base2, QPoint(600, 500)))
            << corner;
    }
    // Half of an odd body width is rounded half to even.
    EXPECT_EQ(balloonShape(TopLeft, {}, QSize(1024, 768), QSize(301, 301)).base1, QPoint(130, 0));
    EXPECT_EQ(balloonShape(TopLeft, {}, QSize(1024, 768), QSize(303, 303)).base1, QPoint(132, 0));

    // The region: the rounded body and the tail towards the tip.
    const QRegion r = balloonRegion(balloonShape(TopRight, QPoint(600, 500), QSize(1024, 768)));
    for (QPoint in : {QPoint(874, 150), QPoint(1023, 150), QPoint(655, 400)}) // body, its edge, tail
        EXPECT_TRUE(r.contains(in)) << in.x() << "," << in.y();
    // Beside the tail, the rounded corners, left of the body, far away.
    for (QPoint out : {QPoint(640, 400), QPoint(670, 400), QPoint(724, 0), QPoint(1023, 299), QPoint(723, 150),
                       QPoint(10, 10)})
        EXPECT_FALSE(r.contains(out)) << out.x() << "," << out.y();
}

TEST(TourScreenPointTest, AddsWindowFrameControlAndOffsetAndRoundsHalvesToEven)
{
    const TourAnchor lineField{1800, 1200, 15, 5580, 1260, 435};
    EXPECT_EQ(tourScreenPoint(lineField, 500, 600), QPoint(238, 521)); // 3575/15, 7815/15
    const TourAnchor half{1500, 0, 15, 0, 0, 0};
    EXPECT_EQ(tourScreenPoint(half, 607.5, 7.5), QPoint(142, 0));  // 141.5 and 0.5
    EXPECT_EQ(tourScreenPoint(half, 592.5, 22.5), QPoint(140, 2)); // 140.5 and 1.5

    // A toolbar button is measured within its toolbar.
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

TEST(BalloonWindowTest, ShowsThePageInItsCornerAndClosesOnAKey)
{
    TestFolder folder;
    folder.write("Help/01.html", "<html><head><meta charset=\"utf-8\"></head><body>Yardım sayfası</body></html>");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint tip(screen.width() - 200, screen.height() - 100);
    whenShown<BalloonWindow>([&](BalloonWindow *balloon) {
        EXPECT_TRUE(balloonLoaded());
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
    ShowBalloon(folder.language, TopRight, tip.x(), tip.y(), QStringLiteral("01.html"));
    EXPECT_FALSE(balloonLoaded());

    // A new balloon replaces the one shown.
    bool secondShown = false;
    whenShown<BalloonWindow>([&](BalloonWindow *first) {
        QPointer<BalloonWindow> gone = first;
        whenShown<BalloonWindow>([&](BalloonWindow *second) {
            EXPECT_TRUE(gone.isNull());
            EXPECT_EQ(second->currentShape().body.top(), second->height() - 300);
            secondShown = true;
            pressKey(second);
        });
        ShowBalloon(folder.language, BottomLeft, 400, 100, QStringLiteral("02.html"));
    });
    ShowBalloon(folder.language, TopLeft, 400, 400, QStringLiteral("01.html"));
    EXPECT_TRUE(secondShown);
    EXPECT_FALSE(balloonLoaded());

    // A window is loaded while it exists, though hidden; names match exactly.
    auto *options = new QWidget;
    options->setObjectName(QStringLiteral("frmSecenekler"));
    EXPECT_TRUE(IsFormLoaded(QStringLiteral("frmSecenekler")));
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmsecenekler")));
    delete options;
    EXPECT_FALSE(IsFormLoaded(QStringLiteral("frmSecenekler")));
}

TEST(BalloonWindowTest, ShippedPagesFitThePageAndNameTheirControls)
{
    const Language shipped(QStringLiteral(KORV_SOURCE_DIR "/data"));
    const QFont appFont = QApplication::font();
    QFont font = appFont;
    font.setPointSizeF(8.0); // the program's font
    QApplication::setFont(font);
    const std::pair<const char *, QStringList> pages[] = {
        // The tour keeps the user's document, a lone row too.
        {"01.html", {"YARDIM", "tek satırınızla birlikte, bulduğu gibi geri koyar"}},
        {"02.html", {"SATIR - 1 :", "SATIR - 3 :"}},
        {"03.html", {"SÜRE :", "SCROLL LOCK"}},
        {"04.html", {"çeyrek saniye", "kısaltır"}},
        {"05.html", {"DEĞİŞTİR", "BÖL", "SENKRONİZE", "KONTROL & TAMİR"}},
    };
    for (const auto &[page, captions] : pages) {
        BalloonWindow balloon(shipped);
        balloon.navigate(QString::fromLatin1(page));
        balloon.show();
        for (const QString &caption : captions)
            EXPECT_TRUE(balloon.Web->toPlainText().contains(caption)) << page << " " << caption.toStdString();
        EXPECT_EQ(balloon.Web->verticalScrollBar()->maximum(), 0) << page << " does not fit";
    }
    QApplication::setFont(appFont);
}

TEST(ShortcutTableTest, LabelsPointAtTheirKeysAndEscCloses)
{
    const Language builtInTexts{QString()}; // no language chosen: the built-in texts
    ShortcutTableWindow window(builtInTexts);
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("Label1(5)"))->text(), "PLAY / PAUSE");
    for (int i = 0; i < ShortcutTableWindow::kLabelCount; ++i) {
        const QRect label = window.Label1[std::size_t(i)]->geometry();
        EXPECT_TRUE(window.rect().contains(label)) << i;
        for (int k = 0; k <= int(ShortcutTableWindow::Key::Decimal); ++k) {
            const auto key = ShortcutTableWindow::Key(k);
            EXPECT_FALSE(label.intersects(ShortcutTableWindow::keyRect(key).translated(window.Image1->pos()))) << i;
        }
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(label.intersects(window.Label1[std::size_t(j)]->geometry())) << i << " " << j;
    }
    // Every legend is whole inside its key, and no line crosses one.
    QList<QRect> legends;
    for (int k = 0; k <= int(ShortcutTableWindow::Key::Decimal); ++k) {
        const auto key = ShortcutTableWindow::Key(k);
        for (const QRect &legend : ShortcutTableWindow::legendRects(key)) {
            EXPECT_TRUE(ShortcutTableWindow::keyRect(key).contains(legend)) << k;
            legends << legend.translated(window.Image1->pos());
        }
    }
    for (const auto &connector : ShortcutTableWindow::connectors()) {
        const QPolygon path = window.connectorPath(connector);
        const QRect key = ShortcutTableWindow::keyRect(connector.key).translated(window.Image1->pos());
        EXPECT_TRUE(key.contains(path.last())) << connector.label;
        EXPECT_TRUE(window.Label1[std::size_t(connector.label)]->geometry().adjusted(0, 0, 1, 1).contains(path.first()))
            << connector.label;
        for (int s = 0; s + 1 < path.size(); ++s) {
            const QLineF segment(path[s], path[s + 1]);
            for (double t = 0; t <= 1; t += 0.01) {
                for (const QRect &legend : legends)
                    ASSERT_FALSE(QRectF(legend).contains(segment.pointAt(t))) << "label " << connector.label;
            }
        }
    }
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(ShortcutTableTest, ListsTheVoiceKeysInEachLanguageClearOfTheOtherLabels)
{
    Language shipped(QStringLiteral(KORV_SOURCE_DIR "/data"));
    for (const auto &[language, snap, fit] : {std::tuple{"", "OTURT", "Dosya menüsü"}, {"Turkish", "OTURT", "Dosya menüsü"},
                                               {"English", "SNAP", "File menu"}}) {
        shipped.setCurrentLanguage(QString::fromLatin1(language));
        ShortcutTableWindow window(shipped);
        window.show();
        const QLabel *voice = window.LblSes;
        EXPECT_TRUE(voice->text().startsWith("F9 : ")) << language;
        EXPECT_TRUE(voice->text().contains(QString::fromUtf8(snap))) << language;
        EXPECT_TRUE(voice->text().contains(QString::fromUtf8(fit))) << language;
        // Whole on the window, in its lines, clear of the labels and the button.
        EXPECT_TRUE(window.rect().contains(voice->geometry())) << language;
        const QRect needed = voice->fontMetrics().boundingRect(voice->contentsRect(), Qt::TextWordWrap, voice->text());
        EXPECT_LE(needed.height(), voice->contentsRect().height()) << language;
        EXPECT_FALSE(voice->geometry().intersects(window.CmdKapat->geometry())) << language;
        for (const QLabel *label : window.Label1)
            EXPECT_FALSE(voice->geometry().intersects(label->geometry())) << language << " " << label->objectName().toStdString();
    }
}

TEST(QuestionWindows, ButtonsSpeakTheWindowsLanguage)
{
    Language shipped(QStringLiteral(KORV_SOURCE_DIR "/data"));
    QtUserDialogs dialogs(shipped, NumberFormat::dot());
    const auto buttons = [](QMessageBox *box) {
        QStringList texts;
        for (QAbstractButton *button : box->buttons())
            texts << button->text();
        texts.sort();
        return texts.join(", ");
    };
    for (const auto &[language, yesNoCancel, yes, ok] : {std::tuple{"Turkish", "Evet, Hayır, İptal", "Evet", "Tamam"},
                                                         {"English", "Cancel, No, Yes", "Yes", "OK"}}) {
        shipped.setCurrentLanguage(QString::fromLatin1(language));
        QString seen;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seen = buttons(box) + " | " + box->defaultButton()->text();
            box->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(dialogs.askYesNoCancel("?", "t"), Answer::No);
        EXPECT_EQ(seen, QString::fromUtf8(yesNoCancel) + " | " + QString::fromUtf8(yes)) << language;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seen = buttons(box);
            box->button(QMessageBox::Yes)->click();
        });
        EXPECT_TRUE(dialogs.askYesNo("?", "t"));
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seen = buttons(box);
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.showMessageBox("!");
        EXPECT_EQ(seen, QString::fromUtf8(ok)) << language;
    }
}

TEST(FrameRateWindow, TheFirstReturnConfirmsTheProposedRate)
{
    TestFolder folder;
    QtUserDialogs dialogs(folder.language, NumberFormat::dot());
    for (const auto &[key, proposal] : {std::pair{Qt::Key_Return, "23.976023976024"}, {Qt::Key_Enter, "25"}}) {
        bool closedByKey = false;
        whenShown<FrameRateDialog>([&, key = key](FrameRateDialog *window) {
            // Where the keyboard is, as the user finds the window.
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
            QWidget *focus = QApplication::focusWidget();
            EXPECT_EQ(focus, window->combo()) << "the rate is where the keyboard is";
            QTest::keyClick(focus ? focus : window, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            closedByKey = !window->isVisible();
            if (!closedByKey)
                window->reject();
        });
        const auto rate = dialogs.askFrameRate(QString::fromLatin1(proposal));
        EXPECT_TRUE(closedByKey) << proposal;
        EXPECT_EQ(rate, QString::fromLatin1(proposal).toDouble()) << proposal;
    }
}

TEST(ProgressWindowTest, StandsBesideTheOwnerAndEscTheButtonOrTheCloseBoxCancelsOnce)
{
    Language shipped(QStringLiteral(KORV_SOURCE_DIR "/data"));
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    QtUserDialogs dialogs(shipped, NumberFormat::dot(), &owner);
    const auto shown = [&owner] { return owner.findChild<ProgressWindow *>(); };
    int cancels = 0;
    for (const auto &[language, button] : {std::pair{"Turkish", "İptal"}, {"English", "Cancel"}}) {
        for (const char *how : {"Esc", "button", "close box"}) {
            shipped.setCurrentLanguage(QString::fromLatin1(language));
            cancels = 0;
            dialogs.beginProgress("Working", "WORK", [&cancels] { ++cancels; });
            ProgressWindow *window = shown();
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(window->isVisible());
            EXPECT_FALSE(window->isModal()); // the user goes on working
            EXPECT_EQ(QStringList({window->windowTitle(), window->LblIs->text(), window->CmdIptal->text()}),
                      QStringList({"WORK", "Working", QString::fromUtf8(button)}));
            dialogs.showProgress(37);
            EXPECT_EQ(window->Ilerleme->value(), 37);
            const QPointer<ProgressWindow> gone(window);
            if (QLatin1String(how) == QLatin1String("Esc"))
                QTest::keyClick(window, Qt::Key_Escape);
            else if (QLatin1String(how) == QLatin1String("button"))
                window->CmdIptal->click();
            else
                window->close();
            EXPECT_EQ(cancels, 1) << language << " " << how;
            // The work's own end after the cancel calls nothing again.
            dialogs.endProgress();
            dialogs.showProgress(50);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(gone.isNull()) << how;
            EXPECT_EQ(cancels, 1) << how;
        }
    }
    // Ended by the work: closed without a cancel; a second begin replaces the first.
    dialogs.beginProgress("One", "1", [&cancels] { ++cancels; });
    dialogs.beginProgress("Two", "2", [&cancels] { ++cancels; });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(owner.findChildren<ProgressWindow *>().size(), 1);
    EXPECT_EQ(shown()->LblIs->text(), "Two");
    dialogs.endProgress();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cancels, 1);
}
