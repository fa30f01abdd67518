#include "document/TimeText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace korv;

namespace {

class TimeTextTest : public ::testing::Test {
protected:
    void SetUp() override { setNumberFormat(NumberFormat::dot()); }
    void TearDown() override { setNumberFormat(NumberFormat::dot()); }
};

QString clock(double x)
{
    const auto r = FormatClockTime(x);
    return r ? *r : QStringLiteral("error: ") + r.error();
}

} // namespace

TEST_F(TimeTextTest, ClockTextRoundsToHundredthsFirst)
{
    EXPECT_EQ(clock(0), "00:00:00,00");
    EXPECT_EQ(clock(75.5), "00:01:15,50");
    EXPECT_EQ(clock(3723.45), "01:02:03,45");
    EXPECT_EQ(clock(2.9999999999999996), "00:00:03,00");
    EXPECT_EQ(clock(35999.99), "09:59:59,99");
    EXPECT_EQ(clock(62.03), "00:01:02,03");
}

TEST_F(TimeTextTest, ClockTextNegativeHourCountsUp)
{
    EXPECT_EQ(clock(-0.5), "-01:59:59,50");
}

TEST_F(TimeTextTest, ClockTextOfTenHoursIsAnErrorWithADescription)
{
    for (double x : {36000.0, 35999.995, 1e12, -32400.01}) {
        const auto r = FormatClockTime(x);
        ASSERT_FALSE(r) << x;
        EXPECT_TRUE(r.error().contains("09:59:59,99")) << r.error().toStdString();
    }
}

TEST_F(TimeTextTest, ClockTextHundredthsSeparatorIsAlwaysComma)
{
    setNumberFormat(NumberFormat::comma());
    EXPECT_EQ(clock(75.5), "00:01:15,50");
}

TEST_F(TimeTextTest, FormatSecondsPattern)
{
    EXPECT_EQ(FormatSeconds(12), "12.");
    EXPECT_EQ(FormatSeconds(12.346), "12.35");
    EXPECT_EQ(FormatSeconds(0.125), "0.13");
    EXPECT_EQ(FormatSeconds(0.004), "0.");
    EXPECT_EQ(FormatSeconds(0.5), "0.5");
    EXPECT_EQ(FormatSeconds(-1), "-1.");
    EXPECT_EQ(FormatSeconds(1.005), "1.01");   // halves away from zero on the decimal value
    EXPECT_EQ(FormatSeconds(-2.345), "-2.35");
    EXPECT_EQ(FormatSeconds(9.996), "10.");
    EXPECT_EQ(FormatSeconds(99.999), "100.");
}

TEST_F(TimeTextTest, FormatSecondsUsesLocaleSeparator)
{
    setNumberFormat(NumberFormat::comma());
    EXPECT_EQ(FormatSeconds(12), "12,");
    EXPECT_EQ(FormatSeconds(12.346), "12,35");
    EXPECT_EQ(FormatSeconds3(60), "60,");
    EXPECT_EQ(FormatSeconds3(1.23456), "1,235");
}

TEST_F(TimeTextTest, SecondsToTextGeneralForm)
{
    EXPECT_EQ(SecondsToText(12), "12");
    EXPECT_EQ(SecondsToText(0.5), "0.5");
    EXPECT_EQ(SecondsToText(3723.45), "3723.45");
    EXPECT_EQ(SecondsToText(60.00000000000001), "60");
    EXPECT_EQ(SecondsToText(-1.5), "-1.5");
    EXPECT_EQ(SecondsToText(-0.0), "0");
    EXPECT_EQ(SecondsToText(30000.0 / 1001.0), "29.97002997003");
    EXPECT_EQ(SecondsToText(24000.0 / 1001.0), "23.976023976024");
    setNumberFormat(NumberFormat::comma());
    EXPECT_EQ(SecondsToText(30000.0 / 1001.0), "29,97002997003");
}

TEST_F(TimeTextTest, TinyResiduesUseAnExponentThatReadsBack)
{
    const double residue = 0.1 + 0.2 - 0.3;
    const QString text = SecondsToText(residue);
    EXPECT_TRUE(text.contains('E')) << text.toStdString();
    ASSERT_TRUE(TextToSeconds(text));
    EXPECT_DOUBLE_EQ(*TextToSeconds(text), residue);
}

TEST_F(TimeTextTest, TextToSecondsAcceptsTheUsersForms)
{
    EXPECT_EQ(TextToSeconds(QStringLiteral("12.")), 12.0);
    EXPECT_EQ(TextToSeconds(QStringLiteral(" -1.25 ")), -1.25);
    EXPECT_EQ(TextToSeconds(QStringLiteral("+3")), 3.0);
    EXPECT_EQ(TextToSeconds(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(TextToSeconds(QStringLiteral("1,234.5")), 1234.5);
    EXPECT_EQ(TextToSeconds(QStringLiteral("1E+3")), 1000.0);
}

TEST_F(TimeTextTest, TextToSecondsRefusesWhatIsNotANumber)
{
    for (const char *text : {"", "  ", "abc", "12a", "1.2.3", ".", "-", "1,5", "12,34,5", "1e", "--1", "1 2"})
        EXPECT_FALSE(TextToSeconds(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(TextToSeconds(QStringLiteral("1e999")));
    EXPECT_TRUE(ReadSeconds(QStringLiteral("abc")).error().contains("abc"));
}

TEST_F(TimeTextTest, TurkishFormatReadsCommaDecimals)
{
    setNumberFormat(NumberFormat::comma());
    EXPECT_EQ(TextToSeconds(QStringLiteral("12,5")), 12.5);
    EXPECT_EQ(TextToSeconds(QStringLiteral("12,")), 12.0);
    EXPECT_EQ(TextToSeconds(QStringLiteral("1.234,5")), 1234.5);
    EXPECT_FALSE(TextToSeconds(QStringLiteral("12.5")));
}

TEST_F(TimeTextTest, EverythingWrittenReadsBack)
{
    for (auto nf : {NumberFormat::dot(), NumberFormat::comma()}) {
        setNumberFormat(nf);
        for (double x : {0.0, 12.0, 0.04, 75.25, -3.5, 1e-7, 123456789.123, 1e20}) {
            ASSERT_TRUE(TextToSeconds(SecondsToText(x))) << x;
            EXPECT_DOUBLE_EQ(*TextToSeconds(SecondsToText(x)), x);
            ASSERT_TRUE(TextToSeconds(FormatSeconds(x))) << x;
            EXPECT_DOUBLE_EQ(*TextToSeconds(FormatSeconds(x)), RoundToHundredths(x));
        }
    }
}

TEST_F(TimeTextTest, RoundHalfEven)
{
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(37.5), 38);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

TEST_F(TimeTextTest, HundredthsTextIsTheGeneralFormOfTheValue)
{
    for (auto nf : {NumberFormat::dot(), NumberFormat::comma()}) {
        setNumberFormat(nf);
        for (qint64 n = -2000; n <= 400000; n += 7)
            ASSERT_EQ(HundredthsToText(n), SecondsToText(double(n) / 100.0)) << n;
        EXPECT_EQ(SecondsToTextAtHundredths(1.16 * 25 / 25), SecondsToText(1.16));
        EXPECT_EQ(SecondsToTextAtHundredths(0.125), nf.decimal == '.' ? "0.13" : "0,13");
    }
}
