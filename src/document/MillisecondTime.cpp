#include "document/MillisecondTime.h"

#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Exactly `count` digits at `i` as a number, moving past them.
std::optional<int> fixedDigits(QStringView s, qsizetype &i, int count)
{
    int value = 0;
    for (int k = 0; k < count; ++k, ++i) {
        if (i >= s.size() || !isAsciiDigit(s[i]))
            return std::nullopt;
        value = value * 10 + (s[i].unicode() - u'0');
    }
    return value;
}

// How a clock is read: as a file must hold it, or only by its shape (any
// minutes and seconds, any number of millisecond digits), to tell a time
// that is no clock ("00:75:00,000", "00:00:01,50") from a line that is no
// time line at all.
enum class Clock { Strict, Shape };

// Any number of digits at `i`, at least one, moving past them.
std::optional<int> someDigits(QStringView s, qsizetype &i)
{
    const qsizetype from = i;
    int value = 0;
    for (; i < s.size() && isAsciiDigit(s[i]) && i - from < 9; ++i)
        value = value * 10 + (s[i].unicode() - u'0');
    return i > from ? std::optional<int>(value) : std::nullopt;
}

// [-]h+:mm:ss,mmm (or mm:ss,mmm when hours are optional) at `i`, in
// milliseconds into `out`; `i` moves past it. Minutes and seconds run to 59.
// A flag rather than an optional: most calls fail at once (a text line, a
// cue number), and an optional read back straight after it was written
// stalls the processor on each.
bool readClock(QStringView s, qsizetype &i, Hours hours, Clock clock, qint64 &out)
{
    const bool strict = clock == Clock::Strict;
    const bool negative = i < s.size() && s[i] == QLatin1Char('-');
    if (negative)
        ++i;
    // The first run of digits: the hours, or the minutes when no hours follow.
    qint64 first = 0;
    int firstDigits = 0;
    for (; i < s.size() && isAsciiDigit(s[i]); ++i) {
        first = first * 10 + (s[i].unicode() - u'0');
        // Far past any clock a file may hold; also keeps the sums below in range.
        if (first > kClockThousandthsLimit / 3600000)
            return false;
        ++firstDigits;
    }
    if (firstDigits == 0 || i >= s.size() || s[i] != QLatin1Char(':'))
        return false;
    ++i;
    const auto second = fixedDigits(s, i, 2);
    if (!second)
        return false;
    qint64 h = 0, m = 0, sec = 0;
    if (i < s.size() && s[i] == QLatin1Char(':')) {
        ++i;
        const auto third = fixedDigits(s, i, 2);
        if (!third)
            return false;
        h = first;
        m = *second;
        sec = *third;
    } else if (hours == Hours::Optional && firstDigits == 2) {
        m = first;
        sec = *second;
    } else {
        return false;
    }
    if (strict && (m > 59 || sec > 59))
        return false;
    if (i >= s.size() || (s[i] != QLatin1Char(',') && s[i] != QLatin1Char('.')))
        return false;
    ++i;
    const auto ms = strict ? fixedDigits(s, i, 3) : someDigits(s, i);
    if (!ms)
        return false;
    const qint64 value = ((h * 60 + m) * 60 + sec) * 1000 + *ms;
    if (value >= kClockThousandthsLimit)
        return false;
    out = negative ? -value : value;
    return true;
}

// A digit's value, past 9 for any other character.
unsigned digitAt(const char16_t *c, int k)
{
    return unsigned(c[k]) - u'0';
}

// hh:mm:ss,mmm (or ".mmm") at `at`, read at its fixed places, in
// milliseconds; -1 for any other text.
qint64 fixedClock(const char16_t *c, int at)
{
    if (c[at + 2] != u':' || c[at + 5] != u':' || (c[at + 8] != u',' && c[at + 8] != u'.'))
        return -1;
    const unsigned h1 = digitAt(c, at), h2 = digitAt(c, at + 1), m1 = digitAt(c, at + 3), m2 = digitAt(c, at + 4),
                   s1 = digitAt(c, at + 6), s2 = digitAt(c, at + 7), f1 = digitAt(c, at + 9),
                   f2 = digitAt(c, at + 10), f3 = digitAt(c, at + 11);
    if (h1 > 9 || h2 > 9 || m1 > 5 || m2 > 9 || s1 > 5 || s2 > 9 || f1 > 9 || f2 > 9 || f3 > 9)
        return -1;
    return ((qint64(h1 * 10 + h2) * 60 + (m1 * 10 + m2)) * 60 + (s1 * 10 + s2)) * 1000 + (f1 * 100 + f2 * 10 + f3);
}

