#pragma once
// One title of a disc, as Corvane reads it.

#include <QList>
#include <memory>

#include "platform/Object.h"

class DVDChapterVideo;

class DVDTitleVideo : public virtual Object {
public:
    ~DVDTitleVideo() override;

    // The disc's warning clip, played once before the first menu or title.
    virtual bool isWarningVideo() const = 0;
    // In playing order.
    virtual QList<std::shared_ptr<DVDChapterVideo>> chapters() const = 0;
    // Seconds.
    virtual double duration() const = 0;
};
