#include "corvane/DVDMenuBackgroundResource.h"

#include <QBuffer>

#include "corvane/DVDLibraryResource.h"
#include "platform/BoundedImage.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDMenuBackgroundResource)

namespace {

// The picture in `path`, passed through PNG so that every user picture is held alike.
QImage pngImageFromFile(const QString& path)
{
    const QImage picture = BoundedImage::readUpright(path);
    if (picture.isNull()) {
        return QImage();
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        return QImage();
    }
    return QImage::fromData(png, "PNG");
}

}  // namespace

std::shared_ptr<DVDMenuBackgroundResource> DVDMenuBackgroundResource::resourceWithPath(
    const QString& path)
{
    auto resource = std::make_shared<DVDMenuBackgroundResource>();
    resource->setPath(path);
    resource->setImage(pngImageFromFile(path));
    return resource;
}

QImage DVDMenuBackgroundResource::backgroundImage() const
{
    if (m_isResource) {
        return DVDLibraryResource::share()->imageWithName(m_path);
    }
    return m_image;
}

QStringList DVDMenuBackgroundResource::allCoderKeys() const
{
    return {QStringLiteral("name"), QStringLiteral("path"), QStringLiteral("image"),
            QStringLiteral("isResource")};
}

const PropertyTable& DVDMenuBackgroundResource::properties()
{
    using B = DVDMenuBackgroundResource;
    static const PropertyTable table = PropertyTable(DVDLibraryResourceCoder::properties())
                                           .add("path", &B::path, &B::setPath)
                                           .add("image", &B::image, &B::setImage)
                                           .add("isResource", &B::isResource, &B::setIsResource);
    return table;
}
