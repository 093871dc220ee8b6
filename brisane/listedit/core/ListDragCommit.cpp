#include "listedit/core/ListDragCommit.h"

#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListMediaPlacement.h"
#include "listedit/core/ListRemoval.h"
#include "listedit/core/ListSelection.h"
#include "listedit/core/ListTreeQuery.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"

namespace {

using Place = ListMediaPlacement::Place;

// Whether `anchor` is the dragged clip itself or one of its sub-clips.
bool isOwnPlace(const MediaData::Ptr& dragged, const MediaData::Ptr& anchor)
{
    return anchor == dragged || (anchor->isSubMedia() && anchor->superMediaData() == dragged);
}

// What a dragged clip brings to sub-clips: its sub-clips when it is merged,
// else a copy of it.
MediaData::ClipList membersFor(const MediaData::Ptr& dragged)
{
    if (dragged->hasSubMedia() && !dragged->subMediaArray().isEmpty()) {
        return dragged->subMediaArray();
    }
    return {ListMediaPlacement::copyForMove(*dragged)};
}

// A copy of the dragged clip to file under a title: it keeps the clip's
// chapter button, which now shows the copy, and holds its sub-clips.
MediaData::Ptr titleClipFor(const MediaData::Ptr& dragged)
{
    auto copy = ListMediaPlacement::copyForMove(*dragged);
    if (const auto item = dragged->menuItem()) {
        copy->setMenuItem(item);
        item->setMedia(copy);
    }
    return copy;
}

}  // namespace

ListDragCommit::ListDragCommit(DataResource& project, ListSelection& selection)
    : m_project(project), m_selection(selection)
{
}

ListDragCommit::Result ListDragCommit::commitOutside()
{
    ListRemoval removal(m_project, m_selection);
    const auto data = m_selection.selectedData;
    Result result;
    if (!ListTreeQuery::containsEntry(m_project, data.get())) {
        return result;
    }
    switch (m_selection.selectedType) {
        case ListSelection::Clip:
            if (const auto clip = std::dynamic_pointer_cast<MediaData>(data)) {
                removal.removeSelectedMedia(clip);
                result.changed = true;
            }
            break;
        case ListSelection::Title:
            if (const auto title = std::dynamic_pointer_cast<DVDTitleData>(data)) {
                removal.removeSelectedTitle(title);
                result.changed = true;
            }
            break;
        case ListSelection::Page:
            if (const auto page = std::dynamic_pointer_cast<DVDPageData>(data)) {
                removal.removeSelectedPage(page);
                result.changed = true;
            }
            break;
        default:
            break;
    }
    if (m_project.dvdPageArray().isEmpty()) {
        ListMediaFactory::addMenuPageToArray(m_project, m_selection);
    }
    return result;
}

ListDragCommit::Result ListDragCommit::commitInside(const ListDropState& state)
{
    // Held for the length of the commit: the removals clear the selection.
    const auto data = m_selection.selectedData;
    if (!ListTreeQuery::containsEntry(m_project, data.get())) {
        return {};
    }
    switch (m_selection.selectedType) {
        case ListSelection::Page:
            return movePage(std::dynamic_pointer_cast<DVDPageData>(data), state);
        case ListSelection::Title:
            return moveTitle(std::dynamic_pointer_cast<DVDTitleData>(data), state);
        case ListSelection::Clip:
            return moveClip(std::dynamic_pointer_cast<MediaData>(data), state);
        default:
            return {};
    }
}

