#include "document/SubViewerFormat.h"

#include "document/ProgramInfo.h"
#include "document/TextCodec.h"
#include "document/TextPack.h"
#include "document/TimeText.h"

#include <algorithm>

namespace korv {

SubtitleLines SplitSubtitleLines(const QString &text)
{
    SubtitleLines lines;
    const qsizetype first = text.indexOf(QLatin1Char('|'));
    if (first < 0) {
        lines.line1 = text;
        return lines;
    }
    lines.line1 = text.left(first);
    const qsizetype second = text.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0) {
        lines.line2 = text.mid(first + 1);
        return lines;
    }
    lines.line2 = text.mid(first + 1, second - first - 1);
    const qsizetype third = text.indexOf(QLatin1Char('|'), second + 1);
    lines.line3 = third < 0 ? text.mid(second + 1) : text.mid(second + 1, third - second - 1);
    return lines;
}

Message lineTooLongMessage(int row, qsizetype length)
{
    return Message::of(msg::LineTooLong,
                       {QString::number(row), QString::number(length), QString::number(kMaxSubtitleLineLength)});
}

namespace subviewer {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// A two-character field of the time line as a whole number; blanks and a
// sign inside it are allowed.
std::optional<int> readField(QStringView line, int position)
{
    const QStringView field = line.mid(position - 1, 2).trimmed();
    if (field.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (field[0] == QLatin1Char('-') || field[0] == QLatin1Char('+')) {
        negative = field[0] == QLatin1Char('-');
        i = 1;
    }
    if (i >= field.size())
        return std::nullopt;
    int value = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

// The clock text's value as a whole number of hundredths.
std::optional<qint64> readClock(QStringView line, int firstPosition)
{
    const auto h = readField(line, firstPosition);
    const auto m = readField(line, firstPosition + 3);
    const auto s = readField(line, firstPosition + 6);
    const auto c = readField(line, firstPosition + 9);
    if (!h || !m || !s || !c)
        return std::nullopt;
    return (qint64(*h) * 3600 + qint64(*m) * 60 + *s) * 100 + *c;
}

struct TimeLine {
    qint64 start = 0;
    qint64 end = 0;
};

// Start and end of a time line: by character position, hours at 1-2, the end
// clock at 13-23. A clock may be preceded by "-" (a time before the film's
// start, as other programs write it after a shift), which moves what follows
// it by one place and makes the whole clock negative.
std::optional<TimeLine> readTimeLine(QStringView line)
{
    int position = 1;
    auto clock = [&]() -> std::optional<qint64> {
        // "-00:..." is a negative clock; "-1:..." keeps the old reading, an
        // hour field of -1.
        const bool negative = position + 1 < line.size() && line[position - 1] == QLatin1Char('-')
            && line[position].isDigit() && line[position + 1].isDigit();
        if (negative)
            ++position;
        const auto value = readClock(line, position);
        position += 12; // the clock and the character after it
        if (!value)
            return std::nullopt;
        return negative ? -*value : *value;
    };
    const auto start = clock();
    const auto end = clock();
    if (!start || !end)
        return std::nullopt;
    return TimeLine{*start, *end};
}

QString subtitleTextFromLine(QStringView line)
{
    QString out;
    out.reserve(line.size());
    const qsizetype n = line.size();
    qsizetype copied = 0;
    for (qsizetype i = line.indexOf(QLatin1Char('[')); i >= 0 && i + 3 < n; i = line.indexOf(QLatin1Char('['), i + 1)) {
        if (line[i + 3] == QLatin1Char(']') && (line[i + 1] == QLatin1Char('b') || line[i + 1] == QLatin1Char('B'))
            && (line[i + 2] == QLatin1Char('r') || line[i + 2] == QLatin1Char('R'))) {
            out += line.mid(copied, i - copied);
            out += QLatin1Char('|');
            copied = i + 4;
            i += 3;
        }
    }
    out += line.mid(copied);
    return out;
}

bool isBlankLine(QStringView line)
{
    return line.trimmed().isEmpty();
}


Result<QString> clockForFile(const QString &cell, int row, bool isStart, const NumberFormat &nf)
{
    const QString rowNumber = QString::number(row);
    const auto seconds = TextToSeconds(cell, nf);
    if (!seconds)
        return Failure{Message::of(isStart ? msg::StartNotANumber : msg::EndNotANumber, {rowNumber, shortened(cell, 40)})};
    // A clock text before 00:00:00.00 would be written as "-01:59:..."; no
    // reader, ours included, takes that back, so the file would be lost.
    if (const auto hundredths = ToHundredths(*seconds); hundredths && *hundredths < 0)
        return Failure{Message::of(isStart ? msg::StartBeforeFilm : msg::EndBeforeFilm, {rowNumber, cell})};
    std::optional<QString> clock = FormatClockTime(*seconds);
    if (!clock)
        return Failure{Message::of(msg::NoClockTime, {rowNumber, cell})};
    // Every other reader of this format expects "." before the hundredths.
    QString text = *clock;
    text[text.size() - 3] = QLatin1Char('.');
    return text;
}

} // namespace

QStringList headerLines()
{
    return {
        QStringLiteral("[INFORMATION]"),
        QStringLiteral("[TITLE]SubViewer 2"),
        QStringLiteral("[AUTHOR]Korvendal AltYazi v1.1"),
        QStringLiteral("[SOURCE]Korvendal Production"),
        QStringLiteral("[PRG]"),
        QStringLiteral("[FILEPATH]"),
        QStringLiteral("[DELAY]0"),
        QStringLiteral("[CD TRACK]0"),
        QStringLiteral("[COMMENT]") + QLatin1String(ProgramInfo::kWebAddress),
        QStringLiteral("[END INFORMATION]"),
        QStringLiteral("[SUBTITLE]"),
        QStringLiteral("[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Arial"),
    };
}

bool isTimeLine(QStringView line)
{
    if (line.startsWith(QLatin1String("-")))
        line = line.mid(1);
    if (line.startsWith(QLatin1String("00:")))
        return true;
    // dd:dd:dd.dd,dd:dd:dd.dd (the character before the hundredths may be "." "," or ":")
    static const char shape[] = "99:99:99x99,99:99:99x99";
    if (line.size() < 23)
        return false;
    for (int i = 0; i < 23; ++i) {
        const char16_t c = line[i].unicode();
        switch (shape[i]) {
        case '9':
            if (c < u'0' || c > u'9')
                return false;
            break;
        case 'x':
            if (c != u'.' && c != u',' && c != u':')
                return false;
            break;
        default:
            if (c != char16_t(shape[i]))
                return false;
        }
    }
    return true;
}

ReadOutcome read(QStringView text, const NumberFormat &nf)
{
    ReadOutcome out;
    const std::vector<QStringView> lines = splitLines(text);
    std::size_t i = 0;
    while (i < lines.size() && !isTimeLine(lines[i]))
        ++i;
    if (i == lines.size()) {
        // A header and nothing else is an empty document (what an empty list
        // is saved as); any other text without a time line fails on its first line.
        const bool onlyHeader = std::all_of(lines.begin(), lines.end(), [](QStringView l) {
            return isBlankLine(l) || l.trimmed().startsWith(QLatin1Char('['));
        });
        if (onlyHeader)
            return out;
        i = 0;
    }
    out.rows.reserve(lines.size() / 3 + 1);
    TextPack pack;
    while (true) {
        // Blank lines between records (and at the end) carry nothing.
        while (i < lines.size() && isBlankLine(lines[i]))
            ++i;
        if (i >= lines.size())
            break;
        out.rows.emplace_back();
        SubtitleEntry &entry = out.rows.back();
        const int rowNumber = int(out.rows.size());
        const QStringView timeLine = lines[i++];
        const auto times = readTimeLine(timeLine);
        if (!times) {
            out.error = Message::of(msg::NotATimeLine, {QString::number(rowNumber), shortened(timeLine)});
            return out;
        }
        entry.start = HundredthsToText(times->start, nf);
        entry.end = HundredthsToText(times->end, nf);
        if (i >= lines.size()) {
            out.error = Message::of(msg::FileEndsBeforeText, {QString::number(rowNumber)});
            return out;
        }
        if (lines[i].size() > kMaxSubtitleLineLength) {
            out.error = lineTooLongMessage(rowNumber, lines[i].size());
            return out;
        }
        entry.text = subtitleTextFromLine(lines[i++]);
        pack.packRow(entry);
        if (i < lines.size())
            ++i; // the separator line, whatever it holds
    }
    return out;
}

Result<QString> write(const SubtitleList &list, const NumberFormat &nf, std::vector<qsizetype> *rowOffsets)
{
    QString out;
    out.reserve(400 + qsizetype(list.count()) * 64);
    for (const QString &line : headerLines()) {
        out += line;
        out += kLineEnd;
    }
    if (rowOffsets)
        rowOffsets->reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const SubtitleEntry &row = list.row(i);
        if (rowOffsets)
            rowOffsets->push_back(out.size());
        const Result<QString> start = clockForFile(row.start, i + 1, true, nf);
        if (!start)
            return Failure{start.error()};
        const Result<QString> end = clockForFile(row.end, i + 1, false, nf);
        if (!end)
            return Failure{end.error()};
        out += *start;
        out += QLatin1Char(',');
        out += *end;
        out += kLineEnd;
        // Every line that has text, however many: the edit panel shows three,
        // but a fourth line read from a file is the user's and must not be
        // dropped on save. Empty lines carry nothing and are left out.
        bool first = true;
        for (QStringView part : QStringView(row.text).tokenize(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            if (!first)
                out += QStringLiteral("[br]");
            out += part;
            first = false;
        }
        out += kLineEnd;
        out += kLineEnd;
    }
    return out;
}

} // namespace subviewer
} // namespace korv
