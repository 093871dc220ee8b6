#include "slideshow/RenderEditWndCtrl.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/NamedImage.h"
#include "common/widgets/ViewExtention.h"
#include "media/AudioPlayer.h"
#include "media/PhotoItem.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowRenderController.h"
#include "media/VCMovie.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/BusyWindowController.h"
#include "slideshow/CropWndCtrl.h"
#include "slideshow/DownRenderBackView.h"
#include "slideshow/MiddleRenderBackView.h"
#include "slideshow/RenderDisplayView.h"
#include "slideshow/RenderThumbnailView.h"
#include "slideshow/SlideshowWndCtrl.h"
#include "slideshow/SortWndCtrl.h"
#include "slideshow/UpRenderBackView.h"
#include "slideshow/core/PhotoTimeline.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

constexpr QSize PreviewAreaSize{640, 400};
constexpr int StripHeight = 110;

PhotoTimeline timelineOf(const RenderItem& item, int count)
{
    return PhotoTimeline(count, item.slideshowMetaDuration(), item.slideshowFirstRatio(),
                         item.slideshowLastRatio());
}

QPushButton* actionButton(const QString& title)
{
    auto* button = new QPushButton(title);
    button->setAutoDefault(false);
    button->setDefault(false);
    // Tab reaches every button; a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

RenderEditWndCtrl::RenderEditWndCtrl(QWidget* parent)
    : RenderEditWndCtrl(parent, RenderController::sharedRenderController())
{
}

RenderEditWndCtrl::RenderEditWndCtrl(QWidget* parent, RenderController& registry)
    : SheetWindowController(parent)
{
    m_clockBase.start();
    setClock(nullptr);
    buildWindow();

    m_busy = BusyWindowController::sharedBusyWindowController();
    m_chooser = std::make_unique<SlideshowWndCtrl>(window(), registry);
    m_crop = std::make_unique<CropWndCtrl>();
    m_crop->setWndSheetedWindow(window());
    m_sort = std::make_unique<SortWndCtrl>();
    m_sort->setWndSheetedWindow(window());
    m_sort->setBlkSortCompleted([this](const Photos& removed) { sortCompleted(removed); });
    m_renderer = std::make_unique<SlideshowRenderController>(registry);
    RenderDisplayView* display = m_display;
    m_renderer->setBlkFeedBack([display](const QImage& frame) {
        // On the render queue: the display takes the frame on the main thread.
        QMetaObject::invokeMethod(
            display, [display, frame] { display->setImgDisplay(frame); }, Qt::QueuedConnection);
    });
    awakeFromNib();
}

RenderEditWndCtrl::~RenderEditWndCtrl()
{
    m_queue.cancelAllOperations();
    m_renderer->setBlkFeedBack(nullptr);
    m_renderer->cancelAndWait();
    // The window may already be gone with the window it was sheeted on: only
    // what the controller itself holds is touched here.
    if (m_playing) {
        AudioPlayer::share().updatePlayMovies({});
    }
    delete m_timer;
    m_timer = nullptr;
    if (m_importsRunning > 0 && m_busy) {
        m_busy->endShowingBusyWindow();
    }
    m_tiles.clear();
    m_selected = nullptr;
}

void RenderEditWndCtrl::awakeFromNib()
{
    setEnumDisplayRatio(0);
    setVThumbnailView(nullptr);
    m_audioLine = std::make_unique<AudioLineCtrl>();
    m_audioLine->setWndSheetedWindow(window());
    setBIsPlaying(false);
}

void RenderEditWndCtrl::buildWindow()
{
    QDialog* sheet = window();
    sheet->setWindowTitle(tr("Edit Slideshow"));

    auto* top = new UpRenderBackView;
    m_addButton = actionButton(tr("Add Photos"));
    m_sortButton = actionButton(tr("Sort"));
    m_keepButton = actionButton(tr("Fill Frame"));
    m_keepButton->setCheckable(true);
    m_keepButton->setToolTip(
        tr("On: each photo is cut to fill the frame. "
           "Off: each photo is shown whole."));
    m_themesButton = actionButton(tr("Themes"));
    m_musicButton = actionButton(tr("Music"));
    m_cropButton = actionButton(tr("Crop"));
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(12, 8, 12, 8);
    for (QPushButton* button :
         {m_addButton, m_sortButton, m_keepButton, m_themesButton, m_musicButton, m_cropButton}) {
        topRow->addWidget(button);
    }
    topRow->addStretch(1);

    auto* middle = new MiddleRenderBackView;
    m_display = new RenderDisplayView;
    m_display->setFixedSize(PreviewAreaSize);
    m_playButton = new QToolButton;
    m_playButton->setAutoRaise(true);
    m_playButton->setIconSize(QSize(32, 32));
    m_playButton->setFocusPolicy(Qt::TabFocus);
    m_playButton->setToolTip(tr("Play / Pause"));
    auto* middleColumn = new QVBoxLayout(middle);
    middleColumn->setContentsMargins(12, 12, 12, 6);
    middleColumn->addWidget(m_display, 0, Qt::AlignHCenter);
    middleColumn->addWidget(m_playButton, 0, Qt::AlignHCenter);

    auto* bottom = new DownRenderBackView;
    m_strip = new QWidget;
    m_stripScroll = new QScrollArea;
    m_stripScroll->setWidget(m_strip);
    m_stripScroll->setWidgetResizable(false);
    m_stripScroll->setFrameShape(QFrame::NoFrame);
    m_stripScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_stripScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_stripScroll->setFixedHeight(StripHeight +
                                  m_stripScroll->horizontalScrollBar()->sizeHint().height());
    m_stripScroll->setFocusPolicy(Qt::NoFocus);
    QPalette stripColours = m_stripScroll->viewport()->palette();
    stripColours.setColor(QPalette::Window, QColor::fromRgbF(0.2, 0.2, 0.2, 1.0));
    m_stripScroll->viewport()->setPalette(stripColours);
    m_stripScroll->viewport()->setAutoFillBackground(true);
    m_doneButton = actionButton(tr("Done"));
    auto* bottomColumn = new QVBoxLayout(bottom);
    bottomColumn->setContentsMargins(12, 8, 12, 8);
    bottomColumn->addWidget(m_stripScroll);
    auto* doneRow = new QHBoxLayout;
    doneRow->addStretch(1);
    doneRow->addWidget(m_doneButton);
    bottomColumn->addLayout(doneRow);

    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(middle, 1);
    layout->addWidget(bottom);
    sheet->resize(PreviewAreaSize.width() + 24, 0);
    sheet->setMinimumWidth(PreviewAreaSize.width() + 24);

    connect(m_addButton, &QPushButton::clicked, this, &RenderEditWndCtrl::add);
    connect(m_sortButton, &QPushButton::clicked, this, &RenderEditWndCtrl::sort);
    connect(m_keepButton, &QPushButton::clicked, this, &RenderEditWndCtrl::keepStandardRatio);
    connect(m_themesButton, &QPushButton::clicked, this, &RenderEditWndCtrl::themes);
    connect(m_musicButton, &QPushButton::clicked, this, &RenderEditWndCtrl::music);
    connect(m_cropButton, &QPushButton::clicked, this, &RenderEditWndCtrl::crop);
    connect(m_playButton, &QToolButton::clicked, this, &RenderEditWndCtrl::play);
    connect(m_doneButton, &QPushButton::clicked, this, &RenderEditWndCtrl::done);
}

QAbstractButton* RenderEditWndCtrl::btnSort() const
{
    return m_sortButton;
}
QAbstractButton* RenderEditWndCtrl::btnKeep() const
{
    return m_keepButton;
}
QAbstractButton* RenderEditWndCtrl::btnPlay() const
{
    return m_playButton;
}
QAbstractButton* RenderEditWndCtrl::btnCrop() const
{
    return m_cropButton;
}
QAbstractButton* RenderEditWndCtrl::btnAdd() const
{
    return m_addButton;
}
QAbstractButton* RenderEditWndCtrl::btnThemes() const
{
    return m_themesButton;
}
QAbstractButton* RenderEditWndCtrl::btnMusic() const
{
    return m_musicButton;
}
QAbstractButton* RenderEditWndCtrl::btnDone() const
{
    return m_doneButton;
}

void RenderEditWndCtrl::setWCtrlCrop(std::unique_ptr<ICropWndCtrl> crop)
{
    if (crop) {
        m_crop = std::move(crop);
        m_crop->setWndSheetedWindow(window());
    }
}

void RenderEditWndCtrl::setWCtrlSort(std::unique_ptr<ISortWndCtrl> sort)
{
    if (sort) {
        m_sort = std::move(sort);
        m_sort->setWndSheetedWindow(window());
        m_sort->setBlkSortCompleted([this](const Photos& removed) { sortCompleted(removed); });
    }
}

void RenderEditWndCtrl::setAudioLineCtrl(std::unique_ptr<IAudioLineCtrl> audioLine)
{
    if (audioLine) {
        m_audioLine = std::move(audioLine);
        m_audioLine->setWndSheetedWindow(window());
    }
}

void RenderEditWndCtrl::setClock(Clock clock)
{
    if (clock) {
        m_clock = std::move(clock);
    } else {
        m_clock = [this] { return m_clockBase.nsecsElapsed(); };
    }
}

// --- Display and editing ---

void RenderEditWndCtrl::setEnumDisplayRatio(long ratio)
{
    m_displayRatio = ratio;
    const bool standard = ratio == 0;
    m_display->setDDisplayRatio(standard ? 4.0 / 3.0 : 16.0 / 9.0);
    m_displaySize = standard ? DisplaySize43 : DisplaySize169;
}

void RenderEditWndCtrl::setWndSheetedWindow(QWidget* sheeted)
{
    SheetWindowController::setWndSheetedWindow(sheeted);
}

void RenderEditWndCtrl::startEditting(const std::shared_ptr<RenderItem>& item)
{
    beginEditting(item);
    runSheet();
}

void RenderEditWndCtrl::beginEditting(const std::shared_ptr<RenderItem>& item)
{
    m_item = item;
    m_tiles.clear();
    if (item) {
        addThumbnailViewsByPhotoItems(item->mtAryPhotoItems());
    }
    setBIsPlaying(false);
    m_currentTime = 0.0;
    m_renderer->cancelAndWait();
    m_renderer->setupWith(m_item, m_displaySize, m_currentTime);
    m_renderer->playAtTime(m_currentTime);
    const QSignalBlocker blockKeep(m_keepButton);
    m_keepButton->setChecked(item && !item->bKeepStandardRatio());
    m_stripScroll->horizontalScrollBar()->setValue(0);
}

void RenderEditWndCtrl::endEditting()
{
    m_renderer->cancelAndWait();
    setBIsPlaying(false);
    m_renderer->clear();
    removeThumbnailViewsByPhotoItems(m_item ? m_item->mtAryPhotoItems() : Photos());
    // Tiles whose photo left the list some other way go too.
    for (RenderThumbnailView* tile : std::as_const(m_tiles)) {
        tile->hide();
        tile->deleteLater();
    }
    m_tiles.clear();
    m_item.reset();
    setVThumbnailView(nullptr);
    // Frames already on their way would show after the picture is cleared.
    QCoreApplication::sendPostedEvents(m_display, QEvent::MetaCall);
    m_display->setImgDisplay(QImage());
    endSheet();
}

void RenderEditWndCtrl::reloadPreview()
{
    m_renderer->cancelAndWait();
    m_renderer->setupWith(m_item, m_displaySize, m_currentTime);
    m_renderer->playAtTime(m_currentTime);
}

// --- Actions ---

void RenderEditWndCtrl::done()
{
    setBIsPlaying(false);
    endEditting();
}

void RenderEditWndCtrl::play()
{
    if (!m_selected) {
        return;
    }
    setBIsPlaying(!m_playing);
}

void RenderEditWndCtrl::add()
{
    setBIsPlaying(false);
    auto* panel = new QFileDialog(window());
    panel->setFileMode(QFileDialog::ExistingFiles);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setLabelText(QFileDialog::Accept, QStringLiteral("Select"));
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::accepted, this,
            [this, panel] { importPhotoURLs(panel->selectedUrls()); });
    panel->open();
}

