#pragma once
// Where a document is cut in two at a point in time: the first part holds the
// subtitles up to the point, the last of them ending exactly there; the
// second those from the point on (one spanning it, or ending at it, is in
// both), with times counted from the point. The split command, which saves
// each part through the save command, is in commands/SplitCommands.h.

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QString>

#include <optional>
#include <vector>

namespace korv {

struct SplitParts {
    std::vector<SubtitleEntry> first;
    std::vector<SubtitleEntry> second;
};

// The two parts of `rows` cut at `pointText` (seconds), or nothing when the
// point is not a number, does not lie after the first subtitle's start and
// before the last one's, or comes after every subtitle's end. Every time
// reads as a number (the overlap check has passed).
std::optional<SplitParts> splitAt(const std::vector<SubtitleEntry> &rows, const QString &pointText,
                                  const NumberFormat &nf);

} // namespace korv
