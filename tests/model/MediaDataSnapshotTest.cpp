// Clips and page music: the edit snapshot taken when archiving and applied
// when loading, the DVD pieces at source times, thumbnails, moves and music.

#include "DataResourceTestFixture.h"
#include "media/MovieTrimItem.h"
#include "media/VCMovie.h"
#include "model/DVDFileSource.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "platform/GeometryStrings.h"

using namespace mediatest;

namespace {

class MediaDataTest : public MediaSideTest {
protected:
    // A clip over a generated file, filed in the project as an import does.
    MediaData::Ptr importClip(const QString& name, double length, int width = 160, int height = 120)
    {
        source = SectionDataResource::resourceWithPath(clip(name, length, width, height));
        auto section = source->createMediaSectionItem();
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        source->mediaSectionArray().append(section);
        return section->createMediaData();
    }

    std::shared_ptr<SectionDataResource> source;
};

TEST_F(MediaDataTest, SnapshotCarriesEditsToARebuiltItem)
{
    const auto made = importClip("edit.mp4", 3.0);
    ASSERT_TRUE(made);
    const auto item = made->vcmovie();
    item->setTrimStart(seconds(0.5));
    item->setTrimStop(seconds(2.5));
    item->setFadeIn(seconds(0.25));
    item->setTrimArray({std::make_shared<MovieTrimItem>(0.0, 1.0),
                        std::make_shared<MovieTrimItem>(1.5, 0.5, 0.1, 0.2)});
    item->setEnableWatermark(false);
    item->setWatermarkText("Holiday");
    item->setWatermarkRect(QRectF(0.1, 0.2, 0.3, 0.4));
    item->setWatermarkOpacity(0.5f);
    made->ffmovie()->setBrightness(0.7f);
    made->ffmovie()->setHue(0.3f);
    made->ffmovie()->setHflip(true);
    made->ffmovie()->setVolume(2.0f);
    made->setAudioTreamTag(1);

    made->newMediaEditDic();
    const Value::Dictionary snapshot = made->movieAttributes();
    EXPECT_EQ(snapshot.value("enableWatermark").toBool(), false);
    EXPECT_EQ(snapshot.value("watermarkText").toString(), "Holiday");
    EXPECT_TRUE(snapshot.contains("watermarkRectString"));
    EXPECT_TRUE(snapshot.contains("volume"));

    made->loadVCMovieFromProject();  // a fresh item from the file, edits applied
    const auto fresh = made->vcmovie();
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, item);
    EXPECT_EQ(fresh->trimStart(), seconds(0.5));
    EXPECT_EQ(fresh->trimStop(), seconds(2.5));
    EXPECT_EQ(fresh->fadeIn(), seconds(0.25));
    ASSERT_EQ(fresh->trimArray().size(), 2);
    EXPECT_DOUBLE_EQ(fresh->trimArray()[1]->start(), 1.5);
    EXPECT_DOUBLE_EQ(fresh->trimArray()[1]->fadeOut(), 0.2);
    EXPECT_EQ(fresh->watermarkText(), "Holiday");
    EXPECT_EQ(fresh->watermarkRect(), QRectF(0.1, 0.2, 0.3, 0.4));
    EXPECT_FLOAT_EQ(fresh->watermarkOpacity(), 0.5f);
    EXPECT_FLOAT_EQ(made->ffmovie()->brightness(), 0.7f);
    EXPECT_FLOAT_EQ(made->ffmovie()->hue(), 0.3f);
    EXPECT_TRUE(made->ffmovie()->hflip());
    EXPECT_FLOAT_EQ(made->ffmovie()->volume(), 2.0f);
    EXPECT_EQ(made->audioTreamTag(), 1);
}

