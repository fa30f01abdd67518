#pragma once
// Times at whole milliseconds, as SubRip and WebVTT files carry them
// (hh:mm:ss,mmm), and their time texts.

#include "document/Result.h"
#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace korv {

// Times from 10^15 ms (about 31,700 years) on are not written or read as
// clock times: past 15 significant digits a time text no longer holds every
// millisecond, so such a time would not come back as it was.
constexpr qint64 kClockThousandthsLimit = 1000000000000000LL;

// The time text of a whole number of milliseconds (n / 1000): up to three
// decimals, no trailing zeros, no separator for whole seconds, the user's
// decimal separator ("12.5", "0.001", "-6.843"). Written from the integer.
QString ThousandthsToText(qint64 thousandths, const NumberFormat &nf);

// The whole number of milliseconds a time rounds to: the value taken to 15
// significant digits, then rounded with halves away from zero. Empty when the
// value is not finite or too large for 64 bits.
std::optional<qint64> ToThousandths(double seconds);

// The plain time text of a value at the precision: SecondsToTextAtHundredths
// ("12", "12.5") or ThousandthsToText ("6.843"); the value as it is when it
// has no whole number of units (a time far past any film).
QString TimeTextAtPrecision(double seconds, TimePrecision precision, const NumberFormat &nf);

// hh:mm:ss,mmm of a non-negative number of milliseconds: two hour digits, more
// when the hours need them; `separator` goes before the milliseconds.
QString ThousandthsToClock(qint64 thousandths, QChar separator);

// The two times of a SubRip or WebVTT time line, "start --> end", each
// [-]h:mm:ss,mmm with one or more hour digits ("." or "," before the
// milliseconds; a minus is a time before the film's start, as other programs
// write after a shift). Without `hours`, WebVTT's mm:ss.mmm is read too.
// Minutes and seconds run to 59, the milliseconds have three digits.
// After the end time comes the line's end or a blank, then anything
// (`extra` tells whether anything but blanks followed).
struct CueTimes {
    qint64 start = 0;
    qint64 end = 0;
    bool extra = false;
};
enum class Hours { Required, Optional };
std::optional<CueTimes> readCueTimes(QStringView line, Hours hours);

// A line with the shape of a time line whatever its numbers say
// ("00:75:00,000 --> 00:00:01,50"): a reader names its row rather than
// taking it for text.
bool isTimeLineShape(QStringView line, Hours hours);

// A row's start or end time as a file's clock text, or the message that says
// why it cannot be one: not a number, before the film's start once rounded
// to milliseconds, or from kClockThousandthsLimit on. `row` is 1-based.
Result<QString> cueClock(const QString &cell, int row, bool isStart, QChar separator, const NumberFormat &nf);

// A line of blanks only, which ends a cue.
bool isBlankCueLine(QStringView line);

// A line that holds "-->" anywhere (looked for by hand: a file has a time
// line a cue, and a general search costs more than the line).
bool holdsCueArrow(QStringView line);

// A line that holds "-->" or begins with a clock ("00:01", "1:00:00"): after
// blank lines a reader takes it as a time line, to be read or named.
bool isMeantAsTimeLine(QStringView line);

// Digits alone on the line (blanks around): a SubRip cue's number.
bool isCueNumberLine(QStringView line);

// Whether the line may be a cue's number or time line at all: it begins with
// a digit, a minus or a blank. A cheap look before the full tests, which
// every text line of a file would otherwise go through.
inline bool mayStartCue(QStringView line)
{
    if (line.isEmpty())
        return false;
    const QChar c = line.front();
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c.isSpace();
}

// Whether `lines[j]` begins the next cue, straight after a text line or
// after blank lines.
using CueStartTest = bool (*)(const std::vector<QStringView> &lines, std::size_t j);

// What a cue's text held that the list cannot keep as it was, each with the
// first row (1-based) it was met in, 0 for none.
struct CueTextNotes {
    int blankLines = 0; // blank lines inside a text: left out
    int bars = 0;       // "|", which the list takes as a line break
};

// A cue's text: `lines` from `i` joined by "|", up to the next cue. A cue
// starts where `afterText` says so straight after a text line (files whose
// cues have no blank line between them), or past blank lines where
// `afterBlank` says so; other blank lines inside the text are left out, as
// the list cannot hold them. `i` is left on the next cue's first line (or on
// the blank lines before it). A line too long for the list gives the message
// naming the row (1-based).
std::optional<Message> readCueText(const std::vector<QStringView> &lines, std::size_t &i, int row, QString &text,
                                   CueStartTest afterText, CueStartTest afterBlank, CueTextNotes &notes);

// The notices of what a read changed or left out, in the words of the
// language files (msg::BlankLinesLeftOut, msg::BarsBecomeLineBreaks).
void addCueTextNotices(const CueTextNotes &notes, std::vector<Message> &notices);

// Appends row `row` (0-based) as a cue: its time line "start --> end", with
// `separator` before the milliseconds, then its lines, each ended by
// `lineEnd`, then a blank line. Blank lines of the text are left out, as
// they would end the cue.
Status appendCue(QString &out, const SubtitleEntry &entry, int row, QChar separator, QStringView lineEnd,
                 const NumberFormat &nf);

} // namespace korv
