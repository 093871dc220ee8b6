#pragma once
// The text style panel that the title dialog and the button dialog both
// carry for the item they edit: the text itself, font and size, fill (solid
// colour, gradient or picture), outline, backdrop (solid colour or picture,
// with rounded corners), and the item's drop shadow. One panel per dialog,
// owned by it; its two views (the style controls and the shadow controls) are
// placed by the dialog and may move between its windows.
//
// Every change is written at once: text attributes into the item's styled
// text through the undoable operations (one undo step per call on the
// dialog's stack), shadow values into the item itself, without undo (the
// shadow controls are TextShadowControls; the panel forwards to them). Each
// action reads the panel value, which its control has set just before.
// Filling the controls from an item (updateTextMediaAttributes,
// updateShadowAttributes) runs with every control's signals blocked: it
// writes nothing into the model, pushes nothing and redraws nothing.
//
// The two hosts differ in two points. The title dialog writes a typed text
// straight into the item's text (no undo step) and fills the panel from items
// that are text items; the button dialog sends the typed text through the
// undoable operation and fills the panel from items that have a text.
//
// The edited item is the menu editor's current item, asked for at each call;
// the panel keeps no reference to it. Main thread.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "dialogs/TextShadowControls.h"
#include "dialogs/TextStyleOperations.h"

class ColorWell;
class DVDPageItem;
class EffectTextImage;
class ImageWell;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QUndoStack;
class QWidget;
class TextStringField;

class TextStylePanel : public QObject {
    Q_OBJECT
public:
    enum class Host { Title, Button };

    // Builds both views as children of `owner` (the dialog's window, where the
    // open panels attach). `stack` is the dialog's undo stack; it must outlive
    // the panel. `editor` gives the edited item and redisplays the canvas.
    TextStylePanel(Host host, QUndoStack& stack, MenuEditorAccess editor, QWidget* owner);
    ~TextStylePanel() override;

    // Sets the controls up: every font of the system, size 50, the fill kinds
    // with "Gradient" chosen, the outline off at 20, the backdrop off with
    // "Solid Color" chosen and fillet 0.3. Runs the fill, outline and backdrop
    // actions, which write into the current item's text if there is one.
    void setUp();

    // Fills the style controls from the current item's text, when the item is
    // a text item (title host) or has a text (button host); otherwise changes
    // nothing.
    void updateTextMediaAttributes();
    // Fills the shadow controls from the current item, if any.
    void updateShadowAttributes();

    QWidget* textEditView() const { return textEditView_; }
    QWidget* shadowControlView() const { return shadow_->shadowControlView(); }
    TextShadowControls& shadowControls() const { return *shadow_; }

    std::shared_ptr<DVDPageItem> currentMedia() const;
    // The current item's styled text; null without an item or text.
    std::shared_ptr<EffectTextImage> textView() const;
    TextStyleOperations& operations() { return operations_; }
    QUndoStack& undoer() const { return operations_.undoer(); }

    // Ends a text edit in progress (a closing window does this first).
    void finishEditing();

    // --- Panel values ---
    float fontSizeSliderValue() const { return fontSizeSliderValue_; }
    void setFontSizeSliderValue(float value);
    // Lists the faces of `family` and selects `face` (signals blocked).
    void showFaces(const QString& family, const QString& face);
    float outlineSliderValue() const { return outlineSliderValue_; }
    void setOutlineSliderValue(float value);
    float backFilletSliderValue() const { return backFilletSliderValue_; }
    void setBackFilletSliderValue(float value);
    bool hasShadow() const { return shadow_->hasShadow(); }
    void setHasShadow(bool on) { shadow_->setHasShadow(on); }
    qint64 shadowAngleValue() const { return shadow_->shadowAngleValue(); }
    void setShadowAngleValue(qint64 degrees) { shadow_->setShadowAngleValue(degrees); }
    float shadowBlursizeValue() const { return shadow_->shadowBlursizeValue(); }
    void setShadowBlursizeValue(float value) { shadow_->setShadowBlursizeValue(value); }
    float shadowOffset() const { return shadow_->shadowOffset(); }
    void setShadowOffset(float value) { shadow_->setShadowOffset(value); }
    float shadowOpacityValue() const { return shadow_->shadowOpacityValue(); }
    void setShadowOpacityValue(float value) { shadow_->setShadowOpacityValue(value); }
    QColor shadowColor() const { return shadow_->shadowColor(); }
    void setShadowColor(const QColor& colour) { shadow_->setShadowColor(colour); }
    // A copy of the text's string; setting it writes the text (see the class
    // comment for the two hosts). An absent text is written as "".
    QString textViewString() const;
    void setTextViewString(const QString& string);
    // The text's fill and backdrop pictures. Setting one (a picture dropped
    // on a well) normalises it to PNG, switches the fill or backdrop to its
    // picture kind and stores it, undoably.
    QImage textImage() const;
    void setTextImage(const QImage& image);
    QImage textBackgroundImage() const;
    void setTextBackgroundImage(const QImage& image);

    // --- Actions of the style controls ---
    // The family, the face and the size each change only themselves: a bold
    // or italic text stays so in another family or size.
    void fontSelectAction();
    void faceSelectAction();
    void sizeSelectAction();
    void fillCategoryChangeAction();
    void changeFillColorAction();
    void fillGradientStartColorAction();
    void fillGradientEndColorAction();
    void setTextViewGradient();
    void chooseFillImageAction();
    void checkOutlineAction();
    void changeOutlineWidthAction();
    void changeOutlineColorAction();
    void checkBackdropAction();
    void backdropCategoryChangeAction();
    void backdropColorChangeAction();
    void backdropChooseImageAction();
    void backFilletSliderAction();
    // The confirmed choice of the fill or backdrop open panel.
    void loadFillImageFromPath(const QString& path);
    void loadBackdropImageFromPath(const QString& path);
    // Shows the text's fill and backdrop pictures in the wells.
    void flushTextImage();

