#include "dialogs/TextStylePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QUndoStack>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "common/ControllerFunctionImages.h"
#include "dialogs/ColorWell.h"
#include "dialogs/FontNameDelegate.h"
#include "dialogs/ImageOpenPanel.h"
#include "dialogs/ImageWell.h"
#include "dialogs/TextStringField.h"
#include "dialogs/core/FontFaces.h"
#include "dialogs/core/ShadowValueRules.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"

namespace {

// Slider steps per unit of the values kept in fractions.
constexpr int filletSteps = 100;
constexpr int offsetSteps = 10;
constexpr int opacitySteps = 100;

QSlider* makeSlider(int minimum, int maximum, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setMinimumWidth(120);
    return slider;
}

QLineEdit* makeField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setFixedWidth(56);
    field->setAlignment(Qt::AlignRight);
    return field;
}

// The number at the start of a field's text ("45°" gives 45); none when the
// text does not start with one.
std::optional<double> numberInField(const QLineEdit& field)
{
    QString text = field.text().trimmed();
    while (!text.isEmpty() && !text.back().isDigit()) {
        text.chop(1);
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void setSliderQuietly(QSlider* slider, double value)
{
    const QSignalBlocker blocker(slider);
    slider->setValue(static_cast<int>(std::lround(value)));
}

}  // namespace

TextStylePanel::TextStylePanel(Host host, QUndoStack& stack, MenuEditorAccess editor,
                               QWidget* owner)
    : QObject(owner), host_(host), editor_(editor), operations_(stack, editor), owner_(owner)
{
    buildTextEditView(owner);
    buildShadowControlView(owner);
    connectControls();
}

TextStylePanel::~TextStylePanel() = default;

// ---- building

void TextStylePanel::buildTextEditView(QWidget* owner)
{
    textEditView_ = new QWidget(owner);
    textEditView_->setObjectName(QStringLiteral("textEditView"));
    auto* grid = new QGridLayout(textEditView_);
    grid->setContentsMargins(8, 8, 8, 8);
    int row = 0;

    textStringField_ = new TextStringField(textEditView_);
    grid->addWidget(new QLabel(tr("Text:"), textEditView_), row, 0, Qt::AlignTop);
    grid->addWidget(textStringField_, row++, 1, 1, 6);

    fontButton_ = new QFontComboBox(textEditView_);
    fontButton_->view()->setItemDelegate(new FontNameDelegate(fontButton_));
    faceButton_ = new QComboBox(textEditView_);
    faceButton_->setObjectName(QStringLiteral("faceButton"));
    faceButton_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(new QLabel(tr("Font:"), textEditView_), row, 0);
    grid->addWidget(fontButton_, row, 1, 1, 4);
    grid->addWidget(faceButton_, row++, 5, 1, 2);

    sizeSlider_ = makeSlider(8, 200, textEditView_);
    sizeLabel_ = new QLabel(textEditView_);
    grid->addWidget(new QLabel(tr("Size:"), textEditView_), row, 0);
    grid->addWidget(sizeSlider_, row, 1, 1, 5);
    grid->addWidget(sizeLabel_, row++, 6);

    fillCategory_ = new QComboBox(textEditView_);
    fillColorWell_ = new ColorWell(textEditView_);
    fillImageView_ = new ImageWell(textEditView_);
    fillChooseImageButton_ = new QPushButton(tr("Choose..."), textEditView_);
    startColorLabel_ = new QLabel(tr("Start"), textEditView_);
    endColorLabel_ = new QLabel(tr("End"), textEditView_);
    fillGradientStartColorWell_ = new ColorWell(textEditView_);
    fillGradientEndColorWell_ = new ColorWell(textEditView_);
    fillColorWell_->setColor(Qt::white);
    fillGradientStartColorWell_->setColor(Qt::red);
    fillGradientEndColorWell_->setColor(Qt::blue);
    auto* fillRow = new QHBoxLayout;
    fillRow->addWidget(fillColorWell_);
    fillRow->addWidget(startColorLabel_);
    fillRow->addWidget(fillGradientStartColorWell_);
    fillRow->addWidget(endColorLabel_);
    fillRow->addWidget(fillGradientEndColorWell_);
    fillRow->addWidget(fillImageView_);
    fillRow->addWidget(fillChooseImageButton_);
    fillRow->addStretch(1);
    grid->addWidget(new QLabel(tr("Fill:"), textEditView_), row, 0);
    grid->addWidget(fillCategory_, row, 1, 1, 2);
    grid->addLayout(fillRow, row++, 3, 1, 4);

    outlineCheckBox_ = new QCheckBox(tr("Outline"), textEditView_);
    outlineSlider_ = makeSlider(0, 100, textEditView_);
    outlineColorWell_ = new ColorWell(textEditView_);
    outlineColorWell_->setColor(Qt::black);
    grid->addWidget(outlineCheckBox_, row, 0, 1, 2);
    grid->addWidget(outlineSlider_, row, 2, 1, 4);
    grid->addWidget(outlineColorWell_, row++, 6);

    backdropCheckBox_ = new QCheckBox(tr("Backdrop"), textEditView_);
    backdropCategory_ = new QComboBox(textEditView_);
    backdropColorWell_ = new ColorWell(textEditView_);
    backdropImageView_ = new ImageWell(textEditView_);
    backdropChooseButton_ = new QPushButton(tr("Choose..."), textEditView_);
    backdropColorWell_->setColor(QColor(60, 60, 60));
    auto* backdropRow = new QHBoxLayout;
    backdropRow->addWidget(backdropColorWell_);
    backdropRow->addWidget(backdropImageView_);
    backdropRow->addWidget(backdropChooseButton_);
    backdropRow->addStretch(1);
    grid->addWidget(backdropCheckBox_, row, 0, 1, 1);
    grid->addWidget(backdropCategory_, row, 1, 1, 2);
    grid->addLayout(backdropRow, row++, 3, 1, 4);

    backFilletSlider_ = makeSlider(0, filletSteps, textEditView_);
    grid->addWidget(new QLabel(tr("Rounding:"), textEditView_), row, 0);
    grid->addWidget(backFilletSlider_, row++, 1, 1, 6);
    grid->setRowStretch(row, 1);
}

void TextStylePanel::buildShadowControlView(QWidget* owner)
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
    shadowAngleSlider_ = makeSlider(0, 360, shadowControlView_);
    shadowAngleField_ = makeField(shadowControlView_);
    addRow(tr("Angle:"), shadowAngleSlider_, shadowAngleField_);
    shadowBlurSlider_ = makeSlider(0, 100, shadowControlView_);
    shadowBlurField_ = makeField(shadowControlView_);
    addRow(tr("Blur:"), shadowBlurSlider_, shadowBlurField_);
    shadowOffsetSlider_ = makeSlider(-10 * offsetSteps, 10 * offsetSteps, shadowControlView_);
    shadowOffsetField_ = makeField(shadowControlView_);
    addRow(tr("Distance:"), shadowOffsetSlider_, shadowOffsetField_);
    shadowOpacitySlider_ = makeSlider(0, opacitySteps, shadowControlView_);
    shadowOpacityField_ = makeField(shadowControlView_);
    addRow(tr("Opacity:"), shadowOpacitySlider_, shadowOpacityField_);
}

