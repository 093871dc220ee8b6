#include "model/CustomButtonImageResource.h"

#include "common/ControllerFunctionImages.h"
#include "model/DVDFileSource.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(CustomButtonImageResource)

std::shared_ptr<CustomButtonImageResource>
CustomButtonImageResource::createCustomButtonResourceWithPath(const QString& path)
{
    auto resource = std::make_shared<CustomButtonImageResource>();
    resource->m_fileSource = DVDFileSource::sourceWithPath(path);
    return resource;
}

QString CustomButtonImageResource::name() const
{
    switch (m_type) {
        case 1:
            return QStringLiteral("12-pre");
        case 2:
            return QStringLiteral("12-play");
        default:
            return QStringLiteral("12-next");
    }
}

QImage CustomButtonImageResource::image() const
{
    if (!m_fileSource || m_fileSource->path().isEmpty()) {
        return {};
    }
    return ControllerFunctionImages::getNSImageFromPath(m_fileSource->path());
}

bool CustomButtonImageResource::isEqualToResource(const Object* other) const
{
    return other == this;
}

QStringList CustomButtonImageResource::allCoderKeys() const
{
    return {"fileSource", "type"};
}

const PropertyTable& CustomButtonImageResource::properties()
{
    using C = CustomButtonImageResource;
    static const PropertyTable table = PropertyTable(DVDLibraryButtonResource::properties())
                                           .add("fileSource", &C::fileSource, &C::setFileSource)
                                           .add("type", &C::type, &C::setType);
    return table;
}
