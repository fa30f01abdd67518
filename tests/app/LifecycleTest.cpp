// The settings store, set.cfg, the first run, closing with unsaved work and
// a file named on the command line.
#include "app/StopSignals.h"
#include "commands/FilmCommands.h"
#include "commands/LanguageStartup.h"
#include "commands/RecoveryCopies.h"
#include "locale/FirstRun.h"
#include "locale/LanguageMenu.h"
#include "locale/MessageKeys.h"
#include "locale/ProgramFiles.h"
#include "support/TestFilms.h"
#include "support/WidgetTest.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <csignal>

using namespace korv;
using namespace korv::test;

namespace {

class LifecycleTest : public Form1Test {
protected:
    QStringList steps;

    LifecycleTest()
    {
        folder.write("Language/English.lng", "[AUTHOR]\r\nName=Team\r\n");
        folder.write("Language/Turkish.lng", "[AUTHOR]\r\nName=Ekip\r\n");
        form.firstActivationSteps = {[this] { steps << "shortcut table"; }, [this] { steps << "tour"; }};
    }
    void writeStore(const QByteArray &ini)
    {
        QDir().mkpath(QFileInfo(settingsFile(kProgramKey)).absolutePath());
        QFile file(settingsFile(kProgramKey));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }
};

} // namespace

TEST_F(LifecycleTest, SettingsReadBackOnlyStringsCutAtAZeroCharacterAndFailSilently)
{
    // A folder where the file should be: nothing can be read or written.
    QDir().mkpath(settingsFile(kProgramKey));
    SaveRegSetting("lng", "English");
    EXPECT_EQ(GetRegSetting("lng"), QString());
    QDir().rmdir(settingsFile(kProgramKey));

    EXPECT_EQ(GetRegSetting("lng"), QString());
    const QString awkward = QStringLiteral("Türkçe, ölçü; a\\b @x =y");
    SaveRegSetting("lng", awkward);
    EXPECT_EQ(GetRegSetting("lng"), awkward);
    SaveRegSetting("version", QStringLiteral("1") + QChar(u'\0') + QStringLiteral(".1"));
    EXPECT_EQ(GetRegSetting("version"), "1");
    EXPECT_TRUE(QFile::exists(folder.configPath() + "/Korvendal/Altyazi.ini")); // the private store

    writeStore("[General]\r\nlist=a,b\r\nbytes=@ByteArray(xy)\r\nrect=@Rect(1 2 3 4)\r\ntext1=42\r\n");
    for (const char *name : {"list", "bytes", "rect", "lng"})
        EXPECT_EQ(GetRegSetting(name), QString()) << name;
    EXPECT_EQ(GetRegSetting("text1"), "42");
    static const char damaged[] = "[Gen\x01\xFF\r\n=\r\nno equals sign\r\n\0\0\0";
    writeStore(QByteArray(damaged, sizeof damaged - 1));
    EXPECT_EQ(GetRegSetting("text1"), QString());
    SaveRegSetting("lng", "English");
    EXPECT_EQ(GetRegSetting("lng"), "English");
}

TEST_F(LifecycleTest, FirstRunIsDoneOnlyWhenSetCfgStartsWithOne)
{
    const QString program = folder.filePath("");
    QList<bool> done{FirstRunDone(program)}; // missing
    for (const char *content : {"0\r\n", "", "10\r\n", " 1\r\n", "1\r\nanything"}) {
        folder.write(kFirstRunFileName, content);
        done << FirstRunDone(program);
    }
    EXPECT_EQ(done, QList<bool>({false, false, false, false, false, true}));

    // Beside the program, or in the configuration folder when that cannot be written.
    const QString readOnly = folder.filePath("missing/folder");
    EXPECT_FALSE(FirstRunDone(readOnly));
    ASSERT_TRUE(WriteFirstRunDone(readOnly));
    EXPECT_TRUE(FirstRunDone(readOnly));
    QFile written(folder.configPath() + "/Korvendal/set.cfg");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("1\r\n"));
    // A program folder that can be written decides alone: without set.cfg
    // beside the program the first run comes back.
    QFile::remove(folder.filePath(kFirstRunFileName));
    EXPECT_FALSE(FirstRunDone(program));
}

