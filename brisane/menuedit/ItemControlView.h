#pragma once
// The small bar that floats beside the one selected menu item, with an edit
// button titled after what it edits ("Edit Frame", "Edit Text", "Edit
// Button", "Edit") and, for a title leading to a chapter sub-menu, a button
// that goes into that sub-menu. The edit button opens the matching item
// dialog beside the item.
//
// The bar is a child of the canvas view. Its frame is kept in canvas units
// and placed through the canvas's transform; its buttons sit at fixed places
// in the bar's own units and scale with it. The controller shows, hides and
// places the bar; the bar reads the controller's current item and page. The
// properties "controlEditTitle" (bound to the edit button's title) and
// "controlGotoSubMenuEnable" are announced on keys(); the go-to button is
// shown or hidden at once by flushButtonFrameInView. Main thread.

#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>

#include "common/PropertyNotifier.h"

class DVDPage;
class DVDPageItem;
class MenuEditViewController;
class QPushButton;

class ItemControlView : public QWidget {
    Q_OBJECT
public:
    // `controller` is not owned and outlives the bar.
    explicit ItemControlView(MenuEditViewController* controller, QWidget* parent = nullptr);

    MenuEditViewController* controller() const { return controller_; }
    std::shared_ptr<DVDPageItem> currentItem() const;
    std::shared_ptr<DVDPage> currentPage() const;

    QString controlEditTitle() const;
    bool controlGotoSubMenuEnable() const;
    // Where the bound properties are announced.
    PropertyNotifier& keys() { return keys_; }

    // Announces both properties, then lays out the buttons. Called on every
    // change of the current item.
    void flushControlViewButtonEnable();
    // Shows the go-to button with the edit button at x 3 and itself at x 116,
    // or hides it with the edit button at x 4.
    void flushButtonFrameInView();

    // The edit button: by the current item's type, the title dialog (title
    // pictures and text titles), the static-text window (static texts) or the
    // button dialog (play, previous, next) is prepared, placed beside the
    // item and run; any other type does nothing.
    void editButtonAction();
    // The go-to button: shows the current item's sub-page.
    void gotoSubmenuAction();
    // Places the title or button dialog's window (by the current item's type)
    // with its left edge 50 points right of the item, but ending at the
    // screen's right edge at the latest. The main window's screen.
    void resetWndFrame();
    // The same for the title dialog's static-text window.
    void resetStaticTextWndFrame();

    QPushButton* controlEditBtn() const { return controlEditBtn_; }
    QPushButton* controlMenuBtn() const { return controlMenuBtn_; }

    // The bar's frame in canvas units, as last placed.
    QRectF canvasFrame() const { return canvasFrame_; }
    void setCanvasFrame(const QRectF& frame) { canvasFrame_ = frame; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeWindowBesideItem(QWidget* window);
    void layoutButtons();
    static void runModal(QWidget* window);

    MenuEditViewController* controller_;
    PropertyNotifier keys_;
    QPushButton* controlEditBtn_;
    QPushButton* controlMenuBtn_;
    QRectF canvasFrame_;
};
