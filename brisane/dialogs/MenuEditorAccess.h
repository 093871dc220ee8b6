#pragma once
// What the menu item dialogs read and ask of the menu editor, found through
// ControllerFunction at the time of each call: the current item and page, the
// canvas, the page's items in the dialogs' order, and the item bar and canvas
// redisplays. Every answer is empty (and every request does nothing) while
// there is no menu editor, or while it is not the real one. Main thread.

#include <QList>
#include <QRectF>
#include <memory>

class DVDPage;
class DVDPageItem;
class DVDResource;
class MenuEditViewController;

class MenuEditorAccess {
public:
    MenuEditorAccess() = delete;

    static MenuEditViewController* menuEditController();
    // The selected item (the dialogs' currentMedia); null for none.
    static std::shared_ptr<DVDPageItem> currentItem();
    // The page on the canvas; null for none.
    static std::shared_ptr<DVDPage> currentMenu();
    // The disc's menu canvas; the zero rectangle without a disc side.
    static QRectF menuCanvasRect();
    // The current page's static texts, then its other items.
    static QList<std::shared_ptr<DVDPageItem>> sourceArray();
    // The open project's disc side (through the model's services).
    static std::shared_ptr<DVDResource> dvd();
    // `rect` made to fit inside the menu canvas.
    static QRectF boundInCanvasLimit(const QRectF& rect);
    static void updateItemControlViewFrame();
    static void displayCanvasView();
};
