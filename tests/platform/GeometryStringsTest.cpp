#include <gtest/gtest.h>

#include "platform/GeometryStrings.h"
#include "platform/Numeric.h"

TEST(GeometryStrings, WritesTheBracedForms)
{
    EXPECT_EQ(stringFromRect(QRectF(0, 21.875, 100, 56.25)), "{{0, 21.875}, {100, 56.25}}");
    EXPECT_EQ(stringFromSize(QSizeF(854, 480)), "{854, 480}");
    EXPECT_EQ(stringFromPoint(QPointF(-1.5, 0)), "{-1.5, 0}");
}

TEST(GeometryStrings, ReadsForgivingly)
{
    struct Case {
        const char* text;
        QRectF rect;
    };
    const Case cases[] = {
        {"{{10, 20}, {300, 400}}", QRectF(10, 20, 300, 400)},
        {"{{-1.5,2e1},{3, 4.25}}", QRectF(-1.5, 20, 3, 4.25)},
        {"", QRectF()},
        {"garbage", QRectF()},
        {"{{1, 2}}", QRectF(1, 2, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rectFromString(QString::fromUtf8(c.text)), c.rect) << c.text;
    }
    EXPECT_EQ(sizeFromString("{720, 576}"), QSizeF(720, 576));
    EXPECT_EQ(sizeFromString("nonsense"), QSizeF(0, 0));
    EXPECT_EQ(rectFromString(stringFromRect(QRectF(0.1, 0.2, 1e6, 3))), QRectF(0.1, 0.2, 1e6, 3));
}

TEST(Numeric, SaturatingCast)
{
    EXPECT_EQ(saturatingCast<int>(std::nan("")), 0);
    EXPECT_EQ(saturatingCast<int>(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingCast<int>(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(saturatingCast<int>(-2.9), -2);
    EXPECT_EQ(saturatingCast<qint64>(3.0e18f), qint64(3.0e18f));
}
