#pragma once
// "BUL (F3)": each press finds the next subtitle below the last hit; when
// nothing more is found the user is told, and the next press starts again at
// the top.

#include <QString>

namespace korv {

class Workspace;

// Searches `column` (1 start, 2 end, 3 subtitle text) of the rows below the
// last hit for "*" + pattern + "*". A hit is selected (and so shown in the
// edit fields); no hit, or a pattern that is not valid, shows message "001".
void FindSubtitle(Workspace &ws, const QString &pattern, int column);

// The search text of Text1(5) in the subtitle texts.
void CmdFind_Click(Workspace &ws);

} // namespace korv
