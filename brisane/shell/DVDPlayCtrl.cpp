#include "shell/DVDPlayCtrl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "common/NamedImage.h"
#include "corvane/DVDLibrary.h"
#include "production/DVDPlayer.h"
#include "shell/PreviewDVDBottomView.h"
#include "shell/PreviewDVDProgressView.h"
#include "shell/PreviewDisplayView.h"
#include "shell/ThemeExtention.h"
#include "shell/WndTitleBackView.h"

DVDPlayCtrl::DVDPlayCtrl(QObject* parent) : QObject(parent)
{
    windowDidLoad();
}

DVDPlayCtrl::~DVDPlayCtrl()
{
    // No frame may reach the views while they go.
    m_player->setDelegate(nullptr);
    m_player->timer()->stop();
    m_player->pause();
    m_playerView->setPlayer(nullptr);
    m_progressView->setPlayer(nullptr);
}

void DVDPlayCtrl::windowDidLoad()
{
    m_window = std::make_unique<QMainWindow>();
    m_window->setObjectName(windowNibName());
    m_window->setWindowTitle(QStringLiteral("Preview"));
    m_window->setMinimumSize(320, 300);
    m_window->installEventFilter(this);

    m_player = new DVDPlayer(this);
    m_player->setDelegate(this);
    m_player->setIsPreview(true);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_playerView = new PreviewDisplayView;
    m_playerView->setPlayer(m_player);
    m_playerView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(m_playerView, 1);
    layout->addWidget(buildControlBar());
    m_window->setCentralWidget(central);
    ThemeExtention::changeTitleBarTheme(m_window.get(), new WndTitleBackView);
    m_window->resize(NarrowWidth, 480 + 90);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), m_window.get());
    connect(close, &QShortcut::activated, this, &DVDPlayCtrl::closeDVD);
    auto* toggle = new QShortcut(QKeySequence(Qt::Key_Space), m_window.get());
    connect(toggle, &QShortcut::activated, this, &DVDPlayCtrl::playOrPause);
}

QPushButton* DVDPlayCtrl::makeButton(const QString& text, void (DVDPlayCtrl::*action)())
{
    auto* button = new QPushButton(text);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, action);
    return button;
}

QWidget* DVDPlayCtrl::buildControlBar()
{
    auto* bar = new PreviewDVDBottomView;
    auto* column = new QVBoxLayout(bar);
    column->setContentsMargins(10, 6, 10, 8);
    column->setSpacing(4);

    m_progressView = new PreviewDVDProgressView;
    m_progressView->setPlayer(m_player);
    column->addWidget(m_progressView);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    m_playerPlayTime = new QLabel(timeStrFromFFTime(0));
    m_playerLeftTime = new QLabel(timeStrFromFFTime(0));
    for (QLabel* label : {m_playerPlayTime, m_playerLeftTime}) {
        label->setStyleSheet(QStringLiteral("color: rgb(204, 204, 204);"));
    }
    m_menuButton = makeButton(QStringLiteral("Menu"), &DVDPlayCtrl::showDVDMenu);
    m_prevButton = makeButton(QStringLiteral("Previous"), &DVDPlayCtrl::prevChapter);
    m_playPauseButton = makeButton(QString(), &DVDPlayCtrl::playOrPause);
    m_playPauseButton->setIcon(QIcon(QPixmap::fromImage(playPauseButtonImage())));
    m_playPauseButton->setIconSize(QSize(24, 24));
    m_playPauseButton->setFlat(true);
    m_playPauseButton->setToolTip(QStringLiteral("Play or pause"));
    m_nextButton = makeButton(QStringLiteral("Next"), &DVDPlayCtrl::nextChapter);
    m_closeButton = makeButton(QStringLiteral("Close"), &DVDPlayCtrl::closeDVD);

    row->addWidget(m_playerPlayTime);
    row->addStretch(1);
    row->addWidget(m_menuButton);
    row->addWidget(m_prevButton);
    row->addWidget(m_playPauseButton);
    row->addWidget(m_nextButton);
    row->addWidget(m_closeButton);
    row->addStretch(1);
    row->addWidget(m_playerLeftTime);
    column->addLayout(row);
    return bar;
}

// --- Playing ---

void DVDPlayCtrl::playDVD(const std::shared_ptr<DVDLibrary>& dvd)
{
    if (!dvd) {
        return;
    }
    if (m_modalWindow) {
        m_modalWindow->hide();
    }
    m_player->pause();
    m_player->setDvd(dvd);
    m_player->timer()->start();
    m_player->playDVDItem(nullptr);
    const int width = dvd->aspectType() != 0 ? WideWidth : NarrowWidth;
    m_window->resize(width, m_window->height());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void DVDPlayCtrl::nextChapter()
{
    m_player->playNext();
}

void DVDPlayCtrl::prevChapter()
{
    m_player->playPrevious();
}

void DVDPlayCtrl::playOrPause()
{
    if (m_player->isPlay()) {
        m_player->pause();
    } else {
        m_player->play();
    }
    m_playPauseButton->setIcon(QIcon(QPixmap::fromImage(playPauseButtonImage())));
}

void DVDPlayCtrl::showDVDMenu()
{
    m_player->playMenu();
}

void DVDPlayCtrl::closeDVD()
{
    m_window->close();
}

// --- Player delegate ---

void DVDPlayCtrl::imageDidFlushInPlayer(MoviePlayer*)
{
    m_playerView->update();
    m_progressView->update();
    const LMMediaTime now = m_player->currentTime();
    const LMMediaTime left = std::max<LMMediaTime>(m_player->duration() - now, 0);
    m_playerPlayTime->setText(timeStrFromFFTime(now));
    m_playerLeftTime->setText(timeStrFromFFTime(left));
    m_playPauseButton->setIcon(QIcon(QPixmap::fromImage(playPauseButtonImage())));
}

QString DVDPlayCtrl::timeStrFromFFTime(LMMediaTime time)
{
    const double seconds = static_cast<double>(std::max<LMMediaTime>(time, 0)) /
                           static_cast<double>(lm_default_time_base());
    const auto whole = static_cast<qint64>(seconds + 0.5);
    return QString::asprintf("%02lld:%02lld:%02lld", whole / 3600, (whole / 60) % 60, whole % 60);
}

QImage DVDPlayCtrl::playPauseButtonImage() const
{
    return NamedImage::imageNamed(m_player->isPlay() ? QStringLiteral("dvd-pause")
                                                     : QStringLiteral("dvd-play"));
}

// --- Closing ---

bool DVDPlayCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        windowWillClose();
    }
    return QObject::eventFilter(watched, event);
}

void DVDPlayCtrl::windowWillClose()
{
    // The timer stops before the disc goes, so no frame of it reaches a view.
    m_player->pause();
    m_player->timer()->stop();
    m_player->clearPlayer();
    m_playerView->update();
    if (QWidget* modal = m_modalWindow) {
        m_modalWindow = nullptr;
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}
