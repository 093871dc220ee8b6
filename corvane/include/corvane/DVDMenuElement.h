#pragma once
// An element of a menu page as Corvane reads it. The application's page
// elements and Corvane's own template elements adopt it.
//
// Frames are in the page's canvas, in points, origin at the lower left, y up.
// `jump` is the element's target: a menu page, a title, a title resource, or
// any other object (usually the element itself) standing for the chapter
// linked to this element; null means no action. The target is not owned.

#include <QImage>
#include <QRectF>
#include <optional>

#include "platform/Object.h"
#include "platform/Shadow.h"

class DVDMenuElement : public virtual Object {
public:
    ~DVDMenuElement() override;

    virtual double rotation() const = 0;
    virtual int level() const = 0;
    // Takes part in the page: drawn, and given a subpicture shape.
    virtual bool isValid() const = 0;
    // Shows video inside its frame, so its highlight leaves the inside empty.
    virtual bool highlightModeEmptyInDVD() const = 0;
    virtual bool isStaticItem() const = 0;
    virtual bool isTextItem() const = 0;
    // A play, previous or next button.
    virtual bool isButtonItem() const = 0;
    virtual QRectF frame() const = 0;
    // The element's picture at a media time.
    virtual QImage imageAtTime(qint64 time) = 0;
    virtual ObjectPtr jump() const = 0;
    // The shadow drawn under the element; empty for none.
    virtual std::optional<Shadow> shadow() const = 0;
    virtual double roundValue() const = 0;

    // Elements that can take a target override this and answer true; the
    // default takes none and answers false.
    virtual bool setJump(const ObjectPtr& target);
};
