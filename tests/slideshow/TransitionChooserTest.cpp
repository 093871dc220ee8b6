// The transition chooser over the shipped transitions: the grid, opening on a
// slideshow's settings, choosing, the duration slider and field, and the
// hover previews.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "../media/TransitionTestSupport.h"
#include "SlideshowEditTestSupport.h"
#include "TestSupport.h"
#include "media/QuillonRenderer.h"
#include "media/RenderController.h"
#include "media/SlideshowItem.h"
#include "slideshow/QuartzBackView.h"
#include "slideshow/QuartzPreviewView.h"
#include "slideshow/SlideshowWndCtrl.h"

namespace {

using slideshowedit::waitUntil;

class TransitionChooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
        ASSERT_EQ(RenderController::sharedRenderController().quartzsCount(), 10);
        chooser = std::make_unique<SlideshowWndCtrl>(nullptr);
        item = std::make_shared<SlideshowItem>();
        item->mergeFromDic(RenderController::sharedRenderController().informationOfName(
            QStringLiteral("Cube New.qtz")));
        item->setDDuration(5.0);
    }
    void TearDown() override { QuartzPreviewView::updatePreviewSpeed(1.0); }

    QuartzPreviewView* tile(const QString& name) const
    {
        QuartzPreviewView* view = chooser->previewViewOfName(name);
        EXPECT_TRUE(view) << qPrintable(name);
        return view;
    }

    // Types into the duration field as the user does: focus, text, Return.
    void type(const QString& text)
    {
        QLineEdit* field = chooser->edtDuration();
        chooser->controlTextDidBeginEditing(field);
        field->setText(text);
        chooser->controlTextDidEndEditing(field);
    }

    std::unique_ptr<SlideshowWndCtrl> chooser;
    std::shared_ptr<SlideshowItem> item;
};

// A 700-wide grid of the ten shipped transitions: gaps of 12, three rows,
// 530 high, rows filled from the top.
TEST_F(TransitionChooser, GridOfFourColumns)
{
    const auto& tiles = chooser->mtAryThumbnailViews();
    ASSERT_EQ(tiles.size(), 10);
    EXPECT_EQ(chooser->vQuartzBackView()->size(), QSize(700, 530));
    EXPECT_EQ(chooser->frameOfTile(tiles[0]), QRectF(12, 360, 160, 150));
    EXPECT_EQ(chooser->frameOfTile(tiles[3]), QRectF(528, 360, 160, 150));
    EXPECT_EQ(chooser->frameOfTile(tiles[9]), QRectF(184, 20, 160, 150));
    EXPECT_EQ(tiles[0]->geometry(), QRect(12, 20, 160, 150));  // the top row, seen from the top
    EXPECT_EQ(QuartzPreviewView::previewSpeed(), 1.5);
    for (QuartzPreviewView* view : tiles) {
        EXPECT_FALSE(view->imgThumbnailImage().isNull());
        EXPECT_FALSE(view->abStrTitle().endsWith(".qtz"));
        EXPECT_GT(view->dBestDuration(), 0.0);
        EXPECT_EQ(view->oDelegate(), chooser.get());
    }
    EXPECT_EQ(tiles[1]->abStrTitle(), "Crossfade");
    EXPECT_EQ(chooser->mtAryPreviewThumbnails().size(), 8);
}

TEST_F(TransitionChooser, OpensOnTheSlideshowsSettings)
{
    chooser->beginEditting(item);
    EXPECT_FALSE(chooser->bDidChange());
    EXPECT_EQ(chooser->tldBestDuration()->text(), "Best Duration: 3.0 s");
    EXPECT_EQ(chooser->sliderValue(), 5.0);
    EXPECT_EQ(chooser->sliderMinValue(), 1.0);
    EXPECT_EQ(chooser->sliderMaxValue(), 20.0);
    EXPECT_EQ(chooser->edtDuration()->text(), "5.0S");
    EXPECT_EQ(chooser->vPreviewView(), tile("Cube New.qtz"));
    EXPECT_EQ(chooser->vQuartzBackView()->rctChoosenFrame(), QRectF(7, 355, 170, 160));
    // Opening writes nothing back.
    EXPECT_EQ(item->dDuration(), 5.0);
    EXPECT_FALSE(chooser->bDidChange());
    chooser->endEditting();
}

