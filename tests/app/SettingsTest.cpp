// The settings store, set.cfg and the start-up steps that use them.
#include "app/FirstRun.h"
#include "app/LanguageStartup.h"
#include "app/Registry.h"
#include "help/Messages.h"
#include "locale/LanguageMenu.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace korv {
namespace {

// Each test gets a program folder and a settings store of its own.
class SettingsTest : public ::testing::Test {
protected:
    void writeStore(const QByteArray &ini)
    {
        const QString path = settingsFile(kProgramKey);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }

    test::TestFolder folder;
    QDir config{folder.configPath()};
};

TEST_F(SettingsTest, OnlyStringsReadBackAndAZeroCharacterCutsThem)
{
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QString());
    const QString awkward = QStringLiteral("Türkçe, ölçü; a\\b @x =y");
    SaveRegSetting(QStringLiteral("lng"), awkward);
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), awkward);
    SaveRegSetting(QStringLiteral("version"), QStringLiteral("1") + QChar(u'\0') + QStringLiteral(".1"));
    EXPECT_EQ(GetRegSetting(QStringLiteral("version")), QStringLiteral("1"));
    // The store is the private file, under the maker's folder.
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("Korvendal/Altyazi.ini"))));

    writeStore("[General]\r\nlist=a,b\r\nbytes=@ByteArray(xy)\r\nrect=@Rect(1 2 3 4)\r\ntext1=42\r\n");
    for (const char *name : {"list", "bytes", "rect"})
        EXPECT_EQ(GetRegSetting(QLatin1String(name)), QString()) << name;
    EXPECT_EQ(GetRegSetting(QStringLiteral("text1")), QStringLiteral("42"));
}

TEST_F(SettingsTest, AnUnreadableOrDamagedStoreFailsSilently)
{
    // A folder where the file should be: nothing can be read or written.
    QDir().mkpath(settingsFile(kProgramKey));
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("English"));
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QString());
    QDir().rmdir(settingsFile(kProgramKey));

    writeStore(QByteArray("[Gen\x01\xFF\r\n=\r\nno equals sign\r\n\0\0\0", 35));
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QString());
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("English"));
    EXPECT_EQ(GetRegSetting(QStringLiteral("lng")), QStringLiteral("English"));
}

TEST_F(SettingsTest, FirstRunIsDoneOnlyWhenSetCfgStartsWithOne)
{
    EXPECT_FALSE(FirstRunDone()); // missing
    for (const QByteArray &content : {QByteArray("0\r\n"), QByteArray(), QByteArray("10\r\n"), QByteArray(" 1\r\n")}) {
        folder.write(kFirstRunFileName, content);
        EXPECT_FALSE(FirstRunDone()) << content.constData();
    }
    folder.write(kFirstRunFileName, "1\r\nanything");
    EXPECT_TRUE(FirstRunDone());

    folder.write(kFirstRunFileName, "0\r\n");
    ASSERT_TRUE(WriteFirstRunDone());
    EXPECT_EQ(folder.read(kFirstRunFileName), QByteArray("1\r\n"));
    EXPECT_TRUE(FirstRunDone());
}

TEST_F(SettingsTest, SetCfgGoesToTheConfigFolderWhenTheProgramFolderCannotBeWritten)
{
    setProgramFolder(folder.filePath(QStringLiteral("missing/folder")));
    EXPECT_FALSE(FirstRunDone());
    ASSERT_TRUE(WriteFirstRunDone());
    EXPECT_TRUE(FirstRunDone());
    QFile written(config.filePath(QStringLiteral("Korvendal/set.cfg")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("1\r\n"));
}

TEST_F(SettingsTest, StartUpShowsTheLanguageWindowOnlyOnAFirstRun)
{
    folder.write(QStringLiteral("Language/English.lng"), "[AUTHOR]\r\nName=E\r\n");
    LanguageMenu menu;
    int shown = 0;
    // The language window's OK stores the choice; the menu then applies it.
    const auto chooseTest = [&] {
        ++shown;
        SaveRegSetting(QStringLiteral("lng"), QStringLiteral("Test"));
    };
    RunLanguageStartup(menu, chooseTest);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(GetRegSetting(QStringLiteral("version")), QStringLiteral("1.1"));
    EXPECT_EQ(CurrentLanguage(), QStringLiteral("Test"));
    EXPECT_TRUE(menu.item(1).checked);

    folder.write(kFirstRunFileName, "0\r\n");
    RunLanguageStartup(menu, chooseTest);
    EXPECT_EQ(shown, 2);

    folder.write(kFirstRunFileName, "1\r\n");
    SaveRegSetting(QStringLiteral("lng"), QStringLiteral("English"));
    RunLanguageStartup(menu, chooseTest);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(CurrentLanguage(), QStringLiteral("English"));
}

} // namespace
} // namespace korv
