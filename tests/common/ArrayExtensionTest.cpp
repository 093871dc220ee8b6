// Neighbour lookups in lists answer null at the ends instead of failing.

#include <gtest/gtest.h>

#include <QString>
#include <limits>
#include <memory>

#include "common/ArrayExtension.h"

namespace {

TEST(ArrayExtension, NeighboursOfValues)
{
    const QList<QString> list{"a", "b", "c", "b"};
    EXPECT_EQ(firstObject(list), "a");
    EXPECT_EQ(firstObject(QList<QString>()), QString());
    EXPECT_EQ(nextObject(list, QString("a")), "b");
    // "b" occurs twice: both lookups work from its first position.
    EXPECT_EQ(nextObject(list, QString("b")), "c");
    EXPECT_EQ(previousObject(list, QString("b")), "a");
    EXPECT_TRUE(previousObject(list, QString("a")).isNull());
    EXPECT_TRUE(nextObject(QList<QString>{"a", "b"}, QString("b")).isNull());
    EXPECT_TRUE(nextObject(list, QString("z")).isNull());
    EXPECT_TRUE(previousObject(list, QString("z")).isNull());
    EXPECT_EQ(previousNextObject(list, QString("c"), true), "b");
    EXPECT_EQ(previousNextObject(list, QString("c"), false), "b");
    EXPECT_EQ(previousNextObject(list, QString("a"), false), "b");
    EXPECT_TRUE(previousNextObject(list, QString("a"), true).isNull());
}

struct OffsetCase {
    const char* item;
    qint64 offset;
    const char* expected;  // null: no element
};

TEST(ArrayExtension, ObjectAtOffset)
{
    const QList<QString> list{"a", "b", "c"};
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    const OffsetCase cases[] = {
        {"a", 0, "a"},       {"a", 2, "c"},       {"c", -2, "a"},
        {"a", 3, nullptr},   {"b", -2, nullptr},  {"z", 0, nullptr},
        {"c", max, nullptr}, {"c", min, nullptr}, {"a", -1, nullptr},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item << " " << c.offset);
        const QString found = object(list, QString(c.item), c.offset);
        if (c.expected) {
            EXPECT_EQ(found, c.expected);
        } else {
            EXPECT_TRUE(found.isNull());
        }
    }
}

TEST(ArrayExtension, SafeIndex)
{
    const QList<int> list{10, 20};
    EXPECT_EQ(safeObjectAtIndex(list, 0), 10);
    EXPECT_EQ(safeObjectAtIndex(list, 1), 20);
    EXPECT_EQ(safeObjectAtIndex(list, 2), 0);
    EXPECT_EQ(safeObjectAtIndex(list, -1), 0);
    EXPECT_EQ(safeObjectAtIndex(list, std::numeric_limits<qint64>::min()), 0);
}

// Objects are found by identity: an equal but distinct object is absent.
TEST(ArrayExtension, SharedObjectsByIdentity)
{
    auto first = std::make_shared<int>(1);
    auto second = std::make_shared<int>(2);
    auto twin = std::make_shared<int>(2);
    const QList<std::shared_ptr<int>> list{first, second};
    EXPECT_EQ(firstObject(list), first);
    EXPECT_EQ(nextObject(list, first), second);
    EXPECT_EQ(previousObject(list, second), first);
    EXPECT_EQ(nextObject(list, twin), nullptr);
    EXPECT_EQ(nextObject(list, second), nullptr);
    EXPECT_EQ(firstObject(QList<std::shared_ptr<int>>()), nullptr);
}

}  // namespace
