#pragma once
// The layout of a grid of equal tiles filled row by row from the top left:
// where tile i goes, how many rows a number of tiles takes and how high the
// grid is. The grids of the template, picture, transition and photo sheets all
// place their tiles with it.
//
// A grid has at least one column, whatever the width it is asked to fit: a
// view narrower than one tile still shows its tiles, one per row.
//
// Rectangles come in either orientation: fromTop counts y downward from the
// grid's top edge (Qt's widgets), fromBottom counts y upward from the grid's
// bottom edge, for the grids described with the origin at the lower left.
// Positions are not rounded. Plain values; any thread.

#include <QRectF>
#include <QSizeF>

class TileGrid {
public:
    // `columns` below 1 counts as 1. The first column's left edge lies at
    // `marginX`, columns follow each other `gapX` apart; the first row's top
    // edge lies `marginY` below the grid's top, rows follow `gapY` apart, and
    // the grid ends `marginY` below the last row.
    TileGrid(const QSizeF& tile, int columns, double marginX, double gapX, double marginY,
             double gapY);

    // Columns of `cell` width (tile plus gap) that fit in `width` after
    // `reserved`, truncated; at least 1.
    static int columnsThatFit(double width, double reserved, double cell);
    // The gap that spaces `columns` tiles evenly over `width`, with gaps of
    // the same size before the first and after the last.
    static double evenGap(double width, double tileWidth, int columns);

    QSizeF tileSize() const { return m_tile; }
    int columns() const { return m_columns; }
    // Rows that `count` tiles take (none for no tile).
    int rows(int count) const;
    // The grid's height for `count` tiles: the rows, the gaps between them and
    // the two margins.
    double height(int count) const;
    // Tile `index`, y measured down from the grid's top.
    QRectF fromTop(int index) const;
    // Tile `index` in a grid `gridHeight` high, y measured up from its bottom.
    QRectF fromBottom(int index, double gridHeight) const;

private:
    QSizeF m_tile;
    int m_columns;
    double m_marginX;
    double m_gapX;
    double m_marginY;
    double m_gapY;
};
