#include <gtest/gtest.h>

#include "media/Double2LMFFTimeTransformer.h"
#include "media/MosaicItem.h"
#include "media/MovieTrimItem.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

namespace {

template <typename T>
std::shared_ptr<T> roundTrip(const std::shared_ptr<T>& object)
{
    const QByteArray data = KeyedArchiver::archivedData(Value(object));
    const KeyedUnarchiver::Result result = KeyedUnarchiver::unarchive(data);
    EXPECT_TRUE(result.root) << result.error.toStdString();
    return result.root ? result.root->template objectAs<T>() : nullptr;
}

}  // namespace

TEST(TrimItem, TimesTruncateTowardZero)
{
    struct Case {
        double start, duration;
        LMMediaTime startTime, stopTime, durationTime;
    };
    for (const Case& c :
         {Case{1.5, 2.25, 1500000, 3750000, 2250000}, Case{0.0000015, 0.0000014, 1, 2, 1},
          Case{-0.0000015, -1.0000005, -1, -1000002, -1000000}}) {
        MovieTrimItem item(c.start, c.duration);
        EXPECT_DOUBLE_EQ(item.stop(), c.start + c.duration);
        EXPECT_EQ(item.startTime(), c.startTime) << c.start;
        EXPECT_EQ(item.stopTime(), c.stopTime) << c.start;
        EXPECT_EQ(item.durationTime(), c.durationTime) << c.start;
    }
    EXPECT_EQ(MovieTrimItem(1.5, 2.25).description(), "1.500000 2.250000");
}

TEST(TrimItem, ArchivesItsFourKeysOnly)
{
    auto item = std::make_shared<MovieTrimItem>(1.25, 3.5, 0.5, 0.75);
    item->setBase(42);
    item->setBaseStartTime(7);
    EXPECT_EQ(item->allCoderKeys(), QStringList({"start", "duration", "fadeIn", "fadeOut"}));
    auto copy = roundTrip(item);
    ASSERT_TRUE(copy);
    EXPECT_DOUBLE_EQ(copy->start(), 1.25);
    EXPECT_DOUBLE_EQ(copy->duration(), 3.5);
    EXPECT_DOUBLE_EQ(copy->fadeIn(), 0.5);
    EXPECT_DOUBLE_EQ(copy->fadeOut(), 0.75);
    EXPECT_EQ(copy->base(), 0);
    EXPECT_EQ(copy->baseStartTime(), 0);
}

TEST(TrimItem, MosaicKeepsOneRectanglePerMode)
{
    auto item = MosaicItem::initNewMosaic();
    EXPECT_EQ(item->mosaicMode(), 0);
    EXPECT_EQ(item->startTime(), 0);
    EXPECT_EQ(item->endTime(), 0);
    item->setMosaicRect(QRectF(1, 2, 3, 4));
    item->setMosaicMode(1);
    EXPECT_EQ(item->mosaicRect(), QRectF());
    item->setMosaicRect(QRectF(5, 6, 7, 8));
    EXPECT_EQ(item->rectForMode0(), QRectF(1, 2, 3, 4));
    item->setMosaicMode(0);
    EXPECT_EQ(item->mosaicRect(), QRectF(1, 2, 3, 4));

    item->setMosaicMode(1);
    item->setStartTime(100);
    item->setEndTime(200);
    EXPECT_TRUE(item->appliesAt(100));
    EXPECT_FALSE(item->appliesAt(200));
    auto copy = roundTrip(item);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->mosaicMode(), 0);
    EXPECT_EQ(copy->mosaicRect(), QRectF(5, 6, 7, 8));
    EXPECT_EQ(copy->startTime(), 100);
    EXPECT_EQ(copy->endTime(), 200);
}

TEST(TrimItem, TimeTransformerTurnsMediaTimeIntoSeconds)
{
    Double2LMFFTimeTransformer transformer;
    EXPECT_TRUE(transformer.allowsReverseTransformation());
    EXPECT_DOUBLE_EQ(transformer.transformedValue(Value(qint64(2500000))).toDouble().value(), 2.5);
    EXPECT_EQ(transformer.reverseTransformedValue(Value(1.9999999)).toInt().value(), 1999999);
    EXPECT_EQ(transformer.reverseTransformedValue(Value(-0.0000015)).toInt().value(), -1);
}
