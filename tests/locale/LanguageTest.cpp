// Language files, their reader, the language menu, ApplyLanguage, the
// language window and the options window.
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
#include "media/MediaMessages.h"
#include "support/LanguageFixture.h"

#include <QStringEncoder>

using namespace korv;
using namespace korv::test;

TEST_F(LanguageTest, TheReaderFindsValuesWhateverTheFileLooksLike)
{
    QStringEncoder cp1254("windows-1254"), utf16(QStringEncoder::Utf16LE);
    const QString turkish = QStringLiteral("Sayı ğİş");
    const QByteArray ini = "no equals sign\r\n[msg]\r\nnoise\r\n014 = first \r\n014=second\r\nEmpty=\r\n"
                           "Quoted=\"  kept  \"\r\n[Other]\r\n015=other\r\n[Msg]\r\n016=late\r\n";
    const QByteArray mixed = "[Msg]\r\n001=" + QByteArray(cp1254(turkish)) + "\r\n002=" + turkish.toUtf8() + "\r\n";
    QByteArray big = "[Form1]\r\n";
    while (big.size() < 5 * 1024 * 1024)
        big += "Junk line without an equals sign, or key=value of no interest\r\n";
    big += QByteArray(100000, 'y') + "\r\n[Msg]\r\n014=found\r\n";
    const std::tuple<QByteArray, const char *, const char *, QString> cases[] = {
        // Names ignore case; the first section and key win.
        {ini, "MSG", "014", "first"}, {ini, "Msg", "quoted", "  kept  "}, {ini, "Msg", "Empty", ""},
        {ini, "Msg", "015", ""}, {ini, "Msg", "016", ""}, {ini, "Nowhere", "014", ""},
        // Windows-1254 or UTF-8 per value, UTF-8 or UTF-16 by the mark.
        {mixed, "Msg", "001", turkish}, {mixed, "Msg", "002", turkish},
        {"\xEF\xBB\xBF[Msg]\r\n001=" + turkish.toUtf8() + "\r\n", "Msg", "001", turkish},
        {"\xFF\xFE" + QByteArray(utf16("[Msg]\r\n001=" + turkish + "\r\n")), "Msg", "001", turkish},
        // Values are cut at 1023 characters or a zero byte; 5 MB are read to the end.
        {"[Msg]\r\n001=" + QByteArray(1500, 'x') + "\r\n", "Msg", "001", QString(1023, QLatin1Char('x'))},
        {"[Msg]\r\n001=" + QStringLiteral("ş").repeated(3000).toUtf8(), "Msg", "001", QStringLiteral("ş").repeated(1023)},
        {QByteArray("[Msg]\r\n001=ab\0cd\r\n", 18), "Msg", "001", "ab"},
        {big, "Msg", "014", "found"}, {big, "Form1", "key", ""},
    };
    for (const auto &[bytes, section, key, value] : cases) {
        folder.write("x.lng", bytes);
        EXPECT_EQ(ReadIniString(section, key, folder.filePath("x.lng")), value) << section << " " << key;
    }
    EXPECT_EQ(ReadIniString("Msg", "014", folder.filePath("none.lng")), QString());
}

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

TEST_F(LanguageTest, NewerTextsFallBackToTurkishAndTakeTheirValuesOnce)
{
    for (const QString &key : msg::documentKeys() + msg::mediaKeys())
        EXPECT_FALSE(builtInText(key).isEmpty()) << key.toStdString();
    for (const QString &key : builtInKeys())
        EXPECT_EQ(ReadIniString("Msg", key, shippedFile("Turkish")), builtInText(key)) << key.toStdString();

    // A language file of an older release: the built-in Turkish text, whose
    // values are put in once ("%2" inside a value stays as it is).
    folder.write("Language/Old.lng", "[Msg]\r\n001=x\r\n");
    folder.language.setCurrentLanguage("Old");
    EXPECT_EQ(folder.language.LangText(Message::of(msg::NoStartFrame, {"7", "{%2}"})),
              QString::fromUtf8("Satır 7: \"{%2}\" satırında başlangıç karesi yok."));
    EXPECT_EQ(folder.language.LangText("014"), "") << "the first twenty stay as the file has them";
    folder.write("Language/New.lng", "[Msg]\r\n029=Row %1 / %2 / %3\r\n");
    folder.language.setCurrentLanguage("New");
    EXPECT_EQ(folder.language.LangText(Message::of(msg::NoStartFrame, {"7", "%1"}, "/f.sub")), "Row 7 / %1 / %3\r\n/f.sub");
    EXPECT_EQ(folder.language.LangText(Message::system("Permission denied", "/f.sub")), "Permission denied\r\n/f.sub");
}

TEST_F(LanguageTest, WithoutAUsableStoredLanguageTheLastVisibleOneWinsAndSixAreOffered)
{
    useFiles({"English", "Turkish"});
    LanguageMenu menu(folder.language);
    QStringList applied;
    menu.applyLanguage = [&] { applied << folder.language.CurrentLanguage(); };
    menu.LoadLanguageMenu();
    EXPECT_EQ(applied, (QStringList{"English", "Turkish"}));
    EXPECT_EQ(visibleItems(menu), (QStringList{"English", "Turkish*"}));
    EXPECT_EQ(GetRegSetting("lng"), "Turkish");
    SaveRegSetting("lng", "Klingon"); // no such file: the same, and replaced
    menu.LoadLanguageMenu();
    EXPECT_EQ(GetRegSetting("lng"), "Turkish");

    useFiles({"readme.txt", "Deutsch.lng"}); // every language file counts, whatever its name
    menu.LoadLanguageMenu();
    EXPECT_EQ(visibleItems(menu), (QStringList{"Deutsch", "readme*"}));

    // Files that are no language file would empty every caption: not offered,
    // and a stored language that became one is replaced.
    useFiles({"English", "Turkish"});
    folder.write("Language/Bozuk.lng", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe[", 19));
    folder.write("Language/Notlar.txt", "[bkz. Turkish.lng]\r\n");
    folder.write("Language/Dev.lng", "[Msg]\r\n" + QByteArray(2 << 20, 'x'));
    SaveRegSetting("lng", "Bozuk");
    menu.LoadLanguageMenu();
    EXPECT_EQ(visibleItems(menu), (QStringList{"English", "Turkish*"}));
    EXPECT_EQ(GetRegSetting("lng"), "Turkish");
    useFiles({"h.lng", "B.lng", "g.lng", "a.lng", "e.lng", "C.lng", "f.lng", "d.lng"});
    SaveRegSetting("lng", "h");
    menu.LoadLanguageMenu();
    EXPECT_EQ(visibleItems(menu), (QStringList{"a", "B", "C", "d", "e", "f*"}));
}

TEST_F(LanguageTest, NoLanguageFolderLeavesTheBuiltInTexts)
{
    QDir(folder.filePath("Language")).removeRecursively();
    folder.language.setCurrentLanguage(QString());
    Form1 form(folder.language);
    form.LoadLanguageMenu();
    for (QAction *item : form.controls().mnulng)
        EXPECT_FALSE(item->isVisible());
    EXPECT_EQ(folder.language.CurrentLanguage(), QString());
    EXPECT_EQ(form.controls().Label1[5]->text(), "ARAMA :");
    ApplyLanguage(form.controls().frmSecenekler, folder.language, dialogs); // the options window keeps its captions too
    EXPECT_EQ(form.controls().frmSecenekler->CmdKapat->text(), "KAPAT (ESC)");
}