    // --- Actions of the shadow controls (no undo) ---
    void hasShadowChangedAction() { shadow_->hasShadowChangedAction(); }
    void changeShadowAngleUseSlider() { shadow_->changeShadowAngleUseSlider(); }
    void changeShadowAngleUseField() { shadow_->changeShadowAngleUseField(); }
    void setShadowAngleValueString() { shadow_->setShadowAngleValueString(); }
    void shadowBlurSizeSliderChangedAction() { shadow_->shadowBlurSizeSliderChangedAction(); }
    void shadowBlurSizeFieldChangedAction() { shadow_->shadowBlurSizeFieldChangedAction(); }
    void shadowOffsetXSliderChanged() { shadow_->shadowOffsetXSliderChanged(); }
    void shadowOffsetXChangedAction() { shadow_->shadowOffsetXChangedAction(); }
    void shadowColorChangedAction() { shadow_->shadowColorChangedAction(); }
    void changeShadowOpacityUseSlider() { shadow_->changeShadowOpacityUseSlider(); }
    void changeShadowOpacityUseField() { shadow_->changeShadowOpacityUseField(); }
    void setShadowOpacityValueString() { shadow_->setShadowOpacityValueString(); }

    // --- Controls ---
    TextStringField* textStringField() const { return textStringField_; }
    QFontComboBox* fontButton() const { return fontButton_; }
    // The faces of the chosen family.
    QComboBox* faceButton() const { return faceButton_; }
    QSlider* sizeSlider() const { return sizeSlider_; }
    QComboBox* fillCategory() const { return fillCategory_; }
    ColorWell* fillColorWell() const { return fillColorWell_; }
    ImageWell* fillImageView() const { return fillImageView_; }
    QPushButton* fillChooseImageButton() const { return fillChooseImageButton_; }
    QLabel* startColorLabel() const { return startColorLabel_; }
    QLabel* endColorLabel() const { return endColorLabel_; }
    ColorWell* fillGradientStartColorWell() const { return fillGradientStartColorWell_; }
    ColorWell* fillGradientEndColorWell() const { return fillGradientEndColorWell_; }
    QCheckBox* outlineCheckBox() const { return outlineCheckBox_; }
    QSlider* outlineSlider() const { return outlineSlider_; }
    ColorWell* outlineColorWell() const { return outlineColorWell_; }
    QCheckBox* backdropCheckBox() const { return backdropCheckBox_; }
    QComboBox* backdropCategory() const { return backdropCategory_; }
    ImageWell* backdropImageView() const { return backdropImageView_; }
    ColorWell* backdropColorWell() const { return backdropColorWell_; }
    QPushButton* backdropChooseButton() const { return backdropChooseButton_; }
    QSlider* backFilletSlider() const { return backFilletSlider_; }
    QCheckBox* shadowCheckBox() const { return shadow_->shadowCheckBox(); }
    QSlider* shadowAngleSlider() const { return shadow_->shadowAngleSlider(); }
    QLineEdit* shadowAngleField() const { return shadow_->shadowAngleField(); }
    QSlider* shadowBlurSlider() const { return shadow_->shadowBlurSlider(); }
    QLineEdit* shadowBlurField() const { return shadow_->shadowBlurField(); }
    QSlider* shadowOffsetSlider() const { return shadow_->shadowOffsetSlider(); }
    QLineEdit* shadowOffsetField() const { return shadow_->shadowOffsetField(); }
    ColorWell* shadowColorWell() const { return shadow_->shadowColorWell(); }
    QSlider* shadowOpacitySlider() const { return shadow_->shadowOpacitySlider(); }
    QLineEdit* shadowOpacityField() const { return shadow_->shadowOpacityField(); }

private:
    void buildTextEditView(QWidget* owner);
    void connectControls();
    bool hasTextStyle(const DVDPageItem& item) const;
    void showFillKind(int index);
    void showBackdropKind(int index);
    void applyOutlineEnable();
    void applyBackdropEnable();
    void openImagePanel(const std::function<void(const QString&)>& chosen);

    Host host_;
    MenuEditorAccess editor_;
    TextStyleOperations operations_;
    QWidget* owner_ = nullptr;
    TextShadowControls* shadow_ = nullptr;  // a child

    float fontSizeSliderValue_ = 50.0f;
    float outlineSliderValue_ = 20.0f;
    float backFilletSliderValue_ = 0.3f;

    QWidget* textEditView_ = nullptr;
    TextStringField* textStringField_ = nullptr;
    QFontComboBox* fontButton_ = nullptr;
    QComboBox* faceButton_ = nullptr;
    QSlider* sizeSlider_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QComboBox* fillCategory_ = nullptr;
    ColorWell* fillColorWell_ = nullptr;
    ImageWell* fillImageView_ = nullptr;
    QPushButton* fillChooseImageButton_ = nullptr;
    QLabel* startColorLabel_ = nullptr;
    QLabel* endColorLabel_ = nullptr;
    ColorWell* fillGradientStartColorWell_ = nullptr;
    ColorWell* fillGradientEndColorWell_ = nullptr;
    QCheckBox* outlineCheckBox_ = nullptr;
    QSlider* outlineSlider_ = nullptr;
    ColorWell* outlineColorWell_ = nullptr;
    QCheckBox* backdropCheckBox_ = nullptr;
    QComboBox* backdropCategory_ = nullptr;
    ImageWell* backdropImageView_ = nullptr;
    ColorWell* backdropColorWell_ = nullptr;
    QPushButton* backdropChooseButton_ = nullptr;
    QSlider* backFilletSlider_ = nullptr;
};
