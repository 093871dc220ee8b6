#include "slideshow/AudioEditItemView.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "common/NamedImage.h"
#include "media/MediaItem.h"
#include "media/MoviePlayer.h"
#include "media/VCMovie.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/EditPlayerProgressView.h"
#include "slideshow/core/AudioLineLayout.h"

namespace {

QLabel* caption(const QString& text, const QRect& frame, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(frame);
    label->setStyleSheet(QStringLiteral("color: rgb(204, 204, 204);"));
    return label;
}

QComboBox* fadeButton(const QRect& frame, QWidget* parent)
{
    auto* button = new QComboBox(parent);
    for (int i = 0; i < AudioEditItemView::FadeItems; ++i) {
        button->addItem(QStringLiteral("%1 s").arg(i));
    }
    button->setGeometry(frame);
    return button;
}

QToolButton* imageButton(const QRect& frame, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIconSize(QSize(22, 22));
    button->setGeometry(frame);
    return button;
}

}  // namespace

AudioEditItemView::AudioEditItemView(AudioLineCtrl* line, QWidget* parent)
    : QWidget(parent), m_line(line)
{
    resize(AudioLineLayout::RowWidth, AudioLineLayout::RowHeight);
    buildControls();
    updateButtonImages();
    m_progressText->setText(progressString());
}

void AudioEditItemView::buildControls()
{
    m_nameText = caption(QString(), QRect(100, 40, 230, 20), this);
    QFont font = m_nameText->font();
    font.setPointSize(11);
    m_nameText->setFont(font);
    caption(tr("Fade In"), QRect(100, 66, 50, 22), this);
    m_fadeInButton = fadeButton(QRect(148, 66, 62, 22), this);
    caption(tr("Fade Out"), QRect(216, 66, 56, 22), this);
    m_fadeOutButton = fadeButton(QRect(270, 66, 62, 22), this);
    m_playButton = imageButton(QRect(98, 12, 26, 26), this);
    m_previewButton = imageButton(QRect(126, 12, 26, 26), this);
    m_progressText = caption(QString(), QRect(160, 14, 120, 22), this);
    m_audioTrimView = new EditPlayerProgressView(this);
    m_audioTrimView->setGeometry(90, 96, 244, 22);

    connect(m_playButton, &QToolButton::clicked, this, [this] { playOrPauseButton(); });
    connect(m_previewButton, &QToolButton::clicked, this, [this] { audioPreviewButton(); });
    connect(m_fadeInButton, &QComboBox::activated, this, [this] { changeAudioFadeIn(); });
    connect(m_fadeOutButton, &QComboBox::activated, this, [this] { changeAudioFadeOut(); });
    m_audioTrimView->onTrimSeek = [this](qint64 time) { trimSeek(time); };
    m_audioTrimView->onSeek = [this](double time) { seek(time); };
}

void AudioEditItemView::setIsSelected(bool selected)
{
    m_isSelected = selected;
    update();
}

MoviePlayer* AudioEditItemView::player() const
{
    return m_line ? m_line->getPlayerForItem(m_audioItem) : nullptr;
}

std::shared_ptr<VCMovie> AudioEditItemView::vcmovie() const
{
    return m_audioItem ? m_audioItem->getVcMovie() : nullptr;
}

void AudioEditItemView::updateItemViewControl()
{
    const QSignalBlocker blockIn(m_fadeInButton);
    const QSignalBlocker blockOut(m_fadeOutButton);
    if (!m_audioItem) {
        return;
    }
    m_nameText->setText(m_audioItem->itemName());
    const auto movie = vcmovie();
    const auto media = movie ? movie->movie() : nullptr;
    m_audioTrimView->setDuration(media ? double(media->duration()) : 0.0);
    m_audioTrimView->setTrimLeft(double(m_audioItem->trimStart()));
    m_audioTrimView->setTrimRight(double(m_audioItem->trimStop()));
    m_fadeInButton->setCurrentIndex(
        AudioLineLayout::fadeIndex(m_audioItem->fadeIn(), m_fadeInButton->count()));
    m_fadeOutButton->setCurrentIndex(
        AudioLineLayout::fadeIndex(m_audioItem->fadeOut(), m_fadeOutButton->count()));
    m_audioTrimView->update();
}

void AudioEditItemView::changeAudioFadeIn()
{
    if (m_audioItem) {
        m_audioItem->setFadeIn(m_fadeInButton->currentIndex() * MediaItem::TimeBase);
    }
}

void AudioEditItemView::changeAudioFadeOut()
{
    if (m_audioItem) {
        m_audioItem->setFadeOut(m_fadeOutButton->currentIndex() * MediaItem::TimeBase);
    }
}

