// The crop tab of the video edit sheet: the rules as tables (quarter turns,
// flips while the picture is on its side, typed crop sides), then the real
// sheet offscreen over a recording movie: the buttons and fields write the
// movie and announce their keys, the overlay's drag becomes the crop and
// refreshes the picture, the resets restore their values, and opening a clip
// writes nothing into it.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a grab of the crop tab with the
// overlay is written there.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "VideoEditTestSupport.h"
#include "lumenta/EffectManager.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/VideoEditCropTab.h"
#include "videoedit/VideoEditTabView.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/core/VideoEditSettingRules.h"

using namespace videoedittest;
using Rules = VideoEditSettingRules;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

TEST(CropSettingRules, QuarterTurnsAndFlipsAsSeen)
{
    float r = 0.0f;
    for (int expected : {90, 180, 270, 0}) {
        r = static_cast<float>(Rules::rotateLeft(r));
        EXPECT_EQ(r, expected);
    }
    for (float start : {0.0f, 90.0f, 180.0f, 270.0f}) {
        EXPECT_EQ(Rules::rotateRight(static_cast<float>(Rules::rotateLeft(start))), start);
    }
    EXPECT_EQ(Rules::quarterTurn(89.95f), 90);
    EXPECT_EQ(Rules::rotateLeft(89.95f), 180);
    EXPECT_EQ(Rules::rotateRight(89.95f), 0);
    EXPECT_EQ(Rules::quarterTurn(-90.0f), 270) << "a stored negative turn stays in 0..359";

    struct Flip {
        float rotate;
        bool vertical;
        bool flipsVertically;
    };
    for (const Flip f :
         {Flip{0, false, false}, Flip{0, true, true}, Flip{90, false, true}, Flip{90, true, false},
          Flip{180, false, false}, Flip{270, false, true}, Flip{269.95f, true, false}}) {
        EXPECT_EQ(Rules::flipsVertically(f.rotate, f.vertical), f.flipsVertically)
            << f.rotate << " vertical " << f.vertical;
    }
}

TEST(CropSettingRules, TypedSidesAndWatermarkSizesStayInTheirRanges)
{
    // 20 overlay points over a 320-pixel source shown 160 points wide: 40.
    EXPECT_DOUBLE_EQ(Rules::minLengthOfCropToVideo(20, 320, 160), 40.0);
    EXPECT_DOUBLE_EQ(Rules::minLengthOfCropToVideo(20, 320, 0), 6400.0) << "divides by 1";
    struct Typed {
        double typed;
        double expected;
    };
    for (const Typed t : {Typed{0, 40}, Typed{-5, 40}, Typed{39.9, 40}, Typed{40, 40},
                          Typed{200, 200}, Typed{320, 320}, Typed{321, 320}, Typed{5000, 320}}) {
        EXPECT_DOUBLE_EQ(Rules::typedCropLength(t.typed, 40, 320), t.expected) << t.typed;
    }
    EXPECT_DOUBLE_EQ(Rules::typedCropLength(0, 6400, 320), 320.0)
        << "an overlay not yet laid out gives no minimum past the frame";
    for (const Typed t :
         {Typed{-1, 0}, Typed{0, 0}, Typed{100, 100}, Typed{250, 200}, Typed{1e9, 200}}) {
        EXPECT_DOUBLE_EQ(Rules::clampedDisplayLength(t.typed, 200), t.expected) << t.typed;
    }
    EXPECT_DOUBLE_EQ(Rules::clampedDisplayLength(50, -30), 0.0) << "no room: 0";
}

class CropTab : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip = makeClip(6.0);
        clip.movie->pictureSize = QSizeF(320, 180);
        clip.movie->outputSize = QSizeF(720, 576);
        clip.movie->setCropRect(QRectF(0, 0, 320, 180));
        clip.movie->calls.clear();
        sheet.resize(900, 720);
        sheet.updateWindowWithMedia(clip.media);
        sheet.pause();
        sheet.segmentSelectChanged(1);
        settle();
        announced.clear();
        QObject::connect(&sheet.keys(), &PropertyNotifier::didChangeValue, &sheet.keys(),
                         [this](const QString& key) { announced << key; });
    }
    void TearDown() override { sheet.doneVideoEdit(); }

    VideoEditCropTab& tab() { return *sheet.cropTab(); }
    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
        settle();
    }

    testsupport::InstalledControllers installed;
    Clip clip;
    VideoEditWindowController sheet{nullptr, installed.mainController};
    QSet<QString> announced;
};

