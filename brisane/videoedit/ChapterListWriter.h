#pragma once
// Writes the chapters of the chapter editor into the title list, as
// ChapterApplyPlan says: every clip the apply needs is made first, so that a
// chapter that cannot be played leaves the project as it was; then the
// source's sections follow the markers, the new clips go near, into or after
// the clip the editor was opened from, and the clips that played the source
// before leave the list (the opened clip stays when the plan reuses it, with
// a fresh media item and picture). Nothing is written without a title list,
// or without a place there for the new clips.
//
// Made by the chapter editor with the title list and the document host it
// was given (not owned; either may be null). Main thread.

#include <QPointer>
#include <QSizeF>
#include <memory>

#include "model/MediaData.h"
#include "videoedit/core/ChapterApplyPlan.h"
#include "videoedit/core/ClipMarkerRules.h"

class IDocumentHost;
class ListEditViewController;
class ListTableView;
class MediaSectionItem;
class SectionDataResource;

class ChapterListWriter {
public:
    ChapterListWriter(ListEditViewController* list, IDocumentHost* host);

    // The menu canvas of the disc the clip belongs to: its media item's
    // output size, which its disc gives it; a new disc's without a media item.
    static QSizeF canvasOf(const MediaData& clip);

    // Writes the chapters between the markers of `source`, opened from
    // `clip`, by the plan of `kind`; `oldClips` played the source before.
    // Answers whether they were written (and the list reloaded).
    bool writeChapters(ChapterApplyPlan::Kind kind,
                       const std::shared_ptr<SectionDataResource>& source,
                       const MediaData::Ptr& clip, const ClipMarkerRules::Markers& markers,
                       const MediaData::ClipList& oldClips) const;

    // The clip's picture from its first piece, or "DefaultImage"; pictures
    // of photo clips stay.
    static void resetMediaPreviewImage(const MediaData::Ptr& media);

    // The title list operations a write uses, around the opened clip
    // `opened`; without a title list they log and do nothing.
    void insertMediaArrayToListTable(const MediaData::Ptr& opened,
                                     const MediaData::ClipList& clips) const;
    void addMediaArrayAfterMergedClip(const MediaData::Ptr& opened,
                                      const MediaData::ClipList& clips) const;
    void mergeMediaArrayToListTable(const MediaData::Ptr& opened,
                                    const MediaData::ClipList& clips) const;
    void removeMediaArrayInListTable(const MediaData::ClipList& clips) const;
    void listTableReloadView() const;

private:
    ListTableView* listTableView() const;
    // Whether the title list has the place the plan puts new clips at.
    bool hasPlaceInList(const ChapterApplyPlan& plan, const MediaData::Ptr& clip) const;
    void placeNewClips(ChapterApplyPlan::Placement placement, const MediaData::Ptr& opened,
                       const MediaData::ClipList& clips) const;

    QPointer<ListEditViewController> m_list;
    IDocumentHost* m_host;
};
