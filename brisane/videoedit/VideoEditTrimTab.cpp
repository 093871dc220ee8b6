#include "videoedit/VideoEditTrimTab.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>

#include "common/widgets/CommonFunctionThreads.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "media/VideoEditPlayer.h"
#include "platform/Value.h"
#include "videoedit/EditSheet.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/core/FFMovieTime2PlayTimeStringTransformer.h"
#include "videoedit/core/KeyBinding.h"
#include "videoedit/core/TrimSegmentRules.h"

namespace {

double seconds(LMMediaTime time)
{
    return lm_ff_time_to_double(time);
}

const FFMovieTime2PlayTimeStringTransformer& timeTransformer()
{
    static const FFMovieTime2PlayTimeStringTransformer transformer;
    return transformer;
}

}  // namespace

VideoEditTrimTab::VideoEditTrimTab(VideoEditWindowController& sheet, QWidget* parent)
    : QWidget(parent), m_sheet(sheet)
{
    QWidget* page = this;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    m_addTrimButton = EditSheet::makeTextButton(tr("Add"), page);
    m_addTrimButton->setToolTip(tr("Keep one second at the playhead"));
    m_deleteTrimButton = EditSheet::makeTextButton(tr("Delete"), page);
    m_previewTrimButton = new QToolButton(page);
    m_previewTrimButton->setAutoRaise(true);
    m_previewTrimButton->setIconSize(QSize(24, 24));
    m_previewTrimButton->setToolTip(tr("Preview the kept pieces"));
    m_resetTrimButton = EditSheet::makeTextButton(tr("Reset"), page);
    m_resetTrimButton->setToolTip(tr("Remove every piece"));
    m_trimStartField = new QLineEdit(page);
    m_trimEndFiled = new QLineEdit(page);
    for (QLineEdit* field : {m_trimStartField, m_trimEndFiled}) {
        field->setFixedWidth(80);
        field->setAlignment(Qt::AlignCenter);
        connect(field, &QLineEdit::editingFinished, this,
                [this, field] { fieldEditingFinished(field); });
    }
    connect(m_addTrimButton, &QToolButton::clicked, this, &VideoEditTrimTab::addTrimAction);
    connect(m_deleteTrimButton, &QToolButton::clicked, this, &VideoEditTrimTab::deleteTrimAction);
    connect(m_previewTrimButton, &QToolButton::clicked, this, &VideoEditTrimTab::playTrimAction);
    connect(m_resetTrimButton, &QToolButton::clicked, this, &VideoEditTrimTab::resetTrimAction);
    row->addWidget(m_addTrimButton);
    row->addWidget(m_deleteTrimButton);
    row->addWidget(m_previewTrimButton);
    row->addSpacing(16);
    row->addWidget(new QLabel(tr("Start"), page));
    row->addWidget(m_trimStartField);
    row->addWidget(new QLabel(tr("End"), page));
    row->addWidget(m_trimEndFiled);
    row->addStretch();
    row->addWidget(m_resetTrimButton);
}

QAbstractButton* VideoEditTrimTab::addTrimButton() const
{
    return m_addTrimButton;
}

QAbstractButton* VideoEditTrimTab::deleteTrimButton() const
{
    return m_deleteTrimButton;
}

QAbstractButton* VideoEditTrimTab::previewTrimButton() const
{
    return m_previewTrimButton;
}

QAbstractButton* VideoEditTrimTab::resetTrimButton() const
{
    return m_resetTrimButton;
}

