#include "videoedit/VideoEditWindowController.h"

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtDebug>
#include <algorithm>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "common/widgets/CommonFunctionThreads.h"
#include "media/MovieTrimItem.h"
#include "media/VideoEditPlayer.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "shell/core/IDocumentHost.h"
#include "videoedit/EditSheet.h"
#include "videoedit/FontColorPanelRouter.h"
#include "videoedit/VECenterBackgroundView.h"
#include "videoedit/VEMoviePlayerDisplayView.h"
#include "videoedit/VEPlayerBackgroundView.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditAudioTab.h"
#include "videoedit/VideoEditBackgroundView.h"
#include "videoedit/VideoEditCropTab.h"
#include "videoedit/VideoEditSubtitleTab.h"
#include "videoedit/VideoEditTabView.h"
#include "videoedit/VideoEditTrimTab.h"
#include "videoedit/VideoEditWatermarkTab.h"
#include "videoedit/core/AudioTrackChoice.h"
#include "videoedit/core/KeyBinding.h"
#include "videoedit/core/TrimSegmentRules.h"
#include "videoedit/core/VideoEditLayout.h"

namespace {

double seconds(LMMediaTime time)
{
    return lm_ff_time_to_double(time);
}

}  // namespace

const QStringList& VideoEditWindowController::tabIdentifiers()
{
    static const QStringList identifiers{QStringLiteral("trim"), QStringLiteral("crop"),
                                         QStringLiteral("watermark"), QStringLiteral("subtitle"),
                                         QStringLiteral("audio")};
    return identifiers;
}

VideoEditWindowController::VideoEditWindowController(QWidget* parent, IDocumentHost* host)
    : QDialog(parent), m_host(host)
{
    setWindowTitle(QCoreApplication::applicationName());
    setWindowModality(Qt::WindowModal);
    m_player = new VideoEditPlayer(this);
    m_player->setDelegate(this);
    buildWindow();
    m_originPlayerView->setPlayer(m_player);
    m_effectPlayerView->setPlayer(m_player);
    m_originPlayerView->setShowOrigin(true);
    m_playerCropView->setDelegate(this);
    m_playerProgressBarView->setDelegate(this);
    bindControls();
    connect(this, &QDialog::finished, this, [this] { windowWillClose(); });
}

VideoEditWindowController::~VideoEditWindowController()
{
    // The children go after this object's own parts: none may call back.
    m_player->setDelegate(nullptr);
    m_playerProgressBarView->setDelegate(nullptr);
    m_playerCropView->setDelegate(nullptr);
}

// --- The window ---

