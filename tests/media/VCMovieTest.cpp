#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "media/MediaItem.h"
#include "media/MosaicItem.h"
#include "media/VCMovie.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

// A movie-like source with settable geometry that counts watermark updates.
class GeometryMovie : public IMovie {
public:
    float rotate() const override { return m_rotate; }
    void setRotate(float v) override { m_rotate = v; }
    QSizeF videoSize() const override { return {640, 360}; }
    QRectF cropRect() const override { return {0, 0, 600, 300}; }
    QSizeF outputVideoSize() const override { return m_output; }
    void setOutputVideoSize(const QSizeF& v) override { m_output = v; }
    LMPicture watermark() const override { return m_watermark; }
    void setWatermark(const LMPicture& v) override
    {
        m_watermark = v;
        ++watermarkSets;
    }

    int watermarkSets = 0;

private:
    float m_rotate = 0.0f;
    QSizeF m_output{720, 576};
    LMPicture m_watermark;
};

void pumpEvents(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace

TEST(VCMovie, RefusesVobDrmlessEmptyAndStreamlessSources)
{
    auto dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.VOB");
    ASSERT_TRUE(testsupport::makeTestClip(dir.filePath("clip.mpg"), 0.5));
    ASSERT_TRUE(QFile::copy(dir.filePath("clip.mpg"), clip));
    EXPECT_EQ(VCMovie::movieWithPath(clip), nullptr);
    EXPECT_EQ(VCMovie::movieWithPath(dir.filePath("clip.vob")), nullptr);

    QFile text(dir.filePath("notes.mp4"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a movie");
    text.close();
    EXPECT_EQ(VCMovie::movieWithPath(text.fileName()), nullptr);
    EXPECT_EQ(VCMovie::movieWithPath(dir.filePath("missing.mp4")), nullptr);

    auto item = VCMovie::movieWithPath(dir.filePath("clip.mpg"));
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->hasVideo());
    EXPECT_TRUE(item->hasAudio());
    EXPECT_EQ(item->trimStart(), 0);
    EXPECT_NEAR(lm_ff_time_to_double(item->trimStop()), 0.5, 0.05);
    EXPECT_TRUE(std::dynamic_pointer_cast<LMFFMovie>(item->movie()));
}

TEST(VCMovie, EmptyMovieIsLongSilence)
{
    auto item = VCMovie::movieWithEmptyFFMovie();
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->hasAudio());
    EXPECT_FALSE(item->hasVideo());
    EXPECT_EQ(item->trimStop(), 360000 * kSecond);
}

TEST(VCMovie, ValidTrimArrayAndPieces)
{
    auto item = VCMovie::movieWithMovie(std::make_shared<GeometryMovie>(), 10 * kSecond);
    item->setTrimStart(kSecond + 1);
    item->setTrimStop(4 * kSecond - 1);
    item->setFadeIn(kSecond / 2);
    auto single = item->validTrimArray();
    ASSERT_EQ(single.size(), 1);
    EXPECT_DOUBLE_EQ(single[0]->start(), 1.000001);
    EXPECT_NEAR(single[0]->duration(), 2.999998, 1e-9);
    EXPECT_DOUBLE_EQ(single[0]->fadeIn(), 0.5);
    EXPECT_EQ(single[0]->base(), 0);
    // One piece over the kept range, exactly.
    auto pieces = item->validVCMovies();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0]->trimStart(), kSecond + 1);
    EXPECT_EQ(pieces[0]->trimStop(), 4 * kSecond - 1);
    EXPECT_EQ(pieces[0]->fadeIn(), kSecond / 2);
    EXPECT_EQ(pieces[0]->movie(), item->movie());

    item->setTrimStart(3 * kSecond);
    item->setTrimStop(2 * kSecond);
    EXPECT_DOUBLE_EQ(item->validTrimArray()[0]->duration(), 0.0);

    item->setTrimArray({std::make_shared<MovieTrimItem>(0.0, 2.0, 0.5, 0.0),
                        std::make_shared<MovieTrimItem>(5.0, 3.0),
                        std::make_shared<MovieTrimItem>(1.0, 4.0, 0.0, 1.0)});
    auto segments = item->validTrimArray();
    ASSERT_EQ(segments.size(), 3);
    EXPECT_EQ(segments[0]->base(), 0);
    EXPECT_EQ(segments[1]->base(), 2 * kSecond);
    EXPECT_EQ(segments[2]->base(), 5 * kSecond);
    EXPECT_EQ(item->trimArrayDuration(), 9 * kSecond);
    pieces = VCMovie::moviesFromTrimMovies({item, item});
    ASSERT_EQ(pieces.size(), 6);
    EXPECT_EQ(pieces[1]->trimStart(), 5 * kSecond);
    EXPECT_EQ(pieces[1]->trimStop(), 8 * kSecond);
    EXPECT_EQ(pieces[0]->fadeIn(), kSecond / 2);
    EXPECT_EQ(pieces[2]->fadeOut(), kSecond);
    EXPECT_EQ(pieces[5]->trimDuration(), 4 * kSecond);
}