// A transition the registry does not know: no tile, the frame on the origin.
TEST_F(TransitionChooser, UnknownTransitionFramesTheOrigin)
{
    item->setStrSlideshowName(QStringLiteral("Gone.qtz"));
    chooser->beginEditting(item);
    EXPECT_EQ(chooser->vPreviewView(), nullptr);
    EXPECT_EQ(chooser->vQuartzBackView()->rctChoosenFrame(), QRectF(-5, -5, 10, 10));
    chooser->didChooseQuartzPreview(tile("Push.qtz"));
    EXPECT_EQ(item->strSlideshowName(), "Push.qtz");
    chooser->endEditting();
}

// Choosing merges the transition and resets the seconds per photo to its
// best duration (3 s for the shipped Crossfade).
TEST_F(TransitionChooser, ChoosingResetsTheDuration)
{
    chooser->beginEditting(item);
    QuartzPreviewView* crossfade = tile("Crossfade.qtz");
    chooser->window()->show();
    QTest::mouseClick(crossfade, Qt::LeftButton, {}, QPoint(80, 50));
    EXPECT_TRUE(chooser->bDidChange());
    EXPECT_EQ(item->strSlideshowName(), "Crossfade.qtz");
    EXPECT_EQ(item->dDuration(), 3.0);
    EXPECT_EQ(item->dBestDuration(), 3.0);
    EXPECT_EQ(chooser->sliderValue(), 3.0);
    EXPECT_EQ(chooser->edtDuration()->text(), "3.0S");
    EXPECT_EQ(chooser->tldBestDuration()->text(), QString::asprintf("Best Duration: %3.1f s", 3.0));
    const QRectF frame = chooser->frameOfTile(crossfade);
    EXPECT_EQ(chooser->vQuartzBackView()->rctChoosenFrame(), frame.adjusted(-5, -5, 5, 5));
    EXPECT_EQ(chooser->vPreviewView(), tile("Cube New.qtz"));  // the tile it opened on
    chooser->endEditting();
}

