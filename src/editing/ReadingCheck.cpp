#include "editing/ReadingCheck.h"

#include "document/MillisecondTime.h"
#include "document/SubtitleMarkup.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace korv {

namespace {

bool isCountedSeparately(QChar c)
{
    // A combining mark belongs to the letter before it; the second half of a
    // surrogate pair to the first.
    const auto category = c.category();
    return !(c.isLowSurrogate() || category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
             || c.unicode() < 0x20);
}

qint64 floorTo(qint64 value, qint64 unit)
{
    const qint64 q = value / unit;
    return (value % unit != 0 && value < 0 ? q - 1 : q) * unit;
}

qint64 ceilTo(qint64 value, qint64 unit)
{
    const qint64 q = value / unit;
    return (value % unit != 0 && value > 0 ? q + 1 : q) * unit;
}

qint64 roundTo(double value, qint64 unit)
{
    return qint64(std::llround(value / double(unit))) * unit;
}

qint64 secondsToMs(double seconds)
{
    return qint64(std::llround(seconds * 1000));
}

// The rows' measures from their times already read.
RowReading measure(std::optional<qint64> start, std::optional<qint64> end, std::optional<qint64> nextStart,
                   QStringView text, const ReadingRules &rules)
{
    RowReading r;
    r.shown = measureShownText(text);
    r.broken = brokenRules(start, end, nextStart, summarize(r.shown), rules, &r.cps);
    if (start && end) {
        r.durationMs = *end - *start;
        if (nextStart)
            r.gapMs = *nextStart - *end;
    }
    return r;
}

std::optional<qint64> startOf(const std::vector<SubtitleEntry> &rows, int row, const NumberFormat &nf)
{
    if (row < 0 || row >= int(rows.size()))
        return std::nullopt;
    return timeTextMs(rows[std::size_t(row)].start, nf);
}

void addProblems(std::vector<ReadingProblem> &out, int row, const RowReading &r, const ReadingRules &rules)
{
    const ReadingProfile &p = rules.profile;
    auto add = [&](ReadingRule rule, double value, double limit, int line = -1) {
        out.push_back({row, rule, value, limit, line});
    };
    if (r.broken & ruleBit(ReadingRule::Cps))
        add(ReadingRule::Cps, *r.cps, p.maxCps);
    if (r.broken & ruleBit(ReadingRule::LineLength)) {
        for (qsizetype k = 0; k < r.shown.lineLengths.size(); ++k) {
            if (r.shown.lineLengths[k] > p.maxLineLength)
                add(ReadingRule::LineLength, r.shown.lineLengths[k], p.maxLineLength, int(k));
        }
    }
    if (r.broken & ruleBit(ReadingRule::Lines))
        add(ReadingRule::Lines, double(r.shown.lineLengths.size()), p.maxLines);
    if (r.broken & ruleBit(ReadingRule::MinDuration))
        add(ReadingRule::MinDuration, double(*r.durationMs) / 1000, p.minDuration);
    if (r.broken & ruleBit(ReadingRule::MaxDuration))
        add(ReadingRule::MaxDuration, double(*r.durationMs) / 1000, p.maxDuration);
    if (r.broken & ruleBit(ReadingRule::Gap)) {
        if (rules.gapInFrames())
            add(ReadingRule::Gap, double(*r.gapMs) * rules.frameRate / 1000, p.minGapFrames);
        else
            add(ReadingRule::Gap, double(*r.gapMs), p.minGapMs);
    }
    if (r.broken & ruleBit(ReadingRule::Empty))
        add(ReadingRule::Empty, 0, 0);
}

QString trimmedNumber(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace

TextMeasure summarize(const ShownText &shown)
{
    TextMeasure m;
    m.characters = shown.characters;
    m.lines = int(shown.lineLengths.size());
    for (int length : shown.lineLengths)
        m.longestLine = std::max(m.longestLine, length);
    return m;
}

RuleSet brokenRules(std::optional<qint64> start, std::optional<qint64> end, std::optional<qint64> nextStart,
                    const TextMeasure &text, const ReadingRules &rules, std::optional<double> *cps)
{
    RuleSet broken = 0;
    const ReadingProfile &p = rules.profile;
    if (text.characters == 0)
        broken |= ruleBit(ReadingRule::Empty);
    if (p.maxLineLength > 0 && text.longestLine > p.maxLineLength)
        broken |= ruleBit(ReadingRule::LineLength);
    if (p.maxLines > 0 && text.lines > p.maxLines)
        broken |= ruleBit(ReadingRule::Lines);
    if (cps)
        cps->reset();
    if (!start || !end)
        return broken;
    const qint64 duration = *end - *start;
    if (p.minDuration > 0 && duration < secondsToMs(p.minDuration))
        broken |= ruleBit(ReadingRule::MinDuration);
    if (p.maxDuration > 0 && duration > secondsToMs(p.maxDuration))
        broken |= ruleBit(ReadingRule::MaxDuration);
    if (duration > 0 && text.characters > 0) {
        if (cps)
            *cps = text.characters * 1000.0 / double(duration);
        // Compared without a division: 17 characters in one second is
        // exactly the limit, not a rounding past it.
        if (p.maxCps > 0 && text.characters * 1000.0 > p.maxCps * double(duration) * (1 + 1e-12))
            broken |= ruleBit(ReadingRule::Cps);
    }
    if (nextStart) {
        const qint64 minGap = rules.minGapMs();
        if (minGap > 0 && *nextStart - *end < minGap)
            broken |= ruleBit(ReadingRule::Gap);
    }
    return broken;
}

QString readingRuleName(ReadingRule rule)
{
    switch (rule) {
    case ReadingRule::Cps: return QStringLiteral("cps");
    case ReadingRule::LineLength: return QStringLiteral("line-length");
    case ReadingRule::Lines: return QStringLiteral("lines");
    case ReadingRule::MinDuration: return QStringLiteral("min-duration");
    case ReadingRule::MaxDuration: return QStringLiteral("max-duration");
    case ReadingRule::Gap: return QStringLiteral("gap");
    case ReadingRule::Empty: return QStringLiteral("empty");
    }
    return QString();
}

ShownText measureShownText(QStringView text)
{
    ShownText shown;
    int line = 0;     // characters of the line so far
    int leading = 0;  // blanks before its first non-blank
    int trailing = 0; // blanks after its last non-blank
    bool seen = false;
    auto endLine = [&] {
        if (seen) {
            const int length = line - leading - trailing;
            shown.lineLengths.push_back(length);
            shown.characters += length;
        }
        line = leading = trailing = 0;
        seen = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('|')) {
            endLine();
            continue;
        }
        const qsizetype after = markupEnd(text, i);
        if (after >= 0) {
            i = after - 1;
            continue;
        }
        if (!isCountedSeparately(c))
            continue;
        ++line;
        if (c.isSpace()) {
            if (seen)
                ++trailing;
            else
                ++leading;
        } else {
            seen = true;
            trailing = 0;
        }
    }
    endLine();
    return shown;
}

qint64 ReadingRules::unitMs() const
{
    return precision == TimePrecision::Milliseconds ? 1 : 10;
}

qint64 ReadingRules::minGapMs() const
{
    if (gapInFrames())
        return profile.minGapFrames > 0 ? roundTo(profile.minGapFrames * 1000.0 / frameRate, unitMs()) : 0;
    return profile.minGapMs > 0 ? roundTo(double(profile.minGapMs), unitMs()) : 0;
}

std::optional<qint64> timeTextMs(const QString &text, const NumberFormat &numbers)
{
    // Most times are plain decimals: read without a detour through binary.
    if (const auto ms = PlainUnits(text, TimePrecision::Milliseconds, numbers))
        return *ms;
    const auto seconds = TextToSeconds(text, numbers);
    return seconds ? ToThousandths(*seconds) : std::nullopt;
}

RowReading readRow(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules)
{
    if (row < 0 || row >= int(rows.size()))
        return {};
    const SubtitleEntry &entry = rows[std::size_t(row)];
    return measure(timeTextMs(entry.start, rules.numbers), timeTextMs(entry.end, rules.numbers),
                   startOf(rows, row + 1, rules.numbers), entry.text, rules);
}

void readRows(const std::vector<SubtitleEntry> &rows, int first, int last, const ReadingRules &rules,
              const std::function<void(int row, const RowReading &reading)> &visit)
{
    first = std::max(first, 0);
    last = std::min(last, int(rows.size()) - 1);
    std::optional<qint64> start = startOf(rows, first, rules.numbers);
    for (int i = first; i <= last; ++i) {
        const std::optional<qint64> next = startOf(rows, i + 1, rules.numbers);
        const SubtitleEntry &entry = rows[std::size_t(i)];
        visit(i, measure(start, timeTextMs(entry.end, rules.numbers), next, entry.text, rules));
        start = next;
    }
}

std::vector<ReadingProblem> rowProblems(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules)
{
    std::vector<ReadingProblem> out;
    addProblems(out, row, readRow(rows, row, rules), rules);
    return out;
}

std::vector<ReadingProblem> checkReading(const std::vector<SubtitleEntry> &rows, const ReadingRules &rules)
{
    std::vector<ReadingProblem> out;
    readRows(rows, 0, int(rows.size()) - 1, rules, [&](int row, const RowReading &r) {
        if (r.broken)
            addProblems(out, row, r, rules);
    });
    return out;
}

QString readingValueText(ReadingRule rule, double value, const ReadingRules &rules)
{
    QString text;
    switch (rule) {
    case ReadingRule::Cps: text = trimmedNumber(value, 1); break;
    case ReadingRule::MinDuration:
    case ReadingRule::MaxDuration: text = trimmedNumber(value, 3); break;
    case ReadingRule::Gap: text = trimmedNumber(value, rules.gapInFrames() ? 2 : 0); break;
    default: text = trimmedNumber(value, 0); break;
    }
    if (rules.numbers.decimal != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), rules.numbers.decimal);
    return text;
}