TEST(VCMovie, RotationSwapsSizes)
{
    auto movie = std::make_shared<GeometryMovie>();
    auto item = VCMovie::movieWithMovie(movie, kSecond);
    for (auto [degrees, swapped] : {std::pair{0.0f, false},
                                    {90.0f, true},
                                    {180.0f, false},
                                    {270.0f, true},
                                    {89.95f, true},
                                    {-90.0f, true}}) {
        movie->setRotate(degrees);
        EXPECT_EQ(item->rotatedVideoSize(), swapped ? QSizeF(360, 640) : QSizeF(640, 360))
            << degrees;
        EXPECT_EQ(item->contentImageSize(), swapped ? QSizeF(300, 600) : QSizeF(600, 300));
    }
}

TEST(VCMovie, WatermarkGeometryInFractionsOfTheOutput)
{
    auto movie = std::make_shared<GeometryMovie>();
    auto item = VCMovie::movieWithMovie(movie, kSecond);
    EXPECT_EQ(item->watermarkRect(), QRectF(0, 0, 0.3, 0.3));
    EXPECT_EQ(item->watermarkTextColor(), QColor(Qt::white));
    EXPECT_EQ(item->watermarkTextFont().pointSizeF(), 80.0);
    item->setWatermarkPoint(QPointF(72, 144));
    EXPECT_DOUBLE_EQ(item->watermarkRect().x(), 0.1);
    EXPECT_DOUBLE_EQ(item->watermarkRect().y(), 0.25);
    EXPECT_EQ(item->watermarkImageDisplaySize(), QSizeF(216, 172.8));
    item->setWatermarkType(1);
    item->setRealWatermarkRect(QRectF(0, 0, 360, 57.6));
    EXPECT_EQ(item->watermarkTextSize(), QSizeF(0.5, 0.1));
    EXPECT_EQ(item->realWatermarkRect(), QRectF(0, 0, 360, 57.6));

    movie->setOutputVideoSize(QSizeF(0, 0));
    item->setWatermarkPoint(QPointF(3, 4));
    EXPECT_EQ(item->watermarkRect().topLeft(), QPointF(3, 4));

    item->setWatermarkRectString("{{0.25, 0.5}, {0.125, 0.75}}");
    EXPECT_EQ(item->watermarkRect(), QRectF(0.25, 0.5, 0.125, 0.75));
    EXPECT_EQ(item->valueForKey("watermarkRectString").toString().value(),
              "{{0.25, 0.5}, {0.125, 0.75}}");
}

TEST(VCMovie, WatermarkPictureIsClippedToTheOutput)
{
    auto movie = std::make_shared<GeometryMovie>();
    movie->setOutputVideoSize(QSizeF(200, 100));
    auto item = VCMovie::movieWithMovie(movie, kSecond);
    QImage red(40, 20, QImage::Format_ARGB32_Premultiplied);
    red.fill(Qt::red);
    item->setWatermarkImage(red);
    item->setWatermarkOpacity(0.5f);
    item->setRealWatermarkRect(QRectF(180, 10, 40, 20));  // half outside on the right
    EXPECT_TRUE(item->watermark().isNull());              // off
    item->setEnableWatermark(true);
    const LMPicture picture = item->watermark();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.image.size(), QSize(20, 20));
    EXPECT_EQ(picture.origin, QPointF(180, 10));
    EXPECT_NEAR(qAlpha(picture.image.pixel(5, 5)), 128, 1);

    // Half outside on the left: placed where the visible part lies.
    item->setWatermarkCacheImage(QImage());
    item->setRealWatermarkRect(QRectF(-20, 10, 40, 20));
    EXPECT_EQ(item->watermark().extent(), QRectF(0, 10, 20, 20));

    item->setWatermarkCacheImage(QImage());
    item->setRealWatermarkRect(QRectF(300, 10, 40, 20));
    EXPECT_TRUE(item->watermark().isNull());

    // A text watermark fills its display size.
    item->setWatermarkType(1);
    item->setWatermarkText("Brisane");
    item->setWatermarkTextColor(Qt::yellow);
    item->setWatermarkCacheImage(QImage());
    item->setRealWatermarkRect(QRectF(10, 10, 120, 40));
    const LMPicture text = item->watermark();
    ASSERT_FALSE(text.isNull());
    EXPECT_EQ(text.image.size(), QSize(120, 40));
    int painted = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            painted += qAlpha(text.image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(painted, 200);
    item->setVideoOutputSize(QSizeF(100, 50));
    EXPECT_TRUE(item->watermarkCacheImage().isNull());
    EXPECT_TRUE(movie->watermark().isNull());
}