void VideoEditWindowController::buildWindow()
{
    EditSheet::setDarkPalette(*this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* background = new VideoEditBackgroundView(this);
    outer->addWidget(background);
    auto* column = new QVBoxLayout(background);
    column->setContentsMargins(12, 10, 12, 10);

    // The segmented control choosing the pages.
    m_editSegment = new QButtonGroup(this);
    m_editSegment->setExclusive(true);
    auto* segments = new QHBoxLayout;
    segments->addStretch();
    const QStringList titles{tr("Trim"), tr("Crop"), tr("Watermark"), tr("Subtitle"), tr("Audio")};
    for (int i = 0; i < titles.size(); ++i) {
        auto* segment = EditSheet::makeTextButton(titles[i], background);
        segment->setCheckable(true);
        m_editSegment->addButton(segment, i);
        segments->addWidget(segment);
    }
    segments->addStretch();
    column->addLayout(segments);
    connect(m_editSegment, &QButtonGroup::idClicked, this,
            &VideoEditWindowController::segmentSelectChanged);

    // The pictures and the overlay above them.
    m_pictureArea = new VEPlayerBackgroundView(background);
    m_pictureArea->setMinimumSize(480, 270);
    m_pictureArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_originPlayerView = new VEMoviePlayerDisplayView(m_pictureArea);
    m_effectPlayerView = new VEMoviePlayerDisplayView(m_pictureArea);
    m_playerCropView = new VEPlayerCropView(m_pictureArea);
    m_playerCropView->hide();
    m_pictureArea->installEventFilter(this);
    column->addWidget(m_pictureArea, 1);

    // Play button, times and the trim timeline.
    auto* playRow = new QHBoxLayout;
    m_playPauseButton = EditSheet::makePlayPauseButton(background);
    m_playPauseButton->setToolTip(tr("Play"));
    connect(m_playPauseButton, &QToolButton::clicked, this,
            &VideoEditWindowController::playOrPausePlayer);
    m_currentTimeLabel = new QLabel(background);
    m_currentLeftTimeLabel = new QLabel(background);
    m_playerProgressBarView = new VEPlayerProgressBarView(background);
    playRow->addWidget(m_playPauseButton);
    playRow->addWidget(m_currentTimeLabel);
    playRow->addWidget(m_playerProgressBarView, 1);
    playRow->addWidget(m_currentLeftTimeLabel);
    column->addLayout(playRow);

    // The pages.
    auto* centre = new VECenterBackgroundView(background);
    auto* centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(10, 8, 10, 8);
    m_tabview = new VideoEditTabView(centre);
    m_trimTab = new VideoEditTrimTab(*this, m_tabview);
    m_tabview->addTab(m_trimTab, tabIdentifiers()[0]);
    // Crop and watermark pages; the font and colour panels follow the page.
    m_fontColorPanels =
        new FontColorPanelRouter([this] { return m_tabview->currentIdentifier(); }, this);
    m_cropTab = new VideoEditCropTab(*this, m_tabview);
    m_watermarkTab = new VideoEditWatermarkTab(*this, *m_fontColorPanels, m_tabview);
    m_tabview->addTab(m_cropTab, tabIdentifiers()[1]);
    m_tabview->addTab(m_watermarkTab, tabIdentifiers()[2]);
    connect(this, &QDialog::finished, this, [this] {
        m_watermarkTab->closePopover();
        m_fontColorPanels->closePanels();
    });
    m_subtitleTab = new VideoEditSubtitleTab(this, m_tabview);
    m_tabview->addTab(m_subtitleTab, QStringLiteral("subtitle"));
    m_audioTab = new VideoEditAudioTab(this, m_tabview);
    m_tabview->addTab(m_audioTab, QStringLiteral("audio"));
    centreLayout->addWidget(m_tabview);
    column->addWidget(centre);
    connect(m_tabview, &QStackedWidget::currentChanged, this, [this] {
        m_playerProgressBarView->update();
        updateForTabViewSelectedItem();
    });

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    auto* done = new QPushButton(tr("Done"), background);
    // Return ends a field's editing; it must not also close the sheet.
    done->setAutoDefault(false);
    m_doneButton = done;
    connect(done, &QPushButton::clicked, this, &VideoEditWindowController::doneVideoEdit);
    bottom->addWidget(done);
    column->addLayout(bottom);

    m_deleteAction = EditSheet::addDeleteAction(*this);
    connect(m_deleteAction, &QAction::triggered, m_trimTab, &VideoEditTrimTab::deleteTrimAction);

    resize(760, 640);
}

QAbstractButton* VideoEditWindowController::playPauseButton() const
{
    return m_playPauseButton;
}

QAbstractButton* VideoEditWindowController::doneButton() const
{
    return m_doneButton;
}

// --- Bindings ---

void VideoEditWindowController::bindControls()
{
    KeyBinding::bind(m_keys, QStringLiteral("currentTimeStr"), m_currentTimeLabel,
                     [this] { m_currentTimeLabel->setText(currentTimeStr()); });
    KeyBinding::bind(m_keys, QStringLiteral("currentLeftTimeStr"), m_currentLeftTimeLabel,
                     [this] { m_currentLeftTimeLabel->setText(currentLeftTimeStr()); });
    KeyBinding::bind(m_keys, QStringLiteral("playPauseImage"), m_playPauseButton, [this] {
        m_playPauseButton->setIcon(QIcon(QPixmap::fromImage(playPauseImage())));
        m_playPauseButton->setToolTip(m_player->isPlay() ? tr("Pause") : tr("Play"));
    });
    m_trimTab->bindControls();
    KeyBinding::bind(m_keys, QStringLiteral("deleteTrimButtonEnable"), m_deleteAction,
                     [this] { m_deleteAction->setEnabled(deleteTrimButtonEnable()); });
}

void VideoEditWindowController::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_keys, key);
}

