#pragma once
// What the waveform strip does to the rows: a box's edge or the whole box
// dragged to new times, as one undo step, on the document's grid and never
// past the neighbouring rows.

#include "editing/BoxDrag.h"

#include <optional>

namespace korv {

class Workspace;

// The grid a dragged time goes to: a MicroDVD document's frame (at the rate
// confirmed for it, else the film's, else 25 a second), else a hundredth or
// a millisecond as the document keeps its times.
double dragStep(const Workspace &ws);
// The row's times; nothing when either cell does not read as a time.
std::optional<BoxTimes> rowBox(const Workspace &ws, int row);
// The end of the row before and the start of the row after (those that read
// as times), which a drag of `row` may not pass.
DragBounds dragBounds(const Workspace &ws, int row);
// Where `row`'s box goes when dragged by `delta` seconds at `part`.
std::optional<BoxTimes> draggedBox(const Workspace &ws, int row, DragPart part, double delta);

// Drags the box: the row is selected (so the fields show it) and its new
// times written as one step of the drag's kind. False, and nothing done,
// when the times would not change.
bool dragRow(Workspace &ws, int row, DragPart part, double delta);

} // namespace korv
