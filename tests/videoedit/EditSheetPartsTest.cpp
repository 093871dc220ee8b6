// The sheet's pure parts: the three value transformers, the picture layout of
// the tabs and the overlay's point / pixel conversion; and the display view's
// picture before and after the first frame.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "VideoEditTestSupport.h"
#include "media/VideoEditPlayer.h"
#include "videoedit/VEMoviePlayerDisplayView.h"
#include "videoedit/core/FFMovieTime2PlayTimeStringTransformer.h"
#include "videoedit/core/Float2_2StringTransformer.h"
#include "videoedit/core/FontSizeScaleToPercentValueTransformer.h"
#include "videoedit/core/VideoEditLayout.h"

using namespace videoedittest;

namespace {

TEST(EditSheetTransformers, PlayTimeStrings)
{
    const FFMovieTime2PlayTimeStringTransformer t;
    EXPECT_EQ(t.transformedValueClass(), ValueTransformer::ValueClass::Number);
    EXPECT_TRUE(t.allowsReverseTransformation());
    const struct {
        double seconds;
        const char* text;
    } forward[] = {
        {0, "00:00:00"}, {59.99, "00:00:59"}, {3723.5, "01:02:03"}, {360000, "100:00:00"}};
    for (const auto& c : forward) {
        EXPECT_EQ(t.transformedValue(Value(qint64(sec(c.seconds)))).toString(), QString(c.text));
    }
    const struct {
        const char* text;
        double seconds;
    } reverse[] = {{"01:02:03", 3723}, {"00:00:05", 5}, {"1:02", 0},       {"5", 0},
                   {"1:2:3:4", 0},     {"a:b:c", 0},    {" 2: 3x:4", 7384}};
    for (const auto& c : reverse) {
        EXPECT_EQ(t.reverseTransformedValue(Value(c.text)).toInt(), sec(c.seconds)) << c.text;
    }
}

TEST(EditSheetTransformers, TwoDecimalsAndFontScale)
{
    const Float2_2StringTransformer two;
    EXPECT_EQ(two.transformedValue(Value(1.0)).toString(), QString("1.00"));
    EXPECT_EQ(two.transformedValue(Value(2.345f)).toString(), QString("2.35"));
    EXPECT_EQ(two.transformedValue(Value("0.5")).toString(), QString("0.50"));
    EXPECT_FLOAT_EQ(float(*two.reverseTransformedValue(Value("1.25")).toDouble()), 1.25f);

    const FontSizeScaleToPercentValueTransformer scale;
    EXPECT_EQ(scale.transformedValueClass(), ValueTransformer::ValueClass::Number);
    EXPECT_FLOAT_EQ(float(*scale.transformedValue(Value(150)).toDouble()), 0.5f);
    EXPECT_FLOAT_EQ(float(*scale.transformedValue(Value(100)).toDouble()), 0.0f);
    EXPECT_FLOAT_EQ(float(*scale.transformedValue(Value(40)).toDouble()), -0.6f);
    EXPECT_FLOAT_EQ(float(*scale.reverseTransformedValue(Value(0.5)).toDouble()), 150.0f);
}

TEST(EditSheetLayout, PicturesOnEachTab)
{
    const QRectF area(0, 0, 640, 360);
    // Both rectangles empty: a 160 x 90 picture fitted into the area.
    const auto near = [](const QRectF& a, const QRectF& b) {
        return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3 &&
               std::abs(a.width() - b.width()) < 1e-3 && std::abs(a.height() - b.height()) < 1e-3;
    };
    auto frames = VideoEditLayout::pictureFrames(area, QRectF(), QRectF(), false);
    EXPECT_TRUE(near(frames.effect, QRectF(0, 0, 640, 360))) << frames.effect.width();
    EXPECT_FALSE(frames.showOrigin);
    frames = VideoEditLayout::pictureFrames(QRectF(0, 0, 400, 400), QRectF(), QRectF(), false);
    EXPECT_TRUE(near(frames.effect, QRectF(0, 87.5, 400, 225))) << frames.effect.y();
    // An empty effect rectangle falls back to the source's.
    frames = VideoEditLayout::pictureFrames(area, QRectF(0, 0, 100, 100), QRectF(), false);
    EXPECT_TRUE(near(frames.effect, QRectF(140, 0, 360, 360))) << frames.effect.x();

    // Crop tab: halves inset 6 and shifted 2 towards the middle.
    frames =
        VideoEditLayout::pictureFrames(area, QRectF(0, 0, 320, 180), QRectF(0, 0, 720, 576), true);
    EXPECT_TRUE(frames.showOrigin);
    const QRectF left(8, 6, 308, 348);
    const QRectF right(324, 6, 308, 348);
    EXPECT_NEAR(frames.origin.width(), left.width(), 1e-3);
    EXPECT_NEAR(frames.origin.center().x(), left.center().x(), 1e-3);
    EXPECT_NEAR(frames.origin.center().y(), left.center().y(), 1e-3);
    EXPECT_NEAR(frames.effect.width(), right.width(), 1e-3);
    EXPECT_NEAR(frames.effect.center().x(), right.center().x(), 1e-3);
    EXPECT_NEAR(frames.effect.width() / frames.effect.height(), 720.0 / 576.0, 1e-3);
}

TEST(EditSheetLayout, OverlayConversionsRoundTripAndStayFinite)
{
    const QSizeF source(1920, 1080);
    const QSizeF overlay(480, 270);
    const QRectF pixels(192, 108, 960, 540);
    const QRectF points = VideoEditLayout::mediaCropToCropView(pixels, source, overlay);
    EXPECT_EQ(points, QRectF(48, 27, 240, 135));
    EXPECT_EQ(VideoEditLayout::cropViewRectToMediaCrop(points, source, overlay), pixels);
    for (const auto& [reference, view] :
         {std::pair{QSizeF(0, 0), overlay}, {source, QSizeF(0, 0)}, {QSizeF(), QSizeF()}}) {
        for (const QRectF r : {VideoEditLayout::mediaCropToCropView(pixels, reference, view),
                               VideoEditLayout::cropViewRectToMediaCrop(pixels, reference, view)}) {
            EXPECT_TRUE(std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) &&
                        std::isfinite(r.height()));
        }
    }
}