std::optional<CueTimes> readTimes(QStringView line, Hours hours, Clock clock)
{
    // The time line nearly every file holds, "hh:mm:ss,mmm --> hh:mm:ss,mmm",
    // read at fixed places: a file of 100,000 cues has as many of them. Any
    // other line, a clock out of range included, is left to the reading below.
    constexpr int kCommonLength = 29;
    if (clock == Clock::Strict && line.size() >= kCommonLength) {
        const char16_t *c = line.utf16();
        if (c[12] == u' ' && c[13] == u'-' && c[14] == u'-' && c[15] == u'>' && c[16] == u' ') {
            const qint64 start = fixedClock(c, 0);
            const qint64 end = fixedClock(c, 17);
            qsizetype i = kCommonLength;
            if (start >= 0 && end >= 0 && (i == line.size() || isBlank(line[i]))) {
                while (i < line.size() && isBlank(line[i]))
                    ++i;
                return CueTimes{start, end, i < line.size()};
            }
        }
    }
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && isBlank(line[i]))
            ++i;
    };
    skipBlanks();
    CueTimes times;
    if (!readClock(line, i, hours, clock, times.start))
        return std::nullopt;
    skipBlanks();
    if (!line.mid(i).startsWith(QLatin1String("-->")))
        return std::nullopt;
    i += 3;
    skipBlanks();
    if (!readClock(line, i, hours, clock, times.end) || (i < line.size() && !isBlank(line[i])))
        return std::nullopt;
    skipBlanks();
    times.extra = i < line.size();
    return times;
}

} // namespace

QString ThousandthsToText(qint64 thousandths, const NumberFormat &nf)
{
    if (thousandths == 0)
        return QStringLiteral("0");
    const bool negative = thousandths < 0;
    quint64 n = negative ? quint64(0) - quint64(thousandths) : quint64(thousandths);
    // Beyond 15 significant digits the general form rounds: let it.
    if (n >= quint64(kClockThousandthsLimit))
        return SecondsToText(double(thousandths) / 1000.0, nf);
    char16_t buf[32];
    char16_t *end = buf + std::size(buf);
    char16_t *p = end;
    int fraction = int(n % 1000);
    n /= 1000;
    if (fraction != 0) {
        int digits = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int k = 0; k < digits; ++k) {
            *--p = char16_t(u'0' + fraction % 10);
            fraction /= 10;
        }
        *--p = nf.decimal.unicode();
    }
    do {
        *--p = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), end - p);
}

std::optional<qint64> ToThousandths(double seconds)
{
    return ToUnits(seconds, TimePrecision::Milliseconds);
}

QString TimeTextAtPrecision(double seconds, TimePrecision precision, const NumberFormat &nf)
{
    if (precision == TimePrecision::Hundredths)
        return SecondsToTextAtHundredths(seconds, nf);
    if (const auto ms = ToThousandths(seconds); ms && *ms > -kClockThousandthsLimit && *ms < kClockThousandthsLimit)
        return ThousandthsToText(*ms, nf);
    return SecondsToText(seconds, nf);
}

QString ThousandthsToClock(qint64 thousandths, QChar separator)
{
    // Written by hand: a file of 100,000 subtitles needs 200,000 of these.
    char16_t buf[40];
    char16_t *end = buf + std::size(buf);
    char16_t *p = end;
    const bool negative = thousandths < 0;
    quint64 n = negative ? quint64(0) - quint64(thousandths) : quint64(thousandths);
    auto put = [&p](quint64 value, int digits) {
        for (int k = 0; k < digits || value != 0; ++k) {
            *--p = char16_t(u'0' + value % 10);
            value /= 10;
        }
    };
    put(n % 1000, 3);
    *--p = separator.unicode();
    n /= 1000;
    put(n % 60, 2);
    *--p = u':';
    n /= 60;
    put(n % 60, 2);
    *--p = u':';
    put(n / 60, 2);
    if (negative)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), end - p);
}

std::optional<CueTimes> readCueTimes(QStringView line, Hours hours)
{
    return readTimes(line, hours, Clock::Strict);
}

bool isTimeLineShape(QStringView line, Hours hours)
{
    return readTimes(line, hours, Clock::Shape).has_value();
}

Result<QString> cueClock(const QString &cell, int row, bool isStart, QChar separator, const NumberFormat &nf)
{
    const QString rowNumber = QString::number(row);
    const auto seconds = TextToSeconds(cell, nf);
    if (!seconds)
        return Failure{Message::of(isStart ? msg::StartNotANumber : msg::EndNotANumber, {rowNumber, shortened(cell, 40)})};
    const auto thousandths = ToThousandths(*seconds);
    // These formats have no clock before 00:00:00: the minus some programs
    // write there is damage to most others.
    if (thousandths && *thousandths < 0)
        return Failure{Message::of(isStart ? msg::StartBeforeFilm : msg::EndBeforeFilm, {rowNumber, cell})};
    if (!thousandths || *thousandths >= kClockThousandthsLimit)
        return Failure{Message::of(msg::ClockTimeTooLarge, {rowNumber, shortened(cell, 40)})};
    return ThousandthsToClock(*thousandths, separator);
}

