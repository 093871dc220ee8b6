// The rules of the sort sheet's grid without a screen: tile sizes at a zoom,
// the layout, the insert index of a drag and the move of a selection.

#include <gtest/gtest.h>

#include <QStringList>

#include "slideshow/core/ResortableGrid.h"

namespace {

using namespace ResortableGrid;

QStringList moved(const QStringList& items, const QList<bool>& selected, int k)
{
    QStringList result;
    for (const int old : resortedOrder(selected, k)) {
        result.append(items[old]);
    }
    return result;
}

TEST(SortMoves, TheSelectionKeepsItsOrderAtTheInsertIndex)
{
    const QStringList t{"t1", "t2", "t3", "t4", "t5"};
    const QList<bool> t2t4{false, true, false, true, false};
    struct Case {
        int k;
        QStringList expected;
    };
    const Case cases[] = {
        {5, {"t1", "t3", "t5", "t2", "t4"}}, {0, {"t2", "t4", "t1", "t3", "t5"}},
        {2, {"t1", "t2", "t4", "t3", "t5"}},  // dropped at its own place: the first stays
        {3, {"t1", "t3", "t2", "t4", "t5"}}, {4, {"t1", "t3", "t2", "t4", "t5"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(moved(t, t2t4, c.k), c.expected) << "k = " << c.k;
    }
    // Nothing selected: the order stays.
    EXPECT_EQ(moved(t, {false, false, false, false, false}, 3), t);
    // A selection dropped where it stands keeps the order.
    EXPECT_EQ(moved(t, {false, true, true, false, false}, 1), t);
    EXPECT_EQ(moved(t, {false, true, true, false, false}, 3), t);
}

TEST(SortInsertIndex, SevenTilesInThreeColumns)
{
    // Cells of 140 × 110 at zoom 1: 3 columns in 430 points, 3 rows in 340.
    const QSizeF grid(430, 340);
    ASSERT_EQ(columns(grid.width(), 1.0), 3);
    struct Case {
        QPointF point;
        int index;
        int row;
        int column;
    };
    const Case cases[] = {
        {{425, 2}, 7, 2, 1},    // below the last row, far right: after the last tile
        {{3, 2}, 6, 2, 0},      // below the last row, far left
        {{80, 280}, 1, 0, 1},   // the right half of the first tile
        {{40, 280}, 0, 0, 0},   // its left half
        {{40, 339}, 0, 0, 0},   // above the top gap: row 0
        {{-50, 200}, 3, 1, 0},  // left of the first column: column 0
        {{425, 200}, 6, 1, 3},  // right of the middle row: after its last tile
    };
    for (const Case& c : cases) {
        const InsertPlace place = insertPlace(c.point, grid, 7, 1.0);
        EXPECT_EQ(place.index, c.index) << c.point.x() << ", " << c.point.y();
        EXPECT_EQ(place.row, c.row) << c.point.x() << ", " << c.point.y();
        EXPECT_EQ(place.column, c.column) << c.point.x() << ", " << c.point.y();
    }
    // The line: in the gap left of the place, one cell high.
    const InsertPlace place = insertPlace({80, 280}, grid, 7, 1.0);
    EXPECT_EQ(place.line, QLineF(145, 335, 145, 225));
}

TEST(SortLayout, TilesFillRowsFromTheTopLeft)
{
    const Layout grid = layout(7, 430, 200, 1.0);
    EXPECT_EQ(grid.gridSize, QSizeF(430, 340));
    ASSERT_EQ(grid.frames.size(), 7);
    EXPECT_EQ(grid.frames[0], QRectF(10, 230, 130, 100));
    EXPECT_EQ(grid.frames[2], QRectF(290, 230, 130, 100));
    EXPECT_EQ(grid.frames[3], QRectF(10, 120, 130, 100));
    EXPECT_EQ(grid.frames[6], QRectF(10, 10, 130, 100));
    // A grid taller than its tiles fills the visible height.
    EXPECT_EQ(layout(2, 430, 600, 1.0).gridSize, QSizeF(430, 600));
}

TEST(SortLayout, ZoomTwoAndNarrowGrids)
{
    EXPECT_EQ(frameSize(2.0), QSizeF(250, 190));
    const Layout zoomed = layout(3, 900, 100, 2.0);
    ASSERT_EQ(zoomed.frames.size(), 3);
    EXPECT_EQ(zoomed.frames[0].x(), 20);                             // 2 hg = 20
    EXPECT_EQ(zoomed.frames[1].x() - zoomed.frames[0].right(), 20);  // columns 20 apart
    // Narrower than one tile: one column, no division by zero.
    EXPECT_EQ(columns(30, 1.0), 1);
    const Layout narrow = layout(3, 30, 0, 1.0);
    EXPECT_EQ(narrow.frames[2].x(), 10);
    EXPECT_EQ(insertPlace({5, 5}, {30, 400}, 3, 1.0).index, 2);  // the last row, column 0
    EXPECT_EQ(insertPlace({5, 5}, {30, 400}, 0, 1.0).index, 0);
}

TEST(SortTiles, PicturesAreFittedInsideTheGap)
{
    EXPECT_EQ(displayFrame({160, 120}, {130, 100}), QRectF(5, 5, 120, 90));
    EXPECT_EQ(displayFrame({90, 120}, {130, 100}), QRectF(31.25, 5, 67.5, 90));
    EXPECT_EQ(displayFrame({0, 120}, {130, 100}), QRectF());
    EXPECT_EQ(hitTestFrame({10, 220, 130, 100}), QRectF(15, 225, 120, 90));
}

}  // namespace
