#pragma once
// Moving every subtitle earlier or later by the same number of seconds.

#include "document/Result.h"

namespace korv {

class SubtitleList;
class Workspace;

// Adds `seconds` to every start and end time, written with at most two
// decimals ("12." for a whole second). All or nothing: when a start or end
// does not read as a number, nothing changes, the failure names the row and
// `failedRow` (when given) receives its index.
Status ShiftAllTimes(SubtitleList &list, double seconds, int *failedRow = nullptr);

// The synchronisation panel's "UYGULA": adds (`add`, option "EKLE") or
// subtracts the seconds of Text1(6) to or from every time. A seconds text
// that is not a number does nothing; a row whose time is not a number is
// named in a notice, selected, and nothing is shifted.
void CmdEkleCikar_Click(Workspace &ws, bool add);

} // namespace korv
