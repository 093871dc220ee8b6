#pragma once
// Brings the disc side of a project (menu pages and their items) in step with
// its media side (list pages, titles, clips): one menu page per list page, one
// item on it per title, a chapter sub page with one item per clip for every
// title of two or more clips, and the previous, next and play buttons of every
// page.
//
// Pages, items and sub pages belong to the media objects they stand for
// (DVDPageData::menuPage, DVDTitleData::menuItem, MediaData::menuItem) and
// are kept across rebuilds with everything the user set on them; only what
// the list no longer supports is let go. The page list and every page's item
// list are refilled on each rebuild; static text items keep their place after
// the title items, in their former order.
//
// Pure model work on the main thread. Either root may be null: a rebuild then
// does nothing, and the durations fall back to 15 s.

#include <QList>
#include <QtGlobal>
#include <memory>

class DataResource;
class DVDPage;
class DVDPageData;
class DVDResource;
class DVDTitleData;
class MediaData;

class DiscSideRebuild {
public:
    // Makes `disc` the disc side of `media` (DataResource::dvdResource).
    DiscSideRebuild(std::shared_ptr<DataResource> media, std::shared_ptr<DVDResource> disc);

    // The whole rebuild: objects and links for every list page, then the page
    // list and the item lists, then the navigation buttons; last, every clip
    // of the list takes the disc's canvas as its output size.
    void flushDVDResourceBeforeEdit();

    // --- The three steps of the first pass ---
    // A clip of a title of two or more clips gets its chapter item (picture
    // 5.5 s into its section, kept inside it); any other clip loses its item.
    void flushMenuItemWithMediaData(const std::shared_ptr<MediaData>& clip);
    // A title gets its item; with two or more clips the item opens a chapter
    // sub page, otherwise none.
    void flushMenuItemWithDVDTitleData(const std::shared_ptr<DVDTitleData>& title);
    // A list page gets its menu page.
    void flushMenuPageWithDvdPageData(const std::shared_ptr<DVDPageData>& page);

    // Adds and removes the previous, next and play buttons of every page:
    // sub pages have previous and never next; top pages have previous when a
    // top page comes before them and next when one follows; the play button
    // follows showPlayButton. A top page of an empty list page beside others
    // is left alone.
    void updatePreNextButtonForDVDPageArray();

    // A new page whose duration is 15 s when the menus follow their music,
    // else getCurrentDVDMenuDuration().
    std::shared_ptr<DVDPage> getANewDVDPage() const;
    // The first page's duration when that is a finite number of seconds above
    // 1, else 15 (also with no page).
    double getCurrentDVDMenuDuration() const;

    // The media time at which a new chapter item shows its picture: 5.5 s
    // after the section's start, but never past its end nor before its start.
    static qint64 pictureTimeInSection(qint64 start, qint64 end);

private:
    void refillPage(const std::shared_ptr<DVDPageData>& listPage,
                    QList<std::shared_ptr<DVDPage>>& pages);

    std::shared_ptr<DataResource> m_media;
    std::shared_ptr<DVDResource> m_disc;
};
