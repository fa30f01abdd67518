// Windows in the chosen language: the main window, the shortcut table, the
// options and language windows; the language menu; every caption fitting
// its control.
#include "document/ProgramInfo.h"
#include "document/TextCodec.h"
#include "help/AboutWindow.h"
#include "help/ApplyLanguage.h"
#include "help/FilmInfoWaitWindow.h"
#include "help/FrameRateDialog.h"
#include "help/LanguageWindow.h"
#include "help/NoticeWindow.h"
#include "help/OptionsWindow.h"
#include "help/ShortcutTableWindow.h"
#include "locale/BuiltInTexts.h"
#include "locale/IniFile.h"
#include "locale/LanguageKeys.h"
#include "locale/LanguageMenu.h"
#include "support/LanguageFixture.h"
#include <QStringEncoder>

using namespace korv;
using namespace korv::test;

TEST_F(LanguageTest, EveryCaptionFitsItsControlInBothShippedLanguages)
{
    useFiles({"English", "Turkish"});
    for (const char *language : {"Turkish", "English"}) {
        folder.language.setCurrentLanguage(QString::fromLatin1(language));
        Form1 form(folder.language, &dialogs);
        ApplyLanguage(&form, folder.language, dialogs);
        form.applyOwnTexts();
        form.show();
        EXPECT_EQ(cutCaptions(&form), QStringList()) << language;
        // The Scroll Lock text keeps clear of the window's right edge.
        const auto *lock = form.findChild<QLabel *>("ScrollLockState");
        const int textRight = lock->mapTo(&form, lock->contentsRect().topLeft()).x()
            + lock->fontMetrics().horizontalAdvance(lock->text());
        EXPECT_LE(textRight, form.width() - 4) << language;

        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new ShortcutTableWindow(folder.language));
        windows.emplace_back(new OptionsWindow(dialogs, folder.language, NumberFormat::dot()));
        windows.emplace_back(new AboutWindow);
        windows.emplace_back(new FrameRateDialog(QStringLiteral("25"), {}, NumberFormat::dot()));
        windows.emplace_back(new FilmInfoWaitWindow(folder.language, &form));
        windows.emplace_back(new LanguageWindow(folder.language)); // last: it chooses a language itself
        for (const auto &window : windows) {
            window->show();
            EXPECT_EQ(cutCaptions(window.get()), QStringList()) << language << " " << window->objectName().toStdString();
        }
    }
}

TEST_F(LanguageTest, MenuOffersTheFilesAndChoosesTheStoredLanguage)
{
    useFiles({"English", "Turkish"});
    SaveRegSetting("lng", "Turkish");
    Form1 form(folder.language);
    const QStringList builtIn = mainWindowTexts(form);
    const auto menu = [&form] {
        QStringList shown;
        for (QAction *item : form.controls().mnulng) {
            if (item->isVisible())
                shown << item->text() + (item->isChecked() ? "*" : "");
        }
        return shown;
    };
    form.LoadLanguageMenu();
    EXPECT_EQ(menu(), (QStringList{"English", "Turkish*"}));
    EXPECT_EQ(mainWindowTexts(form), builtIn); // the Turkish file holds the built-in texts

    form.controls().mnulng[0]->trigger();
    EXPECT_EQ(folder.language.CurrentLanguage() + " " + GetRegSetting("lng"), "English English");
    EXPECT_EQ(menu(), (QStringList{"English*", "Turkish"}));
    EXPECT_EQ(QStringList({form.controls().CmdFind->text(), form.controls().Sekme->tabText(3), form.listModel().header(1),
                           form.controls().CmdArayiKapat->toolTip()}),
              QStringList({"FIND (F3)", "CHECK && REPAIR", "START", "Keep the subtitle on screen for a SHORTER time"}));
    form.controls().mnulng[0]->trigger(); // the checked item chosen again stays checked
    EXPECT_EQ(menu(), (QStringList{"English*", "Turkish"}));

    // What the window sets itself follows at once: the status bar's hint and
    // Scroll Lock text, and the names a screen reader announces.
    const auto own = [&form] {
        return QStringList({form.statusHint(), form.findChild<QLabel *>("ScrollLockState")->text(),
                            form.controls().Listview->accessibleName(), form.controls().Text1[EditFields::Start]->accessibleName(),
                            form.controls().Command1[1]->accessibleName(), form.controls().ListView1->accessibleName()});
    };
    form.controls().mnulng[1]->trigger();
    form.setStatusHint("015");
    EXPECT_EQ(own(), QStringList({ReadIniString("Msg", "015", shippedFile("Turkish")), "SCROLL LOCK: KAPALI",
                                  "Altyazı listesi", "BAŞLANGIÇ", "İleri", "AVI bilgileri"}));
    form.controls().mnulng[0]->trigger();
    EXPECT_EQ(own(), QStringList({ReadIniString("Msg", "015", shippedFile("English")), "SCROLL LOCK: OFF",
                                  "Subtitle list", "START", "Forward", "AVI details"}));
}

