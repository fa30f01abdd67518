// Dragging a box on the waveform strip: an edge or the whole row moved onto
// the document's grid (MicroDVD frames, hundredths, milliseconds), held
// between its neighbours and at a zero duration at least, one undo step a
// drag named in the menu, the fields following.
#include "commands/StripCommands.h"
#include "locale/MessageKeys.h"
#include "support/WorkspaceTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class StripDrag : public WorkspaceTest {
protected:
    StripDrag()
    {
        setRows({{"1", "2", "Bir"}, {"3", "4.5", "İki"}, {"6", "7", "Üç"}});
    }
    QStringList times(int row) const { return {cell(row, ColStart), cell(row, ColEnd)}; }
    QString undoName() const { return undoCaption(ws.language, ws.history); }
    QString redoName() const { return redoCaption(ws.language, ws.history); }
};

} // namespace

TEST_F(StripDrag, EdgesAndRowsMoveOntoTheHundredthAsOneNamedStepEach)
{
    ws.list.select(0);
    // The start of the middle row, a little later, rounded to the hundredth.
    EXPECT_TRUE(dragRow(ws, 1, DragPart::Start, 0.2468));
    EXPECT_EQ(times(1), QStringList({"3.25", "4.5"}));
    // The row dragged is the row chosen: the fields show it at once.
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(field(EditFields::Start), "3.25");
    EXPECT_EQ(undoName(), shownText(msg::Undo) + ": " + shownText(msg::StepDragStart));

    EXPECT_TRUE(dragRow(ws, 1, DragPart::End, -0.301));
    EXPECT_EQ(times(1), QStringList({"3.25", "4.2"}));
    EXPECT_EQ(field(EditFields::End), "4.2");
    EXPECT_EQ(undoName(), shownText(msg::Undo) + ": " + shownText(msg::StepDragEnd));

    // The whole row keeps its length.
    EXPECT_TRUE(dragRow(ws, 1, DragPart::Whole, 0.5));
    EXPECT_EQ(times(1), QStringList({"3.75", "4.7"}));
    EXPECT_EQ(undoName(), shownText(msg::Undo) + ": " + shownText(msg::StepDragRow));
    EXPECT_EQ(ws.history.count(), 3);

    // Each drag comes back whole, and goes again.
    ws.history.undo();
    EXPECT_EQ(times(1), QStringList({"3.25", "4.2"}));
    EXPECT_EQ(redoName(), shownText(msg::Redo) + ": " + shownText(msg::StepDragRow));
    ws.history.undo();
    ws.history.undo();
    EXPECT_EQ(times(1), QStringList({"3", "4.5"}));
    EXPECT_EQ(field(EditFields::Start), "3");
    EXPECT_FALSE(ws.list.isModified());
    ws.history.redo();
    EXPECT_EQ(times(1), QStringList({"3.25", "4.5"}));

    // A subtitle file of milliseconds keeps them.
    ws.documentFormat = SaveFormat::SubRip;
    EXPECT_TRUE(dragRow(ws, 1, DragPart::End, 0.1234));
    EXPECT_EQ(times(1), QStringList({"3.25", "4.623"}));
    // Only the dragged edge changes: the other keeps its text as it was.
    ws.list.setCell(2, ColEnd, "7.0004");
    EXPECT_TRUE(dragRow(ws, 2, DragPart::Start, -0.25));
    EXPECT_EQ(times(2), QStringList({"5.75", "7.0004"}));
}

TEST_F(StripDrag, NoDragCrossesANeighbourOrTurnsARowInsideOut)
{
    // The start stops at the previous row's end, the end at the next's start.
    EXPECT_TRUE(dragRow(ws, 1, DragPart::Start, -5));
    EXPECT_EQ(times(1), QStringList({"2", "4.5"}));
    EXPECT_TRUE(dragRow(ws, 1, DragPart::End, 10));
    EXPECT_EQ(times(1), QStringList({"2", "6"}));
    // Moved whole, the row stops against its neighbour with its length:
    // already there, it does not move and no step is made.
    EXPECT_FALSE(dragRow(ws, 2, DragPart::Whole, -30));
    EXPECT_EQ(times(2), QStringList({"6", "7"}));
    EXPECT_EQ(ws.history.count(), 2);
    EXPECT_TRUE(dragRow(ws, 2, DragPart::Whole, 100));
    EXPECT_EQ(times(2), QStringList({"106", "107"})); // nothing after the last row
    // An edge dragged past the other one leaves a zero duration.
    EXPECT_TRUE(dragRow(ws, 2, DragPart::End, -3));
    EXPECT_EQ(times(2), QStringList({"106", "106"}));
    EXPECT_FALSE(dragRow(ws, 2, DragPart::Start, 9));
    EXPECT_EQ(times(2), QStringList({"106", "106"}));
    // The first row starts no earlier than the film.
    EXPECT_TRUE(dragRow(ws, 0, DragPart::Whole, -4));
    EXPECT_EQ(times(0), QStringList({"0", "1"}));
    // A row too long for the gap it is in cannot move whole; a row whose
    // times do not read is not dragged at all.
    setRows({{"0", "1", "a"}, {"0.5", "3", "b"}, {"2", "4", "c"}});
    EXPECT_FALSE(dragRow(ws, 1, DragPart::Whole, 0.2));
    ws.list.setCell(0, ColEnd, "x");
    EXPECT_FALSE(dragRow(ws, 0, DragPart::Start, 0.2));
    EXPECT_EQ(ws.history.count(), 1); // the "x" typed, and no drag
}

TEST_F(StripDrag, AMicroDvdDocumentsTimesLandOnItsFrames)
{
    ws.documentFormat = SaveFormat::MicroDvd;
    ws.frameRates.microDvd = 25;
    // 3 s + 0.13 s is frame 78.25: frame 78, 3.12 s.
    EXPECT_TRUE(dragRow(ws, 1, DragPart::Start, 0.13));
    EXPECT_EQ(cell(1, ColStart), "3.12");
    // Moved whole by less than half a frame, the row stays on its frame.
    EXPECT_FALSE(dragRow(ws, 1, DragPart::Whole, 0.015));
    // At 23.976 a frame is read to the hundredth, as a file read from disk
    // gives it: 4.5 s + 0.3 s is frame 115.08, frame 115, 4.796... s: 4.8.
    ws.frameRates.microDvd = 23.976;
    EXPECT_TRUE(dragRow(ws, 1, DragPart::End, 0.3));
    EXPECT_EQ(cell(1, ColEnd), "4.8");
    // With no rate confirmed yet, the film's.
    ws.frameRates.microDvd = 0;
    ws.frameRates.film = 50;
    EXPECT_TRUE(dragRow(ws, 1, DragPart::Whole, 0.045));
    EXPECT_EQ(times(1), QStringList({"3.16", "4.84"}));
    EXPECT_DOUBLE_EQ(dragStep(ws), 1.0 / 50);
}
