#include "slideshow/SortWndCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

#include "common/NamedImage.h"
#include "media/PhotoItem.h"
#include "slideshow/BusyWindowController.h"
#include "slideshow/ResortableBackView.h"
#include "slideshow/ResortableThumbnailView.h"
#include "slideshow/core/ResortableGrid.h"

namespace {

constexpr double ZoomSteps = 100.0;  // slider positions per unit of zoom

}  // namespace

SortWndCtrl::SortWndCtrl(QWidget* sheetedWindow) : SheetWindowController(sheetedWindow)
{
    m_busy = BusyWindowController::sharedBusyWindowController();
    ResortableBackView::enableKeyboardRespond(true);
    ResortableThumbnailView::enableKeyboardRespond(true);
    buildWindow();
    awakeFromNib();
}

SortWndCtrl::~SortWndCtrl()
{
    m_queue.cancelAllOperations();
    if (m_items) {
        endResorting();
    }
    m_completed = nullptr;
}

void SortWndCtrl::buildWindow()
{
    QDialog* sheet = window();
    sheet->setWindowTitle(tr("Sort Photos"));
    sheet->resize(760, 520);
    sheet->setMinimumSize(360, 300);

    m_back = new ResortableBackView;
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_back);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setBackgroundRole(QPalette::Dark);

    m_zoom = new QSlider(Qt::Horizontal);
    m_zoom->setRange(MinimumZoom, MaximumZoom);
    m_zoom->setValue(int(std::lround(ResortableThumbnailView::resizeRatio() * ZoomSteps)));
    m_zoom->setFixedWidth(160);
    m_zoom->setToolTip(tr("Thumbnail size"));
    m_doneButton = new QPushButton(tr("Done"));
    m_doneButton->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr("Size:")));
    bottom->addWidget(m_zoom);
    bottom->addStretch();
    bottom->addWidget(m_doneButton);
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(bottom);

    connect(m_zoom, &QSlider::valueChanged, this,
            [this](int value) { changeRatio(value / ZoomSteps); });
    connect(m_doneButton, &QPushButton::clicked, this, &SortWndCtrl::done);
}

void SortWndCtrl::awakeFromNib()
{
    m_scroll->viewport()->installEventFilter(this);
    m_back->setODelegate(this);
}

QAbstractButton* SortWndCtrl::btnDone() const
{
    return m_doneButton;
}

void SortWndCtrl::setWndSheetedWindow(QWidget* window)
{
    SheetWindowController::setWndSheetedWindow(window);
}

void SortWndCtrl::setBlkSortCompleted(SortCompleted completed)
{
    m_completed = std::move(completed);
}

void SortWndCtrl::startResortingItems(Photos& photos)
{
    if (prepare(photos)) {
        runSheet();
    }
}

bool SortWndCtrl::beginResortingItems(Photos& photos)
{
    if (!prepare(photos)) {
        return false;
    }
    beginSheet();
    return true;
}

bool SortWndCtrl::prepare(Photos& photos)
{
    m_didChange = false;
    for (const auto& photo : photos) {
        if (!photo) {
            return false;
        }
    }
    if (m_items) {
        endResorting();
    }
    ++m_run;
    m_items = &photos;
    m_views.clear();
    m_removed.clear();
    m_ready = false;
    m_back->setIItemsCount(int(photos.size()));
    setCloseBoxShown(false);
    if (photos.isEmpty()) {
        m_ready = true;
        setCloseBoxShown(true);
        adjustThumbnailViewFrames();
        return true;
    }
    // Once the sheet is up: the busy sheet over it, then the work.
    QTimer::singleShot(0, this, [this, run = m_run] {
        if (run == m_run) {
            setupThumbsWithArray();
        }
    });
    return true;
}

void SortWndCtrl::setupThumbsWithArray()
{
    if (!m_items || m_ready || m_busyUp) {
        return;
    }
    if (m_busy) {
        m_busy->startShowingBusyWindow(window());
        m_busyUp = true;
    }
    const Photos photos = *m_items;
    const quint64 run = m_run;
    const QPointer<SortWndCtrl> self(this);
    m_queue.addOperationWithBlock([photos, run, self] {
        QList<QImage> thumbnails;
        thumbnails.reserve(photos.size());
        for (const auto& photo : photos) {
            thumbnails.append(photo->resortableThumnbailOfMaxSize(ThumbnailSize));
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, run, thumbnails] {
                if (self) {
                    self->finishSetup(run, thumbnails);
                }
            },
            Qt::QueuedConnection);
    });
}

void SortWndCtrl::finishSetup(quint64 run, const QList<QImage>& thumbnails)
{
    if (run == m_run && m_items && !m_ready) {
        const QImage standIn = NamedImage::imageNamed(QStringLiteral("DefaultImage"));
        for (const QImage& thumbnail : thumbnails) {
            auto* tile = ResortableThumbnailView::viewWithImage(
                thumbnail.isNull() ? standIn : thumbnail, m_back);
            if (!tile) {
                tile = ResortableThumbnailView::viewWithImage(
                    QImage(160, 120, QImage::Format_RGB32), m_back);
            }
            tile->setODelegate(this);
            m_views.append(tile);
        }
        adjustThumbnailViewFrames();
        for (auto* tile : m_views) {
            tile->show();
        }
        m_ready = true;
    }
    if (m_busyUp) {
        m_busyUp = false;
        if (m_busy) {
            m_busy->endShowingBusyWindow();
        }
    }
    if (run == m_run && m_items) {
        setCloseBoxShown(true);
    }
}

