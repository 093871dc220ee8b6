#pragma once
// The video edit sheet's audio page: which audio stream of the clip's source
// plays and goes to the disc, and the clip's volume.
//
// The track pop-up (tooltip "Track") lists AudioTrackChoice's menu for the
// open clip's movie and shows the clip's stored tag (MediaData::
// audioTreamTag). Choosing another entry selects its stream on the movie,
// seeks the player to the timeline's position so the new stream is heard at
// once, and stores the tag; choosing the entry already chosen does nothing.
//
// The volume slider (0 to 300) and the percent field both set the sheet's
// volume and hand it to the movie; a typed value is held to 0 % .. 300 %.
// Both controls are bound to the sheet's "volume" key; refreshing them writes
// nothing back. Without an open clip every action does nothing.
//
// Main thread only.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QSlider;
class VideoEditWindowController;

class VideoEditAudioTab : public QWidget {
    Q_OBJECT
public:
    // `sheet` owns the page's clip and announcements; it must outlive the page.
    VideoEditAudioTab(VideoEditWindowController* sheet, QWidget* parent);

    // Rebuilds the track menu for the open clip and shows its tag.
    void updateAudioTrackVolumePopBtn();
    // The chosen entry's tag.
    void submenuStreamsItemAction(qint64 tag);
    // The slider moved to `percent`.
    void changeVolumeUseSlider(int percent);
    // The field's text was entered.
    void changeVolumeUseField();

    QComboBox* audioTrackPopBtn() const { return m_audioTrackPopBtn; }
    QSlider* volumeSlider() const { return m_volumeSlider; }
    QLineEdit* volumeField() const { return m_volumeField; }

private:
    void bindVolume();
    void applyVolume(float volume);

    VideoEditWindowController* m_sheet;  // not owned
    QComboBox* m_audioTrackPopBtn = nullptr;
    QSlider* m_volumeSlider = nullptr;
    QLineEdit* m_volumeField = nullptr;
};