void AudioEditItemView::trimSeek(qint64 time)
{
    if (!m_audioItem) {
        return;
    }
    m_audioItem->setTrimStart(qint64(m_audioTrimView->trimLeft()));
    m_audioItem->setTrimStop(qint64(m_audioTrimView->trimRight()));
    seekPlayertime(time);
}

void AudioEditItemView::seek(double time)
{
    seekPlayertime(LMMediaTime(time));
}

void AudioEditItemView::seekPlayertime(LMMediaTime time)
{
    updatePlayerAudioItem();
    if (MoviePlayer* p = player()) {
        p->seek(time);
    }
    updatePlayerProgressDisplay();
}

void AudioEditItemView::updatePlayerAudioItem()
{
    if (!player() && m_line) {
        m_line->playAudioItem(this);
    }
}

void AudioEditItemView::startOrSwitch(bool preview)
{
    updatePlayerAudioItem();
    MoviePlayer* p = player();
    if (!p) {
        return;
    }
    if (preview ? isButtonPreview() : isButtonPlay()) {
        p->pause();
    } else if (p->isPlay()) {
        p->setIsPreview(preview);  // switches without stopping
    } else {
        p->setIsPreview(preview);
        p->play();
    }
    updatePlayerProgressDisplay();
}

void AudioEditItemView::playOrPauseButton()
{
    startOrSwitch(false);
}

void AudioEditItemView::audioPreviewButton()
{
    startOrSwitch(true);
}

bool AudioEditItemView::isPlayerPlay() const
{
    const MoviePlayer* p = player();
    return p && p->isPlay();
}

bool AudioEditItemView::isButtonPlay() const
{
    return isPlayerPlay() && !player()->isPreview();
}

bool AudioEditItemView::isButtonPreview() const
{
    return isPlayerPlay() && !isButtonPlay();
}

QString AudioEditItemView::playButtonImage() const
{
    return isButtonPlay() ? QStringLiteral("audio-edit-pause") : QStringLiteral("audio-edit-play");
}

QString AudioEditItemView::previewButtonImage() const
{
    return isButtonPreview() ? QStringLiteral("audio-edit-preview-pause")
                             : QStringLiteral("audio-edit-preview");
}

QString AudioEditItemView::progressString() const
{
    return AudioLineLayout::progressString(m_audioTrimView->currentTime(),
                                           m_audioTrimView->duration());
}

void AudioEditItemView::updateButtonImages()
{
    m_playButton->setIcon(QPixmap::fromImage(NamedImage::imageNamed(playButtonImage())));
    m_previewButton->setIcon(QPixmap::fromImage(NamedImage::imageNamed(previewButtonImage())));
}

void AudioEditItemView::updatePlayerProgressDisplay()
{
    const MoviePlayer* p = player();
    m_audioTrimView->setCurrentTime(p ? double(p->currentTime()) : 0.0);
    m_audioTrimView->update();
    m_progressText->setText(progressString());
    updateButtonImages();
}

void AudioEditItemView::imageDidFlushInPlayer(MoviePlayer*)
{
    updatePlayerProgressDisplay();
}

void AudioEditItemView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    // A soft black shadow under the card, then the card and its dark rim.
    for (int i = 3; i > 0; --i) {
        QPainterPath shadow;
        shadow.addRoundedRect(bounds.adjusted(5 - i, 5 - i, i - 5, i - 5), 3 + i, 3 + i);
        painter.fillPath(shadow, QColor(0, 0, 0, 40));
    }
    QPainterPath card;
    card.addRoundedRect(bounds.adjusted(5, 5, -5, -5), 3, 3);
    painter.fillPath(card, QColor::fromRgbF(0.18f, 0.18f, 0.18f));
    QPainterPath rim;
    rim.addRoundedRect(bounds.adjusted(4.5, 4.5, -4.5, -4.5), 3, 3);
    painter.setPen(QPen(QColor::fromRgbF(0.03f, 0.03f, 0.03f), 1));
    painter.drawPath(rim);
    if (m_isSelected) {
        const QColor yellow(255, 228, 10);
        QPainterPath frame;
        frame.addRoundedRect(bounds.adjusted(6, 6, -6, -6), 3, 3);
        QColor fill = yellow;
        fill.setAlphaF(0.15f);
        painter.fillPath(frame, fill);
        painter.setPen(QPen(yellow, 3));
        painter.drawPath(frame);
    }
    const QImage music = NamedImage::imageNamed(QStringLiteral("BackMusic.png"));
    if (!music.isNull()) {
        painter.drawImage(QRectF(10, (height() - 70) / 2.0, 70, 70), music);
    }
}