ListDragCommit::Result ListDragCommit::movePage(const std::shared_ptr<DVDPageData>& page,
                                                const ListDropState& state)
{
    if (!page || state.insertOrMerge != ListDropState::Insert ||
        state.insertedType != ListDropState::PageLevel) {
        return {};
    }
    const auto anchor = state.insertUnderData.lock();
    const auto after = std::dynamic_pointer_cast<DVDPageData>(anchor);
    const bool first = ListDropState::isFirstPage(anchor);
    if (!first && !(after && ListTreeQuery::containsPage(m_project, after.get()))) {
        return {};
    }
    const auto& pages = m_project.dvdPageArray();
    if (after && (after == page || pages.indexOf(page) == pages.indexOf(after) + 1)) {
        return {};
    }
    const bool wasCurrent = m_selection.currentDVDPage.lock() == page;
    ListRemoval removal(m_project, m_selection);
    removal.setIsOnlyMove(true);
    removal.removeSelectedPageWhenMovePlace(page);
    DataResource::PageList changed = m_project.dvdPageArray();
    const qsizetype at = first ? 0 : changed.indexOf(after) + 1;
    ListMediaPlacement::insertAt(changed, at, {page});
    m_project.setDvdPageArray(changed);
    if (wasCurrent) {
        m_selection.currentDVDPage = page;
    }
    return Result{true, page, nullptr};
}

ListDragCommit::Result ListDragCommit::moveTitle(const std::shared_ptr<DVDTitleData>& title,
                                                 const ListDropState& state)
{
    if (!title || state.insertOrMerge != ListDropState::Insert ||
        state.insertedType != ListDropState::TitleLevel) {
        return {};
    }
    const auto anchor = state.insertUnderData.lock();
    if (!anchor || !ListTreeQuery::containsEntry(m_project, anchor.get())) {
        return {};
    }
    std::shared_ptr<DVDPageData> page = std::dynamic_pointer_cast<DVDPageData>(anchor);
    const auto afterTitle = std::dynamic_pointer_cast<DVDTitleData>(anchor);
    if (page) {
        if (page->titleDataArray().value(0) == title) {
            return {};
        }
    } else if (afterTitle) {
        page = afterTitle->superPage();
        const auto& titles = page->titleDataArray();
        if (afterTitle == title || titles.indexOf(title) == titles.indexOf(afterTitle) + 1) {
            return {};
        }
    } else {
        return {};
    }
    ListRemoval removal(m_project, m_selection);
    removal.setIsOnlyMove(true);
    removal.removeSelectedTitleWhenMovePlace(title);
    const qsizetype at = afterTitle ? page->titleDataArray().indexOf(afterTitle) + 1 : 0;
    ListMediaPlacement::insertAt(page->titleDataArray(), at, {title});
    title->setSuperPage(page);
    return Result{true, nullptr, title};
}

ListDragCommit::Result ListDragCommit::moveClip(const MediaData::Ptr& clip,
                                                const ListDropState& state)
{
    if (!clip) {
        return {};
    }
    const Place place = ListMediaPlacement(m_project).placeFor(state);
    switch (place.kind) {
        case Place::Nowhere:
            return {};
        case Place::NewTitles: {
            const auto copy = titleClipFor(clip);
            auto title = ListMediaFactory::createDVDTitleDataWithMedia(copy);
            title->setSuperPage(place.page);
            ListMediaPlacement::insertAt(place.page->titleDataArray(), place.index, {title});
            MediaData::copyMediaEditEndWithMedia(copy);
            break;
        }
        case Place::TitleClips: {
            const auto copy = titleClipFor(clip);
            copy->flushSuperTitleData(place.title);
            ListMediaPlacement::insertAt(place.title->mediaDataArray(), place.index, {copy});
            MediaData::copyMediaEditEndWithMedia(copy);
            break;
        }
        case Place::SubClips: {
            // Only from the drop state's anchor: at the top of a merged clip
            // (the anchor is that clip) or after a sub-clip.
            const auto anchor = std::dynamic_pointer_cast<MediaData>(state.insertUnderData.lock());
            if (isOwnPlace(clip, anchor)) {
                return {};
            }
            const MediaData::ClipList members = membersFor(clip);
            for (const auto& member : members) {
                member->flushSuperMediaData(place.media);
            }
            ListMediaPlacement::insertAt(place.media->subMediaArray(), place.index, members);
            break;
        }
        case Place::MergeInto:
            if (place.media == clip) {
                return {};
            }
            ListMediaPlacement::mergeIntoMedia(place.media, membersFor(clip));
            break;
    }
    ListRemoval removal(m_project, m_selection);
    removal.setIsOnlyMove(true);
    removal.removeSelectedMedia(clip);
    return Result{true, nullptr, nullptr};
}
