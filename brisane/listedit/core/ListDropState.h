#pragma once
// Where something dragged over the title list would land: the kind of row
// under the pointer (with the page, title, clip or sub-clip found there) and
// the drop target worked out from it, an insert after or at the top of an
// anchor, or a merge into a clip.
//
// Anchors are not owned: the list's tree owns its entries, and an anchor
// that has left the project reads back as null, so a stale drop state names
// no target. The anchor before the first page is the shared object
// firstPage().
//
// Main thread only, except that a drop reads a copy of it.

#include <QString>
#include <QtGlobal>
#include <memory>

#include "model/MediaData.h"

class DVDPageData;
class DVDTitleData;
class Object;

struct ListDropState {
    // Row kinds (dragToType).
    enum RowKind : quint64 {
        NoRow = 0,
        AboveFirstRow = 1,  // y below 10
        SubClipRow = 2,     // a sub-clip row or the gap below it
        ClipRow = 3,        // a clip row or the gap below it
        TitleRow = 4,       // a title row or the gap below it
        PageRow = 5,        // a page row or the gap below it
        TitleBlock = 6,     // a title with its clips
        PageBlock = 7,      // a page with its titles
        BelowLastRow = 8,   // y past the content height
    };
    // insertOrMerge.
    enum Target : qint32 { NoTarget = 0, Insert = 1, Merge = 2 };
    // insertedType: the level an insert goes in at.
    enum Level : qint32 { PageLevel = 1, TitleLevel = 2, ClipLevel = 3, SubClipLevel = 4 };

    quint64 dragToType = NoRow;
    std::weak_ptr<DVDPageData> dragToPage;
    std::weak_ptr<DVDTitleData> dragToTitle;
    std::weak_ptr<MediaData> dragToMedia;
    std::weak_ptr<MediaData> dragToSubMedia;
    qint32 insertOrMerge = NoTarget;
    qint32 insertedType = 0;
    // A DVDPageData, a DVDTitleData, a MediaData or firstPage().
    std::weak_ptr<Object> insertUnderData;
    std::weak_ptr<MediaData> mergeMedia;

    // Sets an insert at `level` after (or at the top of) `anchor`.
    void insertUnder(qint32 level, const std::shared_ptr<Object>& anchor);
    // Sets a merge into `clip`; the insert level and anchor stay.
    void mergeInto(const MediaData::Ptr& clip);
    // No row and no target; the level, the anchor and the merge clip stay.
    void reset();

    // The anchor "FirstPage": before the first page.
    static std::shared_ptr<Object> firstPage();
    static bool isFirstPage(const std::shared_ptr<Object>& anchor);
    static const QString& firstPageName();
};
