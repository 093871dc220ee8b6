#include "corvane/DVDLibraryButtonResource.h"

#include <typeinfo>

#include "corvane/DVDLibraryResource.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDLibraryButtonResource)

QImage DVDLibraryButtonResource::image() const
{
    return DVDLibraryResource::share()->imageWithName(m_path);
}

bool DVDLibraryButtonResource::isEqualToResource(const Object* other) const
{
    const auto* button = dynamic_cast<const DVDLibraryButtonResource*>(other);
    if (!button) {
        return false;
    }
    // A subclass of ours only matches its own kind; it usually overrides this.
    if (typeid(*this) != typeid(DVDLibraryButtonResource) && typeid(*this) != typeid(*other)) {
        return false;
    }
    const QString ownName = name();
    return !m_path.isEmpty() && !ownName.isEmpty() && button->path() == m_path &&
           button->name() == ownName;
}

QStringList DVDLibraryButtonResource::allCoderKeys() const
{
    return {QStringLiteral("name"), QStringLiteral("path")};
}

const PropertyTable& DVDLibraryButtonResource::properties()
{
    static const PropertyTable table =
        PropertyTable(DVDLibraryResourceCoder::properties())
            .add("path", &DVDLibraryButtonResource::path, &DVDLibraryButtonResource::setPath);
    return table;
}