TEST_F(LanguageTest, ALanguageOfferedIsTheFileRead)
{
    // "Deutsch.LNG" is offered as "Deutsch", and that file is what it reads.
    folder.write("Language/Deutsch.LNG", "[Form1]\r\nCmdFind=SUCHEN\r\n[Msg]\r\n001=Kein Treffer\r\n");
    Form1 form(folder.language);
    form.LoadLanguageMenu();
    EXPECT_EQ(form.controls().mnulng[0]->text(), "Deutsch");
    form.controls().mnulng[0]->trigger();
    EXPECT_EQ(form.controls().CmdFind->text(), "SUCHEN");
    EXPECT_EQ(folder.language.LangMessage("001"), "Kein Treffer");
}

TEST_F(LanguageTest, AMissingKeyGivesAnEmptyCaptionAndAmpersandsShowOnce)
{
    folder.write("Language/Test.lng",
                 "[Form1]\r\nLabel1(4)=Four\r\nLabel1(6)=C && D &x\r\nLabel1(7)=A && B\r\nCubuk2-1=F && G\r\n");
    Form1 form(folder.language);
    ApplyLanguage(&form, folder.language, dialogs);
    EXPECT_TRUE(dialogs.messageBoxes.isEmpty());
    EXPECT_EQ(form.controls().Label1[5]->text(), QString());
    EXPECT_EQ(form.controls().Label1[4]->text(), "Four");
    EXPECT_EQ(form.controls().CmdFind->text(), QString());
    // What the user sees: each label draws like a plain label showing "A & B".
    for (QLabel *label : {form.controls().Label1[6], form.controls().Label1[7]}) {
        QLabel plain(label->parentWidget());
        plain.setTextFormat(Qt::PlainText);
        plain.setGeometry(label->geometry());
        plain.setWordWrap(label->wordWrap());
        plain.setAlignment(label->alignment());
        plain.setText(label == form.controls().Label1[6] ? "C & D x" : "A & B");
        EXPECT_EQ(label->grab().toImage(), plain.grab().toImage()) << label->objectName().toStdString();
    }
    auto *button = qobject_cast<QToolButton *>(form.controls().Cubuk2->widgetForAction(form.controls().Cubuk2Buttons[0]));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "F && G"); // a tool button shows "&&" as "&"
}

TEST_F(LanguageTest, OtherWindowsAreFoundByNameAndAMissingControlStopsTheirTurn)
{
    useFiles({"English", "Turkish"});
    folder.language.setCurrentLanguage("English");
    ShortcutTableWindow table(folder.language); // takes the language as it loads
    EXPECT_EQ(table.windowTitle() + "|" + table.CmdKapat->text(), " PROGRAM SHORTCUT KEYS|CLOSE (ESC)");
    delete table.Label1[7];
    folder.language.setCurrentLanguage("Turkish");
    ApplyLanguage(&table, folder.language, dialogs);
    ASSERT_EQ(dialogs.messageBoxes.size(), 1);
    EXPECT_EQ(dialogs.messageBoxes[0],
              QString::fromUtf8("Dil dosyasındaki \"Label1(7)\" anahtarının \"frmKisayollar\" penceresinde karşılığı yok."));
    EXPECT_EQ(table.Label1[5]->text(), "PLAY / PAUSE");
    EXPECT_TRUE(table.Label1[6]->text().startsWith("Filmin o anki"));
    EXPECT_TRUE(table.Label1[8]->text().startsWith("Write the film's")); // Label1(8) and on: untouched
    EXPECT_EQ(table.CmdKapat->text(), "CLOSE (ESC)");

    QWidget wait;
    wait.setObjectName("frmBilgiAliniyor");
    auto *waitLabel = new QLabel(&wait);
    waitLabel->setObjectName("Label1");
    ApplyLanguage(&wait, folder.language, dialogs);
    EXPECT_EQ(waitLabel->text(), "FİLM BİLGİLERİ ALINIYOR. LÜTFEN BEKLEYİNİZ...");
    wait.setObjectName("frmOther");
    waitLabel->setText("kept");
    ApplyLanguage(&wait, folder.language, dialogs);
    EXPECT_EQ(waitLabel->text(), "kept");
}