void TextStylePanel::connectControls()
{
    connect(textStringField_, &TextStringField::editingFinished, this,
            [this](const QString& text) { setTextViewString(text); });
    connect(fontButton_, &QComboBox::activated, this, [this] { fontSelectAction(); });
    connect(faceButton_, &QComboBox::activated, this, [this] { faceSelectAction(); });
    connect(sizeSlider_, &QSlider::valueChanged, this, [this](int value) {
        fontSizeSliderValue_ = static_cast<float>(value);
        sizeLabel_->setText(QString::number(value));
        sizeSelectAction();
    });
    connect(fillCategory_, &QComboBox::activated, this, [this] { fillCategoryChangeAction(); });
    connect(fillColorWell_, &ColorWell::colorChanged, this, [this] { changeFillColorAction(); });
    connect(fillGradientStartColorWell_, &ColorWell::colorChanged, this,
            [this] { fillGradientStartColorAction(); });
    connect(fillGradientEndColorWell_, &ColorWell::colorChanged, this,
            [this] { fillGradientEndColorAction(); });
    connect(fillChooseImageButton_, &QPushButton::clicked, this,
            [this] { chooseFillImageAction(); });
    connect(fillImageView_, &ImageWell::imageDropped, this,
            [this](const QImage& image) { setTextImage(image); });
    connect(outlineCheckBox_, &QCheckBox::toggled, this, [this] { checkOutlineAction(); });
    connect(outlineSlider_, &QSlider::valueChanged, this, [this](int value) {
        outlineSliderValue_ = static_cast<float>(value);
        changeOutlineWidthAction();
    });
    connect(outlineColorWell_, &ColorWell::colorChanged, this,
            [this] { changeOutlineColorAction(); });
    connect(backdropCheckBox_, &QCheckBox::toggled, this, [this] { checkBackdropAction(); });
    connect(backdropCategory_, &QComboBox::activated, this,
            [this] { backdropCategoryChangeAction(); });
    connect(backdropColorWell_, &ColorWell::colorChanged, this,
            [this] { backdropColorChangeAction(); });
    connect(backdropChooseButton_, &QPushButton::clicked, this,
            [this] { backdropChooseImageAction(); });
    connect(backdropImageView_, &ImageWell::imageDropped, this,
            [this](const QImage& image) { setTextBackgroundImage(image); });
    connect(backFilletSlider_, &QSlider::valueChanged, this, [this](int value) {
        backFilletSliderValue_ = static_cast<float>(value) / filletSteps;
        backFilletSliderAction();
    });

    connect(shadowCheckBox_, &QCheckBox::toggled, this, [this](bool on) {
        hasShadow_ = on;
        hasShadowChangedAction();
    });
    connect(shadowAngleSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowAngleValue_ = value;
        changeShadowAngleUseSlider();
    });
    connect(shadowAngleField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = numberInField(*shadowAngleField_)) {
            shadowAngleValue_ = static_cast<qint64>(std::trunc(*value));
        }
        changeShadowAngleUseField();
    });
    connect(shadowBlurSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowBlursizeValue_ = static_cast<float>(value);
        shadowBlurSizeSliderChangedAction();
    });
    connect(shadowBlurField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = numberInField(*shadowBlurField_)) {
            shadowBlursizeValue_ = static_cast<float>(*value);
        }
        shadowBlurSizeFieldChangedAction();
    });
    connect(shadowOffsetSlider_, &QSlider::valueChanged, this, [this](int value) {
        shadowOffset_ = static_cast<float>(value) / offsetSteps;
        shadowOffsetXSliderChanged();
    });
    connect(shadowOffsetField_, &QLineEdit::editingFinished, this, [this] {
        if (const auto value = numberInField(*shadowOffsetField_)) {
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
        if (const auto value = numberInField(*shadowOpacityField_)) {
            shadowOpacityValue_ = static_cast<float>(*value);
        }
        changeShadowOpacityUseField();
    });
}

