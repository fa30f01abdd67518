#include "document/TimeText.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace korv {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x00A0);
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// A decimal number as digit strings: the value is [-]intPart.fracPart.
struct Decimal {
    bool negative = false;
    std::string intPart;
    std::string fracPart;
};

// The value taken to 15 significant digits, as Windows' number formatting
// does before it applies a pattern, then rounded to `decimals` places with
// halves away from zero. Exact decimal arithmetic: 0.125 gives 0.13 and
// 2.9999999999999996 gives 3.
Decimal roundDecimal(double x, int decimals)
{
    Decimal d;
    if (x == 0.0 || !std::isfinite(x)) {
        d.intPart = "0";
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    if (s[0] == '-') {
        d.negative = true;
        s.erase(0, 1);
    }
    const auto ePos = s.find('e');
    const int exponent = std::stoi(s.substr(ePos + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2); // 15 digits
    if (exponent >= 0) {
        const std::size_t intLen = std::size_t(exponent) + 1;
        if (intLen >= digits.size()) {
            d.intPart = digits + std::string(intLen - digits.size(), '0');
        } else {
            d.intPart = digits.substr(0, intLen);
            d.fracPart = digits.substr(intLen);
        }
    } else {
        d.intPart = "0";
        d.fracPart = std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    if (d.fracPart.size() > std::size_t(decimals)) {
        const bool up = d.fracPart[std::size_t(decimals)] >= '5';
        d.fracPart.resize(std::size_t(decimals));
        if (up) {
            std::string all = d.intPart + d.fracPart;
            int i = int(all.size()) - 1;
            for (; i >= 0; --i) {
                if (all[std::size_t(i)] == '9') {
                    all[std::size_t(i)] = '0';
                } else {
                    ++all[std::size_t(i)];
                    break;
                }
            }
            if (i < 0)
                all.insert(all.begin(), '1');
            d.intPart = all.substr(0, all.size() - d.fracPart.size());
            d.fracPart = all.substr(all.size() - d.fracPart.size());
        }
    }
    while (!d.fracPart.empty() && d.fracPart.back() == '0')
        d.fracPart.pop_back();
    const auto firstNonZero = d.intPart.find_first_not_of('0');
    d.intPart = firstNonZero == std::string::npos ? "0" : d.intPart.substr(firstNonZero);
    if (d.intPart == "0" && d.fracPart.empty())
        d.negative = false;
    return d;
}

QString patternText(const Decimal &d, const NumberFormat &nf)
{
    QString out;
    out.reserve(int(d.intPart.size() + d.fracPart.size() + 2));
    if (d.negative)
        out += QLatin1Char('-');
    out += QLatin1String(d.intPart.data(), qsizetype(d.intPart.size()));
    out += nf.decimal;
    out += QLatin1String(d.fracPart.data(), qsizetype(d.fracPart.size()));
    return out;
}

// Integer part of a number text is digits with group separators in their
// places: 1 to 3 digits, then groups of exactly 3.
bool copyGroupedDigits(QStringView text, qsizetype &i, std::string &out, QChar group)
{
    int run = 0;
    bool grouped = false;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isDigit(c)) {
            out.push_back(char(c.unicode()));
            ++run;
            ++i;
        } else if (c == group && i + 1 < text.size() && isDigit(text[i + 1]) && run > 0) {
            if ((!grouped && run > 3) || (grouped && run != 3))
                return false;
            grouped = true;
            run = 0;
            ++i;
        } else {
            break;
        }
    }
    return !(grouped && run != 3);
}

} // namespace

NumberFormat NumberFormat::fromLocale(const QLocale &locale)
{
    NumberFormat f;
    const QString dec = locale.decimalPoint();
    const QString grp = locale.groupSeparator();
    f.decimal = dec.size() == 1 ? dec[0] : QLatin1Char('.');
    f.group = grp.size() == 1 ? grp[0] : QChar(0x00A0);
    if (f.group == f.decimal)
        f.group = f.decimal == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    return f;
}

