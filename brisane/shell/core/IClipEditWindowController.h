#pragma once
// The chapter editor as the shell and the title list see it. The chapter
// editor derives from this; tests install recording fakes.

#include <QList>
#include <memory>

class MediaData;
class QWidget;

class IClipEditWindowController {
public:
    virtual ~IClipEditWindowController() = default;

    // The sheet's window.
    virtual QWidget* window() = 0;
    // Opens the chapter sheet on the clip and returns at once.
    virtual void showWindowWithMediaData(const std::shared_ptr<MediaData>& media) = 0;
};
