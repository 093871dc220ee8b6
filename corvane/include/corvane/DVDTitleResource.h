#pragma once
// An object that plays as a title and fills a menu element's picture with
// video. Navigation treats it as a title. Corvane itself sends only
// `useVideoFrame`, `item` (template element drawing) and `setVideoSize`
// (automatic menus).

#include <QList>
#include <QSizeF>

#include "platform/Object.h"

class DVDMenuElement;
class QPainter;

class DVDTitleResource : public virtual Object {
public:
    ~DVDTitleResource() override;

    // The media items it plays.
    virtual QList<ObjectPtr> vcmovies() const = 0;
    // An element targeting it shows its video.
    virtual bool useVideoFrame() const = 0;
    // Draws the video picture at a media time for an element into `context`.
    virtual void item(DVDMenuElement& element, qint64 time, QPainter& context) = 0;
    // Prepares for export rather than preview.
    virtual void setExportMovie(bool exportMovie) = 0;
    virtual void setCurrentTime(qint64 time) = 0;
    // Finishes pending decoding.
    virtual void flushOperation() = 0;
    virtual void setVideoSize(QSizeF size) = 0;
};
