#pragma once
// The drop shadow controls of the text style panel: shadow on or off, its
// angle, blur, distance, colour and opacity, each a slider and a field where
// it has a number, in a view of their own that the dialog places. Every change
// is written at once into the edited item itself, without undo, and the menu
// canvas redisplayed; the values are held to their ranges (ShadowValueRules).
// Filling the controls from an item (updateShadowAttributes) runs with their
// signals blocked and writes nothing back.
//
// The edited item is the menu editor's current item, asked for at each call.
// Made and owned by the text style panel. Main thread.

#include <QColor>
#include <QObject>

#include "dialogs/MenuEditorAccess.h"

class ColorWell;
class QCheckBox;
class QLineEdit;
class QSlider;
class QWidget;

class TextShadowControls : public QObject {
    Q_OBJECT
public:
    // Builds the view as a child of `owner`.
    TextShadowControls(MenuEditorAccess editor, QWidget* owner);

    QWidget* shadowControlView() const { return shadowControlView_; }
    // Fills the controls from the current item, if any.
    void updateShadowAttributes();

    // --- Values ---
    bool hasShadow() const { return hasShadow_; }
    void setHasShadow(bool on);
    qint64 shadowAngleValue() const { return shadowAngleValue_; }
    void setShadowAngleValue(qint64 degrees);
    float shadowBlursizeValue() const { return shadowBlursizeValue_; }
    void setShadowBlursizeValue(float value);
    float shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(float value);
    float shadowOpacityValue() const { return shadowOpacityValue_; }
    void setShadowOpacityValue(float value);
    QColor shadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor& colour);

    // --- Actions ---
    void hasShadowChangedAction();
    void changeShadowAngleUseSlider();
    void changeShadowAngleUseField();
    void setShadowAngleValueString();
    void shadowBlurSizeSliderChangedAction();
    void shadowBlurSizeFieldChangedAction();
    void shadowOffsetXSliderChanged();
    void shadowOffsetXChangedAction();
    void shadowColorChangedAction();
    void changeShadowOpacityUseSlider();
    void changeShadowOpacityUseField();
    void setShadowOpacityValueString();

    // --- Controls ---
    QCheckBox* shadowCheckBox() const { return shadowCheckBox_; }
    QSlider* shadowAngleSlider() const { return shadowAngleSlider_; }
    QLineEdit* shadowAngleField() const { return shadowAngleField_; }
    QSlider* shadowBlurSlider() const { return shadowBlurSlider_; }
    QLineEdit* shadowBlurField() const { return shadowBlurField_; }
    QSlider* shadowOffsetSlider() const { return shadowOffsetSlider_; }
    QLineEdit* shadowOffsetField() const { return shadowOffsetField_; }
    ColorWell* shadowColorWell() const { return shadowColorWell_; }
    QSlider* shadowOpacitySlider() const { return shadowOpacitySlider_; }
    QLineEdit* shadowOpacityField() const { return shadowOpacityField_; }

private:
    void buildShadowControlView(QWidget* owner);
    void connectControls();
    void showShadowValues();
    void finishShadowChange();

    MenuEditorAccess editor_;
    bool hasShadow_ = false;
    qint64 shadowAngleValue_ = 0;
    float shadowBlursizeValue_ = 0.0f;
    float shadowOffset_ = 0.0f;
    float shadowOpacityValue_ = 1.0f;
    QColor shadowColor_ = Qt::black;

    QWidget* shadowControlView_ = nullptr;
    QCheckBox* shadowCheckBox_ = nullptr;
    QSlider* shadowAngleSlider_ = nullptr;
    QLineEdit* shadowAngleField_ = nullptr;
    QSlider* shadowBlurSlider_ = nullptr;
    QLineEdit* shadowBlurField_ = nullptr;
    QSlider* shadowOffsetSlider_ = nullptr;
    QLineEdit* shadowOffsetField_ = nullptr;
    ColorWell* shadowColorWell_ = nullptr;
    QSlider* shadowOpacitySlider_ = nullptr;
    QLineEdit* shadowOpacityField_ = nullptr;
};