TEST(VCMovie, WatermarkUpdatesAreCoalesced)
{
    auto movie = std::make_shared<GeometryMovie>();
    auto item = VCMovie::movieWithMovie(movie, kSecond);
    QImage blue(10, 10, QImage::Format_ARGB32_Premultiplied);
    blue.fill(Qt::blue);
    item->setWatermarkImage(blue);
    item->setEnableWatermark(true);
    for (double x : {0.1, 0.2, 0.3}) {
        item->setWatermarkRect(QRectF(x, 0.1, 0.2, 0.2));
        item->setWatermarkCacheImage(QImage());
        item->updateMovieWatermarkImage();
    }
    EXPECT_EQ(movie->watermarkSets, 0);
    pumpEvents(50);
    EXPECT_EQ(movie->watermarkSets, 1);
    EXPECT_EQ(movie->watermark().origin, QPointF(216, 57.6));

    // On the converter's side the watermark is brought on at once, when missing.
    movie->setWatermark({});
    movie->watermarkSets = 0;
    item->validVCMovies();
    EXPECT_EQ(movie->watermarkSets, 1);
    item->validVCMovies();
    EXPECT_EQ(movie->watermarkSets, 1);
}

TEST(VCMovie, SnapshotKeysRestoreAndNullScalarsBecomeZero)
{
    auto item = VCMovie::movieWithMovie(std::make_shared<GeometryMovie>(), 5 * kSecond);
    item->setTrimStart(kSecond);
    item->setWatermarkOpacity(0.25f);
    item->setTrimArray({std::make_shared<MovieTrimItem>(1.0, 2.0)});
    auto copy = VCMovie::create();
    for (const QString& key : VCMovie::snapshotKeys()) {
        EXPECT_TRUE(copy->setValueForKey(item->valueForKey(key), key)) << key.toStdString();
    }
    EXPECT_EQ(copy->trimStart(), kSecond);
    EXPECT_EQ(copy->trimStop(), 5 * kSecond);
    EXPECT_FLOAT_EQ(copy->watermarkOpacity(), 0.25f);
    ASSERT_EQ(copy->trimArray().size(), 1);
    EXPECT_TRUE(copy->setValueForKey(Value(), "trimStop"));
    EXPECT_TRUE(copy->setValueForKey(Value(), "watermarkOpacity"));
    EXPECT_EQ(copy->trimStop(), 0);
    EXPECT_FLOAT_EQ(copy->watermarkOpacity(), 0.0f);
}

TEST(VCMovie, MusicPiecesBecomeItemsAndFilesHaveTheirLength)
{
    auto dir = testsupport::makeTempDir();
    const QString music = dir.filePath("song.m4a");
    ASSERT_TRUE(testsupport::generateMedia(
        music, {"-f", "lavfi", "-i", "sine=frequency=330:sample_rate=44100:duration=2"}));
    VCMovie::installDurationProbe();
    auto entry = MediaItem::mediaItemWithPath(music);
    const auto piece = entry->piece();
    ASSERT_TRUE(piece);
    EXPECT_NEAR(lm_ff_time_to_double(piece->trimStop), 2.0, 0.05);
    EXPECT_FALSE(MediaItem::mediaItemWithPath(dir.filePath("none.mp3"))->piece());

    const QList<MusicPiece> laid = MediaItem::getVcMovies({entry}, 5 * kSecond);
    const QList<VCMovie::Ptr> items = VCMovie::moviesFromMusicPieces(laid);
    ASSERT_EQ(items.size(), laid.size());
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0]->movie(), items[1]->movie());  // one file, one movie
    EXPECT_EQ(items.last()->trimStop(), laid.last().trimStop);
    EXPECT_EQ(items.last()->fadeOut(), laid.last().fadeOut);
    EXPECT_TRUE(items[0]->hasAudio());
    EXPECT_TRUE(VCMovie::moviesFromMusicPieces({MusicPiece{dir.filePath("none.mp3"), 0, kSecond}})
                    .isEmpty());

    // The entry's own media item follows its range and keeps its movie.
    auto own = entry->vcmovie();
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->hasAudio());
    entry->setTrimStart(kSecond / 2);
    entry->setFadeIn(kSecond / 4);
    EXPECT_EQ(entry->vcmovie(), own);
    EXPECT_EQ(own->trimStart(), kSecond / 2);
    EXPECT_EQ(own->fadeIn(), kSecond / 4);
    EXPECT_EQ(MediaItem::mediaItemWithPath(dir.filePath("none.mp3"))->vcmovie(), nullptr);
}

