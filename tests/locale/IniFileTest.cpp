// Reading values out of language files, good and bad.
#include "locale/IniFile.h"
#include "support/TestFolder.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace korv {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString read(const QByteArray &bytes, const char *section, const char *key)
    {
        folder.write(QStringLiteral("x.lng"), bytes);
        return ReadIniString(QLatin1String(section), QLatin1String(key), folder.filePath(QStringLiteral("x.lng")));
    }
    test::TestFolder folder;
};

TEST_F(IniFileTest, NamesIgnoreCaseAndTheFirstSectionAndKeyWin)
{
    const QByteArray ini = "no equals sign\r\n[msg]\r\nnoise\r\n014 = first \r\n014=second\r\nEmpty=\r\n"
                           "Quoted=\"  kept  \"\r\n[Other]\r\n015=other\r\n[Msg]\r\n016=late\r\n";
    EXPECT_EQ(read(ini, "MSG", "014"), QStringLiteral("first"));
    EXPECT_EQ(read(ini, "Msg", "quoted"), QStringLiteral("  kept  "));
    EXPECT_EQ(read(ini, "Msg", "Empty"), QString());
    EXPECT_EQ(read(ini, "Msg", "015"), QString());
    EXPECT_EQ(read(ini, "Msg", "016"), QString());
    EXPECT_EQ(read(ini, "Nowhere", "014"), QString());
    EXPECT_EQ(ReadIniString(QStringLiteral("Msg"), QStringLiteral("014"), folder.filePath(QStringLiteral("none.lng"))),
              QString());
}

TEST_F(IniFileTest, EncodingsAreRecognisedPerValueAndByMark)
{
    QStringEncoder cp1254("windows-1254");
    const QString turkish = QStringLiteral("Sayı ğİş");
    const QByteArray mixed = "[Msg]\r\n001=" + QByteArray(cp1254(turkish)) + "\r\n002=" + turkish.toUtf8() + "\r\n";
    EXPECT_EQ(read(mixed, "Msg", "001"), turkish);
    EXPECT_EQ(read(mixed, "Msg", "002"), turkish);
    EXPECT_EQ(read("\xEF\xBB\xBF[Msg]\r\n001=" + turkish.toUtf8() + "\r\n", "Msg", "001"), turkish);

    const QString text = QStringLiteral("[Msg]\r\n001=") + turkish + QStringLiteral("\r\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    EXPECT_EQ(read("\xFF\xFE" + QByteArray(utf16(text)), "Msg", "001"), turkish);
}

TEST_F(IniFileTest, LongValuesAreCutAndZeroBytesEndThem)
{
    const QByteArray longValue(1500, 'x');
    EXPECT_EQ(read("[Msg]\r\n001=" + longValue + "\r\n", "Msg", "001"), QString(1023, QLatin1Char('x')));
    const QByteArray longTurkish = QStringLiteral("ş").repeated(3000).toUtf8();
    EXPECT_EQ(read("[Msg]\r\n001=" + longTurkish + "\r\n", "Msg", "001"), QStringLiteral("ş").repeated(1023));
    EXPECT_EQ(read(QByteArray("[Msg]\r\n001=ab\0cd\r\n", 18), "Msg", "001"), QStringLiteral("ab"));
}

TEST_F(IniFileTest, AFiveMegabyteFileIsReadToItsEnd)
{
    QByteArray big = "[Form1]\r\n";
    while (big.size() < 5 * 1024 * 1024)
        big += "Junk line without an equals sign, or key=value of no interest\r\n";
    big += QByteArray(100000, 'y') + "\r\n[Msg]\r\n014=found\r\n";
    EXPECT_EQ(read(big, "Msg", "014"), QStringLiteral("found"));
    EXPECT_EQ(read(big, "Form1", "key"), QString());
}

} // namespace
} // namespace korv
