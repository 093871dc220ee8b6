#pragma once
// The preview window: plays a disc model with working menus. It shows the
// picture with the button under the mouse lit, a seek bar, the elapsed and
// remaining time, play/pause, previous and next chapter, a button back to
// the menu and one that closes the window.
//
// playDVD() hides the modal window (the main window) and starts the disc
// from its beginning; closing the preview pauses and clears the player and
// shows the modal window again. The controller owns its window and its
// DVDPlayer; one controller serves every preview of the main window.
//
// Main thread only.

#include <QObject>
#include <QPointer>
#include <memory>

#include "lumenta/LMMediaTime.h"
#include "media/MoviePlayerDelegate.h"

class DVDLibrary;
class DVDPlayer;
class PreviewDisplayView;
class PreviewDVDProgressView;
class QLabel;
class QMainWindow;
class QPushButton;
class QWidget;

class DVDPlayCtrl : public QObject, public MoviePlayerDelegate {
    Q_OBJECT
public:
    static constexpr int WideWidth = 854;
    static constexpr int NarrowWidth = 640;

    explicit DVDPlayCtrl(QObject* parent = nullptr);
    ~DVDPlayCtrl() override;

    static QString windowNibName() { return QStringLiteral("DVDPlayCtrl"); }

    QMainWindow* window() const { return m_window.get(); }
    DVDPlayer* player() const { return m_player; }
    PreviewDisplayView* playerView() const { return m_playerView; }
    PreviewDVDProgressView* progressView() const { return m_progressView; }
    QLabel* playerPlayTime() const { return m_playerPlayTime; }
    QLabel* playerLeftTime() const { return m_playerLeftTime; }
    QPushButton* playPauseButton() const { return m_playPauseButton; }
    QPushButton* prevButton() const { return m_prevButton; }
    QPushButton* nextButton() const { return m_nextButton; }
    QPushButton* menuButton() const { return m_menuButton; }
    QPushButton* closeButton() const { return m_closeButton; }

    // The window hidden while the preview shows.
    QWidget* modalWindow() const { return m_modalWindow; }
    void setModalWindow(QWidget* window) { m_modalWindow = window; }

    // Hides the modal window and plays `dvd` from its start in a window 854
    // (16:9) or 640 (4:3) points wide. Nothing for a null disc.
    void playDVD(const std::shared_ptr<DVDLibrary>& dvd);

    void nextChapter();
    void prevChapter();
    void playOrPause();
    void showDVDMenu();
    void closeDVD();
    // The chapter buttons stay enabled; the player ignores a step past
    // either end.
    bool nextChapterEnable() const { return true; }
    bool prevChapterEnable() const { return true; }

    // --- MoviePlayerDelegate ---
    void imageDidFlushInPlayer(MoviePlayer* player) override;

    // Media time as "hh:mm:ss", rounded to the nearest second.
    static QString timeStrFromFFTime(LMMediaTime time);
    QImage playPauseButtonImage() const;
    // The window is closing: pause, clear the player, show the modal window.
    void windowWillClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowDidLoad();
    QWidget* buildControlBar();
    QPushButton* makeButton(const QString& text, void (DVDPlayCtrl::*action)());

    std::unique_ptr<QMainWindow> m_window;
    DVDPlayer* m_player = nullptr;
    QPointer<QWidget> m_modalWindow;
    PreviewDisplayView* m_playerView = nullptr;
    PreviewDVDProgressView* m_progressView = nullptr;
    QLabel* m_playerPlayTime = nullptr;
    QLabel* m_playerLeftTime = nullptr;
    QPushButton* m_playPauseButton = nullptr;
    QPushButton* m_prevButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_menuButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
