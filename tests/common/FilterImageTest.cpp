// Pictures for compositing: extents, transforms (y up) and filters.
#include <gtest/gtest.h>
#include <QPainter>

#include "common/FilterImage.h"

namespace {

// 4 x 2: the top row red, the bottom row blue, the left column green.
QImage sample()
{
    QImage image(4, 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, 4, 1, Qt::red);
    painter.fillRect(0, 0, 1, 2, Qt::green);
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2 && std::abs(a.alpha() - b.alpha()) <= 2;
}

}  // namespace

TEST(FilterImage, PlainPictureRendersItselfAndNullStaysNull)
{
    const FilterImage picture(sample());
    EXPECT_EQ(picture.extent(), QRectF(0, 0, 4, 2));
    EXPECT_EQ(picture.render(), sample());
    EXPECT_TRUE(FilterImage().isNull());
    EXPECT_TRUE(FilterImage(QImage()).isNull());
    EXPECT_TRUE(FilterImage().translateImageWithSize({1, 1}).isNull());
    EXPECT_TRUE(FilterImage().render({0, 0, 4, 4}).isNull());
    EXPECT_TRUE(picture.render(QRectF()).isNull());
}

TEST(FilterImage, TransformsWorkInYUpSpace)
{
    const FilterImage moved = FilterImage(sample()).translateImageWithSize({3, 5});
    EXPECT_EQ(moved.extent(), QRectF(3, 5, 4, 2));
    const QImage region = moved.render({0, 0, 10, 10});
    // y from 5 to 7 up is rows 3 and 4 down from the top of a 10 high region.
    EXPECT_EQ(at(region, 4, 3), QColor(Qt::red));
    EXPECT_EQ(at(region, 4, 4), QColor(Qt::blue));
    EXPECT_EQ(at(region, 2, 3).alpha(), 0);
    EXPECT_EQ(at(region, 4, 5).alpha(), 0);

    EXPECT_EQ(FilterImage(sample()).scaleImageWithSize({2, 3}).extent(), QRectF(0, 0, 8, 6));

    // A quarter turn counter-clockwise: (x, y) goes to (-y, x), so the left
    // column lies along the bottom and the top row along the left.
    const FilterImage turned = FilterImage(sample()).rotateImageWithAngle(float(M_PI / 2));
    const QRectF extent = turned.extent();
    EXPECT_NEAR(extent.x(), -2, 1e-6);
    EXPECT_NEAR(extent.y(), 0, 1e-6);
    EXPECT_NEAR(extent.width(), 2, 1e-6);
    EXPECT_NEAR(extent.height(), 4, 1e-6);
    const QImage upright = turned.render(QRectF(-2, 0, 2, 4));
    ASSERT_EQ(upright.size(), QSize(2, 4));
    EXPECT_TRUE(near(at(upright, 1, 3), Qt::green));
    EXPECT_TRUE(near(at(upright, 0, 1), Qt::red));
    EXPECT_TRUE(near(at(upright, 1, 1), Qt::blue));
}

TEST(FilterImage, CompositingByFilterName)
{
    QImage blueSquare(4, 4, QImage::Format_ARGB32_Premultiplied);
    blueSquare.fill(Qt::blue);
    QImage redDot(2, 2, QImage::Format_ARGB32_Premultiplied);
    redDot.fill(Qt::red);
    const FilterImage over =
        FilterImage(redDot).translateImageWithSize({1, 1}).sourceOverImage(FilterImage(blueSquare));
    EXPECT_EQ(over.extent(), QRectF(0, 0, 4, 4));
    const QImage pixels = over.render();
    EXPECT_EQ(at(pixels, 1, 1), QColor(Qt::red));
    EXPECT_EQ(at(pixels, 0, 0), QColor(Qt::blue));

    // A colour kept where a half-transparent mask is: the mask's alpha, the colour.
    QImage mask(3, 3, QImage::Format_ARGB32_Premultiplied);
    mask.fill(QColor(0, 0, 0, 128));
    const FilterImage tint = FilterImage::imagewithColor(Qt::red);
    EXPECT_TRUE(tint.isInfinite());
    EXPECT_TRUE(tint.render().isNull());
    const FilterImage kept = tint.sourceInImage(FilterImage(mask));
    EXPECT_EQ(kept.extent(), QRectF(0, 0, 3, 3));
    const QColor c = at(kept.render(), 1, 1);
    EXPECT_NEAR(c.alpha(), 128, 2);
    EXPECT_NEAR(c.red(), 255, 2);
    EXPECT_EQ(c.blue(), 0);

    const FilterImage out = FilterImage::composition("CISourceOutCompositing",
                                                     FilterImage(blueSquare), FilterImage(redDot));
    EXPECT_EQ(at(out.render(), 0, 3).alpha(), 0);  // where the dot is (bottom left)
    EXPECT_EQ(at(out.render(), 3, 0), QColor(Qt::blue));

    EXPECT_TRUE(
        FilterImage::composition("CINoSuchFilter", FilterImage(redDot), FilterImage(blueSquare))
            .isNull());
    EXPECT_TRUE(FilterImage(redDot).sourceOverImage(FilterImage()).isNull());
}
