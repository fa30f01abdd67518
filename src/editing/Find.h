#pragma once
// Finding a subtitle whose text fits a search text, with the wildcards of
// Wildcard.h and whatever the case of letters. The find command, which goes
// on below its last hit, is in commands/FindCommands.h.

#include "document/SubtitleList.h"
#include "editing/Wildcard.h"

#include <QStringView>

namespace korv {

struct FindResult {
    bool patternValid = true; // false: a "[" without its "]" and the like
    int row = -1;             // the row found (0-based), -1 for none
};

// The first row from `from` (0-based) on whose text in `column` (1 start,
// 2 end, 3 subtitle text) fits "*" + pattern + "*", both lower-cased by
// `rule`.
FindResult findSubtitle(const SubtitleList &list, QStringView pattern, int column, int from, LetterCase rule);

} // namespace korv
