#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <algorithm>
#include <array>

#include "LumentaMedia.h"
#include "RecordingProvider.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"

namespace {

// A 64x48 clip whose quadrants are grey 50 (top left), 150 (top right),
// 100 (bottom left) and 200 (bottom right).
class Edits : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = m_dir.filePath("quadrants.mp4");
        ASSERT_TRUE(testsupport::generateMedia(
            path, {"-f", "lavfi", "-i",
                   "color=black:size=64x48:rate=25:duration=3,format=yuv420p,geq=lum='if(lt(X,W/2),"
                   "if(lt(Y,H/2),50,100),if(lt(Y,H/2),150,200))':cb=128:cr=128",
                   "-c:v", "libx264", "-crf", "5"}));
        m_movie = LMFFMovie::create();
        m_movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
        ASSERT_TRUE(m_movie->hasVideo());
    }

    QImage frame(LMMediaTime time = 0, const QSize& surface = QSize())
    {
        RecordingProvider provider;
        provider.setSurface(surface);
        m_movie->decodeImageAtTime(time, &provider, true);
        return provider.images().value(0);
    }

    static double quadrant(const QImage& image, bool top, bool left)
    {
        const int w = image.width() / 2;
        const int h = image.height() / 2;
        return luma(image, QRect(left ? w / 4 : w + w / 4, top ? h / 4 : h + h / 4, w / 2, h / 2));
    }

    // Mean video luma of a rectangle.
    static double luma(const QImage& image, const QRect& rect)
    {
        return lumentatest::lumaOfGrey(lumentatest::meanGrey(image, rect));
    }

    void save(const QImage& image, const QString& name)
    {
        const QString root = qEnvironmentVariable("BRISANE_TEST_TMP", QDir::tempPath());
        QDir().mkpath(root);
        image.save(root + "/lumenta-" + name + ".png");
    }

    QTemporaryDir m_dir = testsupport::makeTempDir();
    LMFFMovie::Ptr m_movie;
};

}  // namespace

TEST_F(Edits, UneditedFrameKeepsTheQuadrants)
{
    const QImage image = frame();
    ASSERT_EQ(image.size(), QSize(64, 48));
    EXPECT_NEAR(quadrant(image, true, true), 50, 4);
    EXPECT_NEAR(quadrant(image, true, false), 150, 4);
    EXPECT_NEAR(quadrant(image, false, true), 100, 4);
    EXPECT_NEAR(quadrant(image, false, false), 200, 4);
}

TEST_F(Edits, CropHasItsOriginAtTheLowerLeftAndIsClamped)
{
    m_movie->setCropRect(QRectF(0, 0, 32, 24));
    QImage image = frame();
    ASSERT_EQ(image.size(), QSize(64, 48));
    EXPECT_NEAR(luma(image, QRect(8, 8, 48, 32)), 100, 4);

    m_movie->setCropRect(QRectF(50, 40, 100, 100));  // far outside: the top right corner
    image = frame();
    ASSERT_FALSE(image.isNull());
    EXPECT_NEAR(luma(image, QRect(24, 16, 16, 16)), 150, 6);
}

TEST_F(Edits, RotationAndFlips)
{
    m_movie->setRotate(90);  // counter-clockwise
    m_movie->setOutputVideoSize(QSizeF(48, 64));
    QImage image = frame();
    ASSERT_EQ(image.size(), QSize(48, 64));
    EXPECT_NEAR(quadrant(image, true, true), 150, 4);
    EXPECT_NEAR(quadrant(image, false, true), 50, 4);
    EXPECT_NEAR(quadrant(image, false, false), 100, 4);

    m_movie->setRotate(0);
    m_movie->setOutputVideoSize(QSizeF(64, 48));
    m_movie->setHflip(true);
    image = frame();
    EXPECT_NEAR(quadrant(image, true, true), 150, 4);
    EXPECT_NEAR(quadrant(image, true, false), 50, 4);
    m_movie->setHflip(false);
    m_movie->setVflip(true);
    image = frame();
    EXPECT_NEAR(quadrant(image, true, true), 100, 4);
}

TEST_F(Edits, NeutralColourIsIdentityOthersChangeThePicture)
{
    const QImage plain = frame();
    m_movie->setBrightness(0.5f);
    m_movie->setSaturation(0.5f);
    m_movie->setContrast(0.25f);
    m_movie->setHue(0.5f);
    m_movie->setValue("brightness", Value(0.5));
    EXPECT_EQ(frame(), plain);

    m_movie->setBrightness(0.7f);
    EXPECT_GT(quadrant(frame(), true, true), 70);
    m_movie->setBrightness(0.5f);
    m_movie->setEffectName("Invert");
    EXPECT_NEAR(quadrant(frame(), true, true), 16 + 235 - 50, 6);
}

