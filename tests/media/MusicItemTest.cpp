// Music items opened from real files: refusals, pictures, the lazy movie that
// keeps archived ranges, the digest of copy names, the layout under a
// slideshow and a save and reopen of the stored copies through RenderItem.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include "TestSupport.h"
#include "media/MediaItem.h"
#include "media/RenderItem.h"
#include "media/VCMovie.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

namespace {

constexpr qint64 Second = MediaItem::TimeBase;

QString tone(const QString& folder, const QString& name, double seconds)
{
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
               "-ac", "2"}));
    return path;
}

std::shared_ptr<MediaItem> music(qint64 start, qint64 stop)
{
    auto item = MediaItem::mediaItemWithPath("/m/a.wav");
    item->setTrimStart(start);
    item->setTrimStop(stop);
    return item;
}

}  // namespace

TEST(MusicItemTest, FilesTooShortOrWithoutSoundAreRefused)
{
    const auto dir = testsupport::makeTempDir();
    const QString shortTone = tone(dir.path(), "short.wav", 0.2);
    const QString silentVideo = QDir(dir.path()).filePath("silent.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(silentVideo, 2, 160, 120, false));
    EXPECT_EQ(MediaItem::itemWithPath(shortTone), nullptr);
    EXPECT_EQ(MediaItem::itemWithPath(silentVideo), nullptr);
    EXPECT_EQ(MediaItem::itemWithPath(QDir(dir.path()).filePath("missing.wav")), nullptr);

    const auto song = MediaItem::itemWithPath(tone(dir.path(), "song.wav", 1.5));
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->itemName(), "song");
    EXPECT_EQ(song->trimStart(), 0);
    EXPECT_NEAR(song->length(), 1.5, 0.05);
    EXPECT_FALSE(song->image().isNull());  // the default picture of sound files
}

TEST(MusicItemTest, VideoWithSoundGetsAFrameFittedInto480By320)
{
    const auto dir = testsupport::makeTempDir();
    const QString clip = QDir(dir.path()).filePath("clip.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(clip, 2, 640, 360));
    const auto item = MediaItem::itemWithPath(clip);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->image().size(), QSize(480, 270));
    // Enlarges as well; the ratio is taken in single precision.
    EXPECT_EQ(MediaItem::scaleRect(QRectF(0, 0, 100, 50), QRectF(0, 0, 480, 320)).toRect(),
              QRect(0, 40, 480, 240));
}

TEST(MusicItemTest, ShaStringDigestsAnEmptyTextAsFiveSpaces)
{
    EXPECT_EQ(MediaItem::shaString(""), MediaItem::shaString("     "));
    EXPECT_EQ(
        MediaItem::shaString("abc"),
        QString::fromLatin1(QCryptographicHash::hash("abc", QCryptographicHash::Sha256).toHex()));
}

TEST(MusicItemTest, LayoutOfTheIssueTable)
{
    struct Case {
        const char* name;
        QList<std::shared_ptr<MediaItem>> items;
        qint64 duration;
        QList<qint64> lengths;
    };
    const QList<Case> cases{
        {"empty list", {}, 10 * Second, {}},
        {"no time", {music(0, 3 * Second)}, 0, {}},
        {"all under half a second", {music(0, Second * 4 / 10)}, 10 * Second, {}},
        {"3 s over 10 s",
         {music(0, 3 * Second)},
         10 * Second,
         {3 * Second, 3 * Second, 3 * Second, Second}},
        {"4 s and 0.3 s over 6 s",
         {music(0, 4 * Second), music(0, Second * 3 / 10)},
         6 * Second,
         {4 * Second, 2 * Second}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pieces = MediaItem::getVcMovies(c.items, c.duration);
        ASSERT_EQ(pieces.size(), c.lengths.size());
        for (int i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].duration(), c.lengths[i]) << i;
        }
        if (!pieces.isEmpty()) {
            EXPECT_GE(pieces.last().fadeOut, Second);
            EXPECT_EQ(pieces.last().fadeIn, 0);
        }
    }
}

TEST(MusicItemTest, ArchivedRangeSurvivesTheLazyOpenAndTheStoredCopyIsMadeOnce)
{
    const auto dir = testsupport::makeTempDir();
    const QString path = tone(dir.path(), "song.wav", 3);
    auto first = MediaItem::itemWithPath(path);
    auto second = MediaItem::itemWithPath(path);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->itemPathName(), second->itemPathName());
    EXPECT_EQ(first->itemPathName(), "item-" + MediaItem::shaString(path) + ".song.wav");
    first->setTrimStart(Second / 2);
    first->setTrimStop(Second * 5 / 2);
    first->setFadeIn(Second);
    first->setFadeOut(2 * Second);

    RenderItem slideshow;
    slideshow.setAudioItems({first, second});
    const QString project = QDir(dir.path()).filePath("project");
    ASSERT_TRUE(slideshow.saveSourceAtPath(project));
    const QStringList stored =
        QDir(QDir(project).filePath("slideshow-audio")).entryList(QDir::Files);
    EXPECT_EQ(stored, QStringList{first->itemPathName()});

    const auto result = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(first)));
    ASSERT_TRUE(result.root);
    const auto back = result.root->objectAs<MediaItem>();
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->path().isEmpty());
    EXPECT_EQ(back->name(), "song");
    EXPECT_EQ(back->itemPathName(), first->itemPathName());
    EXPECT_EQ(back->trimStart(), Second / 2);
    EXPECT_EQ(back->trimStop(), Second * 5 / 2);
    EXPECT_EQ(back->fadeIn(), Second);
    EXPECT_EQ(back->fadeOut(), 2 * Second);

    back->loadSourceAtPath(QDir(project).filePath("slideshow-audio"));
    EXPECT_TRUE(QFileInfo::exists(back->path()));
    const auto movie = back->getVcMovie();
    ASSERT_NE(movie, nullptr);
    ASSERT_NE(movie->movie(), nullptr);
    EXPECT_EQ(movie->trimStart(), Second / 2);
    EXPECT_EQ(movie->trimStop(), Second * 5 / 2);
    EXPECT_EQ(movie->fadeOut(), 2 * Second);
}
