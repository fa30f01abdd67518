#include "document/WebVttFormat.h"

#include "document/MillisecondTime.h"
#include "document/TextCodec.h"
#include "document/TextPack.h"

namespace korv::webvtt {

namespace {

const QString kLineEnd = QStringLiteral("\n");

// `word` alone on the line or followed by a blank ("NOTE", "NOTE about x").
bool startsWithWord(QStringView line, QLatin1String word)
{
    return line.startsWith(word)
        && (line.size() == word.size() || line[word.size()] == QLatin1Char(' ')
            || line[word.size()] == QLatin1Char('\t'));
}

bool isNonCueBlock(QStringView firstLine)
{
    return startsWithWord(firstLine, QLatin1String("NOTE")) || startsWithWord(firstLine, QLatin1String("STYLE"))
        || startsWithWord(firstLine, QLatin1String("REGION"));
}

// Straight after a text line a well-formed time line starts the next cue,
// with a number over it taken as its identifier.
bool startsCueAfterText(const std::vector<QStringView> &lines, std::size_t j)
{
    if (!mayStartCue(lines[j]))
        return false;
    if (isCueNumberLine(lines[j]))
        return j + 1 < lines.size() && readCueTimes(lines[j + 1], Hours::Optional).has_value();
    return readCueTimes(lines[j], Hours::Optional).has_value();
}

// After blank lines: a time line, an identifier over one, or a block that
// carries no subtitle.
bool startsCueAfterBlank(const std::vector<QStringView> &lines, std::size_t j)
{
    return isMeantAsTimeLine(lines[j]) || (j + 1 < lines.size() && holdsCueArrow(lines[j + 1]))
        || isNonCueBlock(lines[j]);
}

} // namespace

bool isHeaderLine(QStringView line)
{
    return startsWithWord(line, QLatin1String("WEBVTT"));
}

Outcome read(QStringView text, const NumberFormat &nf)
{
    Outcome result;
    ReadOutcome &out = result.read;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);
    const std::vector<QStringView> lines = splitLines(text);
    const std::size_t n = lines.size();
    std::size_t i = 0;
    auto skipBlankLines = [&] {
        while (i < n && isBlankCueLine(lines[i]))
            ++i;
    };
    skipBlankLines();
    if (i >= n || !isHeaderLine(lines[i])) {
        out.error = Message::of(msg::NotAWebVttFile, {shortened(i < n ? lines[i] : QStringView())});
        return result;
    }
    if (!lines[i].mid(6).trimmed().isEmpty())
        result.droppedParts = true;
    // The header's own lines (metadata of older files) up to the first empty
    // line; a time line right under the header starts the first cue.
    for (++i; i < n && !isBlankCueLine(lines[i]) && !holdsCueArrow(lines[i]); ++i)
        result.droppedParts = true;

    out.rows.reserve(n / 4 + 1);
    TextPack pack;
    CueTextNotes notes;
    while (true) {
        skipBlankLines();
        if (i >= n)
            break;
        QStringView timeLine = lines[i];
        if (!holdsCueArrow(timeLine)) {
            if (i + 1 < n && holdsCueArrow(lines[i + 1])) {
                // A cue identifier, which the list has no column for ("NOTE"
                // over a time line is one too).
                result.droppedParts = true;
                timeLine = lines[++i];
            } else if (isNonCueBlock(timeLine)) {
                result.droppedParts = true;
                while (i < n && !isBlankCueLine(lines[i]))
                    ++i;
                continue;
            }
            // Otherwise the first line was meant as the time line.
        }
        out.rows.emplace_back();
        SubtitleEntry &entry = out.rows.back();
        const int rowNumber = int(out.rows.size());
        const std::optional<CueTimes> times = readCueTimes(timeLine, Hours::Optional);
        if (!times) {
            const QString &key = isTimeLineShape(timeLine, Hours::Optional) ? msg::NoClockInTimeLine
                                                                             : msg::NotAWebVttTimeLine;
            out.error = Message::of(key, {QString::number(rowNumber), shortened(timeLine)});
            return result;
        }
        ++i;
        if (times->extra)
            result.droppedParts = true; // cue settings
        entry.start = ThousandthsToText(times->start, nf);
        entry.end = ThousandthsToText(times->end, nf);
        if (std::optional<Message> tooLong =
                readCueText(lines, i, rowNumber, entry.text, startsCueAfterText, startsCueAfterBlank, notes)) {
            out.error = std::move(*tooLong);
            return result;
        }
        pack.packRow(entry);
    }
    addCueTextNotices(notes, out.notices);
    if (result.droppedParts)
        out.notices.push_back(Message::of(msg::WebVttPartsDropped));
    return result;
}

Result<QString> write(const SubtitleList &list, const NumberFormat &nf, std::vector<qsizetype> *rowOffsets)
{
    QString out;
    out.reserve(8 + qsizetype(list.count()) * 80);
    out += QStringLiteral("WEBVTT");
    out += kLineEnd;
    out += kLineEnd;
    if (rowOffsets)
        rowOffsets->reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const SubtitleEntry &row = list.row(i);
        if (rowOffsets)
            rowOffsets->push_back(out.size());
        if (const Status cue = appendCue(out, row, i, QLatin1Char('.'), kLineEnd, nf); !cue)
            return Failure{cue.error()};
    }
    return out;
}

} // namespace korv::webvtt
