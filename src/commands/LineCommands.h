#pragma once
// The line toolbar (add a row after the selected one, delete the selected
// row, bring the last deleted row back) and the new-document command. Both
// always leave the list with at least one row, selected.

namespace korv {

class Workspace;

// "SATIR EKLE": a new empty row after the selected one, chosen.
void addRow(Workspace &ws);
// "SATIR SİL": the selected row goes into the restore buffer and leaves the
// list; the only row leaves an empty one in its place.
void deleteRow(Workspace &ws);
// "GERİ AL SİL": the row last deleted comes back where it was.
void restoreRow(Workspace &ws);

// The line toolbar's dispatcher: button 1 addRow, 2 deleteRow, 3 restoreRow;
// any other position is ignored.
void Cubuk_ButtonClick(Workspace &ws, int position);

// Lengthen / shorten the selected subtitle's display time by a quarter
// second, one undo step a press.
void CmdArayiAc_Click(Workspace &ws);
void CmdArayiKapat_Click(Workspace &ws);

// "YENİ ALTYAZI": asks first when the list holds two or more rows, then
// leaves one empty, unmodified row.
void MnuYeniAltYazi_Click(Workspace &ws);

} // namespace korv
