// Language files, the language menu, ApplyLanguage and the language window.
#include "app/Form1.h"
#include "app/Registry.h"
#include "document/TextCodec.h"
#include "help/Messages.h"
#include "locale/ApplyLanguage.h"
#include "locale/IniFile.h"
#include "locale/LanguageKeys.h"
#include "locale/LanguageMenu.h"
#include "locale/LanguageWindow.h"
#include "locale/OptionsWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace korv {
namespace {

QString shippedFile(const QString &language)
{
    return QStringLiteral(KORV_SOURCE_DIR "/data/Language/") + language + QStringLiteral(".lng");
}

class LanguageTest : public ::testing::Test {
protected:
    // The shipped files, alone in the language folder.
    void useShippedFiles()
    {
        QFile::remove(folder.filePath(QStringLiteral("Language/Test.lng")));
        for (const QString &language : {QStringLiteral("English"), QStringLiteral("Turkish")}) {
            QFile file(shippedFile(language));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            folder.write(QStringLiteral("Language/%1.lng").arg(language), file.readAll());
        }
    }
    void addFiles(const QStringList &names)
    {
        QFile::remove(folder.filePath(QStringLiteral("Language/Test.lng")));
        for (const QString &name : names)
            folder.write(QStringLiteral("Language/") + name, "[AUTHOR]\r\nName=x\r\n");
    }
    QStringList visibleItems(const LanguageMenu &menu)
    {
        QStringList items;
        for (int i = 0; i < LanguageMenu::kItemCount; ++i) {
            if (menu.item(i).visible)
                items << menu.item(i).caption + (menu.item(i).checked ? QStringLiteral("*") : QString());
        }
        return items;
    }

    test::TestFolder folder;
    test::ScriptedDialogs dialogs;
};

TEST_F(LanguageTest, ShippedFilesHoldEveryKeyInWindows1254WithCrLf)
{
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Turkish")}) {
        QFile file(shippedFile(language));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << language.toStdString();
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << language.toStdString();
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r')) << language.toStdString();
        EXPECT_EQ(decodeText(bytes).encoding, TextEncoding::Windows1254) << language.toStdString();
        for (const SectionKeys &section : keysReadByProgram()) {
            for (const QString &key : section.keys) {
                EXPECT_FALSE(ReadIniString(section.section, key, file.fileName()).isEmpty())
                    << language.toStdString() << " [" << section.section.toStdString() << "] " << key.toStdString();
            }
        }
    }
}

// Every text the language table names on the main window, as shown now.
QStringList mainWindowTexts(Form1 &form)
{
    QStringList texts;
    for (const LanguageKey &key : windowSection(QStringLiteral("Form1"))->keys) {
        if (key.target == TextTarget::TabText)
            texts << form.Sekme->tabText(key.index);
        else if (key.target == TextTarget::ColumnHeader)
            texts << form.listModel().header(key.index);
        else
            texts << form.findChild<QObject *>(key.control)
                         ->property(key.target == TextTarget::ToolTip ? "toolTip" : "text")
                         .toString();
    }
    return texts;
}

TEST_F(LanguageTest, MenuOffersTheFilesAndChoosesTheStoredLanguage)
{
    useShippedFiles();
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Turkish"));
    Form1 form;
    const QStringList builtIn = mainWindowTexts(form);
    form.LoadLanguageMenu();
    QStringList shown;
    for (QAction *item : form.mnulng) {
        if (item->isVisible())
            shown << item->text() + (item->isChecked() ? QStringLiteral("*") : QString());
    }
    EXPECT_EQ(shown, (QStringList{"English", "Turkish*"}));
    // The Turkish file holds the built-in texts: applying it changes nothing.
    EXPECT_EQ(mainWindowTexts(form), builtIn);

    form.mnulng[0]->trigger();
    EXPECT_EQ(CurrentLanguage(), QStringLiteral("English"));
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QStringLiteral("English"));
    EXPECT_TRUE(form.mnulng[0]->isChecked());
    EXPECT_FALSE(form.mnulng[1]->isChecked());
    EXPECT_EQ(form.CmdFind->text(), QStringLiteral("FIND (F3)"));
    EXPECT_EQ(form.Sekme->tabText(3), QStringLiteral("CHECK && REPAIR"));
    EXPECT_EQ(form.listModel().header(1), QStringLiteral("START"));
    EXPECT_EQ(form.CmdArayiKapat->toolTip(), QStringLiteral("Keep the subtitle on screen for a SHORTER time"));
    // Choosing the checked item again keeps it checked.
    form.mnulng[0]->trigger();
    EXPECT_TRUE(form.mnulng[0]->isChecked());
}

