#pragma once
// The overlap check as the user meets it, before saving and splitting and
// from the check-and-repair panel: the check boxes choose the mode, each
// repair is asked for when HataCheck2 says so, a stop is told with the row
// chosen, and the button reports what was found.

#include "document/TimeText.h"

namespace korv {

class Workspace;

// True when the walk reached the end of the list. Sets the workspace's
// report (CheckReport).
bool CheckOverlaps(Workspace &ws);
// The same, rounding to `precision`: that of the format about to be written.
bool CheckOverlaps(Workspace &ws, TimePrecision precision);

// "HATA KONTROLÜNE BAŞLA": the check, then its report in the notice window.
void CmdHataKontrolu_Click(Workspace &ws);

} // namespace korv