// ---- set-up and refresh

void TextStylePanel::setUp()
{
    {
        const QSignalBlocker blocker(fontButton_);
        fontButton_->setCurrentIndex(0);
    }
    showFaces(fontButton_->currentFont().family(), QString());
    setFontSizeSliderValue(50.0f);

    {
        const QSignalBlocker blocker(fillCategory_);
        fillCategory_->clear();
        fillCategory_->addItems(
            {QStringLiteral("Solid Color"), QStringLiteral("Gradient"), QStringLiteral("Image")});
        fillCategory_->setCurrentIndex(1);
    }
    fillCategoryChangeAction();

    {
        const QSignalBlocker blocker(outlineCheckBox_);
        outlineCheckBox_->setChecked(false);
    }
    setOutlineSliderValue(20.0f);
    checkOutlineAction();

    {
        const QSignalBlocker blocker(backdropCheckBox_);
        backdropCheckBox_->setChecked(false);
        const QSignalBlocker categoryBlocker(backdropCategory_);
        backdropCategory_->clear();
        backdropCategory_->addItems({QStringLiteral("Solid Color"), QStringLiteral("Image Fill")});
        backdropCategory_->setCurrentIndex(0);
    }
    setBackFilletSliderValue(0.3f);
    checkBackdropAction();
}

