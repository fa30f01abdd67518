#include "document/TimeText.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace korv;
using korv::test::textOf;

namespace {

const NumberFormat kFormats[] = {NumberFormat::dot(), NumberFormat::comma()};
using Texts = std::initializer_list<std::pair<double, const char *>>;

class TimeTextTest : public ::testing::Test {
protected:
    NumberFormat nf = NumberFormat::dot();

    // `text` as the number format in use writes it: with the comma format "."
    // and "," change places.
    QString local(const char *text) const
    {
        QString s = QString::fromUtf8(text);
        for (QChar &c : s) {
            if (nf.decimal == QLatin1Char(',') && (c == QLatin1Char('.') || c == QLatin1Char(',')))
                c = c == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        }
        return s;
    }
};

} // namespace

TEST_F(TimeTextTest, ClockTextRoundsToHundredthsAlwaysWithACommaUpToTenHours)
{
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (auto [x, text] : Texts{{0, "00:00:00,00"}, {75.5, "00:01:15,50"}, {3723.45, "01:02:03,45"},
                                    {2.9999999999999996, "00:00:03,00"}, {35999.99, "09:59:59,99"},
                                    {62.03, "00:01:02,03"}, {-0.5, "-01:59:59,50"}}) // a negative hour counts up
            EXPECT_EQ(textOf(FormatClockTime(x)), text) << x;
    }
    for (double x : {36000.0, 35999.995, 1e12, -32400.01})
        EXPECT_FALSE(FormatClockTime(x)) << x;
}

TEST_F(TimeTextTest, FormatSecondsRoundsHalvesAwayFromZeroInTheUsersFormat)
{
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (auto [x, text] : Texts{{12, "12."}, {12.346, "12.35"}, {0.125, "0.13"}, {0.004, "0."}, {0.5, "0.5"},
                                    {-1, "-1."}, {1.005, "1.01"}, {-2.345, "-2.35"}, {9.996, "10."}, {99.999, "100."}})
            EXPECT_EQ(FormatSeconds(x, nf), local(text)) << x;
        EXPECT_EQ(FormatSeconds3(60, nf), local("60."));
        EXPECT_EQ(FormatSeconds3(1.23456, nf), local("1.235"));
    }
}

TEST_F(TimeTextTest, SecondsToTextIsTheGeneralForm)
{
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (auto [x, text] : Texts{{12, "12"}, {0.5, "0.5"}, {3723.45, "3723.45"}, {60.00000000000001, "60"},
                                    {-1.5, "-1.5"}, {-0.0, "0"}, {30000.0 / 1001.0, "29.97002997003"},
                                    {24000.0 / 1001.0, "23.976023976024"}})
            EXPECT_EQ(SecondsToText(x, nf), local(text)) << x;
    }
    // Tiny residues take an exponent that reads back.
    const double residue = 0.1 + 0.2 - 0.3;
    const QString text = SecondsToText(residue, nf);
    EXPECT_TRUE(text.contains('E')) << text.toStdString();
    EXPECT_DOUBLE_EQ(TextToSeconds(text, nf).value_or(-1), residue);
}

TEST_F(TimeTextTest, TextToSecondsAcceptsTheUsersFormsOnly)
{
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (auto [x, text] : Texts{{12, "12."}, {-1.25, " -1.25 "}, {3, "+3"}, {0.5, ".5"}, {1234.5, "1,234.5"},
                                    {1000, "1E+3"}, {12.5, "12.5"}})
            EXPECT_EQ(TextToSeconds(local(text), nf), x) << text;
        for (const char *text : {"", "  ", "abc", "12a", "1.2.3", ".", "-", "1,5", "12,34,5", "1e", "--1", "1 2", "1e999"})
            EXPECT_FALSE(TextToSeconds(local(text), nf)) << text;
    }
    EXPECT_FALSE(TextToSeconds(QStringLiteral("12.5"), nf)); // the comma format's group separator
    // Where a group separator makes no sense it is no number at all.
    EXPECT_EQ(TextToSeconds(QStringLiteral("23.976"), nf), 23976);
    EXPECT_FALSE(TextToNumberWithoutGroups(QStringLiteral("23.976"), nf));
    EXPECT_EQ(TextToNumberWithoutGroups(QStringLiteral("23,976"), nf), 23.976);
}

TEST_F(TimeTextTest, EverythingWrittenReadsBack)
{
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (double x : {0.0, 12.0, 0.04, 75.25, -3.5, 1e-7, 123456789.123, 1e20}) {
            EXPECT_DOUBLE_EQ(TextToSeconds(SecondsToText(x, nf), nf).value_or(-1), x) << x;
            EXPECT_DOUBLE_EQ(TextToSeconds(FormatSeconds(x, nf), nf).value_or(-1), RoundToHundredths(x)) << x;
        }
        for (qint64 n = -2000; n <= 400000; n += 7)
            ASSERT_EQ(HundredthsToText(n, nf), SecondsToText(double(n) / 100.0, nf)) << n;
        EXPECT_EQ(SecondsToTextAtHundredths(1.16 * 25 / 25, nf), SecondsToText(1.16, nf));
        EXPECT_EQ(SecondsToTextAtHundredths(0.125, nf), local("0.13"));
    }
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(37.5), 38);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

TEST_F(TimeTextTest, WholeUnitsAreWrittenAndReadAsThePatternWritesThem)
{
    constexpr auto H = TimePrecision::Hundredths;
    constexpr auto M = TimePrecision::Milliseconds;
    for (const NumberFormat &format : kFormats) {
        nf = format;
        for (qint64 n = -4000; n <= 400000; n += 3) {
            ASSERT_EQ(FormatUnits(n, H, nf), FormatSeconds(double(n) / 100.0, nf)) << n;
            ASSERT_EQ(FormatUnits(n, M, nf), FormatSeconds3(double(n) / 1000.0, nf)) << n;
        }
        for (qint64 n : {0LL, 99999999999LL, -99999999999LL, 3599999LL})
            EXPECT_EQ(FormatUnits(n, H, nf), FormatSeconds(double(n) / 100.0, nf)) << n;

        // Every form of the same value reads; only the pattern's own is "formatted".
        const std::tuple<const char *, TimePrecision, std::optional<qint64>, bool> texts[] = {
            {"12.", H, 1200, true},     {"12.5", H, 1250, true},   {"12.05", H, 1205, true},  {"0.", H, 0, true},
            {"-0.05", H, -5, true},     {"12", H, 1200, false},    {"12.50", H, 1250, false}, {"012.5", H, 1250, false},
            {"-0.", H, 0, false},       {"0.0", H, 0, false},      {"12.345", H, {}, false},  {"+12.5", H, {}, false},
            {" 12.5", H, {}, false},    {"1,234.5", H, {}, false}, {".5", H, {}, false},      {"1e2", H, {}, false},
            {"", H, {}, false},         {"-", H, {}, false},       {"12.345", M, 12345, true}, {"6.8", M, 6800, true},
            {"-6.843", M, -6843, true}, {"6.840", M, 6840, false}, {"6", M, 6000, false},     {"6.8431", M, {}, false},
        };
        for (const auto &[text, precision, value, formatted] : texts) {
            bool isFormatted = !formatted;
            EXPECT_EQ(PlainUnits(local(text), precision, nf, &isFormatted), value) << text;
            if (value) {
                EXPECT_EQ(isFormatted, formatted) << text;
                EXPECT_EQ(double(*value) / (precision == H ? 100.0 : 1000.0), TextToSeconds(local(text), nf)) << text;
            }
        }
    }
}
