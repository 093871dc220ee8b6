#include <gtest/gtest.h>
#include <QColor>
#include <QImage>

#include "TestSupport.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMMediaSource.h"
#include "media/SegmentsMovie.h"

namespace {

LMMediaTime sec(double s)
{
    return static_cast<LMMediaTime>(s * static_cast<double>(lm_default_time_base()));
}

// A movie that paints the source time it was asked for into the frame's
// first pixel (milliseconds in red and green) and counts seeks.
class TimeMovie : public IMovie {
public:
    int seeks = 0;
    QList<LMMediaTime> decoded;

    static LMMediaTime timeOf(const QImage& frame)
    {
        const QColor c = frame.pixelColor(0, 0);
        return sec((c.red() * 256 + c.green()) / 1000.0);
    }
    void setCurrentTime(LMMediaTime) override { ++seeks; }
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool wait) override
    {
        EXPECT_TRUE(wait);
        decoded.append(time);
        const int ms = static_cast<int>(time * 1000 / lm_default_time_base());
        QImage frame(4, 4, QImage::Format_ARGB32);
        frame.fill(QColor(ms / 256, ms % 256, 0));
        provider->mediaEffectImage(this, frame);
    }
};

struct TwoPieces {
    std::shared_ptr<TimeMovie> first = std::make_shared<TimeMovie>();
    std::shared_ptr<TimeMovie> second = std::make_shared<TimeMovie>();
    // 10 s from 1 s of the first movie, 5 s from 20 s of the second.
    std::shared_ptr<SegmentsMovie> timeline =
        SegmentsMovie::movieWithMovies({{first, sec(1), sec(10)}, {second, sec(20), sec(5)}});
};

TEST(SegmentsMovieTest, DurationIsTheSumOfThePieces)
{
    TwoPieces t;
    EXPECT_EQ(t.timeline->duration(), sec(15));
    EXPECT_EQ(SegmentsMovie::movieWithMovies({})->duration(), 0);
}

TEST(SegmentsMovieTest, PieceLookupHoldsStartsButNotEnds)
{
    TwoPieces t;
    struct Case {
        double time;
        qsizetype piece;
        double base;
    } cases[] = {{0, 0, 0},     {9.999, 0, 0}, {10, 1, 10},  {12, 1, 10},
                 {14.9, 1, 10}, {15, -1, 15},  {40, -1, 15}, {-1, -1, 0}};
    for (const auto& c : cases) {
        LMMediaTime base = -7;
        EXPECT_EQ(t.timeline->getCurMovieAtTime(sec(c.time), &base), c.piece) << c.time;
        EXPECT_EQ(base, sec(c.base)) << c.time;
        EXPECT_EQ(t.timeline->getCurMovieAtTime(sec(c.time), nullptr), c.piece);
    }
}

TEST(SegmentsMovieTest, FrameComesFromThePieceAtItsSourceTime)
{
    TwoPieces t;
    const QImage frame = t.timeline->ciImageAtTime(sec(12));
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(TimeMovie::timeOf(frame), sec(22));  // trimStart 20 s + 2 s
    EXPECT_EQ(t.second->decoded, QList<LMMediaTime>{sec(22)});
    EXPECT_TRUE(t.first->decoded.isEmpty());

    const QImage atBoundary = t.timeline->ciImageAtTime(sec(10));
    EXPECT_EQ(TimeMovie::timeOf(atBoundary), sec(20));
    EXPECT_TRUE(t.timeline->ciImageAtTime(sec(15)).isNull());
    EXPECT_TRUE(t.timeline->ciImageAtTime(sec(99)).isNull());
}

TEST(SegmentsMovieTest, ForwardRequestsInsideOnePieceDoNotSeek)
{
    TwoPieces t;
    t.timeline->ciImageAtTime(sec(1));
    EXPECT_EQ(t.first->seeks, 1);
    t.timeline->ciImageAtTime(sec(2));
    t.timeline->ciImageAtTime(sec(4));
    EXPECT_EQ(t.first->seeks, 1);
    EXPECT_EQ(t.first->decoded, (QList<LMMediaTime>{sec(2), sec(3), sec(5)}));

    // Going back, even inside the same piece, seeks again.
    t.timeline->ciImageAtTime(sec(3));
    EXPECT_EQ(t.first->seeks, 2);
    // Leaving the piece seeks the next one.
    t.timeline->ciImageAtTime(sec(11));
    EXPECT_EQ(t.second->seeks, 1);
    EXPECT_EQ(t.timeline->curMovie(), 1);
    EXPECT_EQ(t.timeline->movieBaseTime(), sec(10));
    EXPECT_EQ(t.timeline->lastTime(), sec(11));
}

TEST(SegmentsMovieTest, EmptyListGivesNothing)
{
    auto timeline = SegmentsMovie::movieWithMovies({});
    for (double s : {0.0, 1.0, 100.0}) {
        EXPECT_TRUE(timeline->ciImageAtTime(sec(s)).isNull());
    }
    EXPECT_EQ(timeline->curMovie(), -1);
}

TEST(SegmentsMovieTest, PieceWithoutMovieGivesNothing)
{
    auto timeline = SegmentsMovie::movieWithMovies({{nullptr, 0, sec(2)}});
    EXPECT_TRUE(timeline->ciImageAtTime(sec(1)).isNull());
}

TEST(SegmentsMovieTest, DecodesRealFilesEndToEnd)
{
    auto dir = testsupport::makeTempDir();
    const QString red = dir.filePath("red.mp4");
    const QString blue = dir.filePath("blue.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        red,
        {"-f", "lavfi", "-i", "color=c=red:size=64x48:rate=25:duration=1", "-pix_fmt", "yuv420p"}));
    ASSERT_TRUE(testsupport::generateMedia(
        blue, {"-f", "lavfi", "-i", "color=c=blue:size=64x48:rate=25:duration=1", "-pix_fmt",
               "yuv420p"}));
    auto redMovie = LMFFMovie::create();
    auto blueMovie = LMFFMovie::create();
    // Opened for pictures (open() gives a sound-only movie).
    ASSERT_TRUE(redMovie->openMedias(LMMediaSource::mediaWithPath(red)->createMedias()));
    ASSERT_TRUE(blueMovie->openMedias(LMMediaSource::mediaWithPath(blue)->createMedias()));
    ASSERT_TRUE(redMovie->hasVideo());
    ASSERT_GT(redMovie->duration(), sec(0.8));
    auto timeline =
        SegmentsMovie::movieWithMovies({{redMovie, 0, sec(0.8)}, {blueMovie, sec(0.2), sec(0.6)}});

    struct Case {
        double time;
        QColor colour;
    } cases[] = {{0.1, Qt::red}, {0.5, Qt::red}, {0.9, Qt::blue}, {1.3, Qt::blue}, {0.2, Qt::red}};
    for (const auto& c : cases) {
        const QImage frame = timeline->ciImageAtTime(sec(c.time));
        ASSERT_FALSE(frame.isNull()) << c.time;
        const QColor centre = frame.pixelColor(frame.width() / 2, frame.height() / 2);
        EXPECT_NEAR(centre.red(), c.colour.red(), 40) << c.time;
        EXPECT_NEAR(centre.blue(), c.colour.blue(), 40) << c.time;
    }
    EXPECT_TRUE(timeline->ciImageAtTime(sec(1.4)).isNull());
}

}  // namespace
