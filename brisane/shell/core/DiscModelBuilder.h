#pragma once
// Builds the disc model that preview and production work on: a new
// DVDLibrary with the project's disc settings, its menus the project's own
// menu pages, and titles and chapters made afresh from the clips the menu
// items lead to.
//
// With menus, every playable item of every page (neither a static text nor a
// button, and not one that opens a chapter sub page) gives one title, in page
// and item order; a merged clip gives one chapter per member. Without menus
// all of them are the chapters of the one title of the disc.
//
// A build also writes links into the project's pages for as long as the next
// build does not overwrite them: each menu's `dvd`, each sub page's `parent`,
// and the jumps of every page's previous, next and play buttons.
//
// Items that lead to nothing playable are skipped: a title without clips, an
// item whose clip or title is gone, a merged clip without members. A clip
// with nothing to play (its source could not be opened) gives no chapter,
// and a title without chapters is left out of the library; such clips are
// listed (clipsWithNothingToPlay), so that production can refuse a disc
// with fewer titles than the menus show.
//
// Main thread. Expects the disc side to be in step with the list
// (DiscSideRebuild).

#include <QList>
#include <memory>

#include "platform/Object.h"

class DVDLibrary;
class DVDPage;
class DVDResource;
class MediaData;

class DiscModelBuilder {
public:
    explicit DiscModelBuilder(std::shared_ptr<DVDResource> disc);

    // A new library; null when there is no disc side.
    std::shared_ptr<DVDLibrary> getDVDObj() const;
    // The clips the last getDVDObj left out because they had nothing to play.
    const QList<std::shared_ptr<MediaData>>& clipsWithNothingToPlay() const
    {
        return m_clipsWithNothingToPlay;
    }

    // Sets where the play button of each of the library's menus jumps: to the
    // chapter it starts (it is then listed first among the chapter's items
    // and has no jump of its own), to a sub page, or to its own page.
    static void updateDVDMenuPlayBtn(const DVDLibrary& dvd);
    // What a page's play button starts: the first chapter of the first item
    // that leads to one; else the sub page of the first item that opens one;
    // else null.
    static ObjectPtr findMenuPlayJumpForMenu(const DVDPage& menu, const DVDLibrary& dvd);

private:
    std::shared_ptr<DVDResource> m_disc;
    mutable QList<std::shared_ptr<MediaData>> m_clipsWithNothingToPlay;
};
