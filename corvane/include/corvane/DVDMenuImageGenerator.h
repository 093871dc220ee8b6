#pragma once
// Draws the three subpicture images of a menu page: "menu_highlight" (shown
// on the selected button), "menu_select" (shown while it is pressed) and
// "menu_image" (the normal overlay), each of the disc's DVD frame size.
//
// The application may install its own drawing (setDrawDVDMenuImageHook); it
// is called with the image name and the frame size and draws into the current
// context (DLBitmapImage::currentContext(): a transparent surface of that
// size, origin bottom left, y up). Anything it throws is caught and logged,
// and whatever it drew so far is kept. Without it the generator draws its own
// images: the whole frame in one colour per name, with the inside of every
// valid video element (title and chapter pictures) left clear but for a
// 10-pixel border.
//
// Drawing uses QImage only, so a generator may work on any thread; one
// generator is used by one thread at a time.

#include <QImage>
#include <QPainterPath>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>

class DVDLibrary;
class DVDMenuPage;

class DVDMenuImageGenerator {
public:
    using DrawHook = std::function<void(DVDMenuImageGenerator& generator, const QString& name,
                                        const QSizeF& size)>;
    // Process-wide: the application's drawing of the three images; an empty
    // hook restores the generator's own drawing.
    static void setDrawDVDMenuImageHook(DrawHook hook);
    static bool respondsToDrawDVDMenuImage();

    std::shared_ptr<DVDMenuPage> menu() const { return m_menu; }
    void setMenu(const std::shared_ptr<DVDMenuPage>& menu) { m_menu = menu; }
    std::shared_ptr<const DVDLibrary> dvd() const { return m_dvd; }
    void setDvd(const std::shared_ptr<const DVDLibrary>& dvd) { m_dvd = dvd; }

    // The disc's DVD frame size; empty without a disc.
    QSize getDVDVideoFormatSize() const;

    // The named image, drawn now; a null image without a disc.
    QImage generatorImageForName(const QString& name);
    // Replaces the file at `path` by the named image as PNG, written
    // atomically; false when nothing could be written.
    bool generatorImageForName(const QString& name, const QString& path);

    // The areas the fallback highlight leaves clear: for every valid element
    // of `page` that shows video, its frame scaled to this generator's disc
    // frame and inset by 10 pixels, in y-up frame coordinates. (The disc
    // passed is not used; the frame size is always this generator's.)
    QPainterPath hightlightMaskForMenu(const std::shared_ptr<DVDMenuPage>& page,
                                       const std::shared_ptr<const DVDLibrary>& dvd) const;

    // The installed drawing for `name` at `size`, into the current context;
    // nothing when none is installed. Exceptions pass on to the caller.
    void drawDVDMenuImageSize(const QString& name, const QSizeF& size);

private:
    static QColor fallbackColor(const QString& name);
    void drawFallback(QPainter& painter, const QString& name, const QSize& size) const;
    void drawInstalled(const QString& name, const QSizeF& size);

    std::shared_ptr<DVDMenuPage> m_menu;
    std::shared_ptr<const DVDLibrary> m_dvd;
};
