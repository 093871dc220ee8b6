#pragma once
// A small template bundle written by a test, plus test doubles for the
// objects Corvane draws through: a fixed-picture element, a title resource
// that paints its "video" in one colour and a text source.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibraryResource.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuItemTextSource.h"
#include "corvane/DVDTitleResource.h"

namespace templatefixture {

inline QImage solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

inline void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

inline void writePng(const QString& path, const QImage& image)
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(image.save(path, "PNG"));
}

// A 20 x 20 frame: a white 2-pixel border, transparent inside. Its mask is
// opaque over the left 4 columns only.
inline QImage framePicture()
{
    QImage image = solid(20, 20, Qt::white);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(2, 2, 16, 16, Qt::transparent);
    return image;
}

inline QImage maskPicture()
{
    QImage image = solid(20, 20, Qt::transparent);
    QPainter p(&image);
    p.fillRect(0, 0, 4, 20, Qt::black);
    return image;
}

inline QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
           "\n</plist>\n";
}

// A bundle with unsorted names, hidden files and a few bad pages.
struct Bundle {
    QTemporaryDir dir = testsupport::makeTempDir();
    QString path = dir.filePath("menu_template.plugin");

    Bundle()
    {
        const QImage button = solid(8, 6, Qt::red);
        for (const char* name :
             {"b-next.png", "a-play.png", "a-pre.png", ".hidden-play.png", "Z-play.png"}) {
            writePng(path + "/buttons/" + name, button);
        }
        writePng(path + "/frames/plain-frame.png", framePicture());
        writePng(path + "/frames/plain-mask.png", maskPicture());
        writePng(path + "/frames/fancy-frame.png", framePicture());
        writeFile(path + "/frames/fancy-notes.txt", "not a frame");
        writePng(path + "/backgrounds/blue.png", solid(16, 9, Qt::blue));
        writePng(path + "/backgrounds/green.png", solid(4, 3, Qt::green));
        writeFile(path + "/menus/Party-1.plist",
                  plist("<dict><key>menuSize</key><string>{854, 480}</string>"
                        "<key>backgroundImageRect</key><string>{{1, 2}, {3, 4}}</string>"
                        "<key>bgName</key><string>green</string>"
                        "<key>items</key><array>"
                        "<dict><key>frame</key><string>{{10, 20}, {100, 80}}</string>"
                        "<key>rotation</key><real>12.5</real><key>level</key><integer>5</integer>"
                        "<key>itemBehind</key><true/><key>frameName</key><string>plain</string>"
                        "</dict>"
                        "<dict><key>frame</key><string>{{300, 40}, {80, 50}}</string>"
                        "<key>level</key><integer>2</integer>"
                        "<key>buttonName</key><string>a-play</string>"
                        "<key>textInfo</key><string>ignored</string></dict>"
                        "<dict><key>frameName</key><string>missing</string></dict>"
                        "</array></dict>"));
        writeFile(path + "/menus/Li.plist", plist("<array><string>not a page</string></array>"));
        writeFile(path + "/menus/Broken-0.plist", "<plist><dict><key>menuSize</key>");
        writeFile(path + "/menus/Empty-0.plist",
                  plist("<dict><key>menuSize</key><string>{640, 480}</string>"
                        "<key>bgName</key><string></string></dict>"));
    }
};

// An element with a fixed picture, for page drawing.
class PictureElement : public DVDMenuElement {
public:
    PictureElement(QRectF frame, QImage picture, int level = 0)
        : m_frame(frame), m_picture(std::move(picture)), m_level(level)
    {
    }
    double rotation() const override { return m_rotation; }
    int level() const override { return m_level; }
    bool isValid() const override { return true; }
    bool highlightModeEmptyInDVD() const override { return false; }
    bool isStaticItem() const override { return true; }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return false; }
    QRectF frame() const override { return m_frame; }
    QImage imageAtTime(qint64) override { return m_picture; }
    std::shared_ptr<Object> jump() const override { return nullptr; }
    std::optional<Shadow> shadow() const override { return m_shadow; }
    double roundValue() const override { return 0; }

    double m_rotation = 0;
    std::optional<Shadow> m_shadow;

private:
    QRectF m_frame;
    QImage m_picture;
    int m_level;
};

// A title whose video is one colour; remembers the last time it was asked for.
class ColourTitle : public DVDTitleResource {
public:
    explicit ColourTitle(QColor colour) : m_colour(colour) {}
    bool useVideoFrame() const override { return true; }
    void item(DVDMenuElement&, qint64 time, QPainter& context) override
    {
        lastTime = time;
        context.fillRect(QRectF(0, 0, context.device()->width(), context.device()->height()),
                         m_colour);
    }
    void setVideoSize(QSizeF) override {}
    QList<ObjectPtr> vcmovies() const override { return {}; }
    void setExportMovie(bool) override {}
    void setCurrentTime(qint64) override {}
    void flushOperation() override {}

    qint64 lastTime = -1;

private:
    QColor m_colour;
};

class TextSource : public DVDMenuItemTextSource {
public:
    QImage textSourceImage() override { return solid(30, 10, Qt::yellow); }
    void setMenuItem(const std::shared_ptr<Object>& item) override { menuItem = item; }
    std::shared_ptr<DVDMenuItemTextSource> copy() const override
    {
        return std::make_shared<TextSource>();
    }
    std::weak_ptr<Object> menuItem;
};

// The colour of the pixel at (x, y) counted from the bottom-left corner.
inline QColor pixelUp(const QImage& image, int x, int y)
{
    return image.pixelColor(x, image.height() - 1 - y);
}

inline bool near(QColor a, QColor b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance &&
           std::abs(a.alpha() - b.alpha()) <= tolerance;
}

}  // namespace templatefixture