void RenderEditWndCtrl::importPhotoURLs(const QList<QUrl>& urls)
{
    if (!m_item) {
        return;
    }
    // The sheet is up before the work starts and stays until the photos are
    // in the strip; the worker never waits for the main thread.
    m_busy->startShowingBusyWindow(window());
    ++m_importsRunning;
    const std::shared_ptr<RenderItem> item = m_item;
    const QPointer<RenderEditWndCtrl> editor(this);
    const QPointer<BusyWindowController> busy(m_busy);
    m_queue.addOperationWithBlock([urls, item, editor, busy] {
        Photos photos;
        for (const QUrl& url : urls) {
            if (auto photo = PhotoItem::itemWithPhotoPath(url.toLocalFile())) {
                photos.append(photo);
            }
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [item, editor, busy, photos] {
                if (editor) {
                    --editor->m_importsRunning;
                    editor->finishImport(item, photos);
                }
                if (busy) {
                    busy->endShowingBusyWindow();
                }
            },
            Qt::QueuedConnection);
    });
}

void RenderEditWndCtrl::finishImport(const std::shared_ptr<RenderItem>& item, const Photos& photos)
{
    const Photos before = item->mtAryPhotoItems();
    item->addPhotoItems(photos);
    if (item != m_item) {
        return;  // that edit has ended: the slideshow has its photos, no strip to show them
    }
    Photos added;
    for (const auto& photo : item->mtAryPhotoItems()) {
        if (!before.contains(photo)) {
            added.append(photo);
        }
    }
    if (added.isEmpty()) {
        return;
    }
    addThumbnailViewsByPhotoItems(added);
    m_currentTime = timeOfThumbnailView(m_selected);
    reloadPreview();
}

