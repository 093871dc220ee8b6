#include "listedit/core/ListMediaPlacement.h"

#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListTreeQuery.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/MediaSectionItem.h"

ListMediaPlacement::ListMediaPlacement(const DataResource& project) : m_project(project) {}

ListMediaPlacement::Place ListMediaPlacement::placeFor(const ListDropState& state) const
{
    if (state.insertOrMerge == ListDropState::Merge) {
        const auto target = state.mergeMedia.lock();
        if (!target || target->isSubMedia() ||
            !ListTreeQuery::containsClip(m_project, target.get())) {
            return {};
        }
        return Place{Place::MergeInto, nullptr, nullptr, target, 0};
    }
    if (state.insertOrMerge == ListDropState::Insert) {
        return insertPlace(state.insertedType, state.insertUnderData.lock());
    }
    return {};
}

ListMediaPlacement::Place ListMediaPlacement::insertPlace(
    qint32 level, const std::shared_ptr<Object>& anchor) const
{
    if (!anchor || !ListTreeQuery::containsEntry(m_project, anchor.get())) {
        return {};
    }
    const auto page = std::dynamic_pointer_cast<DVDPageData>(anchor);
    const auto title = std::dynamic_pointer_cast<DVDTitleData>(anchor);
    const auto clip = std::dynamic_pointer_cast<MediaData>(anchor);
    switch (level) {
        case ListDropState::TitleLevel:
            if (page) {
                return Place{Place::NewTitles, page, nullptr, nullptr, 0};
            }
            if (clip) {
                const auto holder = ListTreeQuery::titleOfClip(*clip);
                const auto holderPage = holder->superPage();
                return Place{Place::NewTitles, holderPage, nullptr, nullptr,
                             holderPage->titleDataArray().indexOf(holder) + 1};
            }
            break;
        case ListDropState::ClipLevel:
            if (title) {
                return Place{Place::TitleClips, nullptr, title, nullptr, 0};
            }
            if (clip) {
                const MediaData::Ptr topLevel = clip->isSubMedia() ? clip->superMediaData() : clip;
                const auto holder = topLevel->superTitleData();
                return Place{Place::TitleClips, nullptr, holder, nullptr,
                             holder->mediaDataArray().indexOf(topLevel) + 1};
            }
            break;
        case ListDropState::SubClipLevel:
            if (clip && clip->isSubMedia()) {
                const auto group = clip->superMediaData();
                return Place{Place::SubClips, nullptr, nullptr, group,
                             group->subMediaArray().indexOf(clip) + 1};
            }
            if (clip && clip->hasSubMedia()) {
                return Place{Place::SubClips, nullptr, nullptr, clip, 0};
            }
            break;
        default:
            break;
    }
    return {};
}

bool ListMediaPlacement::addMediaArrayToList(const ListDropState& state,
                                             const MediaData::ClipList& clips)
{
    const Place place = placeFor(state);
    if (!place || clips.isEmpty()) {
        return false;
    }
    switch (place.kind) {
        case Place::NewTitles: {
            DVDPageData::TitleList titles;
            for (const auto& clip : clips) {
                auto title = ListMediaFactory::createDVDTitleDataWithMedia(clip);
                title->setSuperPage(place.page);
                titles.append(title);
            }
            insertAt(place.page->titleDataArray(), place.index, titles);
            break;
        }
        case Place::TitleClips:
            for (const auto& clip : clips) {
                clip->flushSuperTitleData(place.title);
            }
            insertAt(place.title->mediaDataArray(), place.index, clips);
            break;
        case Place::SubClips:
            for (const auto& clip : clips) {
                clip->flushSuperMediaData(place.media);
            }
            insertAt(place.media->subMediaArray(), place.index, clips);
            break;
        case Place::MergeInto:
            mergeIntoMedia(place.media, clips);
            break;
        case Place::Nowhere:
            return false;
    }
    return true;
}

bool ListMediaPlacement::mergeMediaArrayIntoMedia(const MediaData::Ptr& group,
                                                  const MediaData::ClipList& clips)
{
    if (!group || group->isSubMedia() || !ListTreeQuery::containsClip(m_project, group.get()) ||
        clips.isEmpty()) {
        return false;
    }
    for (const auto& clip : clips) {
        clip->flushSuperMediaData(group);
        group->subMediaArray().append(clip);
    }
    group->setHasSubMedia(true);
    return true;
}

MediaData::Ptr ListMediaPlacement::copyForMove(const MediaData& clip)
{
    auto copy = MediaData::copyMediaFromMedia(clip);
    copy->setAudioTreamTag(clip.audioTreamTag());
    return copy;
}

void ListMediaPlacement::mergeIntoMedia(const MediaData::Ptr& target,
                                        const MediaData::ClipList& members)
{
    if (target->subMediaArray().isEmpty()) {
        const auto itself = copyForMove(*target);
        itself->flushSuperMediaData(target);
        target->setSectionItem(nullptr);
        target->subMediaArray().append(itself);
    }
    for (const auto& member : members) {
        member->flushSuperMediaData(target);
        target->subMediaArray().append(member);
    }
    target->setHasSubMedia(true);
}