TEST_F(TransitionChooser, TypedDurations)
{
    chooser->beginEditting(item);
    const struct {
        const char* typed;
        const char* shown;
        double seconds;
    } cases[] = {
        {"7", "7.0S", 7.0}, {"7S", "7.0S", 7.0},   {"abc", "7.0S", 7.0}, {"99", "20.0S", 20.0},
        {"0", "1.0S", 1.0}, {"2.25", "2.2S", 2.2}, {"", "1.0S", 1.0},    {"1.2.3", "1.0S", 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        type(QString::fromUtf8(c.typed));
        EXPECT_EQ(chooser->edtDuration()->text(), QString::fromUtf8(c.shown));
        EXPECT_DOUBLE_EQ(item->dDuration(), c.seconds);
        EXPECT_DOUBLE_EQ(chooser->sliderValue(), c.seconds);
        EXPECT_TRUE(chooser->bDidChange());
        EXPECT_FALSE(chooser->strTempStringValue());
    }
    chooser->endEditting();
}

// The field through real keys: an edit still open when Done is pressed is
// applied first.
TEST_F(TransitionChooser, OpenEditIsAppliedOnDone)
{
    chooser->beginEditting(item);
    slideshowedit::showActive(chooser->window());
    QLineEdit* field = chooser->edtDuration();
    field->setFocus();
    ASSERT_TRUE(waitUntil([&] { return field->hasFocus(); }, 2000));
    field->selectAll();
    QTest::keyClicks(field, "8");
    chooser->done();
    EXPECT_EQ(item->dDuration(), 8.0);
    EXPECT_FALSE(chooser->window()->isVisible());
}

TEST_F(TransitionChooser, SliderSetsTheDuration)
{
    chooser->beginEditting(item);
    chooser->sldDuration()->setValue(25);  // as a drag does: 2.5 s
    EXPECT_TRUE(chooser->bDidChange());
    EXPECT_EQ(chooser->edtDuration()->text(), "2.5S");
    EXPECT_DOUBLE_EQ(item->dDuration(), 2.5);
    chooser->endEditting();
}

// Hovering previews one tile at a time with a 160 × 120 renderer on the
// stock pictures; leaving stops it and drops the renderer.
TEST_F(TransitionChooser, HoverPreviewsOneTileAtATime)
{
    chooser->beginEditting(item);
    QuartzPreviewView* first = tile("Crossfade.qtz");
    QuartzPreviewView* second = tile("Iris.qtz");
    chooser->didEnterQuartzPreview(first);
    ASSERT_TRUE(chooser->oCurrentRender());
    EXPECT_EQ(chooser->oCurrentRender()->pixelSize(), QSize(160, 120));
    EXPECT_EQ(chooser->oCurrentRender()->valueForInputKey("Images").array().size(), 3);
    EXPECT_TRUE(first->isPreviewing());
    first->updateRenderingImage();
    EXPECT_EQ(first->imgRenderingImage().size(), QSize(160, 120));
    EXPECT_EQ(chooser->oCurrentRender()->valueForInputKey("Time").toDouble(), 0.05);

    chooser->didEnterQuartzPreview(second);
    EXPECT_FALSE(first->isPreviewing());
    EXPECT_TRUE(second->isPreviewing());
    chooser->didExitQuartzPreview(second);
    EXPECT_FALSE(second->isPreviewing());
    EXPECT_FALSE(chooser->oCurrentRender());
    chooser->endEditting();
}

// Closing the chooser stops a preview that is still running and drops its
// renderer, so nothing renders behind the closed sheet.
TEST_F(TransitionChooser, ClosingStopsThePreviews)
{
    chooser->beginEditting(item);
    chooser->didEnterQuartzPreview(tile("Zoom.qtz"));
    ASSERT_TRUE(chooser->oCurrentRender());
    chooser->done();
    for (QuartzPreviewView* view : chooser->mtAryThumbnailViews()) {
        EXPECT_FALSE(view->isPreviewing());
    }
    EXPECT_FALSE(chooser->oCurrentRender());
    EXPECT_FALSE(chooser->oItem());
}

// Only eight stock pictures exist: a transition asking for twelve gets eight.
TEST(TransitionChooserRegistry, BestCountIsClampedToTheStockPictures)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QDir shipped(QDir(transitiontest::shippedTransitionFolder()).filePath("02 Crossfade"));
    const QString folder = dir.filePath("Many/01 Many");
    QDir().mkpath(folder);
    for (const QString& name : shipped.entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(shipped.filePath(name), QDir(folder).filePath(name)));
    }
    QFile plist(QDir(folder).filePath("Crossfade.plist"));
    ASSERT_TRUE(plist.open(QIODevice::ReadOnly));
    QByteArray text = plist.readAll();
    plist.close();
    text.replace("<integer>3</integer>", "<integer>12</integer>");
    ASSERT_TRUE(transitiontest::writeText(plist.fileName(), text));

    RenderController registry(dir.filePath("Many"));
    ASSERT_EQ(registry.quartzsCount(), 1);
    SlideshowWndCtrl chooser(nullptr, registry);
    ASSERT_EQ(chooser.mtAryThumbnailViews().size(), 1);
    QuartzPreviewView* only = chooser.mtAryThumbnailViews().first();
    chooser.didEnterQuartzPreview(only);
    ASSERT_TRUE(chooser.oCurrentRender());
    EXPECT_EQ(chooser.oCurrentRender()->valueForInputKey("Images").array().size(), 8);
    only->updateRenderingImage();
    EXPECT_FALSE(only->imgRenderingImage().isNull());
    chooser.stopAllPreviewings();
}

// startEditting runs the sheet until Done and returns.
TEST_F(TransitionChooser, RunsModallyUntilDone)
{
    QWidget editor;
    editor.resize(800, 700);
    editor.show();
    chooser->setWndSheetedWindow(&editor);
    bool wasVisible = false;
    QTimer::singleShot(0, [&] {
        wasVisible = chooser->window()->isVisible() && chooser->isSheetRunning();
        chooser->didChooseQuartzPreview(tile("Slide.qtz"));
        QTest::keyClick(chooser->window(), Qt::Key_Escape);  // Escape is Done
    });
    chooser->startEditting(item);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(chooser->window()->isVisible());
    EXPECT_TRUE(chooser->bDidChange());
    EXPECT_EQ(item->strSlideshowName(), "Slide.qtz");
    EXPECT_EQ(chooser->window()->parentWidget(), &editor);
}

// A picture of the chooser with a tile being previewed, for looking at.
TEST_F(TransitionChooser, PictureWithAHoveredTile)
{
    chooser->beginEditting(item);
    chooser->window()->show();
    QuartzPreviewView* hovered = tile("Card Flip.qtz");
    chooser->didEnterQuartzPreview(hovered);
    for (int tick = 0; tick < 30; ++tick) {
        hovered->updateRenderingImage();
    }
    const QImage picture = chooser->window()->grab().toImage();
    EXPECT_FALSE(picture.isNull());
    slideshowedit::writeArtifact(picture, "transition-chooser");
    chooser->endEditting();
}

}  // namespace
