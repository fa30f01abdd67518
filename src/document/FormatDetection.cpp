#include "document/FormatDetection.h"

#include "document/SubRipFormat.h"
#include "document/TextCodec.h"
#include "document/WebVttFormat.h"

#include <algorithm>

namespace korv {

namespace {

bool isBlankLine(QByteArrayView line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

// The line starting at `position`, which moves past it and its line end.
QByteArrayView takeLine(QByteArrayView bytes, qsizetype &position)
{
    const qsizetype start = position;
    while (position < bytes.size() && bytes[position] != '\r' && bytes[position] != '\n')
        ++position;
    const QByteArrayView line = bytes.sliced(start, position - start);
    if (position < bytes.size() && bytes[position++] == '\r' && position < bytes.size() && bytes[position] == '\n')
        ++position;
    return line;
}

// A SubViewer 2 time line as the reader takes it without a header:
// [-]hh:mm:ss.cc,[-]hh:mm:ss.cc ("," also before the hundredths).
bool isSubViewerTimeLine(QByteArrayView line)
{
    qsizetype i = 0;
    auto clock = [&] {
        if (i < line.size() && line[i] == '-')
            ++i;
        static const char shape[] = "99:99:99x99";
        for (const char *s = shape; *s; ++s, ++i) {
            if (i >= line.size())
                return false;
            const char c = line[i];
            if (*s == '9' ? (c < '0' || c > '9') : *s == 'x' ? (c != '.' && c != ',') : c != *s)
                return false;
        }
        return true;
    };
    if (!clock() || i >= line.size() || line[i++] != ',' || !clock())
        return false;
    return i == line.size() || line[i] == ' ' || line[i] == '\t';
}

bool isCueNumber(QByteArrayView line)
{
    line = line.trimmed();
    if (line.isEmpty())
        return false;
    for (char c : line) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

QString firstCsvField(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
        ++i;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
        return (close < 0 ? line.mid(i + 1) : line.mid(i + 1, close - i - 1)).toString();
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','), i);
    QStringView field = comma < 0 ? line.mid(i) : line.mid(i, comma - i);
    while (!field.isEmpty() && (field.back() == QLatin1Char(' ') || field.back() == QLatin1Char('\t')))
        field.chop(1);
    return field.toString();
}

SubtitleFormat detectFormat(QByteArrayView bytes)
{
    // UTF-16 is looked at as the same text in UTF-8.
    QByteArray utf8;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const qsizetype head = std::min(bytes.size(), 2 + 2 * kDetectionBytes);
        utf8 = decodeUnicodeByMark(bytes.first(head))->text.toUtf8();
        bytes = utf8;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // The first lines are all that count; a huge file is not decoded whole
    // just to be turned down.
    bytes = bytes.first(std::min(bytes.size(), kDetectionBytes));
    qsizetype position = 0;
    QByteArrayView first;
    do {
        if (position >= bytes.size())
            return SubtitleFormat::Unknown;
        first = takeLine(bytes, position);
    } while (isBlankLine(first));

    const QString firstLine = decodeValue(first);
    const QString field = firstCsvField(firstLine);
    if (field == QLatin1String("[INFORMATION]") || isSubViewerTimeLine(first))
        return SubtitleFormat::SubViewer;
    if (field.startsWith(QLatin1Char('{')))
        return SubtitleFormat::MicroDvd;
    if (webvtt::isHeaderLine(firstLine))
        return SubtitleFormat::WebVtt;
    if (isCueNumber(first) && position < bytes.size()
        && subrip::isTimeLine(QString::fromLatin1(takeLine(bytes, position))))
        return SubtitleFormat::SubRip;
    return SubtitleFormat::Unknown;
}

} // namespace korv
