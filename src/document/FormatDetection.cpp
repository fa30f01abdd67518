#include "document/FormatDetection.h"

#include "document/TextCodec.h"

namespace korv {

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
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // The first field never reaches past the first line; a huge one-line file
    // is not decoded whole just to be turned down.
    constexpr qsizetype kLookAt = 4096;
    qsizetype end = 0;
    while (end < bytes.size() && end < kLookAt && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    const QString firstLine = decodeValue(bytes.first(end));
    const QString field = firstCsvField(firstLine);
    if (field == QLatin1String("[INFORMATION]"))
        return SubtitleFormat::SubViewer;
    if (field.startsWith(QLatin1Char('{')))
        return SubtitleFormat::MicroDvd;
    return SubtitleFormat::Unknown;
}

} // namespace korv
