#pragma once
// The zoom slider of the title and button dialogs: it resizes the current
// item about its centre, always scaling the frame recorded when the slider
// was last reset (`oldFrame`), never the item's present frame, so moving the
// slider back to 1 restores that frame (its size truncated to whole units).
// The range is computed at each reset, for the item asked about, from the
// menu canvas and the page's other items (ItemZoomLimits), and stays as it
// is while the slider moves.
//
// The slider is an integer slider of 1000 steps per unit of factor. Resetting
// sets the range and value with the slider's signals blocked: it never
// resizes the item. Each move of the slider resizes the current item, moves
// the menu editor's item bar and redisplays the canvas. Main thread.

#include <QObject>
#include <QRectF>
#include <functional>
#include <memory>

#include "dialogs/MenuEditorAccess.h"

class DVDPageItem;
class QSlider;
class QWidget;

class ItemZoomSlider : public QObject {
    Q_OBJECT
public:
    // The state before the first reset: `minZoom`, `maxZoom`, `zoomValue`;
    // the current item is `editor`'s.
    ItemZoomSlider(float minZoom, float maxZoom, float zoomValue, MenuEditorAccess editor,
                   QWidget* parent);

    // The slider with its labels.
    QWidget* zoomControlView() const { return view_; }
    QSlider* slider() const { return slider_; }

    float minZoom() const { return minZoom_; }
    float maxZoom() const { return maxZoom_; }
    float zoomValue() const { return zoomValue_; }
    QRectF oldFrame() const { return oldFrame_; }

    // When set, each zoom step also records the new frame as the item's
    // remembered picture frame (the button dialog's picture buttons).
    void setStoresTitleOldFrame(bool on) { storesTitleOldFrame_ = on; }

    // Resets for the current item: its limits, the value 1 and, when
    // `recordOldFrame`, its present frame as `oldFrame`. Without an item the
    // state stays as it is.
    void updateSelfZoomSlider(bool recordOldFrame = true);
    // The slider's action: the current item takes `oldFrame` scaled by the
    // factor.
    void zoomChangedAction();
    // Sets the factor as a move of the slider would, then acts.
    void setZoomValue(float zoom);

private:
    void showState();

    MenuEditorAccess editor_;
    float minZoom_;
    float maxZoom_;
    float zoomValue_;
    QRectF oldFrame_;
    bool storesTitleOldFrame_ = false;
    QWidget* view_ = nullptr;
    QSlider* slider_ = nullptr;
};
