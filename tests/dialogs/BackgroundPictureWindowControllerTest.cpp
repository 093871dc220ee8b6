// The background picture sheet: loading a page, choosing pictures, default
// crops, the tile grid, Apply and Apply to all, and the canvas drags.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "PageDialogFixture.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "dialogs/BackgroundPictureWindowController.h"
#include "dialogs/BgPictureCanvasView.h"
#include "dialogs/BgPictureShapeView.h"
#include "dialogs/SingleBackgroundView.h"

namespace {

class BackgroundPictureTest : public pagedialogs::PageDialogTest {
protected:
    void SetUp() override
    {
        PageDialogTest::SetUp();
        dir = std::make_unique<QTemporaryDir>(testsupport::makeTempDir());
    }
    // A picture file of four coloured quadrants.
    QString picture(const QString& name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        const int w = size.width() / 2;
        const int h = size.height() / 2;
        image.fill(Qt::black);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QColor c =
                    y < h ? (x < w ? Qt::red : Qt::green) : (x < w ? Qt::blue : Qt::white);
                image.setPixelColor(x, y, c);
            }
        }
        const QString path = dir->filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    void addTemplates(int count)
    {
        DVDLibraryResource::Backgrounds backgrounds;
        for (int i = 0; i < count; ++i) {
            backgrounds << DVDMenuBackgroundResource::resourceWithPath(
                picture(QString("template%1.png").arg(i), QSize(160, 90)));
        }
        services->library->setBackgrounds(backgrounds);
    }
    std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(BackgroundPictureTest, NewPictureGetsTheDefaultCrop)
{
    addPages(2);
    struct Case {
        qint64 aspectType;
        QSize size;
        QRectF canvas;
        QRectF crop;
    };
    const Case cases[] = {
        {1, {1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
        {0, {1920, 1080}, {0, 0, 1920, 1080}, {240, 0, 1440, 1080}},
        {1, {1000, 1000}, {0, 218.75, 1000, 562.5}, {0, 218.75, 1000, 562.5}},
        {7, {1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},  // counts as 16:9
    };
    BackgroundPictureWindowController dialog{host()};
    for (const Case& c : cases) {
        services->disc->setAspectType(c.aspectType);
        dialog.showWindowInModel();
        ASSERT_TRUE(dialog.choosePictureFile(picture("p.png", c.size)));
        EXPECT_TRUE(dialog.useLocal());
        EXPECT_EQ(dialog.imageCanvasRect(), c.canvas);
        EXPECT_EQ(dialog.imageCropRect(), c.crop);
        dialog.cancelAction();
    }
    EXPECT_FALSE(pages()[0]->backgourndPictureResource());
    EXPECT_EQ(installed->mainController->count("setDocumentEdited:YES"), 4);
    EXPECT_EQ(installed->menuEdit->count("displayCanvasView"), 4);
}

TEST_F(BackgroundPictureTest, UnreadableFileIsRefusedAndNothingEmptyIsApplied)
{
    addPages(1);
    BackgroundPictureWindowController dialog{host()};
    dialog.showWindowInModel();
    EXPECT_FALSE(dialog.canApply());
    dialog.applyAction();
    EXPECT_FALSE(pages()[0]->backgourndPictureResource());

    const QString good = picture("good.png", {320, 180});
    ASSERT_TRUE(dialog.choosePictureFile(good));
    const QString bad = dir->filePath("bad.png");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_FALSE(dialog.choosePictureFile(bad));
    EXPECT_EQ(dialog.localPath(), good);
    EXPECT_TRUE(dialog.canApply());
}

TEST_F(BackgroundPictureTest, ApplyToAllWritesOnePictureAndBothRectangles)
{
    addPages(3);
    BackgroundPictureWindowController dialog{host()};
    dialog.showWindowInModel();
    ASSERT_TRUE(dialog.choosePictureFile(picture("all.png", {640, 360})));
    dialog.applyToAllAction();
    for (const auto& page : pages()) {
        EXPECT_EQ(page->backgourndPictureResource(), dialog.localPicResource());
        EXPECT_EQ(page->imageCanvasRect(), QRectF(0, 0, 640, 360));
        EXPECT_EQ(page->imageCropRect(), QRectF(0, 0, 640, 360));
    }
}

TEST_F(BackgroundPictureTest, TemplatesLoadMarkAndLayOut)
{
    addTemplates(7);
    addPages(2);
    BackgroundPictureWindowController dialog{host()};
    ASSERT_EQ(dialog.tiles().size(), 7);
    EXPECT_DOUBLE_EQ(dialog.layoutFrameView(330, 100), 290.0);
    EXPECT_EQ(dialog.tiles()[0]->geometry(), QRect(8, 5, 100, 90));  // 7.5, rounded
    EXPECT_EQ(dialog.tiles()[1]->geometry().x(), 115);
    EXPECT_EQ(dialog.tiles()[3]->geometry(), QRect(8, 100, 100, 90));
    EXPECT_DOUBLE_EQ(dialog.layoutFrameView(330, 400), 400.0);
    // A grid narrower than one tile keeps one column.
    dialog.layoutFrameView(60, 10);
    EXPECT_EQ(dialog.tiles()[1]->geometry().y(), 100);

    const auto chosen = dialog.tiles()[2]->backSource();
    QTest::mouseClick(dialog.tiles()[2], Qt::LeftButton);
    EXPECT_FALSE(dialog.useLocal());
    EXPECT_EQ(dialog.templateSource(), chosen);
    EXPECT_TRUE(dialog.tiles()[2]->isMarked());
    EXPECT_FALSE(dialog.tiles()[0]->isMarked());
    dialog.applyAction();
    EXPECT_EQ(pages()[0]->backgourndPictureResource(), chosen);

    // Reopening a template page: template source, no own file.
    dialog.showWindowInModel();
    EXPECT_FALSE(dialog.useLocal());
    EXPECT_TRUE(dialog.localPath().isEmpty());
    EXPECT_TRUE(dialog.tiles()[2]->isMarked());
    // A page with its own picture: useLocal, its path, no tile marked.
    const QString own = picture("own.png", {320, 180});
    pages()[1]->setBackgourndPictureResource(DVDMenuBackgroundResource::resourceWithPath(own));
    pages()[1]->setImageCanvasRect(QRectF(0, 0, 320, 180));
    pages()[1]->setImageCropRect(QRectF(0, 0, 160, 90));
    installed->menuEdit->menu = pages()[1];
    dialog.showWindowInModel();
    EXPECT_TRUE(dialog.useLocal());
    EXPECT_EQ(dialog.localPath(), own);
    EXPECT_EQ(dialog.imageCropRect(), QRectF(0, 0, 160, 90));  // stored crop restored
    for (auto* tile : dialog.tiles()) {
        EXPECT_FALSE(tile->isMarked());
    }
}

TEST_F(BackgroundPictureTest, DraggingTheFrameWritesThePictureCrop)
{
    addPages(1);
    BackgroundPictureWindowController dialog{host()};
    dialog.showWindowInModel();
    QCoreApplication::processEvents();
    auto* canvas = dialog.canvasView();
    ASSERT_TRUE(dialog.choosePictureFile(picture("drag.png", {640, 360})));
    const QRectF box = canvas->canvasRect();
    EXPECT_GE(box.x(), 0.0);
    const QRectF frame = canvas->shapeView()->cropRect();
    EXPECT_NEAR(frame.width(), box.width(), 0.01);
    EXPECT_NEAR(frame.height(), box.height(), 0.01);

    // Handle 3 (bottom left) dragged half the box to the right: the frame
    // keeps its top right corner and halves, cropping the top right quadrant.
    auto* shape = canvas->shapeView();
    const QPointF corner = canvas->toWidget(QRectF(box.topLeft(), QSizeF(0, 0))).topLeft();
    const QPoint press = corner.toPoint();
    QTest::mousePress(shape, Qt::LeftButton, {}, press);
    EXPECT_EQ(shape->fixedPointType(), 2);
    const QPointF to(press.x() + box.width() / 2, press.y());
    QMouseEvent move(QEvent::MouseMove, to, shape->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(shape, &move);
    QTest::mouseRelease(shape, Qt::LeftButton, {}, to.toPoint());
    EXPECT_EQ(shape->fixedPointType(), 0);
    const QRectF crop = dialog.imageCropRect();
    EXPECT_NEAR(crop.x(), 320, 3);
    EXPECT_NEAR(crop.y(), 180, 3);
    EXPECT_NEAR(crop.right(), 640, 0.1);
    EXPECT_NEAR(crop.bottom(), 360, 0.1);
    EXPECT_NEAR(crop.width() / crop.height(), 16.0 / 9.0, 0.01);
    const QImage shot = dialog.grab().toImage();
    testsupport::writeArtifact(shot, "background-picture-dialog.png");

    // Applied, the quadrant fills the whole menu picture.
    dialog.applyAction();
    const QImage menu = pages()[0]->imageAtTime(0);
    ASSERT_FALSE(menu.isNull());
    testsupport::writeArtifact(menu, "background-picture-menu.png");
    for (const QPointF at : {QPointF(0.1, 0.1), QPointF(0.5, 0.5), QPointF(0.9, 0.9)}) {
        const QColor c = menu.pixelColor(int(at.x() * menu.width()), int(at.y() * menu.height()));
        EXPECT_GT(c.green(), 200) << at.x();
        EXPECT_LT(c.red(), 60) << at.x();
        EXPECT_LT(c.blue(), 60) << at.x();
    }
}

}  // namespace