TEST_F(LifecycleTest, AnInstalledProgramFindsItsFilesUnderShareAndMarksTheFirstRunInTheUsersFolderOnly)
{
    // <prefix>/bin beside <prefix>/share/korvendal-sub; the bin folder can be
    // written, as it can for root.
    folder.write("usr/share/korvendal-sub/Language/English.lng", "[AUTHOR]\r\nName=Team\r\n");
    folder.write("usr/share/korvendal-sub/Help/01.html", "<p>1</p>");
    QDir().mkpath(folder.filePath("usr/bin"));
    const ProgramFiles installed = locateProgramFiles(folder.filePath("usr/bin"));
    EXPECT_EQ(installed.dataFolder, folder.filePath("usr/share/korvendal-sub"));
    EXPECT_EQ(installed.firstRunFolder, QString());

    Language language(installed);
    EXPECT_EQ(language.filePath("English"), folder.filePath("usr/share/korvendal-sub/Language/English.lng"));
    language.setCurrentLanguage("English");
    EXPECT_TRUE(runFirstActivation(language, form.firstActivationSteps));
    EXPECT_EQ(steps, QStringList{"shortcut table"});
    EXPECT_FALSE(QFile::exists(folder.filePath("usr/bin/set.cfg"))); // nothing the package does not own
    QFile mark(folder.configPath() + "/Korvendal/set.cfg");
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
    EXPECT_EQ(mark.readAll(), "1\r\n");
    mark.close();
    EXPECT_FALSE(runFirstActivation(language, form.firstActivationSteps));

    // Only the user's mark counts: not one in the folder the program was
    // started from, nor one beside it.
    ASSERT_TRUE(mark.remove());
    folder.write("usr/bin/set.cfg", "1\r\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.filePath("usr/bin"));
    const bool done = FirstRunDone(language.firstRunFolder());
    QDir::setCurrent(previous);
    EXPECT_FALSE(done);

    // A "Language" folder beside the program (the build folder) wins, and
    // set.cfg goes beside it; with neither, the program's own folder serves.
    folder.write("usr/bin/Language/Turkish.lng", "[AUTHOR]\r\nName=Ekip\r\n");
    const ProgramFiles beside = locateProgramFiles(folder.filePath("usr/bin"));
    EXPECT_EQ(beside.dataFolder, folder.filePath("usr/bin"));
    EXPECT_EQ(beside.firstRunFolder, folder.filePath("usr/bin"));
    QDir().mkpath(folder.filePath("opt/bin"));
    const ProgramFiles bare = locateProgramFiles(folder.filePath("opt/bin"));
    EXPECT_EQ(bare.dataFolder, folder.filePath("opt/bin"));
    EXPECT_EQ(bare.firstRunFolder, folder.filePath("opt/bin"));
}

TEST_F(LifecycleTest, AFirstRunShowsTheTableAndInTurkishTheTourThenRecordsIt)
{
    for (const QString language : {"Turkish", "English"}) {
        folder.write(kFirstRunFileName, "0\r\n");
        steps.clear();
        folder.language.setCurrentLanguage(language);
        EXPECT_TRUE(runFirstActivation(folder.language, form.firstActivationSteps));
        EXPECT_EQ(steps, (language == "Turkish" ? QStringList{"shortcut table", "tour"} : QStringList{"shortcut table"}));
        EXPECT_EQ(folder.read(kFirstRunFileName), "1\r\n");
        EXPECT_FALSE(runFirstActivation(folder.language, form.firstActivationSteps)); // the next run skips them
        EXPECT_EQ(steps.size(), language == "Turkish" ? 2 : 1);
    }
}

TEST_F(LifecycleTest, StartUpShowsTheLanguageWindowOnlyOnAFirstRun)
{
    LanguageMenu menu(folder.language);
    int shown = 0;
    // The language window's OK stores the choice; the menu then applies it.
    const auto chooseTest = [&] {
        ++shown;
        SaveRegSetting("lng", "Test");
    };
    RunLanguageStartup(folder.filePath(""), menu, chooseTest);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(GetRegSetting("version"), "1.1");
    EXPECT_EQ(folder.language.CurrentLanguage(), "Test");
    EXPECT_TRUE(menu.item(1).checked);
    folder.write(kFirstRunFileName, "0\r\n");
    RunLanguageStartup(folder.filePath(""), menu, chooseTest);
    EXPECT_EQ(shown, 2);
    folder.write(kFirstRunFileName, "1\r\n");
    SaveRegSetting("lng", "English");
    RunLanguageStartup(folder.filePath(""), menu, chooseTest);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(folder.language.CurrentLanguage(), "English");
}

TEST_F(LifecycleTest, FirstRunFromTheLanguageWindowToSetCfg)
{
    // The language window, answered by choosing English and OK.
    form.showLanguageWindow = [this] {
        steps << "language window";
        folder.language.setCurrentLanguage("English");
        SaveRegSetting("lng", "English");
    };
    form.Form_Load();
    EXPECT_EQ(GetRegSetting("version"), "1.1");
    EXPECT_EQ(GetRegSetting("lng"), "English");
    form.show();
    steps << "main window";
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(waitUntil([&] { return steps.size() == 3; }));
    EXPECT_EQ(steps, (QStringList{"language window", "main window", "shortcut table"}));
    EXPECT_TRUE(form.FirstActivationDone);
    EXPECT_EQ(folder.read(kFirstRunFileName), "1\r\n");
    // The stored language was applied and checked in the menu.
    EXPECT_EQ(folder.language.CurrentLanguage(), "English");
    EXPECT_EQ(form.controls().mnulng[0]->text() + (form.controls().mnulng[0]->isChecked() ? " checked" : ""), "English checked");
}

TEST_F(LifecycleTest, ClosingAsksOnlyWithChangesAndCancelKeepsTheWindow)
{
    form.firstActivationSteps = {};
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(ui.questions.empty());

    form.show();
    form.controls().Text1[EditFields::Line1]->setFocus();
    QTest::keyClicks(form.controls().Text1[EditFields::Line1], "Merhaba");
    ASSERT_TRUE(ws.list.isModified());
    ui.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.questions.back().message, shownText("021"));
    ui.yesNoCancel = {Answer::Yes}; // with a cancelled save dialog it stays open too
    ui.saveAnswers = {FileDialogResult::cancelled()};
    ws.list.setCell(0, ColStart, "1");
    ws.list.setCell(0, ColEnd, "2");
    EXPECT_FALSE(form.close());
    ui.yesNoCancel = {Answer::No};
    bool stopped = false;
    form.stopFilm = [&] { stopped = true; };
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(stopped);
}

