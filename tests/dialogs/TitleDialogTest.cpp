// The title dialog: switching a title between picture and text, frame and
// rounding, the still frame of its clip, "Apply to all", new static texts,
// the zoom slider and limits, the panel moving between the two windows, and
// closing.

#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QUndoStack>

#include "DialogTestFixture.h"
#include "dialogs/ItemZoomSlider.h"
#include "dialogs/TextStylePanel.h"
#include "media/VCMovie.h"
#include "model/MediaData.h"

namespace {

using dialogtest::DialogTest;

class TitleDialogTest : public DialogTest {
protected:
    TitleTextEditWindowController& open(const std::shared_ptr<DVDPageItem>& edited)
    {
        select({edited});
        titleDialog().updateWndSettingWhenEditTitleMedia();
        return titleDialog();
    }
};

TEST_F(TitleDialogTest, PictureToTextAndBackKeepsThePictureFrame)
{
    auto title = item(1, QRectF(100, 100, 200, 150));
    title->setTitleUseType(1);
    openPage({title});
    TitleTextEditWindowController& dialog = open(title);
    EXPECT_EQ(dialog.titleTypeTabView()->currentIndex(), 1);

    dialog.useImageOrTextTitleRadioAction(1);
    ASSERT_TRUE(title->textSource());
    EXPECT_EQ(title->type(), 4);
    EXPECT_EQ(title->titleUseType(), 2);
    EXPECT_EQ(title->textSource()->textString(), "New Title");
    EXPECT_EQ(title->textSource()->backgroundType(), 1u);
    EXPECT_EQ(title->frame().size(), title->textSource()->size());
    EXPECT_EQ(dialog.titleTypeTabView()->currentIndex(), 2);
    EXPECT_EQ(dialog.textStylePanel().textEditView()->parentWidget(), dialog.textContainerView());
    const QPointF textCentre = title->frame().center();

    dialog.useImageOrTextTitleRadioAction(0);
    EXPECT_EQ(title->type(), 1);
    EXPECT_FALSE(title->textSource());
    EXPECT_EQ(title->frame().size(), QSizeF(200, 150));
    EXPECT_NEAR(title->frame().center().x(), textCentre.x(), 1e-3);
    EXPECT_NEAR(title->frame().center().y(), textCentre.y(), 1e-3);
    EXPECT_TRUE(controller->menuCanvasRect().contains(title->frame()));
    EXPECT_EQ(title->titleUseType(), 1);
    EXPECT_EQ(dialog.titleTypeTabView()->currentIndex(), 1);

    dialog.useImageOrTextTitleRadioAction(1);
    EXPECT_EQ(title->textSource()->textString(), "New Title");
}

// Clicks on the dialog's controls, and the picture size they leave.
TEST_F(TitleDialogTest, PictureSizeSurvivesTextRoundTripsClickedOnTheRadios)
{
    enum Step { Text, Picture, Bigger, Undo, ZoomStep };
    struct Case {
        const char* name;
        QList<Step> steps;
        QSizeF size;
        bool opensAsText = false;
    };
    const QList<Case> cases = {
        {"text then picture", {Text, Picture}, {200, 150}},
        {"text chosen twice", {Text, Text, Picture}, {200, 150}},
        {"picture chosen twice", {Picture, Text, Picture, Picture}, {200, 150}},
        {"undo of a text change after the switch back", {Text, Bigger, Picture, Undo}, {200, 150}},
        {"first zoom step after the switch back", {Text, Picture, ZoomStep}, {250, 187.5}},
        // Opened on a text title that was a 200 x 150 picture before.
        {"first zoom step after a text opened as such", {Picture, ZoomStep}, {250, 187.5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto title = item(1, QRectF(300, 150, 200, 150));
        title->setTitleUseType(1);
        if (c.opensAsText) {
            title = textTitle(QRectF(300, 150, 150, 48), "Text");
            title->setTitleOldFrame(QRectF(300, 150, 200, 150));
        }
        openPage({title});
        TitleTextEditWindowController& dialog = open(title);
        dialog.mainWindow()->show();
        dialog.undoStack().clear();
        for (Step step : c.steps) {
            switch (step) {
                case Text:
                    QTest::mouseClick(dialog.textRadio(), Qt::LeftButton);
                    EXPECT_EQ(title->type(), 4);
                    break;
                case Picture:
                    QTest::mouseClick(dialog.imageRadio(), Qt::LeftButton);
                    EXPECT_EQ(title->type(), 1);
                    break;
                case Bigger:
                    dialog.textStylePanel().sizeSlider()->setValue(80);
                    break;
                case Undo:
                    ASSERT_GT(dialog.undoStack().count(), 0);
                    dialog.undoStack().undo();
                    break;
                case ZoomStep:
                    dialog.zoomSlider().slider()->setValue(1250);
                    break;
            }
        }
        EXPECT_NEAR(title->frame().width(), c.size.width(), 0.01);
        EXPECT_NEAR(title->frame().height(), c.size.height(), 0.01);
        dialog.mainWindow()->hide();
    }
}

TEST_F(TitleDialogTest, TextTitleWithoutARememberedFrameComesBackInsideTheCanvas)
{
    // A title made as text: no remembered picture frame. Near the top right
    // corner, so the new picture has to be brought inside.
    auto title = textTitle(QRectF(700, 430, 150, 48), "Text");
    title->setTitleOldFrame(QRectF());
    openPage({title});
    TitleTextEditWindowController& dialog = open(title);
    dialog.useImageOrTextTitleRadioAction(0);
    EXPECT_EQ(title->frame().size(), QSizeF(150, 112.5));
    EXPECT_TRUE(controller->menuCanvasRect().contains(title->frame()));
    EXPECT_GT(dialog.getMinZoomWithMedia(title), 0.0f);
}

TEST_F(TitleDialogTest, FrameCheckBoxAndRounding)
{
    auto title = item(1, QRectF(100, 100, 200, 150));
    title->setTitleUseType(1);
    openPage({title});
    TitleTextEditWindowController& dialog = open(title);

    dialog.useFrameCheckBox()->setChecked(false);
    EXPECT_FALSE(title->useFrame());
    EXPECT_EQ(title->titleUseType(), 0);
    EXPECT_EQ(dialog.titleTypeTabView()->currentIndex(), 0);
    EXPECT_EQ(dialog.imageTypeControlView()->parentWidget(), dialog.roundImageContainerView());
    EXPECT_EQ(dialog.textStylePanel().shadowControlView()->parentWidget(),
              dialog.roundShadowContainerView());

    dialog.roundChangeUseField(1.5);
    EXPECT_DOUBLE_EQ(title->titleRoundValue(), 1.0);
    dialog.roundChangeUseField(-0.2);
    EXPECT_DOUBLE_EQ(title->titleRoundValue(), 0.0);
    dialog.roundChangeUseSlider(0.35);
    EXPECT_DOUBLE_EQ(title->titleRoundValue(), 0.35);
}

TEST_F(TitleDialogTest, ApplyToAllCopiesTheStyleSetAndRefitsEachFrame)
{
    auto current = textTitle(QRectF(100, 100, 200, 60), "Current");
    auto other = textTitle(QRectF(100, 300, 200, 60), "Other");
    auto onSecondPage = textTitle(QRectF(300, 200, 120, 40), "Second page");
    auto staticText = textItem(QRectF(500, 100, 200, 60), "Static");
    const auto style = current->textSource();
    QFont font = style->textFont();
    font.setPointSizeF(24);
    style->setTextFont(font);
    style->setTextFillType(1);
    style->setTextGradient({{0.0, Qt::yellow}, {1.0, Qt::cyan}});
    style->setTextColor(Qt::red);
    style->setAlignment(2);
    style->setHasOutline(true);
    style->setOutlineWidth(12);
    style->setTextOutlineColor(Qt::blue);
    style->setBackgroundType(1);
    style->setBackgroundColor(Qt::darkGreen);
    style->setBackgroundRadius(0.5f);
    current->setHasShadow(true);
    current->setShadowAngleValue(200);
    current->setShadowBlursizeValue(6);
    current->setShadowOffsetValue(-4.0f);
    current->setShadowColor(QColor(0, 0, 255, 100));
    other->textSource()->setTextColor(Qt::white);
    auto page = topPage();
    page->setItemArray({current, other, staticText});
    auto second = topPage();
    second->setItemArray({onSecondPage});
    menutest::MenuEditorTest::open({page, second});
    TitleTextEditWindowController& dialog = open(current);

    alerts->answers = {AlertService::AlternateReturn};
    dialog.applyTextTitleEditToAllTextTitle();
    EXPECT_FALSE(other->textSource()->hasOutline()) << "Cancel changes nothing";
    ASSERT_EQ(alerts->alerts.size(), 1);
    EXPECT_EQ(alerts->alerts[0].content.message,
              "Do you want to apply the text setting to all text titles ?");
    EXPECT_EQ(alerts->alerts[0].content.defaultButton, "Apply to all");
    EXPECT_EQ(alerts->alerts[0].content.alternateButton, "Cancel");

    dialog.applyTextTitleEditToAllTextTitle();
    for (const auto& changed : {other, onSecondPage}) {
        const auto text = changed->textSource();
        EXPECT_EQ(text->textFillType(), 1u);
        EXPECT_EQ(text->textGradient(), style->textGradient());
        EXPECT_DOUBLE_EQ(text->textFont().pointSizeF(), 24);
        EXPECT_TRUE(text->hasOutline());
        EXPECT_FLOAT_EQ(text->outlineWidth(), 12);
        EXPECT_EQ(text->textOutlineColor(), QColor(Qt::blue));
        EXPECT_EQ(text->backgroundType(), 1u);
        EXPECT_EQ(text->backgroundColor(), QColor(Qt::darkGreen));
        EXPECT_FLOAT_EQ(text->backgroundRadius(), 0.5f);
        EXPECT_EQ(text->alignment(), 0u) << "alignment is not copied";
        EXPECT_EQ(changed->shadowAngleValue(), 200);
        EXPECT_EQ(changed->shadowBlursizeValue(), 6);
        EXPECT_FLOAT_EQ(changed->shadowOffsetValue(), -4.0f);
        EXPECT_EQ(changed->shadowColor(), QColor(0, 0, 255, 100));
        EXPECT_EQ(changed->frame().size(), text->size()) << "the frame is refitted";
    }
    EXPECT_EQ(other->textSource()->textString(), "Other");
    EXPECT_EQ(other->textSource()->textColor(), QColor(Qt::white));
    EXPECT_EQ(onSecondPage->textSource()->textString(), "Second page");
    EXPECT_FALSE(staticText->textSource()->hasOutline()) << "static texts are another kind";
    EXPECT_EQ(dialog.undoStack().count(), 0);
}

TEST_F(TitleDialogTest, NewStaticTextHasItsDefaultsAndIsNotSelected)
{
    auto title = item(1, QRectF(100, 100, 200, 150));
    auto page = openPage({title});
    select({title});
    const auto before = page->itemArray();

    controller->addTextButtonAction();
    ASSERT_EQ(page->itemArray().size(), before.size() + 1);
    const auto added = page->itemArray().last();
    EXPECT_EQ(added->type(), 2);
    ASSERT_TRUE(added->textSource());
    EXPECT_EQ(added->textSource()->textString(), "Text Here");
    EXPECT_EQ(added->textSource()->media(), added);
    EXPECT_FALSE(added->frameResource());
    EXPECT_FALSE(added->buttonResource());
    EXPECT_TRUE(added->hasShadow());
    EXPECT_EQ(added->shadowAngleValue(), 45);
    EXPECT_EQ(added->shadowBlursizeValue(), 4);
    EXPECT_FLOAT_EQ(added->shadowOffsetValue(), 3.0f);
    EXPECT_EQ(added->shadowColor(), QColor(Qt::black));
    EXPECT_EQ(added->frame().size(), added->textSource()->size());
    EXPECT_NEAR(added->frame().center().x(), controller->menuCanvasRect().center().x(), 1e-3);
    EXPECT_NEAR(added->frame().center().y(), controller->menuCanvasRect().center().y(), 1e-3);
    EXPECT_EQ(added->titleOldFrame(), added->frame());
    EXPECT_EQ(controller->currentItem(), title) << "the new text is not selected";
    EXPECT_TRUE(main().calls.contains("setDocumentEdited:YES"));
}

TEST_F(TitleDialogTest, ZoomSliderScalesTheOpeningFrameWithinItsLimits)
{
    // 200 wide, right edge 50 inside the canvas, a static text close by.
    auto title = item(1, QRectF(604, 190, 200, 100));
    auto text = textItem(QRectF(560, 300, 40, 40));
    auto neighbour = item(1, QRectF(300, 190, 100, 100));
    openPage({title, text, neighbour});
    TitleTextEditWindowController& dialog = open(title);
    ItemZoomSlider& zoom = dialog.zoomSlider();
    EXPECT_FLOAT_EQ(zoom.minZoom(), 0.15f);
    EXPECT_NEAR(zoom.maxZoom(), 1.5f, 1e-4);
    EXPECT_FLOAT_EQ(zoom.zoomValue(), 1.0f);
    EXPECT_EQ(title->frame(), QRectF(604, 190, 200, 100)) << "resetting resizes nothing";

    zoom.slider()->setValue(1500);
    EXPECT_EQ(title->frame().size(), QSizeF(300, 150));
    zoom.slider()->setValue(1000);
    EXPECT_EQ(title->frame(), QRectF(604, 190, 200, 100));

    // The corner drag asks about any item: the limits are that item's.
    EXPECT_NEAR(dialog.getMaxZoomWithMedia(neighbour), 4.8f, 1e-4);
    EXPECT_FLOAT_EQ(dialog.getMinZoomWithMedia(neighbour), 0.3f);
}

TEST_F(TitleDialogTest, StillFrameTimeIsClampedToTheClip)
{
    const QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.path() + "/clip.mp4";
    ASSERT_TRUE(testsupport::makeTestClip(path, 2.0));
    auto clip = std::make_shared<MediaData>();
    clip->setVcmovie(VCMovie::movieWithPath(path));
    ASSERT_TRUE(clip->ffmovie());
    auto title = item(1, QRectF(100, 100, 200, 150));
    title->setMedia(clip);
    title->setTitleUseImageFrom(1);
    openPage({title});
    TitleTextEditWindowController& dialog = open(title);
    EXPECT_TRUE(dialog.canEditVideoImage());
    const LMMediaTime duration = dialog.videoDuration();
    ASSERT_GT(duration, 0);

    dialog.videoImageFromTimeFieldChanged(duration * 3);
    EXPECT_EQ(dialog.videoImageFromTime(), duration);
    dialog.videoImageFromTimeFieldChanged(-5);
    EXPECT_EQ(dialog.videoImageFromTime(), 0);
    dialog.videoImageFromTimeSliderChanged(lm_default_time_base());
    EXPECT_EQ(title->titleVideoImageTime(), lm_default_time_base());
    EXPECT_FALSE(title->titleVideoImage().isNull());

    // Without a clip there is no still frame to take.
    auto bare = item(1, QRectF(400, 100, 200, 150));
    controller->currentMenu()->setItemArray({title, bare});
    open(bare);
    EXPECT_FALSE(dialog.canEditVideoImage());
    dialog.videoImageFromTimeFieldChanged(lm_default_time_base());
    EXPECT_EQ(dialog.videoImageFromTime(), 0);
    EXPECT_TRUE(bare->titleVideoImage().isNull());
}

TEST_F(TitleDialogTest, PanelMovesBetweenWindowsAndClosingMarksTheDocument)
{
    auto text = textItem(QRectF(100, 100, 200, 60));
    auto title = textTitle(QRectF(100, 300, 200, 60), "Title");
    openPage({text, title});
    TitleTextEditWindowController& dialog = titleDialog();

    select({text});
    dialog.prepareStaticTextEditWindow();
    EXPECT_EQ(dialog.textStylePanel().textEditView()->parentWidget(),
              dialog.textEditContainerView());
    EXPECT_EQ(dialog.textStylePanel().shadowControlView()->parentWidget(),
              dialog.textShadowContainerView());

    open(title);
    EXPECT_EQ(dialog.textStylePanel().textEditView()->parentWidget(), dialog.textContainerView());
    EXPECT_EQ(dialog.textStylePanel().shadowControlView()->parentWidget(),
              dialog.textTitleShadowContainerView());
    EXPECT_TRUE(dialog.useFrameCheckBox()->isHidden());

    main().calls.clear();
    dialog.mainWindow()->show();
    dialog.mainWindow()->close();
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 1);
    dialog.textEditWindow()->show();
    dialog.textEditWindow()->reject();
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 2);
}

TEST_F(TitleDialogTest, UnreadableUserPictureChangesNothing)
{
    const QTemporaryDir dir = testsupport::makeTempDir();
    const QString bad = dir.path() + "/not-a-picture.png";
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no picture here");
    file.close();
    const QString good = dir.path() + "/picture.png";
    ASSERT_TRUE(disctest::solid(40, 30, Qt::green).save(good));

    auto title = item(1, QRectF(100, 100, 200, 150));
    openPage({title});
    TitleTextEditWindowController& dialog = open(title);
    dialog.loadLocalImageFromPath(good);
    EXPECT_EQ(title->titleLocalImage().size(), QSize(40, 30));
    dialog.loadLocalImageFromPath(bad);
    EXPECT_EQ(title->titleLocalImage().size(), QSize(40, 30));
}

}  // namespace