bool TextStylePanel::hasTextStyle(const DVDPageItem& item) const
{
    return host_ == Host::Title ? item.isTextItem() : item.textSource() != nullptr;
}

void TextStylePanel::updateTextMediaAttributes()
{
    const auto item = currentMedia();
    if (!item || !hasTextStyle(*item) || !item->textSource()) {
        return;
    }
    const std::shared_ptr<EffectTextImage> text = item->textSource();
    const QList<QWidget*> controls = {textStringField_,
                                      fontButton_,
                                      faceButton_,
                                      sizeSlider_,
                                      fillCategory_,
                                      fillColorWell_,
                                      fillImageView_,
                                      fillGradientStartColorWell_,
                                      fillGradientEndColorWell_,
                                      outlineCheckBox_,
                                      outlineSlider_,
                                      outlineColorWell_,
                                      backdropCheckBox_,
                                      backdropCategory_,
                                      backdropImageView_,
                                      backdropColorWell_,
                                      backFilletSlider_};
    QList<std::shared_ptr<QSignalBlocker>> blockers;
    for (QWidget* control : controls) {
        blockers.append(std::make_shared<QSignalBlocker>(control));
    }

    textStringField_->setText(text->textString());

    fontButton_->setCurrentFont(QFont(text->textFont().family()));
    showFaces(text->textFont().family(), FontFaces::faceOf(text->textFont()));
    setFontSizeSliderValue(static_cast<float>(text->textFont().pointSizeF()));

    const quint64 fill = text->textFillType();
    if (fill == 2) {
        showFillKind(2);
        fillCategory_->setCurrentIndex(2);
        fillImageView_->setImage(text->textImage());
    } else if (fill == 1) {
        showFillKind(1);
        fillCategory_->setCurrentIndex(1);
        const QGradientStops stops = text->textGradient();
        fillGradientStartColorWell_->setColor(stops.size() > 0 ? stops.at(0).second
                                                               : QColor(Qt::red));
        fillGradientEndColorWell_->setColor(stops.size() > 1 ? stops.at(1).second
                                                             : QColor(Qt::blue));
    } else {
        showFillKind(0);
        fillCategory_->setCurrentIndex(0);
        fillColorWell_->setColor(text->textColor());
    }

    flushTextImage();

    outlineCheckBox_->setChecked(text->hasOutline());
    if (text->hasOutline()) {
        setOutlineSliderValue(text->outlineWidth());
        outlineColorWell_->setColor(text->textOutlineColor());
    }
    applyOutlineEnable();

    setBackFilletSliderValue(text->backgroundRadius());

    const quint64 backdrop = text->backgroundType();
    if (backdrop == 2) {
        showBackdropKind(1);
        backdropCheckBox_->setChecked(true);
        backdropCategory_->setCurrentIndex(1);
        backdropImageView_->setImage(text->backgroundImage());
    } else if (backdrop == 1 && text->backgroundColor() == QColor(Qt::transparent)) {
        backdropCheckBox_->setChecked(false);
    } else if (backdrop == 1) {
        showBackdropKind(0);
        backdropCategory_->setCurrentIndex(0);
        backdropCheckBox_->setChecked(true);
        backdropColorWell_->setColor(text->backgroundColor());
    } else if (backdrop == 0) {
        backdropCheckBox_->setChecked(false);
        showBackdropKind(0);
        backdropCategory_->setCurrentIndex(0);
    }
    applyBackdropEnable();

    fillCategory_->setEnabled(true);
}

