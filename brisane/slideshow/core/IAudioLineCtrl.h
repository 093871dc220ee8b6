#pragma once
// The slideshow music window as the slideshow editor sees it. Main thread.

#include <QList>
#include <memory>

class MediaItem;
class QWidget;

class IAudioLineCtrl {
public:
    using Items = QList<std::shared_ptr<MediaItem>>;

    virtual ~IAudioLineCtrl() = default;

    // The window the music window attaches to. Not owned.
    virtual void setWndSheetedWindow(QWidget* window) = 0;
    // The music to edit, then the run (returns when the window closes), then
    // the music as the user left it.
    virtual void loadViewWithItems(const Items& items) = 0;
    virtual void openEditWindow() = 0;
    virtual Items getAudioItems() const = 0;
};
