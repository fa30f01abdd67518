// Snapping captured times onto speech edges: the reach of a capture, the
// nearest edge, rows kept apart and long enough, and times rounded to what
// the document stores.
#include "sound/SpeechSnap.h"

#include "document/MicroDvdFormat.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korv::sound;

namespace {

const RoundTime exact = roundToStep(0);
const RoundTime milliseconds = roundToStep(0.001);

SpeechEdges edges(std::vector<double> onsets, std::vector<double> offsets)
{
    return {std::move(onsets), std::move(offsets)};
}

// What a MicroDVD document stores for a time: the frame it falls in, read
// back to the hundredth.
RoundTime microDvdFrames(double fps)
{
    return [times = korv::microdvd::FrameTimes(fps)](double t) {
        const auto frame = times.frameOf(std::llround(t * 100));
        return frame ? double(*times.hundredthsOf(*frame)) / 100 : t;
    };
}

} // namespace

TEST(SnapCapture, StartReachesFrom600MsBeforeTo200MsAfterThePress)
{
    EXPECT_DOUBLE_EQ(snapStart(edges({9.4}, {}), 10.0, exact), 9.4);
    EXPECT_DOUBLE_EQ(snapStart(edges({9.39}, {}), 10.0, exact), 10.0);
    EXPECT_DOUBLE_EQ(snapStart(edges({10.2}, {}), 10.0, exact), 10.2);
    EXPECT_DOUBLE_EQ(snapStart(edges({10.21}, {}), 10.0, exact), 10.0);
    // Offsets are no place for a start.
    EXPECT_DOUBLE_EQ(snapStart(edges({}, {9.9}), 10.0, exact), 10.0);
}

TEST(SnapCapture, EndReachesFrom500MsBeforeTo300MsAfterThePress)
{
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {9.5}), 10.0, exact), 9.5);
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {9.49}), 10.0, exact), 10.0);
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {10.3}), 10.0, exact), 10.3);
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {10.31}), 10.0, exact), 10.0);
    EXPECT_DOUBLE_EQ(snapEnd(edges({10.1}, {}), 10.0, exact), 10.0);
}

TEST(SnapCapture, TakesTheNearestEdgeOnEitherSide)
{
    EXPECT_DOUBLE_EQ(snapStart(edges({9.5, 9.8, 10.15}, {}), 10.0, exact), 10.15);
    EXPECT_DOUBLE_EQ(snapStart(edges({9.5, 9.9, 10.15}, {}), 10.0, exact), 9.9);
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {9.6, 9.75, 10.28}), 10.0, exact), 9.75);
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {9.6, 10.2}), 10.0, exact), 10.2);
    // Equally near: the earlier, since captures come late.
    EXPECT_DOUBLE_EQ(snapStart(edges({9.9, 10.1}, {}), 10.0, exact), 9.9);
}

TEST(SnapCapture, GivesTheTimeAsTheDocumentStoresIt)
{
    EXPECT_DOUBLE_EQ(snapStart(edges({9.437}, {}), 10.0, roundToStep(0.01)), 9.44);
    EXPECT_DOUBLE_EQ(snapStart(edges({9.4374}, {}), 10.0, milliseconds), 9.437);
    // At 25 fps an onset at 9.43 s lies in frame 235, read back as 9.40 s.
    EXPECT_DOUBLE_EQ(snapStart(edges({9.43}, {}), 10.0, microDvdFrames(25)), 9.40);
    // 23.976 fps: 12.33 s lies in frame 295 (12.304 s), stored as 12.30.
    EXPECT_DOUBLE_EQ(snapEnd(edges({}, {12.33}), 12.5, microDvdFrames(23.976)), 12.30);
}

TEST(SnapRows, MovesEachRowToItsOwnLineAndCountsWhatMoved)
{
    const SpeechEdges e = edges({1.0, 5.0, 9.0}, {3.0, 7.0, 11.0});
    const SnapReport r = snapRows(e, {{1.3, 3.4}, {5.25, 7.2}, {9.3, 11.45}}, SnapRules{}, milliseconds);
    EXPECT_EQ(r.rows, (std::vector<RowTimes>{{1.0, 3.0}, {5.0, 7.0}, {9.0, 11.0}}));
    EXPECT_EQ(r.startsMoved, 3);
    EXPECT_EQ(r.endsMoved, 3);
    EXPECT_EQ(r.startsOutOfReach + r.endsOutOfReach + r.startsHeld + r.endsHeld, 0);
}

TEST(SnapRows, LeavesWhatHasNoSpeechInReachExactlyAsItWas)
{
    const SpeechEdges e = edges({1.0}, {3.0});
    const std::vector<RowTimes> rows{{1.2, 3.1}, {20.123, 22.456}};
    const SnapReport r = snapRows(e, rows, SnapRules{}, roundToStep(0.01));
    EXPECT_EQ(r.rows[1], rows[1]);
    EXPECT_EQ(r.startsMoved, 1);
    EXPECT_EQ(r.endsMoved, 1);
    EXPECT_EQ(r.startsOutOfReach, 1);
    EXPECT_EQ(r.endsOutOfReach, 1);
}

