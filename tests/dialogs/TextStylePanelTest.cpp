// The text style panel on the real title and button dialogs: shadow clamps,
// undo and redo on the text where a change was made, the refresh that writes
// nothing, the differences between the two dialogs and the fill, backdrop
// and text field rules.

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QUndoStack>

#include "DialogTestFixture.h"
#include "common/ControllerFunctionImages.h"
#include "dialogs/ColorWell.h"
#include "dialogs/ImageWell.h"
#include "dialogs/TextStringField.h"
#include "dialogs/core/FontFaces.h"

namespace {

using dialogtest::DialogTest;

// Everything of a text's style and its item's frame and shadow, as text, so
// that a refresh can be shown to change nothing.
QString styleOf(const DVDPageItem& item)
{
    const EffectTextImage& t = *item.textSource();
    QStringList parts{t.textString(),
                      t.textFont().toString(),
                      QString::number(t.textFillType()),
                      t.textColor().name(QColor::HexArgb),
                      QString::number(t.textImage().cacheKey()),
                      QString::number(t.hasOutline()),
                      QString::number(t.outlineWidth()),
                      t.textOutlineColor().name(QColor::HexArgb),
                      QString::number(t.backgroundType()),
                      t.backgroundColor().name(QColor::HexArgb),
                      QString::number(t.backgroundImage().cacheKey()),
                      QString::number(t.backgroundRadius())};
    for (const auto& stop : t.textGradient()) {
        parts << stop.second.name(QColor::HexArgb);
    }
    const QRectF f = item.frame();
    parts << QString("%1 %2 %3 %4").arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height());
    parts << QString::number(item.hasShadow()) << QString::number(item.shadowAngleValue())
          << QString::number(item.shadowBlursizeValue())
          << QString::number(item.shadowOffsetValue()) << item.shadowColor().name(QColor::HexArgb);
    return parts.join('|');
}

