#pragma once
// SubRip files: per subtitle a number line, a time line
// "hh:mm:ss,mmm --> hh:mm:ss,mmm", the text lines and an empty line.

#include "document/Result.h"
#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace korv::subrip {

// True for a line with the shape of a SubRip time line (its numbers may
// still be no clock, which the reader then names).
bool isTimeLine(QStringView line);

// Subtitles in any order of numbers, with or without them, with any number
// of empty lines between them or none. Text lines are joined with "|" and
// kept as they are, markup included; blank lines inside a text are left
// out. Anything after the end time (the coordinates some programs write) is
// left out too. The notices tell of each once (msg::BlankLinesLeftOut,
// msg::BarsBecomeLineBreaks, msg::SubRipPositionDropped).
ReadOutcome read(QStringView text, const NumberFormat &nf);

// The whole file as text, CR LF line ends, subtitles numbered from 1. A line
// that is empty or only blanks would end the subtitle, so it is left out.
// Fails on the first time that is not a number, is before the film's start
// or is too large, naming its row. `rowOffsets`, when given, receives where
// each row's lines start in the text.
Result<QString> write(const SubtitleList &list, const NumberFormat &nf, std::vector<qsizetype> *rowOffsets = nullptr);

} // namespace korv::subrip
