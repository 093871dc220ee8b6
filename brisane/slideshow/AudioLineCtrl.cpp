#include "slideshow/AudioLineCtrl.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "common/MainThread.h"
#include "media/MediaItem.h"
#include "media/MoviePlayer.h"
#include "media/VCMovie.h"
#include "slideshow/AudioEditBgView.h"
#include "slideshow/AudioEditItemView.h"
#include "slideshow/AudioEditView.h"
#include "slideshow/core/AudioLineLayout.h"

AudioLineCtrl::AudioLineCtrl(QObject* parent)
    : QObject(parent), m_audioPlayer(std::make_unique<MoviePlayer>())
{
    m_audioPlayer->setDelegate(this);
    m_rowFactory = [](AudioLineCtrl* line, QWidget* strip) {
        return new AudioEditItemView(line, strip);
    };
    buildWindow(nullptr);
}

AudioLineCtrl::~AudioLineCtrl()
{
    m_audioPlayer->setDelegate(nullptr);
    playAudioItem(nullptr);
    delete m_window;
}

void AudioLineCtrl::buildWindow(QWidget* parent)
{
    m_window = new QDialog(parent);
    m_window->setWindowTitle(tr("Slideshow Music"));
    m_window->setWindowModality(Qt::WindowModal);
    m_window->resize(3 * AudioLineLayout::RowPitch + 2 * AudioLineLayout::RowMargin + 20, 260);
    m_window->installEventFilter(this);
    auto* back = new AudioEditBgView(m_window);
    auto* outer = new QVBoxLayout(m_window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(back);
    auto* column = new QVBoxLayout(back);

    m_audioEditView = new AudioEditView;
    m_audioEditView->setDelegate(this);
    m_audioEditView->resize(AudioLineLayout::stripWidth(0, 0),
                            AudioLineLayout::RowHeight + 2 * AudioLineLayout::RowMargin);
    m_scroll = new QScrollArea(back);
    m_scroll->setWidget(m_audioEditView);
    m_scroll->setWidgetResizable(false);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_audioEditView->setAutoFillBackground(false);
    m_scroll->setFixedHeight(m_audioEditView->height() + 18);
    column->addWidget(m_scroll);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(tr("Add Audio..."), back);
    auto* done = new QPushButton(tr("Done"), back);
    done->setDefault(true);
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(done);
    column->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &AudioLineCtrl::addAudio);
    connect(done, &QPushButton::clicked, this, &AudioLineCtrl::audioEditDone);
    connect(m_window, &QDialog::finished, this, [this] { windowWillClose(); });
}

void AudioLineCtrl::setWndSheetedWindow(QWidget* window)
{
    if (m_window && window) {
        m_window->setParent(window, m_window->windowFlags() | Qt::Dialog);
    }
}

bool AudioLineCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Resize) {
        layoutAudioItemViews();
    }
    return QObject::eventFilter(watched, event);
}

void AudioLineCtrl::openEditWindow()
{
    loadAudioItemsToView();
    // Three rows wide, but never wider than the window it belongs to: the
    // strip scrolls.
    int width = 3 * AudioLineLayout::RowPitch + 2 * AudioLineLayout::RowMargin + 20;
    if (const QWidget* parent = m_window->parentWidget()) {
        width = std::min(width, parent->window()->width());
    }
    m_window->resize(width, m_window->height());
    m_window->exec();
}

void AudioLineCtrl::audioEditDone()
{
    m_window->accept();
}

void AudioLineCtrl::windowWillClose()
{
    playAudioItem(nullptr);
}

void AudioLineCtrl::loadViewWithItems(const Items& items)
{
    playAudioItem(nullptr);
    m_audioItems.clear();
    for (const auto& item : items) {
        addAudioItemToList(item);
    }
    loadAudioItemsToView();
}