void RenderEditWndCtrl::sort()
{
    setBIsPlaying(false);
    if (!m_selected || !m_item) {
        return;
    }
    const qsizetype index = m_tiles.indexOf(m_selected);
    m_sort->startResortingItems(m_item->mtAryPhotoItems());
    chooseThumbnailView(thumbnailViewNear(index), false);
    if (m_sort->bDidChange()) {
        m_currentTime = timeOfThumbnailView(m_selected);
        reloadPreview();
    }
}

void RenderEditWndCtrl::sortCompleted(const Photos& removed)
{
    removeThumbnailViewsByPhotoItems(removed);
    if (m_item) {
        for (const auto& photo : removed) {
            m_item->mtAryPhotoItems().removeOne(photo);
        }
    }
}

void RenderEditWndCtrl::keepStandardRatio()
{
    setBIsPlaying(false);
    if (!m_item) {
        return;
    }
    m_item->setBKeepStandardRatio(!m_keepButton->isChecked());
    reloadPreview();
}

void RenderEditWndCtrl::themes()
{
    setBIsPlaying(false);
    if (!m_item) {
        return;
    }
    m_chooser->startEditting(m_item->oSlideshowItem());
    if (m_chooser->bDidChange()) {
        m_currentTime = timeOfThumbnailView(m_selected);
        reloadPreview();
    }
}