TEST_F(LifecycleTest, OnAFirstRunAFileNamedAtStartOpensAfterTheTour)
{
    folder.write("film.txt", "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nBir\r\n\r\n"
                             "00:00:03.00,00:00:04.00\r\nİki\r\n\r\n");
    form.firstActivationSteps.startHelpTour = [this] { steps << QStringLiteral("tour over %1 row").arg(ws.list.count()); };
    form.showLanguageWindow = [] {};
    form.Form_Load();
    folder.language.setCurrentLanguage("Turkish");
    form.openAtStart(folder.filePath("film.txt"));
    form.show();
    ASSERT_TRUE(waitUntil([&] { return ws.list.count() == 2; }));
    EXPECT_EQ(steps, (QStringList{"shortcut table", "tour over 1 row"}));
    EXPECT_TRUE(ui.notices.empty()) << ui.lastNotice().toStdString();
    EXPECT_EQ(form.controls().Text1[EditFields::Line1]->text(), "Bir");
}

TEST_F(LifecycleTest, ASubtitleFileAndAFilmNamedAtStartBothOpen)
{
    const QString film = testFilm(TestFilm::Mkv23976);
    ASSERT_FALSE(film.isEmpty());
    folder.write("film.txt", "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nBir\r\n\r\n");
    form.firstActivationSteps = {};
    form.showLanguageWindow = [] {};
    form.Form_Load();
    form.openAtStart(folder.filePath("film.txt"));
    form.openFilmAtStart(film);
    form.show();
    ASSERT_TRUE(waitUntil([&] { return ws.film.path() == film; }));
    EXPECT_EQ(ws.list.count(), 1);
    EXPECT_EQ(form.windowTitle(), film);
    EXPECT_EQ(form.controls().Label4->text(), "160x90");
    EXPECT_DOUBLE_EQ(ws.frameRates.film, 24000.0 / 1001.0);
    EXPECT_TRUE(ui.notices.empty()) << ui.lastNotice().toStdString();

    // A film alone, with no subtitle file, opens too.
    Form1 alone(folder.language, &ui);
    alone.firstActivationSteps = {};
    alone.showLanguageWindow = [] {};
    alone.Form_Load();
    alone.openFilmAtStart(film);
    alone.show();
    ASSERT_TRUE(waitUntil([&] { return alone.workspace().film.path() == film; }));
    EXPECT_EQ(alone.workspace().list.count(), 1); // its first, empty row
}

