#pragma once
// The grid the title and button dialogs lay their 90 x 90 template tiles out
// in, inside a scroll area of a given content width: as many columns as
// (width - 5) / 95 gives (at least one), the horizontal gaps spread evenly
// with a gap before the first and after the last column, 5 between rows and
// at the top and bottom. The container is as high as the rows need, and at
// least as high as the scroll area shows. Also lays the tiles out: tile i at
// grid place i, counted from the top left. Main thread for layOut; the
// geometry is pure.

#include <QRectF>

#include "common/TileGrid.h"

class QScrollArea;
class QWidget;

class TemplateTileGrid {
public:
    TemplateTileGrid() = delete;

    static constexpr double tileSide = 90.0;
    static constexpr double verticalGap = 5.0;

    static int numberOfColumns(double width);
    static double horizontalGap(double width);
    static TileGrid grid(double width);
    static int numberOfRows(double width, int count);
    // The container's height for `count` tiles.
    static double containerHeight(double width, int count, double contentHeight);

    // Sizes `container` (the scroll area's widget) to the viewport's width
    // and the grid's height, and moves each of its child tiles, in child
    // order, to its place.
    static void layOut(QScrollArea& scrollArea);
};
