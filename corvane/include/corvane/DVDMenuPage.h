#pragma once
// A menu page as Corvane reads it. The application's pages and Corvane's own
// template pages adopt it. Corvane reads `parent`, `aspectType`, `menuSize`
// and `items`; `duration` and `imageAtTime` serve preview and rendering.

#include <QImage>
#include <QList>
#include <QSizeF>
#include <memory>

#include "platform/Object.h"

class DVDMenuElement;

class DVDMenuPage : public virtual Object {
public:
    ~DVDMenuPage() override;

    // The element that opens this page as a sub page (not owned); null for a
    // top-level page.
    virtual std::shared_ptr<DVDMenuElement> parent() const = 0;
    // Length of the page's video, in seconds.
    virtual double duration() const = 0;
    // 0 = 4:3, any other value = 16:9.
    virtual qint64 aspectType() const = 0;
    // The canvas size in points; element frames are in this space.
    virtual QSizeF menuSize() const = 0;
    // The rendered page at a media time.
    virtual QImage imageAtTime(qint64 time) = 0;
    // The elements in order; a position here is the element's item index.
    virtual QList<std::shared_ptr<DVDMenuElement>> items() const = 0;
};
