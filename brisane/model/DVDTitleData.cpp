#include "model/DVDTitleData.h"

#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/MediaData.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDTitleData)

QList<std::shared_ptr<MenuClip>> DVDTitleData::menuClips() const
{
    QList<std::shared_ptr<MenuClip>> clips;
    for (const auto& clip : m_mediaDataArray) {
        if (clip) {
            clips.append(clip);
        }
    }
    return clips;
}

QStringList DVDTitleData::allCoderKeys() const
{
    return {"mediaDataArray", "name", "superPage", "menuItem"};
}

const PropertyTable& DVDTitleData::properties()
{
    using T = DVDTitleData;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("mediaDataArray", static_cast<const ClipList& (T::*)() const>(&T::mediaDataArray),
                 &T::setMediaDataArray)
            .add("name", &T::name, &T::setName)
            .add("superPage", &T::superPage, &T::setSuperPage)
            .add("menuItem", &T::menuItem, &T::setMenuItem);
    return table;
}