void SortWndCtrl::setCloseBoxShown(bool shown)
{
    m_closeBox = shown;
    QDialog* sheet = window();
    if (!sheet) {
        return;
    }
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (shown) {
        flags |= Qt::WindowCloseButtonHint;
    }
    if (sheet->isVisible() && sheet->windowHandle()) {
        // Changing the widget's flags would hide the running sheet.
        sheet->windowHandle()->setFlags(flags);
    } else {
        sheet->setWindowFlags(flags);
    }
}

bool SortWndCtrl::windowHasCloseBox() const
{
    const QDialog* sheet = window();
    if (!sheet) {
        return false;
    }
    const Qt::WindowFlags flags =
        sheet->windowHandle() ? sheet->windowHandle()->flags() : sheet->windowFlags();
    return flags.testFlag(Qt::WindowCloseButtonHint);
}

void SortWndCtrl::sheetRejected()
{
    if (m_closeBox) {
        done();  // the close box ends the sort like Done
    }
}

void SortWndCtrl::done()
{
    endResorting();
}

void SortWndCtrl::removeAllTiles()
{
    for (auto* tile : m_views) {
        tile->hide();
        tile->setParent(nullptr);
        tile->deleteLater();
    }
    m_views.clear();
}

void SortWndCtrl::endResorting()
{
    removeAllTiles();
    const Photos removed = m_removed;
    m_items = nullptr;
    m_removed.clear();
    m_ready = false;
    ++m_run;  // work still queued for this opening is dropped
    if (m_completed) {
        m_completed(removed);
    }
    setCloseBoxShown(true);
    endSheet();
}

void SortWndCtrl::adjustThumbnailViewFrames()
{
    const double zoom = ResortableThumbnailView::resizeRatio();
    const QSize visible = m_scroll->viewport()->size();
    const ResortableGrid::Layout grid =
        ResortableGrid::layout(int(m_views.size()), visible.width(), visible.height(), zoom);
    m_back->resize(grid.gridSize.toSize());
    for (qsizetype i = 0; i < m_views.size(); ++i) {
        m_back->setTileFrame(m_views[i], grid.frames[i]);
    }
}

void SortWndCtrl::changeRatio(double ratio)
{
    ResortableThumbnailView::updateResizeRatio(ratio);
    {
        const QSignalBlocker blocker(m_zoom);
        m_zoom->setValue(int(std::lround(ResortableThumbnailView::resizeRatio() * ZoomSteps)));
    }
    adjustThumbnailViewFrames();
}

void SortWndCtrl::cancelAllThumbnailViews()
{
    for (auto* tile : m_views) {
        tile->setBIsChoosen(false);
    }
}

void SortWndCtrl::cancelAllThumbnailViewsBut(ResortableThumbnailView* view)
{
    for (auto* tile : m_views) {
        if (tile != view) {
            tile->setBIsChoosen(false);
        }
    }
}

void SortWndCtrl::testChoosenWith(const QRectF& rect, bool append)
{
    for (auto* tile : m_views) {
        tile->setBIsChoosen((append && tile->bIsChoosen()) ||
                            rect.intersects(tile->hitTestFrame()));
    }
}

void SortWndCtrl::resortAtIndex(int index)
{
    if (!m_items || m_items->size() != m_views.size()) {
        return;
    }
    m_didChange = true;
    QList<bool> selected;
    for (auto* tile : m_views) {
        selected.append(tile->bIsChoosen());
    }
    const QList<int> order = ResortableGrid::resortedOrder(selected, index);
    QList<ResortableThumbnailView*> views;
    Photos items;
    for (const int old : order) {
        views.append(m_views[old]);
        items.append((*m_items)[old]);
    }
    m_views = views;
    *m_items = items;
    adjustThumbnailViewFrames();
}

void SortWndCtrl::willRemoveChoosenThumbnailView()
{
    m_didChange = true;
    if (!m_items || m_items->size() != m_views.size()) {
        return;
    }
    QList<ResortableThumbnailView*> views;
    Photos items;
    int removed = 0;
    for (qsizetype i = 0; i < m_views.size(); ++i) {
        ResortableThumbnailView* tile = m_views[i];
        if (!tile->bIsChoosen()) {
            views.append(tile);
            items.append((*m_items)[i]);
            continue;
        }
        m_removed.append((*m_items)[i]);
        tile->hide();
        tile->setParent(nullptr);
        tile->deleteLater();  // it may be the tile the key went to
        ++removed;
    }
    if (removed == 0) {
        return;
    }
    m_views = views;
    *m_items = items;
    adjustThumbnailViewFrames();
    m_back->setIItemsCount(m_back->iItemsCount() - removed);
    m_back->setFocus(Qt::OtherFocusReason);
}

bool SortWndCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        adjustThumbnailViewFrames();
    }
    return SheetWindowController::eventFilter(watched, event);
}
