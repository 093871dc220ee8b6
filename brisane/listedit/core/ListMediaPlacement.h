#pragma once
// Putting clips into the title list at the place a drop state names: as new
// titles, as clips of a title, as sub-clips of a merged clip, or merged into
// a clip. Desktop drops and the chapter editor place their clips here; the
// list's own drags use the same places for the clip they move.
//
// Places, by insertOrMerge / insertedType and the anchor:
//   1/2 page P            new titles at the top of P
//   1/2 clip or sub-clip  new titles right after the title that holds it
//   1/3 title T           clips at the top of T
//   1/3 clip              clips right after it in its title
//   1/3 sub-clip          clips right after its merged clip in that title
//   1/4 merged clip G     sub-clips at the top of G
//   1/4 sub-clip          sub-clips right after it in its merged clip
//   2   mergeMedia M      merged into M (a clip of a title)
// Anything else, and an anchor that is no longer listed, is no place:
// nothing is changed then.
//
// Pure operations on the project model; main thread only, as the model.

#include <QList>
#include <algorithm>
#include <memory>

#include "listedit/core/ListDropState.h"
#include "model/DataResource.h"
#include "model/MediaData.h"

class DVDPageData;
class DVDTitleData;

class ListMediaPlacement {
public:
    // Where clips go: a container and the index of the first of them.
    struct Place {
        enum Kind { Nowhere, NewTitles, TitleClips, SubClips, MergeInto };
        Kind kind = Nowhere;
        std::shared_ptr<DVDPageData> page;    // NewTitles
        std::shared_ptr<DVDTitleData> title;  // TitleClips
        MediaData::Ptr media;                 // SubClips: the merged clip; MergeInto: the clip
        qsizetype index = 0;
        explicit operator bool() const { return kind != Nowhere; }
    };

    explicit ListMediaPlacement(const DataResource& project);

    // The place the drop state names in the list as it is now.
    Place placeFor(const ListDropState& state) const;
    bool canPlace(const ListDropState& state) const { return bool(placeFor(state)); }

    // Puts the clips, in order, at the drop state's place. A clip that goes
    // in as a new title gets a title of its own; the others are filed
    // directly under their title or merged clip. A merge into a clip that is
    // not merged yet first makes a copy of it its first sub-clip (the copy
    // takes over its section). False, with nothing changed, when there is no
    // place or no clip.
    bool addMediaArrayToList(const ListDropState& state, const MediaData::ClipList& clips);

    // Appends the clips to the sub-clips of `group`, a clip of a listed
    // title, and marks it merged; no copy is made. False, with nothing
    // changed, when `group` is not such a clip or there is no clip.
    bool mergeMediaArrayIntoMedia(const MediaData::Ptr& group, const MediaData::ClipList& clips);

    // --- Shared with the list's own drags ---
    // A clip for a move: copyMediaFromMedia, keeping the chosen audio stream.
    static MediaData::Ptr copyForMove(const MediaData& clip);
    // Merges `members` into `target`: a target without sub-clips first gets
    // a copy of itself (copyForMove) as its first sub-clip and gives up its
    // section; the members follow, filed under the target.
    static void mergeIntoMedia(const MediaData::Ptr& target, const MediaData::ClipList& members);
    // Inserts the items at `index` (capped at the end) in order.
    template <typename T>
    static void insertAt(QList<T>& list, qsizetype index, const QList<T>& items)
    {
        index = std::clamp<qsizetype>(index, 0, list.size());
        for (const T& item : items) {
            list.insert(index++, item);
        }
    }

private:
    Place insertPlace(qint32 level, const std::shared_ptr<Object>& anchor) const;

    const DataResource& m_project;
};
