#pragma once
// One row of the slideshow music window: a card showing one music item with
// its name, trim bar, fade-in and fade-out pop-ups (item i = i seconds), a
// play button (the whole file) and a preview button (the kept range with
// its fades) and the play position. The row edits the item in place and
// plays through the line's one player, loading itself into it on demand.
// Main thread.

#include <QWidget>
#include <memory>

#include "lumenta/LMMediaTime.h"

class AudioLineCtrl;
class EditPlayerProgressView;
class MediaItem;
class MoviePlayer;
class QComboBox;
class QLabel;
class QToolButton;
class VCMovie;

class AudioEditItemView : public QWidget {
    Q_OBJECT
public:
    static constexpr int FadeItems = 11;  // 0 ... 10 s

    AudioEditItemView(AudioLineCtrl* line, QWidget* parent = nullptr);

    AudioLineCtrl* audioLineCtrl() const { return m_line; }
    std::shared_ptr<MediaItem> audioItem() const { return m_audioItem; }
    void setAudioItem(const std::shared_ptr<MediaItem>& item) { m_audioItem = item; }
    bool isSelected() const { return m_isSelected; }
    void setIsSelected(bool selected);

    // The line's player while this row's music is loaded in it, else null.
    MoviePlayer* player() const;
    std::shared_ptr<VCMovie> vcmovie() const;

    void updateItemViewControl();
    void updatePlayerProgressDisplay();
    void imageDidFlushInPlayer(MoviePlayer* player);

    // Trim bar reports: the kept range from the bar, then the play position.
    void trimSeek(qint64 time);
    void seek(double time);
    void seekPlayertime(LMMediaTime time);
    void updatePlayerAudioItem();

    // The buttons: start, pause or switch between whole-file and preview play.
    void playOrPauseButton();
    void audioPreviewButton();
    void changeAudioFadeIn();
    void changeAudioFadeOut();

    bool isPlayerPlay() const;
    bool isButtonPlay() const;
    bool isButtonPreview() const;
    QString playButtonImage() const;
    QString previewButtonImage() const;
    QString progressString() const;

    EditPlayerProgressView* audioTrimView() const { return m_audioTrimView; }
    QComboBox* fadeInButton() const { return m_fadeInButton; }
    QComboBox* fadeOutButton() const { return m_fadeOutButton; }
    QToolButton* playButton() const { return m_playButton; }
    QToolButton* previewButton() const { return m_previewButton; }
    QLabel* progressText() const { return m_progressText; }
    QLabel* nameText() const { return m_nameText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void startOrSwitch(bool preview);
    void updateButtonImages();

    AudioLineCtrl* m_line;
    std::shared_ptr<MediaItem> m_audioItem;
    bool m_isSelected = false;
    QLabel* m_nameText = nullptr;
    QLabel* m_progressText = nullptr;
    QComboBox* m_fadeInButton = nullptr;
    QComboBox* m_fadeOutButton = nullptr;
    QToolButton* m_playButton = nullptr;
    QToolButton* m_previewButton = nullptr;
    EditPlayerProgressView* m_audioTrimView = nullptr;
};
