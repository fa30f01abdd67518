#include "app/FirstRun.h"
#include "app/Form1.h"
#include "app/Lifecycle.h"
#include "app/Registry.h"
#include "help/Messages.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    TestFolder folder;
    QStringList steps;

    void SetUp() override
    {
        folder.write("Language/English.lng", "[AUTHOR]\r\nName=Team\r\n");
        folder.write("Language/Turkish.lng", "[AUTHOR]\r\nName=Ekip\r\n");
    }
    FirstActivationSteps recorded()
    {
        return {[this] { steps << "shortcut table"; }, [this] { steps << "tour"; }};
    }
};

} // namespace

TEST_F(LifecycleTest, AFirstRunInTurkishShowsTableThenTourThenRecordsIt)
{
    setCurrentLanguage("Turkish");
    EXPECT_FALSE(FirstRunDone());
    EXPECT_TRUE(runFirstActivation(recorded()));
    EXPECT_EQ(steps, (QStringList{"shortcut table", "tour"}));
    EXPECT_EQ(folder.read("set.cfg"), "1\r\n");
    // The next run skips them.
    EXPECT_FALSE(runFirstActivation(recorded()));
    EXPECT_EQ(steps.size(), 2);
}

TEST_F(LifecycleTest, OtherLanguagesHaveNoTourAndAZeroMeansNotDone)
{
    folder.write("set.cfg", "0\r\n");
    setCurrentLanguage("English");
    EXPECT_TRUE(runFirstActivation(recorded()));
    EXPECT_EQ(steps, QStringList{"shortcut table"});
    EXPECT_TRUE(FirstRunDone());
}

TEST_F(LifecycleTest, FirstRunFromTheLanguageWindowToSetCfg)
{
    ScriptedDialogs ui;
    Form1 form(&ui);
    form.firstActivationSteps = recorded();
    // The language window, answered by choosing English and OK.
    form.showLanguageWindow = [this] {
        steps << "language window";
        setCurrentLanguage("English");
        SaveRegSetting("lng", "English");
    };
    form.Form_Load();
    EXPECT_EQ(GetRegSetting("version"), "1.1");
    EXPECT_EQ(GetRegSetting("lng"), "English");
    form.show();
    steps << "main window";
    QApplication::setActiveWindow(&form);
    QTRY_COMPARE(steps.size(), 3);
    EXPECT_EQ(steps, (QStringList{"language window", "main window", "shortcut table"}));
    EXPECT_TRUE(form.FirstActivationDone);
    EXPECT_EQ(folder.read("set.cfg"), "1\r\n");
    // The stored language was applied and checked in the menu.
    EXPECT_EQ(CurrentLanguage(), "English");
    EXPECT_TRUE(form.mnulng[0]->isChecked());
    EXPECT_EQ(form.mnulng[0]->text(), "English");
}

TEST_F(LifecycleTest, ClosingWithChangesAsksAndCancelKeepsTheWindow)
{
    ScriptedDialogs ui;
    Form1 form(&ui);
    form.firstActivationSteps = {};
    form.show();
    form.Text1[EditFields::Line1]->setFocus();
    QTest::keyClicks(form.Text1[EditFields::Line1], "Merhaba");
    ASSERT_TRUE(form.workspace().list.isModified());

    ui.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.questions.back().message, msg("021"));

    // Yes with a cancelled save dialog keeps it open too.
    ui.yesNoCancel = {Answer::Yes};
    ui.saveAnswers = {FileDialogResult::cancelled()};
    ui.yesNo.clear();
    form.workspace().list.setCell(0, ColStart, "1");
    form.workspace().list.setCell(0, ColEnd, "2");
    EXPECT_FALSE(form.close());

    ui.yesNoCancel = {Answer::No};
    bool stopped = false;
    form.stopFilm = [&] { stopped = true; };
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(stopped);
}

TEST_F(LifecycleTest, AnUnchangedDocumentClosesWithoutAQuestion)
{
    ScriptedDialogs ui;
    Form1 form(&ui);
    form.firstActivationSteps = {};
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(LifecycleTest, ASubtitleFileNamedAtStartIsOpened)
{
    ScriptedDialogs ui;
    Form1 form(&ui);
    folder.write("film.sub", "{25}{50}Bir\r\n{75}{100}İki\r\n");
    ui.frameRates = {25.0};
    form.openFromCommandLine(folder.filePath("film.sub"));
    EXPECT_EQ(form.workspace().list.count(), 2);
    EXPECT_EQ(form.Text1[EditFields::Line1]->text(), "Bir");
    EXPECT_EQ(form.workspace().currentSubtitleFile, folder.filePath("film.sub"));
}
