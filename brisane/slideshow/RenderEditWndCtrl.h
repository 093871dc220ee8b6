#pragma once
// The slideshow editing window: where the user edits one photo slideshow in
// place. A preview with a play / pause button, a strip of photo tiles under
// it, and the actions add photos, sort, fill frame (keep standard ratio,
// shown inverted), themes (the transition chooser), music, crop and Done;
// Delete removes the selected photo. There is no Cancel: every change is made
// on the slideshow at once.
//
// The main window makes one editor and keeps it. startEditting runs the
// window as a sheet on the main window and returns when the user presses
// Done (or Escape); the list editor then takes the slideshow's new length.
//
// Times. With D seconds per photo and the first and last ratios F and L, a
// tile stands for the middle of its photo's span (the first for 0), and the
// playhead selects the tile whose span holds it (PhotoTimeline). Playing
// advances by a monotonic clock every 0.05 s, with the slideshow's music in
// step, and rewinds to 0 and stops at the end. Every action but play and a
// tile click stops playback first. To reload the preview is to set the
// renderer up again at the current time and ask for that frame.
//
// Threads: everything on the main thread, except the picture decoding of a
// photo import (on the editor's own queue, under the busy sheet; the photos
// join the slideshow back on the main thread) and the renderer's frames,
// which come from its render queue and reach the display with a queued call.
//
// The crop and sort sheets and the music window are reached through their
// interfaces: the crop sheet (CropWndCtrl), the sort sheet (SortWndCtrl) and
// the music window (AudioLineCtrl) are installed by default.

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "common/OperationQueue.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "slideshow/SheetWindowController.h"
#include "slideshow/core/IAudioLineCtrl.h"
#include "slideshow/core/ICropWndCtrl.h"
#include "slideshow/core/ISortWndCtrl.h"
#include "slideshow/core/RenderThumbnailViewDelegate.h"

class BusyWindowController;
class PhotoItem;
class QAbstractButton;
class QScrollArea;
class QTimer;
class QToolButton;
class QPushButton;
class RenderController;
class RenderDisplayView;
class RenderItem;
class RenderThumbnailView;
class SlideshowRenderController;
class SlideshowWndCtrl;