TEST_F(Edits, FourThreeFitsInto854x480WithBars)
{
    m_movie->setZoomType(2);
    m_movie->setOutputVideoSize(QSizeF(854, 480));
    const QImage image = frame();
    save(image, "letterbox");
    ASSERT_EQ(image.size(), QSize(854, 480));
    // 640 wide content in the middle, 107 black columns each side.
    EXPECT_LT(lumentatest::meanGrey(image, QRect(0, 0, 100, 480)), 2);
    EXPECT_LT(lumentatest::meanGrey(image, QRect(754, 0, 100, 480)), 2);
    EXPECT_NEAR(luma(image, QRect(130, 20, 150, 150)), 50, 4);
    EXPECT_NEAR(luma(image, QRect(580, 300, 150, 150)), 200, 4);

    m_movie->setZoomType(1);  // stretch
    const QImage stretched = frame();
    EXPECT_NEAR(luma(stretched, QRect(0, 0, 100, 100)), 50, 4);
}

TEST_F(Edits, WatermarkIsLaidOverAtItsLowerLeftOrigin)
{
    QImage mark(10, 10, QImage::Format_ARGB32);
    mark.fill(Qt::white);
    int notified = 0;
    m_movie->setWatermarkObserver([&] { ++notified; });
    m_movie->setWatermark(LMPicture{mark, QPointF(2, 3)});
    EXPECT_EQ(notified, 1);
    int others = 0;
    const quint64 token = m_movie->addWatermarkObserver([&] { ++others; });
    m_movie->addWatermarkObserver([&] { others += 10; });
    m_movie->setWatermark(LMPicture{mark, QPointF(2, 3)});
    m_movie->removeWatermarkObserver(token);
    m_movie->setWatermark(LMPicture{mark, QPointF(2, 3)});
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(others, 21);
    const QImage image = frame();
    // Lower-left origin (2, 3): Qt rows 35..44, columns 2..11.
    EXPECT_EQ(qGray(image.pixel(6, 40)), 255);
    EXPECT_LT(qGray(image.pixel(6, 30)), 150);
    EXPECT_NEAR(quadrant(image, true, false), 150, 4);
}

TEST_F(Edits, SubtitleCueShowsOnlyInItsInterval)
{
    const QString srt = m_dir.filePath("cue.srt");
    QFile file(srt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1\n00:00:01,000 --> 00:00:02,000\nHELLO\n\n");
    file.close();
    ASSERT_TRUE(m_movie->openSubtitle(srt));
    QFile::remove(srt);  // the movie keeps its own copy
    EXPECT_TRUE(m_movie->hasSubtitle());
    m_movie->setOutputVideoSize(QSizeF(320, 240));

    auto whitePixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += qGray(image.pixel(x, y)) > 235 ? 1 : 0;
            }
        }
        return count;
    };
    const QImage before = frame(500000);
    const QImage during = frame(1500000);
    const QImage after = frame(2500000);
    save(during, "subtitle");
    EXPECT_EQ(whitePixels(before), 0);
    EXPECT_GT(whitePixels(during), 20);
    EXPECT_EQ(whitePixels(after), 0);

    ASSERT_TRUE(m_movie->openSubtitle(QString()));
    EXPECT_FALSE(m_movie->hasSubtitle());
    EXPECT_EQ(whitePixels(frame(1500000)), 0);
}

