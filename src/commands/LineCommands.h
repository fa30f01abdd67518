#pragma once
// The line toolbar (add a row after the selected one, delete the selected
// row, bring the last deleted row back) and the new-document command. Both
// always leave the list with at least one row, selected.

namespace korv {

class Workspace;

// Line toolbar button 1 "SATIR EKLE", 2 "SATIR SİL", 3 "GERİ AL SİL"; any
// other position is ignored.
void Cubuk_ButtonClick(Workspace &ws, int position);

// "YENİ ALTYAZI": asks first when the list holds two or more rows, then
// leaves one empty, unmodified row.
void MnuYeniAltYazi_Click(Workspace &ws);

} // namespace korv
