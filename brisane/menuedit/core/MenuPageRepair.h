#pragma once
// The repairs every menu page gets when a project is opened or the disc side
// is rebuilt: the items the program places are laid out (new titles in the
// first free place, buttons in their band, nothing of the program's on
// anything else; MenuPageLayout), title pictures lying on top of each other
// are spread apart, and titles that lead to a chapter sub-menu show the
// picture of their first chapter that has a clip.
//
// Frames are in menu canvas units. Main thread, like the pages they change.

#include <QRectF>

class DVDPage;
class DVDPageItem;
class DVDResource;

class MenuPageRepair {
public:
    MenuPageRepair() = delete;

    // The most steps one title is moved while spreading.
    static constexpr int maxSpreadSteps = 50;

    // Lays out the items of the page that the program places, on the disc's
    // canvas (MenuPageLayout::layOutPage): a title without a frame takes the
    // first free place of the page, and what the user placed stays.
    static void flushMenuItemsFrameInPage(DVDPage& page, const DVDResource& disc);
    // Moves each title picture, in page order, by (+16, -10) and back into
    // `canvas` while it lies on another title, at most 50 times; each step is
    // stored as its frame and its last title frame.
    static void guaranteeNoOverlapInPage(DVDPage& page, const QRectF& canvas);
    // Whether the item's frame, shrunk by 5 on every side, lies wholly inside
    // the frame of another title picture of the page. Partly overlapping
    // titles, items of other types and frames too small to shrink do not
    // count.
    static bool isItemOverlapOtherItem(const DVDPageItem& item, const DVDPage& page);
    // For every title (type 1 or 4) leading to a sub-page: its menu picture
    // becomes the preview of the first sub-page title whose media is a clip;
    // none when no title there has one.
    static void updateHasSubMenuItemImageInPage(DVDPage& page);
};
