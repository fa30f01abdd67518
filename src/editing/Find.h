#pragma once
// Finding the next subtitle whose text fits the search text (with the
// wildcards of Wildcard.h, whatever the case of letters). Each press goes on
// below the last hit; when nothing more is found the user is told, and the
// next press starts again at the top.

#include <QString>

namespace korv {

class Workspace;

// Searches `column` (1 start, 2 end, 3 subtitle text) of the rows for
// "*" + pattern + "*". A hit is selected (and so shown in the edit fields);
// no hit, or a pattern that is not valid, shows message "001".
void FindSubtitle(Workspace &ws, const QString &pattern, int column);

// "BUL (F3)": the search text of Text1(5) in the subtitle texts.
void CmdFind_Click(Workspace &ws);

} // namespace korv