TEST_F(LanguageTest, WithoutAStoredLanguageTheLastVisibleOneWins)
{
    useShippedFiles();
    LanguageMenu menu;
    QStringList applied;
    menu.applyLanguage = [&] { applied << CurrentLanguage(); };
    menu.LoadLanguageMenu();
    EXPECT_EQ(applied, (QStringList{"English", "Turkish"}));
    EXPECT_EQ(visibleItems(menu), (QStringList{"English", "Turkish*"}));
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QStringLiteral("Turkish"));

    // A stored language with no file falls back the same way and is replaced.
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Klingon"));
    menu.LoadLanguageMenu();
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QStringLiteral("Turkish"));
}

TEST_F(LanguageTest, EveryFileCountsButOnlySixAreOffered)
{
    addFiles({QStringLiteral("readme.txt"), QStringLiteral("Deutsch.lng")});
    LanguageMenu menu;
    menu.LoadLanguageMenu();
    EXPECT_EQ(visibleItems(menu), (QStringList{"Deutsch", "readme*"}));

    QDir(folder.filePath(QStringLiteral("Language"))).removeRecursively();
    for (QChar name : QStringLiteral("hBgaeCfd"))
        addFiles({QString(name) + QStringLiteral(".lng")});
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("h"));
    menu.LoadLanguageMenu();
    EXPECT_EQ(visibleItems(menu), (QStringList{"a", "B", "C", "d", "e", "f*"}));
}

TEST_F(LanguageTest, NoLanguageFolderLeavesTheBuiltInTexts)
{
    QDir(folder.filePath(QStringLiteral("Language"))).removeRecursively();
    setCurrentLanguage(QString());
    Form1 form;
    form.LoadLanguageMenu();
    for (QAction *item : form.mnulng)
        EXPECT_FALSE(item->isVisible());
    EXPECT_EQ(CurrentLanguage(), QString());
    EXPECT_EQ(form.Label1[5]->text(), QStringLiteral("ARAMA :"));
    // The options window shows its captions too, not empty ones.
    ApplyLanguage(form.frmSecenekler, dialogs);
    EXPECT_EQ(form.frmSecenekler->CmdKapat->text(), QStringLiteral("KAPAT (ESC)"));
}

TEST_F(LanguageTest, AMissingKeyGivesAnEmptyCaptionAndAmpersandsShowOnce)
{
    folder.write(QStringLiteral("Language/Test.lng"),
                 "[Form1]\r\nLabel1(4)=Four\r\nLabel1(6)=C && D &x\r\nLabel1(7)=A && B\r\nCubuk2-1=F && G\r\n");
    Form1 form;
    ApplyLanguage(&form, dialogs);
    EXPECT_TRUE(dialogs.messageBoxes.isEmpty());
    EXPECT_EQ(form.Label1[5]->text(), QString());
    EXPECT_EQ(form.Label1[4]->text(), QStringLiteral("Four"));
    EXPECT_EQ(form.CmdFind->text(), QString());

    // What the user sees: each label draws like a plain label showing "A & B".
    for (QLabel *label : {form.Label1[6], form.Label1[7]}) {
        QLabel plain(label->parentWidget());
        plain.setTextFormat(Qt::PlainText);
        plain.setGeometry(label->geometry());
        plain.setWordWrap(label->wordWrap());
        plain.setAlignment(label->alignment());
        plain.setText(label == form.Label1[6] ? QStringLiteral("C & D x") : QStringLiteral("A & B"));
        EXPECT_EQ(label->grab().toImage(), plain.grab().toImage()) << label->objectName().toStdString();
    }
    auto *button = qobject_cast<QToolButton *>(form.Cubuk2->widgetForAction(form.Cubuk2Buttons[0]));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("F && G")); // a tool button shows "&&" as "&"
}

