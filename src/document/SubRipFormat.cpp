#include "document/SubRipFormat.h"

#include "document/MillisecondTime.h"
#include "document/TextCodec.h"
#include "document/TextPack.h"

namespace korv::subrip {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Straight after a text line only a well-formed time line (with its number
// over it) starts the next cue: a text may hold a number or an arrow.
bool startsCueAfterText(const std::vector<QStringView> &lines, std::size_t j)
{
    if (!mayStartCue(lines[j]))
        return false;
    if (isCueNumberLine(lines[j]))
        return j + 1 < lines.size() && readCueTimes(lines[j + 1], Hours::Required).has_value();
    return readCueTimes(lines[j], Hours::Required).has_value();
}

// After blank lines anything meant as a time line does, so that a broken one
// is named rather than read as text; so does a number on the last line (a
// file cut short).
bool startsCueAfterBlank(const std::vector<QStringView> &lines, std::size_t j)
{
    if (isCueNumberLine(lines[j]))
        return j + 1 >= lines.size() || isMeantAsTimeLine(lines[j + 1]);
    return isMeantAsTimeLine(lines[j]);
}

} // namespace

bool isTimeLine(QStringView line)
{
    return isTimeLineShape(line, Hours::Required);
}

ReadOutcome read(QStringView text, const NumberFormat &nf)
{
    ReadOutcome out;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);
    const std::vector<QStringView> lines = splitLines(text);
    const std::size_t n = lines.size();
    out.rows.reserve(n / 4 + 1);
    TextPack pack;
    CueTextNotes notes;
    int positionRow = 0;
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
        // A number line is never a time line: it is looked at first, as
        // nearly every cue has one.
        if (isCueNumberLine(lines[i]) && i + 1 < n && !isBlankCueLine(lines[i + 1]))
            ++i;
        const QStringView timeLine = lines[i];
        const std::optional<CueTimes> times = readCueTimes(timeLine, Hours::Required);
        if (!times) {
            const QString &key = isTimeLineShape(timeLine, Hours::Required) ? msg::NoClockInTimeLine : msg::NotASubRipTimeLine;
            out.error = Message::of(key, {QString::number(rowNumber), shortened(timeLine)});
            return out;
        }
        ++i;
        if (times->extra && !positionRow)
            positionRow = rowNumber;
        entry.start = ThousandthsToText(times->start, nf);
        entry.end = ThousandthsToText(times->end, nf);
        if (std::optional<Message> tooLong =
                readCueText(lines, i, rowNumber, entry.text, startsCueAfterText, startsCueAfterBlank, notes)) {
            out.error = std::move(*tooLong);
            return out;
        }
        pack.packRow(entry);
    }
    addCueTextNotices(notes, out.notices);
    if (positionRow)
        out.notices.push_back(Message::of(msg::SubRipPositionDropped, {QString::number(positionRow)}));
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
