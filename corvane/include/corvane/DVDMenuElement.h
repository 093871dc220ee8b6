#pragma once
// An element of a menu page as Corvane reads it. `frame` is in the page's
// canvas, origin bottom-left, y up.

#include <QImage>
#include <QRectF>
#include <memory>
#include <optional>

#include "platform/Object.h"
#include "platform/Shadow.h"

class DVDMenuElement : public Object {
public:
    // Rotation in degrees, counter-clockwise, about the frame's centre.
    virtual double rotation() const = 0;
    // Stacking level.
    virtual int level() const = 0;
    // The element takes part in the page (drawn, given a subpicture shape).
    virtual bool isValid() const = 0;
    // The element shows video: its highlight leaves the inside of the frame empty.
    virtual bool highlightModeEmptyInDVD() const = 0;
    virtual bool isStaticItem() const = 0;
    virtual bool isTextItem() const = 0;
    virtual bool isButtonItem() const = 0;
    virtual QRectF frame() const = 0;
    // The element's picture at a media time; a null image when it shows nothing.
    virtual QImage imageAtTime(qint64 time) = 0;
    // The element's target: a page, a title, a title resource or any other
    // object standing for the chapter linked to the element; null = no action.
    virtual std::shared_ptr<Object> jump() const = 0;
    // The shadow drawn under the element; empty for none.
    virtual std::optional<Shadow> shadow() const = 0;
    // Corner radius used when the element is drawn.
    virtual double roundValue() const = 0;
};
