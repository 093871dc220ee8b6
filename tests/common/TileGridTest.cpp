// The shared tile grid: the transition chooser's worked example and the
// narrow-view guard every grid relies on.

#include <gtest/gtest.h>

#include "common/TileGrid.h"

namespace {

// Four columns of 160 × 150 tiles in a 700-wide view, rows 20 apart, y up:
// the gaps share what the columns leave, rows fill from the top.
TEST(TileGrid, ChooserExampleFillsRowsFromTheTop)
{
    const double gap = TileGrid::evenGap(700, 160, 4);
    EXPECT_DOUBLE_EQ(gap, 12.0);
    const TileGrid grid({160, 150}, 4, gap, gap, 20, 20);
    EXPECT_EQ(grid.rows(10), 3);
    const double height = grid.height(10);
    EXPECT_DOUBLE_EQ(height, 530.0);
    const struct {
        int index;
        QRectF up;
    } cases[] = {
        {0, {12, 360, 160, 150}},
        {3, {528, 360, 160, 150}},
        {4, {12, 190, 160, 150}},
        {9, {184, 20, 160, 150}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(grid.fromBottom(c.index, height), c.up);
        // The same tile seen from the top: mirrored inside the grid.
        EXPECT_DOUBLE_EQ(grid.fromTop(c.index).y(), height - c.up.bottom());
    }
}

TEST(TileGrid, EmptyGridKeepsItsMargins)
{
    const TileGrid grid({160, 150}, 4, 12, 12, 20, 20);
    EXPECT_EQ(grid.rows(0), 0);
    EXPECT_DOUBLE_EQ(grid.height(0), 40.0);
}

// A view narrower than one cell would give no column and a division by zero.
TEST(TileGrid, NeverFewerThanOneColumn)
{
    const struct {
        double width, reserved, cell;
        int columns;
    } cases[] = {
        {290, 5, 95, 3}, {330, 5, 105, 3}, {50, 5, 95, 1},
        {0, 5, 95, 1},   {-10, 0, 95, 1},  {300, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(TileGrid::columnsThatFit(c.width, c.reserved, c.cell), c.columns);
    }
    const TileGrid forced({100, 90}, 0, 5, 5, 5, 5);
    EXPECT_EQ(forced.columns(), 1);
    EXPECT_EQ(forced.rows(3), 3);
    EXPECT_EQ(forced.fromTop(2), QRectF(5, 5 + 2 * 95, 100, 90));
}

}  // namespace
