#include "commands/StripCommands.h"

#include "commands/Workspace.h"
#include "document/MicroDvdFormat.h"
#include "document/TimeText.h"

#include <cmath>

namespace korv {

namespace {

double microDvdRate(const Workspace &ws)
{
    return ws.frameRates.microDvd > 0 ? ws.frameRates.microDvd : ws.frameRates.film > 0 ? ws.frameRates.film : 25.0;
}

// A time on the grid as the document keeps it: a MicroDVD frame is read as
// its time to the hundredth, as a file read from disk gives it.
double storedTime(const Workspace &ws, double t)
{
    if (ws.documentFormat == SaveFormat::MicroDvd) {
        const double rate = microDvdRate(ws);
        if (const auto hundredths = microdvd::FrameTimes(rate).hundredthsOf(std::llround(t * rate)))
            return double(*hundredths) / 100;
    }
    const double step = dragStep(ws);
    return std::round(t / step) * step;
}

} // namespace

double dragStep(const Workspace &ws)
{
    if (ws.documentFormat == SaveFormat::MicroDvd)
        return 1.0 / microDvdRate(ws);
    return ws.precision() == TimePrecision::Milliseconds ? 0.001 : 0.01;
}

std::optional<BoxTimes> rowBox(const Workspace &ws, int row)
{
    if (!ws.list.isValidRow(row))
        return std::nullopt;
    const auto start = TextToSeconds(ws.list.cell(row, ColStart), ws.numbers);
    const auto end = TextToSeconds(ws.list.cell(row, ColEnd), ws.numbers);
    if (!start || !end)
        return std::nullopt;
    return BoxTimes{*start, *end};
}

DragBounds dragBounds(const Workspace &ws, int row)
{
    DragBounds bounds;
    if (ws.list.isValidRow(row - 1))
        if (const auto end = TextToSeconds(ws.list.cell(row - 1, ColEnd), ws.numbers))
            bounds.lowest = *end;
    if (ws.list.isValidRow(row + 1))
        if (const auto start = TextToSeconds(ws.list.cell(row + 1, ColStart), ws.numbers))
            bounds.highest = *start;
    return bounds;
}

std::optional<BoxTimes> draggedBox(const Workspace &ws, int row, DragPart part, double delta)
{
    const auto box = rowBox(ws, row);
    if (!box)
        return std::nullopt;
    BoxTimes moved = dragBox(*box, part, delta, dragBounds(ws, row), dragStep(ws));
    // Times the drag did not move keep their text's value exactly.
    if (moved.start != box->start)
        moved.start = storedTime(ws, moved.start);
    if (moved.end != box->end)
        moved.end = storedTime(ws, moved.end);
    return moved;
}

bool dragRow(Workspace &ws, int row, DragPart part, double delta)
{
    const auto box = rowBox(ws, row);
    const auto moved = draggedBox(ws, row, part, delta);
    if (!box || !moved || *moved == *box)
        return false;
    // Undoing shows the row it changed.
    ws.list.select(row);
    const StepKind kind = part == DragPart::Start ? StepKind::DragStart
        : part == DragPart::End                   ? StepKind::DragEnd
                                                  : StepKind::DragRow;
    const HistoryStep step(ws, kind);
    if (moved->start != box->start)
        ws.list.setCell(row, ColStart, SecondsToText(moved->start, ws.numbers));
    if (moved->end != box->end)
        ws.list.setCell(row, ColEnd, SecondsToText(moved->end, ws.numbers));
    return true;
}

} // namespace korv
