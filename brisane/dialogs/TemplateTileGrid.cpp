#include "dialogs/TemplateTileGrid.h"

#include <QScrollArea>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "dialogs/TemplateTileView.h"

int TemplateTileGrid::numberOfColumns(double width)
{
    return TileGrid::columnsThatFit(width, 5.0, tileSide + verticalGap);
}

double TemplateTileGrid::horizontalGap(double width)
{
    return TileGrid::evenGap(width, tileSide, numberOfColumns(width));
}

TileGrid TemplateTileGrid::grid(double width)
{
    const double gap = horizontalGap(width);
    return TileGrid(QSizeF(tileSide, tileSide), numberOfColumns(width), gap, gap, verticalGap,
                    verticalGap);
}

int TemplateTileGrid::numberOfRows(double width, int count)
{
    return grid(width).rows(count);
}

double TemplateTileGrid::containerHeight(double width, int count, double contentHeight)
{
    const int rows = numberOfRows(width, count);
    return std::max(rows * tileSide + (rows + 1) * verticalGap, contentHeight);
}

void TemplateTileGrid::layOut(QScrollArea& scrollArea)
{
    QWidget* container = scrollArea.widget();
    if (!container) {
        return;
    }
    const QList<TemplateTileView*> tiles =
        container->findChildren<TemplateTileView*>(Qt::FindDirectChildrenOnly);
    const QSize viewport = scrollArea.viewport()->size();
    const double width = viewport.width();
    const TileGrid layout = grid(width);
    container->resize(viewport.width(),
                      static_cast<int>(std::ceil(containerHeight(
                          width, static_cast<int>(tiles.size()), viewport.height()))));
    for (int i = 0; i < tiles.size(); ++i) {
        const QRectF place = layout.fromTop(i);
        tiles[i]->move(static_cast<int>(std::lround(place.x())),
                       static_cast<int>(std::lround(place.y())));
    }
    container->update();
}
