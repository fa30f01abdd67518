#pragma once
// The overlap check run before saving and splitting and by the check button:
// stops at a time that is not a number, finds every subtitle whose end passes
// the next one's start and pulls that end back (automatically or after
// asking, as HataCheck1 / HataCheck2 say), and rewrites every time it passes
// to at most two decimals.

namespace korv {

class Workspace;

// True when the walk reached the end of the list.
bool CheckOverlaps(Workspace &ws);

// The check button: the check, then its report in the notice window.
void CmdHataKontrolu_Click(Workspace &ws);

} // namespace korv
