#include "dialogs/BackgroundMusicWindowController.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "common/CommonFunction.h"
#include "dialogs/BgMusicProgressView.h"
#include "lumenta/LMMediaTime.h"
#include "media/MoviePlayer.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "model/MusicData.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/IMenuEditViewController.h"

namespace {

const char* const kNoAudio = "No Audio";

QStringList fadeTitles()
{
    return {"None", "1 s", "2 s", "3 s", "4 s", "5 s"};
}

}  // namespace

BackgroundMusicWindowController::BackgroundMusicWindowController(IDocumentHost* host,
                                                                 QWidget* parent)
    : QDialog(parent), m_host(host), m_player(new MoviePlayer(this)), m_musicPath(kNoAudio)
{
    setWindowTitle(tr("Background Music"));
    setWindowModality(Qt::WindowModal);
    m_player->setDelegate(this);
    m_player->setIsPreview(true);
    buildWindow();
    connect(this, &QDialog::finished, this, [this] { windowWillClose(); });
    resetAllMusicInfomation();
}

BackgroundMusicWindowController::~BackgroundMusicWindowController()
{
    m_player->setDelegate(nullptr);
    m_player->stop();
}

void BackgroundMusicWindowController::buildWindow()
{
    setAutoFillBackground(true);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, QColor(58, 56, 54));
    panel.setColor(QPalette::WindowText, Qt::white);
    setPalette(panel);

    auto* chooseButton = new QPushButton(tr("Choose Music..."), this);
    m_pathLabel = new QLabel(this);
    m_pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progressView = new BgMusicProgressView(this);
    m_playButton = new QPushButton(this);
    m_timeLabel = new QLabel(this);
    m_fadeInButton = new QComboBox(this);
    m_fadeOutButton = new QComboBox(this);
    m_fadeInButton->addItems(fadeTitles());
    m_fadeOutButton->addItems(fadeTitles());
    m_clearButton = new QPushButton(tr("Clear"), this);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    auto* allButton = new QPushButton(tr("Apply to All"), this);
    auto* applyButton = new QPushButton(tr("Apply"), this);
    applyButton->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(chooseButton);
    top->addWidget(m_pathLabel, 1);
    auto* play = new QHBoxLayout;
    play->addWidget(m_playButton);
    play->addWidget(m_progressView, 1);
    play->addWidget(m_timeLabel);
    auto* fades = new QGridLayout;
    fades->addWidget(new QLabel(tr("Fade In:"), this), 0, 0);
    fades->addWidget(m_fadeInButton, 0, 1);
    fades->addWidget(new QLabel(tr("Fade Out:"), this), 0, 2);
    fades->addWidget(m_fadeOutButton, 0, 3);
    fades->setColumnStretch(4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_clearButton);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(allButton);
    buttons->addWidget(applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(play);
    layout->addLayout(fades);
    layout->addLayout(buttons);
    resize(560, 200);

    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseMusicAction(); });
    connect(m_playButton, &QPushButton::clicked, this, [this] { playOrPauseAction(); });
    connect(m_clearButton, &QPushButton::clicked, this, [this] { clearButtonAction(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelAction(); });
    connect(allButton, &QPushButton::clicked, this, [this] { applyToAllAction(); });
    connect(applyButton, &QPushButton::clicked, this, [this] { applyAction(); });
    connect(m_fadeInButton, &QComboBox::activated, this, [this](int i) { fadeInChanged(i); });
    connect(m_fadeOutButton, &QComboBox::activated, this, [this](int i) { fadeOutChanged(i); });
    connect(m_progressView, &BgMusicProgressView::seekRequested, this,
            [this](qint64 time) { seek(time); });
}

std::shared_ptr<DVDPage> BackgroundMusicWindowController::currentMenu() const
{
    auto* menuEditor = m_host ? m_host->menuEditController() : nullptr;
    return menuEditor ? menuEditor->currentMenu() : nullptr;
}

void BackgroundMusicWindowController::showWindowInModel()
{
    flushSettingWithImportedPage(currentMenu());
    open();
}

int BackgroundMusicWindowController::fadeIndexForTime(qint64 fade)
{
    const qint64 seconds = fade / lm_default_time_base();
    return int(std::clamp<qint64>(seconds, 0, 5));
}

