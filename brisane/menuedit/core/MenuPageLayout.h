#pragma once
// The layout the program gives a menu page by itself: title pictures in the
// places of the page's template, the previous, play and next buttons in a
// band below them, and every title that finds no free place in the page's
// free space, smaller where it has to be. No two items the program lays out
// overlap each other or an item the user placed, and each lies inside the
// canvas, so the button areas the disc gets are apart.
//
// An item is the program's while its frame is the one the program last gave
// it (lastTimeTitleFrame), for a title that has no frame yet, and for a
// button never laid out that still has the frame every new page gives it
// (maybe refitted to its picture's shape, as a project load does). Any other
// frame was set by the user (moved, resized) and is never changed here.
// Static texts are decoration: they neither move nor take room. A button
// laid out takes the shape of its picture, as large as fits in its room.
//
// Frames are in menu canvas units, origin at the lower left, y up. Pure model
// work on the main thread, like the pages it changes.

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QtGlobal>
#include <optional>

class DVDPage;
class DVDPageItem;

class MenuPageLayout {
public:
    MenuPageLayout() = delete;

    // Room kept between two items the program lays out in free space, and
    // between such an item and the edge of the canvas.
    static constexpr double itemGap = 8.0;
    // A title picture and a button in their places.
    static constexpr QSizeF titleSize{200.0, 150.0};
    static constexpr QSizeF buttonSize{80.0, 70.0};
    // How far an item in free space may shrink.
    static constexpr double smallestScale = 0.2;

    // The places of a page's title pictures on a canvas of `canvas` size, in
    // the order new titles take them: the upper and lower quarter centres,
    // the lower row raised above the button band, then the middle when it
    // keeps clear of the others (16:9 only).
    static QList<QRectF> titlePlaces(const QSizeF& canvas);
    // The place of a play (11), previous (12) or next (13) button: a band
    // along the lower edge, previous under the left column, next under the
    // right one, play in the middle. The zero rectangle for other types.
    static QRectF buttonPlace(qint64 type, const QSizeF& canvas);

    // Whether the program may place the item (see above).
    static bool isPlacedByProgram(const DVDPageItem& item);
    // Whether two frames share an area; frames that only touch are apart.
    // Frames that went through single precision are compared with a small
    // tolerance.
    static bool overlaps(const QRectF& a, const QRectF& b);

    // Lays the page out: the user's items stay; the program's titles keep
    // their frames while they lie inside the canvas and clear of what was
    // kept before them; its buttons take their places when free; the titles
    // left over (new ones first of all) take the first free place, else room
    // in the free space; the buttons left over take room nearest their
    // places. Every frame given is also stored as the last title frame.
    static void layOutPage(DVDPage& page, const QRectF& canvas);

    // The largest rectangle of `size` scaled by 1, 0.95, ... down to
    // smallestScale that lies inside `canvas` and `itemGap` clear of its
    // edges and of every rectangle of `taken`; of those of one scale the one
    // whose centre is nearest `near`. None when even the smallest finds no
    // room.
    static std::optional<QRectF> freeRect(const QSizeF& size, const QPointF& near,
                                          const QRectF& canvas, const QList<QRectF>& taken);
};
