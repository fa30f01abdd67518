#include "document/MicroDvdFormat.h"

#include "document/TextCodec.h"
#include "document/TextPack.h"
#include "document/TimeText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace korv::microdvd {

namespace {

using Wide = __int128;

constexpr double kFrameLimit = double(kMaxFrame);

// a / b rounded to the nearest whole number, halves away from zero (b > 0).
template <typename T>
T roundedQuotient(T a, T b)
{
    const T magnitude = ((a < 0 ? -a : a) * 2 + b) / (2 * b);
    return a < 0 ? -magnitude : magnitude;
}

} // namespace

FrameTimes::FrameTimes(double framesPerSecond) : rate_(framesPerSecond)
{
    if (!std::isfinite(rate_) || !(rate_ > 0))
        return;
    // The shortest decimal that reads back as the rate: its digits and where
    // the point goes.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, rate_, std::chars_format::scientific);
    const std::string_view text(buf, std::size_t(res.ptr - buf));
    const std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    qint64 digits = 0;
    int fractionDigits = 0;
    bool afterPoint = false;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] == '.') {
            afterPoint = true;
            continue;
        }
        digits = digits * 10 + (text[i] - '0');
        if (afterPoint)
            ++fractionDigits;
    }
    // Beyond these a rate has no place in a film (and the products below
    // would not fit): such a rate is worked in floating point.
    const int scale = exponent - fractionDigits; // rate = digits * 10^scale
    if (scale < -16 || scale > 6)
        return;
    numerator_ = digits;
    for (int i = 0; i < std::abs(scale); ++i)
        (scale < 0 ? denominator_ : numerator_) *= 10;
    exact_ = true;
}

std::optional<qint64> FrameTimes::hundredthsOf(qint64 frame) const
{
    if (exact_ && frame >= -kMaxFrame && frame <= kMaxFrame) {
        // Most rates fit 64 bits (a 10-hour round trip check runs millions of these).
        qint64 scaled = 0;
        if (!__builtin_mul_overflow(frame, 100 * denominator_, &scaled) && scaled < (qint64(1) << 61)
            && scaled > -(qint64(1) << 61) && numerator_ < (qint64(1) << 40))
            return roundedQuotient<qint64>(scaled, numerator_);
        return qint64(roundedQuotient<Wide>(Wide(frame) * 100 * denominator_, numerator_));
    }
    return ToHundredths(double(frame) / rate_);
}

double FrameTimes::nearestFrameTime(double seconds) const
{
    if (!(seconds >= 0) || !(rate_ > 0) || !(seconds * rate_ < double(kMaxFrame)))
        return seconds;
    const auto hundredths = hundredthsOf(qint64(std::llround(seconds * rate_)));
    return hundredths ? double(*hundredths) / 100 : seconds;
}

std::optional<qint64> FrameTimes::frameOf(qint64 hundredths) const
{
    if (hundredths < 0 || !std::isfinite(rate_))
        return std::nullopt;
    // Far past any frame a file can hold: refused before the exact work.
    if (!(double(hundredths) / 100.0 * rate_ < kFrameLimit + 2))
        return std::nullopt;
    if (exact_) {
        qint64 product = 0;
        if (!__builtin_mul_overflow(hundredths * 2 + 1, numerator_, &product) && denominator_ < (qint64(1) << 40))
            return product / (200 * denominator_);
        return qint64((Wide(hundredths) * 2 + 1) * numerator_ / (Wide(200) * denominator_));
    }
    return qint64(std::trunc((double(hundredths) + 0.5) / 100.0 * rate_));
}