std::optional<ReadingFix> safeFix(const std::vector<SubtitleEntry> &rows, int row, const ReadingRules &rules)
{
    if (row < 0 || row >= int(rows.size()))
        return std::nullopt;
    const SubtitleEntry &entry = rows[std::size_t(row)];
    const auto start = timeTextMs(entry.start, rules.numbers);
    const auto end = timeTextMs(entry.end, rules.numbers);
    const auto next = startOf(rows, row + 1, rules.numbers);
    if (!start || !end)
        return std::nullopt;
    const RowReading now = measure(start, end, next, entry.text, rules);
    constexpr RuleSet fixable = ruleBit(ReadingRule::Cps) | ruleBit(ReadingRule::MinDuration)
        | ruleBit(ReadingRule::MaxDuration) | ruleBit(ReadingRule::Gap);
    if (!(now.broken & fixable))
        return std::nullopt;

    const ReadingProfile &p = rules.profile;
    const qint64 unit = rules.unitMs();
    // The end may not pass the next start, less the minimum gap.
    const bool bounded = next.has_value();
    const qint64 latest = bounded ? floorTo(*next - rules.minGapMs(), unit) : 0;

    std::vector<qint64> candidates;
    const qint64 longEnough = p.minDuration > 0 ? *start + ceilTo(secondsToMs(p.minDuration), unit) : *start;
    qint64 slowEnough = *start;
    if (p.maxCps > 0 && now.shown.characters > 0)
        slowEnough = *start + ceilTo(qint64(std::ceil(now.shown.characters * 1000.0 / p.maxCps - 1e-9)), unit);
    if (now.broken & (ruleBit(ReadingRule::MinDuration) | ruleBit(ReadingRule::Cps))) {
        candidates.push_back(longEnough);
        candidates.push_back(slowEnough);
        candidates.push_back(std::max(longEnough, slowEnough));
    }
    if ((now.broken & ruleBit(ReadingRule::MaxDuration)) && p.maxDuration > 0)
        candidates.push_back(*start + floorTo(secondsToMs(p.maxDuration), unit));
    if ((now.broken & ruleBit(ReadingRule::Gap)) && bounded)
        candidates.push_back(latest);

    std::optional<ReadingFix> best;
    int bestLeft = 0;
    for (qint64 candidate : candidates) {
        if (candidate == *end || candidate <= *start || (bounded && candidate > latest))
            continue;
        const RowReading after = measure(start, candidate, next, entry.text, rules);
        // Safe: it breaks nothing the row kept, and mends something.
        if ((after.broken & ~now.broken) || after.broken == now.broken)
            continue;
        const int left = std::popcount(unsigned(after.broken));
        const bool better = !best || left < bestLeft
            || (left == bestLeft && std::abs(candidate - *end) < std::abs(best->endMs - *end));
        if (better) {
            best = ReadingFix{row, candidate, QString(), RuleSet(now.broken & ~after.broken)};
            bestLeft = left;
        }
    }
    if (best) {
        best->endText = rules.precision == TimePrecision::Milliseconds
            ? ThousandthsToText(best->endMs, rules.numbers)
            : HundredthsToText(best->endMs / 10, rules.numbers);
    }
    return best;
}

} // namespace korv