TEST_F(LanguageTest, LanguageWindowShowsTheTranslatorAndStoresOnlyOnOk)
{
    useFiles({"English", "Turkish"});
    folder.write("Language/Nameless.lng", "[AUTHOR]\r\n[Msg]\r\n");
    {
        LanguageWindow window(folder.language);
        ASSERT_EQ(window.File1->count(), 3);
        EXPECT_EQ(window.Label1->text(), "English\nAuthor :Korvendal Sub Team");
        window.File1->setCurrentRow(1);
        EXPECT_EQ(window.Label1->text(), "Nameless\nAuthor :");
        window.reject();
        EXPECT_EQ(folder.language.CurrentLanguage(), "Nameless");
        EXPECT_EQ(GetRegSetting("lng"), QString());
    }
    LanguageWindow window(folder.language);
    window.File1->setCurrentRow(2);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(GetRegSetting("lng"), "Turkish");
}

TEST_F(LanguageTest, OptionsAreStoredAtOnceAndRestoredAtTheNextStart)
{
    SaveRegSetting(QStringLiteral("check1IND2"), QStringLiteral("x")); // no number: left off, silently
    {
        OptionsWindow first(dialogs, folder.language, NumberFormat::dot());
        for (QCheckBox *box : first.Check1)
            EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(first.Text1->text(), QStringLiteral("2"));

        first.show();
        const auto click = [&first](int box) {
            QTest::mouseClick(first.Check1[box], Qt::LeftButton, {}, QPoint(8, first.Check1[box]->height() / 2));
        };
        click(3);
        click(0);
        EXPECT_EQ(GetRegSetting("check1IND3") + GetRegSetting("check1IND0"), "11");
        EXPECT_EQ(GetRegSetting("text1"), QString()); // only on closing
        click(0);
        EXPECT_EQ(GetRegSetting("check1IND0"), "0");

        first.Text1->selectAll();
        QTest::keyClicks(first.Text1, QStringLiteral("3.5"));
        QTest::keyClick(first.Text1, Qt::Key_Escape);
        EXPECT_FALSE(first.isVisible());
        EXPECT_TRUE(dialogs.notices.empty());
    }
    // The next run: a new window over the same store.
    OptionsWindow second(dialogs, folder.language, NumberFormat::dot());
    EXPECT_EQ(second.Text1->text(), QStringLiteral("3.5"));
    for (int i = 0; i < OptionsWindow::kCheckCount; ++i)
        EXPECT_EQ(second.Check1[std::size_t(i)]->isChecked(), i == 3) << i;
}

TEST_F(LanguageTest, ASecondsFieldThatIsNoNumberKeepsTheWindowOpen)
{
    Form1 form(folder.language);
    form.show();
    OptionsWindow *window = form.controls().frmSecenekler;
    QStringList notices;
    // The notice window comes up modally: read it, then close it with Enter.
    auto answerNotice = [&] {
        whenShown<NoticeWindow>([&](NoticeWindow *notice) {
            notices << notice->windowTitle() + QLatin1Char('|') + notice->message();
            QTest::keyClick(notice, Qt::Key_Return);
        });
    };
    bool openWithFocusInField = false, openAfterEsc = false;
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
    const QString refusal = ProgramInfo::kNoticeTitle + QLatin1Char('|') + shownText("014");
    EXPECT_EQ(notices, (QStringList{refusal, refusal}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(GetRegSetting(QStringLiteral("text1")), QStringLiteral("4"));

    // The main window's commands read the options window's boxes.
    window->Check1[1]->setChecked(true);
    EXPECT_EQ(std::pair(form.workspace().option(Option::PauseAfterCapture), form.workspace().option(Option::EndAfterStart)), std::pair(true, false));
    EXPECT_EQ(form.workspace().optionSeconds(), QStringLiteral("4"));
}

TEST_F(LanguageTest, CaptionsFollowTheLanguageEachTimeTheWindowShows)
{
    folder.write(QStringLiteral("Language/Test.lng"),
                 "[frmSecenekler]\r\nCheck1(0)=Follow\r\nLabel1=sec && more\r\nCmdKapat=CLOSE\r\n");
    OptionsWindow window(dialogs, folder.language, NumberFormat::dot());
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
