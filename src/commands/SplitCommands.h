#pragma once
// The split panel's "UYGULA": the document written as two files cut at a
// point in time (editing/Split.h says where), each through the save command;
// the document itself is the same afterwards, apart from what the overlap
// check changed.

namespace korv {

class Workspace;

// The split panel's "UYGULA": the split point is Text1(7), `formatEntry` the
// choice of the format box (0 SubViewer 2, 1 MicroDVD). A point that is not a
// number, or that does not lie after the first subtitle's start and before
// the last one's, is refused with message "013" before anything is written.
void CmdBol_Click(Workspace &ws, int formatEntry);

} // namespace korv
