#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korv;

namespace {

const char *kHeader =
    "[INFORMATION]\r\n[TITLE]SubViewer 2\r\n[AUTHOR]Korvendal AltYazi v1.1\r\n[SOURCE]Korvendal Production\r\n"
    "[PRG]\r\n[FILEPATH]\r\n[DELAY]0\r\n[CD TRACK]0\r\n[COMMENT]http://www.korvendal.example/altyazi\r\n"
    "[END INFORMATION]\r\n[SUBTITLE]\r\n[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Arial\r\n";

class SubViewerTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberFormat(NumberFormat::dot()); }

    static std::unique_ptr<SubtitleList> listWith(std::vector<SubtitleEntry> rows)
    {
        auto list = std::make_unique<SubtitleList>();
        list->replaceAll(std::move(rows));
        return list;
    }
    static QString written(const SubtitleList &list)
    {
        const auto r = subviewer::write(list);
        return r ? *r : QStringLiteral("error: ") + r.error();
    }
};

} // namespace

TEST_F(SubViewerTest, ReadsTimesAndBreaks)
{
    const ReadOutcome r = subviewer::read(QString::fromLatin1(kHeader)
                                          + "00:01:02.03,00:01:04.50\r\nMerhaba[BR]dünya\r\n\r\n"
                                            "00:01:05,00,00:01:06,25\r\na[br]b[Br]c[b r]d|e\r\n\r\n");
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].start, "62.03");
    EXPECT_EQ(r.rows[0].end, "64.5");
    EXPECT_EQ(r.rows[0].text, "Merhaba|dünya");
    EXPECT_EQ(r.rows[1].start, "65");
    EXPECT_EQ(r.rows[1].end, "66.25");
    EXPECT_EQ(r.rows[1].text, "a|b|c[b r]d|e");
}

TEST_F(SubViewerTest, WritesTheExactBytes)
{
    const auto list = listWith({{"1", "62.03", "64.5", "Merhaba|dünya"}, {"2", "1.5", "3.2", "a|b|c|d"},
                                        {"3", "4", "5", "a||c"}, {"4", "6", "7", ""}});
    EXPECT_EQ(written(*list), QString::fromLatin1(kHeader)
                                 + "00:01:02.03,00:01:04.50\r\nMerhaba[br]dünya\r\n\r\n"
                                   "00:00:01.50,00:00:03.20\r\na[br]b[br]c\r\n\r\n"
                                   "00:00:04.00,00:00:05.00\r\na[br]c\r\n\r\n"
                                   "00:00:06.00,00:00:07.00\r\n\r\n\r\n");
}

TEST_F(SubViewerTest, EmptyListIsTheHeaderAloneAndReadsBackEmpty)
{
    const QString text = written(SubtitleList());
    EXPECT_EQ(text, QString::fromLatin1(kHeader));
    const ReadOutcome back = subviewer::read(text);
    EXPECT_TRUE(back.ok());
    EXPECT_TRUE(back.rows.empty());
}

TEST_F(SubViewerTest, RoundTripKeepsRowsToTheHundredth)
{
    setNumberFormat(NumberFormat::comma());
    const auto list = listWith({{"1", "0,04", "1,999", "Bir|İki|Üç"}, {"2", "3599,99", "3723,45", "x"}});
    const ReadOutcome back = subviewer::read(written(*list));
    ASSERT_TRUE(back.ok());
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0].start, "0,04");
    EXPECT_EQ(back.rows[0].end, "2");
    EXPECT_EQ(back.rows[0].text, "Bir|İki|Üç");
    EXPECT_EQ(back.rows[1].start, "3599,99");
    EXPECT_EQ(back.rows[1].end, "3723,45");
}