// A frame turned by a quarter: the region is drawn on the turned picture and
// must blur the part of the frame the user sees there, in the frame's own
// shape. Frame 200 x 100, left half red, right half blue; turned a quarter
// counter-clockwise the left half lies at the bottom of the 100 x 200 picture.
TEST(VCMovie, MosaicOfATurnedFrameBlursWhereTheRegionWasDrawn)
{
    QImage frame(200, 100, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::blue);
    QPainter(&frame).fillRect(0, 0, 100, 100, Qt::red);

    auto movie = std::make_shared<GeometryMovie>();
    movie->setRotate(90);
    auto item = VCMovie::movieWithMovie(movie, 10 * kSecond);
    auto region = MosaicItem::initNewMosaic();
    region->setMosaicMode(1);
    region->setMosaicRect(QRectF(0, 0, 100, 100));  // the turned picture's lower half
    region->setEndTime(10 * kSecond);
    item->setMosaicArray({region});

    const QImage result = item->processMosaicEffect(frame);
    testsupport::writeArtifact(result, "mosaic-turned.png");
    ASSERT_EQ(result.size(), frame.size());
    for (const QPoint p : {QPoint(20, 10), QPoint(20, 90), QPoint(60, 50)}) {
        EXPECT_EQ(result.pixelColor(p), QColor(Qt::red)) << p.x() << "," << p.y();
    }
    const QColor edge = result.pixelColor(98, 50);
    EXPECT_GT(edge.blue(), 10) << "the red half next to the blue one is blurred";
    for (const QPoint p : {QPoint(101, 50), QPoint(150, 10), QPoint(199, 99)}) {
        EXPECT_EQ(result.pixelColor(p), QColor(Qt::blue)) << "outside the region, untouched";
    }

    // Mode 0 blurs everything but the region: the red half stays sharp.
    region->setMosaicMode(0);
    region->setMosaicRect(QRectF(0, 0, 100, 100));
    const QImage outside = item->processMosaicEffect(frame);
    EXPECT_EQ(outside.pixelColor(98, 50), QColor(Qt::red));
    EXPECT_GT(outside.pixelColor(101, 50).red(), 10);
}

// Editors write the attributes on one thread while the converter reads them
// on another: every read sees one whole value.
TEST(VCMovie, AttributesAreReadWholeWhileAnotherThreadWritesThem)
{
    auto item = VCMovie::create();
    const QString a = QString(64, QLatin1Char('a'));
    const QString b = QString(80, QLatin1Char('b'));
    const VCMovie::TrimArray one{std::make_shared<MovieTrimItem>(0, 1, 0, 0)};
    const VCMovie::TrimArray two{std::make_shared<MovieTrimItem>(1, 1, 0, 0),
                                 std::make_shared<MovieTrimItem>(3, 1, 0, 0)};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            item->setWatermarkText(i % 2 ? a : b);
            item->setTrimArray(i % 2 ? one : two);
            item->setWatermarkRect(QRectF(i % 2, 0, 0.5, 0.5));
            item->setTrimStart(i % 2 ? kSecond : 2 * kSecond);
        }
        done = true;
    });
    int bad = 0;
    while (!done) {
        const QString text = item->watermarkText();
        if (!text.isEmpty() && text != a && text != b) {
            ++bad;
        }
        const auto segments = item->validTrimArray();
        if (segments.isEmpty() || segments.size() > 2) {
            ++bad;
        }
        const LMMediaTime start = item->trimStart();
        if (start != 0 && start != kSecond && start != 2 * kSecond) {
            ++bad;
        }
    }
    writer.join();
    EXPECT_EQ(bad, 0);
}
