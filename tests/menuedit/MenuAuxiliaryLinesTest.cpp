// Snapping a dragged item onto the lines of the page's other items, and the
// guides of an arrow-key move.
#include <gtest/gtest.h>

#include "menuedit/core/MenuAuxiliaryLines.h"

namespace {

using A = MenuAuxiliaryLines;

// Guides left on by an earlier check.
AuxiliaryLines earlierGuides()
{
    AuxiliaryLines lines;
    lines.drawMediaLine = true;
    lines.mediaPoint1 = {1, 2};
    lines.mediaPoint2 = {1, 3};
    lines.drawMediaHLine = true;
    lines.mediaHPoint1 = {4, 5};
    lines.mediaHPoint2 = {6, 5};
    return lines;
}

TEST(MenuAuxiliaryLinesTest, DragSnapTable)
{
    struct Case {
        const char* what;
        QRectF moving;
        QList<QRectF> candidates;
        double x;
        bool vertical;
        double guideX;
    };
    const Case cases[] = {
        // The candidate's left edge at 100; the item's left edge 10 away.
        {"10 snaps", {110, 100, 200, 20}, {{100, 300, 50, 20}}, 100, true, 100},
        {"10.5 does not", {110.5, 100, 200, 20}, {{100, 300, 50, 20}}, 110.5, false, 0},
        {"10 to the left snaps too", {90, 100, 200, 20}, {{100, 300, 50, 20}}, 100, true, 100},
        // 16 wide at 100: the line at 107 is 1 from the centre but the left
        // edge, 7 away, is the first within reach.
        {"left edge first, not nearest", {100, 100, 16, 16}, {{107, 300, 200, 20}}, 107, true, 107},
        // The candidate's left edge, centre and right edge are all 5 away.
        {"a tie takes the left edge", {105, 100, 40, 10}, {{100, 300, 20, 20}}, 100, true, 100},
        // The first candidate is 8 away, the second 1: the first decides.
        {"the earlier candidate wins",
         {100, 100, 300, 20},
         {{108, 300, 400, 5}, {101, 500, 400, 5}},
         108,
         true,
         108},
        // Out of reach, then within: the pass goes on to the next.
        {"a far candidate is passed over",
         {100, 100, 300, 20},
         {{150, 300, 20, 5}, {103, 500, 400, 5}},
         103,
         true,
         103},
    };
    for (const Case& c : cases) {
        const AuxiliarySnap snap = A::checkForDrawAuxiliaryLine(c.moving, c.candidates, {});
        EXPECT_DOUBLE_EQ(snap.rect.x(), c.x) << c.what;
        EXPECT_EQ(snap.rect.y(), c.moving.y()) << c.what;
        EXPECT_EQ(snap.rect.size(), c.moving.size()) << c.what;
        EXPECT_EQ(snap.lines.drawMediaLine, c.vertical) << c.what;
        EXPECT_FALSE(snap.lines.drawMediaHLine) << c.what;
        if (c.vertical) {
            EXPECT_DOUBLE_EQ(snap.lines.mediaPoint1.x(), c.guideX) << c.what;
            EXPECT_DOUBLE_EQ(snap.lines.mediaPoint2.x(), c.guideX) << c.what;
        }
    }
}

TEST(MenuAuxiliaryLinesTest, BothAxesSnapAndTheGuidesSpanBothItems)
{
    // Across, the item's right edge (295) goes onto the candidate's left
    // edge (300); up, its lower edge (195) onto the candidate's (200).
    const QRectF moving(95, 195, 200, 20);
    const QRectF candidate(300, 200, 50, 50);
    const AuxiliarySnap snap = A::checkForDrawAuxiliaryLine(moving, {candidate}, {});
    EXPECT_EQ(snap.rect, QRectF(100, 200, 200, 20));
    ASSERT_TRUE(snap.lines.drawMediaLine);
    ASSERT_TRUE(snap.lines.drawMediaHLine);
    // The vertical guide takes the item's lower and upper edges from before
    // the horizontal snap...
    EXPECT_EQ(snap.lines.mediaPoint1, QPointF(300, 195));
    EXPECT_EQ(snap.lines.mediaPoint2, QPointF(300, 250));
    // ...the horizontal one its left edge from after the vertical snap.
    EXPECT_EQ(snap.lines.mediaHPoint1, QPointF(100, 200));
    EXPECT_EQ(snap.lines.mediaHPoint2, QPointF(350, 200));
}

TEST(MenuAuxiliaryLinesTest, WithoutCandidatesNothingChanges)
{
    const QRectF moving(103, 97, 40, 40);
    const AuxiliaryLines earlier = earlierGuides();
    const AuxiliarySnap snap = A::checkForDrawAuxiliaryLine(moving, {}, earlier);
    EXPECT_EQ(snap.rect, moving);
    EXPECT_TRUE(snap.lines.drawMediaLine);
    EXPECT_EQ(snap.lines.mediaPoint2, earlier.mediaPoint2);
    EXPECT_TRUE(snap.lines.drawMediaHLine);
    EXPECT_EQ(snap.lines.mediaHPoint1, earlier.mediaHPoint1);

    const AuxiliaryLines key = A::checkForDrawAuxiliaryLineForKeyEvent(moving, {}, earlier);
    EXPECT_TRUE(key.drawMediaLine);
    EXPECT_TRUE(key.drawMediaHLine);
}

TEST(MenuAuxiliaryLinesTest, ACandidateOutOfReachClearsTheEarlierGuides)
{
    const AuxiliarySnap snap =
        A::checkForDrawAuxiliaryLine({0, 0, 20, 20}, {{400, 300, 20, 20}}, earlierGuides());
    EXPECT_EQ(snap.rect, QRectF(0, 0, 20, 20));
    EXPECT_FALSE(snap.lines.drawMediaLine);
    EXPECT_FALSE(snap.lines.drawMediaHLine);
}

TEST(MenuAuxiliaryLinesTest, TheKeyCheckShowsLinesWithinHalfAUnitAndMovesNothing)
{
    const QRectF candidate(100, 300, 50, 50);
    struct Case {
        double x;
        bool shown;
    };
    for (const Case c : {Case{100.4, true}, Case{99.6, true}, Case{100.5, true}, Case{100.6, false},
                         Case{99.4, false}}) {
        const AuxiliaryLines lines = A::checkForDrawAuxiliaryLineForKeyEvent(
            {c.x, 100, 200, 20}, {candidate}, earlierGuides());
        EXPECT_EQ(lines.drawMediaLine, c.shown) << c.x;
        EXPECT_FALSE(lines.drawMediaHLine) << c.x;
        if (c.shown) {
            // Along the candidate's own line.
            EXPECT_EQ(lines.mediaPoint1, QPointF(100, 100)) << c.x;
            EXPECT_EQ(lines.mediaPoint2, QPointF(100, 350)) << c.x;
        }
    }
}

}  // namespace
