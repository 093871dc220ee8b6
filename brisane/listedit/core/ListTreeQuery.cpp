#include "listedit/core/ListTreeQuery.h"

#include <algorithm>

#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"

namespace {

template <typename List, typename T>
bool holds(const List& list, const T* entry)
{
    return entry && std::any_of(list.cbegin(), list.cend(),
                                [entry](const auto& item) { return item.get() == entry; });
}

}  // namespace

bool ListTreeQuery::containsPage(const DataResource& project, const DVDPageData* page)
{
    return holds(project.dvdPageArray(), page);
}

bool ListTreeQuery::containsTitle(const DataResource& project, const DVDTitleData* title)
{
    if (!title) {
        return false;
    }
    const auto page = title->superPage();
    return page && holds(page->titleDataArray(), title) && containsPage(project, page.get());
}

bool ListTreeQuery::containsClip(const DataResource& project, const MediaData* clip)
{
    if (!clip) {
        return false;
    }
    if (clip->isSubMedia()) {
        const auto group = clip->superMediaData();
        return group && !group->isSubMedia() && holds(group->subMediaArray(), clip) &&
               containsClip(project, group.get());
    }
    const auto title = clip->superTitleData();
    return title && holds(title->mediaDataArray(), clip) && containsTitle(project, title.get());
}

bool ListTreeQuery::containsEntry(const DataResource& project, const Object* entry)
{
    if (const auto* page = dynamic_cast<const DVDPageData*>(entry)) {
        return containsPage(project, page);
    }
    if (const auto* title = dynamic_cast<const DVDTitleData*>(entry)) {
        return containsTitle(project, title);
    }
    return containsClip(project, dynamic_cast<const MediaData*>(entry));
}

std::shared_ptr<DVDTitleData> ListTreeQuery::titleOfClip(const MediaData& clip)
{
    if (clip.isSubMedia()) {
        const auto group = clip.superMediaData();
        return group ? group->superTitleData() : nullptr;
    }
    return clip.superTitleData();
}

MediaData::Ptr ListTreeQuery::preMediaBeforeSubMediaData(const MediaData::Ptr& sub)
{
    const auto group = sub ? sub->superMediaData() : nullptr;
    if (!group) {
        return nullptr;
    }
    const qsizetype at = group->subMediaArray().indexOf(sub);
    if (at < 0) {
        return nullptr;
    }
    return at == 0 ? group : group->subMediaArray().at(at - 1);
}

MediaData::Ptr ListTreeQuery::finalMediaForDVDTitleData(const DVDTitleData& title)
{
    if (title.mediaDataArray().isEmpty()) {
        return nullptr;
    }
    const MediaData::Ptr last = title.mediaDataArray().last();
    if (last->hasSubMedia() && !last->subMediaArray().isEmpty()) {
        return last->subMediaArray().last();
    }
    return last;
}

std::shared_ptr<Object> ListTreeQuery::finalMediaForAll(const DataResource::PageList& pages)
{
    if (pages.isEmpty()) {
        return nullptr;
    }
    const auto& page = pages.last();
    if (page->titleDataArray().isEmpty()) {
        return page;
    }
    return finalMediaForDVDTitleData(*page->titleDataArray().last());
}

bool ListTreeQuery::isLastClipOfTitle(const MediaData& clip)
{
    const auto title = clip.superTitleData();
    return title && !title->mediaDataArray().isEmpty() &&
           title->mediaDataArray().last().get() == &clip;
}

bool ListTreeQuery::isLastSubClip(const MediaData& sub)
{
    const auto group = sub.superMediaData();
    return group && !group->subMediaArray().isEmpty() &&
           group->subMediaArray().last().get() == &sub;
}
