#pragma once
// The picture operations of the controller functions: titles drawn in a box,
// the pictures of the image buttons, the largest 16:9 canvas of a picture,
// loading pictures through PNG, and the default thumbnail.
//
// Rectangles are in the painter's own coordinates (Qt, y down). Font sizes are
// pixels. A null or empty string draws nothing; a file that cannot be read or
// decoded gives a null image. The controller accessors of the application
// shell join these under one name by deriving from this class.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

class ControllerFunctionImages {
public:
    ControllerFunctionImages() = delete;

    // The family of the list titles, "STIXGeneral", or the default family
    // when that font is not installed.
    static QString titleFontFamily();

    // Draws the string in the title font, vertically centred in the rect and
    // starting at its left edge, at its natural width.
    static void drawTitleAtRect(QPainter& painter, const QRectF& rect, const QString& string,
                                int fontSize, const QColor& color);
    // Draws the string in the system font, centred both ways in the rect.
    static void drawBtnTitleAtRect(QPainter& painter, const QRectF& rect, const QString& string,
                                   int fontSize, const QColor& color);

    // The picture of an image button of `size`: when selected a dark rounded
    // plate, the named picture fitted above the title, and the title in white
    // (selected) or light grey.
    static QImage buttonImage(const QSize& size, const QString& imageName, const QString& title,
                              bool selected);
    // The pressed picture: always the lighter plate and a light grey title.
    static QImage alterButtonImage(const QSize& size, const QString& imageName,
                                   const QString& title);

    // The largest 16:9 rectangle inside {0, 0, size}, centred; zero for an
    // empty size.
    static QRectF imageCanvasWithMax16_9RectWithImage(const QSizeF& size);
    static QRectF imageCanvasWithMax16_9RectWithImage(const QImage& image);

    // The file decoded and re-encoded as PNG, then decoded again; null when
    // the file cannot be read or is not a picture. Read as BoundedImage
    // reads: a regular file of bounded size holding a picture of bounded size.
    static QImage getNSImageFromPath(const QString& path);
    // The same re-encoding of a picture in memory; null for a null picture.
    static QImage getNSImageFromErrNSImage(const QImage& image);
    // The PNG encoding of a picture; empty for a null picture.
    static QByteArray pngData(const QImage& image);
    // A picture of the frame's size holding its inner part: the frame is
    // stretched so that 36 pixels are cut at the left and right, 30 at the
    // top and 45 at the bottom.
    static QImage imageFromCGImageRefForQuickTime(const QImage& frame);
    // The named picture "DefaultImage", whatever the path.
    static QImage getThumbnailFromPath(const QString& path);
    // The string, or an empty (not null) string for a null one.
    static QString stringNoneNil(const QString& string);
};
