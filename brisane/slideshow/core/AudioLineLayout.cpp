#include "slideshow/core/AudioLineLayout.h"

#include <algorithm>
#include <cmath>

#include "media/MediaItem.h"

QRectF AudioLineLayout::rowRect(int index, double stripHeight)
{
    const double bottom = stripHeight - RowMargin;
    return QRectF(RowMargin + RowPitch * index, bottom - RowHeight, RowWidth, RowHeight);
}

int AudioLineLayout::stripWidth(int rows, int visibleWidth)
{
    return std::max(RowMargin + RowPitch * rows, visibleWidth);
}

int AudioLineLayout::insertPosition(double x, int rows)
{
    const int p = int(std::lround((x - 10) / RowPitch));
    return std::min(p, rows);
}

QRectF AudioLineLayout::markerRect(int position, double stripHeight)
{
    return QRectF(RowPitch * position + 7, 30, 6, stripHeight - 60);
}

AudioLineLayout::Items AudioLineLayout::inserted(const Items& list, const Items& items,
                                                 int position)
{
    // Compared unsigned: a negative position appends.
    const auto at = std::min<qsizetype>(qsizetype(quint32(position)), list.size());
    const qsizetype index = position < 0 ? list.size() : at;
    Items result = list;
    for (qsizetype i = 0; i < items.size(); ++i) {
        result.insert(index + i, items.at(i));
    }
    return result;
}

int AudioLineLayout::moveTarget(int from, int insertPos)
{
    if (from < 0 || insertPos < 0) {
        return -1;
    }
    return insertPos > from ? insertPos - 1 : insertPos;
}

AudioLineLayout::Items AudioLineLayout::moved(const Items& list, int from, int to)
{
    if (from < 0 || from >= list.size() || to < 0 || to >= list.size() || from == to) {
        return list;
    }
    Items result = list;
    result.move(from, to);
    return result;
}

int AudioLineLayout::fadeIndex(qint64 fade, int itemCount)
{
    const auto index = std::llround(double(fade) / MediaItem::TimeBase);
    return int(std::clamp<long long>(index, 0, std::max(itemCount - 1, 0)));
}

QString AudioLineLayout::progressString(double current, double duration)
{
    auto seconds = [](double t) {
        return int(std::lround(double(qint64(t)) / MediaItem::TimeBase));
    };
    const int c = seconds(current);
    const int t = seconds(duration);
    return QString::asprintf("%02d:%02d/%02d:%02d", c / 60 % 60, c % 60, t / 60 % 60, t % 60);
}