TEST_F(MediaDataTest, AbsentKeysOfASnapshot)
{
    const auto made = importClip("keys.mp4", 2.0);
    ASSERT_TRUE(made);
    made->vcmovie()->setTrimStart(seconds(0.5));
    made->ffmovie()->setHue(0.3f);
    made->newMediaEditDic();
    Value::Dictionary snapshot = made->movieAttributes();
    snapshot.remove("watermarkOpacity");
    snapshot.remove("hue");
    snapshot.remove("trimStart");
    snapshot.remove("trimStop");
    made->setMovieAttributes(snapshot);
    made->loadVCMovieFromProject();
    EXPECT_FLOAT_EQ(made->vcmovie()->watermarkOpacity(), 0.0f);  // a missing item key clears
    EXPECT_FLOAT_EQ(made->ffmovie()->hue(), 0.5f);               // a missing movie key stays
    // Missing trim keys never zero the kept range: the fresh item keeps its whole length.
    EXPECT_EQ(made->vcmovie()->trimStart(), 0);
    EXPECT_EQ(made->vcmovie()->trimStop(), made->ffmovie()->duration());
}

TEST_F(MediaDataTest, EmptySnapshotChangesNothing)
{
    const auto made = importClip("empty.mp4", 2.0);
    ASSERT_TRUE(made);
    made->setMovieAttributes({});
    made->loadVCMovieFromProject();
    EXPECT_GT(made->vcmovie()->trimDuration(), seconds(1.5));
    EXPECT_FLOAT_EQ(made->vcmovie()->watermarkOpacity(), 1.0f);
}

TEST_F(MediaDataTest, SegmentMoviesArePlacedAtSourceTimes)
{
    const auto made = importClip("long.mp4", 3.0);
    ASSERT_TRUE(made);
    const auto section = made->sectionItem();
    section->setStartTimeInMedia(seconds(10));
    section->setEndTimeInMedia(seconds(20));
    made->vcmovie()->setTrimStart(seconds(1));  // ignored without segments
    made->vcmovie()->setTrimStop(seconds(2));

    struct Case {
        QList<std::pair<double, double>> segments;  // start, length (s)
        QList<std::pair<double, double>> expected;  // trimStart, trimStop (s)
    };
    for (const Case& c : {Case{{}, {{10, 20}}}, Case{{{0, 2}, {5, 2}}, {{10, 12}, {15, 17}}}}) {
        VCMovie::TrimArray segments;
        for (const auto& [start, length] : c.segments) {
            segments << std::make_shared<MovieTrimItem>(start, length);
        }
        made->vcmovie()->setTrimArray(segments);
        const auto pieces = made->segmentMovies();
        ASSERT_EQ(pieces.size(), c.expected.size());
        const auto reading = made->segmentPieces();
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i]->trimStart(), seconds(c.expected[i].first));
            EXPECT_EQ(pieces[i]->trimStop(), seconds(c.expected[i].second));
            EXPECT_EQ(pieces[i]->movie(), made->ffmovie());
            EXPECT_EQ(reading[i].trimStart, pieces[i]->trimStart());
            EXPECT_EQ(reading[i].trimDuration, pieces[i]->trimDuration());
        }
    }
}

TEST_F(MediaDataTest, ThumbnailSizes)
{
    struct Case {
        QSize video;
        QSize thumbnail;
    };
    for (const Case c : {Case{{1920, 1080}, {480, 270}}, Case{{320, 240}, {320, 240}}}) {
        const auto made = importClip(QString("size-%1.mp4").arg(c.video.width()), 1.0,
                                     c.video.width(), c.video.height());
        ASSERT_TRUE(made);
        EXPECT_EQ(made->previewImage().size(), c.thumbnail);
    }
}

// A movie that records the time its thumbnail is asked for.
class ThumbnailProbe : public IMovie {
public:
    explicit ThumbnailProbe(double length) : m_length(seconds(length)) {}
    LMMediaTime duration() const override { return m_length; }
    QSizeF videoSize() const override { return {160, 120}; }
    QImage thumbnailAtTime(LMMediaTime time, const QSize& size) override
    {
        asked = time;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        return image;
    }
    LMMediaTime asked = -1;

private:
    LMMediaTime m_length;
};

