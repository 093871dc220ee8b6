// The slideshow model: timing, transition settings, photos, music and the
// archive and project folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <cmath>
#include <limits>

#include "TestSupport.h"
#include "TransitionTestSupport.h"
#include "media/MediaItem.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowFiles.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace transitiontest;

namespace {

constexpr qint64 Second = MediaItem::TimeBase;

std::shared_ptr<RenderItem> roundTrip(const std::shared_ptr<RenderItem>& item,
                                      const QStringList& dropKeys = {},
                                      const QString& dropClass = {})
{
    QByteArray data = KeyedArchiver::archivedData(Value(item));
    if (!dropKeys.isEmpty()) {
        data = withoutKeys(data, dropClass, dropKeys);
    }
    const auto result = KeyedUnarchiver::unarchive(data);
    return result.root ? result.root->objectAs<RenderItem>() : nullptr;
}

QList<std::shared_ptr<PhotoItem>> bareList(int count)
{
    QList<std::shared_ptr<PhotoItem>> photos;
    for (int i = 0; i < count; ++i) {
        photos.append(std::make_shared<PhotoItem>());
    }
    return photos;
}

std::shared_ptr<MediaItem> music(const QString& path, qint64 start, qint64 stop, qint64 fadeIn = 0,
                                 qint64 fadeOut = 0)
{
    auto item = MediaItem::mediaItemWithPath(path);
    item->setTrimStart(start);
    item->setTrimStop(stop);
    item->setFadeIn(fadeIn);
    item->setFadeOut(fadeOut);
    return item;
}

// JPEG working copies keep colours only nearly.
bool nearColour(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

class SlideshowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        temp = dir.filePath("temp-photo");
        QDir().mkpath(temp);
        PhotoItem::updateAppTempPath(temp);
    }

    QString picture(const QString& name, QColor colour, QSize size = {320, 240})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString temp;
};

}  // namespace

TEST(SlideshowModelTest, DurationFollowsTheRatios)
{
    struct Case {
        int photos;
        double first, last, duration;
        double expected;
    };
    const Case cases[] = {
        {0, 1, 1, 5, 0},      {1, 1, 1, 5, 10},   {2, 1, 1, 5, 10},    {3, 1, 1, 5, 15},
        {3, 1.5, 2, 5, 22.5}, {1, 1.5, 2, 4, 14}, {5, 0.5, 0.5, 2, 8}, {3, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.photos);
        RenderItem item;
        item.setMtAryPhotoItems(bareList(c.photos));
        item.oSlideshowItem()->setDFirstRatio(c.first);
        item.oSlideshowItem()->setDLastRatio(c.last);
        item.oSlideshowItem()->setDDuration(c.duration);
        EXPECT_DOUBLE_EQ(item.slideshowDuration(), c.expected);
    }
}

TEST(SlideshowModelTest, OnePhotoIsShownAtTwoPositions)
{
    RenderItem item;
    item.setMtAryPhotoItems(bareList(1));
    const auto shown = item.slideshowPhotoItems();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], shown[1]);
    item.setMtAryPhotoItems({});
    EXPECT_TRUE(item.slideshowPhotoItems().isEmpty());
}

TEST(SlideshowModelTest, SpeedRatioIsOneWhenUnusable)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<double, double, double> cases[] = {
        {10, 5, 2}, {5, 5, 1},  {2.5, 5, 0.5}, {5, 0, 1},   {0, 5, 1},
        {-5, 5, 1}, {5, -5, 1}, {inf, 5, 1},   {nan, 5, 1}, {0, 0, 1},
    };
    for (const auto& [duration, best, expected] : cases) {
        RenderItem item;
        item.oSlideshowItem()->setDDuration(duration);
        item.oSlideshowItem()->setDBestDuration(best);
        EXPECT_DOUBLE_EQ(item.slideshowMetaRatio(), expected) << duration << " " << best;
    }
}

