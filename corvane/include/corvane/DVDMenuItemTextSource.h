#pragma once
// The styled text of a text element: renders itself as a picture, knows the
// element that holds it (a back link that does not own) and can be copied.

#include <QImage>
#include <memory>

#include "platform/Object.h"

class DVDMenuItemTextSource : public virtual Object {
public:
    // The text rendered as a picture; null when there is nothing to show.
    virtual QImage textSourceImage() = 0;
    // Links the text back to the element that holds it; not owned.
    virtual void setMenuItem(const std::shared_ptr<Object>& menuItem) = 0;
    // A copy that the caller owns.
    virtual std::shared_ptr<DVDMenuItemTextSource> copy() const = 0;
};
