#include "help/TourGeometry.h"

#include <gtest/gtest.h>

using namespace korv;

TEST(BalloonShapeTest, EachCornerHoldsTheBodyWithTheTailBaseOnThatEdgeUnderItsMiddle)
{
    struct Case {
        int corner;
        QRect body;
        QPoint base1, base2;
    } cases[] = {
        {TopLeft, QRect(0, 0, 300, 300), {130, 0}, {170, 0}},
        {TopRight, QRect(724, 0, 300, 300), {894, 0}, {854, 0}}, // body 724..1024 x 0..300
        {BottomRight, QRect(724, 468, 300, 300), {894, 768}, {854, 768}},
        {BottomLeft, QRect(0, 468, 300, 300), {130, 768}, {170, 768}},
        {7, QRect(0, 0, 300, 300), {130, 0}, {170, 0}}, // unknown: top-left rather than no body
    };
    for (const Case &c : cases) {
        const BalloonShape s = balloonShape(c.corner, QPoint(600, 500), QSize(1024, 768), QSize(300, 300));
        EXPECT_EQ(s.body, c.body) << c.corner;
        EXPECT_EQ(s.base1, c.base1) << c.corner;
        EXPECT_EQ(s.base2, c.base2) << c.corner;
        EXPECT_EQ(s.tail()[2], QPoint(600, 500));
    }
    // Half of an odd body width is rounded half to even.
    EXPECT_EQ(balloonShape(TopLeft, {}, QSize(1024, 768), QSize(301, 301)).base1, QPoint(130, 0));
    EXPECT_EQ(balloonShape(TopLeft, {}, QSize(1024, 768), QSize(303, 303)).base1, QPoint(132, 0));
}

TEST(TourScreenPointTest, AddsWindowFrameControlAndOffsetAndRoundsHalvesToEven)
{
    const TourAnchor lineField{1800, 1200, 15, 5580, 1260, 435};
    EXPECT_EQ(tourScreenPoint(lineField, 500, 600), QPoint(238, 521)); // 3575/15, 7815/15

    const TourAnchor half{1500, 0, 15, 0, 0, 0};
    EXPECT_EQ(tourScreenPoint(half, 607.5, 7.5), QPoint(142, 0));  // 141.5 and 0.5
    EXPECT_EQ(tourScreenPoint(half, 592.5, 22.5), QPoint(140, 2)); // 140.5 and 1.5
}
