#include "slideshow/core/ResortableGrid.h"

#include <algorithm>
#include <cmath>

#include "common/TileGrid.h"

namespace ResortableGrid {

QSizeF frameSize(double zoom)
{
    return {BaseWidth * zoom + 2 * TileGap, BaseHeight * zoom + 2 * TileGap};
}

QRectF hitTestFrame(const QRectF& tileFrame)
{
    return tileFrame.adjusted(TileGap, TileGap, -TileGap, -TileGap);
}

QRectF displayFrame(const QSizeF& image, const QSizeF& bounds)
{
    const double w = bounds.width() - 2 * TileGap;
    const double h = bounds.height() - 2 * TileGap;
    if (!(image.width() > 0.0 && image.height() > 0.0 && w > 0.0 && h > 0.0)) {
        return {};
    }
    const double a = image.width() / image.height();
    const QSizeF size = a > w / h ? QSizeF(w, w / a) : QSizeF(h * a, h);
    return {(w - size.width()) / 2 + TileGap, (h - size.height()) / 2 + TileGap, size.width(),
            size.height()};
}

int columns(double width, double zoom)
{
    const double hg = GridGap * zoom;
    return TileGrid::columnsThatFit(width, 2 * hg, frameSize(zoom).width() + 2 * hg);
}

Layout layout(int count, double width, double visibleHeight, double zoom)
{
    const QSizeF tile = frameSize(zoom);
    const double hg = GridGap * zoom;
    const double vg = GridGap * zoom;
    const TileGrid grid(tile, columns(width, zoom), 2 * hg, 2 * hg, 2 * vg, 2 * vg);
    Layout result;
    const double height = std::trunc(std::max(visibleHeight, grid.height(count)));
    result.gridSize = {std::trunc(width), height};
    for (int i = 0; i < count; ++i) {
        const QRectF frame = grid.fromBottom(i, height);
        result.frames.append(
            {std::trunc(frame.x()), std::trunc(frame.y()), tile.width(), tile.height()});
    }
    return result;
}

InsertPlace insertPlace(const QPointF& point, const QSizeF& gridSize, int count, double zoom)
{
    const QSizeF tile = frameSize(zoom);
    const double hg = GridGap * zoom;
    const double vg = GridGap * zoom;
    const double cw = tile.width() + 2 * hg;
    const double ch = tile.height() + 2 * vg;
    const double w = gridSize.width();
    const double h = gridSize.height();

    double px = point.x() + cw / 2;
    px = px <= hg ? hg : std::min(px, w - hg);
    double py = point.y();
    py = py <= vg ? vg : std::min(py, h - vg);

    const int cols = columns(w, zoom);
    int lastRow = count / cols;
    if (count % cols == 0) {
        --lastRow;
    }
    lastRow = std::max(lastRow, 0);
    const int row = std::clamp(int((h - vg - py) / ch), 0, lastRow);
    int column = std::max(int((px - hg) / cw), 0);
    if (row == lastRow) {
        const int inLast = count % cols == 0 ? cols : count % cols;
        column = std::min(column, inLast);
    }
    InsertPlace place;
    place.row = row;
    place.column = column;
    place.index = std::min(cols * row + column, count);
    const double x = hg + cw * column;
    place.line = QLineF(x, h - vg - ch * row, x, h - vg - ch * (row + 1));
    return place;
}

QList<int> resortedOrder(const QList<bool>& selected, int k)
{
    QList<int> moved;
    QList<int> rest;
    int insertAt = std::clamp(k, 0, int(selected.size()));
    for (int i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            moved.append(i);
            if (i < k) {
                --insertAt;
            }
        } else {
            rest.append(i);
        }
    }
    insertAt = std::clamp(insertAt, 0, int(rest.size()));
    QList<int> order = rest.mid(0, insertAt);
    order.append(moved);
    order.append(rest.mid(insertAt));
    return order;
}

}  // namespace ResortableGrid