void VideoEditTrimTab::bindControls()
{
    PropertyNotifier& keys = m_sheet.keys();
    KeyBinding::bind(keys, QStringLiteral("playPreviewImage"), m_previewTrimButton, [this] {
        m_previewTrimButton->setIcon(QIcon(QPixmap::fromImage(m_sheet.playPreviewImage())));
    });
    KeyBinding::bind(keys, QStringLiteral("previewTrimEnable"), m_previewTrimButton, [this] {
        m_previewTrimButton->setEnabled(previewTrimEnable() || m_isPlayTrim);
    });
    const auto refreshAdd = [this] {
        m_addTrimButton->setEnabled(trimCountLessThanFive() && addTrimEnable());
    };
    KeyBinding::bind(keys, QStringLiteral("addTrimEnable"), m_addTrimButton, refreshAdd);
    KeyBinding::bind(keys, QStringLiteral("trimCountLessThanFive"), m_addTrimButton, refreshAdd);
    KeyBinding::bind(keys, QStringLiteral("deleteTrimButtonEnable"), m_deleteTrimButton,
                     [this] { m_deleteTrimButton->setEnabled(deleteTrimButtonEnable()); });
    KeyBinding::bind(keys, QStringLiteral("selectedStartTime"), m_trimStartField, [this] {
        m_trimStartField->setText(
            *timeTransformer().transformedValue(Value(selectedStartTime())).toString());
        m_trimStartField->setEnabled(selectedTrimItem() != nullptr);
    });
    KeyBinding::bind(keys, QStringLiteral("selectedEndTime"), m_trimEndFiled, [this] {
        m_trimEndFiled->setText(
            *timeTransformer().transformedValue(Value(selectedEndTime())).toString());
        m_trimEndFiled->setEnabled(selectedTrimItem() != nullptr);
    });
}

void VideoEditTrimTab::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_sheet.keys(), key);
}

void VideoEditTrimTab::stopPlayingTrims()
{
    m_isPlayTrim = false;
    m_sheet.player()->setIsPreview(false);
}

std::shared_ptr<MovieTrimItem> VideoEditTrimTab::trimAt(int index) const
{
    const VCMovie::Ptr item = m_sheet.vcMovie();
    const VCMovie::TrimArray trims = item ? item->trimArray() : VCMovie::TrimArray();
    return TrimSegmentRules::selects(index, trims.size()) ? trims.at(index) : nullptr;
}

std::shared_ptr<MovieTrimItem> VideoEditTrimTab::selectedTrimItem() const
{
    return trimAt(m_sheet.playerProgressBarView()->selectedTrimIndex());
}

bool VideoEditTrimTab::trimCountLessThanFive() const
{
    const VCMovie::Ptr item = m_sheet.vcMovie();
    return !item || item->trimArray().size() < TrimSegmentRules::kMaxTrimCount;
}

bool VideoEditTrimTab::deleteTrimButtonEnable() const
{
    return selectedTrimItem() != nullptr;
}

bool VideoEditTrimTab::previewTrimEnable() const
{
    const VCMovie::Ptr item = m_sheet.vcMovie();
    return item && !item->trimArray().isEmpty();
}

bool VideoEditTrimTab::addTrimEnable() const
{
    const VCMovie::Ptr item = m_sheet.vcMovie();
    return item && TrimSegmentRules::addTrimEnable(
                       item->trimArray(), seconds(m_sheet.playerProgressBarView()->currentTime()),
                       seconds(m_sheet.playerProgressBarView()->duration()));
}

LMMediaTime VideoEditTrimTab::selectedStartTime() const
{
    const auto trim = selectedTrimItem();
    return trim ? trim->startTime() : 0;
}

LMMediaTime VideoEditTrimTab::selectedEndTime() const
{
    const auto trim = selectedTrimItem();
    return trim ? trim->stopTime() : 0;
}

void VideoEditTrimTab::setSelectedStartTime(LMMediaTime time)
{
    const auto trim = selectedTrimItem();
    if (!trim) {
        return;
    }
    m_doSeek = TrimSegmentRules::movesPlayhead(seconds(time), trim->start());
    const double stop = trim->stop();
    const double start = TrimSegmentRules::clampedStart(
        m_sheet.vcMovie()->trimArray(), m_sheet.playerProgressBarView()->selectedTrimIndex(),
        seconds(time));
    trim->setStart(start);
    trim->setDuration(stop - start);
    m_sheet.playerProgressBarView()->update();
}

void VideoEditTrimTab::setSelectedEndTime(LMMediaTime time)
{
    const auto trim = selectedTrimItem();
    if (!trim) {
        return;
    }
    m_doSeek = TrimSegmentRules::movesPlayhead(seconds(time), trim->stop());
    const double end = TrimSegmentRules::clampedEnd(
        m_sheet.vcMovie()->trimArray(), m_sheet.playerProgressBarView()->selectedTrimIndex(),
        seconds(time), seconds(m_sheet.player()->duration()));
    trim->setDuration(end - trim->start());
    m_sheet.playerProgressBarView()->update();
}