TEST(SlideshowModelTest, MergeTakesTheTransitionButNeverTheDuration)
{
    SlideshowItem item;
    EXPECT_EQ(item.dBestDuration(), 5);
    EXPECT_EQ(item.dMaxDuration(), 20);
    EXPECT_EQ(item.dDuration(), 5);
    item.setDDuration(7);
    item.mergeFromDic(Value::Dictionary{{"QuartzName", "Iris.qtz"},
                                        {"QuartzIndex", "Index.qtz"},
                                        {"NormalDuration", 3.0},
                                        {"MaxDuration", 12},
                                        {"FirstRatio", 1.5},
                                        {"LastRatio", 2.0}});
    EXPECT_EQ(item.strSlideshowName(), "Iris.qtz");
    EXPECT_EQ(item.strValidIndexsName(), "Index.qtz");
    EXPECT_EQ(item.dBestDuration(), 3);
    EXPECT_EQ(item.dMaxDuration(), 12);
    EXPECT_EQ(item.dFirstRatio(), 1.5);
    EXPECT_EQ(item.dLastRatio(), 2);
    EXPECT_EQ(item.dDuration(), 7);

    item.mergeFromDic(std::nullopt);  // nothing changes
    EXPECT_EQ(item.strSlideshowName(), "Iris.qtz");

    item.mergeFromDic(Value::Dictionary{{"QuartzName", "Zoom.qtz"}});
    EXPECT_EQ(item.strSlideshowName(), "Zoom.qtz");
    EXPECT_TRUE(item.strValidIndexsName().isEmpty());
    EXPECT_EQ(item.dBestDuration(), 0);
    EXPECT_EQ(item.dFirstRatio(), 0);
    EXPECT_EQ(item.dDuration(), 7);
}

TEST(SlideshowModelTest, NewSlideshowTakesTheDefaultTransition)
{
    const auto item = RenderItem::create();
    EXPECT_EQ(item->slideshowName(), "Cube New.qtz");
    EXPECT_EQ(item->oSlideshowItem()->strValidIndexsName(), "Index.qtz");
    EXPECT_EQ(item->slideshowMetaDuration(), 5);
    EXPECT_TRUE(item->bKeepStandardRatio());
    EXPECT_TRUE(item->mtAryPhotoItems().isEmpty());
    EXPECT_FALSE(item->hasAudioItems());
}

TEST_F(SlideshowFixture, AddingPhotosSkipsUnreadableFilesAndKeepsOrder)
{
    auto item = RenderItem::create();
    const QString bad = dir.filePath("bad.png");
    ASSERT_TRUE(writeText(bad, "nope"));
    EXPECT_EQ(item->addPhotoPaths({bad, dir.filePath("missing.jpg")}), 0);
    EXPECT_TRUE(item->mtAryPhotoItems().isEmpty());

    const QString red = picture("red.png", Qt::red);
    const QString blue = picture("blue.png", Qt::blue);
    item->setBKeepStandardRatio(false);
    EXPECT_EQ(item->addPhotoURLs(
                  {QUrl::fromLocalFile(red), QUrl::fromLocalFile(bad), QUrl::fromLocalFile(blue)}),
              2);
    ASSERT_EQ(item->mtAryPhotoItems().size(), 2);
    EXPECT_TRUE(nearColour(item->mtAryPhotoItems()[0]->originalCIImage().pixelColor(5, 5),
                           QColor(Qt::red)));
    EXPECT_TRUE(nearColour(item->mtAryPhotoItems()[1]->originalCIImage().pixelColor(5, 5),
                           QColor(Qt::blue)));
    // Added photos keep their own flag until the slideshow's is set again.
    EXPECT_TRUE(item->mtAryPhotoItems()[0]->bKeepStandardRatio());
    item->setBKeepStandardRatio(false);
    EXPECT_FALSE(item->mtAryPhotoItems()[1]->bKeepStandardRatio());

    const auto made = RenderItem::renderItemWithPhotoPaths({blue, red});
    ASSERT_EQ(made->mtAryPhotoItems().size(), 2);
    EXPECT_EQ(made->slideshowName(), "Cube New.qtz");
}