TEST_F(Edits, SubtitleInAChosenTextEncoding)
{
    const QString srt = m_dir.filePath("latin.srt");
    QFile file(srt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1\n00:00:00,000 --> 00:00:02,000\nCAF\xc9 D\xc9J\xc0\n\n");  // Windows-1252
    file.close();
    m_movie->setSubtitleEncoding("CP1252");
    ASSERT_TRUE(m_movie->openSubtitle(srt));
    m_movie->setOutputVideoSize(QSizeF(320, 240));
    const QImage image = frame(500000);
    ASSERT_FALSE(image.isNull());
    int white = 0;
    for (int y = 180; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            white += qGray(image.pixel(x, y)) > 235 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
}

// A bad subtitle is refused when it is opened, with a reason the editor can
// show, and the picture stays; a good one opened before stays in place.
TEST_F(Edits, BadSubtitlesAreRefusedWithAReasonAndThePictureStays)
{
    const struct {
        const char* name;
        QByteArray content;
        const char* reason;
    } cases[] = {
        {"empty.srt", "", "no cues"},
        {"blank.srt", "\n\n  \n", "no cues"},
        {"latin.srt", "1\n00:00:00,000 --> 00:00:02,000\nCAF\xc9\n\n",
         "not UTF-8: choose an encoding"},
        {"noise.srt", QByteArray("\x01\x02\x03garbage\xff\xfe\x00", 14),
         "not UTF-8: choose an encoding"},
        {"notes.srt", "just some words, no timing at all\n",
         "this subtitle format is not supported"},
    };
    const QString good = m_dir.filePath("good.srt");
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
    goodFile.write("1\n00:00:00,000 --> 00:00:02,000\nGOOD\n\n");
    goodFile.close();
    ASSERT_TRUE(m_movie->openSubtitle(good));
    EXPECT_TRUE(m_movie->subtitleError().isEmpty());

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_dir.filePath(c.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        EXPECT_FALSE(m_movie->openSubtitle(path));
        EXPECT_EQ(m_movie->subtitleError(), c.reason);
        EXPECT_EQ(m_movie->subtitle().toString().value_or(""),
                  "1\n00:00:00,000 --> 00:00:02,000\nGOOD\n\n")
            << "the subtitle shown before stays";
        EXPECT_FALSE(frame(500000).isNull());
    }
    const QString pipe = m_dir.filePath("pipe.srt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(m_movie->openSubtitle(pipe));
    EXPECT_EQ(m_movie->subtitleError(), "not a regular file");
}

// A chain that cannot be built with its subtitle is built without it: the
// picture never goes missing because of a subtitle.
TEST_F(Edits, AFailingSubtitleChainFallsBackToThePicture)
{
    const QString srt = m_dir.filePath("cue.srt");
    QFile file(srt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1\n00:00:00,000 --> 00:00:02,000\nHELLO\n\n");
    file.close();
    ASSERT_TRUE(m_movie->openSubtitle(srt));
    m_movie->setSubtitleEncoding("NO-SUCH-ENCODING");  // the subtitle filter cannot start
    m_movie->setOutputVideoSize(QSizeF(320, 240));
    const QImage image = frame(500000);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(320, 240));
}

TEST_F(Edits, ZoomTypesIntoA16By9Frame)
{
    struct Case {
        int zoomType;
        bool bars;
    };
    for (const Case& c : {Case{1, false}, Case{2, true}, Case{3, false}, Case{4, true},
                          Case{5, false}, Case{6, true}}) {
        m_movie->setZoomType(c.zoomType);
        m_movie->setOutputVideoSize(QSizeF(854, 480));
        const QImage image = frame();
        ASSERT_EQ(image.size(), QSize(854, 480)) << "zoom " << c.zoomType;
        const double edge = lumentatest::meanGrey(image, QRect(0, 0, 100, 480));
        if (c.bars) {
            EXPECT_LT(edge, 2) << "zoom " << c.zoomType;
        } else {
            EXPECT_GT(edge, 20) << "zoom " << c.zoomType;
        }
    }
}

// A provider that stretches the picture over a surface of its own gets the
// picture sampled at the surface's pixels: the same layout (bars, crop of the
// overflow, content) as the picture at the output size stretched there.
TEST_F(Edits, APictureForASurfaceKeepsTheLayoutOfTheOutputSize)
{
    {
        // A surface of the output's own size: the same picture, but for the
        // rounding of the conversion to BGRA.
        const QImage own = frame(0, QSize(64, 48));
        const QImage plain = frame();
        ASSERT_EQ(own.size(), plain.size());
        int worst = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb a = own.pixel(x, y);
                const QRgb b = plain.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_LE(worst, 2);
    }
    const QSize surface(720, 576);
    for (int zoomType = 1; zoomType <= 6; ++zoomType) {
        m_movie->setZoomType(zoomType);
        m_movie->setOutputVideoSize(QSizeF(854, 480));
        const QImage sampled = frame(0, surface);
        ASSERT_EQ(sampled.size(), surface) << "zoom " << zoomType;
        const QImage stretched =
            frame().scaled(surface, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = 0; y < surface.height(); y += 48) {
            for (int x = 0; x < surface.width(); x += 48) {
                const QRect block(x, y, 48, 48);
                EXPECT_NEAR(lumentatest::meanGrey(sampled, block),
                            lumentatest::meanGrey(stretched, block), 4)
                    << "zoom " << zoomType << " block " << x << "," << y;
            }
        }
    }
    // Fitted 4:3 into 16:9: 107 of 854 columns of bars each side, 90 of 720.
    m_movie->setZoomType(2);
    const QImage fitted = frame(0, surface);
    save(fitted, "letterbox-surface");
    EXPECT_LT(lumentatest::meanGrey(fitted, QRect(0, 0, 88, 576)), 2);
    EXPECT_LT(lumentatest::meanGrey(fitted, QRect(632, 0, 88, 576)), 2);
    EXPECT_GT(lumentatest::meanGrey(fitted, QRect(92, 0, 4, 576)), 20);
    EXPECT_NEAR(luma(fitted, QRect(110, 20, 200, 220)), 50, 4);
    EXPECT_NEAR(luma(fitted, QRect(400, 330, 200, 220)), 200, 4);
}

TEST_F(Edits, TheWatermarkKeepsItsPlaceOnASurface)
{
    QImage mark(10, 10, QImage::Format_ARGB32);
    mark.fill(Qt::white);
    m_movie->setWatermark(LMPicture{mark, QPointF(2, 3)});
    // Twice the 64 x 48 extent: the mark covers Qt rows 70..89, columns 4..23.
    const QImage image = frame(0, QSize(128, 96));
    ASSERT_EQ(image.size(), QSize(128, 96));
    EXPECT_EQ(qGray(image.pixel(13, 80)), 255);
    EXPECT_EQ(qGray(image.pixel(6, 72)), 255);
    EXPECT_LT(qGray(image.pixel(13, 66)), 150);
    EXPECT_LT(qGray(image.pixel(27, 80)), 150);
    EXPECT_NEAR(quadrant(image, true, false), 150, 4);
}

namespace {

// The mean red, green and blue of a rectangle.
std::array<double, 3> meanColour(const QImage& image, const QRect& rect)
{
    std::array<double, 3> sum{};
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
        }
    }
    for (double& channel : sum) {
        channel /= rect.width() * rect.height();
    }
    return sum;
}

struct ColourSource {
    const char* name;
    const char* file;
    QStringList encoding;
};

class SurfaceColours : public ::testing::TestWithParam<ColourSource> {};

}  // namespace

// Pictures for a surface are turned into BGRA with the source's own matrix
// and range, as the pictures at the output size are: the colours agree.
TEST_P(SurfaceColours, AreThoseOfThePictureAtTheOutputSize)
{
    const ColourSource source = GetParam();
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath(source.file);
    ASSERT_TRUE(testsupport::generateMedia(
        path, QStringList{"-f", "lavfi", "-i", "smptebars=size=320x180:rate=25:duration=1"} +
                  source.encoding));
    const auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    ASSERT_TRUE(movie->hasVideo());
    movie->setOutputVideoSize(QSizeF(854, 480));
    const QSize surface(720, 576);
    RecordingProvider atOutput;
    RecordingProvider onSurface;
    onSurface.setSurface(surface);
    movie->decodeImageAtTime(0, &atOutput, true);
    movie->decodeImageAtTime(0, &onSurface, true);
    const QImage sampled = onSurface.images().value(0);
    ASSERT_EQ(sampled.size(), surface);
    const QImage stretched =
        atOutput.images().value(0).scaled(surface, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Blocks inside the bars of the test picture, away from their edges.
    for (int y = 24; y + 48 <= 360; y += 96) {
        for (int x = 12; x + 48 <= surface.width(); x += 102) {
            const QRect block(x, y, 24, 48);
            const auto a = meanColour(sampled, block);
            const auto b = meanColour(stretched, block);
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(a[c], b[c], 3)
                    << source.name << " block " << x << "," << y << " channel " << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lumenta, SurfaceColours,
    ::testing::Values(ColourSource{"bt601", "bars601.mp4", {"-c:v", "libx264", "-crf", "5"}},
                      ColourSource{"bt709",
                                   "bars709.mp4",
                                   {"-c:v", "libx264", "-crf", "5", "-colorspace", "bt709",
                                    "-color_primaries", "bt709", "-color_trc", "bt709"}},
                      ColourSource{"full_range",
                                   "barsjpeg.avi",
                                   {"-c:v", "mjpeg", "-q:v", "2", "-pix_fmt", "yuvj420p"}}),
    [](const ::testing::TestParamInfo<ColourSource>& info) { return info.param.name; });

// A picture is the caller's to draw on: a chain with nothing to do must not
// hand out the decoder's own frame (a still picture in BGRA at its own size
// passes through the chain unchanged).
TEST(EditedPictures, AreTheCallersToDrawOn)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("still.bmp");
    ASSERT_TRUE(testsupport::generateMedia(path, {"-f", "lavfi", "-i", "color=c=gray:size=64x48",
                                                  "-frames:v", "1", "-pix_fmt", "bgra"}));
    const auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    ASSERT_TRUE(movie->hasVideo());
    movie->setZoomType(1);
    movie->setOutputVideoSize(QSizeF(64, 48));
    const auto picture = [&movie] {
        RecordingProvider provider;
        movie->decodeImageAtTime(0, &provider, true);
        return provider.images().value(0);
    };
    QImage first = picture();
    ASSERT_FALSE(first.isNull());
    const QRgb before = first.pixel(10, 10);
    {
        QPainter painter(&first);
        painter.fillRect(first.rect(), Qt::red);
    }
    EXPECT_EQ(picture().pixel(10, 10), before);
}