// --- Display view ---

QImage render(QWidget& view)
{
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    view.render(&image);
    return image;
}

struct DisplayFixture {
    Clip clip = makeClip(4.0);
    VideoEditPlayer player;
    VEMoviePlayerDisplayView view;

    DisplayFixture()
    {
        clip.movie->pictureSize = QSizeF(160, 90);
        clip.movie->outputSize = QSizeF(160, 90);
        clip.movie->frameColour = QColor(200, 40, 40);
        view.resize(400, 100);
        view.setPlayer(&player);
    }
    void start()
    {
        player.setOldMovieTrimStop(clip.movie->duration());
        player.setVcMovie(clip.item());
    }
};

TEST(EditSheetDisplay, BeforeTheFirstFrameABlackPictureOfTheVideosAspect)
{
    DisplayFixture f;
    f.clip.movie->answerWithPictures = false;
    f.start();
    const QImage shot = render(f.view);
    // 160 x 90 fitted into 400 x 100: 177.8 x 100, centred; grey bars beside.
    EXPECT_EQ(shot.pixelColor(200, 50), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(20, 50), QColor::fromRgbF(0.2f, 0.2f, 0.2f));
    EXPECT_EQ(shot.pixelColor(380, 50), QColor::fromRgbF(0.2f, 0.2f, 0.2f));
}

TEST(EditSheetDisplay, AWideViewKeepsTheFramesAspect)
{
    DisplayFixture f;
    f.start();
    const QImage shot = render(f.view);
    EXPECT_EQ(shot.pixelColor(200, 50), QColor(200, 40, 40));
    EXPECT_EQ(shot.pixelColor(20, 50), QColor::fromRgbF(0.2f, 0.2f, 0.2f));
    EXPECT_EQ(shot.pixelColor(120, 50), QColor(200, 40, 40));
    EXPECT_EQ(shot.pixelColor(105, 50), QColor::fromRgbF(0.2f, 0.2f, 0.2f));
}

TEST(EditSheetDisplay, AnEmptyEffectRectangleFallsBackToTheSource)
{
    DisplayFixture f;
    f.clip.movie->outputSize = QSizeF();
    f.start();
    const auto frame = f.view.currentFrame();
    EXPECT_EQ(frame.videoRect, QRectF(0, 0, 160, 90));
    EXPECT_FALSE(frame.image.isNull());
    f.view.setShowOrigin(true);
    f.clip.movie->outputSize = QSizeF(320, 240);
    EXPECT_EQ(f.view.currentFrame().videoRect, QRectF(0, 0, 160, 90)) << "showOrigin: before edits";
    VEMoviePlayerDisplayView empty;
    EXPECT_TRUE(empty.currentFrame().videoRect.isEmpty());
}

}  // namespace