TEST_F(SlideshowFixture, SaveAndReopenKeepsEverything)
{
    auto item = RenderItem::renderItemWithPhotoPaths(
        {picture("1.png", Qt::red), picture("2.png", Qt::green), picture("3.png", Qt::blue)});
    ASSERT_EQ(item->mtAryPhotoItems().size(), 3);
    auto crop = std::make_shared<CropItem>();
    crop->setDWidthRatio(0.5);
    item->mtAryPhotoItems()[1]->setOCropItem(crop);
    item->slideshowMergeFrom(
        RenderController::sharedRenderController().informationOfName("Iris.qtz"));
    item->oSlideshowItem()->setDDuration(4);
    item->setBKeepStandardRatio(false);
    const QString song = dir.filePath("song.wav");
    ASSERT_TRUE(writeText(song, "RIFF...."));
    item->setAudioItems({music(song, 1 * Second, 9 * Second, 2 * Second, 3 * Second)});

    const QString project = dir.filePath("My Project");
    ASSERT_TRUE(item->saveSourceAtPath(project));
    EXPECT_EQ(QDir(project + "/slideshow-photo").entryList(QDir::Files).size(), 3);
    const QString storedSong =
        project + "/slideshow-audio/" + item->audioItems()[0]->itemPathName();
    EXPECT_TRUE(QFileInfo(storedSong).isFile());

    // The working copies go away (the temporary folder is emptied at launch).
    QDir(temp).removeRecursively();

    auto back = roundTrip(item);
    ASSERT_TRUE(back);
    back->loadSourceAtPath(project);
    ASSERT_EQ(back->mtAryPhotoItems().size(), 3);
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const auto photo = back->mtAryPhotoItems()[i];
        EXPECT_EQ(QFileInfo(photo->strImagePath()).absolutePath(),
                  QFileInfo(project + "/slideshow-photo").absoluteFilePath());
        EXPECT_TRUE(nearColour(photo->originalCIImage().pixelColor(5, 5), colours[i]));
        EXPECT_FALSE(photo->bKeepStandardRatio());
    }
    EXPECT_DOUBLE_EQ(back->mtAryPhotoItems()[1]->oCropItem()->dWidthRatio(), 0.5);
    EXPECT_EQ(back->slideshowName(), "Iris.qtz");
    EXPECT_EQ(back->oSlideshowItem()->dDuration(), 4);
    EXPECT_FALSE(back->bKeepStandardRatio());
    ASSERT_EQ(back->audioItems().size(), 1);
    const auto tune = back->audioItems()[0];
    EXPECT_EQ(tune->path(), storedSong);
    EXPECT_EQ(tune->name(), "song");
    EXPECT_EQ(tune->trimStart(), 1 * Second);
    EXPECT_EQ(tune->trimStop(), 9 * Second);
    EXPECT_EQ(tune->fadeIn(), 2 * Second);
    EXPECT_EQ(tune->fadeOut(), 3 * Second);
}

TEST_F(SlideshowFixture, DecodedFlagReachesEveryPhoto)
{
    auto item = std::make_shared<RenderItem>();
    item->setMtAryPhotoItems(bareList(2));  // photos keep YES
    item->setBKeepStandardRatio(true);
    item->mtAryPhotoItems()[0]->setBKeepStandardRatio(false);
    auto back = roundTrip(item);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->mtAryPhotoItems()[0]->bKeepStandardRatio());
    EXPECT_FALSE(back->hasAudioItems());  // no music list stays none
}

TEST(SlideshowModelTest, MissingDurationKeyGivesLengthZero)
{
    auto item = std::make_shared<RenderItem>();
    item->setMtAryPhotoItems(bareList(3));
    auto back = roundTrip(item, {"SI_Duration"}, "SlideshowItem");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->oSlideshowItem()->dDuration(), 0);
    EXPECT_EQ(back->slideshowDuration(), 0);
    EXPECT_EQ(back->slideshowMetaRatio(), 1);
    EXPECT_EQ(back->oSlideshowItem()->dBestDuration(), 5);
}

