#pragma once
// The page music sheet: choose an audio file, trim it on the bar, choose a
// fade-in and fade-out of 0 to 5 whole seconds, listen to the trimmed part
// with its fades, and give the music to the current page (Apply) or to every
// page (Apply to all). Clear empties the dialog; the page loses its music
// only on Apply. The dialog edits a copy of the page's music: nothing reaches
// a page before Apply. With the disc's music-length setting on, applying
// music also sets each page's duration to the trimmed length.
//
// Files without audio or shorter than 0.5 seconds are refused silently. A
// page whose music file can no longer be opened shows "No Audio" but keeps
// its music through Apply unless the user chooses a file or presses Clear.
// Closing, whatever closes it, stops the preview and marks the document
// edited. Main thread only.

#include <QDialog>
#include <memory>

#include "media/MoviePlayerDelegate.h"
#include "shell/core/IBackgroundMusicWindowController.h"

class IDocumentHost;
class BgMusicProgressView;
class DVDPage;
class MoviePlayer;
class MusicData;
class QComboBox;
class QLabel;
class QPushButton;

class BackgroundMusicWindowController : public QDialog,
                                        public IBackgroundMusicWindowController,
                                        public MoviePlayerDelegate {
    Q_OBJECT
public:
    static constexpr double kMinimumSeconds = 0.5;
    static constexpr int kDefaultFadeIndex = 3;

    // A sheet on `parent` for the open project of `host` (not owned,
    // outliving the dialog; null: no project, no main window), whose menu
    // editor gives the page.
    explicit BackgroundMusicWindowController(IDocumentHost* host, QWidget* parent = nullptr);
    ~BackgroundMusicWindowController() override;

    QWidget* window() override { return this; }
    void showWindowInModel() override;

    std::shared_ptr<DVDPage> currentMenu() const;
    void flushSettingWithImportedPage(const std::shared_ptr<DVDPage>& page);
    // Takes the file when it has audio of at least 0.5 s; answers whether it
    // did. The trims cover the whole file, the fades follow the pop-ups.
    bool createMusicDataWithPath(const QString& path);
    void chooseMusicAction();
    void fadeInChanged(int index);
    void fadeOutChanged(int index);
    void playOrPauseAction();
    void clearButtonAction();
    void applyAction();
    void applyToAllAction();
    void cancelAction() { reject(); }
    void seek(qint64 time);
    void imageDidFlushInPlayer(MoviePlayer* player) override;

    std::shared_ptr<MusicData> musicData() const { return m_musicData; }
    bool hasMusicData() const { return m_musicData != nullptr; }
    QString musicPath() const { return m_musicPath; }
    QString playTimeStr() const;
    QColor playTimeColor() const;
    int fadeInIndex() const;
    int fadeOutIndex() const;
    BgMusicProgressView* progressView() const { return m_progressView; }
    MoviePlayer* player() const { return m_player; }
    // A fade length as its pop-up item: whole seconds, truncated, 0 .. 5.
    static int fadeIndexForTime(qint64 fade);

private:
    void buildWindow();
    void resetAllMusicInfomation();
    void takeMusic(const std::shared_ptr<MusicData>& music);
    void writeMusicToPage(const std::shared_ptr<DVDPage>& page, bool useMusicLength) const;
    void flushPlayerProgress();
    void refreshControls();
    void windowWillClose();

    IDocumentHost* const m_host;
    MoviePlayer* m_player = nullptr;
    std::shared_ptr<MusicData> m_musicData;
    // The page's music could not be reopened and nothing replaced it yet.
    bool m_keepPageMusic = false;
    QString m_musicPath;
    QLabel* m_pathLabel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    QComboBox* m_fadeInButton = nullptr;
    QComboBox* m_fadeOutButton = nullptr;
    BgMusicProgressView* m_progressView = nullptr;
};
