#include "common/TileGrid.h"

#include <algorithm>
#include <cmath>

TileGrid::TileGrid(const QSizeF& tile, int columns, double marginX, double gapX, double marginY,
                   double gapY)
    : m_tile(tile),
      m_columns(std::max(columns, 1)),
      m_marginX(marginX),
      m_gapX(gapX),
      m_marginY(marginY),
      m_gapY(gapY)
{
}

int TileGrid::columnsThatFit(double width, double reserved, double cell)
{
    if (!(cell > 0.0)) {
        return 1;
    }
    const double fitting = std::trunc((width - reserved) / cell);
    return fitting >= 1.0 && std::isfinite(fitting) ? static_cast<int>(std::min(fitting, 1e6)) : 1;
}

double TileGrid::evenGap(double width, double tileWidth, int columns)
{
    const int n = std::max(columns, 1);
    return (width - n * tileWidth) / (n + 1);
}

int TileGrid::rows(int count) const
{
    return count > 0 ? (count + m_columns - 1) / m_columns : 0;
}

double TileGrid::height(int count) const
{
    const int r = rows(count);
    return m_tile.height() * r + m_gapY * std::max(r - 1, 0) + 2 * m_marginY;
}

QRectF TileGrid::fromTop(int index) const
{
    const int column = index % m_columns;
    const int row = index / m_columns;
    return {m_marginX + column * (m_tile.width() + m_gapX),
            m_marginY + row * (m_tile.height() + m_gapY), m_tile.width(), m_tile.height()};
}

QRectF TileGrid::fromBottom(int index, double gridHeight) const
{
    QRectF rect = fromTop(index);
    rect.moveTop(gridHeight - rect.bottom());
    return rect;
}
