#pragma once
// The application's drawing of a menu's three subpicture images, installed
// into Corvane's DVDMenuImageGenerator (install(), once at start; tests do the
// same). Colours and border width are the highlight style of the disc the
// menu belongs to: its page's own disc (DVDPage::dvdResource) unless the
// installer says otherwise; a menu on no disc draws with the empty style.
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
#include <functional>
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

    // The colours and border width a menu's buttons are drawn with: invalid
    // colours and 0 when there is no disc.
    struct HighlightStyle {
        QColor borderColor;
        QColor fillColor;
        double borderWidth = 0.0;
    };
    static HighlightStyle styleForDisc(const DVDResource* disc);

    // Finds the disc whose style draws a menu; null for none. Any thread.
    using DiscLookup = std::function<std::shared_ptr<DVDResource>(const DVDMenuPage* menu)>;

    // Installs the drawing into Corvane's generator, each menu drawn in the
    // style of the disc `lookup` finds for it (empty: discForMenu);
    // uninstall restores the generator's own.
    static void install(DiscLookup lookup = {});
    static void uninstall();

    // The installed drawing: `name` at `size` for the generator's menu, into
    // the current drawing context (DLBitmapImage::currentContext()).
    static void drawDVDMenuImageSize(DVDMenuImageGenerator& generator, const QSizeF& size,
                                     const QString& name, const HighlightStyle& style);
    // The same with an explicit y-up painter and page (null: no buttons).
    static void drawDVDMenuImage(QPainter& painter, const DVDMenuPage* menu, const QSizeF& size,
                                 const QString& name, const HighlightStyle& style);
    // The same in the style of the menu's own disc (discForMenu).
    static void drawDVDMenuImage(QPainter& painter, const DVDMenuPage* menu, const QSizeF& size,
                                 const QString& name);

    // A disc's highlight settings (invalid colours and 0 without a disc).
    static QColor getMenuItemImageDrawDVDBorderColor(const DVDResource* disc);
    static QColor getMenuItemImageDrawDVDBorderFillColor(const DVDResource* disc);
    static double getMenuItemImageDrawDVDBorderWidth(const DVDResource* disc);
    // The disc whose settings draw `menu`: the page's own disc; null for a
    // menu on no disc.
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