ReadOutcome read(QStringView text, double framesPerSecond, const NumberFormat &nf)
{
    ReadOutcome out;
    const std::vector<QStringView> lines = splitLines(text);
    out.rows.reserve(lines.size());
    TextPack pack;
    const bool rateUsable = framesPerSecond != 0.0 && std::isfinite(framesPerSecond);
    const FrameTimes times(framesPerSecond);
    for (const QStringView line : lines) {
        // Blank lines (a last empty line, for one) carry no subtitle.
        if (line.trimmed().isEmpty())
            continue;
        out.rows.emplace_back();
        SubtitleEntry &entry = out.rows.back();
        const QString rowNumber = QString::number(out.rows.size());
        if (line.size() > kMaxSubtitleLineLength) {
            out.error = lineTooLongMessage(int(out.rows.size()), line.size());
            return out;
        }
        // The frame parts as numbers straight away: only their digits count.
        double frames[2] = {0, 0};
        int digits[2] = {0, 0};
        bool negative[2] = {false, false};
        qsizetype i = 0;
        int part = 0;
        const qsizetype n = line.size();
        for (; i < n && part < 2; ++i) {
            const char16_t c = line[i].unicode();
            if (c == u'}') {
                ++part;
            } else if (c >= u'0' && c <= u'9') {
                if (digits[part] == 0 && i > 0 && line[i - 1] == QLatin1Char('-'))
                    negative[part] = true;
                frames[part] = frames[part] * 10 + (c - u'0');
                ++digits[part];
            }
        }
        if (digits[0] == 0 || digits[1] == 0) {
            out.error = Message::of(digits[0] == 0 ? msg::NoStartFrame : msg::NoEndFrame, {rowNumber, shortened(line)});
            return out;
        }
        if (!rateUsable) {
            out.error = Message::of(msg::FrameRateUnusable, {SecondsToText(framesPerSecond, nf)});
            return out;
        }
        if (!(frames[0] <= kFrameLimit) || !(frames[1] <= kFrameLimit)) {
            out.error = Message::of(msg::FrameNumberTooLarge, {rowNumber});
            return out;
        }
        QString *cells[2] = {&entry.start, &entry.end};
        for (int k = 0; k < 2; ++k) {
            const qint64 frame = qint64(frames[k]) * (negative[k] ? -1 : 1);
            const auto hundredths = times.hundredthsOf(frame);
            *cells[k] = hundredths ? HundredthsToText(*hundredths, nf) : SecondsToText(double(frame) / framesPerSecond, nf);
        }
        if (part == 2 && i < n)
            entry.text = line.mid(i).toString();
        pack.packRow(entry);
    }
    return out;
}

Result<QString> write(const SubtitleList &list, double framesPerSecond, const NumberFormat &nf,
                      std::vector<qsizetype> *rowOffsets)
{
    QString out;
    out.reserve(qsizetype(list.count()) * 48);
    if (rowOffsets)
        rowOffsets->reserve(std::size_t(list.count()));
    const FrameTimes times(framesPerSecond);
    for (int i = 0; i < list.count(); ++i) {
        const SubtitleEntry &row = list.row(i);
        if (rowOffsets)
            rowOffsets->push_back(out.size());
        const QString rowNumber = QString::number(i + 1);
        qint64 frames[2] = {0, 0};
        const QString *cells[2] = {&row.start, &row.end};
        for (int k = 0; k < 2; ++k) {
            const auto seconds = TextToSeconds(*cells[k], nf);
            if (!seconds)
                return Failure{Message::of(k == 0 ? msg::StartNotANumber : msg::EndNotANumber,
                                           {rowNumber, shortened(*cells[k], 40)})};
            const auto hundredths = ToHundredths(*seconds);
            // "{-37}" would read back as a frame the user never wrote.
            if (hundredths && *hundredths < 0)
                return Failure{Message::of(k == 0 ? msg::StartBeforeFilm : msg::EndBeforeFilm, {rowNumber, *cells[k]})};
            const auto frame = hundredths ? times.frameOf(*hundredths) : std::nullopt;
            // A frame past the 32-bit counter would be refused when read back.
            if (!frame || *frame > kMaxFrame)
                return Failure{Message::of(msg::NoFrameForTime, {rowNumber, *cells[k], SecondsToText(framesPerSecond, nf),
                                                                  QString::number(kMaxFrame)})};
            frames[k] = *frame;
        }
        out += QLatin1Char('{');
        out += QString::number(frames[0]);
        out += QStringLiteral("}{");
        out += QString::number(frames[1]);
        out += QLatin1Char('}');
        out += row.text;
        out += QStringLiteral("\r\n");
    }
    return out;
}

} // namespace korv::microdvd
