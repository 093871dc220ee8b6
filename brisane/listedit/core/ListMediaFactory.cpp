#include "listedit/core/ListMediaFactory.h"

#include <QFileInfo>
#include <algorithm>

#include "listedit/core/ListSelection.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

namespace {

// The clip of a section over the whole source; null with why in `reason`.
ListMediaFactory::MadeClip makeClip(const std::shared_ptr<SectionDataResource>& source,
                                    const QSizeF& canvas, QString& reason)
{
    if (!source) {
        reason = QStringLiteral("the file cannot be opened");
        return {};
    }
    const auto section = source->createMediaSectionItem(&reason);
    if (!section) {
        return {};
    }
    auto clip = section->createMediaData(canvas, &reason);
    if (!clip) {
        return {};
    }
    source->mediaSectionArray().append(section);
    return {clip, source, {}};
}

QString refusalText(const QString& reason)
{
    return reason.isEmpty() ? QStringLiteral("the file cannot be used") : reason;
}

}  // namespace

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithResource(
    const std::shared_ptr<SectionDataResource>& source, const QSizeF& canvas)
{
    QString reason;
    return makeClip(source, canvas, reason);
}

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithPath(const QString& path,
                                                                   const QSizeF& canvas)
{
    QString reason;
    MadeClip made = makeClip(SectionDataResource::resourceWithPath(path), canvas, reason);
    if (!made) {
        made.refused.append({path, refusalText(reason)});
    }
    return made;
}

ListMediaFactory::MadeClip ListMediaFactory::makeMediaDataWithImagePaths(const QStringList& paths,
                                                                         const QSizeF& canvas)
{
    QList<ImportRefusal> refused;
    QList<std::shared_ptr<PhotoItem>> photos;
    for (const QString& path : paths) {
        QString reason;
        if (auto photo = PhotoItem::itemWithPhotoPath(path, &reason)) {
            photos.append(photo);
        } else {
            refused.append({path, refusalText(reason)});
        }
    }
    MadeClip made;
    if (!photos.isEmpty()) {
        auto slideshow = RenderItem::create();
        slideshow->addPhotoItems(photos);
        auto source = std::make_shared<SectionDataResource>();
        source->setImageSource(slideshow);
        QString reason;
        made = makeClip(source, canvas, reason);
        if (!made) {
            for (const QString& path : paths) {
                if (std::none_of(refused.begin(), refused.end(),
                                 [&path](const ImportRefusal& r) { return r.path == path; })) {
                    refused.append({path, refusalText(reason)});
                }
            }
        }
    }
    made.refused = refused;
    return made;
}

QString ListMediaFactory::describeRefusals(const QList<ImportRefusal>& refused)
{
    QStringList lines;
    for (const ImportRefusal& refusal : refused) {
        lines.append(
            QStringLiteral("%1: %2").arg(QFileInfo(refusal.path).fileName(), refusal.reason));
    }
    return lines.join(QLatin1Char('\n'));
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
    const MadeClip made = makeMediaDataWithResource(source, project.discCanvasSize());
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
