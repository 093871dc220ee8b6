#include <gtest/gtest.h>
#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include "TemplateFixture.h"
#include "corvane/DLFunc.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace templatefixture;

namespace {

template <typename T>
std::shared_ptr<T> roundTrip(const std::shared_ptr<T>& object)
{
    const QByteArray data = KeyedArchiver::archivedData(Value(object));
    const auto result = KeyedUnarchiver::unarchive(data);
    EXPECT_TRUE(result.root.has_value()) << result.error.toStdString();
    return result.root ? result.root->objectAs<T>() : nullptr;
}

// The keys stored for the first archived object of the class.
QStringList archivedKeys(const Value& root, const QString& className)
{
    const QCborMap archive = QCborValue::fromCbor(KeyedArchiver::archivedData(root)).toMap();
    for (const QCborValue& object : archive.value(QStringLiteral("objects")).toArray()) {
        if (object.toMap().value(QStringLiteral("class")).toString() == className) {
            QStringList keys;
            for (const auto& entry : object.toMap().value(QStringLiteral("keys")).toMap()) {
                keys << entry.first.toString();
            }
            return keys;
        }
    }
    return {};
}

std::shared_ptr<DVDLibraryButtonResource> button(const QString& name, const QString& path)
{
    auto resource = std::make_shared<DVDLibraryButtonResource>();
    resource->setName(name);
    resource->setPath(path);
    return resource;
}

}  // namespace

TEST(TemplateResourcesTest, ResourcesArchiveExactlyTheirKeyLists)
{
    auto b = button("a-play", "buttons/a-play.png");
    auto frame = std::make_shared<DVDLibraryFrameResource>();
    frame->setName("plain");
    frame->setFrame("frames/plain-frame.png");
    frame->setMask("frames/plain-mask.png");
    auto background = std::make_shared<DVDMenuBackgroundResource>();
    background->setName("blue");
    background->setPath("backgrounds/blue.png");
    background->setIsResource(true);

    EXPECT_EQ(b->allCoderKeys(), QStringList({"name", "path"}));
    EXPECT_EQ(frame->allCoderKeys(), QStringList({"name", "frame", "mask"}));
    EXPECT_EQ(background->allCoderKeys(), QStringList({"name", "path", "image", "isResource"}));
    EXPECT_TRUE(DVDLibraryResourceCoder().allCoderKeys().isEmpty());
    QStringList keys = archivedKeys(Value(frame), "DVDLibraryFrameResource");
    keys.sort();
    EXPECT_EQ(keys, QStringList({"frame", "mask", "name"}));

    auto b2 = roundTrip(b);
    ASSERT_TRUE(b2);
    EXPECT_EQ(b2->name(), "a-play");
    EXPECT_EQ(b2->path(), "buttons/a-play.png");
    auto frame2 = roundTrip(frame);
    ASSERT_TRUE(frame2);
    EXPECT_TRUE(frame2->isEqualToResource(frame.get()));
    EXPECT_EQ(frame2->name(), "plain");
    auto background2 = roundTrip(background);
    ASSERT_TRUE(background2);
    EXPECT_EQ(background2->name(), "blue");
    EXPECT_EQ(background2->path(), "backgrounds/blue.png");
    EXPECT_TRUE(background2->isResource());
    EXPECT_TRUE(background2->image().isNull());
}

