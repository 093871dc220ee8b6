#pragma once
// The video editor as the shell and the title list see it. The video edit
// sheet derives from this; tests install recording fakes.

#include <memory>

class MediaData;
class QWidget;

class IVideoEditWindowController {
public:
    virtual ~IVideoEditWindowController() = default;

    // The sheet's window.
    virtual QWidget* window() = 0;
    // Opens the sheet on the clip and returns at once.
    virtual void updateWindowWithMedia(const std::shared_ptr<MediaData>& media) = 0;
};
