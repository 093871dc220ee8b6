#pragma once
// What an apply of the chapter editor does with the clip it was opened from
// (the opened clip) and the chapters, decided from the apply's kind, the
// number of chapters and whether the opened clip is a sub-clip of a merged
// clip. The editor carries the plan out; see ClipEditWindowController.
//
// A chapter's clip is either the opened clip reused (its section re-timed to
// the chapter, a fresh media item) or a new clip over a new section of the
// source. Only chapter 0 is ever made by reuse.
//
//   kind     chapters  sub-clip  chapter 0  new clips go              opened clip
//   Video    < 2       either    reuse      nowhere                   stays
//   Video    >= 2      yes       reuse      after it, among its       stays
//                                           merged clip's sub-clips
//   Video    >= 2      no        new        into it, as its sub-clips stays (merged);
//                                                                     its section goes first
//   Submenu  < 2       either    reuse      nowhere                   stays
//   Submenu  >= 2      yes       new        into the title, after     removed
//                                           its merged clip
//   Submenu  >= 2      no        reuse      into its title, after it  stays
//
// Plain value; any thread.

#include <QtGlobal>

struct ChapterApplyPlan {
    enum class Kind { Video, Submenu };
    // Where the new clips go in the title list.
    enum class Placement {
        None,
        // insertMediaArrayToListTable: after the opened clip, among the
        // sub-clips of its merged clip when it is a sub-clip.
        NearClip,
        // mergeMediaArrayToListTable: the sub-clips of the opened clip.
        IntoClip,
        // Into the opened clip's title, right after its merged clip.
        AfterMergedClip,
    };

    bool reuseForFirstChapter = true;
    bool dropOwnSectionFirst = false;
    Placement placement = Placement::None;
    bool removeOpenedClip = false;

    static ChapterApplyPlan planFor(Kind kind, qsizetype chapters, bool isSubMedia);

    bool operator==(const ChapterApplyPlan&) const = default;
};