TEST(TemplateResourcesTest, ButtonEquality)
{
    auto a = button("a-play", "buttons/a-play.png");
    auto frame = std::make_shared<DVDLibraryFrameResource>();
    frame->setName("a-play");
    frame->setFrame("buttons/a-play.png");
    frame->setMask("m");
    struct Case {
        std::shared_ptr<Object> other;
        bool equal;
    };
    const Case cases[] = {
        {button("a-play", "buttons/a-play.png"), true},
        {button("a-play", "buttons/b-play.png"), false},
        {button("b-play", "buttons/a-play.png"), false},
        {frame, false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(a->isEqualToResource(c.other.get()), c.equal);
    }
    EXPECT_FALSE(button("", "x")->isEqualToResource(button("", "x").get()));
    EXPECT_FALSE(button("x", "")->isEqualToResource(button("x", "").get()));
}

TEST(TemplateResourcesTest, PicturesComeFromTheBundleAndAMissingMaskIsTriedAgain)
{
    Bundle bundle;
    DVDLibraryResource::setBundleSearchPath(bundle.path);
    auto play = button("a-play", "buttons/a-play.png");
    EXPECT_EQ(play->image().size(), QSize(8, 6));
    EXPECT_TRUE(button("x", "buttons/none.png")->image().isNull());

    auto frame = std::make_shared<DVDLibraryFrameResource>();
    frame->setName("fancy");
    frame->setFrame("frames/fancy-frame.png");
    frame->setMask("frames/fancy-mask.png");
    EXPECT_EQ(frame->path(), "frames/fancy-frame.png");
    EXPECT_EQ(frame->frameImage().size(), QSize(20, 20));
    EXPECT_TRUE(frame->maskImage().isNull());
    writePng(bundle.path + "/frames/fancy-mask.png", maskPicture());
    EXPECT_EQ(frame->maskImage().size(), QSize(20, 20)) << "a failed load is retried";
    // Once loaded, the picture is kept.
    QFile::remove(bundle.path + "/frames/fancy-frame.png");
    EXPECT_FALSE(frame->frameImage().isNull());

    auto twin = std::make_shared<DVDLibraryFrameResource>();
    twin->setFrame(frame->frame());
    twin->setMask(frame->mask());
    EXPECT_TRUE(frame->isEqualToResource(twin.get()));
    EXPECT_FALSE(frame->isEqualToResource(play.get()));

    auto background = std::make_shared<DVDMenuBackgroundResource>();
    background->setPath("backgrounds/blue.png");
    EXPECT_TRUE(background->backgroundImage().isNull()) << "a user picture without image";
    background->setIsResource(true);
    EXPECT_EQ(background->backgroundImage().size(), QSize(16, 9));
    EXPECT_EQ(background->fullPath(), "backgrounds/blue.png");
    DVDLibraryResource::setBundleSearchPath(QString());
}

TEST(TemplateResourcesTest, AUserBackgroundKeepsItsPictureAfterTheFileIsGone)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("holiday.jpg");
    ASSERT_TRUE(solid(32, 24, QColor(200, 30, 30)).save(path, "JPG"));
    auto background = DVDMenuBackgroundResource::resourceWithPath(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(background->path(), path);
    EXPECT_TRUE(background->name().isEmpty());
    EXPECT_FALSE(background->isResource());
    ASSERT_EQ(background->backgroundImage().size(), QSize(32, 24));

    auto restored = roundTrip(background);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->image().size(), QSize(32, 24)) << "the archive carries the picture";
    EXPECT_TRUE(near(restored->image().pixelColor(16, 12), QColor(200, 30, 30), 12));

    auto unreadable = DVDMenuBackgroundResource::resourceWithPath(dir.filePath("none.png"));
    EXPECT_EQ(unreadable->path(), dir.filePath("none.png"));
    EXPECT_TRUE(unreadable->image().isNull());
}

TEST(TemplateResourcesTest, GuardedListLookups)
{
    const QList<QString> list = {"a", "b", "c"};
    EXPECT_EQ(DLFunc::arraySafeObjectAtIndex(list, 0), "a");
    EXPECT_EQ(DLFunc::arraySafeObjectAtIndex(list, 2), "c");
    EXPECT_EQ(DLFunc::arraySafeObjectAtIndex(list, 3), QString());
    EXPECT_EQ(DLFunc::arraySafeObjectAtIndex(list, -1), QString());
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("b"), 1), "c");
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("b"), -1), "a");
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("c"), 1), QString());
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("z"), 0), QString());
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("a"), std::numeric_limits<qint64>::max()),
              QString());
    EXPECT_EQ(DLFunc::arrayObjectOffset(list, QString("c"), std::numeric_limits<qint64>::min()),
              QString());
}
