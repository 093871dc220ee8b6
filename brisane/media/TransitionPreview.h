#pragma once
// Pictures that show what a transition does without any user photo: drawn
// sample pictures (a day landscape, a dusk landscape, a sea view, cycling)
// and the chooser thumbnail of a transition, its frame half way through the
// change from the first sample picture to the second (or at the share of the
// change its composition names as "ThumbnailProgress"). Deterministic: the
// shipped thumbnails are made with it.

#include <QImage>
#include <QSize>

#include "platform/Value.h"

class Composition;

class TransitionPreview {
public:
    static inline const QSize ThumbnailSize{160, 120};

    // Sample picture `index` (any value; three pictures cycle) at `size`.
    static QImage samplePicture(int index, const QSize& size);
    // "Images" input holding `count` sample pictures at `size`.
    static Value::Array sampleImages(int count, const QSize& size);
    // The composition's thumbnail frame of its first change; null when
    // the composition is null or an index composition.
    static QImage thumbnail(const std::shared_ptr<Composition>& composition,
                            const QSize& size = ThumbnailSize);
};
