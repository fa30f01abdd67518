#pragma once
// WebVTT files: a "WEBVTT" line, then blocks separated by empty lines. A
// cue block is an optional identifier line, a time line
// "hh:mm:ss.mmm --> hh:mm:ss.mmm" (hours optional) with optional settings,
// and the text lines. NOTE, STYLE and REGION blocks carry no subtitle.

#include "document/Result.h"
#include "document/SubViewerFormat.h"
#include "document/TimeText.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace korv::webvtt {

// "WEBVTT" alone or followed by a blank and anything.
bool isHeaderLine(QStringView line);

struct Outcome {
    ReadOutcome read;
    // Something the list has no place for was met and left out: text after
    // "WEBVTT" or under it, cue identifiers, cue settings, NOTE, STYLE or
    // REGION blocks. Saving the list loses them (msg::WebVttPartsDropped,
    // also among the read's notices).
    bool droppedParts = false;
};

// Text lines are joined with "|" and kept as they are, tags included; cues
// need no blank line between them, and blank lines inside a text are left
// out (the read's notices tell of it, as SubRip's do).
Outcome read(QStringView text, const NumberFormat &nf);

// The whole file as text, LF line ends, no identifiers or settings. A line
// that is empty or only blanks would end the cue, so it is left out. Fails as
// subrip::write does; `rowOffsets` as there.
Result<QString> write(const SubtitleList &list, const NumberFormat &nf, std::vector<qsizetype> *rowOffsets = nullptr);

} // namespace korv::webvtt