std::optional<double> TextToSeconds(QStringView text, const NumberFormat &nf)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    std::string buf;
    buf.reserve(std::size_t(n) + 2);
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-'))
            buf.push_back('-');
        ++i;
    }
    const std::size_t mantissaStart = buf.size();
    if (!copyGroupedDigits(text, i, buf, nf.group))
        return std::nullopt;
    std::size_t digitCount = buf.size() - mantissaStart;
    if (i < n && text[i] == nf.decimal) {
        ++i;
        buf.push_back('.');
        while (i < n && isDigit(text[i])) {
            buf.push_back(char(text[i].unicode()));
            ++digitCount;
            ++i;
        }
    }
    if (digitCount == 0)
        return std::nullopt;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string exp = "e";
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            exp.push_back(char(text[j++].unicode()));
        const qsizetype expDigits = j;
        while (j < n && isDigit(text[j]))
            exp.push_back(char(text[j++].unicode()));
        if (j == expDigits)
            return std::nullopt;
        buf += exp;
        i = j;
    }
    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return std::nullopt;
    if (buf.back() == '.')
        buf.push_back('0');
    double value = 0;
    const auto res = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (res.ec != std::errc() || res.ptr != buf.data() + buf.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> TextToNumberWithoutGroups(QStringView text, const NumberFormat &nf)
{
    if (text.contains(nf.group))
        return std::nullopt;
    return TextToSeconds(text, nf);
}

QString SecondsToText(double seconds, const NumberFormat &nf)
{
    if (seconds == 0.0)
        return QStringLiteral("0");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, seconds, std::chars_format::general, 15);
    for (char *p = buf; p != res.ptr; ++p) {
        if (*p == 'e')
            *p = 'E';
    }
    QString out = QString::fromLatin1(buf, res.ptr - buf);
    const QChar dec = nf.decimal;
    if (dec != QLatin1Char('.'))
        out.replace(QLatin1Char('.'), dec);
    return out;
}

QString FormatSeconds(double seconds, const NumberFormat &nf)
{
    return patternText(roundDecimal(seconds, 2), nf);
}

QString FormatSeconds(double seconds, TimePrecision precision, const NumberFormat &nf)
{
    return patternText(roundDecimal(seconds, int(precision)), nf);
}

QString FormatUnits(qint64 units, TimePrecision precision, const NumberFormat &nf)
{
    const int decimals = int(precision);
    const quint64 scale = decimals == 3 ? 1000 : 100;
    // 0 is written "0.", as the pattern writes it.
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    QString out = QString::number(magnitude / scale);
    if (units < 0)
        out.prepend(QLatin1Char('-'));
    out += nf.decimal;
    quint64 fraction = magnitude % scale;
    if (fraction != 0) {
        int digits = decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        char buf[3];
        for (int k = digits - 1; k >= 0; --k, fraction /= 10)
            buf[k] = char('0' + fraction % 10);
        out += QLatin1String(buf, digits);
    }
    return out;
}

std::optional<qint64> PlainUnits(QStringView text, TimePrecision precision, const NumberFormat &nf, bool *formatted)
{
    const int maxDecimals = int(precision);
    qsizetype i = 0;
    const qsizetype n = text.size();
    const bool negative = i < n && text[i] == QLatin1Char('-');
    if (negative)
        ++i;
    const qsizetype intStart = i;
    qint64 whole = 0;
    while (i < n && isDigit(text[i]) && i - intStart < 13)
        whole = whole * 10 + (text[i++].unicode() - '0');
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0)
        return std::nullopt;
    bool separator = false;
    int decimals = 0;
    qint64 fraction = 0;
    if (i < n && text[i] == nf.decimal) {
        separator = true;
        ++i;
        while (i < n && isDigit(text[i]) && decimals < maxDecimals) {
            fraction = fraction * 10 + (text[i++].unicode() - '0');
            ++decimals;
        }
    }
    if (i != n)
        return std::nullopt;
    qint64 scale = 1;
    for (int k = 0; k < maxDecimals; ++k)
        scale *= 10;
    for (int k = decimals; k < maxDecimals; ++k)
        fraction *= 10;
    const qint64 value = whole * scale + fraction;
    if (formatted) {
        const bool leadingZero = intDigits > 1 && text[intStart] == QLatin1Char('0');
        const bool trailingZero = decimals > 0 && text[n - 1] == QLatin1Char('0');
        *formatted = separator && !leadingZero && !trailingZero && !(negative && value == 0);
    }
    return negative ? -value : value;
}

