// The options window: stored the moment a box changes, restored at the next
// start, the seconds field refused with "014" when it is not a number.
#include "help/NoticeWindow.h"
#include "help/ProgramInfo.h"
#include "locale/OptionsWindow.h"
#include "support/WidgetTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class OptionsWindowTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(OptionsWindowTest, OptionsAreStoredAtOnceAndRestoredAtTheNextStart)
{
    SaveRegSetting(QStringLiteral("check1IND2"), QStringLiteral("x")); // no number: left off, silently
    {
        OptionsWindow first(dialogs);
        for (QCheckBox *box : first.Check1)
            EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(first.Text1->text(), QStringLiteral("2"));

        first.show();
        QTest::mouseClick(first.Check1[3], Qt::LeftButton, {}, QPoint(8, first.Check1[3]->height() / 2));
        QTest::mouseClick(first.Check1[0], Qt::LeftButton, {}, QPoint(8, first.Check1[0]->height() / 2));
        EXPECT_EQ(GetRegSetting(QStringLiteral("check1IND3")), QStringLiteral("1"));
        EXPECT_EQ(GetRegSetting(QStringLiteral("text1")), QString()); // only on closing
        QTest::mouseClick(first.Check1[0], Qt::LeftButton, {}, QPoint(8, first.Check1[0]->height() / 2));
        EXPECT_EQ(GetRegSetting(QStringLiteral("check1IND0")), QStringLiteral("0"));

        first.Text1->selectAll();
        QTest::keyClicks(first.Text1, QStringLiteral("3.5"));
        QTest::keyClick(first.Text1, Qt::Key_Escape);
        EXPECT_FALSE(first.isVisible());
        EXPECT_TRUE(dialogs.notices.empty());
    }
    // The next run: a new window over the same store.
    OptionsWindow second(dialogs);
    EXPECT_EQ(second.Text1->text(), QStringLiteral("3.5"));
    for (int i = 0; i < OptionsWindow::kCheckCount; ++i)
        EXPECT_EQ(second.Check1[std::size_t(i)]->isChecked(), i == 3) << i;
}

TEST_F(OptionsWindowTest, ASecondsFieldThatIsNoNumberKeepsTheWindowOpen)
{
    Form1 form;
    form.show();
    OptionsWindow *window = form.frmSecenekler;
    QStringList notices;
    // The notice window comes up modally: read it, then close it with Enter.
    auto answerNotice = [&] {
        QTimer::singleShot(0, [&] {
            if (auto *notice = qobject_cast<NoticeWindow *>(QApplication::activeModalWidget())) {
                notices << notice->windowTitle() + QLatin1Char('|') + notice->message();
                QTest::keyClick(notice, Qt::Key_Return);
            }
        });
    };
    bool openWithFocusInField = false;
    bool openAfterEsc = false;
    QTimer::singleShot(0, window, [&] {
        window->Text1->selectAll();
        QTest::keyClicks(window->Text1, QStringLiteral("abc"));
        answerNotice();
        QTest::mouseClick(window->CmdKapat, Qt::LeftButton);
        openWithFocusInField = window->isVisible() && window->focusWidget() == window->Text1;
        answerNotice();
        QTest::keyClick(window->Text1, Qt::Key_Escape);
        openAfterEsc = window->isVisible();
        window->Text1->setText(QStringLiteral("4"));
        QTest::keyClick(window->Text1, Qt::Key_Escape);
    });
    QTimer::singleShot(10000, window, [&] { window->done(QDialog::Rejected); }); // never hang
    form.mnusecenekler_Click();

    EXPECT_TRUE(openWithFocusInField);
    EXPECT_TRUE(openAfterEsc);
    const QString refusal = ProgramInfo::kNoticeTitle + QLatin1Char('|') + msg("014");
    EXPECT_EQ(notices, (QStringList{refusal, refusal}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(GetRegSetting(QStringLiteral("text1")), QStringLiteral("4"));

    // The main window's commands read the options window's boxes.
    window->Check1[1]->setChecked(true);
    EXPECT_TRUE(form.workspace().optionFlag(1));
    EXPECT_FALSE(form.workspace().optionFlag(2));
    EXPECT_EQ(form.workspace().optionSeconds(), QStringLiteral("4"));
}

TEST_F(OptionsWindowTest, CaptionsFollowTheLanguageEachTimeTheWindowShows)
{
    folder.write(QStringLiteral("Language/Test.lng"),
                 "[frmSecenekler]\r\nCheck1(0)=Follow\r\nLabel1=sec && more\r\nCmdKapat=CLOSE\r\n");
    OptionsWindow window(dialogs);
    window.show();
    EXPECT_EQ(window.Check1[0]->text(), QStringLiteral("Follow"));
    EXPECT_EQ(window.Check1[1]->text(), QString());
    EXPECT_EQ(window.Label1->text(), QStringLiteral("sec & more"));
    EXPECT_EQ(window.CmdKapat->text(), QStringLiteral("CLOSE"));
    window.hide();
    folder.write(QStringLiteral("Language/Test.lng"), "[frmSecenekler]\r\nCmdKapat=KAPAT\r\n");
    window.show();
    EXPECT_EQ(window.CmdKapat->text(), QStringLiteral("KAPAT"));
}

