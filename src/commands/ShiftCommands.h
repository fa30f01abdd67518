#pragma once
// The synchronisation panel's "UYGULA": every subtitle earlier or later by
// the seconds of Text1(6) (the shift itself is editing/TimeShift.h).

namespace korv {

class Workspace;

// Adds (`add`, option "EKLE") or subtracts the seconds of Text1(6) to or from
// every time. A seconds text that is not a number does nothing; a row whose
// time is not a number is named in a notice, selected, and nothing is shifted.
void CmdEkleCikar_Click(Workspace &ws, bool add);

} // namespace korv
