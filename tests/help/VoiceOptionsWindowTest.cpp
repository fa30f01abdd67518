// The options window's box for laying times on the voice: on by default,
// stored as the other options are, its limits refused when they are no
// numbers, its captions in both shipped languages.
#include "document/ProgramInfo.h"
#include "help/OptionsWindow.h"
#include "help/ReadingLimitsBox.h"
#include "locale/LanguageKeys.h"
#include "locale/LanguageMenu.h"
#include "locale/Registry.h"
#include "support/LanguageFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace korv;
using namespace korv::test;

TEST_F(LanguageTest, TheVoiceBoxIsOnByDefaultAndItsLimitsAreStoredWhenTheWindowCloses)
{
    {
        OptionsWindow first(dialogs, folder.language, NumberFormat::comma());
        EXPECT_TRUE(first.ChkSeseOturt->isChecked());
        EXPECT_EQ(first.TxtSesAra->text() + " " + first.TxtSesSure->text(), "2 0,7");
        EXPECT_EQ(first.voiceOptions(), VoiceOptions{});

        first.show();
        QTest::mouseClick(first.ChkSeseOturt, Qt::LeftButton, {}, QPoint(8, first.ChkSeseOturt->height() / 2));
        EXPECT_EQ(GetRegSetting("sesOturt"), "0"); // at once
        first.TxtSesAra->setText("3");
        first.TxtSesSure->setText("1,5");
        EXPECT_EQ(first.voiceOptions(), (VoiceOptions{false, 3, 1.5})); // as typed, for the commands
        EXPECT_EQ(GetRegSetting("sesAraKare"), QString()); // stored only on closing
        QTest::keyClick(first.TxtSesSure, Qt::Key_Escape);
        EXPECT_FALSE(first.isVisible());
    }
    OptionsWindow second(dialogs, folder.language, NumberFormat::dot());
    EXPECT_FALSE(second.ChkSeseOturt->isChecked());
    EXPECT_EQ(second.TxtSesAra->text() + " " + second.TxtSesSure->text(), "3 1.5");
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(LanguageTest, VoiceLimitsThatAreNoNumbersKeepTheWindowOpen)
{
    OptionsWindow window(dialogs, folder.language, NumberFormat::dot());
    window.show();
    for (auto [gap, shortest, gapIsBad] : {std::tuple{"2.5", "0.7", true}, {"-1", "0.7", true}, {"2", "", false},
                                           {"2", "61", false}}) {
        window.TxtSesAra->setText(QString::fromLatin1(gap));
        window.TxtSesSure->setText(QString::fromLatin1(shortest));
        dialogs.notices.clear();
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible()) << gap << " " << shortest;
        ASSERT_EQ(dialogs.notices.size(), 1u) << gap << " " << shortest;
        EXPECT_EQ(dialogs.notices[0].message, shownText("171"));
        // The field to mend has the focus.
        EXPECT_EQ(window.focusWidget(), gapIsBad ? window.TxtSesAra : window.TxtSesSure) << gap << " " << shortest;
        // Until mended, the commands keep what is stored.
        EXPECT_EQ(window.voiceOptions(), VoiceOptions{});
    }
    EXPECT_EQ(GetRegSetting("sesAraKare") + GetRegSetting("sesEnKisa"), QString());
    window.TxtSesSure->setText("0");
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(loadVoiceOptions(), (VoiceOptions{true, 2, 0}));
}

TEST_F(LanguageTest, TheVoiceBoxSpeaksBothShippedLanguages)
{
    useFiles({"English", "Turkish"});
    const std::pair<const char *, QStringList> languages[] = {
        {"English",
         {"LAYING TIMES ON THE VOICE",
          "Snap captures to the voice: keys 4, 5 and 6 move the time to the nearest start or end of speech",
          "Least gap between rows (frames):", "Shortest duration (seconds):"}},
        {"Turkish",
         {"SESE OTURTMA", "Kısayollar 4, 5 ve 6 ile yakalanan zamanı en yakın konuşma başına ya da sonuna oturt",
          "Satırlar arasında en az ara (kare):", "En kısa süre (saniye):"}},
    };
    for (const auto &[language, captions] : languages) {
        folder.language.setCurrentLanguage(QString::fromLatin1(language));
        OptionsWindow window(dialogs, folder.language, NumberFormat::dot());
        window.show();
        EXPECT_EQ(QStringList({window.FrameSes->title(), window.ChkSeseOturt->text(), window.LblSesAra->text(),
                               window.LblSesSure->text()}),
                  captions);
        EXPECT_EQ(cutCaptions(&window), QStringList()) << language;
        // The box lies between the reading limits and the close button.
        EXPECT_GE(window.FrameSes->y(), window.limits->geometry().bottom()) << language;
        EXPECT_GE(window.CmdKapat->y(), window.FrameSes->geometry().bottom()) << language;
        // Held on screen for a look (KORV_TEST_HOLD_MS, when a person drives it).
        QTest::qWait(qEnvironmentVariableIntValue("KORV_TEST_HOLD_MS"));
    }
}
