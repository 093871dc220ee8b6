// Slideshow photos: import, working copies, thumbnails, crop, fill and cut,
// archive and project folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include "TestSupport.h"
#include "TransitionTestSupport.h"
#include "media/CropItem.h"
#include "media/PhotoImageFunctions.h"
#include "media/PhotoItem.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace transitiontest;

namespace {

// A picture whose quarters have distinct colours (red, green / blue, yellow).
QImage quarters(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    QPainter p(&picture);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return picture;
}

std::shared_ptr<CropItem> crop(double cx, double cy, double w, double h)
{
    auto c = std::make_shared<CropItem>();
    c->setDCenterXRatio(cx);
    c->setDCenterYRatio(cy);
    c->setDWidthRatio(w);
    c->setDHeightRatio(h);
    return c;
}

bool near(QRgb pixel, QColor colour, int tolerance = 8)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

class PhotoFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        temp = dir.filePath("temp-photo");
        ASSERT_TRUE(QDir().mkpath(temp));
        PhotoItem::updateAppTempPath(temp);
    }

    QString picture(const QString& name, const QImage& image)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString temp;
};

}  // namespace

TEST_F(PhotoFixture, ImportMakesWorkingCopiesAndThumbnailsOfTheRightSize)
{
    struct Case {
        QSize original;
        QSizeF working;
        QSizeF thumbnail;
    };
    const Case cases[] = {
        {{4000, 3000}, {800, 600}, {106.67, 80}},
        {{3000, 4000}, {800, 1066.67}, {80, 106.67}},
        {{1920, 1080}, {1066.67, 600}, {142.22, 80}},
        {{400, 300}, {800, 600}, {106.67, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.original.width());
        const QSizeF working = PhotoItem::workingSizeOf(QSizeF(c.original));
        EXPECT_NEAR(working.width(), c.working.width(), 0.01);
        EXPECT_NEAR(working.height(), c.working.height(), 0.01);
        const QSizeF cover = coverSizeInBox(working, PhotoItem::ThumbnailBox);
        EXPECT_NEAR(cover.width(), c.thumbnail.width(), 0.01);
        EXPECT_NEAR(cover.height(), c.thumbnail.height(), 0.01);

        const QString source = picture(QStringLiteral("p%1.jpg").arg(c.original.width()),
                                       quarters(c.original.width(), c.original.height()));
        const auto photo = PhotoItem::itemWithPhotoPath(source);
        ASSERT_TRUE(photo);
        EXPECT_EQ(photo->szOriginalSize(), QSizeF(c.original));
        EXPECT_EQ(QFileInfo(photo->strImagePath()).absolutePath(),
                  QFileInfo(temp).absoluteFilePath());
        EXPECT_TRUE(photo->strImageName().endsWith(".jpg"));
        EXPECT_EQ(photo->strImageName(), QFileInfo(photo->strImagePath()).fileName());
        EXPECT_TRUE(photo->strSavedName().startsWith("Image-"));
        EXPECT_EQ(QImageReader(photo->strImagePath()).format(), QByteArray("jpeg"));
        const QImage copy = photo->originalCIImage();
        EXPECT_EQ(copy.size(), working.toSize());
        EXPECT_EQ(photo->imgThumbnail().size(), cover.toSize());
        EXPECT_TRUE(photo->bKeepStandardRatio());
        EXPECT_FALSE(photo->oCropItem()->isCropped());
        // The whole picture is drawn into the copy: its corners keep their colours.
        EXPECT_TRUE(near(copy.pixel(2, 2), Qt::red));
        EXPECT_TRUE(near(copy.pixel(copy.width() - 3, copy.height() - 3), Qt::yellow));
    }
}

// Pictures of extreme shape: the working copy and the thumbnail are scaled
// down whole, so they keep the picture's shape and stay small.
TEST_F(PhotoFixture, ExtremePicturesKeepTheirShapeWithinBounds)
{
    for (const QSize original : {QSize(1, 16000), QSize(16000, 1), QSize(20, 16000)}) {
        SCOPED_TRACE(original.width());
        // The shape is kept down to a side of one pixel.
        const double narrow = double(std::min(original.width(), original.height())) /
                              std::max(original.width(), original.height());
        const QSizeF working = PhotoItem::workingSizeOf(QSizeF(original));
        const double longer = std::max(working.width(), working.height());
        EXPECT_DOUBLE_EQ(longer, PhotoItem::MaximumWorkingSide);
        EXPECT_NEAR(std::min(working.width(), working.height()), std::max(longer * narrow, 1.0),
                    1e-6);

        QImage strip(original, QImage::Format_RGB32);
        strip.fill(Qt::darkGreen);
        const auto photo = PhotoItem::itemWithPhotoPath(
            picture(QStringLiteral("strip%1x%2.png").arg(original.width()).arg(original.height()),
                    strip));
        ASSERT_TRUE(photo);
        const QImage copy = photo->originalCIImage();
        EXPECT_EQ(copy.size(), working.toSize());
        const QSize thumbnail = photo->imgThumbnail().size();
        EXPECT_LE(std::max(thumbnail.width(), thumbnail.height()), PhotoItem::MaximumThumbnailSide);
        EXPECT_GE(std::min(thumbnail.width(), thumbnail.height()), 1);
        const QSize again = PhotoItem::thumbnailOfImage(copy).size();
        EXPECT_LE(std::max(again.width(), again.height()), PhotoItem::MaximumThumbnailSide);
    }
    // Ordinary pictures are not affected.
    EXPECT_EQ(sizeWithinSide(QSizeF(800, 600), 8192), QSizeF(800, 600));
    EXPECT_EQ(sizeWithinSide(QSizeF(100, 40000), 400), QSizeF(1, 400));
}

TEST_F(PhotoFixture, PortraitExifOrientationIsApplied)
{
    // A JPEG stored landscape with the rotate-90 orientation tag reads upright.
    QImage stored = quarters(400, 300);
    QImageWriter writer(dir.filePath("rotated.jpg"), "jpg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(stored));
    const auto photo = PhotoItem::itemWithPhotoPath(dir.filePath("rotated.jpg"));
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->szOriginalSize(), QSizeF(300, 400));
}

TEST_F(PhotoFixture, UnreadableOrUnwritableFilesGiveNoPhoto)
{
    const QString text = dir.filePath("notes.jpg");
    ASSERT_TRUE(writeText(text, "not a picture"));
    EXPECT_FALSE(PhotoItem::itemWithPhotoPath(text));
    EXPECT_FALSE(PhotoItem::itemWithPhotoPath(dir.filePath("missing.png")));
    // A named pipe named like a picture neither blocks nor gives a photo.
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(PhotoItem::itemWithPhotoPath(pipe));

    const QString source = picture("ok.png", quarters(64, 48));
    PhotoItem::updateAppTempPath(dir.filePath("no-such-folder"));
    EXPECT_FALSE(PhotoItem::itemWithPhotoPath(source));
    PhotoItem::updateAppTempPath(temp);
    ASSERT_EQ(chmod(QFile::encodeName(temp).constData(), 0500), 0);
    if (QFile file(temp + "/probe"); !file.open(QIODevice::WriteOnly)) {  // not root
        EXPECT_FALSE(PhotoItem::itemWithPhotoPath(source));
    }
    chmod(QFile::encodeName(temp).constData(), 0700);
    // Nothing half-written is left behind.
    EXPECT_TRUE(QDir(temp).entryList(QDir::Files | QDir::Hidden).filter(".photo").isEmpty());
}

TEST_F(PhotoFixture, CopyNamesAreNeverShared)
{
    const QString source = picture("same.png", quarters(64, 48));
    QSet<QString> names;
    for (int i = 0; i < 20; ++i) {
        const auto photo = PhotoItem::itemWithPhotoPath(source);
        ASSERT_TRUE(photo);
        names.insert(photo->strImageName());
    }
    EXPECT_EQ(names.size(), 20);
    EXPECT_EQ(QDir(temp).entryList(QDir::Files | QDir::Hidden).size(), 20);
}

TEST(CropItemTest, CountsAsCroppedOutsideTheTolerance)
{
    struct Case {
        double cx, cy, w, h;
        bool cropped;
    };
    const Case cases[] = {
        {0.5, 0.5, 1, 1, false},     {0.5, 0.5, 1.0009, 1, false},
        {0.5, 0.5, 1.0011, 1, true}, {0.499, 0.501, 0.999, 1.001, false},
        {0.4989, 0.5, 1, 1, true},   {0.5, 0.5, 1, 0.5, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(crop(c.cx, c.cy, c.w, c.h)->isCropped(), c.cropped) << c.cx << " " << c.w;
    }
    auto reset = crop(0.2, 0.3, 0.4, 0.5);
    reset->reset();
    EXPECT_FALSE(reset->isCropped());
}

TEST(PhotoImageFunctionsTest, CropTakesThePartFromTheLowerLeft)
{
    const auto c = crop(0.25, 0.75, 0.5, 0.5);
    EXPECT_EQ(cropRectOfSize(QSizeF(800, 600), *c), QRectF(0, 300, 400, 300));
    // Lower-left origin: the upper-left quarter of the picture (red).
    const QImage part = cropCIImage(quarters(800, 600), *c);
    ASSERT_EQ(part.size(), QSize(400, 300));
    EXPECT_TRUE(near(part.pixel(10, 10), Qt::red));
    EXPECT_TRUE(near(part.pixel(390, 290), Qt::red));
    // Not cropped: the picture itself.
    const QImage whole = quarters(80, 60);
    EXPECT_EQ(cropCIImage(whole, CropItem()), whole);
}

TEST(PhotoImageFunctionsTest, NilPicturesLogAndGiveNothing)
{
    const QList<std::pair<QString, std::function<QImage()>>> calls{
        {"CropCIImage: Image is nil",
         [] { return cropCIImage(QImage(), *crop(0.3, 0.3, 0.5, 0.5)); }},
        {"standardRatioCuttedCIImage: Image is nil",
         [] { return standardRatioCuttedCIImage(QImage(), 4.0 / 3, 960, 540); }},
        {"standardRatioFilledCIImage: Image is nil",
         [] { return standardRatioFilledCIImage(QImage(), Qt::black, 4.0 / 3, 960, 540); }},
    };
    for (const auto& [line, call] : calls) {
        LogCapture log;
        EXPECT_TRUE(call().isNull());
        EXPECT_TRUE(log.contains(line)) << line.toStdString();
    }
}

TEST(PhotoImageFunctionsTest, CanvasFillAndCut)
{
    EXPECT_EQ(standardRatioCanvas(4.0 / 3, 960, 540), QSizeF(960, 720));
    EXPECT_EQ(standardRatioCanvas(4.0 / 3, 960, 720), QSizeF(960, 720));
    const QSizeF portrait = standardRatioCanvas(4.0 / 3, 600, 800);
    EXPECT_NEAR(portrait.width(), 1066.67, 0.01);
    EXPECT_EQ(portrait.height(), 800);

    // Fill: an 800 × 600 picture fills the 960 × 720 canvas.
    QImage filled = standardRatioFilledCIImage(quarters(800, 600), Qt::black, 4.0 / 3, 960, 540);
    ASSERT_EQ(filled.size(), QSize(960, 720));
    EXPECT_TRUE(near(filled.pixel(2, 2), Qt::red));
    EXPECT_TRUE(near(filled.pixel(957, 717), Qt::yellow));

    // A 16:9 picture sits between black bands of 90.
    QImage wide(960, 540, QImage::Format_RGB32);
    wide.fill(Qt::white);
    filled = standardRatioFilledCIImage(wide, Qt::black, 4.0 / 3, 960, 540);
    ASSERT_EQ(filled.size(), QSize(960, 720));
    EXPECT_TRUE(near(filled.pixel(480, 88), Qt::black));
    EXPECT_TRUE(near(filled.pixel(480, 92), Qt::white));
    EXPECT_TRUE(near(filled.pixel(480, 627), Qt::white));
    EXPECT_TRUE(near(filled.pixel(480, 631), Qt::black));

    // Cut: a 3:4 picture is drawn 960 × 1280, centred, cut to 960 × 720.
    QImage tall(300, 400, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    QPainter(&tall).fillRect(0, 0, 300, 50, Qt::red);  // top eighth: cut away
    const QImage cut = standardRatioCuttedCIImage(tall, 4.0 / 3, 960, 540);
    ASSERT_EQ(cut.size(), QSize(960, 720));
    EXPECT_TRUE(near(cut.pixel(480, 4), Qt::blue));
    EXPECT_TRUE(near(cut.pixel(480, 715), Qt::blue));
}

TEST(PhotoImageFunctionsTest, ReductionKeepsTheCropPartLargeEnough)
{
    struct Case {
        QSize picture;
        double cropWidth;
        QSizeF display;
        QSize expected;
    };
    const Case cases[] = {
        {{1600, 1200}, 1.0, {400, 300}, {400, 300}}, {{1600, 1200}, 1.0, {960, 720}, {960, 720}},
        {{1600, 1200}, 0.5, {400, 300}, {800, 600}}, {{1067, 600}, 1.0, {960, 540}, {960, 540}},
        {{800, 600}, 1.0, {960, 540}, {800, 600}},   // not larger: unchanged
        {{1000, 750}, 1.0, {333, 250}, {336, 252}},  // width rounded up to a multiple of 4
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture.width());
        PhotoItem photo;
        photo.setOCropItem(crop(0.5, 0.5, c.cropWidth, 1.0));
        const QImage reduced =
            photo.precessImage(quarters(c.picture.width(), c.picture.height()), c.display);
        EXPECT_EQ(reduced.size(), c.expected);
    }
}

// The frame picture has the display's own shape. Keep-ratio on: the whole
// photo, centred on black, at its own shape; off: the photo covers the frame
// and only what overflows it is cut.
TEST_F(PhotoFixture, FramePictureHasTheDisplaysShape)
{
    struct Case {
        QSize picture;
        QSizeF display;
        bool keep;
        QRect shown;  // where the photo lies on the frame picture
    };
    const QList<Case> cases{
        // A 4:3 photo on a 16:9 frame: whole between bands of 120, or cut
        // top and bottom by 90.
        {{800, 600}, {960, 540}, true, {120, 0, 720, 540}},
        {{800, 600}, {960, 540}, false, {0, -90, 960, 720}},
        // 16:9 and 3:2 photos on a 4:3 frame.
        {{1920, 1080}, {960, 720}, true, {0, 90, 960, 540}},
        {{1920, 1080}, {960, 720}, false, {-160, 0, 1280, 720}},
        {{900, 600}, {960, 720}, true, {0, 40, 960, 640}},
        // Square and portrait photos on a 16:9 frame.
        {{600, 600}, {960, 540}, true, {210, 0, 540, 540}},
        {{600, 800}, {960, 540}, true, {277, 0, 405, 540}},
        {{600, 800}, {960, 540}, false, {0, -370, 960, 1280}},
        // A 16:9 photo on a 16:9 frame fills it either way.
        {{1920, 1080}, {960, 540}, true, {0, 0, 960, 540}},
        {{1920, 1080}, {960, 540}, false, {0, 0, 960, 540}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1x%2 on %3x%4, keep %5")
                         .arg(c.picture.width())
                         .arg(c.picture.height())
                         .arg(c.display.width())
                         .arg(c.display.height())
                         .arg(c.keep)
                         .toStdString());
        const auto photo = PhotoItem::itemWithPhotoPath(
            picture("shape.png", quarters(c.picture.width(), c.picture.height())));
        ASSERT_TRUE(photo);
        photo->setBKeepStandardRatio(c.keep);
        const QImage frame = photo->slideshowCIImageInSize(c.display);
        ASSERT_EQ(frame.size(), c.display.toSize());
        const QRect on = c.shown.intersected(frame.rect());
        // Each quarter's colour just inside the photo's corners on the frame.
        const QList<std::pair<QPoint, QColor>> corners{
            {on.topLeft() + QPoint(4, 4), Qt::red},
            {on.topRight() + QPoint(-4, 4), Qt::green},
            {on.bottomLeft() + QPoint(4, -4), Qt::blue},
            {on.bottomRight() + QPoint(-4, -4), Qt::yellow}};
        for (const auto& [at, colour] : corners) {
            EXPECT_TRUE(near(frame.pixel(at), colour, 30)) << at.x() << "," << at.y();
        }
        // Black just outside it, where it does not reach the frame's edge.
        if (on.left() > 2) {
            EXPECT_TRUE(near(frame.pixel(on.left() - 3, on.center().y()), Qt::black));
            EXPECT_TRUE(near(frame.pixel(on.right() + 3, on.center().y()), Qt::black));
        }
        if (on.top() > 2) {
            EXPECT_TRUE(near(frame.pixel(on.center().x(), on.top() - 3), Qt::black));
            EXPECT_TRUE(near(frame.pixel(on.center().x(), on.bottom() + 3), Qt::black));
        }
    }
}

TEST_F(PhotoFixture, FramePictureOfAPhotoWhoseFileHasGoneIsNull)
{
    const auto photo = PhotoItem::itemWithPhotoPath(picture("gone.png", quarters(640, 480)));
    ASSERT_TRUE(photo);
    EXPECT_FALSE(photo->slideshowCIImageInSize(QSizeF(960, 540)).isNull());
    QFile::remove(photo->strImagePath());
    EXPECT_TRUE(photo->slideshowCIImageInSize(QSizeF(960, 540)).isNull());
}

TEST_F(PhotoFixture, ArchiveAndProjectFolderRoundTrip)
{
    auto photo = PhotoItem::itemWithPhotoPath(picture("a.png", quarters(640, 480)));
    ASSERT_TRUE(photo);
    photo->setOCropItem(crop(0.4, 0.6, 0.5, 0.7));
    photo->setBKeepStandardRatio(false);

    const QString project = dir.filePath("project/slideshow-photo");
    ASSERT_TRUE(photo->saveSourceAtPath(project));
    const QString stored = project + "/" + photo->strSavedName();
    EXPECT_TRUE(QFileInfo(stored).isFile());
    EXPECT_EQ(photo->strImagePath(), temp + "/" + photo->strImageName());  // unchanged
    EXPECT_TRUE(photo->saveSourceAtPath(project));                         // already there

    const auto result = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(photo)));
    ASSERT_TRUE(result.root);
    const auto back = result.root->objectAs<PhotoItem>();
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->strImagePath().isEmpty());
    EXPECT_EQ(back->strImageName(), photo->strImageName());
    EXPECT_EQ(back->strSavedName(), photo->strSavedName());
    EXPECT_EQ(back->szOriginalSize(), QSizeF(640, 480));
    EXPECT_EQ(back->imgThumbnail().convertToFormat(QImage::Format_ARGB32),
              photo->imgThumbnail().convertToFormat(QImage::Format_ARGB32));
    EXPECT_DOUBLE_EQ(back->oCropItem()->dCenterXRatio(), 0.4);
    EXPECT_DOUBLE_EQ(back->oCropItem()->dCenterYRatio(), 0.6);
    EXPECT_DOUBLE_EQ(back->oCropItem()->dWidthRatio(), 0.5);
    EXPECT_DOUBLE_EQ(back->oCropItem()->dHeightRatio(), 0.7);
    EXPECT_FALSE(back->bKeepStandardRatio());
    back->loadSourceAtPath(project);
    EXPECT_EQ(back->strImagePath(), stored);
    EXPECT_EQ(back->originalCIImage().size(), photo->originalCIImage().size());
}

