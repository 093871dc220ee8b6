#pragma once
// What the sort grid and its tiles tell their owner, which holds the items,
// the tiles' order and their frames. Main thread.

#include <QRectF>

class ResortableThumbnailView;

class ResortableViewDelegate {
public:
    virtual ~ResortableViewDelegate() = default;

    virtual void cancelAllThumbnailViews() = 0;
    virtual void cancelAllThumbnailViewsBut(ResortableThumbnailView* view) = 0;
    // Selects the tiles whose picture the rectangle (grid coordinates, y up)
    // touches, keeping those already selected when `append`.
    virtual void testChoosenWith(const QRectF& rect, bool append) = 0;
    // Moves the selection to the insert index.
    virtual void resortAtIndex(int index) = 0;
    // Removes the selection (the Delete key).
    virtual void willRemoveChoosenThumbnailView() = 0;
};