TEST_F(LifecycleTest, RecoveryCopyIsWrittenOnLeavingTheWindowAndGoesOnClosing)
{
    form.firstActivationSteps = {};
    form.show();
    QTest::keyClicks(form.controls().Text1[EditFields::Line1], "Merhaba");
    QEvent leave(QEvent::WindowDeactivate);
    QApplication::sendEvent(&form, &leave);
    form.recovery().waitForWrites();
    QFile copy(form.recovery().copyPath());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copy.readAll().contains("Merhaba"));
    copy.close();

    ui.yesNoCancel = {Answer::No}; // leave the changes unsaved
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(QFile::exists(form.recovery().copyPath()));
}

TEST_F(LifecycleTest, LeftWorkIsOfferedBeforeTheFileNamedAtStart)
{
    RecoveryCopy left;
    left.rows = {{"1", "1", "2", "kurtarılan"}};
    left.selected = 0;
    left.format = "subviewer";
    left.written = QDateTime::currentDateTime();
    QDir().mkpath(RecoveryCopies::defaultFolder());
    QFile file(QDir(RecoveryCopies::defaultFolder()).filePath("gone.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(recoveryCopyJson(left));
    file.close();
    folder.write("film.txt", "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nBir\r\n\r\n");

    form.showLanguageWindow = [] {};
    form.Form_Load();
    form.openAtStart(folder.filePath("film.txt"));
    // Bring it back; then keep it rather than open the file over it.
    ui.yesNoCancel = {Answer::Yes, Answer::Cancel};
    form.show();
    ASSERT_TRUE(waitUntil([&] { return ui.questions.size() == 2; }));
    EXPECT_TRUE(ui.questions[0].message.contains(ws.language.LangText(QStringLiteral("080")) + ", 1 "))
        << ui.questions[0].message.toStdString();
    EXPECT_EQ(ui.questions[1].message, ws.language.LangText(QStringLiteral("021")));
    EXPECT_EQ(form.controls().Text1[EditFields::Line1]->text(), "kurtarılan");
    EXPECT_TRUE(ws.list.isModified());
}

TEST(DesktopEntry, ClaimsTheSubtitleFormatsItReadsAndNotEveryTextFile)
{
    QFile entry(QStringLiteral(KORV_SOURCE_DIR "/data/korvendal-sub.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QStringList types;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            types = QString::fromUtf8(line.mid(9)).split(';', Qt::SkipEmptyParts);
    }
    EXPECT_EQ(types, (QStringList{"text/x-microdvd", "text/x-subviewer", "application/x-subrip", "text/vtt"}));
}

TEST_F(LifecycleTest, ASubtitleFileNamedAtStartIsOpened)
{
    folder.write("film.sub", "{25}{50}Bir\r\n{75}{100}İki\r\n");
    ui.frameRates = {25.0};
    form.openFromCommandLine(folder.filePath("film.sub"));
    EXPECT_EQ(ws.list.count(), 2);
    EXPECT_EQ(form.controls().Text1[EditFields::Line1]->text(), "Bir");
    EXPECT_EQ(ws.currentSubtitleFile, folder.filePath("film.sub"));
}

TEST_F(LifecycleTest, ASignalToStopClosesWithoutAskingAndKeepsTheChangesForTheNextStart)
{
    form.firstActivationSteps = {};
    form.show();
    QTest::keyClicks(form.controls().Text1[EditFields::Line1], "Merhaba");
    ASSERT_TRUE(ws.list.isModified());
    ASSERT_FALSE(QFile::exists(form.recovery().copyPath())) << "no copy yet: its period is not over";
    bool stopped = false, ended = false;
    form.stopFilm = [&] { stopped = true; };
    form.endRun = [&] { ended = true; }; // the program itself is tried below

    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, &form, &Form1::endBySignal);
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }));
    EXPECT_TRUE(ui.questions.empty()) << "no one is there to answer";
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(ended);
    QFile copy(form.recovery().copyPath());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << "the changes were not kept";
    EXPECT_TRUE(copy.readAll().contains("Merhaba"));
}

