// A crop and a watermark that reach past the picture, as the sheet allows
// them to be stored, never break the picture: Lumenta keeps the part of the
// crop inside the frame and the item draws only the part of the watermark
// inside the output. Frames, thumbnails and a whole conversion of such a
// clip all succeed.
#include <gtest/gtest.h>
#include <QImage>

#include "TestSupport.h"
#include "VideoEditDiscSupport.h"
#include "VideoEditTestSupport.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMMediaSource.h"
#include "media/VCMovie.h"

using namespace videoedittest;

namespace {

class CropWatermarkOutsideTheFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("clip.mp4");
        ASSERT_TRUE(testsupport::makeTestClip(path, 1.0, 160, 120));
        item = VCMovie::movieWithPath(path);
        ASSERT_TRUE(item && item->movie());
        item->setVideoOutputSize(QSizeF(160, 120));
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString path;
    VCMovie::Ptr item;
};

TEST_F(CropWatermarkOutsideTheFrame, FramesAndThumbnailsAreMadeForEveryStoredCrop)
{
    const IMovie::Ptr movie = item->movie();
    const QRectF crops[] = {
        {100, 80, 200, 200},   // reaches past the right and top edges
        {-50, -40, 100, 90},   // starts before the frame
        {500, 500, 50, 50},    // wholly outside
        {159.5, 0, 0.6, 120},  // thinner than a pixel
        {0, 0, 1000, 1000},    // larger than the frame
    };
    for (const QRectF& crop : crops) {
        movie->setCropRect(crop);
        EXPECT_EQ(movie->cropRect(), crop) << "stored as given";
        const QImage frame = effectImageAt(*movie, 0.5);
        ASSERT_FALSE(frame.isNull()) << crop.x() << "," << crop.y();
        EXPECT_EQ(frame.size(), QSize(160, 120));
        EXPECT_FALSE(movie->thumbnailAtTime(0, QSize(80, 60)).isNull());
    }
}

TEST_F(CropWatermarkOutsideTheFrame, AHalfOutsideWatermarkIsClippedAndTheClipConverts)
{
    item->setEnableWatermark(true);
    item->setWatermarkType(0);
    QImage mark(40, 40, QImage::Format_ARGB32);
    mark.fill(QColor(0, 255, 0));
    item->setWatermarkImage(mark);
    // Half of it beyond the right edge, in output pixels, y up.
    item->setWatermarkPoint(QPointF(140, 10));
    item->setWatermarkImageDisplaySize(QSizeF(40, 40));
    item->forceUpdateWatermarkImage();
    item->updateMovieWatermarkImageHelper();
    const IMovie::Ptr movie = item->movie();
    ASSERT_FALSE(movie->watermark().isNull());
    EXPECT_EQ(movie->watermark().extent(), QRectF(140, 10, 20, 40)) << "the part inside";
    movie->setCropRect(QRectF(100, -20, 200, 200));

    const QImage frame = effectImageAt(*movie, 0.5).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(frame.isNull());
    // y up 10..50 is rows 70..110 from the top.
    const QColor inside = frame.pixelColor(150, 90);
    EXPECT_GT(inside.green(), 200);
    EXPECT_LT(inside.red(), 60);

    // A conversion with the same edits writes its whole stream.
    const QString out = dir.filePath("out.dvd");
    ASSERT_TRUE(encode({item}, out));
    const QImage written = frameOf(out, 10, dir.filePath("written.png"));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(720, 576));
}

}  // namespace
