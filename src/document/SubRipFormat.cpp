#include "document/SubRipFormat.h"

#include "document/MillisecondTime.h"
#include "document/TextCodec.h"

namespace korv::subrip {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool isCueNumber(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty())
        return false;
    for (QChar c : line) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

} // namespace

bool isTimeLine(QStringView line)
{
    return readCueTimes(line, Hours::Required).has_value();
}

ReadOutcome read(QStringView text, const NumberFormat &nf)
{
    ReadOutcome out;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);
    const std::vector<QStringView> lines = splitLines(text);
    const std::size_t n = lines.size();
    out.rows.reserve(n / 4 + 1);
    std::size_t i = 0;
    while (true) {
        while (i < n && isBlankCueLine(lines[i]))
            ++i;
        if (i >= n)
            break;
        out.rows.emplace_back();
        SubtitleEntry &entry = out.rows.back();
        const int rowNumber = int(out.rows.size());
        // The number line is optional and its value plays no part: the list
        // is numbered again after a read.
        QStringView timeLine = lines[i];
        std::optional<CueTimes> times = readCueTimes(timeLine, Hours::Required);
        if (!times && isCueNumber(timeLine) && i + 1 < n && !isBlankCueLine(lines[i + 1])) {
            timeLine = lines[++i];
            times = readCueTimes(timeLine, Hours::Required);
        }
        if (!times) {
            out.error = Message::of(msg::NotASubRipTimeLine, {QString::number(rowNumber), shortened(timeLine)});
            return out;
        }
        ++i;
        entry.start = ThousandthsToText(times->start, nf);
        entry.end = ThousandthsToText(times->end, nf);
        if (std::optional<Message> tooLong = readCueText(lines, i, rowNumber, entry.text)) {
            out.error = std::move(*tooLong);
            return out;
        }
    }
    return out;
}

Result<QString> write(const SubtitleList &list, const NumberFormat &nf, std::vector<qsizetype> *rowOffsets)
{
    QString out;
    out.reserve(qsizetype(list.count()) * 80);
    if (rowOffsets)
        rowOffsets->reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const SubtitleEntry &row = list.row(i);
        if (rowOffsets)
            rowOffsets->push_back(out.size());
        out += QString::number(i + 1);
        out += kLineEnd;
        if (const Status cue = appendCue(out, row, i, QLatin1Char(','), kLineEnd, nf); !cue)
            return Failure{cue.error()};
    }
    return out;
}

} // namespace korv::subrip