void RenderEditWndCtrl::music()
{
    setBIsPlaying(false);
    if (!m_item) {
        return;
    }
    m_audioLine->loadViewWithItems(m_item->audioItems());
    m_audioLine->openEditWindow();
    m_item->setAudioItems(m_audioLine->getAudioItems());
}

void RenderEditWndCtrl::crop()
{
    setBIsPlaying(false);
    const std::shared_ptr<PhotoItem> photo = oPhotoItem();
    if (!photo) {
        return;
    }
    m_crop->startEdittingImage(photo->originalCIImage(), photo->szOriginalSize(),
                               photo->oCropItem());
    if (m_crop->bDidChange()) {
        reloadPreview();
    }
}

// --- Tiles ---

void RenderEditWndCtrl::didClickOnRenderThumbnailView(RenderThumbnailView* view)
{
    chooseThumbnailView(view, true);
    m_currentTime = timeOfThumbnailView(view);
    m_renderer->seekAtTime(m_currentTime);
    if (m_playing) {
        AudioPlayer::share().seekPlayTime(m_currentTime);
    }
}

void RenderEditWndCtrl::didDeleteOnRenderThumbnailView(RenderThumbnailView* view)
{
    const qsizetype index = m_tiles.indexOf(view);
    if (index < 0 || !m_item) {
        return;
    }
    setBIsPlaying(false);
    m_renderer->cancelAndWait();
    const std::shared_ptr<PhotoItem> photo = view->oItem();
    m_item->mtAryPhotoItems().removeOne(photo);
    removeThumbnailViewsByPhotoItems({photo});
    chooseThumbnailView(thumbnailViewNear(index), true);
    m_currentTime = timeOfThumbnailView(m_selected);
    reloadPreview();
}

