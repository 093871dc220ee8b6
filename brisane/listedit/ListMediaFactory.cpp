#include "listedit/ListMediaFactory.h"

#include "listedit/ListSelection.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithResource(
    const std::shared_ptr<SectionDataResource>& source)
{
    if (!source) {
        return {};
    }
    const auto section = source->createMediaSectionItem();
    if (!section) {
        return {};
    }
    auto clip = section->createMediaData();
    if (!clip) {
        return {};
    }
    source->mediaSectionArray().append(section);
    return {clip, source};
}

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithPath(const QString& path)
{
    return makeMediaDataWithResource(SectionDataResource::resourceWithPath(path));
}

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithImagePaths(const QStringList& paths)
{
    return makeMediaDataWithResource(SectionDataResource::resourceWithImagePaths(paths));
}

void ListMediaFactory::registerSourceOfMedia(DataResource& project, const MadeClip& made)
{
    if (made) {
        project.addSectionDataResourceToArray(made.source);
    }
}

MediaData::Ptr ListMediaFactory::createMediaDataWithResource(
    DataResource& project, const std::shared_ptr<SectionDataResource>& source)
{
    const MadeClip made = makeMediaDataWithResource(source);
    registerSourceOfMedia(project, made);
    return made.media;
}

MediaData::Ptr ListMediaFactory::createMediaDataWithPath(DataResource& project, const QString& path)
{
    return createMediaDataWithResource(project, SectionDataResource::resourceWithPath(path));
}

MediaData::Ptr ListMediaFactory::createMediaDataWithImagePaths(DataResource& project,
                                                               const QStringList& paths)
{
    return createMediaDataWithResource(project, SectionDataResource::resourceWithImagePaths(paths));
}

std::shared_ptr<DVDTitleData> ListMediaFactory::createDVDTitleDataWithMedia(
    const MediaData::Ptr& clip)
{
    auto title = std::make_shared<DVDTitleData>();
    title->setName(QStringLiteral("Title _ 0"));
    if (clip) {
        title->mediaDataArray().append(clip);
        clip->flushSuperTitleData(title);
    }
    return title;
}

void ListMediaFactory::appendTitleToPage(const std::shared_ptr<DVDTitleData>& title,
                                         const std::shared_ptr<DVDPageData>& page)
{
    if (!title || !page) {
        return;
    }
    title->setSuperPage(page);
    page->titleDataArray().append(title);
}

std::shared_ptr<DVDPageData> ListMediaFactory::addMenuPageToArray(DataResource& project,
                                                                  ListSelection& selection)
{
    auto page = std::make_shared<DVDPageData>();
    project.addDvdPageToArray(page);
    selection.currentDVDPage = page;
    return page;
}
