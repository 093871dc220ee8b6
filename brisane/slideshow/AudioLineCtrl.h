#pragma once
// The slideshow music window: a strip of music rows the user fills from an
// open panel ("Add Audio") or by dropping files, reorders by dragging a row,
// empties with Delete, and uses to trim, fade and listen through one preview
// player. The slideshow editor loads the list, runs the window (exec, which
// returns when it closes) and takes the list back. Trims and fades change the
// shared items in place; the list itself is a new one after every change.
// Closing the window always stops the music. Main thread.

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "media/MoviePlayerDelegate.h"
#include "slideshow/AudioEditItemView.h"
#include "slideshow/core/IAudioLineCtrl.h"

class AudioEditView;
class MoviePlayer;
class QScrollArea;

class AudioLineCtrl : public QObject, public IAudioLineCtrl, public MoviePlayerDelegate {
    Q_OBJECT
public:
    using RowFactory = std::function<AudioEditItemView*(AudioLineCtrl* line, QWidget* strip)>;

    explicit AudioLineCtrl(QObject* parent = nullptr);
    ~AudioLineCtrl() override;

    // IAudioLineCtrl
    void setWndSheetedWindow(QWidget* window) override;
    void loadViewWithItems(const Items& items) override;
    void openEditWindow() override;
    Items getAudioItems() const override { return m_audioItems; }

    QDialog* window() const { return m_window; }
    AudioEditView* audioEditView() const { return m_audioEditView; }
    MoviePlayer* audioPlayer() const { return m_audioPlayer.get(); }
    AudioEditItemView* currentPlayView() const { return m_currentPlayView; }
    // Makes every row; the default makes a plain AudioEditItemView.
    void setRowFactory(RowFactory factory) { m_rowFactory = std::move(factory); }

    // The done button; closing by any road stops the music.
    void audioEditDone();
    // The add button: an open panel as a sheet on the music window.
    void addAudio();
    void importAudioPath(const QString& path);
    Items mediaItemsWithPaths(const QStringList& paths) const;
    void dragAudioPaths(const QStringList& paths, int position);
    void addAudioItemToList(const std::shared_ptr<MediaItem>& item);
    void insertAudioItems(const Items& items, int position);
    void deleteAudioItemFromList(const std::shared_ptr<MediaItem>& item);
    void moveItemAt(int from, int to);

    AudioEditItemView* getItemViewForItem(const std::shared_ptr<MediaItem>& item) const;
    void loadAudioItemsToView();
    void layoutAudioItemViews();
    MoviePlayer* getPlayerForItem(const std::shared_ptr<MediaItem>& item) const;
    // Loads the row's music into the player (null clears it), paused.
    void playAudioItem(AudioEditItemView* row);

    void imageDidFlushInPlayer(MoviePlayer* player) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow(QWidget* parent);
    void windowWillClose();

    Items m_audioItems;
    QPointer<QDialog> m_window;
    QScrollArea* m_scroll = nullptr;
    AudioEditView* m_audioEditView = nullptr;
    std::unique_ptr<MoviePlayer> m_audioPlayer;
    QPointer<AudioEditItemView> m_currentPlayView;
    RowFactory m_rowFactory;
};
