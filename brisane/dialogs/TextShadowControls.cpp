#include "dialogs/TextShadowControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "dialogs/ColorWell.h"
#include "dialogs/PanelControls.h"
#include "dialogs/core/ShadowValueRules.h"
#include "model/DVDPageItem.h"

namespace {

// Slider steps per unit of the values kept in fractions.
constexpr int offsetSteps = 10;
constexpr int opacitySteps = 100;

}  // namespace

TextShadowControls::TextShadowControls(MenuEditorAccess editor, QWidget* owner)
    : QObject(owner), editor_(editor)
{
    buildShadowControlView(owner);
    connectControls();
}

void TextShadowControls::buildShadowControlView(QWidget* owner)
{
    shadowControlView_ = new QWidget(owner);
    shadowControlView_->setObjectName(QStringLiteral("shadowControlView"));
    auto* grid = new QGridLayout(shadowControlView_);
    grid->setContentsMargins(8, 4, 8, 4);
    int row = 0;

    shadowCheckBox_ = new QCheckBox(tr("Shadow"), shadowControlView_);
    shadowColorWell_ = new ColorWell(shadowControlView_);
    grid->addWidget(shadowCheckBox_, row, 0, 1, 2);
    grid->addWidget(shadowColorWell_, row++, 2, Qt::AlignRight);

    const auto addRow = [&](const QString& label, QSlider* slider, QLineEdit* field) {
        grid->addWidget(new QLabel(label, shadowControlView_), row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(field, row++, 2);
    };
    shadowAngleSlider_ = PanelControls::makeSlider(0, 360, shadowControlView_);
    shadowAngleField_ = PanelControls::makeField(shadowControlView_);
    addRow(tr("Angle:"), shadowAngleSlider_, shadowAngleField_);
    shadowBlurSlider_ = PanelControls::makeSlider(0, 100, shadowControlView_);
    shadowBlurField_ = PanelControls::makeField(shadowControlView_);
    addRow(tr("Blur:"), shadowBlurSlider_, shadowBlurField_);
    shadowOffsetSlider_ =
        PanelControls::makeSlider(-10 * offsetSteps, 10 * offsetSteps, shadowControlView_);
    shadowOffsetField_ = PanelControls::makeField(shadowControlView_);
    addRow(tr("Distance:"), shadowOffsetSlider_, shadowOffsetField_);
    shadowOpacitySlider_ = PanelControls::makeSlider(0, opacitySteps, shadowControlView_);
    shadowOpacityField_ = PanelControls::makeField(shadowControlView_);
    addRow(tr("Opacity:"), shadowOpacitySlider_, shadowOpacityField_);
}

void TextShadowControls::connectControls()
{
    connect(shadowCheckBox_, &QCheckBox::toggled, this, [this](bool on) {
        hasShadow_ = on;
        hasShadowChangedAction();
    });
    connect(shadowAngleSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowAngleValue_ = value;
        changeShadowAngleUseSlider();
    });
    connect(shadowAngleField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = PanelControls::numberInField(*shadowAngleField_)) {
            shadowAngleValue_ = static_cast<qint64>(std::trunc(*value));
        }
        changeShadowAngleUseField();
    });
    connect(shadowBlurSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowBlursizeValue_ = static_cast<float>(value);
        shadowBlurSizeSliderChangedAction();
    });
    connect(shadowBlurField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = PanelControls::numberInField(*shadowBlurField_)) {
            shadowBlursizeValue_ = static_cast<float>(*value);
        }
        shadowBlurSizeFieldChangedAction();
    });
    connect(shadowOffsetSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowOffset_ = static_cast<float>(value) / offsetSteps;
        shadowOffsetXSliderChanged();
    });
    connect(shadowOffsetField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = PanelControls::numberInField(*shadowOffsetField_)) {
            shadowOffset_ = static_cast<float>(*value);
        }
        shadowOffsetXChangedAction();
    });
    connect(shadowColorWell_, &ColorWell::colorChanged, this, [this](const QColor& colour) {
        shadowColor_ = colour;
        shadowColorChangedAction();
    });
    connect(shadowOpacitySlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowOpacityValue_ = static_cast<float>(value) / opacitySteps;
        changeShadowOpacityUseSlider();
    });
    connect(shadowOpacityField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = PanelControls::numberInField(*shadowOpacityField_)) {
            shadowOpacityValue_ = static_cast<float>(*value);
        }
        changeShadowOpacityUseField();
    });
}

void TextShadowControls::updateShadowAttributes()
{
    const auto item = editor_.currentItem();
    if (!item) {
        return;
    }
    hasShadow_ = item->hasShadow();
    shadowAngleValue_ = item->shadowAngleValue();
    shadowColor_ = item->shadowColor();
    shadowBlursizeValue_ = static_cast<float>(item->shadowBlursizeValue());
    shadowOffset_ = item->shadowOffsetValue();
    shadowOpacityValue_ = static_cast<float>(item->shadowColor().alphaF());
    showShadowValues();
}