TEST_F(CropTab, RotationAndFlipButtonsMirrorThePictureAsSeen)
{
    tab().rotateLeftButton()->click();
    EXPECT_EQ(clip.movie->rotate(), 90.0f);
    tab().horizontalFlipButton()->click();
    EXPECT_TRUE(clip.movie->vflip()) << "on its side, a horizontal flip is a vertical one";
    EXPECT_FALSE(clip.movie->hflip());
    tab().verticalFlipButton()->click();
    EXPECT_TRUE(clip.movie->hflip());
    tab().rotateRightButton()->click();
    tab().rotateRightButton()->click();
    EXPECT_EQ(clip.movie->rotate(), 270.0f);
    settle();
    for (const char* key : {"effectName", "hflip", "vflip", "rotate", "saturation", "brightness",
                            "contrast", "hue"}) {
        EXPECT_TRUE(announced.contains(key)) << key;
    }

    tab().resetRotateButton()->click();
    EXPECT_EQ(clip.movie->rotate(), 0.0f);
    EXPECT_FALSE(clip.movie->hflip());
    EXPECT_FALSE(clip.movie->vflip());
}

TEST_F(CropTab, TypedSidesAreLimitedAndEveryCropKeyIsAnnounced)
{
    const double minimum = tab().minLengthOfCropToVideo();
    ASSERT_GT(sheet.playerCropView()->width(), 0);
    EXPECT_NEAR(minimum, 20.0 * 320 / sheet.playerCropView()->width(), 1e-9);

    type(tab().cropWidthField(), "0");
    EXPECT_FLOAT_EQ(clip.movie->cropRect().width(), static_cast<float>(minimum));
    type(tab().cropWidthField(), "5000");
    EXPECT_EQ(clip.movie->cropRect().width(), 320.0) << "the whole frame, not the room";
    type(tab().cropHeightField(), "90");
    EXPECT_EQ(clip.movie->cropRect().height(), 90.0);
    for (const char* key :
         {"cropRect", "cropRectX", "maxCropRectX", "cropRectY", "maxCropRectY", "cropRectWidth",
          "maxCropRectWidth", "cropRectHeight", "maxCropRectHeight"}) {
        EXPECT_TRUE(announced.contains(key)) << key;
    }
    // X past the frame is stored as typed; the overlay shows it where it lies.
    type(tab().cropXField(), "100");
    EXPECT_EQ(clip.movie->cropRect(), QRectF(100, 0, 320, 90));
    EXPECT_FLOAT_EQ(tab().maxCropRectX(), 0.0f);
    EXPECT_FLOAT_EQ(tab().maxCropRectWidth(), 220.0f);
    const double scale = sheet.playerCropView()->width() / 320.0;
    EXPECT_NEAR(sheet.playerCropView()->cropRect().x(), 100 * scale, 1e-6);
    EXPECT_NEAR(sheet.playerCropView()->cropRect().width(), 320 * scale, 1e-6);

    tab().resetCropButton()->click();
    EXPECT_EQ(clip.movie->cropRect(), QRectF(0, 0, 320, 180));
    EXPECT_EQ(clip.movie->zoomType(), 2);
    settle();
    EXPECT_EQ(tab().cropWidthField()->text(), QString("320"));
}

TEST_F(CropTab, DraggingTheOverlayCropsTheMovieAndRefreshesThePicture)
{
    VEPlayerCropView* overlay = sheet.playerCropView();
    ASSERT_TRUE(overlay->isVisible());
    const int decodes = static_cast<int>(clip.movie->decodes.size());
    // The left edge handle, dragged to the middle.
    const QPoint press = overlay->toWidget({2, overlay->height() / 2.0}).toPoint();
    const QPoint middle(overlay->width() / 2, press.y());
    QTest::mousePress(overlay, Qt::LeftButton, {}, press);
    QMouseEvent move(QEvent::MouseMove, middle, overlay->mapToGlobal(middle), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(overlay, &move);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, middle);
    settle();
    const QRectF crop = clip.movie->cropRect();
    EXPECT_NEAR(crop.x(), 160.0, 320.0 / overlay->width() * 2.5);
    EXPECT_NEAR(crop.x() + crop.width(), 320.0, 1e-3) << "the right side stays";
    EXPECT_EQ(crop.height(), 180.0);
    EXPECT_GT(clip.movie->decodes.size(), decodes) << "every step shows the new picture";
    EXPECT_TRUE(announced.contains("cropRectWidth"));
    EXPECT_EQ(tab().cropWidthField()->text(), QString::asprintf("%.0f", crop.width()));
    testsupport::writeArtifact(sheet.grab().toImage(), "video-edit-crop-tab-overlay.png");
}