class RenderEditWndCtrl : public SheetWindowController,
                          public IRenderEditWndCtrl,
                          public RenderThumbnailViewDelegate {
    Q_OBJECT
public:
    using Photos = QList<std::shared_ptr<PhotoItem>>;
    // The monotonic clock, in nanoseconds.
    using Clock = std::function<qint64()>;

    static constexpr int PlayIntervalMs = 50;
    static inline const QSizeF DisplaySize43{960, 720};
    static inline const QSizeF DisplaySize169{960, 540};
    static inline const QString PlayImageName = QStringLiteral("Render_Play.png");
    static inline const QString PauseImageName = QStringLiteral("Render_Pause.png");

    // An editor whose window is sheeted on `parent` (none: a window of its
    // own), over the shared transition registry or `registry` (not owned).
    explicit RenderEditWndCtrl(QWidget* parent = nullptr);
    RenderEditWndCtrl(QWidget* parent, RenderController& registry);
    ~RenderEditWndCtrl() override;

    // --- IRenderEditWndCtrl ---
    // 0: 4:3 (960 × 720 frames); any other value: 16:9 (960 × 540). Applies
    // from the next edit on.
    void setEnumDisplayRatio(long ratio) override;
    void setWndSheetedWindow(QWidget* window) override;
    void startEditting(const std::shared_ptr<RenderItem>& item) override;

    // startEditting without the modal run, and its end.
    void beginEditting(const std::shared_ptr<RenderItem>& item);
    void endEditting();

    // --- Actions ---
    void done();
    void play();
    // Opens the file panel; its OK imports the chosen files.
    void add();
    // The import the panel's OK starts; returns at once.
    void importPhotoURLs(const QList<QUrl>& urls);
    void sort();
    void keepStandardRatio();
    void themes();
    void music();
    void crop();

    // --- Tile delegate ---
    void didClickOnRenderThumbnailView(RenderThumbnailView* view) override;
    void didDeleteOnRenderThumbnailView(RenderThumbnailView* view) override;

    // --- Strip ---
    void addThumbnailViewsByPhotoItems(const Photos& photos);
    void removeThumbnailViewsByPhotoItems(const Photos& photos);
    void adjustThumbnailViews();
    RenderThumbnailView* thumbnailViewByItem(const std::shared_ptr<PhotoItem>& photo) const;
    double timeOfThumbnailView(const RenderThumbnailView* view) const;
    RenderThumbnailView* thumbnailViewOfTime(double time) const;

    // --- Playback ---
    void setBIsPlaying(bool playing);
    // The play timer's tick.
    void renderDisplay();
    // Another clock (tests); null goes back to the monotonic one.
    void setClock(Clock clock);

    // --- State ---
    long enumDisplayRatio() const { return m_displayRatio; }
    QSizeF szDisplaySize() const { return m_displaySize; }
    std::shared_ptr<RenderItem> oRenderItem() const { return m_item; }
    RenderThumbnailView* vThumbnailView() const { return m_selected; }
    std::shared_ptr<PhotoItem> oPhotoItem() const;
    const QList<RenderThumbnailView*>& mtAryThumbnailViews() const { return m_tiles; }
    bool bIsPlaying() const { return m_playing; }
    bool hasPlayTimer() const { return m_timer != nullptr; }
    double dCurrentTime() const { return m_currentTime; }
    double dCurrentDuration() const;
    // The picture the play button shows.
    QString playButtonImageName() const { return m_playImageName; }

    RenderDisplayView* vRenderDisplayView() const { return m_display; }
    QScrollArea* slvThumbnailScrollView() const { return m_stripScroll; }
    QWidget* vThumbnailBackView() const { return m_strip; }
    QAbstractButton* btnSort() const;
    QAbstractButton* btnKeep() const;
    QAbstractButton* btnPlay() const;
    QAbstractButton* btnCrop() const;
    QAbstractButton* btnAdd() const;
    QAbstractButton* btnThemes() const;
    QAbstractButton* btnMusic() const;
    QAbstractButton* btnDone() const;

    BusyWindowController* wCtrlBusy() const;
    SlideshowWndCtrl* wCtrlSlideshow() const { return m_chooser.get(); }
    SlideshowRenderController* oSlideshowRenderCtrl() const { return m_renderer.get(); }
    OperationQueue& oOperationQueue() { return m_queue; }
    ICropWndCtrl* wCtrlCrop() const { return m_crop.get(); }
    ISortWndCtrl* wCtrlSort() const { return m_sort.get(); }
    IAudioLineCtrl* audioLineCtrl() const { return m_audioLine.get(); }
    // Other sheets in place of the installed ones (null keeps them).
    void setWCtrlCrop(std::unique_ptr<ICropWndCtrl> crop);
    void setWCtrlSort(std::unique_ptr<ISortWndCtrl> sort);
    void setAudioLineCtrl(std::unique_ptr<IAudioLineCtrl> audioLine);

protected:
    void sheetRejected() override { done(); }

private:
    void buildWindow();
    void awakeFromNib();
    void setVThumbnailView(RenderThumbnailView* view);
    // Deselects the old tile and selects `view` (none: no selection).
    void chooseThumbnailView(RenderThumbnailView* view, bool makeFirstResponder);
    // The tile at `index`, the last when the index is past the end, none
    // when there are no tiles.
    RenderThumbnailView* thumbnailViewNear(qsizetype index) const;
    void reloadPreview();
    void finishImport(const std::shared_ptr<RenderItem>& item, const Photos& photos);
    void sortCompleted(const Photos& removed);
    void updatePlayMusic();

    long m_displayRatio = 0;
    QSizeF m_displaySize = DisplaySize43;
    std::shared_ptr<RenderItem> m_item;
    QList<RenderThumbnailView*> m_tiles;  // children of the strip
    RenderThumbnailView* m_selected = nullptr;
    bool m_playing = false;
    QTimer* m_timer = nullptr;  // exists exactly while playing
    double m_currentTime = 0.0;
    qint64 m_markedTime = 0;
    QElapsedTimer m_clockBase;
    Clock m_clock;
    QString m_playImageName;
    int m_importsRunning = 0;

    QPointer<BusyWindowController> m_busy;  // the shared one, not owned
    std::unique_ptr<SlideshowWndCtrl> m_chooser;
    std::unique_ptr<ICropWndCtrl> m_crop;
    std::unique_ptr<ISortWndCtrl> m_sort;
    std::unique_ptr<IAudioLineCtrl> m_audioLine;
    std::unique_ptr<SlideshowRenderController> m_renderer;

    RenderDisplayView* m_display = nullptr;
    QScrollArea* m_stripScroll = nullptr;
    QWidget* m_strip = nullptr;
    QToolButton* m_playButton = nullptr;
    QPushButton* m_sortButton = nullptr;
    QPushButton* m_keepButton = nullptr;
    QPushButton* m_cropButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_themesButton = nullptr;
    QPushButton* m_musicButton = nullptr;
    QPushButton* m_doneButton = nullptr;

    OperationQueue m_queue;  // last: its running imports end before the rest goes
};
