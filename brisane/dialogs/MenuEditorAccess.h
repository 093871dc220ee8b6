#pragma once
// What the menu item dialogs and their views read and ask of the menu editor
// that made them: the current item and page, the canvas, the page's items in
// the dialogs' order, the item bar and canvas redisplays, and the open
// project through the editor's document host. A small value, copied into
// every view that needs it; it does not own the editor, which owns the
// dialogs and outlives them. Every answer is empty (and every request does
// nothing) without an editor. Main thread.

#include <QList>
#include <QPointer>
#include <QRectF>
#include <memory>

class DVDLibraryResource;
class DVDPage;
class DVDPageItem;
class DVDResource;
class IDocumentHost;
class MenuEditViewController;

class MenuEditorAccess {
public:
    explicit MenuEditorAccess(MenuEditViewController* editor = nullptr);

    MenuEditViewController* menuEditController() const;
    // The editor's document host; null without one.
    IDocumentHost* documentHost() const;
    // The selected item (the dialogs' currentMedia); null for none.
    std::shared_ptr<DVDPageItem> currentItem() const;
    // The page on the canvas; null for none.
    std::shared_ptr<DVDPage> currentMenu() const;
    // The disc's menu canvas; the zero rectangle without a disc side.
    QRectF menuCanvasRect() const;
    // The current page's static texts, then its other items.
    QList<std::shared_ptr<DVDPageItem>> sourceArray() const;
    // The open project's disc side; null without one.
    std::shared_ptr<DVDResource> dvd() const;
    // The open project's template library; null without a document host.
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const;
    // `rect` made to fit inside the menu canvas.
    QRectF boundInCanvasLimit(const QRectF& rect) const;
    void updateItemControlViewFrame() const;
    // Redisplays the menu canvas.
    void displayCanvasView() const;
    // Marks the open project edited.
    void markDocumentEdited() const;

private:
    QPointer<MenuEditViewController> m_editor;
};
