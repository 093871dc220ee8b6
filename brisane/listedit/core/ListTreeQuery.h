#pragma once
// Questions about the title list's tree that drops and drags ask: whether an
// entry is still in the project's list, which title holds a clip, and the
// entries at the ends of a title, a merged clip and the whole list.
//
// Pure functions over the project model; main thread only, as the model.

#include <memory>

#include "model/DataResource.h"
#include "model/MediaData.h"

class DVDPageData;
class DVDTitleData;
class Object;

class ListTreeQuery {
public:
    ListTreeQuery() = delete;

    // Whether the entry is listed now: a page among the project's pages, a
    // title in its listed page, a clip in its listed title, a sub-clip among
    // the sub-clips of its listed merged clip.
    static bool containsPage(const DataResource& project, const DVDPageData* page);
    static bool containsTitle(const DataResource& project, const DVDTitleData* title);
    static bool containsClip(const DataResource& project, const MediaData* clip);
    // Any of the three.
    static bool containsEntry(const DataResource& project, const Object* entry);

    // The title that holds the clip, or for a sub-clip the title that holds
    // its merged clip; null when there is none.
    static std::shared_ptr<DVDTitleData> titleOfClip(const MediaData& clip);

    // The sub-clip before the given one in its merged clip, or the merged
    // clip itself for the first; null when the clip is not found there.
    static MediaData::Ptr preMediaBeforeSubMediaData(const MediaData::Ptr& sub);
    // The title's last clip, or that clip's last sub-clip when it is merged.
    static MediaData::Ptr finalMediaForDVDTitleData(const DVDTitleData& title);
    // finalMediaForDVDTitleData of the last title of the last page, or the
    // last page itself when it has no titles; null without pages.
    static std::shared_ptr<Object> finalMediaForAll(const DataResource::PageList& pages);

    // Whether the clip is the last of its title's clips.
    static bool isLastClipOfTitle(const MediaData& clip);
    // Whether the sub-clip is the last of its merged clip's sub-clips.
    static bool isLastSubClip(const MediaData& sub);
};
