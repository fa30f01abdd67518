#include "document/MicroDvdFormat.h"

#include "document/TextCodec.h"
#include "document/TimeText.h"

#include <cmath>

namespace korv {

MicroDvdLine ParseMicroDVDLine(QStringView line)
{
    MicroDvdLine out;
    qsizetype i = 0;
    const qsizetype n = line.size();
    // Reads one frame part up to its "}"; false when the line ran out first.
    auto framePart = [&](QString &frame) {
        while (i < n) {
            const QChar c = line[i++];
            if (c == QLatin1Char('}'))
                return true;
            if (c.unicode() >= '0' && c.unicode() <= '9')
                frame.append(c);
        }
        return false;
    };
    if (framePart(out.startFrame) && framePart(out.endFrame))
        out.text = line.mid(i).toString();
    return out;
}

namespace microdvd {

namespace {

// The largest frame number a 32-bit counter holds; beyond it a frame part is
// damage, not a film position.
constexpr double kMaxFrame = 2147483647;

} // namespace

ReadOutcome read(QStringView text, double framesPerSecond)
{
    ReadOutcome out;
    const std::vector<QStringView> lines = splitLines(text);
    out.rows.reserve(lines.size());
    const bool rateUsable = framesPerSecond != 0.0 && std::isfinite(framesPerSecond);
    for (const QStringView line : lines) {
        // Blank lines (a last empty line, for one) carry no subtitle.
        if (line.trimmed().isEmpty())
            continue;
        out.rows.emplace_back();
        SubtitleEntry &entry = out.rows.back();
        const int rowNumber = int(out.rows.size());
        if (line.size() > kMaxSubtitleLineLength) {
            out.error = lineTooLongError(rowNumber, line.size());
            return out;
        }
        // The frame parts as numbers straight away: only their digits count.
        double frames[2] = {0, 0};
        int digits[2] = {0, 0};
        qsizetype i = 0;
        int part = 0;
        const qsizetype n = line.size();
        for (; i < n && part < 2; ++i) {
            const char16_t c = line[i].unicode();
            if (c == u'}') {
                ++part;
            } else if (c >= u'0' && c <= u'9') {
                frames[part] = frames[part] * 10 + (c - u'0');
                ++digits[part];
            }
        }
        if (digits[0] == 0 || digits[1] == 0) {
            out.error = QStringLiteral("Row %1: \"%2\" has no %3 frame.")
                            .arg(rowNumber)
                            .arg(shortened(line), digits[0] == 0 ? QStringLiteral("start") : QStringLiteral("end"));
            return out;
        }
        if (!rateUsable) {
            out.error = QStringLiteral("The frame rate %1 cannot turn frames into seconds.")
                            .arg(SecondsToText(framesPerSecond));
            return out;
        }
        if (!(frames[0] <= kMaxFrame) || !(frames[1] <= kMaxFrame)) {
            out.error = QStringLiteral("Row %1: the frame number is too large.").arg(rowNumber);
            return out;
        }
        entry.start = SecondsToTextAtHundredths(frames[0] / framesPerSecond);
        entry.end = SecondsToTextAtHundredths(frames[1] / framesPerSecond);
        if (part == 2 && i < n)
            entry.text = line.mid(i).toString();
    }
    return out;
}

std::optional<qint64> frameOf(double seconds, double framesPerSecond)
{
    const double product = seconds * framesPerSecond;
    if (!std::isfinite(product) || std::fabs(product) >= 9.0e15)
        return std::nullopt;
    const double nearest = std::nearbyint(product);
    // A product a hair below a whole frame is that frame: 1.16 * 25 is
    // 28.999999999999996 in binary, yet 29 in the decimal the user sees.
    if (std::fabs(product - nearest) <= 1e-9 * std::max(1.0, std::fabs(product)))
        return qint64(nearest);
    return qint64(std::trunc(product));
}

Result<QString> write(const SubtitleList &list, double framesPerSecond, std::vector<qsizetype> *rowOffsets)
{
    QString out;
    out.reserve(qsizetype(list.count()) * 48);
    if (rowOffsets)
        rowOffsets->reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const SubtitleEntry &row = list.row(i);
        if (rowOffsets)
            rowOffsets->push_back(out.size());
        qint64 frames[2] = {0, 0};
        const QString *cells[2] = {&row.start, &row.end};
        for (int k = 0; k < 2; ++k) {
            const Result<double> seconds = ReadSeconds(*cells[k]);
            if (!seconds) {
                return Failure{QStringLiteral("Row %1: the %2 time is wrong. %3")
                                   .arg(i + 1)
                                   .arg(k == 0 ? QStringLiteral("start") : QStringLiteral("end"), seconds.error())};
            }
            const auto frame = frameOf(*seconds, framesPerSecond);
            if (!frame)
                return Failure{QStringLiteral("Row %1: the time %2 has no frame number at %3 frames per second.")
                                   .arg(i + 1)
                                   .arg(*cells[k], SecondsToText(framesPerSecond))};
            // "{-37}" would read back as frame 37: the time would change unseen.
            if (*frame < 0)
                return Failure{negativeTimeError(i + 1, k == 0 ? u"start" : u"end", *cells[k])};
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

} // namespace microdvd
} // namespace korv
