#include "listedit/core/ListRemoval.h"

#include <algorithm>

#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/ListRowView.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

namespace {

// The rows of a clip and, for a merged clip, of its sub-clips.
void clipRowsLeaveList(const MediaData& media)
{
    ListRowView::leaveList(media.mediaDataView());
    for (const auto& sub : media.subMediaArray()) {
        ListRowView::leaveList(sub->mediaDataView());
    }
}

// The length the remaining sections of a source tile: the clip's movie's
// duration. A project opened while the source file was missing has no movie;
// then, and whenever the movie would leave the last section empty, the
// largest end among the source's sections (the removed one included) stands
// in for it.
LMMediaTime tiledDuration(const MediaData& media, const SectionDataResource::SectionList& sections,
                          LMMediaTime lastStart)
{
    const IMovie::Ptr movie = media.ffmovie();
    if (movie && movie->duration() > lastStart) {
        return movie->duration();
    }
    LMMediaTime largestEnd = 0;
    for (const auto& section : sections) {
        largestEnd = std::max(largestEnd, section->endTimeInMedia());
    }
    return largestEnd;
}

// Gives each remaining section its own pair of cuts (0, the ends of the
// sections before it, the duration last) and clears the trims of its clip,
// which referred to the old range.
void retileSections(SectionDataResource::SectionList& sections, LMMediaTime duration)
{
    LMMediaTime start = 0;
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const auto& section = sections.at(i);
        const LMMediaTime end = i + 1 < sections.size() ? section->endTimeInMedia() : duration;
        section->setStartTimeInMedia(start);
        section->setEndTimeInMedia(end);
        start = end;
        const auto clip = section->associatedMedia();
        if (clip && clip->vcmovie()) {
            clip->vcmovie()->setTrimArray({});
        }
    }
}

}  // namespace

ListRemoval::ListRemoval(DataResource& project, ListSelection& selection)
    : m_project(project), m_selection(selection)
{
}

void ListRemoval::removeSelectedMedia(const MediaData::Ptr& media)
{
    if (!media) {
        return;
    }
    if (!m_isOnlyMove) {
        if (media->hasSubMedia()) {
            for (const auto& sub : MediaData::ClipList(media->subMediaArray())) {
                removeMediaSectionInMedia(sub);
            }
        } else {
            removeMediaSectionInMedia(media);
        }
    }
    ListRowView::leaveList(media->mediaDataView());
    if (media->hasSubMedia()) {
        for (const auto& sub : media->subMediaArray()) {
            ListRowView::leaveList(sub->mediaDataView());
            sub->setMediaDataView(nullptr);
        }
    }
    if (media->isSubMedia()) {
        dropFromMergedClip(media);
    } else {
        dropFromTitle(media);
    }
    clearSelection();
}

void ListRemoval::removeMediaSectionInMedia(const MediaData::Ptr& media)
{
    if (!media) {
        return;
    }
    const auto section = media->sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    if (source) {
        auto& sections = source->mediaSectionArray();
        if (sections.size() < 2) {
            m_project.removeSectionDataResourceFromArray(source);
        } else {
            const SectionDataResource::SectionList before = sections;
            sections.removeAll(section);
            if (!sections.isEmpty()) {
                const LMMediaTime lastStart =
                    sections.size() > 1 ? sections.at(sections.size() - 2)->endTimeInMedia() : 0;
                retileSections(sections, tiledDuration(*media, before, lastStart));
            }
        }
    }
    media->setSectionItem(nullptr);
}

void ListRemoval::removeSelectedTitle(const std::shared_ptr<DVDTitleData>& title)
{
    if (!title) {
        return;
    }
    ListRowView::leaveList(title->titleDataView());
    for (const auto& clip : DVDTitleData::ClipList(title->mediaDataArray())) {
        removeSelectedMedia(clip);
        title->mediaDataArray().removeAll(clip);
    }
    if (const auto page = title->superPage()) {
        page->titleDataArray().removeAll(title);
    }
    clearSelection();
}

void ListRemoval::removeSelectedTitleWhenMovePlace(const std::shared_ptr<DVDTitleData>& title)
{
    if (!title) {
        return;
    }
    ListRowView::leaveList(title->titleDataView());
    for (const auto& clip : title->mediaDataArray()) {
        clipRowsLeaveList(*clip);
    }
    if (const auto page = title->superPage()) {
        page->titleDataArray().removeAll(title);
    }
    clearSelection();
}

void ListRemoval::removePage(const std::shared_ptr<DVDPageData>& page)
{
    if (!page) {
        return;
    }
    for (const auto& title : DVDPageData::TitleList(page->titleDataArray())) {
        removeSelectedTitle(title);
    }
    dropPageFromProject(page);
    clearSelection();
}

void ListRemoval::removeSelectedPage(const std::shared_ptr<DVDPageData>& page)
{
    removePage(page);
    if (m_project.dvdPageArray().isEmpty()) {
        ListMediaFactory::addMenuPageToArray(m_project, m_selection);
    }
}

void ListRemoval::removeSelectedPageWhenMovePlace(const std::shared_ptr<DVDPageData>& page)
{
    if (!page) {
        return;
    }
    for (const auto& title : page->titleDataArray()) {
        ListRowView::leaveList(title->titleDataView());
        for (const auto& clip : title->mediaDataArray()) {
            clipRowsLeaveList(*clip);
        }
    }
    dropPageFromProject(page);
    clearSelection();
}

void ListRemoval::removeAllWhenCloseProject()
{
    for (const auto& page : DataResource::PageList(m_project.dvdPageArray())) {
        removePage(page);
    }
}

void ListRemoval::dropFromTitle(const MediaData::Ptr& media)
{
    const auto title = media->superTitleData();
    if (!title) {
        return;
    }
    auto& clips = title->mediaDataArray();
    const bool onlyThisClip =
        std::all_of(clips.cbegin(), clips.cend(), [&](const auto& clip) { return clip == media; });
    if (!onlyThisClip) {
        clips.removeAll(media);
        return;
    }
    // The title goes and keeps its last clip.
    ListRowView::leaveList(title->titleDataView());
    if (const auto page = title->superPage()) {
        page->titleDataArray().removeAll(title);
    }
}

void ListRemoval::dropFromMergedClip(const MediaData::Ptr& media)
{
    const auto group = media->superMediaData();
    if (!group) {
        return;
    }
    auto& members = group->subMediaArray();
    if (members.size() != 2 || !members.contains(media)) {
        members.removeAll(media);
        return;
    }
    // The merged clip dissolves: the other member takes its place as a plain
    // clip of its title. The merged clip keeps that member.
    members.removeAll(media);
    const auto kept = members.first();
    const auto title = group->superTitleData();
    kept->flushSuperTitleData(title);
    ListRowView::leaveList(group->mediaDataView());
    if (title) {
        const qsizetype at = title->mediaDataArray().indexOf(group);
        if (at >= 0) {
            title->mediaDataArray()[at] = kept;
        }
    }
}

void ListRemoval::dropPageFromProject(const std::shared_ptr<DVDPageData>& page)
{
    m_project.removeDvdPageFromArray(page);
    ListRowView::leaveList(ListRowView::of(page->dvdPageView()));
    if (m_selection.currentDVDPage.lock() == page) {
        const auto& pages = m_project.dvdPageArray();
        m_selection.currentDVDPage = pages.isEmpty() ? nullptr : pages.last();
    }
}

void ListRemoval::clearSelection()
{
    m_selection.selectedType = ListSelection::Nothing;
}