// The line tests below run several times on every line of a file: they look
// at characters directly rather than make trimmed views or search strings.
bool isBlankCueLine(QStringView line)
{
    for (QChar c : line) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

bool isMeantAsTimeLine(QStringView line)
{
    // The clock at the start first: a time line has it, and then the search
    // for the arrow is not needed.
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] == QLatin1Char('-'))
        ++i;
    const qsizetype digits = i;
    while (i < line.size() && isAsciiDigit(line[i]))
        ++i;
    qsizetype after = i + 1;
    if (i > digits && i < line.size() && line[i] == QLatin1Char(':') && fixedDigits(line, after, 2).has_value())
        return true;
    return holdsCueArrow(line);
}

bool holdsCueArrow(QStringView line)
{
    for (qsizetype k = 0; k + 2 < line.size(); ++k) {
        if (line[k] == QLatin1Char('-') && line[k + 1] == QLatin1Char('-') && line[k + 2] == QLatin1Char('>'))
            return true;
    }
    return false;
}

bool isCueNumberLine(QStringView line)
{
    qsizetype from = 0, to = line.size();
    while (from < to && line[from].isSpace())
        ++from;
    while (to > from && line[to - 1].isSpace())
        --to;
    if (from == to)
        return false;
    for (qsizetype k = from; k < to; ++k) {
        if (!isAsciiDigit(line[k]))
            return false;
    }
    return true;
}

std::optional<Message> readCueText(const std::vector<QStringView> &lines, std::size_t &i, int row, QString &text,
                                   CueStartTest afterText, CueStartTest afterBlank, CueTextNotes &notes)
{
    const std::size_t n = lines.size();
    // The cue's lines first, then the text in one piece of its exact size:
    // a 100,000-row document holds no spare room in its texts.
    QVarLengthArray<QStringView, 4> parts;
    qsizetype length = 0;
    const auto assemble = [&] {
        if (parts.isEmpty())
            return;
        text = QString(length + parts.size() - 1, Qt::Uninitialized);
        QChar *out = text.data();
        for (qsizetype k = 0; k < parts.size(); ++k) {
            if (k > 0)
                *out++ = QLatin1Char('|');
            std::copy(parts[k].begin(), parts[k].end(), out);
            out += parts[k].size();
        }
    };
    while (i < n) {
        if (isBlankCueLine(lines[i])) {
            std::size_t next = i + 1;
            while (next < n && isBlankCueLine(lines[next]))
                ++next;
            // The blank lines end the cue unless more of its text follows them.
            if (next >= n || afterBlank(lines, next))
                break;
            if (!notes.blankLines)
                notes.blankLines = row;
            i = next;
        } else if (afterText(lines, i)) {
            break;
        }
        const QStringView line = lines[i];
        if (line.size() > kMaxSubtitleLineLength) {
            assemble(); // the rows so far, as far as they were read
            return lineTooLongMessage(row, line.size());
        }
        if (!notes.bars && line.contains(QLatin1Char('|')))
            notes.bars = row;
        parts.append(line);
        length += line.size();
        ++i;
    }
    assemble();
    return std::nullopt;
}

void addCueTextNotices(const CueTextNotes &notes, std::vector<Message> &notices)
{
    if (notes.blankLines)
        notices.push_back(Message::of(msg::BlankLinesLeftOut, {QString::number(notes.blankLines)}));
    if (notes.bars)
        notices.push_back(Message::of(msg::BarsBecomeLineBreaks, {QString::number(notes.bars)}));
}

Status appendCue(QString &out, const SubtitleEntry &entry, int row, QChar separator, QStringView lineEnd,
                 const NumberFormat &nf)
{
    const Result<QString> start = cueClock(entry.start, row + 1, true, separator, nf);
    if (!start)
        return Failure{start.error()};
    const Result<QString> end = cueClock(entry.end, row + 1, false, separator, nf);
    if (!end)
        return Failure{end.error()};
    out += *start;
    out += QStringLiteral(" --> ");
    out += *end;
    out += lineEnd;
    for (QStringView part : QStringView(entry.text).tokenize(QLatin1Char('|'))) {
        if (isBlankCueLine(part))
            continue;
        out += part;
        out += lineEnd;
    }
    out += lineEnd;
    return Status::success();
}

} // namespace korv
