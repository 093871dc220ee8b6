#pragma once
// The media side of a project: every imported source in import order and the
// pages of the title list in list order. Archived under the project's root
// key "DataResourceData" with the keys "sectionDataResourceArray" and
// "dvdPageArray".
//
// Adding appends without looking for the object already there; removing
// drops every entry that is the very object. Either way the array is
// replaced by a new one.

#include <QList>
#include <QSizeF>
#include <memory>

#include "platform/CodingBase.h"

class DVDPageData;
class DVDResource;
class SectionDataResource;

class DataResource : public CodingBase {
public:
    using SourceList = QList<std::shared_ptr<SectionDataResource>>;
    using PageList = QList<std::shared_ptr<DVDPageData>>;

    void addSectionDataResourceToArray(const std::shared_ptr<SectionDataResource>& source);
    void removeSectionDataResourceFromArray(const std::shared_ptr<SectionDataResource>& source);
    void addDvdPageToArray(const std::shared_ptr<DVDPageData>& page);
    void removeDvdPageFromArray(const std::shared_ptr<DVDPageData>& page);

    // The disc side of the same project, a back link that does not own; set
    // by whoever puts the two roots together (the shell, a project load, a
    // rebuild of the disc side). Not archived; main thread.
    std::shared_ptr<DVDResource> dvdResource() const { return m_dvdResource.lock(); }
    void setDvdResource(const std::weak_ptr<DVDResource>& disc) { m_dvdResource = disc; }
    // The menu canvas of that disc, the output size of the project's media
    // items; a new disc's (16:9) without one.
    QSizeF discCanvasSize() const;

    const SourceList& sectionDataResourceArray() const { return m_sources; }
    void setSectionDataResourceArray(const SourceList& sources) { m_sources = sources; }
    const PageList& dvdPageArray() const { return m_pages; }
    void setDvdPageArray(const PageList& pages) { m_pages = pages; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    SourceList m_sources;
    PageList m_pages;
    std::weak_ptr<DVDResource> m_dvdResource;
};