TEST(MediaDataThumbnailTest, OffsetIsHalfTheLengthAtMostFiveAndAHalfSeconds)
{
    struct Case {
        double length;
        double start;
        double expected;
    };
    for (const Case c : {Case{4, 0, 2}, Case{60, 0, 5.5}, Case{60, 10, 15.5}}) {
        const auto movie = std::make_shared<ThumbnailProbe>(c.length + c.start);
        auto item = VCMovie::movieWithMovie(movie, seconds(c.start + c.length));
        item->setTrimStart(seconds(c.start));
        EXPECT_FALSE(MediaData::thumbnailForVcMovie(*item).isNull());
        EXPECT_EQ(movie->asked, seconds(c.expected));
    }
}

TEST_F(MediaDataTest, MovedClipKeepsItsEditsAndTakesItsSection)
{
    const auto made = importClip("move.mp4", 1.5);
    ASSERT_TRUE(made);
    const auto title = std::make_shared<DVDTitleData>();
    made->flushSuperTitleData(title);
    made->setAudioTreamTag(1);
    made->setIsTitle(true);

    const auto moved = MediaData::copyMediaFromMedia(*made);
    EXPECT_EQ(moved->vcmovie(), made->vcmovie());  // shared: the edits go along
    EXPECT_EQ(moved->sectionItem(), made->sectionItem());
    EXPECT_EQ(made->sectionItem()->associatedMedia(), moved);
    EXPECT_EQ(moved->superTitleData(), title);
    EXPECT_EQ(moved->audioTreamTag(), 99);
    EXPECT_FALSE(moved->isTitle());
    EXPECT_TRUE(moved->movieAttributes().isEmpty());
    EXPECT_EQ(moved->name(), made->name());
}

TEST_F(MediaDataTest, GroupsAndFiling)
{
    const auto first = importClip("g1.mp4", 1.2);
    const auto second = importClip("g2.mp4", 1.2);
    ASSERT_TRUE(first && second);
    auto group = MediaData::copyMediaFromMedia(*first);
    group->setSectionItem(nullptr);
    group->setHasSubMedia(true);
    group->setSubMediaArray({first, second});
    first->setSuperTitleData(std::make_shared<DVDTitleData>());

    const auto movedGroup = MediaData::copyMediaFromMedia(*group);
    EXPECT_EQ(movedGroup->sectionItem(), nullptr);  // a group has no section of its own
    EXPECT_EQ(movedGroup->subMediaArray(), (MediaData::ClipList{first, second}));
    MediaData::copyMediaEditEndWithMedia(movedGroup);
    for (const auto& member : {first, second}) {
        EXPECT_EQ(member->superMediaData(), movedGroup);
        EXPECT_TRUE(member->isSubMedia());
        EXPECT_FALSE(member->hasSubMedia());
        EXPECT_EQ(member->superTitleData(), nullptr);
    }
    EXPECT_EQ(movedGroup->subMenuClips().size(), 2);

    const auto title = std::make_shared<DVDTitleData>();
    first->flushSuperTitleData(title);
    EXPECT_EQ(first->superTitleData(), title);
    EXPECT_FALSE(first->isSubMedia());
    EXPECT_EQ(first->superMediaData(), nullptr);
}

TEST_F(MediaDataTest, MusicNeedsAudio)
{
    const QString silentVideo = clip("silent.mp4", 2.0, 160, 120, false);
    EXPECT_EQ(MusicData::musicDataWithPath(silentVideo), nullptr);
    EXPECT_EQ(MusicData::musicDataWithPath(path("missing.m4a")), nullptr);

    const QString song = path("song.m4a");
    ASSERT_TRUE(testsupport::generateMedia(
        song, {"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:a", "aac"}));
    const auto music = MusicData::musicDataWithPath(song);
    ASSERT_TRUE(music);
    EXPECT_EQ(music->fileSource()->path(), song);
    EXPECT_NEAR(music->musicDuration(), 3.0, 0.1);
    music->vcmovie()->setTrimStart(seconds(0.5));
    music->vcmovie()->setTrimStop(seconds(2.0));
    music->newMediaEditDic();
    EXPECT_FALSE(music->movieAttributes().contains("volume"));
    music->loadVCMovieFromProject();
    EXPECT_DOUBLE_EQ(music->musicDuration(), 1.5);
}

}  // namespace