// --- Opening and closing ---

void VideoEditWindowController::updateWindowWithMedia(const std::shared_ptr<MediaData>& media)
{
    const VCMovie::Ptr item = media ? media->vcmovie() : nullptr;
    const auto section = media ? media->sectionItem() : nullptr;
    if (!item || !section) {
        qWarning() << "video edit: the clip has no media item or no section, not opened";
        return;
    }
    m_media = media;
    item->setTrimStart(section->startTimeInMedia());
    item->setTrimStop(section->endTimeInMedia());
    m_importMovieStart = item->trimStart();
    m_importMovieStop = item->trimStop();

    setVcMovie(item);
    m_trimTab->stopPlayingTrims();

    m_playerProgressBarView->setSelectedTrimIndex(TrimSegmentRules::kNoSelection);
    segmentSelectChanged(0);
    flushMovieAttribute();
    updateForTabViewSelectedItem();
    const IMovie::Ptr m = movie();
    setVolume(m ? m->volume() : 1.0f);
    m_audioTab->updateAudioTrackVolumePopBtn();
    m_subtitleTab->updateForMedia();

    showOnMainWindow();

    m_player->seek(0);
    m_player->play();
    flushProgressTimeLabel();
    flushPlayerStatusImage();
}

void VideoEditWindowController::showOnMainWindow()
{
    EditSheet::showOnMainWindow(*this, m_host ? m_host->window() : nullptr);
    setFocus(Qt::OtherFocusReason);
}

void VideoEditWindowController::doneVideoEdit()
{
    accept();
}

void VideoEditWindowController::done(int result)
{
    // Ends a field's editing while the clip is still here to take it.
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    QDialog::done(result);
}

void VideoEditWindowController::windowWillClose()
{
    const std::shared_ptr<MediaData> clip = m_media;
    if (!clip) {
        return;
    }
    m_player->pause();
    m_playerProgressBarView->setSelectedTrimIndex(TrimSegmentRules::kNoSelection);
    if (m_trimTab->isPlayTrim()) {
        m_trimTab->stopPlayingTrims();
    }
    m_player->seek(0);
    flushPlayerStatusImage();
    flushProgressTimeLabel();

    IDocumentHost* main = m_host;
    if (main) {
        main->changeCapacityValue();
    }
    updateMediaTimeAfterVideoEdit(clip->mediaDataView());
    if (clip->isSubMedia()) {
        if (const auto group = clip->superMediaData()) {
            updateMediaTimeAfterVideoEdit(group->mediaDataView());
        }
    }
    setVcMovie(nullptr);
    m_media.reset();
    if (main) {
        main->setDocumentEdited(true);
    }
}

void VideoEditWindowController::updateMediaTimeAfterVideoEdit(MediaRowView* row)
{
    if (row) {
        row->updateMediaTimeAfterVideoEdit();
    }
}

// --- State ---

VCMovie::Ptr VideoEditWindowController::vcMovie() const
{
    return std::dynamic_pointer_cast<VCMovie>(m_player->vcMovie());
}

IMovie::Ptr VideoEditWindowController::movie() const
{
    const VCMovie::Ptr item = vcMovie();
    return item ? item->movie() : nullptr;
}

void VideoEditWindowController::setVcMovie(const VCMovie::Ptr& item)
{
    if (item) {
        m_player->setOldMovieTrimStart(item->trimStart());
        m_player->setOldMovieTrimStop(item->trimStop());
    }
    m_player->setVcMovie(item);
    flushPlayerImage();
}

