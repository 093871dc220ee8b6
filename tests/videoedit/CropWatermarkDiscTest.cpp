// From the video edit sheet to a disc with crop, rotation and watermark: a
// clip with a red left half, a blue right half and a white band along its
// top is cropped to its right half on the crop tab, turned a quarter to the
// left and given a green text watermark on the watermark tab, then authored
// the way production does it (the converter, then Corvane's dvdauthor
// step). The authored title must show no red, the white band along a side,
// and the watermark's green where it was placed.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "VideoEditDiscSupport.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMDVD.h"
#include "videoedit/VideoEditCropTab.h"
#include "videoedit/VideoEditWatermarkTab.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/WaterMarkTextViewController.h"

using namespace videoedittest;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->setText(text);
    field->setModified(true);
    emit field->editingFinished();
    settle();
}

bool isRed(const QColor& c)
{
    return c.red() > 150 && c.green() < 100 && c.blue() < 100;
}

bool isGreen(const QColor& c)
{
    return c.green() > 150 && c.red() < 110 && c.blue() < 110;
}

bool isWhite(const QColor& c)
{
    return c.red() > 190 && c.green() > 190 && c.blue() > 190;
}

bool isBlue(const QColor& c)
{
    return c.blue() > 150 && c.red() < 100 && c.green() < 100;
}

TEST(CropWatermarkDisc, CropRotationAndTextWatermarkFromTheSheetReachTheTitle)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath("halves.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        source, {"-f", "lavfi", "-i",
                 "color=black:size=320x180:rate=25:duration=2,format=rgb24,"
                 "geq=r='if(lt(Y\\,30)\\,255\\,if(lt(X\\,160)\\,255\\,0))':"
                 "g='if(lt(Y\\,30)\\,255\\,0)':"
                 "b='if(lt(Y\\,30)\\,255\\,if(lt(X\\,160)\\,0\\,255))',format=yuv420p",
                 "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=2", "-c:v",
                 "libx264", "-crf", "10", "-c:a", "aac", "-shortest"}));
    DVDToolLocator::setToolFolder(QString());
    const auto clip = importClip(source, 2.0);
    ASSERT_TRUE(clip && clip->vcmovie());
    const VCMovie::Ptr item = clip->vcmovie();

    // The watermark's place and size as fractions of the picture.
    QRectF mark;
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
        sheet.resize(900, 720);
        sheet.updateWindowWithMedia(clip);
        sheet.pause();

        sheet.segmentSelectChanged(1);
        settle();
        VideoEditCropTab& crop = *sheet.cropTab();
        crop.resetCropButton()->click();
        type(crop.cropXField(), "160");
        type(crop.cropWidthField(), "160");
        crop.rotateLeftButton()->click();
        ASSERT_EQ(item->movie()->cropRect(), QRectF(160, 0, 160, 180));
        ASSERT_EQ(item->movie()->rotate(), 90.0f);

        sheet.segmentSelectChanged(2);
        settle();
        VideoEditWatermarkTab& watermark = *sheet.watermarkTab();
        watermark.enableBox()->click();
        watermark.typeButton()->setCurrentIndex(1);
        emit watermark.typeButton()->activated(1);
        watermark.textField()->setText("MARK");
        emit watermark.textField()->textEdited("MARK");
        watermark.watermarkTextController()->colorChangedAction(QColor(0, 255, 0));
        const QSizeF out = sheet.validVideoOutputSize();
        ASSERT_FALSE(out.isEmpty());
        type(watermark.pointXField(), QString::number(qRound(out.width() * 0.55)));
        type(watermark.pointYField(), QString::number(qRound(out.height() * 0.1)));
        const QRectF placed = item->realWatermarkRect();
        mark = QRectF(placed.x() / out.width(), placed.y() / out.height(),
                      placed.width() / out.width(), placed.height() / out.height());
        ASSERT_GT(mark.width(), 0.05);
        ASSERT_LT(mark.right(), 1.0) << "the text fits in the picture";
        sheet.doneVideoEdit();
    }
    ASSERT_TRUE(item->enableWatermark());
    ASSERT_EQ(item->watermarkText(), QString("MARK"));

    const QString folder = authorClip(clip, dir.filePath("work"));
    ASSERT_FALSE(folder.isEmpty());
    ASSERT_TRUE(LMDVD::open(folder));
    const QImage frame = frameOf(folder + "/VIDEO_TS/VTS_01_1.VOB", 25, dir.filePath("frame.png"))
                             .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(frame.size(), QSize(720, 576));
    testsupport::writeArtifact(frame, "video-edit-crop-watermark-disc-frame.png");

    // The watermark's box in the frame (y up in the item, y down here), a
    // little enlarged for the encoder's soft edges.
    const QRect box =
        QRectF(mark.x() * 720, (1.0 - mark.bottom()) * 576, mark.width() * 720, mark.height() * 576)
            .toAlignedRect()
            .adjusted(-6, -6, 6, 6);
    int red = 0;
    int greenInside = 0;
    int greenOutside = 0;
    QRect picture;  // where the picture is not the black bars
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QColor c = frame.pixelColor(x, y);
            red += isRed(c) ? 1 : 0;
            if (isGreen(c)) {
                (box.contains(x, y) ? greenInside : greenOutside) += 1;
            }
            if (qGray(c.rgb()) > 40) {
                picture |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_EQ(red, 0) << "the left half was cropped away";
    EXPECT_GT(greenInside, 50) << "the watermark is at its place";
    EXPECT_LT(greenOutside, 10);

    // Turned a quarter: the band that ran along the top now runs down one
    // side of the picture, and the top edge's middle is blue.
    ASSERT_GT(picture.width(), 100);
    const int midY = picture.center().y();
    const QColor leftSide = frame.pixelColor(picture.left() + 8, midY);
    const QColor rightSide = frame.pixelColor(picture.right() - 8, midY);
    EXPECT_TRUE(isWhite(leftSide) || isWhite(rightSide))
        << "left " << qPrintable(leftSide.name()) << " right " << qPrintable(rightSide.name());
    EXPECT_TRUE(isBlue(frame.pixelColor(picture.center().x(), picture.top() + 8)));
}

}  // namespace