TEST(EditorProgram, EndsOnSigtermOrSighupLeavingNoLockBehind)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        const auto locks = [&home] {
            QStringList found;
            QDirIterator it(home.path(), {"*.lock"}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                found << it.next();
            return found;
        };
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KORV_RUNTIME_DIR "/korvendal-sub"), {});
        ASSERT_TRUE(program.waitForStarted());
        // The recovery copy's lock is taken as the window is made.
        ASSERT_TRUE(waitUntil([&] { return !locks().isEmpty(); }, 20000)) << program.readAllStandardError().constData();
        QTest::qWait(300); // the first run's window comes up
        ASSERT_EQ(::kill(pid_t(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(program.exitCode(), 0) << signal;
        EXPECT_EQ(locks(), QStringList()) << signal;
    }
}

TEST_F(LifecycleTest, TheStatusBarSaysWhenNoRecoveryCopiesCanBeKept)
{
    auto *state = form.findChild<QLabel *>("RecoveryState");
    ASSERT_TRUE(state);
    form.show();
    EXPECT_FALSE(state->isVisible());
    folder.write("Language/Other.lng", "[Msg]\r\n016=" + QByteArray(200, 'h') + "\r\n270=none kept in %1\r\n271=NONE KEPT\r\n");
    folder.language.setCurrentLanguage("Other");
    emit form.recovery().copiesCannotBeKept("/no/such/folder");
    EXPECT_TRUE(state->isVisible());
    EXPECT_EQ(state->text(), "NONE KEPT");
    // Whole, beside a long hint, on the status bar.
    form.setStatusHint(msg::FieldsHint);
    QTest::qWait(50);
    QStatusBar *bar = form.controls().Durum;
    EXPECT_GE(state->width(), state->sizeHint().width());
    EXPECT_TRUE(bar->rect().contains(state->geometry())) << state->x() << " " << state->width();
    EXPECT_EQ(state->toolTip(), "none kept in " + QDir::toNativeSeparators("/no/such/folder"));
    // It follows a change of language.
    folder.language.setCurrentLanguage("Test");
    form.applyOwnTexts();
    EXPECT_EQ(state->text(), shownText("271"));
}

TEST_F(LifecycleTest, QtsOwnWordsInTheFileChooserFollowTheWindowsLanguage)
{
    // The file chooser and its "replace the file?" question are Qt's: they
    // speak the language chosen in the menu, not the system's.
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    const auto replace = [] { return QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"); };
    SaveRegSetting("lng", "Turkish");
    folder.write(kFirstRunFileName, "1\r\n");
    form.Form_Load();
    ASSERT_EQ(folder.language.CurrentLanguage(), "Turkish");
    EXPECT_EQ(lookIn(), "Arama konumu:");
    EXPECT_EQ(replace(), "%1 zaten var.\nDeğiştirmek istiyor musunuz?");
    int english = -1;
    for (int i = 0; i < LanguageMenu::kItemCount; ++i)
        if (form.controls().mnulng[std::size_t(i)]->text() == "English")
            english = i;
    ASSERT_GE(english, 0);
    form.mnulng_Click(english);
    EXPECT_EQ(folder.language.CurrentLanguage(), "English");
    EXPECT_EQ(lookIn(), "Look in:");
    EXPECT_EQ(replace(), "%1 already exists.\nDo you want to replace it?");
}
