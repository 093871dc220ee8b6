#pragma once
// A square tile of a menu dialog's template list: it shows a template's
// picture fitted inside it and, when the edited item uses that template, a
// yellow highlight. A click gives the item the tile's template, when the
// dialog lets it, and redraws the whole grid (so the highlight moves) and the
// menu canvas.
//
// Geometry (Qt's y-down pixels; a tile is 90 x 90): the picture goes into the
// bounds inset by 10, scaled uniformly and centred; the highlight is the
// bounds inset by 3 with corners of radius 5, filled yellow at alpha 0.1 and
// stroked opaque yellow 2 wide. Main thread.

#include <QImage>
#include <QRectF>
#include <QWidget>

#include "dialogs/MenuEditorAccess.h"

class TemplateTileView : public QWidget {
    Q_OBJECT
public:
    static constexpr int tileSide = 90;
    static constexpr double imageInset = 10.0;
    static constexpr double highlightInset = 3.0;
    static constexpr double highlightRadius = 5.0;

    // A tile in `parent` of a dialog of `editor`'s.
    TemplateTileView(MenuEditorAccess editor, QWidget* parent);

    QImage image() const { return image_; }
    void setImage(const QImage& image);

    // The picture rectangle of a tile of `bounds`.
    static QRectF imageRect(const QRectF& bounds);
    // Where a picture of `size` is drawn in a tile of `bounds`.
    static QRectF pictureRect(const QSizeF& size, const QRectF& bounds);
    // The highlight's rectangle.
    static QRectF highlightRect(const QRectF& bounds);

    // Whether the edited item uses this tile's template.
    virtual bool isChosen() const = 0;
    // Whether a click gives the item the template now.
    virtual bool clickActs() const = 0;
    // Gives the edited item the template.
    virtual void choose() = 0;

    // A click, as the mouse gives it.
    void click();

protected:
    // The edited item; null for none.
    std::shared_ptr<DVDPageItem> currentItem() const { return editor_.currentItem(); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    MenuEditorAccess editor_;
    QImage image_;
};