void VideoEditWindowController::setVolume(float volume)
{
    m_volume = AudioTrackChoice::clampedVolume(volume);
    announce(QStringLiteral("volume"));
}

QSizeF VideoEditWindowController::validOriginVideoSize() const
{
    const IMovie::Ptr m = movie();
    return m ? m->videoSize() : QSizeF();
}

QSizeF VideoEditWindowController::validVideoOutputSize() const
{
    const IMovie::Ptr m = movie();
    return m ? m->outputVideoSize() : QSizeF();
}

// --- Playing ---

void VideoEditWindowController::playOrPausePlayer()
{
    EditSheet::playOrPause(*m_player);
    flushPlayerStatusImage();
}

void VideoEditWindowController::seek(LMMediaTime time)
{
    m_player->seek(time);
}

void VideoEditWindowController::pause()
{
    m_player->pause();
}

void VideoEditWindowController::flushPlayerImage()
{
    m_player->updateImage();
}

void VideoEditWindowController::imageDidFlushInPlayer(MoviePlayer*)
{
    flushPlayerProgress();
}

void VideoEditWindowController::flushPlayerProgress()
{
    const LMMediaTime duration = m_player->duration();
    m_playerProgressBarView->setDuration(duration);
    m_playerProgressBarView->setCurrentTime(
        std::clamp<LMMediaTime>(m_player->currentTime(), 0, std::max<LMMediaTime>(duration, 0)));
    m_playerProgressBarView->update();
    flushPlayerProgressTimeStr();
    flushPlayerStatusImage();
    m_originPlayerView->update();
    m_effectPlayerView->update();
}

void VideoEditWindowController::flushPlayerProgressTimeStr()
{
    for (const char* key : {"currentTimeStr", "currentLeftTimeStr", "previewTrimEnable",
                            "deleteTrimButtonEnable", "trimCountLessThanFive", "addTrimEnable"}) {
        announce(QString::fromLatin1(key));
    }
}

void VideoEditWindowController::flushPlayerStatusImage()
{
    announce(QStringLiteral("playPreviewImage"));
    announce(QStringLiteral("playPauseImage"));
}

QString VideoEditWindowController::currentTimeStr() const
{
    return CommonFunction::timeStrFromSecond(
        static_cast<float>(seconds(m_playerProgressBarView->currentTime())));
}

QString VideoEditWindowController::currentLeftTimeStr() const
{
    const LMMediaTime left = std::max<LMMediaTime>(
        0, m_playerProgressBarView->duration() - m_playerProgressBarView->currentTime());
    return QStringLiteral("-%1").arg(
        CommonFunction::timeStrFromSecond(static_cast<float>(seconds(left))));
}

QImage VideoEditWindowController::playPauseImage() const
{
    return NamedImage::imageNamed(m_player->isPlay() ? QStringLiteral("video_edit_pause")
                                                     : QStringLiteral("video_edit_play"));
}

QImage VideoEditWindowController::playPreviewImage() const
{
    return NamedImage::imageNamed(isPlayTrim() ? QStringLiteral("video_edit_preview_stop")
                                               : QStringLiteral("video_edit_preview"));
}

// --- Pages and pictures ---

bool VideoEditWindowController::currentEditTypeIsString(const QString& identifier) const
{
    return m_tabview->currentIdentifier() == identifier;
}

bool VideoEditWindowController::isEditWaterMark() const
{
    return currentEditTypeIsString(QStringLiteral("watermark"));
}

void VideoEditWindowController::segmentSelectChanged(int segment)
{
    const int index = segment >= 0 && segment <= 3 ? segment : 4;
    if (QAbstractButton* button = m_editSegment->button(index)) {
        const QSignalBlocker blocker(m_editSegment);
        button->setChecked(true);
    }
    m_tabview->selectTabViewItemWithIdentifier(tabIdentifiers()[index]);
}

