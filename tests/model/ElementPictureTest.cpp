#include "DVDResourceTestFixture.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMMediaSource.h"
#include "media/DVDMenuVideo.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"

using namespace disctest;

namespace {

class ElementPictureTest : public DiscSideTest {
protected:
    void SetUp() override
    {
        DiscSideTest::SetUp();
        movie = std::make_shared<ClockMovie>();
        clip = std::make_shared<DiscTestClip>();
        clip->preview = solid(32, 24, Qt::green);
        // A 10 s title from 0 s of its movie.
        clip->pieces = {{movie, 0, seconds(10)}};
        title = std::make_shared<DiscTestTitle>();
        title->clips = {clip};
        item = std::make_shared<DVDPageItem>();
        item->setFrame(QRectF(0, 0, 200, 150));
        item->setUseFrame(false);
        item->setItemRoundValue(0);
        item->setMedia(title);
    }

    // The centre colour of the element's picture at a menu time.
    QColor centreAt(qint64 time)
    {
        const QImage picture = item->imageAtTime(time);
        EXPECT_FALSE(picture.isNull());
        return picture.pixelColor(picture.width() / 2, picture.height() / 2);
    }

    std::shared_ptr<ClockMovie> movie;
    std::shared_ptr<DiscTestClip> clip;
    std::shared_ptr<DiscTestTitle> title;
    std::shared_ptr<DVDPageItem> item;
};

TEST_F(ElementPictureTest, StillTimeShowsTheFirstClipsPreview)
{
    EXPECT_EQ(centreAt(DVDPageItem::stillTime), QColor(Qt::green));
    EXPECT_TRUE(movie->decoded.isEmpty());
    // A still picture in use wins.
    item->setTitleVideoImage(solid(8, 8, Qt::blue));
    item->setTitleUseImageFrom(1);
    EXPECT_EQ(centreAt(DVDPageItem::stillTime), QColor(Qt::blue));
    EXPECT_EQ(centreAt(0), QColor(Qt::blue));
    EXPECT_TRUE(movie->decoded.isEmpty());
}

TEST_F(ElementPictureTest, LiveVideoStartsAtTheOffsetAndLoops)
{
    struct Case {
        double menuTime;
        double sourceTime;
    } cases[] = {{0, 5.5}, {1, 6.5}, {6, 1.5}, {-20, 0}, {14.5, 0}};
    for (const auto& c : cases) {
        item->setCurrentTime(0);  // a new menu time: the timeline is rebuilt
        EXPECT_EQ(centreAt(seconds(c.menuTime)), ClockMovie::colourFor(seconds(c.sourceTime)))
            << c.menuTime;
        EXPECT_EQ(movie->decoded.last(), seconds(c.sourceTime)) << c.menuTime;
    }
}

TEST_F(ElementPictureTest, TimelineLivesUntilTheNextTimeChange)
{
    centreAt(0);
    const auto timeline = item->itemSegmentMovie();
    ASSERT_TRUE(timeline);
    centreAt(seconds(0.04));
    EXPECT_EQ(item->itemSegmentMovie(), timeline);
    EXPECT_EQ(movie->seeks, 1);
    item->setCurrentTime(seconds(3));
    EXPECT_FALSE(item->itemSegmentMovie());
}

// The menu source's clock reaches a real element of its page: a clip trimmed
// after the menu first played live shows its new picture, not the old one.
TEST_F(ElementPictureTest, MenuClockReachesTheRealElement)
{
    auto page = std::make_shared<DVDPage>();
    page->setItemArray({item});
    const auto menu = DVDMenuVideo::create(page);
    ASSERT_TRUE(menu);

    const QColor before = centreAt(0);
    ASSERT_TRUE(item->itemSegmentMovie());
    EXPECT_EQ(before, ClockMovie::colourFor(seconds(5.5)));

    clip->pieces = {{movie, seconds(20), seconds(4)}};  // trimmed to 20..24 s
    menu->setCurrentTime(0);
    EXPECT_FALSE(item->itemSegmentMovie()) << "the clock did not reach the element";
    centreAt(0);
    ASSERT_FALSE(movie->decoded.isEmpty());
    EXPECT_GE(movie->decoded.last(), seconds(20));
    EXPECT_LT(movie->decoded.last(), seconds(24));
}

TEST_F(ElementPictureTest, GroupClipsPlayTheirMembers)
{
    auto memberMovie = std::make_shared<ClockMovie>();
    auto first = std::make_shared<DiscTestClip>();
    first->pieces = {{memberMovie, seconds(1), seconds(2)}};
    auto second = std::make_shared<DiscTestClip>();
    second->pieces = {{memberMovie, seconds(7), seconds(3)}};
    auto group = std::make_shared<DiscTestClip>();
    group->members = {first, second};
    group->pieces = {{movie, 0, seconds(99)}};  // not played
    const auto pieces = DVDPageItem::getVCMovieForMedias({group, clip});
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0].trimStart, seconds(1));
    EXPECT_EQ(pieces[1].trimStart, seconds(7));
    EXPECT_EQ(pieces[2].trimDuration, seconds(10));

    // A chapter element shows its own clip.
    item->setMedia(first);
    EXPECT_EQ(item->getMovieMediasForItem(), QList<std::shared_ptr<MenuClip>>{first});
}

