#pragma once
// The application's drawing of a menu's three subpicture images, installed
// into Corvane's DVDMenuImageGenerator (install(), once at start; tests do the
// same). Colours and border width are the highlight settings of the disc the
// menu belongs to (DVDPage::dvdResource); a menu on no disc takes the open
// project's (ModelServices::current()->dvd()).
//
//   "menu_highlight"  every button's outline ring in the border colour (the
//                     default blue when the project has none), its inside in
//                     the fill colour
//   "menu_select"     every button's whole shape in black at alpha 0.35
//   "menu_image"      one white pixel at alpha 0.07 at (200, 200); no buttons
//   any other name    nothing
//
// Buttons are the page's elements that are valid and not static, each its
// frame scaled into the picture (DVDMenuMake::scaleRect) and grown by one
// pixel. The border is the project's width, cut to 30 % of the button's width
// and height; corners are rounded by the element's roundValue (a text item:
// half its shorter side times its background radius) when that is over 0.9.
// Drawing is without antialiasing, so a picture holds at most three colours
// besides transparency, as spumux needs.
//
// Coordinates are the generator's: one unit a pixel, origin bottom left, y
// up. Any thread; the project's settings are read, never written.

#include <QColor>
#include <QPainterPath>
#include <QSizeF>
#include <QString>
#include <memory>
#include <optional>

class DVDMenuElement;
class DVDMenuImageGenerator;
class DVDMenuPage;
class DVDResource;
class QPainter;

class DVDMenuImageGeneratorCustomImage {
public:
    DVDMenuImageGeneratorCustomImage() = delete;

    // Installs the drawing into Corvane's generator; uninstall restores the
    // generator's own.
    static void install();
    static void uninstall();

    // The installed drawing: `name` at `size` for the generator's menu, into
    // the current drawing context (DLBitmapImage::currentContext()).
    static void drawDVDMenuImageSize(DVDMenuImageGenerator& generator, const QSizeF& size,
                                     const QString& name);
    // The same with an explicit y-up painter and page (null: no buttons).
    static void drawDVDMenuImage(QPainter& painter, const DVDMenuPage* menu, const QSizeF& size,
                                 const QString& name);

    // The open project's highlight settings (invalid colours and 0 without a
    // project); with a disc, that disc's.
    static QColor getMenuItemImageDrawDVDBorderColor();
    static QColor getMenuItemImageDrawDVDBorderFillColor();
    static double getMenuItemImageDrawDVDBorderWidth();
    static QColor getMenuItemImageDrawDVDBorderColor(const DVDResource* disc);
    static QColor getMenuItemImageDrawDVDBorderFillColor(const DVDResource* disc);
    static double getMenuItemImageDrawDVDBorderWidth(const DVDResource* disc);
    // The disc whose settings draw `menu`: the page's own disc, else the open
    // project; null without either.
    static std::shared_ptr<DVDResource> discForMenu(const DVDMenuPage* menu);
    static bool getMenuItemImageDrawUseFill() { return true; }

    // The highlight colour when the project gives no border colour.
    static QColor defaultBorderColor();

    // One button's outline and inside in picture pixels (y up); none for an
    // element that gets no shape (invalid, static, or wholly off the picture).
    struct ButtonShape {
        QPainterPath outline;
        QPainterPath inside;
    };
    static std::optional<ButtonShape> buttonShape(const DVDMenuElement& element,
                                                  const QSizeF& menuSize, const QSizeF& size,
                                                  double borderWidth);
    // The corner radius the element asks for, before it is fitted to the button.
    static double cornerRadius(const DVDMenuElement& element, const QRectF& button);
};