void VideoEditWindowController::updateForTabViewSelectedItem()
{
    const VideoEditLayout::PictureFrames frames = VideoEditLayout::pictureFrames(
        QRectF(m_pictureArea->rect()), m_player->originVideoRect(), m_player->effectVideoRect(),
        currentEditTypeIsString(QStringLiteral("crop")));
    m_originPlayerView->setVisible(frames.showOrigin);
    if (frames.showOrigin) {
        m_originPlayerView->setGeometry(frames.origin.toRect());
    }
    m_effectPlayerView->setGeometry(frames.effect.toRect());
    updatePlayCropViewPlace();
}

void VideoEditWindowController::updatePlayCropViewPlace()
{
    m_playerCropView->setOnlyMove(false);
    announce(QStringLiteral("playerCropView"));
    bool shown = false;
    const VCMovie::Ptr item = vcMovie();
    const IMovie::Ptr m = movie();
    const auto placeOver = [this](QWidget* picture, const QSizeF& size) {
        const QRectF fitted =
            CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), size), QRectF(picture->rect()));
        m_playerCropView->setGeometry(fitted.translated(picture->pos()).toRect());
    };
    if (currentEditTypeIsString(QStringLiteral("crop"))) {
        placeOver(m_originPlayerView, validOriginVideoSize());
        m_playerCropView->setCropRect(
            mediaCropToCropViewWithFrame(m ? m->cropRect() : QRectF(), false));
        shown = true;
    } else if (isEditWaterMark() && item && item->enableWatermark()) {
        placeOver(m_effectPlayerView, validVideoOutputSize());
        m_playerCropView->setCropRect(
            mediaCropToCropViewWithFrame(item->realWatermarkRect(), true));
        if (item->watermarkType() == 0) {
            shown = true;
        } else if (item->watermarkType() == 1) {
            m_playerCropView->setOnlyMove(true);
            shown = true;
        }
    }
    m_playerCropView->setVisible(shown);
    if (shown) {
        m_playerCropView->raise();
    }
}

QRectF VideoEditWindowController::mediaCropToCropViewWithFrame(const QRectF& rect,
                                                               bool forWaterMark) const
{
    return VideoEditLayout::mediaCropToCropView(
        rect, forWaterMark ? validVideoOutputSize() : validOriginVideoSize(),
        QSizeF(m_playerCropView->size()));
}

QRectF VideoEditWindowController::cropViewRectToMediaCrop(const QRectF& rect,
                                                          bool forWaterMark) const
{
    return VideoEditLayout::cropViewRectToMediaCrop(
        rect, forWaterMark ? validVideoOutputSize() : validOriginVideoSize(),
        QSizeF(m_playerCropView->size()));
}

void VideoEditWindowController::playerCropDidChanged(VEPlayerCropView* view)
{
    if (!view) {
        return;
    }
    if (currentEditTypeIsString(QStringLiteral("crop"))) {
        m_cropTab->setCropRect(cropViewRectToMediaCrop(view->cropRect(), false));
    } else if (isEditWaterMark()) {
        if (const VCMovie::Ptr item = vcMovie()) {
            item->setRealWatermarkRect(cropViewRectToMediaCrop(view->cropRect(), true));
            m_watermarkTab->updateWatermarkRect();
        }
    }
}

bool VideoEditWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pictureArea && event->type() == QEvent::Resize) {
        updateForTabViewSelectedItem();
    }
    return QDialog::eventFilter(watched, event);
}

void VideoEditWindowController::flushMovieAttribute()
{
    m_cropTab->flushCropRectAttribute();
    m_cropTab->flushZoomTypeAttribute();
    m_cropTab->flushEffectAttribute();
    m_cropTab->initCropFileds();
    m_watermarkTab->updateWatermark();
    flushTrimAttribute();
    flushProgressTimeLabel();
    flushPlayerProgressTimeStr();
}
