#include "model/DataResource.h"

#include "corvane/DVDMenu.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/SectionDataResource.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DataResource)

QSizeF DataResource::discCanvasSize() const
{
    const auto disc = dvdResource();
    return disc ? disc->dvdVideoSize() : DVDMenu::menuSizeForAspectType(1);
}

void DataResource::addSectionDataResourceToArray(const std::shared_ptr<SectionDataResource>& source)
{
    SourceList sources = m_sources;
    sources.append(source);
    m_sources = sources;
}

void DataResource::removeSectionDataResourceFromArray(
    const std::shared_ptr<SectionDataResource>& source)
{
    SourceList sources = m_sources;
    sources.removeAll(source);
    m_sources = sources;
}

void DataResource::addDvdPageToArray(const std::shared_ptr<DVDPageData>& page)
{
    PageList pages = m_pages;
    pages.append(page);
    m_pages = pages;
}

void DataResource::removeDvdPageFromArray(const std::shared_ptr<DVDPageData>& page)
{
    PageList pages = m_pages;
    pages.removeAll(page);
    m_pages = pages;
}

QStringList DataResource::allCoderKeys() const
{
    return {"sectionDataResourceArray", "dvdPageArray"};
}

const PropertyTable& DataResource::properties()
{
    using D = DataResource;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("sectionDataResourceArray", &D::sectionDataResourceArray,
                 &D::setSectionDataResourceArray)
            .add("dvdPageArray", &D::dvdPageArray, &D::setDvdPageArray);
    return table;
}