void BackgroundMusicWindowController::flushSettingWithImportedPage(
    const std::shared_ptr<DVDPage>& page)
{
    m_player->stop();
    const auto pageMusic = page ? page->music() : nullptr;
    if (!pageMusic) {
        resetAllMusicInfomation();
        return;
    }
    const auto source = pageMusic->fileSource();
    auto copy = source ? MusicData::musicDataWithPath(source->path()) : nullptr;
    const auto pageItem = pageMusic->vcmovie();
    if (!copy || !copy->vcmovie() || !pageItem) {
        // The page keeps its music on Apply: say which file is missing
        // rather than "No Audio".
        resetAllMusicInfomation();
        m_keepPageMusic = true;
        const QString path = source ? source->path() : QString();
        m_musicPath = path.isEmpty() ? tr("The music file is missing.")
                                     : tr("The music file is missing: %1").arg(path);
        refreshControls();
        return;
    }
    const auto item = copy->vcmovie();
    item->setTrimStart(pageItem->trimStart());
    item->setTrimStop(pageItem->trimStop());
    item->setFadeIn(pageItem->fadeIn());
    item->setFadeOut(pageItem->fadeOut());
    m_keepPageMusic = false;
    m_musicData = copy;
    m_musicPath = source->path();
    m_player->setVcMovie(item);
    m_player->seek(item->trimStart());
    m_progressView->setTrimItem(item);
    refreshControls();
    {
        const QSignalBlocker blockIn(m_fadeInButton);
        const QSignalBlocker blockOut(m_fadeOutButton);
        m_fadeInButton->setCurrentIndex(fadeIndexForTime(item->fadeIn()));
        m_fadeOutButton->setCurrentIndex(fadeIndexForTime(item->fadeOut()));
    }
    flushPlayerProgress();
}

void BackgroundMusicWindowController::resetAllMusicInfomation()
{
    m_musicPath = kNoAudio;
    m_musicData.reset();
    m_keepPageMusic = false;
    m_player->seek(0);
    m_player->setVcMovie(nullptr);
    m_progressView->setTrimItem(nullptr);
    m_progressView->setCurrentTime(0);
    {
        const QSignalBlocker blockIn(m_fadeInButton);
        const QSignalBlocker blockOut(m_fadeOutButton);
        m_fadeInButton->setCurrentIndex(kDefaultFadeIndex);
        m_fadeOutButton->setCurrentIndex(kDefaultFadeIndex);
    }
    refreshControls();
}

