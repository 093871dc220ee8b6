#pragma once
// The sort sheet: all photos of a slideshow as a zoomable grid of thumbnails
// in which the user selects photos (click, modifier-click, rubber band),
// drags the selection to another place and removes photos with the Delete
// key. It works on the caller's own list: every move and removal is made on
// that list at once, and when the sheet closes the completion block receives
// the photos removed. Done and the close box end it alike.
//
// While the sheet opens, the thumbnails (160 × 120) are made on the sheet's
// own queue under the busy sheet, and the tiles built from them on the main
// thread; the close box shows only once the grid is ready (at once for an
// empty list). At any width the grid has at least one column.
//
// startResortingItems runs the sheet and returns when it closes;
// beginResortingItems and endResorting are the same without the modal run.
// Main thread.

#include <QImage>
#include <QList>
#include <QPointer>

#include "common/OperationQueue.h"
#include "slideshow/SheetWindowController.h"
#include "slideshow/core/ISortWndCtrl.h"
#include "slideshow/core/ResortableViewDelegate.h"

class BusyWindowController;
class QAbstractButton;
class QPushButton;
class QScrollArea;
class QSlider;
class ResortableBackView;
class ResortableThumbnailView;

class SortWndCtrl : public SheetWindowController,
                    public ISortWndCtrl,
                    public ResortableViewDelegate {
    Q_OBJECT
public:
    static inline const QSizeF ThumbnailSize{160, 120};
    // The zoom slider's range, in hundredths.
    static constexpr int MinimumZoom = 50;
    static constexpr int MaximumZoom = 200;

    explicit SortWndCtrl(QWidget* sheetedWindow = nullptr);
    ~SortWndCtrl() override;

    // --- ISortWndCtrl ---
    void setWndSheetedWindow(QWidget* window) override;
    void setBlkSortCompleted(SortCompleted completed) override;
    void startResortingItems(Photos& photos) override;
    bool bDidChange() const override { return m_didChange; }

    // The opening without the modal run: false (nothing shown) for a list
    // holding a missing photo.
    bool beginResortingItems(Photos& photos);
    void endResorting();
    void done();

    // --- Grid ---
    void adjustThumbnailViewFrames();
    // The zoom, as a ratio (1 is the base size).
    void changeRatio(double ratio);
    // True once the tiles of the current list are in the grid.
    bool isReady() const { return m_ready; }
    bool closeBoxShown() const { return m_closeBox; }
    // The close box as the window system is asked to show it.
    bool windowHasCloseBox() const;

    // --- ResortableViewDelegate ---
    void cancelAllThumbnailViews() override;
    void cancelAllThumbnailViewsBut(ResortableThumbnailView* view) override;
    void testChoosenWith(const QRectF& rect, bool append) override;
    void resortAtIndex(int index) override;
    void willRemoveChoosenThumbnailView() override;

    // --- State ---
    QScrollArea* scvBackView() const { return m_scroll; }
    ResortableBackView* vBackView() const { return m_back; }
    QSlider* sldZoom() const { return m_zoom; }
    QAbstractButton* btnDone() const;
    const QList<ResortableThumbnailView*>& mtAryViews() const { return m_views; }
    const Photos& mtAryRemoved() const { return m_removed; }
    BusyWindowController* wCtrlBusy() const { return m_busy; }

protected:
    void sheetRejected() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void awakeFromNib();
    // What both openings share: false for a list holding a missing photo.
    bool prepare(Photos& photos);
    // Queues the thumbnails of the list; the tiles follow on the main thread.
    void setupThumbsWithArray();
    void finishSetup(quint64 run, const QList<QImage>& thumbnails);
    void setCloseBoxShown(bool shown);
    void removeAllTiles();

    SortCompleted m_completed;
    bool m_didChange = false;
    bool m_ready = false;
    bool m_closeBox = true;
    bool m_busyUp = false;
    quint64 m_run = 0;                        // which opening the queued work belongs to
    Photos* m_items = nullptr;                // the caller's list, while the sheet is open
    QList<ResortableThumbnailView*> m_views;  // children of the grid, the items' order
    Photos m_removed;

    QPointer<BusyWindowController> m_busy;  // the shared one, not owned
    QScrollArea* m_scroll = nullptr;
    ResortableBackView* m_back = nullptr;
    QSlider* m_zoom = nullptr;
    QPushButton* m_doneButton = nullptr;

    OperationQueue m_queue{1};  // last: its running work ends before the rest goes
};
