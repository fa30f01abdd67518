#include "document/FrameRateDialog.h"
#include "help/NoticeWindow.h"
#include "support/WidgetTest.h"

using namespace korv;
using namespace korv::test;

TEST(NoticeWindow, ShowsTheMessageAndTitleEnterClosesAndThePointerIsNormalMeanwhile)
{
    QtUserDialogs dialogs;
    dialogs.setBusy(true);
    QString shownText, shownTitle;
    bool defaultIsTamam = false;
    Qt::CursorShape during = Qt::WaitCursor;
    whenShown<NoticeWindow>([&](NoticeWindow *w) {
        shownText = w->findChild<QPlainTextEdit *>("Text1(2)")->toPlainText();
        shownTitle = w->windowTitle();
        auto *ok = w->findChild<QPushButton *>("Command1");
        defaultIsTamam = ok->isDefault() && ok->text() == "TAMAM";
        during = QApplication::overrideCursor()->shape();
        QTest::keyClick(w, Qt::Key_Return);
    });
    dialogs.showNotice(QStringLiteral("Birinci satır\r\nİkinci satır"), QStringLiteral("Korvendal Production"));
    EXPECT_EQ(shownText, "Birinci satır\nİkinci satır");
    EXPECT_EQ(shownTitle, "Korvendal Production");
    EXPECT_TRUE(defaultIsTamam);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialogs.setBusy(false);
}

TEST(NoticeWindow, AnimationPlaysTheFiveFramesThenRests)
{
    NoticeWindow window;
    window.show();
    std::vector<int> seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (seen.empty() || seen.back() != window.frontFrame())
            seen.push_back(window.frontFrame());
    });
    sampler.start(20);
    QTest::qWait(1800);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 0}));
    EXPECT_NE(NoticeWindow::animationFrame(0).toImage(), NoticeWindow::animationFrame(2).toImage());
}

TEST(FrameRateWindow, ProposesAndRefusesWhatIsNoRate)
{
    TestFolder folder;
    QStringList notices;
    FrameRateDialog dialog(QStringLiteral("23.976023976024"), [&](const QString &m, const QString &) { notices << m; });
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
    combo->setEditText(QStringLiteral("0"));
    dialog.confirm();
    EXPECT_EQ(notices.size(), 2); // a rate of 0 would write every frame as 0
    combo->setEditText(QStringLiteral("29.97"));
    dialog.confirm();
    EXPECT_EQ(dialog.rate(), 29.97);
    EXPECT_FALSE(dialog.isVisible());

    // The file dialogs' filters in Qt's form.
    EXPECT_EQ(QtUserDialogs::qtFilter("Avi Film *.avi,*.dat|*.avi;*.dat"), "Avi Film *.avi,*.dat (*.avi *.dat)");
    EXPECT_EQ(QtUserDialogs::qtFilter("SubViewer v2 / Micro DVD Files *.*|*.*"), "SubViewer v2 / Micro DVD Files *.* (*)");
}
