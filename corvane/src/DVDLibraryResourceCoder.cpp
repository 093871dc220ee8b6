#include "corvane/DVDLibraryResourceCoder.h"

#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDLibraryResourceCoder)

const PropertyTable& DVDLibraryResourceCoder::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("name", &DVDLibraryResourceCoder::name, &DVDLibraryResourceCoder::setName);
    return table;
}
