#pragma once
// A template frame: a decorative border picture ("frames/<name>-frame.png")
// and a mask ("frames/<name>-mask.png") whose opaque parts cut the element's
// video to shape. Both pictures are loaded on first use and kept; a failed
// load is tried again at the next request. The caches may be filled from any
// thread.

#include <QImage>
#include <QMutex>

#include "corvane/DVDLibraryResourceCoder.h"

class DVDLibraryFrameResource : public DVDLibraryResourceCoder {
public:
    // Relative path of the frame picture.
    QString frame() const { return m_frame; }
    void setFrame(const QString& frame);
    // Relative path of the mask picture.
    QString mask() const { return m_mask; }
    void setMask(const QString& mask);

    QImage frameImage() const;
    QImage maskImage() const;
    // Answers `frame`.
    QString path() const { return m_frame; }

    // Same class (or a subclass) with equal frame and mask paths.
    bool isEqualToResource(const Object* other) const;

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QImage cachedImage(QImage& cache, const QString& path) const;

    QString m_frame;
    QString m_mask;
    mutable QMutex m_cacheLock;
    mutable QImage m_frameImageCache;
    mutable QImage m_maskImageCache;
};
