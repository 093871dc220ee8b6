#pragma once
// The rules of the sort sheet's grid of photo tiles, without a screen, y up
// with the origin at the grid's lower left.
//
// A tile is (120 z + 10) × (90 z + 10) at zoom z: the picture area (the base
// size scaled) and a gap of 5 inside it on every side, which is not scaled.
// Tiles fill rows from the top left; columns lie 2 hg apart and 2 hg from the
// left, rows 2 vg apart and 2 vg below the top, with hg = vg = 5 z. A grid
// has at least one column at any width.
//
// While a selection is dragged over the grid, the insert index is the place
// between tiles the drop goes to: half a cell to the right counts (a drop on
// the right half of a tile goes after it), rows below the last count as the
// last, and in the last row no further right than after its last tile.
//
// Moving the selection to insert index k keeps the selected items' order and
// puts them where k was, counted without them. Plain functions; any thread.

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>

namespace ResortableGrid {

inline constexpr double BaseWidth = 120.0;
inline constexpr double BaseHeight = 90.0;
inline constexpr double TileGap = 5.0;
inline constexpr double GridGap = 5.0;

// A tile's frame size at zoom `zoom`.
QSizeF frameSize(double zoom);
// The picture area of a tile: its frame inset by the gap.
QRectF hitTestFrame(const QRectF& tileFrame);
// Where a picture of `image` size is drawn in a tile of `bounds` size: fitted
// into the bounds less the gap and centred; empty for an empty size.
QRectF displayFrame(const QSizeF& image, const QSizeF& bounds);

// Columns of tiles at `zoom` in a grid `width` wide; at least 1.
int columns(double width, double zoom);

struct Layout {
    QSizeF gridSize;
    QList<QRectF> frames;  // y up from the grid's bottom
};
// The grid `width` wide for `count` tiles at `zoom`, at least
// `visibleHeight` high; sizes and positions truncated to whole points.
Layout layout(int count, double width, double visibleHeight, double zoom);

struct InsertPlace {
    int index = 0;
    int row = 0;
    int column = 0;
    QLineF line;  // the insertion line, one cell high, left of the place
};
// The place a drag at `point` over a grid of `gridSize` holding `count`
// tiles at `zoom` inserts at.
InsertPlace insertPlace(const QPointF& point, const QSizeF& gridSize, int count, double zoom);

// The new order after moving the selected positions to insert index `k`
// (0 … count): the old positions in their new order.
QList<int> resortedOrder(const QList<bool>& selected, int k);

}  // namespace ResortableGrid
