#include "videoedit/ChapterListWriter.h"

#include <QImage>
#include <QtDebug>

#include "common/NamedImage.h"
#include "corvane/DVDMenu.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "listedit/core/ListDropState.h"
#include "listedit/core/ListMediaPlacement.h"
#include "media/VCMovie.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/core/IDocumentHost.h"

namespace {

// A new section of the source over [start, end), not yet in the source's
// list, and its clip; no clip when the section cannot be played.
struct NewChapter {
    std::shared_ptr<MediaSectionItem> section;
    MediaData::Ptr clip;
};

NewChapter makeChapter(const std::shared_ptr<SectionDataResource>& source, LMMediaTime start,
                       LMMediaTime end, const QSizeF& canvas)
{
    NewChapter chapter;
    chapter.section = std::make_shared<MediaSectionItem>();
    chapter.section->setSuperResource(source);
    chapter.section->setStartTimeInMedia(start);
    chapter.section->setEndTimeInMedia(end);
    chapter.clip = chapter.section->createMediaData(canvas);
    return chapter;
}

bool makeChapterClips(const std::shared_ptr<SectionDataResource>& source,
                      const ClipMarkerRules::Markers& markers, const ChapterApplyPlan& plan,
                      const QSizeF& canvas, VCMovie::Ptr& freshItem, QList<NewChapter>& made)
{
    if (plan.reuseForFirstChapter) {
        freshItem = SectionDataResource::createVcmovieWithSectionDataSource(*source, canvas);
        if (!freshItem) {
            qWarning() << "chapter edit: the source gives no media item; nothing applied";
            return false;
        }
    }
    for (qsizetype k = plan.reuseForFirstChapter ? 1 : 0; k + 1 < markers.size(); ++k) {
        made.append(
            makeChapter(source, markers[k]->markTime(), markers[k + 1]->markTime(), canvas));
        if (!made.last().clip) {
            qWarning() << "chapter edit: chapter" << k << "cannot be played; nothing applied";
            return false;
        }
    }
    return true;
}

}  // namespace

QSizeF ChapterListWriter::canvasOf(const MediaData& clip)
{
    const VCMovie::Ptr item = clip.vcmovie();
    return item ? item->videoOutputSize() : DVDMenu::menuSizeForAspectType(1);
}

ChapterListWriter::ChapterListWriter(ListEditViewController* list, IDocumentHost* host)
    : m_list(list), m_host(host)
{
}

bool ChapterListWriter::writeChapters(ChapterApplyPlan::Kind kind,
                                      const std::shared_ptr<SectionDataResource>& source,
                                      const MediaData::Ptr& clip,
                                      const ClipMarkerRules::Markers& markers,
                                      const MediaData::ClipList& oldClips) const
{
    const auto ownSection = clip ? clip->sectionItem() : nullptr;
    if (!source || !ownSection) {
        qWarning() << "chapter edit: the clip or its source has gone; nothing applied";
        return false;
    }
    // The new clips and the removals go through the title list: without it,
    // or without a place there for the new clips, nothing may change, or
    // sections would be left without clips.
    if (!listTableView()) {
        return false;
    }
    const qsizetype chapters = markers.size() - 1;
    const ChapterApplyPlan plan = ChapterApplyPlan::planFor(kind, chapters, clip->isSubMedia());
    if (!hasPlaceInList(plan, clip)) {
        qWarning() << "chapter edit: the clip is not in the title list; nothing applied";
        return false;
    }

    // Every clip the apply needs is made before anything changes, so that a
    // chapter that cannot be played leaves the project as it was.
    VCMovie::Ptr freshItem;
    QList<NewChapter> made;
    if (!makeChapterClips(source, markers, plan, canvasOf(*clip), freshItem, made)) {
        return false;
    }

    auto& sections = source->mediaSectionArray();
    if (plan.dropOwnSectionFirst) {
        sections.removeAll(ownSection);
    }
    if (plan.reuseForFirstChapter) {
        ownSection->setStartTimeInMedia(markers[0]->markTime());
        ownSection->setEndTimeInMedia(markers[1]->markTime());
        clip->setVcmovie(freshItem);
        resetMediaPreviewImage(clip);
    }
    MediaData::ClipList newClips;
    for (const NewChapter& chapter : made) {
        sections.append(chapter.section);
        resetMediaPreviewImage(chapter.clip);
        newClips.append(chapter.clip);
    }
    placeNewClips(plan.placement, clip, newClips);
    // The clips that played the source before leave the list and their
    // sections the source; the opened clip stays when the plan reuses it.
    MediaData::ClipList gone = oldClips;
    gone.removeAll(plan.removeOpenedClip ? nullptr : clip);
    for (const auto& old : gone) {
        sections.removeAll(old->sectionItem());
    }
    removeMediaArrayInListTable(gone);
    listTableReloadView();
    return true;
}