TEST_F(ElementPictureTest, LiveVideoFromARealFile)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("blue.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", "color=c=blue:size=64x48:rate=25:duration=2", "-pix_fmt",
               "yuv420p"}));
    auto file = LMFFMovie::create();
    ASSERT_TRUE(file->openMedias(LMMediaSource::mediaWithPath(path)->createMedias()));
    clip->pieces = {{file, seconds(0.5), seconds(1)}};
    for (double t : {0.0, 0.04, 0.08, 3.0}) {
        const QColor centre = centreAt(seconds(t));
        EXPECT_LT(centre.red(), 40) << t;
        EXPECT_GT(centre.blue(), 200) << t;
    }
}

TEST_F(ElementPictureTest, TitleWithoutClipsIsABlackBox)
{
    title->clips.clear();
    EXPECT_EQ(centreAt(DVDPageItem::stillTime), QColor(Qt::black));
    EXPECT_EQ(centreAt(0), QColor(Qt::black));
    item->setMedia(nullptr);
    EXPECT_EQ(centreAt(0), QColor(Qt::black));
}

TEST_F(ElementPictureTest, PictureSizeIsTheFrameRoundedUp)
{
    struct Case {
        QRectF frame;
        QSize size;
    } cases[] = {{{0, 0, 80.4, 70.6}, {81, 71}},
                 {{12.5, 3, 200, 150}, {200, 150}},
                 {{0, 0, 0.2, 0.2}, {1, 1}}};
    for (const auto& c : cases) {
        item->setFrame(c.frame);
        EXPECT_EQ(item->imageAtTime(DVDPageItem::stillTime).size(), c.size);
    }
    item->setFrame(QRectF(10, 10, 0, 50));
    EXPECT_TRUE(item->imageAtTime(DVDPageItem::stillTime).isNull());
}

TEST_F(ElementPictureTest, RoundedCornersFollowTheRoundValue)
{
    struct Case {
        double round;
        bool useFrame;
        double radius;
    } cases[] = {{0.1, false, 10}, {1.0, false, 100}, {0.5, true, 0}, {0, false, 0}};
    for (const auto& c : cases) {
        item->setItemRoundValue(c.round);
        item->setUseFrame(c.useFrame);
        EXPECT_DOUBLE_EQ(item->roundValue(), c.radius);
    }
    // Drawn, the radius is capped at half the height (75).
    item->setUseFrame(false);
    item->setItemRoundValue(1.0);
    const QImage round = item->imageAtTime(DVDPageItem::stillTime);
    EXPECT_EQ(pixelUp(round, 2, 2).alpha(), 0);
    EXPECT_EQ(pixelUp(round, 100, 2), QColor(Qt::green));  // flat between the corners
    EXPECT_EQ(pixelUp(round, 2, 75), QColor(Qt::green));   // the corners meet mid-height
    EXPECT_EQ(pixelUp(round, 10, 10).alpha(), 0);          // outside a 75-point corner arc
    item->setItemRoundValue(0.1);
    const QImage slight = item->imageAtTime(DVDPageItem::stillTime);
    EXPECT_EQ(pixelUp(slight, 1, 1).alpha(), 0);
    EXPECT_EQ(pixelUp(slight, 5, 5), QColor(Qt::green));
}