LMMediaTime VideoEditTrimTab::trimDuration() const
{
    const VCMovie::Ptr item = m_sheet.vcMovie();
    return item ? item->trimDuration() : 0;
}

void VideoEditTrimTab::addTrimAction()
{
    m_sheet.playerProgressBarView()->addTrimAction();
    flushProgressTimeLabel();
    m_sheet.flushPlayerProgressTimeStr();
}

void VideoEditTrimTab::deleteTrimAction()
{
    m_sheet.playerProgressBarView()->deleteSelectedTrimAction();
    if (m_isPlayTrim) {
        m_isPlayTrim = false;
        m_sheet.player()->setIsPreview(false);
    }
    flushProgressTimeLabel();
    m_sheet.flushPlayerProgressTimeStr();
    m_sheet.flushPlayerStatusImage();
}

void VideoEditTrimTab::playTrimAction()
{
    m_sheet.player()->setIsPreview(!m_sheet.player()->isPreview());
    m_isPlayTrim = !m_isPlayTrim;
    if (m_isPlayTrim) {
        const VCMovie::Ptr item = m_sheet.vcMovie();
        const VCMovie::TrimArray trims = item ? item->trimArray() : VCMovie::TrimArray();
        m_sheet.player()->seek(trims.isEmpty() ? 0 : trims.first()->startTime());
        m_sheet.player()->play();
    }
    m_sheet.flushPlayerStatusImage();
    announce(QStringLiteral("previewTrimEnable"));
}

void VideoEditTrimTab::resetTrimAction()
{
    if (const VCMovie::Ptr item = m_sheet.vcMovie()) {
        item->setTrimArray({});
    }
    m_sheet.playerProgressBarView()->setSelectedTrimIndex(TrimSegmentRules::kNoSelection);
    m_sheet.playerProgressBarView()->update();
    m_isPlayTrim = false;
    m_sheet.player()->setIsPreview(false);
    m_sheet.flushPlayerProgress();
    flushProgressTimeLabel();
}

void VideoEditTrimTab::flushProgressTimeLabel()
{
    announce(QStringLiteral("selectedStartTime"));
    announce(QStringLiteral("selectedEndTime"));
    const VCMovie::Ptr item = m_sheet.vcMovie();
    const qsizetype count = item ? item->trimArray().size() : 0;
    if (m_sheet.playerProgressBarView()->selectedTrimIndex() >= count) {
        m_sheet.playerProgressBarView()->setSelectedTrimIndex(TrimSegmentRules::kNoSelection);
    }
    m_sheet.playerProgressBarView()->update();
}

void VideoEditTrimTab::fieldEditingFinished(QLineEdit* field)
{
    // Focus leaving an untouched field writes nothing: it shows whole
    // seconds only.
    if (!field->isModified()) {
        return;
    }
    field->setModified(false);
    const LMMediaTime time =
        timeTransformer().reverseTransformedValue(Value(field->text())).toInt().value_or(0);
    if (field == m_trimStartField) {
        setSelectedStartTime(time);
    } else {
        setSelectedEndTime(time);
    }
    controlTextDidEndEditing(field);
}

void VideoEditTrimTab::controlTextDidEndEditing(QLineEdit* field)
{
    if (field != m_trimStartField && field != m_trimEndFiled) {
        return;
    }
    m_lastTimeField = field;
    flushSelectedTrimStartStop();
}

void VideoEditTrimTab::flushSelectedTrimStartStop()
{
    const bool seekAfter = m_doSeek;
    setSelectedStartTime(selectedStartTime());
    setSelectedEndTime(selectedEndTime());
    const auto trim = selectedTrimItem();
    if (seekAfter && trim) {
        if (m_lastTimeField == m_trimStartField) {
            m_sheet.seek(trim->startTime());
        } else if (m_lastTimeField == m_trimEndFiled) {
            m_sheet.seek(trim->stopTime());
        }
    }
    m_lastTimeField = nullptr;
    announce(QStringLiteral("selectedStartTime"));
    announce(QStringLiteral("selectedEndTime"));
    m_sheet.flushPlayerProgressTimeStr();
    m_sheet.playerProgressBarView()->update();
}

void VideoEditTrimTab::flushTrimAttribute()
{
    announce(QStringLiteral("trimDuration"));
    m_sheet.playerProgressBarView()->update();
}