TEST_F(SubViewerTest, HeaderEndsAtTheFirstTimeLineEvenAfterAnHour)
{
    const ReadOutcome r = subviewer::read(QStringLiteral("[INFORMATION]\n[TITLE]x\n01:00:00.00,01:00:02.00\nGeç\n\n"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].start, "3600");
    EXPECT_EQ(r.rows[0].text, "Geç");
}

TEST_F(SubViewerTest, LfAndCrLineEndsAndTrailingBlankLinesLoadCleanly)
{
    const ReadOutcome lf = subviewer::read(QStringLiteral("[INFORMATION]\n00:00:01.00,00:00:02.00\nA\n\n\n\n"));
    ASSERT_TRUE(lf.ok()) << lf.error.toStdString();
    EXPECT_EQ(lf.rows.size(), 1u);
    const ReadOutcome cr = subviewer::read(QStringLiteral("[INFORMATION]\r00:00:01.00,00:00:02.00\rA\r\r00:00:03.00,00:00:04.00\rB\r"));
    ASSERT_TRUE(cr.ok());
    EXPECT_EQ(cr.rows.size(), 2u);
}

TEST_F(SubViewerTest, RecordsWithoutSeparatorsStopWithTheRowsReadSoFar)
{
    const ReadOutcome r = subviewer::read(QStringLiteral(
        "[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nA\r\n00:00:03.00,00:00:04.00\r\nB\r\n"));
    EXPECT_FALSE(r.ok());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].text, "A");
    EXPECT_EQ(r.rows[1], SubtitleEntry{});
    EXPECT_TRUE(r.error.contains("Row 2"));
}

TEST_F(SubViewerTest, TextWithoutTimeLinesFailsOnItsFirstLine)
{
    const ReadOutcome r = subviewer::read(QStringLiteral("[INFORMATION]\r\nnot a subtitle\r\n"));
    EXPECT_FALSE(r.ok());
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0], SubtitleEntry{});
}

TEST_F(SubViewerTest, TruncatedRecordKeepsItsTimes)
{
    const ReadOutcome r = subviewer::read(QStringLiteral("[INFORMATION]\r\n00:00:01.00,00:00:02.00"));
    EXPECT_FALSE(r.ok());
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].start, "1");
    EXPECT_EQ(r.rows[0].end, "2");
    EXPECT_TRUE(r.error.contains("ends"));
}

TEST_F(SubViewerTest, TimeFieldsAreReadByPosition)
{
    // Blanks and signs inside the two-character fields; anything after 23 is ignored.
    const ReadOutcome r = subviewer::read(QStringLiteral("[INFORMATION]\n00:00: 5.-1,00:01:00x00 trailing\nA\n"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.rows[0].start, "4.99");
    EXPECT_EQ(r.rows[0].end, "60");
    const ReadOutcome bad = subviewer::read(QStringLiteral("[INFORMATION]\n00:00:0x.00,00:00:01.00\nA\n"));
    EXPECT_FALSE(bad.ok());
}

TEST_F(SubViewerTest, WriterRefusesTimesThatAreNotNumbersOrTooLate)
{
    EXPECT_TRUE(subviewer::write(*listWith({{"1", "abc", "2", "x"}})).error().contains("Row 1"));
    const auto late = subviewer::write(*listWith({{"1", "1", "2", "x"}, {"2", "36000", "36001", "y"}}));
    ASSERT_FALSE(late);
    EXPECT_TRUE(late.error().contains("Row 2"));
}

TEST_F(SubViewerTest, SplitSubtitleLinesKeepsThreeParts)
{
    const SubtitleLines l = SplitSubtitleLines(QStringLiteral("a|b|c|d"));
    EXPECT_EQ(l.line1, "a");
    EXPECT_EQ(l.line2, "b");
    EXPECT_EQ(l.line3, "c");
    const SubtitleLines two = SplitSubtitleLines(QStringLiteral("|b"));
    EXPECT_EQ(two.line1, "");
    EXPECT_EQ(two.line2, "b");
    EXPECT_EQ(two.line3, "");
}