void TextStylePanel::updateShadowAttributes()
{
    const auto item = currentMedia();
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

void TextStylePanel::showShadowValues()
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

void TextStylePanel::showFillKind(int index)
{
    fillColorWell_->setVisible(index == 0);
    fillImageView_->setVisible(index == 2);
    fillChooseImageButton_->setVisible(index == 2);
    const bool gradient = index != 0 && index != 2;
    fillGradientStartColorWell_->setVisible(gradient);
    fillGradientEndColorWell_->setVisible(gradient);
    startColorLabel_->setVisible(gradient);
    endColorLabel_->setVisible(gradient);
}

void TextStylePanel::showBackdropKind(int index)
{
    backdropColorWell_->setVisible(index == 0);
    backdropImageView_->setVisible(index != 0);
    backdropChooseButton_->setVisible(index != 0);
}

void TextStylePanel::applyOutlineEnable()
{
    const bool on = outlineCheckBox_->isChecked();
    outlineSlider_->setEnabled(on);
    outlineColorWell_->setEnabled(on);
}

void TextStylePanel::applyBackdropEnable()
{
    const bool on = backdropCheckBox_->isChecked();
    for (QWidget* control :
         QList<QWidget*>{backdropCategory_, backdropImageView_, backdropColorWell_,
                         backdropChooseButton_, backFilletSlider_}) {
        control->setEnabled(on);
    }
}

// ---- the edited item

std::shared_ptr<DVDPageItem> TextStylePanel::currentMedia() const
{
    return editor_.currentItem();
}

std::shared_ptr<EffectTextImage> TextStylePanel::textView() const
{
    const auto item = currentMedia();
    return item ? item->textSource() : nullptr;
}

void TextStylePanel::finishEditing()
{
    textStringField_->finishEditing();
}

// ---- panel values

void TextStylePanel::setFontSizeSliderValue(float value)
{
    fontSizeSliderValue_ = value;
    setSliderQuietly(sizeSlider_, value);
    sizeLabel_->setText(QString::number(static_cast<double>(value)));
}

void TextStylePanel::showFaces(const QString& family, const QString& face)
{
    const QSignalBlocker blocker(faceButton_);
    faceButton_->clear();
    faceButton_->addItems(FontFaces::faces(family));
    faceButton_->setCurrentIndex(std::max(0, faceButton_->findText(face)));
    faceButton_->setEnabled(faceButton_->count() > 1);
}

void TextStylePanel::setOutlineSliderValue(float value)
{
    outlineSliderValue_ = value;
    setSliderQuietly(outlineSlider_, value);
}

void TextStylePanel::setBackFilletSliderValue(float value)
{
    backFilletSliderValue_ = value;
    setSliderQuietly(backFilletSlider_, static_cast<double>(value) * filletSteps);
}

void TextStylePanel::setHasShadow(bool on)
{
    hasShadow_ = on;
    showShadowValues();
}

void TextStylePanel::setShadowAngleValue(qint64 degrees)
{
    shadowAngleValue_ = degrees;
    showShadowValues();
}

void TextStylePanel::setShadowBlursizeValue(float value)
{
    shadowBlursizeValue_ = value;
    showShadowValues();
}

void TextStylePanel::setShadowOffset(float value)
{
    shadowOffset_ = value;
    showShadowValues();
}

void TextStylePanel::setShadowOpacityValue(float value)
{
    shadowOpacityValue_ = value;
    showShadowValues();
}

void TextStylePanel::setShadowColor(const QColor& colour)
{
    shadowColor_ = colour;
    showShadowValues();
}

QString TextStylePanel::textViewString() const
{
    const auto text = textView();
    return text ? text->textString() : QString();
}

void TextStylePanel::setTextViewString(const QString& string)
{
    const auto text = textView();
    if (!text) {
        return;
    }
    const QString value = string.isNull() ? QStringLiteral("") : string;
    if (host_ == Host::Button) {
        operations_.textViewString(text, value);
        return;
    }
    text->setTextString(value);
    EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
}

QImage TextStylePanel::textImage() const
{
    const auto text = textView();
    return text ? text->textImage() : QImage();
}

void TextStylePanel::setTextImage(const QImage& image)
{
    const QImage normal = ControllerFunctionImages::getNSImageFromErrNSImage(image);
    operations_.textViewTextFillType(textView(), 2);
    operations_.textViewTextImage(textView(), normal);
    flushTextImage();
}

QImage TextStylePanel::textBackgroundImage() const
{
    const auto text = textView();
    return text ? text->backgroundImage() : QImage();
}

void TextStylePanel::setTextBackgroundImage(const QImage& image)
{
    const QImage normal = ControllerFunctionImages::getNSImageFromErrNSImage(image);
    operations_.textViewBackgroundType(textView(), 2);
    operations_.textViewBackgroundImage(textView(), normal);
    flushTextImage();
}

void TextStylePanel::flushTextImage()
{
    fillImageView_->setImage(textImage());
    backdropImageView_->setImage(textBackgroundImage());
}

// ---- style actions

void TextStylePanel::fontSelectAction()
{
    const auto text = textView();
    const QString family = fontButton_->currentFont().family();
    QFont font = text ? FontFaces::withFamily(text->textFont(), family)
                      : FontFaces::font(family, QString(), fontSizeSliderValue_);
    font = FontFaces::withPointSize(font, fontSizeSliderValue_);
    showFaces(family, FontFaces::faceOf(font));
    operations_.textViewFont(text, font);
}

void TextStylePanel::faceSelectAction()
{
    const QString family = fontButton_->currentFont().family();
    operations_.textViewFont(
        textView(), FontFaces::font(family, faceButton_->currentText(), fontSizeSliderValue_));
}

void TextStylePanel::sizeSelectAction()
{
    const auto text = textView();
    const QFont font = text ? FontFaces::withPointSize(text->textFont(), fontSizeSliderValue_)
                            : FontFaces::font(fontButton_->currentFont().family(),
                                              faceButton_->currentText(), fontSizeSliderValue_);
    operations_.textViewFont(text, font);
}

void TextStylePanel::fillCategoryChangeAction()
{
    const int index = fillCategory_->currentIndex();
    showFillKind(index);
    if (index == 0) {
        operations_.textViewTextFillType(textView(), 0);
    } else if (index == 2) {
        operations_.textViewTextFillType(textView(), 2);
    } else {
        operations_.textViewTextFillType(textView(), 1);
        setTextViewGradient();
    }
}

void TextStylePanel::changeFillColorAction()
{
    operations_.textViewTextColor(textView(), fillColorWell_->color());
}

void TextStylePanel::fillGradientStartColorAction()
{
    setTextViewGradient();
}

void TextStylePanel::fillGradientEndColorAction()
{
    setTextViewGradient();
}

void TextStylePanel::setTextViewGradient()
{
    const QGradientStops gradient = {{0.0, fillGradientStartColorWell_->color()},
                                     {1.0, fillGradientEndColorWell_->color()}};
    operations_.textViewTextGradient(textView(), gradient);
}

void TextStylePanel::chooseFillImageAction()
{
    openImagePanel([this](const QString& path) { loadFillImageFromPath(path); });
}

void TextStylePanel::loadFillImageFromPath(const QString& path)
{
    const QImage image = ControllerFunctionImages::getNSImageFromPath(path);
    fillImageView_->setImage(image);
    operations_.textViewTextImage(textView(), image);
    flushTextImage();
}

void TextStylePanel::checkOutlineAction()
{
    applyOutlineEnable();
    const auto text = textView();
    operations_.textViewHasOutline(text, outlineCheckBox_->isChecked());
    operations_.textViewOutlineColor(text, outlineColorWell_->color());
    operations_.textViewOutlineWidth(text, outlineSliderValue_);
}

void TextStylePanel::changeOutlineWidthAction()
{
    operations_.textViewOutlineWidth(textView(), outlineSliderValue_);
}

void TextStylePanel::changeOutlineColorAction()
{
    operations_.textViewOutlineColor(textView(), outlineColorWell_->color());
}

void TextStylePanel::checkBackdropAction()
{
    applyBackdropEnable();
    if (!backdropCheckBox_->isChecked()) {
        operations_.textViewBackgroundType(textView(), 0);
        return;
    }
    backdropCategoryChangeAction();
}

void TextStylePanel::backdropCategoryChangeAction()
{
    const int index = backdropCategory_->currentIndex();
    showBackdropKind(index);
    if (index == 0) {
        operations_.textViewBackgroundColor(textView(), backdropColorWell_->color());
        operations_.textViewBackgroundType(textView(), 1);
    } else {
        operations_.textViewBackgroundType(textView(), 2);
    }
}

void TextStylePanel::backdropColorChangeAction()
{
    operations_.textViewBackgroundColor(textView(), backdropColorWell_->color());
}

void TextStylePanel::backdropChooseImageAction()
{
    openImagePanel([this](const QString& path) { loadBackdropImageFromPath(path); });
}

void TextStylePanel::loadBackdropImageFromPath(const QString& path)
{
    const QImage image = ControllerFunctionImages::getNSImageFromPath(path);
    backdropImageView_->setImage(image);
    operations_.textViewBackgroundImage(textView(), image);
    flushTextImage();
}

void TextStylePanel::backFilletSliderAction()
{
    operations_.textViewBackFilletValue(textView(), backFilletSliderValue_);
}

void TextStylePanel::openImagePanel(const std::function<void(const QString&)>& chosen)
{
    ImageOpenPanel::open(owner_, chosen);
}

// ---- shadow actions

void TextStylePanel::finishShadowChange()
{
    showShadowValues();
    editor_.displayCanvasView();
}

void TextStylePanel::hasShadowChangedAction()
{
    if (const auto item = currentMedia()) {
        item->setHasShadow(hasShadow_);
    }
    finishShadowChange();
}

void TextStylePanel::changeShadowAngleUseSlider()
{
    setShadowAngleValueString();
}

void TextStylePanel::changeShadowAngleUseField()
{
    setShadowAngleValueString();
}

void TextStylePanel::setShadowAngleValueString()
{
    shadowAngleValue_ = ShadowValueRules::clampAngle(shadowAngleValue_);
    if (const auto item = currentMedia()) {
        item->setShadowAngleValue(shadowAngleValue_);
    }
    finishShadowChange();
}

void TextStylePanel::shadowBlurSizeSliderChangedAction()
{
    if (const auto item = currentMedia()) {
        item->setShadowBlursizeValue(ShadowValueRules::blurOnItem(shadowBlursizeValue_));
    }
    finishShadowChange();
}

void TextStylePanel::shadowBlurSizeFieldChangedAction()
{
    shadowBlursizeValue_ = ShadowValueRules::clampBlur(shadowBlursizeValue_);
    shadowBlurSizeSliderChangedAction();
}

void TextStylePanel::shadowOffsetXSliderChanged()
{
    if (const auto item = currentMedia()) {
        item->setShadowOffsetValue(shadowOffset_);
    }
    finishShadowChange();
}

void TextStylePanel::shadowOffsetXChangedAction()
{
    shadowOffset_ = ShadowValueRules::clampOffset(shadowOffset_);
    shadowOffsetXSliderChanged();
}

void TextStylePanel::shadowColorChangedAction()
{
    if (const auto item = currentMedia()) {
        item->setShadowColor(shadowColor_);
    }
    shadowOpacityValue_ = 1.0f;
    finishShadowChange();
}

void TextStylePanel::changeShadowOpacityUseSlider()
{
    setShadowOpacityValueString();
}

void TextStylePanel::changeShadowOpacityUseField()
{
    setShadowOpacityValueString();
}

void TextStylePanel::setShadowOpacityValueString()
{
    shadowOpacityValue_ = ShadowValueRules::clampOpacity(shadowOpacityValue_);
    if (const auto item = currentMedia()) {
        item->setShadowColor(ShadowValueRules::colorWithOpacity(shadowColor_, shadowOpacityValue_));
    }
    finishShadowChange();
}
