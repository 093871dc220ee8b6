#include "corvane/DVDLibraryFrameResource.h"

#include <QMutexLocker>

#include "corvane/DVDLibraryResource.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDLibraryFrameResource)

void DVDLibraryFrameResource::setFrame(const QString& frame)
{
    QMutexLocker locker(&m_cacheLock);
    m_frame = frame;
    m_frameImageCache = QImage();
}

void DVDLibraryFrameResource::setMask(const QString& mask)
{
    QMutexLocker locker(&m_cacheLock);
    m_mask = mask;
    m_maskImageCache = QImage();
}

QImage DVDLibraryFrameResource::cachedImage(QImage& cache, const QString& path) const
{
    QMutexLocker locker(&m_cacheLock);
    if (cache.isNull()) {
        cache = DVDLibraryResource::share()->imageWithName(path);
    }
    return cache;
}

QImage DVDLibraryFrameResource::frameImage() const
{
    return cachedImage(m_frameImageCache, m_frame);
}

QImage DVDLibraryFrameResource::maskImage() const
{
    return cachedImage(m_maskImageCache, m_mask);
}

bool DVDLibraryFrameResource::isEqualToResource(const Object* other) const
{
    const auto* resource = dynamic_cast<const DVDLibraryFrameResource*>(other);
    if (!resource) {
        return false;
    }
    if (typeid(*this) != typeid(DVDLibraryFrameResource) && typeid(*this) != typeid(*other)) {
        return false;
    }
    // Like a string comparison with a missing string: nothing equals an empty path.
    return !m_frame.isEmpty() && !m_mask.isEmpty() && resource->frame() == m_frame &&
           resource->mask() == m_mask;
}

QStringList DVDLibraryFrameResource::allCoderKeys() const
{
    return {QStringLiteral("name"), QStringLiteral("frame"), QStringLiteral("mask")};
}

const PropertyTable& DVDLibraryFrameResource::properties()
{
    static const PropertyTable table =
        PropertyTable(DVDLibraryResourceCoder::properties())
            .add("frame", &DVDLibraryFrameResource::frame, &DVDLibraryFrameResource::setFrame)
            .add("mask", &DVDLibraryFrameResource::mask, &DVDLibraryFrameResource::setMask);
    return table;
}