TEST_F(ElementPictureTest, FramedPictureShowsInsideTheInsetAndUnderTheFrame)
{
    item->setUseFrame(true);
    item->setFrameResource(nullptr);
    const QImage inset = item->imageAtTime(DVDPageItem::stillTime);
    EXPECT_EQ(pixelUp(inset, 2, 2).alpha(), 0);
    EXPECT_EQ(pixelUp(inset, 6, 6), QColor(Qt::green));
    EXPECT_EQ(pixelUp(inset, 194, 144), QColor(Qt::green));
    EXPECT_EQ(pixelUp(inset, 197, 147).alpha(), 0);
    EXPECT_DOUBLE_EQ(item->roundValue(), 0);

    // A template frame: its mask erases the picture where it is opaque and
    // the frame picture lies over the rest.
    auto frame = std::make_shared<DVDLibraryFrameResource>();
    frame->setFrame("frames/01Classic-frame.png");
    frame->setMask("frames/01Classic-mask.png");
    const QImage maskPicture = frame->maskImage().scaled(200, 150);
    ASSERT_FALSE(maskPicture.isNull());
    item->setFrameResource(frame);
    const QImage framed = item->imageAtTime(DVDPageItem::stillTime);
    EXPECT_EQ(framed.pixelColor(100, 75), QColor(Qt::green));
    int checked = 0;
    for (int x = 6; x < 194; x += 4) {
        const int y = 7;
        if (maskPicture.pixelColor(x, y).alpha() == 255) {
            EXPECT_NE(framed.pixelColor(x, y), QColor(Qt::green)) << x;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
    EXPECT_FALSE(savePicture(framed, "element-framed").isEmpty());
}

TEST_F(ElementPictureTest, TextAndButtonPictures)
{
    auto button = std::make_shared<PictureButton>();
    button->picture = solid(30, 20, Qt::red);
    item->setButtonResource(button);
    item->setType(12);
    EXPECT_EQ(item->imageAtTime(0), button->picture);

    auto text = std::make_shared<EffectTextImage>();
    item->setTextSource(text);
    item->setUseTextSource(true);
    EXPECT_EQ(item->imageAtTime(0), text->textSourceImage());
    item->setType(4);
    EXPECT_EQ(item->imageAtTime(0), text->textSourceImage());
}

TEST_F(ElementPictureTest, ShadowPointsAlongItsAngle)
{
    struct Case {
        qint64 angle;
        float offset;
        QPointF expected;
    } cases[] = {{0, 3, {3, 0}}, {90, 3, {0, 3}}, {180, 2, {-2, 0}}, {-90, 4, {0, -4}}};
    for (const auto& c : cases) {
        item->setShadowAngleValue(c.angle);
        item->setShadowOffsetValue(c.offset);
        const auto shadow = item->shadow();
        ASSERT_TRUE(shadow);
        EXPECT_NEAR(shadow->offset.x(), c.expected.x(), 1e-9) << c.angle;
        EXPECT_NEAR(shadow->offset.y(), c.expected.y(), 1e-9) << c.angle;
        EXPECT_EQ(shadow->blurRadius, 10);
        EXPECT_EQ(shadow->color, QColor::fromRgbF(0, 0, 0, 0.5));
    }
    item->setHasShadow(false);
    EXPECT_FALSE(item->getItemShadow());
}

}  // namespace