TEST(PhotoItemTest, SavedNamesFromAFileStayInsideTheFolder)
{
    PhotoItem photo;
    photo.setStrSavedName("../../outside");
    photo.loadSourceAtPath("/project/slideshow-photo");
    EXPECT_TRUE(photo.strImagePath().isEmpty());
    EXPECT_FALSE(photo.saveSourceAtPath("/project/slideshow-photo"));
}

TEST(PhotoItemTest, AbsentArchiveKeysReadAsNothing)
{
    auto photo = std::make_shared<PhotoItem>();
    photo->setStrSavedName("Image-1");
    photo->setSzOriginalSize(QSizeF(10, 20));
    const QByteArray data =
        withoutKeys(KeyedArchiver::archivedData(Value(photo)), "PhotoItem",
                    {"PI_SavedImageName", "PI_OriginalSize", "PI_CropItem", "PI_KeepStandRatio"});
    const auto result = KeyedUnarchiver::unarchive(data);
    ASSERT_TRUE(result.root);
    const auto back = result.root->objectAs<PhotoItem>();
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->strSavedName().isEmpty());
    EXPECT_EQ(back->szOriginalSize(), QSizeF(0, 0));
    EXPECT_FALSE(back->bKeepStandardRatio());
    ASSERT_TRUE(back->oCropItem());
    EXPECT_FALSE(back->oCropItem()->isCropped());
}
