// The watermark tab of the video edit sheet, offscreen over a recording
// movie: typed places and sizes (sizes limited to the room), a text change
// resizing the overlay, the font and colour panels reaching the watermark
// only while its tab is active, the picture well's drop rule, the popover,
// the reset, and closing the sheet while the popover is up.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a grab of the watermark tab
// with the popover open is written there.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "VideoEditTestSupport.h"
#include "videoedit/FontColorPanelRouter.h"
#include "videoedit/MenuPictureShowView.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/VideoEditWatermarkTab.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/WaterMarkTextViewController.h"
#include "videoedit/core/VideoEditSettingRules.h"

using namespace videoedittest;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

class WatermarkTab : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        clip = makeClip(6.0);
        clip.movie->pictureSize = QSizeF(320, 180);
        clip.movie->outputSize = QSizeF(720, 576);
        sheet.resize(900, 720);
        sheet.updateWindowWithMedia(clip.media);
        sheet.pause();
        sheet.segmentSelectChanged(2);
        settle();
    }
    void TearDown() override
    {
        if (sheet.isVisible()) {
            sheet.doneVideoEdit();
        }
    }

    VideoEditWatermarkTab& tab() { return *sheet.watermarkTab(); }
    VCMovie::Ptr item() const { return clip.item(); }
    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
        settle();
    }
    void textWatermark(const QString& text)
    {
        tab().enableBox()->click();
        tab().typeButton()->setCurrentIndex(1);
        emit tab().typeButton()->activated(1);
        tab().textField()->setText(text);
        emit tab().textField()->textEdited(text);
        settle();
    }
    QString picture(const QString& name, const QColor& colour)
    {
        QImage image(40, 20, QImage::Format_ARGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    testsupport::InstalledControllers installed;
    Clip clip;
    VideoEditWindowController sheet{nullptr, installed.mainController};
};

TEST_F(WatermarkTab, PlacesAreStoredAsTypedAndSizesLimitedToTheRoom)
{
    tab().enableBox()->click();
    ASSERT_TRUE(item()->enableWatermark());
    type(tab().pointXField(), "500");
    type(tab().pointYField(), "-40");
    EXPECT_EQ(item()->watermarkPoint(), QPointF(500, -40)) << "places are not limited";
    type(tab().widthField(), "400");
    EXPECT_DOUBLE_EQ(item()->watermarkImageDisplaySize().width(), 220.0) << "the room right of x";
    type(tab().heightField(), "-3");
    EXPECT_DOUBLE_EQ(item()->watermarkImageDisplaySize().height(), 0.0);
    type(tab().heightField(), "100");
    EXPECT_DOUBLE_EQ(item()->watermarkImageDisplaySize().height(), 100.0);
    EXPECT_FLOAT_EQ(tab().maxWatermarkPointX(), 500.0f);
    EXPECT_FLOAT_EQ(tab().maxWatermarkImageDisplayHeight(), 616.0f);
    EXPECT_EQ(tab().widthField()->text(), QString("220"));

    // The overlay shows the picture watermark over the after-edit picture,
    // with all its handles.
    VEPlayerCropView* overlay = sheet.playerCropView();
    ASSERT_TRUE(overlay->isVisible());
    EXPECT_FALSE(overlay->onlyMove());
    EXPECT_NEAR(overlay->cropRect().width(), 220.0 / 720 * overlay->width(), 1e-6);

    tab().resetButton()->click();
    settle();
    EXPECT_FALSE(item()->enableWatermark());
    EXPECT_EQ(item()->watermarkType(), 0);
    EXPECT_FLOAT_EQ(item()->watermarkOpacity(), 1.0f);
    EXPECT_EQ(item()->watermarkTextColor(), QColor(Qt::white));
    EXPECT_DOUBLE_EQ(item()->watermarkTextFont().pointSizeF(), 80.0);
    EXPECT_EQ(item()->watermarkRect(), QRectF(0, 0, 0.3, 0.3));
    EXPECT_FALSE(overlay->isVisible()) << "a watermark that is off has no overlay";
    EXPECT_FALSE(tab().enableBox()->isChecked());
}

TEST_F(WatermarkTab, ATextChangeResizesTheOverlayWhichOnlyMoves)
{
    textWatermark("Hi");
    VEPlayerCropView* overlay = sheet.playerCropView();
    ASSERT_TRUE(overlay->isVisible());
    EXPECT_TRUE(overlay->onlyMove());
    const QSizeF shortText = item()->watermarkTextDisplaySize();
    const double shortWidth = overlay->cropRect().width();
    const QSizeF measured = VideoEditSettingRules::textSize("Hi", item()->watermarkTextFont());
    EXPECT_NEAR(shortText.width(), measured.width(), 1e-6);
    EXPECT_NEAR(shortText.height(), measured.height(), 1e-6);

    tab().textField()->setText("Hello there");
    emit tab().textField()->textEdited("Hello there");
    settle();
    EXPECT_GT(item()->watermarkTextDisplaySize().width(), shortText.width() * 2);
    EXPECT_GT(overlay->cropRect().width(), shortWidth * 2);

    // Dragging the text moves it and keeps its size.
    const QSizeF before = item()->watermarkTextDisplaySize();
    const QPointF centre = overlay->toWidget(overlay->cropRect().center());
    QTest::mousePress(overlay, Qt::LeftButton, {}, centre.toPoint());
    const QPoint to = centre.toPoint() + QPoint(10, -10);
    QMouseEvent move(QEvent::MouseMove, to, overlay->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(overlay, &move);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
    settle();
    EXPECT_GT(item()->watermarkPoint().x(), 0.0);
    EXPECT_GT(item()->watermarkPoint().y(), 0.0) << "up on the screen is up in the picture";
    EXPECT_NEAR(item()->watermarkTextDisplaySize().width(), before.width(), 0.5);
    EXPECT_EQ(tab().pointXField()->text(), QString::asprintf("%.0f", item()->watermarkPoint().x()));
}

TEST_F(WatermarkTab, FontAndColourPanelsReachTheWatermarkOnlyOnItsTab)
{
    textWatermark("Panel");
    FontColorPanelRouter* panels = sheet.fontColorPanels();
    panels->orderFrontFontPanel();
    panels->orderFrontColorPanel();
    ASSERT_TRUE(panels->fontPanel() && panels->colorPanel());
    EXPECT_FALSE(panels->fontPanel()->isModal());
    const QSizeF before = item()->watermarkTextDisplaySize();

    QFont big("Sans");
    big.setPointSizeF(120);
    panels->fontPanel()->setCurrentFont(big);  // the user's choice in the panel
    panels->colorPanel()->setCurrentColor(QColor(0, 200, 0));
    EXPECT_DOUBLE_EQ(item()->watermarkTextFont().pointSizeF(), 120.0);
    EXPECT_EQ(item()->watermarkTextColor(), QColor(0, 200, 0));
    EXPECT_GT(item()->watermarkTextDisplaySize().height(), before.height());
    EXPECT_EQ(tab().watermarkTextController()->sizeButton()->currentText(), QString("120"));

    for (int other : {0, 1, 3, 4}) {
        sheet.segmentSelectChanged(other);
        QFont small("Sans");
        small.setPointSizeF(15 + other);
        panels->fontPanel()->setCurrentFont(small);
        panels->colorPanel()->setCurrentColor(QColor(200, 0, other));
        EXPECT_DOUBLE_EQ(item()->watermarkTextFont().pointSizeF(), 120.0) << other;
        EXPECT_EQ(item()->watermarkTextColor(), QColor(0, 200, 0)) << other;
    }
    sheet.segmentSelectChanged(2);
    panels->changeFont(QFont(QString()));
    EXPECT_DOUBLE_EQ(item()->watermarkTextFont().pointSizeF(), 80.0)
        << "a choice without a family gives the system font of 80 points";
    sheet.doneVideoEdit();
    EXPECT_FALSE(panels->fontPanel()->isVisible()) << "the panels go with the sheet";
    EXPECT_FALSE(panels->colorPanel()->isVisible());
}

TEST_F(WatermarkTab, PictureWellTakesDropsOnlyForAPictureWatermarkThatIsOn)
{
    MenuPictureShowView* well = tab().watermarkShowView();
    const QString notPicture = dir.filePath("notes.txt");
    {
        QFile file(notPicture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    const QString red = picture("red.png", Qt::red);
    const QString blue = picture("blue.png", Qt::blue);

    const auto enter = [well](const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
        }
        data.setUrls(urls);
        QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(well, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(enter({red})) << "watermark off";
    tab().enableBox()->click();
    EXPECT_TRUE(enter({red}));
    tab().typeButton()->setCurrentIndex(1);
    emit tab().typeButton()->activated(1);
    EXPECT_FALSE(enter({red})) << "text watermark";
    EXPECT_FALSE(well->dragAllowed());
    tab().typeButton()->setCurrentIndex(0);
    emit tab().typeButton()->activated(0);
    ASSERT_TRUE(well->dragAllowed());

    // Several files, a non-picture first: the first picture wins.
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(notPicture), QUrl::fromLocalFile(blue), QUrl::fromLocalFile(red)});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(well, &drop);
    settle();
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(item()->watermarkImagePath(), blue);
    EXPECT_EQ(item()->watermarkImage().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_FALSE(well->showImage().isNull());

    // Only non-pictures: nothing changes.
    EXPECT_TRUE(well->performDragOperation({notPicture}));
    EXPECT_EQ(item()->watermarkImagePath(), blue);
    // A chosen file that does not load keeps its path and leaves no picture.
    tab().choosewatermarkImagePath(notPicture);
    EXPECT_EQ(item()->watermarkImagePath(), notPicture);
    EXPECT_TRUE(item()->watermarkImage().isNull());
    EXPECT_TRUE(well->showImage().isNull());
}

TEST_F(WatermarkTab, ThePopoverSetsFontSizeAndColourAndClosingTheSheetEndsIt)
{
    textWatermark("Popover");
    WaterMarkTextViewController* popover = tab().watermarkTextController();
    EXPECT_TRUE(popover->windowFlags().testFlag(Qt::Popup));
    ASSERT_EQ(popover->sizeButton()->count(), 12);
    EXPECT_EQ(popover->sizeButton()->itemText(0), QString("15"));
    EXPECT_EQ(popover->sizeButton()->itemText(11), QString("200"));
    EXPECT_GT(popover->fontButton()->count(), 0);

    tab().fontButton()->click();
    settle();
    ASSERT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->sizeButton()->currentText(), QString("80")) << "the item's font size";
    const int size40 = popover->sizeButton()->findText("40");
    popover->sizeButton()->setCurrentIndex(size40);
    emit popover->sizeButton()->activated(size40);
    EXPECT_DOUBLE_EQ(item()->watermarkTextFont().pointSizeF(), 40.0);
    EXPECT_EQ(item()->watermarkTextFont().family(), popover->fontButton()->currentText());
    const QSizeF measured = VideoEditSettingRules::textSize("Popover", item()->watermarkTextFont());
    EXPECT_NEAR(item()->watermarkTextDisplaySize().width(), measured.width(), 1e-6);
    EXPECT_NEAR(item()->watermarkTextDisplaySize().height(), measured.height(), 1e-6);
    popover->colorChangedAction(QColor(255, 255, 0));
    EXPECT_EQ(item()->watermarkTextColor(), QColor(255, 255, 0));

    // The sheet with the popover drawn where it stands.
    const QRect popoverPlace(sheet.mapFromGlobal(popover->mapToGlobal(QPoint(0, 0))),
                             popover->size());
    const QRect canvas = sheet.rect().united(popoverPlace);
    QImage shot(canvas.size(), QImage::Format_ARGB32);
    shot.fill(Qt::white);
    {
        QPainter painter(&shot);
        painter.drawImage(-canvas.topLeft(), sheet.grab().toImage());
        painter.drawImage(popoverPlace.topLeft() - canvas.topLeft(), popover->grab().toImage());
    }
    testsupport::writeArtifact(shot, "video-edit-watermark-tab-popover.png");

    // Closing while the popover has the focus still ends the sheet.
    popover->fontButton()->setFocus();
    sheet.close();
    settle();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(sheet.media(), nullptr);
    EXPECT_EQ(installed.mainController->count("setDocumentEdited:YES"), 1);
}

}  // namespace
