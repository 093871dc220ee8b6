#pragma once
// Taking clips, titles and pages out of the title list while keeping the
// tree and the imported sources consistent: a title that loses its last clip
// goes, a merged clip left with one sub-clip dissolves into that clip in its
// place, a source that loses its last clip leaves the project, and the
// remaining sections of a source cut into chapters are re-timed so that they
// still cover the whole source.
//
// Two flavours. A delete also takes the clips' sections out of their
// sources. A move (isOnlyMove, or the …WhenMovePlace operations) only takes
// the entries and their rows out of the tree, so that the caller can put
// them back elsewhere with their sections, trims and sub-clips as they were.
//
// A removed entry keeps its own contents (a removed title still holds its
// last clip, a dissolved merged clip its remaining sub-clip). Rows of removed
// entries leave the list at once through the model's row pointers; nothing
// here reloads the list, the caller does. Every removal leaves nothing
// selected. Entries not found in their parent's list leave it unchanged.
//
// Main thread only. The object works on the project and selection it is
// given for as long as it lives.

#include <memory>

#include "lumenta/LMMediaTime.h"
#include "model/MediaData.h"

class DataResource;
class DVDPageData;
class DVDTitleData;
struct ListSelection;

class ListRemoval {
public:
    ListRemoval(DataResource& project, ListSelection& selection);

    // While set, removeSelectedMedia moves instead of deleting.
    bool isOnlyMove() const { return m_isOnlyMove; }
    void setIsOnlyMove(bool on) { m_isOnlyMove = on; }

    // Takes a clip, a merged clip or a sub-clip out of the list.
    void removeSelectedMedia(const MediaData::Ptr& media);
    // Section repair for a clip whose section goes: the source leaves the
    // project when it has no other section; otherwise the remaining sections
    // tile the source from 0 to its duration again and their clips lose
    // their trims. The clip forgets its section.
    void removeMediaSectionInMedia(const MediaData::Ptr& media);

    // Deletes a title with its clips.
    void removeSelectedTitle(const std::shared_ptr<DVDTitleData>& title);
    // Takes a title out of its page for a move.
    void removeSelectedTitleWhenMovePlace(const std::shared_ptr<DVDTitleData>& title);

    // Deletes a page with its titles; when it was the current page the last
    // page becomes current (none when no page is left).
    void removePage(const std::shared_ptr<DVDPageData>& page);
    // removePage, then a new empty current page when none is left.
    void removeSelectedPage(const std::shared_ptr<DVDPageData>& page);
    // Takes a page out of the project's pages for a move.
    void removeSelectedPageWhenMovePlace(const std::shared_ptr<DVDPageData>& page);

    // Deletes every page; no new page is added.
    void removeAllWhenCloseProject();

private:
    void dropFromTitle(const MediaData::Ptr& media);
    void dropFromMergedClip(const MediaData::Ptr& media);
    void dropPageFromProject(const std::shared_ptr<DVDPageData>& page);
    void clearSelection();

    DataResource& m_project;
    ListSelection& m_selection;
    bool m_isOnlyMove = false;
};