void BackgroundMusicWindowController::chooseMusicAction()
{
    m_player->stop();
    auto* panel = new QFileDialog(this, tr("Choose Music"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this,
            [this](const QString& path) { createMusicDataWithPath(path); });
    panel->open();
}

bool BackgroundMusicWindowController::createMusicDataWithPath(const QString& path)
{
    auto music = MusicData::musicDataWithPath(path);
    const auto item = music ? music->vcmovie() : nullptr;
    const auto movie = item ? item->movie() : nullptr;
    if (!movie || !movie->hasAudio()) {
        return false;
    }
    if (lm_ff_time_to_double(movie->duration()) < kMinimumSeconds) {
        return false;
    }
    const qint64 base = lm_default_time_base();
    item->setTrimStart(0);
    item->setTrimStop(movie->duration());
    item->setFadeIn(fadeInIndex() * base);
    item->setFadeOut(fadeOutIndex() * base);
    takeMusic(music);
    m_musicPath = path;
    refreshControls();
    return true;
}

void BackgroundMusicWindowController::takeMusic(const std::shared_ptr<MusicData>& music)
{
    m_keepPageMusic = false;
    m_musicData = music;
    m_player->setVcMovie(music->vcmovie());
    m_player->seek(0);
    m_progressView->setTrimItem(music->vcmovie());
    m_progressView->setCurrentTime(0);
    flushPlayerProgress();
}

int BackgroundMusicWindowController::fadeInIndex() const
{
    return m_fadeInButton->currentIndex();
}

int BackgroundMusicWindowController::fadeOutIndex() const
{
    return m_fadeOutButton->currentIndex();
}

void BackgroundMusicWindowController::fadeInChanged(int index)
{
    if (m_fadeInButton->currentIndex() != index) {
        const QSignalBlocker block(m_fadeInButton);
        m_fadeInButton->setCurrentIndex(index);
    }
    if (m_musicData && m_musicData->vcmovie()) {
        m_musicData->vcmovie()->setFadeIn(index * lm_default_time_base());
    }
}

void BackgroundMusicWindowController::fadeOutChanged(int index)
{
    if (m_fadeOutButton->currentIndex() != index) {
        const QSignalBlocker block(m_fadeOutButton);
        m_fadeOutButton->setCurrentIndex(index);
    }
    if (m_musicData && m_musicData->vcmovie()) {
        m_musicData->vcmovie()->setFadeOut(index * lm_default_time_base());
    }
}

void BackgroundMusicWindowController::playOrPauseAction()
{
    if (!m_musicData) {
        return;
    }
    if (m_player->isPlay()) {
        m_player->pause();
    } else {
        m_player->play();
    }
    refreshControls();
}

void BackgroundMusicWindowController::clearButtonAction()
{
    m_player->stop();
    resetAllMusicInfomation();
}

void BackgroundMusicWindowController::writeMusicToPage(const std::shared_ptr<DVDPage>& page,
                                                       bool useMusicLength) const
{
    if (!page || m_keepPageMusic) {
        return;
    }
    page->setMusic(m_musicData);
    if (m_musicData && useMusicLength) {
        page->setMenuDuration(m_musicData->musicDuration());
    }
}

void BackgroundMusicWindowController::applyAction()
{
    const auto disc = m_host ? m_host->dvd() : nullptr;
    writeMusicToPage(currentMenu(), disc && disc->useBackMusicLengthAsPageDuration());
    if (m_host) {
        m_host->changeCapacityValue();
    }
    accept();
}

void BackgroundMusicWindowController::applyToAllAction()
{
    const auto disc = m_host ? m_host->dvd() : nullptr;
    if (disc) {
        for (const auto& page : disc->pageArray()) {
            writeMusicToPage(page, disc->useBackMusicLengthAsPageDuration());
        }
    }
    if (m_host) {
        m_host->changeCapacityValue();
    }
    accept();
}

void BackgroundMusicWindowController::seek(qint64 time)
{
    m_player->seek(time);
}

void BackgroundMusicWindowController::imageDidFlushInPlayer(MoviePlayer*)
{
    flushPlayerProgress();
    refreshControls();
}

void BackgroundMusicWindowController::flushPlayerProgress()
{
    if (!m_musicData) {
        return;
    }
    m_progressView->setCurrentTime(std::min(m_player->currentTime(), m_player->duration()));
}

QString BackgroundMusicWindowController::playTimeStr() const
{
    if (!m_musicData) {
        return QStringLiteral("00:00:00/00:00:00");
    }
    const auto current = float(lm_ff_time_to_double(m_progressView->currentTime()));
    const auto full = float(lm_ff_time_to_double(m_progressView->duration()));
    return CommonFunction::timeStrFromSecond(current) + "/" +
           CommonFunction::timeStrFromSecond(full);
}

QColor BackgroundMusicWindowController::playTimeColor() const
{
    return m_musicData ? QColor(Qt::white) : QColor(Qt::gray);
}

void BackgroundMusicWindowController::refreshControls()
{
    const bool playing = m_musicData && m_player->isPlay();
    m_pathLabel->setText(m_musicPath);
    m_timeLabel->setText(playTimeStr());
    QPalette timePalette = m_timeLabel->palette();
    timePalette.setColor(QPalette::WindowText, playTimeColor());
    m_timeLabel->setPalette(timePalette);
    m_playButton->setText(playing ? tr("Pause") : tr("Play"));
    m_playButton->setToolTip(playing ? tr("Pause") : tr("Play"));
    m_playButton->setEnabled(hasMusicData());
    m_progressView->setEnabled(hasMusicData());
}

void BackgroundMusicWindowController::windowWillClose()
{
    m_player->stop();
    refreshControls();
    if (m_host) {
        m_host->setDocumentEdited(true);
    }
}