std::shared_ptr<PhotoItem> RenderEditWndCtrl::oPhotoItem() const
{
    return m_selected ? m_selected->oItem() : nullptr;
}

void RenderEditWndCtrl::setVThumbnailView(RenderThumbnailView* view)
{
    m_selected = view;
    const bool enabled = view != nullptr;
    m_sortButton->setEnabled(enabled);
    m_playButton->setEnabled(enabled);
    m_cropButton->setEnabled(enabled);
}

void RenderEditWndCtrl::chooseThumbnailView(RenderThumbnailView* view, bool makeFirstResponder)
{
    if (m_selected) {
        m_selected->setBIsChoosen(false);
    }
    setVThumbnailView(view);
    if (view) {
        view->setBIsChoosen(true);
        m_stripScroll->ensureWidgetVisible(view, 0, 0);
        if (makeFirstResponder) {
            ViewExtention::makeFirstResponder(view);
        }
    }
}

RenderThumbnailView* RenderEditWndCtrl::thumbnailViewNear(qsizetype index) const
{
    if (m_tiles.isEmpty()) {
        return nullptr;
    }
    return index >= 0 && index < m_tiles.size() ? m_tiles[index] : m_tiles.last();
}

void RenderEditWndCtrl::addThumbnailViewsByPhotoItems(const Photos& photos)
{
    for (const auto& photo : photos) {
        auto* tile = new RenderThumbnailView(
            QRectF(0, 0, PhotoTimeline::TileSide, PhotoTimeline::TileSide), m_strip);
        tile->setOItem(photo);
        tile->setODelegate(this);
        tile->show();
        m_tiles.append(tile);
    }
    adjustThumbnailViews();
    if (!m_selected && !m_tiles.isEmpty()) {
        chooseThumbnailView(m_tiles.first(), false);
    }
}

void RenderEditWndCtrl::removeThumbnailViewsByPhotoItems(const Photos& photos)
{
    for (const auto& photo : photos) {
        RenderThumbnailView* tile = thumbnailViewByItem(photo);
        if (!tile) {
            continue;
        }
        if (tile == m_selected) {
            setVThumbnailView(nullptr);
        }
        m_tiles.removeOne(tile);
        // The tile may be the one reporting the key press: it goes once that is over.
        tile->hide();
        tile->setODelegate(nullptr);
        tile->deleteLater();
    }
    adjustThumbnailViews();
}

