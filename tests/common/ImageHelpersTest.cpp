// Picture helpers: geometry, rotation, tiling, tinting, PNG loading, titles.
#include <gtest/gtest.h>
#include <QFile>
#include <QPainter>
#include <QPushButton>

#include "PictureOutput.h"
#include "TestSupport.h"
#include "common/CommonFunctionImages.h"
#include "common/ControllerFunctionImages.h"
#include "common/ImageExtention.h"
#include "common/NamedImage.h"
#include "common/widgets/ControllerFunctionButtons.h"

namespace {

QImage solid(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

QImage clearImage(int width, int height)
{
    return solid(width, height, Qt::transparent);
}

bool isColor(const QImage& image, int x, int y, QColor expected, int tolerance = 8)
{
    const QColor c = image.pixelColor(x, y);
    return std::abs(c.red() - expected.red()) <= tolerance &&
           std::abs(c.green() - expected.green()) <= tolerance &&
           std::abs(c.blue() - expected.blue()) <= tolerance &&
           std::abs(c.alpha() - expected.alpha()) <= tolerance;
}

int opaquePixels(const QImage& image, QRect area = {})
{
    if (area.isNull()) {
        area = image.rect();
    }
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST(ImageHelpers, Largest16By9Canvas)
{
    struct Case {
        QSizeF size;
        QRectF expected;
    };
    const Case cases[] = {
        {{1920, 1080}, {0, 0, 1920, 1080}},
        {{800, 600}, {0, 75, 800, 450}},
        {{2000, 1000}, {1000 - 1777.7777777777778 / 2, 0, 1777.7777777777778, 1000}},
        {{0, 0}, {0, 0, 0, 0}},
        {{100, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const QRectF r = ControllerFunctionImages::imageCanvasWithMax16_9RectWithImage(c.size);
        EXPECT_NEAR(r.x(), c.expected.x(), 1e-9) << c.size.width();
        EXPECT_NEAR(r.y(), c.expected.y(), 1e-9) << c.size.width();
        EXPECT_NEAR(r.width(), c.expected.width(), 1e-9) << c.size.width();
        EXPECT_NEAR(r.height(), c.expected.height(), 1e-9) << c.size.width();
    }
    EXPECT_EQ(ControllerFunctionImages::imageCanvasWithMax16_9RectWithImage(QImage()), QRectF());
}

TEST(ImageHelpers, FitLetterboxesAndEnlarges)
{
    EXPECT_EQ(CommonFunctionImages::fitRect({0, 0, 200, 100}, {0, 0, 100, 100}),
              QRectF(0, 25, 100, 50));
    EXPECT_EQ(CommonFunctionImages::fitRect({0, 0, 50, 25}, {0, 0, 200, 200}),
              QRectF(0, 50, 200, 100));
    const QRectF empty = CommonFunctionImages::fitRect({0, 0, 0, 0}, {0, 0, 100, 100});
    EXPECT_EQ(empty, QRectF(50, 50, 0, 0));

    QImage canvas = clearImage(100, 100);
    QPainter painter(&canvas);
    CommonFunctionImages::drawImage(painter, solid(200, 100, Qt::red), canvas.rect());
    CommonFunctionImages::drawImage(painter, QImage(), canvas.rect());  // nothing
    painter.end();
    EXPECT_TRUE(isColor(canvas, 50, 20, Qt::transparent));
    EXPECT_TRUE(isColor(canvas, 50, 30, Qt::red));
    EXPECT_TRUE(isColor(canvas, 50, 80, Qt::transparent));
}

TEST(ImageHelpers, RotateTurnsAboutTheCentreAndCutsAtTheEdges)
{
    EXPECT_TRUE(CommonFunctionImages::rotateImage(solid(4, 4, Qt::red), {0, 0}, 90).isNull());
    // Left half red, right half blue.
    QImage source = solid(40, 20, Qt::blue);
    QPainter(&source).fillRect(0, 0, 20, 20, Qt::red);
    const QImage turned = CommonFunctionImages::rotateImage(source, {40, 20}, 90);
    ASSERT_EQ(turned.size(), QSize(40, 20));
    // Counter-clockwise: the left half goes down, the right half up.
    EXPECT_TRUE(isColor(turned, 20, 15, Qt::red));
    EXPECT_TRUE(isColor(turned, 20, 4, Qt::blue));
    EXPECT_TRUE(isColor(turned, 3, 10, Qt::transparent));
    EXPECT_TRUE(isColor(turned, 36, 10, Qt::transparent));
    const QImage back = CommonFunctionImages::rotateImage(source, {40, 20}, -90);
    EXPECT_TRUE(isColor(back, 20, 4, Qt::red));
    savePictureForViewing(turned, "rotate-90");
}

TEST(ImageHelpers, TilingWithoutScalingStopsAt99Tiles)
{
    const QImage tile = solid(10, 10, Qt::green);
    const QImage tiled = CommonFunctionImages::getNoScaledImage(tile, {35, 20});
    ASSERT_EQ(tiled.size(), QSize(35, 20));
    EXPECT_EQ(opaquePixels(tiled), 35 * 20);

    const QImage dot = solid(1, 1, Qt::green);
    EXPECT_EQ(opaquePixels(CommonFunctionImages::getNoScaledImage(dot, {99, 3})), 99 * 3);
    // 100 tiles would be needed across: none are laid in that direction.
    EXPECT_EQ(opaquePixels(CommonFunctionImages::getNoScaledImage(dot, {100, 3})), 0);
    EXPECT_TRUE(CommonFunctionImages::getNoScaledImage(dot, {0, 3}).isNull());
}

TEST(ImageHelpers, TintKeepsAlphaAndReplacesColour)
{
    QImage source(16, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 16; ++x) {
        source.setPixelColor(x, 0, QColor(0, 255, 0, x * 17));
    }
    const QImage tinted = ImageExtention::bwTintedImageWithColor(source, Qt::red);
    ASSERT_EQ(tinted.size(), source.size());
    for (int x = 0; x < 16; ++x) {
        const QColor c = tinted.pixelColor(x, 0);
        EXPECT_NEAR(c.alpha(), x * 17, 1) << x;
        if (c.alpha() > 32) {
            EXPECT_NEAR(c.red(), 255, 8) << x;
            EXPECT_NEAR(c.green(), 0, 8) << x;
        }
    }
    EXPECT_EQ(source.pixelColor(15, 0), QColor(0, 255, 0, 255));  // receiver unchanged
    EXPECT_TRUE(ImageExtention::bwTintedImageWithColor(QImage(), Qt::red).isNull());
    EXPECT_FALSE(ImageExtention::convertToRGBColor(QColor()).has_value());
    EXPECT_EQ(ImageExtention::cicolor(QColor::fromHsv(0, 255, 255)), QColor(255, 0, 0));
}

TEST(ImageHelpers, LoadingThroughPngAndBadFiles)
{
    auto dir = testsupport::makeTempDir();
    const QString jpeg = dir.filePath("photo.jpg");
    ASSERT_TRUE(solid(64, 48, QColor(200, 40, 40)).save(jpeg, "JPEG", 95));
    const QImage loaded = ControllerFunctionImages::getNSImageFromPath(jpeg);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), QSize(64, 48));
    EXPECT_TRUE(isColor(loaded, 30, 20, QColor(200, 40, 40), 12));

    const QByteArray png = ControllerFunctionImages::pngData(loaded);
    EXPECT_TRUE(png.startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(png).pixel(30, 20), loaded.pixel(30, 20));

    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all");
    text.close();
    EXPECT_TRUE(ControllerFunctionImages::getNSImageFromPath(text.fileName()).isNull());
    EXPECT_TRUE(ControllerFunctionImages::getNSImageFromPath(dir.filePath("missing.png")).isNull());
    EXPECT_TRUE(ControllerFunctionImages::getNSImageFromPath(QString()).isNull());
    EXPECT_TRUE(ControllerFunctionImages::getNSImageFromErrNSImage(QImage()).isNull());
}

TEST(ImageHelpers, QuickTimeFrameKeepsItsInnerPart)
{
    // 144 x 120: drawn 1.5 times as wide, so 24 source columns are cut each side;
    // 195 / 120 as high, so about 18.5 rows at the top and 27.7 at the bottom.
    QImage frame = solid(144, 120, Qt::green);
    QPainter painter(&frame);
    painter.fillRect(0, 0, 20, 120, Qt::red);       // cut away at the left
    painter.fillRect(124, 0, 20, 120, Qt::red);     // and the right
    painter.fillRect(20, 0, 104, 16, Qt::blue);     // cut away at the top
    painter.fillRect(20, 96, 104, 24, Qt::yellow);  // cut away at the bottom
    painter.end();
    const QImage inner = ControllerFunctionImages::imageFromCGImageRefForQuickTime(frame);
    ASSERT_EQ(inner.size(), frame.size());
    for (int y = 0; y < inner.height(); y += 3) {
        for (int x = 0; x < inner.width(); x += 3) {
            ASSERT_TRUE(isColor(inner, x, y, Qt::green, 40)) << x << "," << y;
        }
    }
}

TEST(ImageHelpers, TitlesDrawWhereTheyShouldAndNullDrawsNothing)
{
    EXPECT_EQ(ControllerFunctionImages::titleFontFamily(), "STIXGeneral");
    QImage canvas = clearImage(300, 40);
    QPainter painter(&canvas);
    ControllerFunctionImages::drawTitleAtRect(painter, {10, 0, 280, 40}, QString(), 18, Qt::white);
    ControllerFunctionImages::drawBtnTitleAtRect(painter, {10, 0, 280, 40}, QString(), 12,
                                                 Qt::white);
    CommonFunctionImages::drawTitleAtRect(painter, {10, 0, 280, 40}, QString(), 12, Qt::white);
    EXPECT_EQ(opaquePixels(canvas), 0);

    ControllerFunctionImages::drawTitleAtRect(painter, {10, 0, 280, 40}, "Menu Page_1", 18,
                                              Qt::white);
    painter.end();
    // Starts at the left edge of the box, vertically centred.
    EXPECT_GT(opaquePixels(canvas, {10, 0, 20, 40}), 0);
    EXPECT_EQ(opaquePixels(canvas, {0, 0, 9, 40}), 0);
    EXPECT_EQ(opaquePixels(canvas, {200, 0, 100, 40}), 0);
    EXPECT_EQ(opaquePixels(canvas, {0, 0, 300, 5}), 0);

    QImage centred = clearImage(300, 40);
    QPainter second(&centred);
    ControllerFunctionImages::drawBtnTitleAtRect(second, {0, 0, 300, 40}, "Play", 12, Qt::white);
    second.end();
    EXPECT_EQ(opaquePixels(centred, {0, 0, 120, 40}), 0);
    EXPECT_GT(opaquePixels(centred, {130, 0, 40, 40}), 0);
}

TEST(ImageHelpers, ButtonPicturesAndDefaultThumbnail)
{
    EXPECT_FALSE(ControllerFunctionImages::getThumbnailFromPath("/any/movie.mov").isNull());
    EXPECT_EQ(ControllerFunctionImages::stringNoneNil(QString()), QString(""));
    EXPECT_FALSE(ControllerFunctionImages::stringNoneNil(QString()).isNull());
    EXPECT_EQ(ControllerFunctionImages::stringNoneNil("x"), "x");

    const QSize size(120, 110);
    const QImage selected =
        ControllerFunctionImages::buttonImage(size, "DefaultImage", "Theme", true);
    const QImage plain =
        ControllerFunctionImages::buttonImage(size, "DefaultImage", "Theme", false);
    const QImage pressed =
        ControllerFunctionImages::alterButtonImage(size, "DefaultImage", "Theme");
    // The plate: black at 0.6, 0.3 or none, inset by 5.
    EXPECT_NEAR(selected.pixelColor(8, 50).alphaF(), 0.6, 0.02);
    EXPECT_NEAR(pressed.pixelColor(8, 50).alphaF(), 0.3, 0.02);
    EXPECT_EQ(plain.pixelColor(8, 50).alpha(), 0);
    EXPECT_EQ(selected.pixelColor(2, 50).alpha(), 0);
    // The picture sits in {20, 12, 80, 70}; the title strip is near the bottom.
    EXPECT_GT(opaquePixels(plain, {20, 12, 80, 70}), 3000);
    EXPECT_EQ(opaquePixels(plain, {0, 0, 19, 110}), 0);
    EXPECT_GT(opaquePixels(plain, {0, 82, 120, 20}), 0);
    savePictureForViewing(selected, "button-selected");

    QPushButton button;
    button.resize(size);
    ControllerFunctionButtons::setImageOnButton(&button, "DefaultImage", "Theme", false);
    ControllerFunctionButtons::setAlterImageOnButton(&button, "DefaultImage", "Theme");
    EXPECT_FALSE(button.icon().isNull());
    EXPECT_EQ(button.iconSize(), size);
    ControllerFunctionButtons::setImageOnButton(nullptr, "DefaultImage", "Theme", false);
}

TEST(NamedImage, FindsTheControlPicturesByTheirExactNames)
{
    for (const char* name : {"TransparentSliderTrackLeft.tiff", "DrakPopUpDownRightN.tif",
                             "DrakPopUplDownRightP.tif", "TransparentButtonFillN",
                             "TransparentCheckboxOnP", "resize-rotate-cursor", "DefaultImage"}) {
        EXPECT_FALSE(NamedImage::imageNamed(name).isNull()) << name;
    }
    EXPECT_TRUE(NamedImage::imageNamed("NoSuchPicture").isNull());
    EXPECT_TRUE(NamedImage::imageNamed("").isNull());
}
