#include "videoedit/VideoEditAudioTab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QtDebug>

#include "common/PropertyNotifier.h"
#include "model/MediaData.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/core/AudioTrackChoice.h"

VideoEditAudioTab::VideoEditAudioTab(VideoEditWindowController* sheet, QWidget* parent)
    : QWidget(parent), m_sheet(sheet)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_audioTrackPopBtn = new QComboBox(this);
    m_audioTrackPopBtn->setToolTip(tr("Track"));
    m_audioTrackPopBtn->setMinimumWidth(160);
    m_volumeSlider = new QSlider(Qt::Horizontal, this);
    m_volumeSlider->setRange(AudioTrackChoice::percentOfVolume(AudioTrackChoice::kMinimumVolume),
                             AudioTrackChoice::percentOfVolume(AudioTrackChoice::kMaximumVolume));
    m_volumeSlider->setToolTip(tr("Volume"));
    m_volumeField = new QLineEdit(this);
    m_volumeField->setFixedWidth(56);
    m_volumeField->setAlignment(Qt::AlignRight);
    row->addWidget(new QLabel(tr("Audio"), this));
    row->addWidget(m_audioTrackPopBtn);
    row->addSpacing(16);
    row->addWidget(new QLabel(tr("Volume"), this));
    row->addWidget(m_volumeSlider, 1);
    row->addWidget(m_volumeField);
    row->addWidget(new QLabel(QStringLiteral("%"), this));

    connect(m_audioTrackPopBtn, &QComboBox::activated, this, [this](int index) {
        submenuStreamsItemAction(m_audioTrackPopBtn->itemData(index).toLongLong());
    });
    connect(m_volumeSlider, &QSlider::valueChanged, this,
            &VideoEditAudioTab::changeVolumeUseSlider);
    connect(m_volumeField, &QLineEdit::editingFinished, this, [this] {
        if (m_volumeField->isModified()) {
            m_volumeField->setModified(false);
            changeVolumeUseField();
        }
    });
    bindVolume();
}

void VideoEditAudioTab::bindVolume()
{
    const auto refresh = [this] {
        const QSignalBlocker sliderBlocker(m_volumeSlider);
        const QSignalBlocker fieldBlocker(m_volumeField);
        const int percent = AudioTrackChoice::percentOfVolume(m_sheet->volume());
        m_volumeSlider->setValue(percent);
        m_volumeField->setText(QString::number(percent));
    };
    m_sheet->keys().observeKey(QStringLiteral("volume"), this, refresh);
    refresh();
}

void VideoEditAudioTab::updateAudioTrackVolumePopBtn()
{
    const QSignalBlocker blocker(m_audioTrackPopBtn);
    m_audioTrackPopBtn->clear();
    const IMovie::Ptr movie = m_sheet->movie();
    const qsizetype streams = movie ? movie->audioStreams().size() : 0;
    for (const auto& entry : AudioTrackChoice::createSubMenuWithStreamsArray(streams)) {
        m_audioTrackPopBtn->addItem(entry.title, entry.tag);
    }
    const auto clip = m_sheet->media();
    const qint64 tag = clip ? clip->audioTreamTag() : AudioTrackChoice::kAllTracksTag;
    m_audioTrackPopBtn->setCurrentIndex(m_audioTrackPopBtn->findData(tag));
    m_audioTrackPopBtn->setToolTip(tr("Track"));
}

void VideoEditAudioTab::submenuStreamsItemAction(qint64 tag)
{
    const auto clip = m_sheet->media();
    const IMovie::Ptr movie = m_sheet->movie();
    if (!clip || !movie || tag == clip->audioTreamTag()) {
        return;
    }
    if (const auto streams = AudioTrackChoice::selectionForTag(tag, movie->audioStreams().size())) {
        movie->setSelectAudioStreams(*streams);
    }
    m_sheet->seek(m_sheet->playerProgressBarView()->currentTime());
    clip->setAudioTreamTag(tag);
}

void VideoEditAudioTab::changeVolumeUseSlider(int percent)
{
    applyVolume(static_cast<float>(percent) / 100.0f);
}

void VideoEditAudioTab::changeVolumeUseField()
{
    applyVolume(AudioTrackChoice::volumeFromPercentText(m_volumeField->text()));
}

void VideoEditAudioTab::applyVolume(float volume)
{
    m_sheet->setVolume(volume);
    if (const IMovie::Ptr movie = m_sheet->movie()) {
        movie->setVolume(m_sheet->volume());
    }
}