void AudioLineCtrl::addAudio()
{
    auto* panel = new QFileDialog(m_window, tr("Add Audio"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setFileMode(QFileDialog::ExistingFiles);
    panel->setLabelText(QFileDialog::Accept, tr("Add Audio"));
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::filesSelected, this, [this](const QStringList& paths) {
        for (const QString& path : paths) {
            importAudioPath(path);
        }
    });
    panel->open();
}

void AudioLineCtrl::importAudioPath(const QString& path)
{
    if (auto item = MediaItem::itemWithPath(path)) {
        addAudioItemToList(item);
        loadAudioItemsToView();
    }
}

IAudioLineCtrl::Items AudioLineCtrl::mediaItemsWithPaths(const QStringList& paths) const
{
    Items items;
    for (const QString& path : paths) {
        if (auto item = MediaItem::itemWithPath(path)) {
            items << item;
        }
    }
    return items;
}

void AudioLineCtrl::dragAudioPaths(const QStringList& paths, int position)
{
    insertAudioItems(mediaItemsWithPaths(paths), position);
    loadAudioItemsToView();
}

void AudioLineCtrl::addAudioItemToList(const std::shared_ptr<MediaItem>& item)
{
    insertAudioItems({item}, int(m_audioItems.size()));
}

void AudioLineCtrl::insertAudioItems(const Items& items, int position)
{
    m_audioItems = AudioLineLayout::inserted(m_audioItems, items, position);
}

void AudioLineCtrl::deleteAudioItemFromList(const std::shared_ptr<MediaItem>& item)
{
    if (getPlayerForItem(item)) {
        playAudioItem(nullptr);
    }
    Items list = m_audioItems;
    list.removeAll(item);
    m_audioItems = list;
}

void AudioLineCtrl::moveItemAt(int from, int to)
{
    const auto count = m_audioItems.size();
    if (from < 0 || from >= count || to < 0 || to >= count) {
        return;
    }
    m_audioItems = AudioLineLayout::moved(m_audioItems, from, to);
    loadAudioItemsToView();
}

AudioEditItemView* AudioLineCtrl::getItemViewForItem(const std::shared_ptr<MediaItem>& item) const
{
    AudioEditItemView* found = nullptr;
    for (AudioEditItemView* row : m_audioEditView->rows()) {
        if (row->audioItem() == item) {
            found = row;
        }
    }
    return found;
}

void AudioLineCtrl::loadAudioItemsToView()
{
    if (QThread::currentThread() != thread()) {
        MainThread::call([this] { loadAudioItemsToView(); });
        return;
    }
    QList<AudioEditItemView*> kept;
    for (const auto& item : m_audioItems) {
        AudioEditItemView* row = getItemViewForItem(item);
        if (!row || kept.contains(row)) {
            row = m_rowFactory(this, m_audioEditView);
            row->setAudioItem(item);
        }
        row->updateItemViewControl();
        row->updatePlayerProgressDisplay();
        row->show();
        row->raise();  // child order becomes list order
        kept << row;
    }
    for (AudioEditItemView* row : m_audioEditView->rows()) {
        if (!kept.contains(row)) {
            if (row == m_currentPlayView) {
                playAudioItem(nullptr);
            }
            row->hide();
            row->setParent(nullptr);
            row->deleteLater();
        }
    }
    m_audioEditView->updateSelectedViews();
    layoutAudioItemViews();
}

void AudioLineCtrl::layoutAudioItemViews()
{
    const auto rows = m_audioEditView->rows();
    const int visible = m_scroll ? m_scroll->viewport()->width() : 0;
    m_audioEditView->resize(AudioLineLayout::stripWidth(int(rows.size()), visible),
                            m_audioEditView->height());
    for (int i = 0; i < rows.size(); ++i) {
        rows.at(i)->setGeometry(AudioLineLayout::rowRect(i, m_audioEditView->height()).toRect());
    }
}

MoviePlayer* AudioLineCtrl::getPlayerForItem(const std::shared_ptr<MediaItem>& item) const
{
    if (!item || !m_audioPlayer->vcMovie()) {
        return nullptr;
    }
    return m_audioPlayer->vcMovie() == item->getVcMovie() ? m_audioPlayer.get() : nullptr;
}

void AudioLineCtrl::playAudioItem(AudioEditItemView* row)
{
    m_audioPlayer->pause();
    const auto item = row ? row->audioItem() : nullptr;
    m_audioPlayer->setVcMovie(item ? item->getVcMovie() : nullptr);
    QPointer<AudioEditItemView> previous = m_currentPlayView;
    m_currentPlayView = row;
    if (previous && previous != row) {
        previous->updatePlayerProgressDisplay();
    }
    if (row) {
        row->updatePlayerProgressDisplay();
    } else {
        m_audioPlayer->clearPlayer();
    }
}

void AudioLineCtrl::imageDidFlushInPlayer(MoviePlayer* player)
{
    if (player == m_audioPlayer.get() && m_currentPlayView) {
        m_currentPlayView->imageDidFlushInPlayer(player);
    }
}
