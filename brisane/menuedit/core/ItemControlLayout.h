#pragma once
// The rules of the floating item bar, free of widgets: its size and place
// beside the selected item, where its two buttons sit, the edit button's
// title for each kind of item, whether the go-to-sub-menu button is offered,
// and where an item dialog opens.
//
// The bar's frame is in menu canvas units (origin at the lower left, y up);
// its buttons are placed in the bar's own units, which the bar scales with
// the canvas. Pure functions; any thread.

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>

class DVDPageItem;

class ItemControlLayout {
public:
    ItemControlLayout() = delete;

    static constexpr double barHeight = 40.0;
    static constexpr double wideBarWidth = 257.0;
    // Without the go-to button: 70 less on each side.
    static constexpr double narrowBarWidth = 117.0;
    // The gap between the item and the bar.
    static constexpr double barGap = 5.0;
    // The canvas is widened by this much on the left and on the right when
    // judging whether the bar fits below or above the item.
    static constexpr double sideAllowance = 200.0;

    // 257 x 40 with the go-to button, 117 x 40 without.
    static QSizeF barSize(bool gotoSubMenuOffered);
    // The bar's frame for an item of `itemFrame`: 5 units below the item;
    // above it when below does not lie inside the canvas widened by 200 on
    // each side; below again when neither does; then clamped into the canvas.
    static QRectF barFrame(const QRectF& itemFrame, const QRectF& canvas, bool gotoSubMenuOffered);

    // The buttons inside the bar, in bar units (x from the bar's left edge):
    // with the go-to button the edit button at x 3 and the go-to button at
    // x 116, the edit button alone at x 4.
    static QRectF editButtonFrame(bool gotoSubMenuOffered);
    static QRectF gotoButtonFrame();

    // The edit button's title by item type: "Edit Frame" for a title picture
    // (1) or a text title (4), "Edit Text" for a static text (2), "Edit
    // Button" for the play, previous and next buttons (11, 12, 13), "Edit"
    // for anything else.
    static QString controlEditTitle(qint64 type);
    // Never for a static text (or no item); otherwise whether the item leads
    // to a sub-page.
    static bool controlGotoSubMenuEnable(const DVDPageItem* item);

    // The x of a dialog's left edge, in single precision: 50 points right of
    // the item's right edge on the screen, but never so far that the dialog
    // passes the screen's right edge.
    static float dialogX(double itemRight, double screenRight, double dialogWidth);
};