void ChapterListWriter::placeNewClips(ChapterApplyPlan::Placement placement,
                                      const MediaData::Ptr& opened,
                                      const MediaData::ClipList& clips) const
{
    switch (placement) {
        case ChapterApplyPlan::Placement::NearClip:
            insertMediaArrayToListTable(opened, clips);
            break;
        case ChapterApplyPlan::Placement::IntoClip:
            mergeMediaArrayToListTable(opened, clips);
            break;
        case ChapterApplyPlan::Placement::AfterMergedClip:
            addMediaArrayAfterMergedClip(opened, clips);
            break;
        case ChapterApplyPlan::Placement::None:
            break;
    }
}

void ChapterListWriter::resetMediaPreviewImage(const MediaData::Ptr& media)
{
    if (!media || media->isImageData()) {
        return;
    }
    const QList<VCMovie::Ptr> pieces = media->segmentMovies();
    QImage picture = pieces.isEmpty() ? QImage() : MediaData::thumbnailForVcMovie(*pieces.first());
    if (picture.isNull()) {
        picture = NamedImage::imageNamed(QStringLiteral("DefaultImage"));
    }
    media->setPreviewImage(picture);
}

bool ChapterListWriter::hasPlaceInList(const ChapterApplyPlan& plan,
                                       const MediaData::Ptr& clip) const
{
    const auto project = m_host ? m_host->dateResource() : nullptr;
    if (!project) {
        return false;
    }
    ListDropState state;
    switch (plan.placement) {
        case ChapterApplyPlan::Placement::None:
            return true;
        case ChapterApplyPlan::Placement::NearClip:
            state.insertUnder(
                clip->isSubMedia() ? ListDropState::SubClipLevel : ListDropState::ClipLevel, clip);
            break;
        case ChapterApplyPlan::Placement::AfterMergedClip:
            state.insertUnder(ListDropState::ClipLevel, clip);
            break;
        case ChapterApplyPlan::Placement::IntoClip:
            state.mergeInto(clip);
            break;
    }
    return ListMediaPlacement(*project).canPlace(state);
}

ListTableView* ChapterListWriter::listTableView() const
{
    ListTableView* table = m_list ? m_list->listTableView() : nullptr;
    if (!table) {
        qWarning() << "chapter edit: no title list to change";
    }
    return table;
}

void ChapterListWriter::insertMediaArrayToListTable(const MediaData::Ptr& opened,
                                                    const MediaData::ClipList& clips) const
{
    ListTableView* table = listTableView();
    if (!table) {
        return;
    }
    table->setInsertOrMerge(1);
    table->setInsertedType(opened && opened->isSubMedia() ? 4 : 3);
    table->setInsertUnderData(opened);
    table->addMediaArrayToList(clips);
}

void ChapterListWriter::addMediaArrayAfterMergedClip(const MediaData::Ptr& opened,
                                                     const MediaData::ClipList& clips) const
{
    ListTableView* table = listTableView();
    if (!table) {
        return;
    }
    table->setInsertOrMerge(1);
    table->setInsertedType(3);
    table->setInsertUnderData(opened);
    table->addMediaArrayToList(clips);
}

void ChapterListWriter::mergeMediaArrayToListTable(const MediaData::Ptr& opened,
                                                   const MediaData::ClipList& clips) const
{
    ListTableView* table = listTableView();
    if (!table) {
        return;
    }
    table->setInsertOrMerge(2);
    table->setMergeMedia(opened);
    table->clipEditControllerMergeMediaArrayToList(clips);
}

void ChapterListWriter::removeMediaArrayInListTable(const MediaData::ClipList& clips) const
{
    ListTableView* table = listTableView();
    if (!table) {
        return;
    }
    // The apply has taken the clips' sections out of the source already.
    table->setIsOnlyMove(true);
    for (const auto& clip : clips) {
        table->removeSelectedMedia(clip);
    }
    table->setIsOnlyMove(false);
}

void ChapterListWriter::listTableReloadView() const
{
    if (ListTableView* table = listTableView()) {
        table->reloadView();
    }
}
