#pragma once
// A menu page as Corvane reads it. Pages handed to Corvane (its own template
// pages and the application's pages) answer these operations; Corvane looks
// inside them no further. Coordinates are canvas points, origin bottom-left.

#include <QImage>
#include <QList>
#include <QSizeF>
#include <memory>

#include "platform/Object.h"

class DVDMenuElement;

class DVDMenuPage : public Object {
public:
    // The element that opens this page as a sub page; null for a top-level page.
    virtual std::shared_ptr<DVDMenuElement> parent() const = 0;
    // Length of the page's video, in seconds.
    virtual double duration() const = 0;
    // 0 = 4:3, anything else = 16:9.
    virtual qint64 aspectType() const = 0;
    // The canvas size in points.
    virtual QSizeF menuSize() const = 0;
    // The rendered page at a media time; a null image when nothing can be drawn.
    virtual QImage imageAtTime(qint64 time) = 0;
    // The page's elements in order; an element's position is its item index.
    virtual QList<std::shared_ptr<DVDMenuElement>> items() const = 0;
};
