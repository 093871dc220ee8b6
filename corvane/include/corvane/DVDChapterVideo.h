#pragma once
// One chapter of a title, as Corvane reads it.

#include <QList>
#include <memory>

#include "platform/Object.h"

class DVDMenuElement;

class DVDChapterVideo : public virtual Object {
public:
    ~DVDChapterVideo() override;

    // The menu elements that lead to this chapter: membership links an
    // element to its chapter.
    virtual QList<std::shared_ptr<DVDMenuElement>> titles() const = 0;
    // Seconds.
    virtual double duration() const = 0;
};
