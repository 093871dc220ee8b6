#pragma once
// What a switch of the menus' aspect does to the project, free of widgets:
// the sideways shift that keeps every page's layout centred on the new
// canvas, moving the items of every page while their buttons stay apart, and
// giving every clip of the title list the new video size.
//
// From 16:9 to 4:3 the items move left by 106.666656 units, from 4:3 to 16:9
// right by 106.750008: half the change of the canvas width, in single
// precision as the editor has always computed it. Main thread.

#include <QList>
#include <QRectF>
#include <QtGlobal>
#include <memory>

class DataResource;
class DVDPage;
class DVDResource;

class MenuAspectSwitch {
public:
    MenuAspectSwitch() = delete;

    // The signed x shift of a switch away from `lastTimeAspect` (0 = 4:3,
    // else 16:9) onto a canvas `newCanvasWidth` units wide.
    static float shiftForSwitch(qint64 lastTimeAspect, double newCanvasWidth);
    // Moves every item of every page (buttons and texts too) by `shift` and
    // back into `canvas`; an item wider than the canvas is narrowed to it.
    // An item the program laid out stays the program's: its last title frame
    // moves with it, and the page layout places it again afterwards.
    //
    // The clamp must not put two buttons on each other: a button the user
    // placed that the clamp brought onto another button it was apart from,
    // or nearer to it than both the room the program keeps between items
    // and the room they had, takes the free room nearest to where the clamp
    // put it (MenuPageLayout::freeRect: clear of the user's other buttons
    // and, where there is room, of the program's; smaller only when it must).
    // Buttons the clamp did not move keep their places; buttons the user laid
    // on each other stay so. Static texts are no buttons and are only moved.
    static void moveItemsInPages(const QList<std::shared_ptr<DVDPage>>& pages, float shift,
                                 const QRectF& canvas);
    // Sets the output size of every clip of the title list (the members of a
    // merged clip in its place) to the disc's canvas size.
    static void changeClipOutputSizes(const DataResource& media, const DVDResource& disc);
};
