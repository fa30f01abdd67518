#pragma once
// Time values and their text forms.
//
// A time is a number of seconds. In the list and in every seconds field it is
// kept as "time text": decimal seconds in the user's number format. Subtitle
// files carry clock text (hh:mm:ss,cc). These functions are the only
// conversions between the three, so that what one command writes every other
// command reads back.

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

class QLocale;

namespace korv {

// The separators of the user's number format, taken once from the locale so
// that the conversions stay cheap on 100,000-row documents. Every conversion
// that writes or reads a time text is given the format to use.
struct NumberFormat {
    QChar decimal = QLatin1Char('.');
    QChar group = QLatin1Char(',');

    static NumberFormat fromLocale(const QLocale &locale);
    static NumberFormat dot() { return {QLatin1Char('.'), QLatin1Char(',')}; }
    static NumberFormat comma() { return {QLatin1Char(','), QLatin1Char('.')}; }
};

// Reads a time text: blanks around, an optional sign, digits with the decimal
// separator (and well-formed group separators), "12." allowed, an optional
// exponent. Anything else, the empty text included, is not a number.
std::optional<double> TextToSeconds(QStringView text, const NumberFormat &nf);

// A number typed where a group separator makes no sense (a frame rate):
// as TextToSeconds, but "23.976" in a Turkish locale is not 23976, it is no
// number at all; neither is "25,000" in an English one.
std::optional<double> TextToNumberWithoutGroups(QStringView text, const NumberFormat &nf);

// General form: 15 significant digits, no trailing zeros, no separator for a
// whole number (12, 0.5, 3723.45).
QString SecondsToText(double seconds, const NumberFormat &nf);

// Pattern "#0.##": two decimals at most, halves away from zero, the separator
// always written (12 gives "12.", 12.346 gives "12.35").
QString FormatSeconds(double seconds, const NumberFormat &nf);

// How finely a document keeps its times: hundredths (SubViewer 2, MicroDVD)
// or milliseconds (SubRip, WebVTT).
enum class TimePrecision { Hundredths = 2, Milliseconds = 3 };

// FormatSeconds, or FormatSeconds3 for milliseconds: the pattern "#0.##" or
// "#0.###" at the precision.
QString FormatSeconds(double seconds, TimePrecision precision, const NumberFormat &nf);

// FormatSeconds at the precision of a whole number of its units (n / 100 or
// n / 1000), written straight from the integer: the same text, ten times
// faster.
QString FormatUnits(qint64 units, TimePrecision precision, const NumberFormat &nf);

// A time text of the plain form: an optional "-", digits, and the decimal
// separator with at most as many decimals as the precision has ("12", "12.",
// "-0.05"). Its value in units of the precision, nothing for any other form
// or past 13 digits; with `formatted`, whether the text is exactly what
// FormatSeconds writes for that value ("12." and "12.5" are, "12", "012.5"
// and "12.50" are not).
std::optional<qint64> PlainUnits(QStringView text, TimePrecision precision, const NumberFormat &nf,
                                 bool *formatted = nullptr);

// Pattern "#0.###" (used for the film's length in minutes and seconds).
QString FormatSeconds3(double seconds, const NumberFormat &nf);

// The value FormatSeconds writes, read back: the time rounded to hundredths.
double RoundToHundredths(double seconds);

// SecondsToText of a whole number of hundredths (n / 100), written straight
// from the integer: the same text, without a round trip through binary.
QString HundredthsToText(qint64 hundredths, const NumberFormat &nf);

// SecondsToText(RoundToHundredths(seconds)): a time as the plain text of its
// value at hundredths ("12", "12.5", "0.04").
QString SecondsToTextAtHundredths(double seconds, const NumberFormat &nf);

// hh:mm:ss,cc of the time rounded to hundredths. Nothing for 36000 s or more
// (and for -32400 s or less): the hours have two digits.
std::optional<QString> FormatClockTime(double seconds);

// Whole number of hundredths (or milliseconds) the time rounds to, as
// FormatSeconds rounds: the value taken to 15 significant digits, then
// rounded with halves away from zero. Empty when the value is not finite or
// too large for 64 bits.
std::optional<qint64> ToUnits(double seconds, TimePrecision precision);
std::optional<qint64> ToHundredths(double seconds);

// Rounds a value to the nearest integer, halves to even (frame labels, layout).
qint64 RoundHalfEven(double value);

} // namespace korv
