#include "videoedit/ClipEditWindowController.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtDebug>
#include <algorithm>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "common/widgets/AlertService.h"
#include "common/widgets/CommonFunctionThreads.h"
#include "media/MoviePlayer.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/core/IDocumentHost.h"
#include "videoedit/ClipDownControlView.h"
#include "videoedit/ClipEditBackgroundView.h"
#include "videoedit/ClipEditMovieDisplayView.h"
#include "videoedit/ClipEditPlayerProgressView.h"
#include "videoedit/EditSheet.h"
#include "videoedit/core/ClipMarkerRules.h"
#include "videoedit/core/FFMovieTime2PlayTimeMsStringTransformer.h"
#include "videoedit/core/KeyBinding.h"

namespace {

const FFMovieTime2PlayTimeMsStringTransformer& timeTransformer()
{
    static const FFMovieTime2PlayTimeMsStringTransformer transformer;
    return transformer;
}

QPushButton* pushButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Return ends the time field's editing; it must press no button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

ClipEditWindowController::ClipEditWindowController(QWidget* parent, IDocumentHost* host,
                                                   ListEditViewController* list)
    : QDialog(parent), m_host(host), m_writer(list, host)
{
    setWindowTitle(QCoreApplication::applicationName());
    setWindowModality(Qt::WindowModal);
    m_player = new MoviePlayer(this);
    m_player->setDelegate(this);
    buildWindow();
    m_movieDisplayView->setPlayer(m_player);
    m_movieDisplayView->setShowOrigin(true);
    m_playerProgressView->setDelegate(this);
    bindControls();
    connect(this, &QDialog::finished, this, [this] { windowWillClose(); });
}

ClipEditWindowController::~ClipEditWindowController()
{
    // The children go after this object's own parts: none may call back.
    m_player->setDelegate(nullptr);
    m_playerProgressView->setDelegate(nullptr);
}

// --- The window ---

void ClipEditWindowController::buildWindow()
{
    EditSheet::setDarkPalette(*this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_backgroundView = new ClipEditBackgroundView(this);
    outer->addWidget(m_backgroundView);
    auto* column = new QVBoxLayout(m_backgroundView);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_movieDisplayView = new ClipEditMovieDisplayView(m_backgroundView);
    m_movieDisplayView->setMinimumSize(480, 270);
    m_movieDisplayView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(m_movieDisplayView, 1);

    auto* controls = new ClipDownControlView(m_backgroundView);
    auto* rows = new QVBoxLayout(controls);
    rows->setContentsMargins(12, 8, 12, 10);

    // Play button, timeline and the time.
    auto* playRow = new QHBoxLayout;
    m_playPauseButton = EditSheet::makePlayPauseButton(controls);
    connect(m_playPauseButton, &QToolButton::clicked, this,
            &ClipEditWindowController::playOrPausePlayer);
    m_playerProgressView = new ClipEditPlayerProgressView(controls);
    m_playTimeLabel = new QLabel(controls);
    m_playTimeLabel->setMinimumWidth(
        m_playTimeLabel->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000/00:00:00")) +
        4);
    playRow->addWidget(m_playPauseButton);
    playRow->addWidget(m_playerProgressView, 1);
    playRow->addWidget(m_playTimeLabel);
    rows->addLayout(playRow);

    // Markers on the left, the applies on the right.
    auto* buttonRow = new QHBoxLayout;
    m_preMarkerButton = pushButton(tr("Previous"), controls);
    m_nextMarkerButton = pushButton(tr("Next"), controls);
    m_addMarkButton = pushButton(tr("Add Marker"), controls);
    m_addMarkButton->setToolTip(tr("Add a chapter marker at the playhead"));
    m_selectedMarkTimeField = new QLineEdit(controls);
    m_selectedMarkTimeField->setFixedWidth(
        m_selectedMarkTimeField->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) +
        16);
    m_selectedMarkTimeField->setAlignment(Qt::AlignCenter);
    m_selectedMarkTimeField->setToolTip(tr("The selected marker's time (h:m:s, m:s or seconds)"));
    m_applyToVideoButton = pushButton(tr("Apply to Video"), controls);
    m_applyToSubmenuButton = pushButton(tr("Apply to Submenu"), controls);
    m_cancelButton = pushButton(tr("Cancel"), controls);
    auto* timeLabel = new QLabel(tr("Marker"), controls);
    buttonRow->addWidget(m_preMarkerButton);
    buttonRow->addWidget(m_nextMarkerButton);
    buttonRow->addWidget(m_addMarkButton);
    buttonRow->addSpacing(12);
    buttonRow->addWidget(timeLabel);
    buttonRow->addWidget(m_selectedMarkTimeField);
    buttonRow->addStretch();
    buttonRow->addWidget(m_applyToVideoButton);
    buttonRow->addWidget(m_applyToSubmenuButton);
    buttonRow->addSpacing(12);
    buttonRow->addWidget(m_cancelButton);
    rows->addLayout(buttonRow);
    column->addWidget(controls);

    connect(m_preMarkerButton, &QPushButton::clicked, this,
            &ClipEditWindowController::preMarkerAction);
    connect(m_nextMarkerButton, &QPushButton::clicked, this,
            &ClipEditWindowController::nextMarkerAction);
    connect(m_addMarkButton, &QPushButton::clicked, this,
            &ClipEditWindowController::addMarkButtonAction);
    connect(m_applyToVideoButton, &QPushButton::clicked, this, [this] { applyToVideoAction(); });
    connect(m_applyToSubmenuButton, &QPushButton::clicked, this,
            [this] { applyToSubmenuAction(); });
    connect(m_cancelButton, &QPushButton::clicked, this,
            &ClipEditWindowController::cancelButtonAction);
    connect(m_selectedMarkTimeField, &QLineEdit::editingFinished, this,
            &ClipEditWindowController::fieldEditingFinished);

    m_deleteAction = EditSheet::addDeleteAction(*this);
    connect(m_deleteAction, &QAction::triggered, this,
            &ClipEditWindowController::removeSelectedMarker);
    // The timeline offers it on its context menu too.
    m_playerProgressView->addAction(m_deleteAction);
    m_playerProgressView->setContextMenuPolicy(Qt::ActionsContextMenu);

    resize(760, 560);
}

QAbstractButton* ClipEditWindowController::playPauseButton() const
{
    return m_playPauseButton;
}

QAbstractButton* ClipEditWindowController::preMarkerButton() const
{
    return m_preMarkerButton;
}

QAbstractButton* ClipEditWindowController::nextMarkerButton() const
{
    return m_nextMarkerButton;
}

QAbstractButton* ClipEditWindowController::addMarkButton() const
{
    return m_addMarkButton;
}

QAbstractButton* ClipEditWindowController::applyToVideoButton() const
{
    return m_applyToVideoButton;
}

QAbstractButton* ClipEditWindowController::applyToSubmenuButton() const
{
    return m_applyToSubmenuButton;
}

QAbstractButton* ClipEditWindowController::cancelButton() const
{
    return m_cancelButton;
}

// --- Bindings ---

void ClipEditWindowController::bindControls()
{
    KeyBinding::bind(m_keys, QStringLiteral("playTimeString"), m_playTimeLabel,
                     [this] { m_playTimeLabel->setText(playTimeString()); });
    KeyBinding::bind(m_keys, QStringLiteral("playPauseImage"), m_playPauseButton, [this] {
        m_playPauseButton->setIcon(QIcon(QPixmap::fromImage(playPauseImage())));
        m_playPauseButton->setToolTip(m_player->isPlay() ? tr("Pause") : tr("Play"));
    });
    KeyBinding::bind(m_keys, QStringLiteral("addMarkButtonEnable"), m_addMarkButton,
                     [this] { m_addMarkButton->setEnabled(addMarkButtonEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("selectedMarkerTime"), m_selectedMarkTimeField, [this] {
        m_selectedMarkTimeField->setText(
            *timeTransformer().transformedValue(Value(selectedMarkerTime())).toString());
        m_selectedMarkTimeField->setModified(false);
    });
    KeyBinding::bind(
        m_keys, QStringLiteral("selectedMarkTimeLabelEnable"), m_selectedMarkTimeField,
        [this] { m_selectedMarkTimeField->setEnabled(selectedMarkTimeLabelEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("selectedMarkTimeLabelEnable"), m_deleteAction,
                     [this] { m_deleteAction->setEnabled(selectedMarkTimeLabelEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("preMarkerEnable"), m_preMarkerButton,
                     [this] { m_preMarkerButton->setEnabled(preMarkerEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("nextMarkerEnable"), m_nextMarkerButton,
                     [this] { m_nextMarkerButton->setEnabled(nextMarkerEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("applyButtonEnable"), m_applyToVideoButton,
                     [this] { m_applyToVideoButton->setEnabled(applyButtonEnable()); });
    KeyBinding::bind(m_keys, QStringLiteral("applyButtonEnable"), m_applyToSubmenuButton,
                     [this] { m_applyToSubmenuButton->setEnabled(applyButtonEnable()); });
    // What Apply to Video makes depends on whether the clip is a sub-clip.
    KeyBinding::bind(m_keys, QStringLiteral("importMediaIsSubMedia"), m_applyToVideoButton, [this] {
        m_applyToVideoButton->setToolTip(
            importMediaIsSubMedia() ? tr("The chapters become sub-clips of the clip's merged clip")
                                    : tr("The chapters become the sub-clips of this clip"));
    });
}

void ClipEditWindowController::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_keys, key);
}

void ClipEditWindowController::flushPreNextMarkerEnable()
{
    announce(QStringLiteral("preMarkerEnable"));
    announce(QStringLiteral("nextMarkerEnable"));
}

void ClipEditWindowController::flushPlayerStatusImage()
{
    announce(QStringLiteral("playPauseImage"));
}

void ClipEditWindowController::flushPlayerProgressTimeStr()
{
    announce(QStringLiteral("playTimeString"));
}

void ClipEditWindowController::flushAddMarkButtonEnable()
{
    announce(QStringLiteral("addMarkButtonEnable"));
}

void ClipEditWindowController::flushSelectedMarkTimeLabel()
{
    announce(QStringLiteral("selectedMarkerTime"));
}

void ClipEditWindowController::flushSelectedMarkTimeLabelEnable()
{
    announce(QStringLiteral("selectedMarkTimeLabelEnable"));
}

void ClipEditWindowController::flushApplyButtonEnable()
{
    announce(QStringLiteral("applyButtonEnable"));
}

void ClipEditWindowController::flushMarkerDependents()
{
    flushAddMarkButtonEnable();
    flushApplyButtonEnable();
    m_playerProgressView->update();
}

// --- Opening and closing ---

void ClipEditWindowController::showWindowWithMediaData(const std::shared_ptr<MediaData>& media)
{
    const auto section = media ? media->sectionItem() : nullptr;
    const auto source = section ? section->superResource() : nullptr;
    if (!source) {
        qWarning() << "chapter edit: the clip has no section of a source, not opened";
        return;
    }
    if (media->hasSubMedia()) {
        qWarning() << "chapter edit: a merged clip plays its sub-clips, not opened";
        return;
    }
    m_importMedia = media;
    m_sourceResource = source;
    announce(QStringLiteral("importMediaIsSubMedia"));
    setVcMovie(SectionDataResource::createVcmovieWithSectionDataSource(
        *source, ChapterListWriter::canvasOf(*media)));
    updateOldMediaArrayWithResourse(*source);
    updateClipMarkerArrayWithResourse(*source);
    setSelectedMarker(nullptr);
    flushMarkerDependents();

    showOnMainWindow();
    m_backgroundView->setFocus(Qt::OtherFocusReason);

    m_player->seek(0);
    m_player->play();
    flushPlayerProgressTimeStr();
    flushPreNextMarkerEnable();
    flushPlayerStatusImage();
}

void ClipEditWindowController::updateOldMediaArrayWithResourse(const SectionDataResource& source)
{
    m_oldMediaArray.clear();
    for (const auto& section : source.mediaSectionArray()) {
        const MediaData::Ptr clip = section ? section->associatedMedia() : nullptr;
        if (!clip) {
            qWarning("error: found nil section associate media !");
            continue;
        }
        m_oldMediaArray.append(clip);
    }
}

void ClipEditWindowController::updateClipMarkerArrayWithResourse(const SectionDataResource& source)
{
    m_markerArray = ClipMarkerRules::markersFromSections(source.mediaSectionArray());
}

void ClipEditWindowController::showOnMainWindow()
{
    EditSheet::showOnMainWindow(*this, m_host ? m_host->window() : nullptr);
}

void ClipEditWindowController::cancelButtonAction()
{
    reject();
}

void ClipEditWindowController::windowWillClose()
{
    m_player->pause();
    m_selectedMarker.reset();
    m_oldMediaArray.clear();
    m_markerArray.clear();
    // The fresh item is the sheet's own; the next opening makes another.
    setVcMovie(nullptr);
    m_importMedia.reset();
    m_sourceResource.reset();
    flushSelectedMarkTimeLabel();
    flushSelectedMarkTimeLabelEnable();
    flushPreNextMarkerEnable();
    flushMarkerDependents();
}

// --- Computed keys ---

bool ClipEditWindowController::importMediaIsSubMedia() const
{
    const auto clip = importMedia();
    return clip && clip->isSubMedia();
}

VCMovie::Ptr ClipEditWindowController::vcMovie() const
{
    return std::dynamic_pointer_cast<VCMovie>(m_player->vcMovie());
}

void ClipEditWindowController::setVcMovie(const VCMovie::Ptr& item)
{
    m_player->setVcMovie(item);
    announce(QStringLiteral("vcMovie"));
    flushPlayerImage();
}

IMovie::Ptr ClipEditWindowController::movie() const
{
    const VCMovie::Ptr item = vcMovie();
    return item ? item->movie() : nullptr;
}

QString ClipEditWindowController::playTimeString() const
{
    const double position = lm_ff_time_to_double(m_playerProgressView->currentTime());
    const LMMediaTime length = std::max<LMMediaTime>(m_playerProgressView->duration(), 0);
    return QStringLiteral("%1/%2").arg(
        FFMovieTime2PlayTimeMsStringTransformer::timeString(position),
        CommonFunction::timeStrFromSecond(static_cast<float>(lm_ff_time_to_double(length))));
}

QImage ClipEditWindowController::playPauseImage() const
{
    return NamedImage::imageNamed(m_player->isPlay() ? QStringLiteral("dvd-pause")
                                                     : QStringLiteral("dvd-play"));
}

bool ClipEditWindowController::addMarkButtonEnable() const
{
    return ClipMarkerRules::addMarkButtonEnable(m_markerArray, m_playerProgressView->currentTime());
}

LMMediaTime ClipEditWindowController::selectedMarkerTime() const
{
    return m_selectedMarker ? m_selectedMarker->markTime() : 0;
}

void ClipEditWindowController::setSelectedMarkerTime(LMMediaTime time)
{
    const qsizetype index = m_selectedMarker ? m_markerArray.indexOf(m_selectedMarker) : -1;
    if (index < 0) {
        return;
    }
    m_selectedMarker->setMarkTime(ClipMarkerRules::clampedMarkerTime(m_markerArray, index, time));
    flushSelectedMarkTimeLabel();
    flushMarkerDependents();
}

bool ClipEditWindowController::selectedMarkTimeLabelEnable() const
{
    return m_selectedMarker != nullptr;
}

bool ClipEditWindowController::preMarkerEnable() const
{
    return ClipMarkerRules::preMarkerEnable(m_markerArray, m_selectedMarker);
}

bool ClipEditWindowController::nextMarkerEnable() const
{
    return ClipMarkerRules::nextMarkerEnable(m_markerArray, m_selectedMarker);
}

bool ClipEditWindowController::applyButtonEnable() const
{
    return ClipMarkerRules::canApply(m_markerArray);
}

void ClipEditWindowController::setSelectedMarker(const ClipMarker::Ptr& marker)
{
    const bool chapter = marker && ClipMarkerRules::chapterMarkers(m_markerArray).contains(marker);
    m_selectedMarker = chapter ? marker : nullptr;
    flushSelectedMarkTimeLabel();
    flushSelectedMarkTimeLabelEnable();
    flushPreNextMarkerEnable();
    m_playerProgressView->update();
}

// --- Player and timeline ---

void ClipEditWindowController::imageDidFlushInPlayer(MoviePlayer*)
{
    flushPlayerProgress();
}

void ClipEditWindowController::flushPlayerProgress()
{
    const LMMediaTime duration = m_player->duration();
    m_playerProgressView->setDuration(duration);
    m_playerProgressView->setCurrentTime(std::min(m_player->currentTime(), duration));
    m_playerProgressView->update();
    flushPlayerProgressTimeStr();
    flushPlayerStatusImage();
    m_movieDisplayView->update();
    flushAddMarkButtonEnable();
}

void ClipEditWindowController::flushPlayerImage()
{
    m_player->updateImage();
}

void ClipEditWindowController::seek(LMMediaTime time)
{
    m_player->seek(time);
}

void ClipEditWindowController::pause()
{
    m_player->pause();
}

void ClipEditWindowController::playOrPausePlayer()
{
    EditSheet::playOrPause(*m_player);
    flushPlayerStatusImage();
}

void ClipEditWindowController::moveLeft()
{
    seek(ClipMarkerRules::steppedTime(m_player->currentTime(), m_player->duration(), -1));
}

void ClipEditWindowController::moveRight()
{
    seek(ClipMarkerRules::steppedTime(m_player->currentTime(), m_player->duration(), 1));
}

void ClipEditWindowController::keyPressEvent(QKeyEvent* event)
{
    // Reaches the sheet when no field or button takes the key.
    if (event->key() == Qt::Key_Left && event->modifiers() == Qt::NoModifier) {
        moveLeft();
    } else if (event->key() == Qt::Key_Right && event->modifiers() == Qt::NoModifier) {
        moveRight();
    } else {
        QDialog::keyPressEvent(event);
    }
}

// --- Markers ---

void ClipEditWindowController::addMarkButtonAction()
{
    const LMMediaTime time = m_playerProgressView->currentTime();
    if (!ClipMarkerRules::addMarkButtonEnable(m_markerArray, time)) {
        return;
    }
    const auto marker = ClipMarker::markerAt(time);
    m_markerArray.insert(ClipMarkerRules::insertionIndex(m_markerArray, time), marker);
    setSelectedMarker(marker);
    flushMarkerDependents();
}

void ClipEditWindowController::removeSelectedMarker()
{
    // Only chapter markers are ever selected: the start and end stay.
    if (m_selectedMarker &&
        ClipMarkerRules::chapterMarkers(m_markerArray).contains(m_selectedMarker)) {
        m_markerArray.removeAll(m_selectedMarker);
    }
    setSelectedMarker(nullptr);
    flushMarkerDependents();
}

void ClipEditWindowController::selectNeighbour(const ClipMarker::Ptr& marker)
{
    if (!marker) {
        return;
    }
    setSelectedMarker(marker);
    seek(marker->markTime());
}

void ClipEditWindowController::preMarkerAction()
{
    selectNeighbour(ClipMarkerRules::previousMarker(m_markerArray, m_selectedMarker));
}

void ClipEditWindowController::nextMarkerAction()
{
    selectNeighbour(ClipMarkerRules::nextMarker(m_markerArray, m_selectedMarker));
}

void ClipEditWindowController::fieldEditingFinished()
{
    // Focus leaving an untouched field writes nothing.
    if (!m_selectedMarkTimeField->isModified()) {
        return;
    }
    m_selectedMarkTimeField->setModified(false);
    const Value typed(m_selectedMarkTimeField->text());
    setSelectedMarkerTime(timeTransformer().reverseTransformedValue(typed).toInt().value_or(0));
    controlTextDidEndEditing();
}

void ClipEditWindowController::controlTextDidEndEditing()
{
    flushSelectedMarkTimeLabel();
}

// --- Apply ---

bool ClipEditWindowController::applyToVideoAction()
{
    return applyChapters(ChapterApplyPlan::Kind::Video);
}

bool ClipEditWindowController::applyToSubmenuAction()
{
    return applyChapters(ChapterApplyPlan::Kind::Submenu);
}

bool ClipEditWindowController::confirmApply(ChapterApplyPlan::Kind kind)
{
    const AlertContent alert{
        kind == ChapterApplyPlan::Kind::Video
            ? QStringLiteral("Do you want to apply the chapter markers to Video ?")
            : QStringLiteral("Do you want to apply the chapter markers to Submenu ?"),
        QStringLiteral("This will reset the video edit."), QStringLiteral("Apply"), QString(),
        QStringLiteral("Cancel")};
    return AlertService::current()->runAlert(alert, this) == AlertService::DefaultReturn;
}

bool ClipEditWindowController::applyChapters(ChapterApplyPlan::Kind kind)
{
    if (!applyButtonEnable()) {
        qWarning() << "chapter edit: every chapter must last a second or more; nothing applied";
        return false;
    }
    if (!confirmApply(kind)) {
        return false;
    }
    if (!m_writer.writeChapters(kind, sourceResource(), importMedia(), m_markerArray,
                                m_oldMediaArray)) {
        return false;
    }
    if (m_host) {
        m_host->setDocumentEdited(true);
    }
    accept();
    return true;
}

void ClipEditWindowController::resetMediaTrim(const MediaData::Ptr& media)
{
    if (media && media->vcmovie()) {
        media->vcmovie()->setTrimArray({});
    }
}

void ClipEditWindowController::insertMediaArrayToListTable(const MediaData::ClipList& clips)
{
    m_writer.insertMediaArrayToListTable(importMedia(), clips);
}

void ClipEditWindowController::mergeMediaArrayToListTable(const MediaData::ClipList& clips)
{
    m_writer.mergeMediaArrayToListTable(importMedia(), clips);
}

void ClipEditWindowController::removeMediaArrayInListTable(const MediaData::ClipList& clips)
{
    m_writer.removeMediaArrayInListTable(clips);
}

void ClipEditWindowController::listTableReloadView()
{
    m_writer.listTableReloadView();
}