QString FormatSeconds3(double seconds, const NumberFormat &nf)
{
    return FormatSeconds(seconds, TimePrecision::Milliseconds, nf);
}

std::optional<qint64> ToUnits(double seconds, TimePrecision precision)
{
    if (!std::isfinite(seconds))
        return std::nullopt;
    const int digits = int(precision);
    const double scale = precision == TimePrecision::Hundredths ? 100.0 : 1000.0;
    // Fast path: away from a tie the decimal rounding below gives the nearest
    // whole number of units. The margin covers the 15-digit rounding and the
    // error of the product.
    const double y = std::fabs(seconds) * scale;
    if (y < 1e13) {
        const double whole = std::floor(y);
        const double fraction = y - whole;
        if (std::fabs(fraction - 0.5) > 1e-12 * std::max(1.0, y)) {
            const qint64 n = qint64(fraction < 0.5 ? whole : whole + 1.0);
            return seconds < 0 ? -n : n;
        }
    }
    const Decimal d = roundDecimal(seconds, digits);
    // 18 digits in all fit 64 bits.
    if (d.intPart.size() > std::size_t(18 - digits))
        return std::nullopt;
    std::string frac = d.fracPart;
    frac.resize(std::size_t(digits), '0');
    const qint64 value = std::stoll(d.intPart) * qint64(scale) + std::stoll(frac);
    return d.negative ? -value : value;
}

std::optional<qint64> ToHundredths(double seconds)
{
    return ToUnits(seconds, TimePrecision::Hundredths);
}

QString HundredthsToText(qint64 hundredths, const NumberFormat &nf)
{
    if (hundredths == 0)
        return QStringLiteral("0");
    char buf[32];
    char *end = buf + sizeof buf;
    char *p = end;
    const bool negative = hundredths < 0;
    quint64 n = negative ? quint64(0) - quint64(hundredths) : quint64(hundredths);
    const int cents = int(n % 100);
    n /= 100;
    if (cents != 0) {
        if (cents % 10 != 0)
            *--p = char('0' + cents % 10);
        *--p = char('0' + cents / 10);
        *--p = '.';
    }
    do {
        *--p = char('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative)
        *--p = '-';
    // Beyond 15 significant digits the general form rounds: let it.
    if (end - p > 17)
        return SecondsToText(double(hundredths) / 100.0, nf);
    QString out = QString::fromLatin1(p, end - p);
    const QChar dec = nf.decimal;
    if (cents != 0 && dec != QLatin1Char('.'))
        out.replace(QLatin1Char('.'), dec);
    return out;
}

QString SecondsToTextAtHundredths(double seconds, const NumberFormat &nf)
{
    if (const auto h = ToHundredths(seconds); h && *h > -100000000000000LL && *h < 100000000000000LL)
        return HundredthsToText(*h, nf);
    return SecondsToText(RoundToHundredths(seconds), nf);
}

double RoundToHundredths(double seconds)
{
    if (const auto h = ToHundredths(seconds))
        return double(*h) / 100.0;
    return seconds;
}

std::optional<QString> FormatClockTime(double seconds)
{
    const auto total = ToHundredths(seconds);
    const qint64 perHour = 360000;
    auto floorDiv = [](qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    if (!total || floorDiv(*total, perHour) > 9 || floorDiv(*total, perHour) < -9)
        return std::nullopt;
    const qint64 hours = floorDiv(*total, perHour);
    const qint64 rest = *total - hours * perHour;
    const int minutes = int(rest / 6000);
    const int secs = int((rest % 6000) / 100);
    const int hundredths = int(rest % 100);
    // Written by hand: a file of 100,000 subtitles needs 200,000 of these.
    char buf[16];
    int n = 0;
    if (hours < 0)
        buf[n++] = '-';
    const int h = int(hours < 0 ? -hours : hours);
    for (int part : {h, -1, minutes, -1, secs, -2, hundredths}) {
        if (part == -1) {
            buf[n++] = ':';
        } else if (part == -2) {
            buf[n++] = ',';
        } else {
            buf[n++] = char('0' + part / 10);
            buf[n++] = char('0' + part % 10);
        }
    }
    return QString::fromLatin1(buf, n);
}

qint64 RoundHalfEven(double value)
{
    return qint64(std::nearbyint(value));
}

} // namespace korv
