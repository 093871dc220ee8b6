// The zoom limits of menu items: the smallest and largest factors, the
// canvas and neighbour limits, the guards for empty frames and inverted
// ranges, and the frame a factor gives.

#include <gtest/gtest.h>

#include "dialogs/core/ItemZoomLimits.h"
#include "model/DVDPageItem.h"

namespace {

const QRectF canvas(0, 0, 854, 480);

struct MaxCase {
    const char* name;
    QRectF frame;
    QList<QRectF> others;
    float expected;
};

TEST(ItemZoomLimits, LargestFactorStopsAtTheNearestEdgeOrNeighbour)
{
    // 200 x 100 items in the middle of the canvas unless said otherwise; every
    // other canvas limit is larger than the one the case is about.
    const MaxCase cases[] = {
        {"right edge 50 inside", QRectF(604, 190, 200, 100), {}, 1.5f},
        {"neighbour 20 to the right, overlapping vertically",
         QRectF(300, 190, 200, 100),
         {QRectF(520, 200, 50, 50)},
         1.2f},
        {"neighbour apart on both axes: the larger of the two limits",
         QRectF(300, 190, 200, 100),
         {QRectF(520, 310, 50, 50)},
         1.4f},
        {"neighbour overlapping on both axes does not limit",
         QRectF(300, 190, 200, 100),
         {QRectF(350, 200, 50, 50)},
         4.0f},
        {"the item itself does not limit",
         QRectF(300, 190, 200, 100),
         {QRectF(300, 190, 200, 100)},
         4.0f},
        {"an item sticking out gets a factor below 1", QRectF(700, 190, 200, 100), {}, 0.54f},
    };
    for (const MaxCase& c : cases) {
        EXPECT_NEAR(ItemZoomLimits::getMaxZoomFunction(c.frame, canvas, c.others), c.expected, 1e-4)
            << c.name;
    }
}

TEST(ItemZoomLimits, SmallestFactorKeepsThirtyUnitsAndNeverPassesTheLargest)
{
    EXPECT_FLOAT_EQ(ItemZoomLimits::getMinZoomWithFrame(QRectF(0, 0, 300, 50)), 0.1f);
    EXPECT_GT(ItemZoomLimits::getMinZoomWithFrame(QRectF(0, 0, 20, 50)), 1.0f);

    // A 20-wide item already touching the right edge: the minimum (1.5)
    // would pass the maximum (1); the range collapses to the minimum.
    const ZoomRange narrow = ItemZoomLimits::zoomRange(QRectF(834, 200, 20, 20), canvas, {});
    EXPECT_FLOAT_EQ(narrow.minZoom, 1.5f);
    EXPECT_FLOAT_EQ(narrow.maxZoom, 1.5f);

    for (const QRectF& empty : {QRectF(10, 10, 0, 40), QRectF(10, 10, 40, 0), QRectF()}) {
        const ZoomRange range = ItemZoomLimits::zoomRange(empty, canvas, {});
        EXPECT_FLOAT_EQ(range.minZoom, 1.0f);
        EXPECT_FLOAT_EQ(range.maxZoom, 1.0f);
    }
}

TEST(ItemZoomLimits, StaticTextsDoNotHoldItemsBack)
{
    auto title = std::make_shared<DVDPageItem>();
    title->setFrame(QRectF(300, 190, 200, 100));
    auto text = std::make_shared<DVDPageItem>();
    text->setType(2);
    text->setFrame(QRectF(520, 200, 50, 50));
    auto button = std::make_shared<DVDPageItem>();
    button->setType(11);
    button->setFrame(QRectF(520, 200, 50, 50));

    EXPECT_NEAR(ItemZoomLimits::zoomRangeOfItem(title, canvas, {text, title}).maxZoom, 4.0f, 1e-4);
    EXPECT_NEAR(ItemZoomLimits::zoomRangeOfItem(title, canvas, {text, title, button}).maxZoom, 1.2f,
                1e-4);
    EXPECT_FLOAT_EQ(ItemZoomLimits::zoomRangeOfItem(nullptr, canvas, {title}).maxZoom, 1.0f);
}

TEST(ItemZoomLimits, FactorScalesTheTruncatedOldFrameAboutItsCentre)
{
    const QRectF old(100.4, 50.2, 200.7, 150.9);
    const QRectF back = ItemZoomLimits::zoomedFrame(old, 1.0f);
    EXPECT_DOUBLE_EQ(back.width(), 200.0);
    EXPECT_DOUBLE_EQ(back.height(), 150.0);
    EXPECT_NEAR(back.center().x(), old.center().x(), 1e-4);
    EXPECT_NEAR(back.center().y(), old.center().y(), 1e-4);

    const QRectF grown = ItemZoomLimits::zoomedFrame(old, 1.5f);
    EXPECT_DOUBLE_EQ(grown.width(), 300.0);
    EXPECT_DOUBLE_EQ(grown.height(), 225.0);

    EXPECT_EQ(ItemZoomLimits::sliderPosition(1.5f), 1500);
    EXPECT_FLOAT_EQ(ItemZoomLimits::zoomAtSliderPosition(100), 0.1f);
}

TEST(ItemZoomLimits, BoundingBoxOfTwoFrames)
{
    EXPECT_EQ(ItemZoomLimits::getValidBigRectWithRect(QRectF(10, 20, 30, 40), QRectF(50, 0, 5, 5)),
              QRectF(10, 0, 45, 60));
}

}  // namespace
