#include "listedit/core/ListEntryMover.h"

#include "common/ArrayExtension.h"
#include "listedit/core/ListSelection.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"

namespace {

// The list the entry sits in, with its owner kept alive in `owner`; null
// when the entry hangs under nothing.
MediaData::ClipList* clipSiblings(const MediaData& clip, std::shared_ptr<Object>& owner)
{
    if (clip.isSubMedia()) {
        const auto group = clip.superMediaData();
        owner = group;
        return group ? &group->subMediaArray() : nullptr;
    }
    const auto title = clip.superTitleData();
    owner = title;
    return title ? &title->mediaDataArray() : nullptr;
}

DVDPageData::TitleList* titleSiblings(const DVDTitleData& title, std::shared_ptr<Object>& owner)
{
    const auto page = title.superPage();
    owner = page;
    return page ? &page->titleDataArray() : nullptr;
}

template <typename T>
bool hasNeighbour(const QList<std::shared_ptr<T>>* list, const std::shared_ptr<T>& item, bool isPre)
{
    return list && previousNextObject(*list, item, isPre) != nullptr;
}

template <typename T>
bool swapWithNeighbour(QList<std::shared_ptr<T>>* list, const std::shared_ptr<T>& item, bool up)
{
    if (!hasNeighbour(list, item, up)) {
        return false;
    }
    const qsizetype at = list->indexOf(item);
    list->swapItemsAt(at, up ? at - 1 : at + 1);
    return true;
}

}  // namespace

bool ListEntryMover::isHasPreviousOrNextDataExist(const DataResource& project,
                                                  const ListSelection& selection, bool isPre)
{
    std::shared_ptr<Object> owner;
    switch (selection.selectedType) {
        case ListSelection::Clip:
            if (const auto clip = std::dynamic_pointer_cast<MediaData>(selection.selectedData)) {
                return hasNeighbour(clipSiblings(*clip, owner), clip, isPre);
            }
            return false;
        case ListSelection::Title:
            if (const auto title =
                    std::dynamic_pointer_cast<DVDTitleData>(selection.selectedData)) {
                return hasNeighbour(titleSiblings(*title, owner), title, isPre);
            }
            return false;
        case ListSelection::Page:
            if (const auto page = std::dynamic_pointer_cast<DVDPageData>(selection.selectedData)) {
                return hasNeighbour(&project.dvdPageArray(), page, isPre);
            }
            return false;
        default:
            return false;
    }
}

bool ListEntryMover::moveSelectedData(DataResource& project, const ListSelection& selection,
                                      bool up)
{
    std::shared_ptr<Object> owner;
    switch (selection.selectedType) {
        case ListSelection::Clip:
            if (const auto clip = std::dynamic_pointer_cast<MediaData>(selection.selectedData)) {
                return swapWithNeighbour(clipSiblings(*clip, owner), clip, up);
            }
            return false;
        case ListSelection::Title:
            if (const auto title =
                    std::dynamic_pointer_cast<DVDTitleData>(selection.selectedData)) {
                return swapWithNeighbour(titleSiblings(*title, owner), title, up);
            }
            return false;
        case ListSelection::Page:
            if (const auto page = std::dynamic_pointer_cast<DVDPageData>(selection.selectedData)) {
                DataResource::PageList pages = project.dvdPageArray();
                if (!swapWithNeighbour(&pages, page, up)) {
                    return false;
                }
                project.setDvdPageArray(pages);
                return true;
            }
            return false;
        default:
            return false;
    }
}
