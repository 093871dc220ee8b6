#include "dialogs/TextStylePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QUndoStack>
#include <QVBoxLayout>

#include "common/ControllerFunctionImages.h"
#include "dialogs/ColorWell.h"
#include "dialogs/FontNameDelegate.h"
#include "dialogs/ImageOpenPanel.h"
#include "dialogs/ImageWell.h"
#include "dialogs/PanelControls.h"
#include "dialogs/TextShadowControls.h"
#include "dialogs/TextStringField.h"
#include "dialogs/core/FontFaces.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"

namespace {

// Slider steps per unit of the fillet.
constexpr int filletSteps = 100;

}  // namespace

TextStylePanel::TextStylePanel(Host host, QUndoStack& stack, MenuEditorAccess editor,
                               QWidget* owner)
    : QObject(owner), host_(host), editor_(editor), operations_(stack, editor), owner_(owner)
{
    buildTextEditView(owner);
    shadow_ = new TextShadowControls(editor, owner);
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

    sizeSlider_ = PanelControls::makeSlider(8, 200, textEditView_);
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
    outlineSlider_ = PanelControls::makeSlider(0, 100, textEditView_);
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

    backFilletSlider_ = PanelControls::makeSlider(0, filletSteps, textEditView_);
    grid->addWidget(new QLabel(tr("Rounding:"), textEditView_), row, 0);
    grid->addWidget(backFilletSlider_, row++, 1, 1, 6);
    grid->setRowStretch(row, 1);
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
}

void TextStylePanel::updateShadowAttributes()
{
    shadow_->updateShadowAttributes();
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
    PanelControls::setSliderQuietly(sizeSlider_, value);
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
    PanelControls::setSliderQuietly(outlineSlider_, value);
}

void TextStylePanel::setBackFilletSliderValue(float value)
{
    backFilletSliderValue_ = value;
    PanelControls::setSliderQuietly(backFilletSlider_, static_cast<double>(value) * filletSteps);
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