TEST(SnapRows, NeverTakesAnEdgeOfTheNeighbouringLine)
{
    // Lines at 1.0-3.0 and 3.3-5.0; the second has a pause, so an offset at
    // 3.6 lies nearer to the first row's late end (3.45) than its own 3.0.
    const SpeechEdges e = edges({1.0, 3.3, 3.7}, {3.0, 3.6, 5.0});
    const SnapReport r = snapRows(e, {{1.2, 3.45}, {3.5, 5.3}}, SnapRules{0.08, 0.7}, exact);
    EXPECT_EQ(r.rows, (std::vector<RowTimes>{{1.0, 3.0}, {3.3, 5.0}}));

    // The first line has a pause (an onset at 2.7, inside its row); the
    // second row's start, captured early at 2.95, must not take it.
    const SpeechEdges f = edges({1.0, 2.7, 3.3}, {2.5, 3.0, 5.0});
    const SnapReport s = snapRows(f, {{1.2, 3.2}, {2.95, 5.3}}, SnapRules{0.08, 0.7}, exact);
    EXPECT_DOUBLE_EQ(s.rows[1].start, 2.95);
    EXPECT_DOUBLE_EQ(s.rows[0].end, 3.2); // 3.0 would come within the gap of the next row's start
    EXPECT_EQ(s.startsHeld, 1);
    EXPECT_EQ(s.endsHeld, 1);
}

TEST(SnapRows, KeepsTheMinimumGapBetweenRows)
{
    // The nearest onset for row 2 is 3.02, only 0.02 s after row 1's end: it
    // is held there, and the end of row 1 stays off the next row's start.
    const SpeechEdges e = edges({1.0, 3.02}, {3.0, 6.0});
    const SnapRules rules = SnapRules::forFrameRate(25); // 2 frames: 0.08 s
    const SnapReport r = snapRows(e, {{1.3, 3.2}, {3.15, 6.2}}, rules, roundToStep(0.01));
    EXPECT_DOUBLE_EQ(r.rows[0].end, 3.0);
    EXPECT_DOUBLE_EQ(r.rows[1].start, 3.15);
    EXPECT_EQ(r.startsHeld, 1);

    // An end may not come closer to the next row than the gap.
    const SpeechEdges f = edges({}, {5.0, 9.0});
    const SnapReport s = snapRows(f, {{2.0, 4.8}, {5.05, 9.1}}, rules, roundToStep(0.01));
    EXPECT_DOUBLE_EQ(s.rows[0].end, 4.8);
    EXPECT_EQ(s.endsHeld, 1);
}

TEST(SnapRows, KeepsClearOfTheRowsAroundASelection)
{
    // Only the middle row is snapped; its neighbours end at 4.95 and begin
    // at 8.0, and stay: 4.9 and 7.95 are nearer the captures but theirs.
    const SpeechEdges e = edges({4.9, 5.2}, {7.5, 7.95});
    const SnapReport r = snapRows(e, {{5.0, 7.8}}, SnapRules{0.08, 0.7}, exact, 4.95, 8.0);
    EXPECT_EQ(r.rows[0], (RowTimes{5.2, 7.5}));
    EXPECT_EQ(r.startsMoved, 1);
    EXPECT_EQ(r.endsMoved, 1);
}

TEST(SnapRows, KeepsTheMinimumDuration)
{
    // A short word: its offset 0.3 s after the onset; the row keeps 0.7 s.
    const SpeechEdges e = edges({10.0}, {10.3});
    const SnapReport r = snapRows(e, {{10.3, 10.6}}, SnapRules{0.08, 0.7}, roundToStep(0.01));
    EXPECT_DOUBLE_EQ(r.rows[0].start, 10.0);
    EXPECT_DOUBLE_EQ(r.rows[0].end, 10.7);
    EXPECT_EQ(r.endsMoved, 1);

    // ...unless the next row leaves no room: the gap comes first, and the
    // end goes as late as the gap allows.
    const SnapReport s = snapRows(e, {{10.3, 10.6}, {10.6, 12.0}}, SnapRules{0.08, 0.7}, roundToStep(0.01));
    EXPECT_DOUBLE_EQ(s.rows[0].end, 10.52);

    // A start does not move later where that leaves the row shorter than
    // the minimum with its captured end.
    const SpeechEdges later = edges({5.15}, {});
    const SnapReport t = snapRows(later, {{5.0, 5.8}}, SnapRules{0.08, 0.7}, exact);
    EXPECT_DOUBLE_EQ(t.rows[0].start, 5.0);
    EXPECT_EQ(t.startsHeld, 1);
}

TEST(SnapRows, RoundsToMicroDvdFramesAndKeepsTheGapInFrames)
{
    const RoundTime frames = microDvdFrames(25);
    const SpeechEdges e = edges({1.013, 4.087}, {3.987, 6.0});
    const SnapReport r = snapRows(e, {{1.3, 4.2}, {4.3, 6.2}}, SnapRules::forFrameRate(25), frames);
    // Every time on a frame (a multiple of 0.04 s), the rows two frames apart.
    for (const RowTimes &row : r.rows) {
        EXPECT_NEAR(std::remainder(row.start, 0.04), 0, 1e-9) << row.start;
        EXPECT_NEAR(std::remainder(row.end, 0.04), 0, 1e-9) << row.end;
    }
    EXPECT_DOUBLE_EQ(r.rows[0].start, 1.0);
    EXPECT_DOUBLE_EQ(r.rows[0].end, 3.96);
    EXPECT_GE(r.rows[1].start - r.rows[0].end, 0.08 - 1e-9);
}