void RenderEditWndCtrl::adjustThumbnailViews()
{
    QList<RenderThumbnailView*> ordered;
    if (m_item) {
        for (const auto& photo : m_item->mtAryPhotoItems()) {
            if (RenderThumbnailView* tile = thumbnailViewByItem(photo)) {
                if (!ordered.contains(tile)) {
                    ordered.append(tile);
                }
            }
        }
    }
    m_tiles = ordered;
    const QSizeF strip = PhotoTimeline::stripSize(static_cast<int>(m_tiles.size()),
                                                  m_stripScroll->viewport()->size());
    m_strip->resize(strip.toSize());
    for (int i = 0; i < m_tiles.size(); ++i) {
        m_tiles[i]->setGeometry(
            UpCoordinates::toWidget(PhotoTimeline::tileFrame(i), strip.height()).toRect());
    }
}

RenderThumbnailView* RenderEditWndCtrl::thumbnailViewByItem(
    const std::shared_ptr<PhotoItem>& photo) const
{
    for (RenderThumbnailView* tile : m_tiles) {
        if (tile->oItem() == photo) {
            return tile;
        }
    }
    return nullptr;
}

double RenderEditWndCtrl::timeOfThumbnailView(const RenderThumbnailView* view) const
{
    const qsizetype index = m_tiles.indexOf(const_cast<RenderThumbnailView*>(view));
    if (index < 0 || !m_item) {
        return 0.0;
    }
    return timelineOf(*m_item, static_cast<int>(m_tiles.size()))
        .timeOfIndex(static_cast<int>(index));
}

RenderThumbnailView* RenderEditWndCtrl::thumbnailViewOfTime(double time) const
{
    if (!m_item) {
        return nullptr;
    }
    const int index = timelineOf(*m_item, static_cast<int>(m_tiles.size())).indexOfTime(time);
    return index >= 0 ? m_tiles[index] : nullptr;
}

// --- Playback ---

double RenderEditWndCtrl::dCurrentDuration() const
{
    return m_renderer->duration();
}

void RenderEditWndCtrl::setBIsPlaying(bool playing)
{
    m_playing = playing;
    if (playing && !m_timer) {
        m_markedTime = m_clock();
        m_timer = new QTimer(this);
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setInterval(PlayIntervalMs);
        connect(m_timer, &QTimer::timeout, this, &RenderEditWndCtrl::renderDisplay);
        m_timer->start();
    } else if (!playing && m_timer) {
        m_timer->stop();
        delete m_timer;
        m_timer = nullptr;
    }
    m_playImageName = playing ? PauseImageName : PlayImageName;
    m_playButton->setIcon(QIcon(QPixmap::fromImage(NamedImage::imageNamed(m_playImageName))));
    updatePlayMusic();
}

void RenderEditWndCtrl::updatePlayMusic()
{
    AudioPlayer& player = AudioPlayer::share();
    if (m_playing && m_item) {
        player.updatePlayMovies(VCMovie::moviesFromMusicPieces(m_item->audioVcMovies()));
        player.seekPlayTime(m_currentTime);
        player.play();
    } else {
        player.updatePlayMovies({});
    }
}

void RenderEditWndCtrl::renderDisplay()
{
    const qint64 now = m_clock();
    const double elapsed = static_cast<double>(now - m_markedTime) / 1e9;
    m_markedTime = now;
    m_currentTime += elapsed;
    if (m_currentTime > dCurrentDuration()) {
        m_currentTime = 0.0;
        setBIsPlaying(false);
    }
    m_renderer->playAtTime(m_currentTime);
    RenderThumbnailView* tile = thumbnailViewOfTime(m_currentTime);
    if (tile != m_selected) {
        chooseThumbnailView(tile, false);
    }
}

BusyWindowController* RenderEditWndCtrl::wCtrlBusy() const
{
    return m_busy;
}