TEST(SlideshowMusicTest, ItemNamesAndArchive)
{
    const auto item = MediaItem::mediaItemWithPath("/music/My Song.mp3");
    EXPECT_EQ(item->name(), "My Song");
    EXPECT_EQ(item->itemPathName(),
              "item-" + SlideshowFiles::sha256Hex("/music/My Song.mp3") + ".My Song.mp3");
    EXPECT_EQ(item->itemPathName().size(), 5 + 64 + 1 + 11);
    item->setTrimStop(5 * Second);
    const auto result = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(item)));
    ASSERT_TRUE(result.root);
    const auto back = result.root->objectAs<MediaItem>();
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->path().isEmpty());
    EXPECT_EQ(back->itemPathName(), item->itemPathName());
    EXPECT_EQ(back->trimStop(), 5 * Second);
    // A copy name from a file that leaves the folder is refused.
    back->setItemPathName("../x");
    back->loadSourceAtPath("/project/slideshow-audio");
    EXPECT_TRUE(back->path().isEmpty());
}

TEST(SlideshowMusicTest, MusicIsLaidUnderTheSlideshow)
{
    MediaItem::setDurationProbe([](const QString& path) -> std::optional<qint64> {
        if (path == "/m/eight.wav") {
            return 8 * Second;
        }
        return std::nullopt;
    });
    struct Piece {
        qint64 start, stop, fadeIn, fadeOut;
    };
    struct Case {
        const char* name;
        QList<std::shared_ptr<MediaItem>> items;
        qint64 duration;
        QList<Piece> expected;
    };
    const QList<Case> cases{
        {"empty list", {}, 20 * Second, {}},
        {"cycles and cuts",
         {music("/m/a", 0, 10 * Second)},
         25 * Second,
         {{0, 10 * Second, 0, 0}, {0, 10 * Second, 0, 0}, {0, 5 * Second, 0, Second}}},
        {"short pieces are skipped",
         {music("/m/a", 0, Second * 4 / 10), music("/m/b", Second, 4 * Second, Second, 0)},
         7 * Second,
         {{Second, 4 * Second, Second, 0},
          {Second, 4 * Second, Second, 0},
          {Second, 2 * Second, 0, Second}}},
        {"only short pieces lay nothing", {music("/m/a", 0, Second * 4 / 10)}, 7 * Second, {}},
        {"a remainder of 0.1 s or less is not laid",
         {music("/m/a", 0, 10 * Second)},
         20 * Second + Second / 20,
         {{0, 10 * Second, 0, 0}, {0, 10 * Second, 0, Second}}},
        {"fade-in cut to leave the fade-out",
         {music("/m/a", 0, 10 * Second, Second * 95 / 10, 0)},
         10 * Second,
         {{0, 10 * Second, 9 * Second, Second}}},
        {"longer fade-out kept",
         {music("/m/a", 0, 10 * Second, 0, 3 * Second)},
         10 * Second,
         {{0, 10 * Second, 0, 3 * Second}}},
        {"unopened items are opened, unopenable skipped",
         {MediaItem::mediaItemWithPath("/m/eight.wav"), MediaItem::mediaItemWithPath("/m/none")},
         12 * Second,
         {{0, 8 * Second, 0, 0}, {0, 4 * Second, 0, Second}}},
        {"zero duration", {music("/m/a", 0, 10 * Second)}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pieces = MediaItem::getVcMovies(c.items, c.duration);
        ASSERT_EQ(pieces.size(), c.expected.size());
        for (int i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].trimStart, c.expected[i].start) << i;
            EXPECT_EQ(pieces[i].trimStop, c.expected[i].stop) << i;
            EXPECT_EQ(pieces[i].fadeIn, c.expected[i].fadeIn) << i;
            EXPECT_EQ(pieces[i].fadeOut, c.expected[i].fadeOut) << i;
        }
    }
    MediaItem::setDurationProbe({});
}

TEST(SlideshowMusicTest, SlideshowLaysItsMusicOverItsLength)
{
    RenderItem item;
    item.setMtAryPhotoItems(bareList(3));  // 15 s at the defaults
    EXPECT_TRUE(item.audioVcMovies().isEmpty());
    item.setAudioItems({music("/m/a", 0, 6 * Second)});
    const auto pieces = item.audioVcMovies();
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[2].duration(), 3 * Second);
    qint64 total = 0;
    for (const auto& piece : pieces) {
        total += piece.duration();
    }
    EXPECT_EQ(total, 15 * Second);
}
