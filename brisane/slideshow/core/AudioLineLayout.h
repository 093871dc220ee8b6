#pragma once
// The arithmetic of the slideshow music window, free of widgets: where the
// rows of the strip lie, where a drop inserts, how the list changes, how a
// row shows fades and times. Strip and bar rectangles are in widget
// coordinates (origin top left); rowRect converts the strip's bottom-left
// row origins in this one place.

#include <QList>
#include <QRectF>
#include <QString>
#include <memory>

class MediaItem;

class AudioLineLayout {
public:
    using Items = QList<std::shared_ptr<MediaItem>>;

    static constexpr int RowPitch = 348;
    static constexpr int RowMargin = 20;
    static constexpr int RowWidth = 340;
    static constexpr int RowHeight = 130;

    AudioLineLayout() = delete;

    // Row i's frame in a strip of the given height: its lower left corner at
    // (20 + 348 i, 20) counted from the strip's bottom.
    static QRectF rowRect(int index, double stripHeight);
    // The larger of 20 + 348 * rows and the visible width.
    static int stripWidth(int rows, int visibleWidth);
    // round((x - 10) / 348), at most `rows`; negative far to the left.
    static int insertPosition(double x, int rows);
    // The red marker of an insert position over the strip's whole height.
    static QRectF markerRect(int position, double stripHeight);
    // The list with `items` inserted as one block at `position`; a negative
    // position or one past the end appends.
    static Items inserted(const Items& list, const Items& items, int position);
    // Where a row dragged from `from` lands for an insert position: the
    // position, less one past itself; -1 for no move.
    static int moveTarget(int from, int insertPos);
    // The list with the item at `from` moved to `to`; unchanged when either
    // is out of range.
    static Items moved(const Items& list, int from, int to);
    // The fade pop-up item for a fade in media time: seconds rounded,
    // clamped to the items.
    static int fadeIndex(qint64 fade, int itemCount);
    // "%02d:%02d/%02d:%02d" of position and length (media time), each rounded
    // to whole seconds; hours are dropped.
    static QString progressString(double current, double duration);
};