TEST_F(CropTab, EffectAndSlidersWriteTheMovieAndTheResetRestoresThem)
{
    const QString effect = EffectManager::allFilterNames().value(1);
    ASSERT_FALSE(effect.isEmpty());
    QComboBox* effects = tab().effectButton();
    ASSERT_EQ(effects->count(), EffectManager::allFilterNames().size() + 1) << "None first";
    effects->setCurrentIndex(2);
    emit effects->activated(2);
    EXPECT_EQ(clip.movie->effectName(), effect);
    tab().saturationSlider()->setValue(80);
    tab().brightnessSlider()->setValue(30);
    tab().contrastSlider()->setValue(60);
    tab().hueSlider()->setValue(10);
    EXPECT_FLOAT_EQ(clip.movie->saturation(), 0.8f);
    EXPECT_FLOAT_EQ(clip.movie->brightness(), 0.3f);
    EXPECT_FLOAT_EQ(clip.movie->contrast(), 0.6f);
    EXPECT_FLOAT_EQ(clip.movie->hue(), 0.1f);

    clip.movie->calls.clear();
    tab().resetEffectButton()->click();
    settle();  // the controls re-read the reset values without writing back
    EXPECT_TRUE(clip.movie->effectName().isEmpty());
    EXPECT_FLOAT_EQ(clip.movie->saturation(), 0.5f);
    EXPECT_FLOAT_EQ(clip.movie->brightness(), 0.5f);
    EXPECT_FLOAT_EQ(clip.movie->contrast(), 0.25f);
    EXPECT_FLOAT_EQ(clip.movie->hue(), 0.5f);
    EXPECT_EQ(clip.movie->count("setSaturation"), 1);
    EXPECT_EQ(effects->currentIndex(), 0);
    EXPECT_EQ(tab().contrastSlider()->value(), 25);
}

TEST(CropTabOpening, FillingTheTabsFromTheMovieWritesNothing)
{
    testsupport::InstalledControllers installed;
    Clip clip = makeClip(6.0);
    clip.movie->setCropRect(QRectF(10, 20, 200, 100));
    clip.movie->setRotate(90);
    clip.movie->setHflip(true);
    clip.movie->setEffectName(EffectManager::allFilterNames().first());
    clip.movie->setSaturation(0.7f);
    clip.movie->setZoomType(5);
    const VCMovie::Ptr item = clip.item();
    item->setEnableWatermark(true);
    item->setWatermarkType(1);
    item->setWatermarkText("kept");
    item->setWatermarkOpacity(0.4f);
    item->setWatermarkRect(QRectF(0.1, 0.2, 0.3, 0.4));
    item->setWatermarkTextSize(QSizeF(0.25, 0.05));
    clip.movie->calls.clear();

    VideoEditWindowController sheet{nullptr, installed.mainController};
    sheet.updateWindowWithMedia(clip.media);
    sheet.pause();
    for (int segment = 0; segment < 5; ++segment) {
        sheet.segmentSelectChanged(segment);
        settle();
    }
    QStringList writes = clip.movie->calls;
    for (const char* harmless : {"setCurrentTime", "play", "pause", "setWatermark"}) {
        writes.removeAll(harmless);
    }
    EXPECT_TRUE(writes.isEmpty()) << writes.join(", ").toStdString();
    EXPECT_EQ(clip.movie->cropRect(), QRectF(10, 20, 200, 100));
    EXPECT_EQ(clip.movie->zoomType(), 5);
    EXPECT_EQ(item->watermarkText(), QString("kept"));
    EXPECT_FLOAT_EQ(item->watermarkOpacity(), 0.4f);
    EXPECT_EQ(item->watermarkRect(), QRectF(0.1, 0.2, 0.3, 0.4));
    EXPECT_EQ(item->watermarkTextSize(), QSizeF(0.25, 0.05));
    EXPECT_EQ(sheet.cropTab()->cropWidthField()->text(), QString("200"));
    sheet.doneVideoEdit();
}

}  // namespace