TEST_F(LanguageTest, OtherWindowsAreFoundByNameAndAMissingControlStopsTheirTurn)
{
    useShippedFiles();
    setCurrentLanguage(QStringLiteral("English"));
    QWidget table;
    table.setObjectName(QStringLiteral("frmKisayollar"));
    QList<QLabel *> labels;
    for (int i = 0; i <= 13; ++i) {
        labels << new QLabel(&table);
        labels.back()->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    }
    auto *close = new QPushButton(&table);
    close->setObjectName(QStringLiteral("CmdKapat"));
    ApplyLanguage(&table, dialogs);
    EXPECT_EQ(table.windowTitle(), QStringLiteral(" PROGRAM SHORTCUT KEYS"));
    EXPECT_EQ(close->text(), QStringLiteral("CLOSE (ESC)"));

    delete labels.takeAt(7);
    setCurrentLanguage(QStringLiteral("Turkish"));
    ApplyLanguage(&table, dialogs);
    ASSERT_EQ(dialogs.messageBoxes.size(), 1);
    EXPECT_TRUE(dialogs.messageBoxes[0].contains(QStringLiteral("Label1(7)")));
    EXPECT_EQ(labels[5]->text(), QStringLiteral("PLAY / PAUSE"));
    EXPECT_TRUE(labels[6]->text().startsWith(QStringLiteral("Filmin o anki")));
    EXPECT_TRUE(labels[7]->text().startsWith(QStringLiteral("Write the film's"))); // Label1(8) and on: untouched
    EXPECT_EQ(close->text(), QStringLiteral("CLOSE (ESC)"));

    QWidget wait;
    wait.setObjectName(QStringLiteral("frmBilgiAliniyor"));
    auto *waitLabel = new QLabel(&wait);
    waitLabel->setObjectName(QStringLiteral("Label1"));
    ApplyLanguage(&wait, dialogs);
    EXPECT_EQ(waitLabel->text(), QStringLiteral("FİLM BİLGİLERİ ALINIYOR. LÜTFEN BEKLEYİNİZ..."));

    wait.setObjectName(QStringLiteral("frmOther"));
    waitLabel->setText(QStringLiteral("kept"));
    ApplyLanguage(&wait, dialogs);
    EXPECT_EQ(waitLabel->text(), QStringLiteral("kept"));
}

TEST_F(LanguageTest, LanguageWindowShowsTheTranslatorAndStoresOnlyOnOk)
{
    useShippedFiles();
    folder.write(QStringLiteral("Language/Nameless.lng"), "[AUTHOR]\r\n[Msg]\r\n");
    {
        LanguageWindow window;
        ASSERT_EQ(window.File1->count(), 3);
        EXPECT_EQ(window.Label1->text(), QStringLiteral("English\nAuthor :Korvendal Sub Team"));
        window.File1->setCurrentRow(1);
        EXPECT_EQ(window.Label1->text(), QStringLiteral("Nameless\nAuthor :"));
        window.reject();
        EXPECT_EQ(CurrentLanguage(), QStringLiteral("Nameless"));
        EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QString());
    }
    LanguageWindow window;
    window.File1->setCurrentRow(2);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QStringLiteral("Turkish"));
}

} // namespace
} // namespace korv
