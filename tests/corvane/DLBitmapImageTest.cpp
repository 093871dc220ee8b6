#include "corvane/DLBitmapImage.h"

#include <gtest/gtest.h>

#include <limits>

#include "TemplateFixture.h"

using namespace templatefixture;

TEST(DLBitmapImageTest, SizesRoundToTheNearestPixelAndRefuseEmptyOnes)
{
    struct Case {
        QSizeF points;
        QSize pixels;  // empty: no surface
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {{0.4, 100}, {}}, {{0.5, 100}, {1, 100}}, {{99.6, 10}, {100, 10}}, {{10, 0}, {}},
        {{-3, 10}, {}},   {{nan, 10}, {}},        {{1e12, 1e12}, {}},      {{854, 480}, {854, 480}},
    };
    for (const Case& c : cases) {
        auto surface = DLBitmapImage::imageWithSize(c.points);
        if (c.pixels.isEmpty()) {
            EXPECT_EQ(surface, nullptr) << c.points.width() << " x " << c.points.height();
            continue;
        }
        ASSERT_NE(surface, nullptr) << c.points.width() << " x " << c.points.height();
        EXPECT_EQ(surface->size(), QSizeF(c.pixels));
        EXPECT_EQ(surface->bitmapImageRep().size(), c.pixels);
        EXPECT_EQ(surface->nsimage().pixelColor(0, 0).alpha(), 0) << "starts transparent";
    }
}

TEST(DLBitmapImageTest, DrawsWithTheOriginAtTheBottomLeftAndPicturesUpright)
{
    auto surface = DLBitmapImage::imageWithSize({10, 10});
    ASSERT_TRUE(surface);
    QImage picture = solid(4, 4, Qt::blue);
    QPainter(&picture).fillRect(0, 0, 4, 2, Qt::red);  // the picture's top half is red

    surface->lockFocus();
    ASSERT_TRUE(surface->painter());
    surface->painter()->fillRect(QRectF(0, 0, 10, 2), Qt::green);  // the two bottom rows
    DLBitmapImage::drawImage(*surface->painter(), picture, QRectF(0, 4, 4, 4));
    surface->unlockFocus();

    const QImage image = surface->nsimage();
    EXPECT_EQ(image.pixelColor(5, 9), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(5, 0).alpha(), 0);
    EXPECT_EQ(pixelUp(image, 1, 7), QColor(Qt::red)) << "the picture's top stays on top";
    EXPECT_EQ(pixelUp(image, 1, 4), QColor(Qt::blue));
}

TEST(DLBitmapImageTest, DrawsAPartOfAPictureGivenInItsBottomLeftCoordinates)
{
    auto surface = DLBitmapImage::imageWithSize({4, 4});
    QImage picture = solid(4, 4, Qt::blue);
    QPainter(&picture).fillRect(0, 0, 4, 2, Qt::red);
    surface->lockFocus();
    // The lower half of the picture, in its own y-up coordinates.
    DLBitmapImage::drawImage(*surface->painter(), picture, QRectF(0, 0, 4, 4), QRectF(0, 0, 4, 2));
    surface->unlockFocus();
    EXPECT_EQ(surface->nsimage().pixelColor(2, 0), QColor(Qt::blue));
    EXPECT_EQ(surface->nsimage().pixelColor(2, 3), QColor(Qt::blue));
}

TEST(DLBitmapImageTest, FocusNestsAndNamesTheCurrentContext)
{
    EXPECT_EQ(DLBitmapImage::currentContext(), nullptr);
    auto outer = DLBitmapImage::imageWithSize({4, 4});
    auto inner = DLBitmapImage::imageWithSize({2, 2});
    outer->lockFocus();
    QPainter* outerPainter = outer->painter();
    EXPECT_EQ(DLBitmapImage::currentContext(), outerPainter);
    outerPainter->setOpacity(0.5);
    outer->lockFocus();
    outerPainter->setOpacity(1.0);
    inner->lockFocus();
    EXPECT_EQ(DLBitmapImage::currentContext(), inner->painter());
    inner->unlockFocus();
    outer->unlockFocus();
    EXPECT_EQ(DLBitmapImage::currentContext(), outerPainter);
    EXPECT_DOUBLE_EQ(outerPainter->opacity(), 0.5) << "the inner unlock restores the state";
    outer->unlockFocus();
    EXPECT_EQ(DLBitmapImage::currentContext(), nullptr);
    EXPECT_EQ(outer->painter(), nullptr);
    outer->unlockFocus();  // unbalanced: ignored
}

TEST(DLBitmapImageTest, AskingForThePictureAgainShowsLaterDrawing)
{
    auto surface = DLBitmapImage::imageWithSize({3, 3});
    surface->lockFocus();
    surface->painter()->fillRect(QRectF(0, 0, 3, 3), Qt::red);
    const QImage during = surface->nsimage();
    surface->painter()->fillRect(QRectF(0, 0, 3, 3), Qt::blue);
    surface->unlockFocus();
    EXPECT_EQ(during.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(surface->nsimage().pixelColor(1, 1), QColor(Qt::blue));
    surface->lockFocus();
    surface->painter()->fillRect(QRectF(0, 0, 3, 3), Qt::green);
    surface->unlockFocus();
    EXPECT_EQ(surface->nsimage().pixelColor(1, 1), QColor(Qt::green));
}

TEST(DLBitmapImageTest, FlippingARectangleIsItsOwnInverse)
{
    const QRectF rect(1, 2, 3, 4);
    EXPECT_EQ(DLBitmapImage::flipped(rect, 10), QRectF(1, 4, 3, 4));
    EXPECT_EQ(DLBitmapImage::flipped(DLBitmapImage::flipped(rect, 10), 10), rect);
}

TEST(DLBitmapImageTest, UprightDrawingUsesTopLeftCoordinatesInsideItsRectangle)
{
    auto surface = DLBitmapImage::imageWithSize({20, 20});
    surface->lockFocus();
    DLBitmapImage::drawUpright(*surface->painter(), QRectF(10, 0, 10, 10),
                               [](QPainter& p, const QSizeF& size) {
                                   EXPECT_EQ(size, QSizeF(10, 10));
                                   p.fillRect(QRectF(0, 0, 10, 3), Qt::red);  // its top rows
                               });
    surface->unlockFocus();
    const QImage image = surface->nsimage();
    EXPECT_EQ(pixelUp(image, 15, 8), QColor(Qt::red));
    EXPECT_EQ(pixelUp(image, 15, 2).alpha(), 0);
    EXPECT_EQ(pixelUp(image, 5, 8).alpha(), 0);
}
