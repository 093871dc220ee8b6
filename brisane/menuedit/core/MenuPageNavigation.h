#pragma once
// Paging through the menus in the menu editor, free of widgets. The top
// pages are the disc's noSubMenuArray, in order; a chapter sub-page is not
// among them and leads back to the page it was opened from.
//
// Every answer is null or NO for a null page or disc. Main thread.

#include <memory>

class DVDPage;
class DVDResource;

class MenuPageNavigation {
public:
    MenuPageNavigation() = delete;

    // YES for a sub-page, or when a top page precedes `page`.
    static bool hasLastMenu(const DVDResource* disc, const DVDPage* page);
    // YES when a top page follows `page` (never for a sub-page).
    static bool hasNextMenu(const DVDResource* disc, const DVDPage* page);
    // A sub-page's parent page, or the top page before `page`.
    static std::shared_ptr<DVDPage> previousPage(const DVDResource* disc,
                                                 const std::shared_ptr<DVDPage>& page);
    // The top page after `page`; null at the last and from a sub-page.
    static std::shared_ptr<DVDPage> nextPage(const DVDResource* disc,
                                             const std::shared_ptr<DVDPage>& page);
    // The first top page: the page a freshly opened project shows.
    static std::shared_ptr<DVDPage> firstPage(const DVDResource* disc);
};
