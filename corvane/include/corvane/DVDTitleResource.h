#pragma once
// An object that plays as a title and fills a menu element's picture with its
// video. Corvane's template elements ask it for the picture inside their frame.

#include <QPainter>
#include <QSizeF>

#include "platform/Object.h"

class DVDMenuElement;

class DVDTitleResource : public Object {
public:
    // An element targeting this title shows its video.
    virtual bool useVideoFrame() const = 0;
    // Draws the video picture for `element` at `time` into `context`, a
    // painter on a bitmap whose coordinates are bottom-left, y up, one unit per
    // pixel.
    virtual void itemFillImageAtTime(DVDMenuElement& element, qint64 time, QPainter& context) = 0;
    // The menu canvas size the title's pictures are made for.
    virtual void setVideoSize(const QSizeF& size) = 0;
};
