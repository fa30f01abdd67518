#include "document/FormatDetection.h"
#include "document/MicroDvdFormat.h"
#include "document/TimeText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korv;

namespace {

class MicroDvdTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberFormat(NumberFormat::dot()); }
    static std::unique_ptr<SubtitleList> listWith(std::vector<SubtitleEntry> rows)
    {
        auto list = std::make_unique<SubtitleList>();
        list->replaceAll(std::move(rows));
        return list;
    }
};

} // namespace

TEST_F(MicroDvdTest, ParsesFramePartsByTheirDigitsOnly)
{
    MicroDvdLine l = ParseMicroDVDLine(u"{1 0}{2x5}{y:i}Merhaba|dünya");
    EXPECT_EQ(l.startFrame, "10");
    EXPECT_EQ(l.endFrame, "25");
    EXPECT_EQ(l.text, "{y:i}Merhaba|dünya");
    l = ParseMicroDVDLine(u"{12}{34");
    EXPECT_EQ(l.startFrame, "12");
    EXPECT_EQ(l.endFrame, "34");
    EXPECT_EQ(l.text, "");
    l = ParseMicroDVDLine(u"{12 34 text");
    EXPECT_EQ(l.startFrame, "1234");
    EXPECT_EQ(l.endFrame, "");
}

TEST_F(MicroDvdTest, ReadsAndWritesTheSameLineAt25)
{
    const ReadOutcome r = microdvd::read(u"{37}{80}Merhaba|dünya\r\n", 25);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].start, "1.48");
    EXPECT_EQ(r.rows[0].end, "3.2");
    EXPECT_EQ(r.rows[0].text, "Merhaba|dünya");
    const auto back = microdvd::write(*listWith(r.rows), 25);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, "{37}{80}Merhaba|dünya\r\n");
}

TEST_F(MicroDvdTest, EveryFrameAt25WritesBackAsItself)
{
    std::vector<SubtitleEntry> rows;
    QString file;
    for (int f = 0; f < 5000; ++f)
        file += QStringLiteral("{%1}{%2}x\r\n").arg(f).arg(f + 1);
    const ReadOutcome r = microdvd::read(file, 25);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows[29].start, "1.16");
    const auto back = microdvd::write(*listWith(r.rows), 25);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, file);
}

TEST_F(MicroDvdTest, FramesTruncateTowardZero)
{
    EXPECT_EQ(microdvd::frameOf(10, 23.976), 239);
    EXPECT_EQ(microdvd::frameOf(1.16, 25), 29);
    EXPECT_EQ(microdvd::frameOf(-1.5, 25), -37);
    EXPECT_EQ(microdvd::frameOf(1.5, 0), 0);
    EXPECT_FALSE(microdvd::frameOf(1e300, 25));
}

TEST_F(MicroDvdTest, WritesNegativeFramesAndEveryPart)
{
    const auto out = microdvd::write(*listWith({{"1", "-1.5", "3.2", "a|b|c|d"}}), 25);
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, "{-37}{80}a|b|c|d\r\n");
    EXPECT_EQ(*microdvd::write(SubtitleList(), 25), "");
}

TEST_F(MicroDvdTest, AFrameRateLineIsAnOrdinarySubtitle)
{
    const ReadOutcome r = microdvd::read(u"{1}{1}23.976\r\n{25}{50}A", 25);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].text, "23.976");
    EXPECT_EQ(r.rows[0].start, "0.04");
}

TEST_F(MicroDvdTest, ALineWithoutStartDigitsStopsReading)
{
    const ReadOutcome r = microdvd::read(u"{1}{2}a\r\n{}{5}b\r\n{6}{7}c\r\n", 25);
    EXPECT_FALSE(r.ok());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1], SubtitleEntry{});
    EXPECT_TRUE(r.error.contains("Row 2"));
}

TEST_F(MicroDvdTest, BlankLinesCarryNoSubtitle)
{
    const ReadOutcome r = microdvd::read(u"{1}{2}a\n\n{3}{4}b\n\n", 25);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows.size(), 2u);
}

TEST_F(MicroDvdTest, RateZeroCannotRead)
{
    const ReadOutcome r = microdvd::read(u"{1}{2}a", 0);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.rows.size(), 1u);
}

TEST(FormatDetection, FirstFieldDecides)
{
    EXPECT_EQ(detectFormat("[INFORMATION]\r\n[TITLE]x"), SubtitleFormat::SubViewer);
    EXPECT_EQ(detectFormat("[INFORMATION],extra\r\n"), SubtitleFormat::SubViewer);
    EXPECT_EQ(detectFormat("\xEF\xBB\xBF[INFORMATION]\r\n"), SubtitleFormat::SubViewer);
    EXPECT_EQ(detectFormat("[information]\r\n"), SubtitleFormat::Unknown);
    EXPECT_EQ(detectFormat(" [INFORMATION] more\r\n"), SubtitleFormat::Unknown);
    EXPECT_EQ(detectFormat("{1}{25}Hello, world\r\n"), SubtitleFormat::MicroDvd);
    EXPECT_EQ(detectFormat("\"{quoted\",x"), SubtitleFormat::MicroDvd);
    EXPECT_EQ(detectFormat(""), SubtitleFormat::Unknown);
    EXPECT_EQ(detectFormat(QByteArray("\x00\x01\xFF garbage", 12)), SubtitleFormat::Unknown);
    EXPECT_EQ(firstCsvField(u"  \"a,b\",c"), "a,b");
}

TEST_F(MicroDvdTest, AnAbsurdlyLongLineStopsReadingWithANotice)
{
    const QString line = QStringLiteral("{1}{2}") + QString(100000, QLatin1Char('x'));
    const ReadOutcome r = microdvd::read(QStringLiteral("{1}{2}a\r\n") + line, 25);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.rows.size(), 2u);
    EXPECT_TRUE(r.error.contains("100006 characters")) << r.error.toStdString();
    const ReadOutcome sv = subviewer::read(QStringLiteral("[INFORMATION]\n00:00:01.00,00:00:02.00\n") + line);
    EXPECT_FALSE(sv.ok());
    EXPECT_EQ(sv.rows.size(), 1u);
}