void type(QLineEdit* field, const QString& text)
{
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

class TextStylePanelTest : public DialogTest {
protected:
    // Shows a page with the items and opens the static text window's panel
    // for `edited` (not run modally).
    TextStylePanel& editStaticText(const std::shared_ptr<DVDPageItem>& edited)
    {
        select({edited});
        titleDialog().prepareStaticTextEditWindow();
        titleDialog().textEditWindow()->show();
        return titleDialog().textStylePanel();
    }

    QUndoStack& titleUndo() { return titleDialog().undoStack(); }
};

TEST_F(TextStylePanelTest, ShadowFieldsClampUpperBoundFirstAndReachTheItem)
{
    auto text = textItem(QRectF(100, 100, 200, 60));
    openPage({text});
    TextStylePanel& panel = editStaticText(text);

    struct Case {
        QLineEdit* field;
        QString typed;
        std::function<double()> panelValue;
        std::function<double()> itemValue;
        double expectedPanel;
        double expectedItem;
    };
    const auto angle = [&] { return double(panel.shadowAngleValue()); };
    const auto itemAngle = [&] { return double(text->shadowAngleValue()); };
    const auto blur = [&] { return double(panel.shadowBlursizeValue()); };
    const auto itemBlur = [&] { return double(text->shadowBlursizeValue()); };
    const auto offset = [&] { return double(panel.shadowOffset()); };
    const auto itemOffset = [&] { return double(text->shadowOffsetValue()); };
    const auto opacity = [&] { return double(panel.shadowOpacityValue()); };
    const auto itemOpacity = [&] { return double(text->shadowColor().alphaF()); };
    const Case cases[] = {
        {panel.shadowAngleField(), "400", angle, itemAngle, 360, 360},
        {panel.shadowAngleField(), "-5", angle, itemAngle, 0, 0},
        {panel.shadowBlurField(), "150", blur, itemBlur, 100, 100},
        {panel.shadowBlurField(), "-3", blur, itemBlur, 0, 0},
        {panel.shadowBlurField(), "7.8", blur, itemBlur, 7.8, 7},
        {panel.shadowOffsetField(), "12.5", offset, itemOffset, 10, 10},
        {panel.shadowOffsetField(), "-20", offset, itemOffset, -10, -10},
        {panel.shadowOpacityField(), "1.7", opacity, itemOpacity, 1, 1},
    };
    for (const Case& c : cases) {
        type(c.field, c.typed);
        EXPECT_NEAR(c.panelValue(), c.expectedPanel, 1e-5) << qPrintable(c.typed);
        EXPECT_NEAR(c.itemValue(), c.expectedItem, 1e-5) << qPrintable(c.typed);
    }
    type(panel.shadowAngleField(), "400");
    EXPECT_EQ(panel.shadowAngleField()->text(), QString::fromUtf8("360\u00b0"));
    type(panel.shadowAngleField(), "-5");
    EXPECT_EQ(panel.shadowAngleField()->text(), QString::fromUtf8("0\u00b0"));

    // A new colour: the item keeps it as chosen, the opacity shows 1.
    type(panel.shadowOpacityField(), "0.3");
    panel.shadowColorWell()->chooseColor(QColor(0, 0, 255, 128));
    EXPECT_EQ(text->shadowColor(), QColor(0, 0, 255, 128));
    EXPECT_FLOAT_EQ(panel.shadowOpacityValue(), 1.0f);
    // The opacity replaces the alpha of the panel's colour.
    type(panel.shadowOpacityField(), "0.5");
    EXPECT_EQ(text->shadowColor().rgb(), QColor(Qt::blue).rgb());
    EXPECT_NEAR(text->shadowColor().alphaF(), 0.5, 0.01);

    EXPECT_EQ(titleUndo().count(), 0) << "shadow changes are not undoable";
}

TEST_F(TextStylePanelTest, UndoRestoresTheTextWhereTheChangeWasMade)
{
    auto first = textItem(QRectF(100, 100, 200, 60), "First");
    auto second = textItem(QRectF(100, 300, 200, 60), "Second");
    first->textSource()->setTextColor(Qt::green);
    openPage({first, second});
    TextStylePanel& panel = editStaticText(first);
    const double firstSize = first->textSource()->textFont().pointSizeF();
    const QString secondBefore = styleOf(*second);

    panel.sizeSlider()->setValue(70);
    panel.fillCategory()->setCurrentIndex(0);
    emit panel.fillCategory()->activated(0);
    panel.fillColorWell()->chooseColor(Qt::red);
    EXPECT_EQ(first->textSource()->textColor(), QColor(Qt::red));
    EXPECT_DOUBLE_EQ(first->textSource()->textFont().pointSizeF(), 70.0);
    EXPECT_EQ(titleUndo().count(), 3);

    editStaticText(second);
    EXPECT_EQ(titleUndo().count(), 3) << "moving to another item adds no step";
    titleUndo().undo();
    EXPECT_EQ(first->textSource()->textColor(), QColor(Qt::green));
    titleUndo().undo();
    titleUndo().undo();
    EXPECT_DOUBLE_EQ(first->textSource()->textFont().pointSizeF(), firstSize);
    EXPECT_EQ(styleOf(*second), secondBefore);

    titleUndo().redo();
    titleUndo().redo();
    titleUndo().redo();
    EXPECT_DOUBLE_EQ(first->textSource()->textFont().pointSizeF(), 70.0);
    EXPECT_EQ(first->textSource()->textColor(), QColor(Qt::red));
    EXPECT_EQ(styleOf(*second), secondBefore);
}

TEST_F(TextStylePanelTest, BoldAndItalicSurviveSizeFamilyAndFaceChanges)
{
    auto text = textItem(QRectF(100, 100, 200, 60), "Styled");
    text->textSource()->setTextFont(FontFaces::font("DejaVu Serif", "Bold Italic", 40));
    openPage({text});
    TextStylePanel& panel = editStaticText(text);
    const auto font = [&] { return text->textSource()->textFont(); };
    EXPECT_EQ(panel.faceButton()->currentText(), "Bold Italic");
    EXPECT_TRUE(panel.faceButton()->isEnabled());

    // A size change keeps the face.
    panel.sizeSlider()->setValue(70);
    EXPECT_DOUBLE_EQ(font().pointSizeF(), 70.0);
    EXPECT_TRUE(font().bold());
    EXPECT_TRUE(font().italic());

    // Another family: its bold slanted face ("Bold Oblique" in DejaVu Sans).
    const int sans = panel.fontButton()->findText("DejaVu Sans");
    ASSERT_GE(sans, 0);
    panel.fontButton()->setCurrentIndex(sans);
    emit panel.fontButton()->activated(sans);
    EXPECT_EQ(font().family(), "DejaVu Sans");
    EXPECT_TRUE(font().bold());
    EXPECT_TRUE(font().italic());
    EXPECT_DOUBLE_EQ(font().pointSizeF(), 70.0);
    EXPECT_EQ(panel.faceButton()->currentText(), "Bold Oblique");
    EXPECT_TRUE(panel.faceButton()->findText("Book") >= 0);

    // The family's faces are offered; choosing one keeps the size.
    const int book = panel.faceButton()->findText("Book");
    panel.faceButton()->setCurrentIndex(book);
    emit panel.faceButton()->activated(book);
    EXPECT_FALSE(font().bold());
    EXPECT_FALSE(font().italic());
    EXPECT_DOUBLE_EQ(font().pointSizeF(), 70.0);

    // The drawn text shows the face: bold is wider than regular.
    const double regularWidth = text->textSource()->size().width();
    const int bold = panel.faceButton()->findText("Bold");
    panel.faceButton()->setCurrentIndex(bold);
    emit panel.faceButton()->activated(bold);
    EXPECT_GT(text->textSource()->size().width(), regularWidth);

    // Each change is one undo step; undoing all gives the first font back.
    while (titleUndo().canUndo()) {
        titleUndo().undo();
    }
    EXPECT_EQ(font().family(), "DejaVu Serif");
    EXPECT_TRUE(font().bold() && font().italic());
    EXPECT_DOUBLE_EQ(font().pointSizeF(), 40.0);
}

TEST_F(TextStylePanelTest, EveryValueASliderSendsIsOneUndoStep)
{
    auto text = textItem(QRectF(100, 100, 200, 60));
    openPage({text});
    TextStylePanel& panel = editStaticText(text);
    for (int size : {40, 41, 42}) {
        panel.sizeSlider()->setValue(size);
    }
    for (int fillet : {10, 20}) {
        panel.backFilletSlider()->setValue(fillet);
    }
    EXPECT_EQ(titleUndo().count(), 5);
    EXPECT_FLOAT_EQ(text->textSource()->backgroundRadius(), 0.2f);
}

TEST_F(TextStylePanelTest, UndoAfterTheItemWasDeletedTouchesOnlyTheDetachedText)
{
    auto doomed = textItem(QRectF(100, 100, 200, 60), "Doomed");
    auto kept = textItem(QRectF(100, 300, 200, 60), "Kept");
    openPage({doomed, kept});
    TextStylePanel& panel = editStaticText(doomed);
    const std::weak_ptr<EffectTextImage> detached = doomed->textSource();
    panel.outlineCheckBox()->setChecked(true);
    const int steps = titleUndo().count();
    ASSERT_GT(steps, 0);

    const QString keptBefore = styleOf(*kept);
    controller->currentMenu()->setItemArray({kept});
    select({kept});
    doomed.reset();
    ASSERT_FALSE(detached.expired()) << "the undo steps keep the text alive";

    for (int i = 0; i < steps; ++i) {
        titleUndo().undo();
    }
    EXPECT_FALSE(detached.lock()->hasOutline());
    EXPECT_EQ(styleOf(*kept), keptBefore);
    EXPECT_EQ(controller->currentMenu()->itemArray().size(), 1);
}

TEST_F(TextStylePanelTest, RefreshFillsTheControlsAndWritesNothing)
{
    auto text = textItem(QRectF(100, 100, 200, 60), "Styled");
    const auto style = text->textSource();
    QFont font = style->textFont();
    font.setPointSizeF(42);
    style->setTextFont(font);
    style->setTextFillType(1);
    style->setTextGradient({{0.0, Qt::yellow}, {1.0, Qt::cyan}});
    style->setHasOutline(true);
    style->setOutlineWidth(33);
    style->setTextOutlineColor(Qt::magenta);
    style->setBackgroundType(2);
    style->setBackgroundImage(disctest::solid(20, 10, Qt::gray));
    style->setBackgroundRadius(0.6f);
    text->setHasShadow(true);
    text->setShadowAngleValue(120);
    text->setShadowBlursizeValue(9);
    text->setShadowColor(QColor(255, 0, 0, 102));
    openPage({text});
    select({text});
    const QString before = styleOf(*text);

    TextStylePanel& panel = editStaticText(text);
    panel.updateTextMediaAttributes();
    panel.updateShadowAttributes();

    EXPECT_EQ(styleOf(*text), before);
    EXPECT_EQ(titleUndo().count(), 0);
    EXPECT_EQ(panel.textStringField()->text(), "Styled");
    EXPECT_FLOAT_EQ(panel.fontSizeSliderValue(), 42.0f);
    EXPECT_EQ(panel.fillCategory()->currentIndex(), 1);
    EXPECT_EQ(panel.fillGradientStartColorWell()->color(), QColor(Qt::yellow));
    EXPECT_EQ(panel.fillGradientEndColorWell()->color(), QColor(Qt::cyan));
    EXPECT_TRUE(panel.fillColorWell()->isHidden());
    EXPECT_FALSE(panel.fillGradientStartColorWell()->isHidden());
    EXPECT_TRUE(panel.outlineCheckBox()->isChecked());
    EXPECT_FLOAT_EQ(panel.outlineSliderValue(), 33.0f);
    EXPECT_TRUE(panel.outlineSlider()->isEnabled());
    EXPECT_TRUE(panel.backdropCheckBox()->isChecked());
    EXPECT_EQ(panel.backdropCategory()->currentIndex(), 1);
    EXPECT_FALSE(panel.backdropImageView()->isHidden());
    EXPECT_EQ(panel.backdropImageView()->image().size(), QSize(20, 10));
    EXPECT_FLOAT_EQ(panel.backFilletSliderValue(), 0.6f);
    EXPECT_EQ(panel.shadowAngleField()->text(), QString::fromUtf8("120\u00b0"));
    EXPECT_NEAR(panel.shadowOpacityValue(), 0.4, 0.01);
    EXPECT_FLOAT_EQ(panel.shadowBlursizeValue(), 9.0f);
}

TEST_F(TextStylePanelTest, RefreshFallbacksAndItemsWithoutAStyle)
{
    auto gradient = textItem(QRectF(100, 100, 200, 60), "Gradient");
    gradient->textSource()->setTextFillType(1);
    gradient->textSource()->setTextGradient({});
    auto clear = textItem(QRectF(100, 300, 200, 60), "Clear");
    clear->textSource()->setBackgroundType(1);
    clear->textSource()->setBackgroundColor(Qt::transparent);
    auto image = item(1, QRectF(400, 100, 200, 150));
    openPage({gradient, clear, image});

    TextStylePanel& panel = editStaticText(gradient);
    EXPECT_EQ(panel.fillGradientStartColorWell()->color(), QColor(Qt::red));
    EXPECT_EQ(panel.fillGradientEndColorWell()->color(), QColor(Qt::blue));

    panel.backdropCheckBox()->setChecked(true);  // left over from an earlier item
    editStaticText(clear);
    EXPECT_FALSE(panel.backdropCheckBox()->isChecked());
    EXPECT_FALSE(panel.backdropCategory()->isEnabled());
    EXPECT_FALSE(panel.backFilletSlider()->isEnabled());

    // An image title has no text style: the controls stay as they were.
    select({image});
    panel.updateTextMediaAttributes();
    EXPECT_EQ(panel.textStringField()->text(), "Clear");
}

TEST_F(TextStylePanelTest, FillAndBackdropSwitchesWriteOnlyWhatTheySay)
{
    auto text = textItem(QRectF(100, 100, 200, 60));
    text->textSource()->setTextColor(Qt::green);
    text->textSource()->setTextFillType(1);
    openPage({text});
    TextStylePanel& panel = editStaticText(text);

    panel.fillCategory()->setCurrentIndex(0);
    emit panel.fillCategory()->activated(0);
    EXPECT_EQ(text->textSource()->textFillType(), 0u);
    EXPECT_EQ(text->textSource()->textColor(), QColor(Qt::green));
    EXPECT_FALSE(panel.fillColorWell()->isHidden());
    EXPECT_TRUE(panel.fillImageView()->isHidden());

    panel.backdropColorWell()->setColor(Qt::darkYellow);
    panel.backdropCheckBox()->setChecked(true);
    EXPECT_EQ(text->textSource()->backgroundType(), 1u);
    EXPECT_EQ(text->textSource()->backgroundColor(), QColor(Qt::darkYellow));
    panel.backdropCheckBox()->setChecked(false);
    EXPECT_EQ(text->textSource()->backgroundType(), 0u);
    EXPECT_FALSE(panel.backdropColorWell()->isEnabled());
    panel.backdropCategory()->setCurrentIndex(1);
    panel.backdropCheckBox()->setChecked(true);
    EXPECT_EQ(text->textSource()->backgroundType(), 2u);

    // A picture dropped on the fill well is stored as PNG and switches the
    // fill to its picture.
    QImage dropped(24, 12, QImage::Format_RGB16);
    dropped.fill(Qt::red);
    const int before = titleUndo().count();
    panel.setTextImage(dropped);
    EXPECT_EQ(text->textSource()->textFillType(), 2u);
    EXPECT_EQ(text->textSource()->textImage(),
              ControllerFunctionImages::getNSImageFromErrNSImage(dropped));
    EXPECT_EQ(panel.fillImageView()->image(), text->textSource()->textImage());
    EXPECT_EQ(titleUndo().count(), before + 2);
}

TEST_F(TextStylePanelTest, TextFieldTakesReturnAndTabAndTheDialogsDifferOnUndo)
{
    auto text = textItem(QRectF(100, 100, 200, 60), "Old");
    auto play = item(11, QRectF(600, 40, 80, 40));
    openPage({text, play});
    TextStylePanel& panel = editStaticText(text);

    TextStringField* field = panel.textStringField();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "One");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, "Two");
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::keyClicks(field, "Three");
    field->finishEditing();
    EXPECT_EQ(text->textSource()->textString(), "One\nTwo\tThree");
    EXPECT_EQ(titleUndo().count(), 0) << "the title dialog's text change is not undoable";

    select({play});
    buttonDialog().updateButtonAttributes();
    TextStylePanel& buttonPanel = buttonDialog().textStylePanel();
    QUndoStack& buttonUndo = buttonDialog().undoStack();
    buttonUndo.clear();
    buttonPanel.setTextViewString("Go");
    EXPECT_EQ(play->textSource()->textString(), "Go");
    EXPECT_EQ(buttonUndo.count(), 1);
    buttonUndo.undo();
    EXPECT_EQ(play->textSource()->textString(), "Play");
}

}  // namespace