void TextShadowControls::showShadowValues()
{
    const QList<QWidget*> controls = {shadowCheckBox_,    shadowAngleSlider_, shadowAngleField_,
                                      shadowBlurSlider_,  shadowBlurField_,   shadowOffsetSlider_,
                                      shadowOffsetField_, shadowColorWell_,   shadowOpacitySlider_,
                                      shadowOpacityField_};
    QList<std::shared_ptr<QSignalBlocker>> blockers;
    for (QWidget* control : controls) {
        blockers.append(std::make_shared<QSignalBlocker>(control));
    }
    shadowCheckBox_->setChecked(hasShadow_);
    shadowAngleSlider_->setValue(static_cast<int>(shadowAngleValue_));
    shadowAngleField_->setText(ShadowValueRules::angleText(shadowAngleValue_));
    shadowBlurSlider_->setValue(static_cast<int>(std::lround(shadowBlursizeValue_)));
    shadowBlurField_->setText(QString::number(shadowBlursizeValue_, 'g', 4));
    shadowOffsetSlider_->setValue(static_cast<int>(std::lround(shadowOffset_ * offsetSteps)));
    shadowOffsetField_->setText(QString::number(shadowOffset_, 'g', 3));
    QColor opaque = shadowColor_;
    opaque.setAlphaF(1.0f);
    shadowColorWell_->setColor(opaque);
    shadowOpacitySlider_->setValue(
        static_cast<int>(std::lround(shadowOpacityValue_ * opacitySteps)));
    shadowOpacityField_->setText(QString::number(shadowOpacityValue_, 'f', 2));
}

void TextShadowControls::setHasShadow(bool on)
{
    hasShadow_ = on;
    showShadowValues();
}

void TextShadowControls::setShadowAngleValue(qint64 degrees)
{
    shadowAngleValue_ = degrees;
    showShadowValues();
}

void TextShadowControls::setShadowBlursizeValue(float value)
{
    shadowBlursizeValue_ = value;
    showShadowValues();
}

void TextShadowControls::setShadowOffset(float value)
{
    shadowOffset_ = value;
    showShadowValues();
}

void TextShadowControls::setShadowOpacityValue(float value)
{
    shadowOpacityValue_ = value;
    showShadowValues();
}

void TextShadowControls::setShadowColor(const QColor& colour)
{
    shadowColor_ = colour;
    showShadowValues();
}

void TextShadowControls::finishShadowChange()
{
    showShadowValues();
    editor_.displayCanvasView();
}

void TextShadowControls::hasShadowChangedAction()
{
    if (const auto item = editor_.currentItem()) {
        item->setHasShadow(hasShadow_);
    }
    finishShadowChange();
}

void TextShadowControls::changeShadowAngleUseSlider()
{
    setShadowAngleValueString();
}

void TextShadowControls::changeShadowAngleUseField()
{
    setShadowAngleValueString();
}

void TextShadowControls::setShadowAngleValueString()
{
    shadowAngleValue_ = ShadowValueRules::clampAngle(shadowAngleValue_);
    if (const auto item = editor_.currentItem()) {
        item->setShadowAngleValue(shadowAngleValue_);
    }
    finishShadowChange();
}

void TextShadowControls::shadowBlurSizeSliderChangedAction()
{
    if (const auto item = editor_.currentItem()) {
        item->setShadowBlursizeValue(ShadowValueRules::blurOnItem(shadowBlursizeValue_));
    }
    finishShadowChange();
}

void TextShadowControls::shadowBlurSizeFieldChangedAction()
{
    shadowBlursizeValue_ = ShadowValueRules::clampBlur(shadowBlursizeValue_);
    shadowBlurSizeSliderChangedAction();
}

void TextShadowControls::shadowOffsetXSliderChanged()
{
    if (const auto item = editor_.currentItem()) {
        item->setShadowOffsetValue(shadowOffset_);
    }
    finishShadowChange();
}

void TextShadowControls::shadowOffsetXChangedAction()
{
    shadowOffset_ = ShadowValueRules::clampOffset(shadowOffset_);
    shadowOffsetXSliderChanged();
}

void TextShadowControls::shadowColorChangedAction()
{
    if (const auto item = editor_.currentItem()) {
        item->setShadowColor(shadowColor_);
    }
    shadowOpacityValue_ = 1.0f;
    finishShadowChange();
}

void TextShadowControls::changeShadowOpacityUseSlider()
{
    setShadowOpacityValueString();
}

void TextShadowControls::changeShadowOpacityUseField()
{
    setShadowOpacityValueString();
}

void TextShadowControls::setShadowOpacityValueString()
{
    shadowOpacityValue_ = ShadowValueRules::clampOpacity(shadowOpacityValue_);
    if (const auto item = editor_.currentItem()) {
        item->setShadowColor(ShadowValueRules::colorWithOpacity(shadowColor_, shadowOpacityValue_));
    }
    finishShadowChange();
}
