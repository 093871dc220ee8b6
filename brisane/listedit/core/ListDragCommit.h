#pragma once
// The end of a row dragged inside the title list: what becomes of the
// dragged entry (the list editor's selection) at the place the drop state
// names.
//
// Released outside the list, the entry is deleted as the Delete command does
// (a deleted last page gives way to a new empty one). Released inside, it is
// moved:
//   - a page goes after the anchor page, or first for the anchor
//     "FirstPage", unless it stands there already;
//   - a title goes to the top of the anchor page, or after the anchor title
//     (in that title's page), unless it stands there already;
//   - a clip is placed as ListMediaPlacement places dropped clips (a new
//     title, a clip of a title, sub-clips of a merged clip), or merged into
//     the merge clip; a merged clip dropped among sub-clips or merged gives
//     its sub-clips, in order. The clip that goes in is a copy for the move
//     (it takes over the section and keeps the audio stream, and, placed as
//     a clip of a title, the clip's chapter button); the dragged clip then
//     leaves its old place without touching its section.
// A drop on the dragged clip itself or among its own sub-clips, a merge into
// itself, and every drop state these rules do not name change nothing: the
// place is worked out before anything is copied or taken out. A moved page
// that was the current page stays current. Anchors that have left the list
// are no place. The caller reloads the list afterwards.
//
// Pure over the project model; main thread only, as the model.

#include <memory>

#include "listedit/core/ListDropState.h"
#include "model/DataResource.h"
#include "model/MediaData.h"

class DVDPageData;
class DVDTitleData;
struct ListSelection;

class ListDragCommit {
public:
    ListDragCommit(DataResource& project, ListSelection& selection);

    // What a commit did.
    struct Result {
        bool changed = false;
        // The page or title moved as a whole, whose rows go back into the
        // list.
        std::shared_ptr<DVDPageData> movedPage;
        std::shared_ptr<DVDTitleData> movedTitle;
    };

    // Deletes the selected entry.
    Result commitOutside();
    // Moves the selected entry to the drop state's place.
    Result commitInside(const ListDropState& state);

private:
    Result movePage(const std::shared_ptr<DVDPageData>& page, const ListDropState& state);
    Result moveTitle(const std::shared_ptr<DVDTitleData>& title, const ListDropState& state);
    Result moveClip(const MediaData::Ptr& clip, const ListDropState& state);

    DataResource& m_project;
    ListSelection& m_selection;
};
