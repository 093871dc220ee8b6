#include "videoedit/VideoEditCropTab.h"

#include "videoedit/EditSheet.h"
#include "videoedit/NumberEditField.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <cmath>

#include "common/widgets/CommonFunctionThreads.h"
#include "lumenta/EffectManager.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/core/KeyBinding.h"
#include "videoedit/core/VEPlayerCropGeometry.h"
#include "videoedit/core/VideoEditSettingRules.h"

namespace {

constexpr float kNeutralSaturation = 0.5f;
constexpr float kNeutralBrightness = 0.5f;
constexpr float kNeutralContrast = 0.25f;
constexpr float kNeutralHue = 0.5f;
constexpr int kZoomTypeAfterReset = 2;
constexpr int kSliderSteps = 100;

QString wholePixels(double v)
{
    return QString::asprintf("%.0f", v);
}

}  // namespace

VideoEditCropTab::VideoEditCropTab(VideoEditWindowController& sheet, QWidget* parent)
    : QWidget(parent), m_sheet(sheet)
{
    buildControls();
    bindControls();
}

IMovie::Ptr VideoEditCropTab::movie() const
{
    return m_sheet.movie();
}

void VideoEditCropTab::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_sheet.keys(), key);
}

// --- The controls ---

void VideoEditCropTab::buildControls()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);

    // Crop: origin and size in source pixels, and its reset.
    m_cropXField =
        NumberEditField::make(this, [this](double v) { setCropRectX(static_cast<float>(v)); });
    m_cropYField =
        NumberEditField::make(this, [this](double v) { setCropRectY(static_cast<float>(v)); });
    m_cropWidthField = NumberEditField::make(this, [this](double v) { cropWidthChanged(v); });
    m_cropHeightField = NumberEditField::make(this, [this](double v) { cropHeightChanged(v); });
    m_resetCropButton = EditSheet::makeTextButton(tr("Reset Crop"), this);
    auto* cropRow = new QHBoxLayout;
    cropRow->addWidget(new QLabel(tr("X"), this));
    cropRow->addWidget(m_cropXField);
    cropRow->addWidget(new QLabel(tr("Y"), this));
    cropRow->addWidget(m_cropYField);
    cropRow->addWidget(new QLabel(tr("Width"), this));
    cropRow->addWidget(m_cropWidthField);
    cropRow->addWidget(new QLabel(tr("Height"), this));
    cropRow->addWidget(m_cropHeightField);
    cropRow->addStretch();
    cropRow->addWidget(m_resetCropButton);
    grid->addLayout(cropRow, 0, 0, 1, 4);

    // Turns and mirrors.
    m_rotateLeftButton = EditSheet::makeTextButton(tr("Rotate Left"), this);
    m_rotateRightButton = EditSheet::makeTextButton(tr("Rotate Right"), this);
    m_horizontalFlipButton = EditSheet::makeTextButton(tr("Flip Horizontal"), this);
    m_verticalFlipButton = EditSheet::makeTextButton(tr("Flip Vertical"), this);
    m_resetRotateButton = EditSheet::makeTextButton(tr("Reset Rotation"), this);
    auto* turnRow = new QHBoxLayout;
    for (QToolButton* button :
         {m_rotateLeftButton, m_rotateRightButton, m_horizontalFlipButton, m_verticalFlipButton}) {
        turnRow->addWidget(button);
    }
    turnRow->addStretch();
    turnRow->addWidget(m_resetRotateButton);
    grid->addLayout(turnRow, 1, 0, 1, 4);

    // Colour: the effect and the four sliders.
    m_effectButton = new QComboBox(this);
    m_effectButton->addItem(tr("None"), QString());
    for (const QString& name : allFilterNames()) {
        m_effectButton->addItem(name, name);
    }
    m_resetEffectButton = EditSheet::makeTextButton(tr("Reset Effect"), this);
    grid->addWidget(new QLabel(tr("Effect"), this), 2, 0);
    grid->addWidget(m_effectButton, 2, 1);
    grid->addWidget(m_resetEffectButton, 2, 3, Qt::AlignRight);
    const QStringList names{tr("Saturation"), tr("Brightness"), tr("Contrast"), tr("Hue")};
    for (int i = 0; i < 4; ++i) {
        m_sliders[i] = new QSlider(Qt::Horizontal, this);
        m_sliders[i]->setRange(0, kSliderSteps);
        grid->addWidget(new QLabel(names[i], this), 3 + i / 2, (i % 2) * 2);
        grid->addWidget(m_sliders[i], 3 + i / 2, (i % 2) * 2 + 1);
    }

    connect(m_resetCropButton, &QToolButton::clicked, this, &VideoEditCropTab::resetCrop);
    connect(m_rotateLeftButton, &QToolButton::clicked, this, &VideoEditCropTab::rotateLeft);
    connect(m_rotateRightButton, &QToolButton::clicked, this, &VideoEditCropTab::rotateRight);
    connect(m_horizontalFlipButton, &QToolButton::clicked, this, &VideoEditCropTab::horizontalFlip);
    connect(m_verticalFlipButton, &QToolButton::clicked, this, &VideoEditCropTab::verticalFlip);
    connect(m_resetRotateButton, &QToolButton::clicked, this, &VideoEditCropTab::resetRotate);
    connect(m_resetEffectButton, &QToolButton::clicked, this, &VideoEditCropTab::resetEffect);
    connect(m_effectButton, &QComboBox::activated, this,
            [this](int index) { setEffectName(m_effectButton->itemData(index).toString()); });
    const std::function<void(float)> setters[4] = {
        [this](float v) { setSaturation(v); }, [this](float v) { setBrightness(v); },
        [this](float v) { setContrast(v); }, [this](float v) { setHue(v); }};
    for (int i = 0; i < 4; ++i) {
        connect(m_sliders[i], &QSlider::valueChanged, this, [setter = setters[i]](int value) {
            setter(static_cast<float>(value) / kSliderSteps);
        });
    }
}

void VideoEditCropTab::bindControls()
{
    PropertyNotifier& keys = m_sheet.keys();
    const auto field = [&keys](const char* key, QLineEdit* edit, std::function<float()> value) {
        KeyBinding::bind(keys, QString::fromLatin1(key), edit,
                         [edit, value] { edit->setText(wholePixels(value())); });
    };
    field("cropRectX", m_cropXField, [this] { return cropRectX(); });
    field("cropRectY", m_cropYField, [this] { return cropRectY(); });
    field("cropRectWidth", m_cropWidthField, [this] { return cropRectWidth(); });
    field("cropRectHeight", m_cropHeightField, [this] { return cropRectHeight(); });
    KeyBinding::bind(keys, QStringLiteral("effectName"), m_effectButton, [this] {
        const int index = m_effectButton->findData(effectName());
        m_effectButton->setCurrentIndex(index < 0 ? 0 : index);
    });
    const char* sliderKeys[4] = {"saturation", "brightness", "contrast", "hue"};
    const std::function<float()> getters[4] = {
        [this] { return saturation(); }, [this] { return brightness(); },
        [this] { return contrast(); }, [this] { return hue(); }};
    for (int i = 0; i < 4; ++i) {
        QSlider* slider = m_sliders[i];
        KeyBinding::bind(
            keys, QString::fromLatin1(sliderKeys[i]), slider, [slider, getter = getters[i]] {
                slider->setValue(static_cast<int>(std::lround(getter() * kSliderSteps)));
            });
    }
}

// --- Crop keys ---

QRectF VideoEditCropTab::cropRect() const
{
    const IMovie::Ptr m = movie();
    return m ? m->cropRect() : QRectF();
}

void VideoEditCropTab::setCropRect(const QRectF& rect)
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    m->setCropRect(rect);
    m_sheet.flushPlayerImage();
    flushCropRectAttribute();
    m_sheet.updatePlayCropViewPlace();
}

float VideoEditCropTab::cropRectX() const
{
    return static_cast<float>(cropRect().x());
}

void VideoEditCropTab::setCropRectX(float v)
{
    QRectF r = cropRect();
    r.moveLeft(v);
    setCropRect(r);
}

float VideoEditCropTab::cropRectY() const
{
    return static_cast<float>(cropRect().y());
}

void VideoEditCropTab::setCropRectY(float v)
{
    QRectF r = cropRect();
    r.moveTop(v);
    setCropRect(r);
}

float VideoEditCropTab::cropRectWidth() const
{
    return static_cast<float>(cropRect().width());
}

void VideoEditCropTab::setCropRectWidth(float v)
{
    QRectF r = cropRect();
    r.setWidth(v);
    setCropRect(r);
}

float VideoEditCropTab::cropRectHeight() const
{
    return static_cast<float>(cropRect().height());
}

void VideoEditCropTab::setCropRectHeight(float v)
{
    QRectF r = cropRect();
    r.setHeight(v);
    setCropRect(r);
}

QRectF VideoEditCropTab::maxCropRect() const
{
    const IMovie::Ptr m = movie();
    return m ? QRectF(QPointF(0, 0), m->videoSize()) : QRectF();
}

float VideoEditCropTab::maxCropRectX() const
{
    const QRectF max = maxCropRect();
    return static_cast<float>(max.x() + max.width() - cropRect().width());
}

float VideoEditCropTab::maxCropRectY() const
{
    const QRectF max = maxCropRect();
    return static_cast<float>(max.y() + max.height() - cropRect().height());
}

float VideoEditCropTab::maxCropRectWidth() const
{
    const QRectF max = maxCropRect();
    return static_cast<float>(max.x() + max.width() - cropRect().x());
}

float VideoEditCropTab::maxCropRectHeight() const
{
    const QRectF max = maxCropRect();
    return static_cast<float>(max.y() + max.height() - cropRect().y());
}

int VideoEditCropTab::zoomType() const
{
    const IMovie::Ptr m = movie();
    return m ? m->zoomType() : kZoomTypeAfterReset;
}

void VideoEditCropTab::setZoomType(int type)
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    m->setZoomType(type);
    m_sheet.flushPlayerImage();
    flushZoomTypeAttribute();
}

// --- Picture keys ---

QString VideoEditCropTab::effectName() const
{
    const IMovie::Ptr m = movie();
    return m ? m->effectName() : QString();
}

QStringList VideoEditCropTab::allFilterNames()
{
    return EffectManager::allFilterNames();
}

void VideoEditCropTab::afterPictureChange()
{
    m_sheet.flushPlayerImage();
    flushEffectAttribute();
}

void VideoEditCropTab::setEffectName(const QString& name)
{
    if (const IMovie::Ptr m = movie()) {
        m->setEffectName(name);
        afterPictureChange();
    }
}

bool VideoEditCropTab::hflip() const
{
    const IMovie::Ptr m = movie();
    return m && m->hflip();
}

void VideoEditCropTab::setHflip(bool on)
{
    if (const IMovie::Ptr m = movie()) {
        m->setHflip(on);
        afterPictureChange();
    }
}

bool VideoEditCropTab::vflip() const
{
    const IMovie::Ptr m = movie();
    return m && m->vflip();
}

void VideoEditCropTab::setVflip(bool on)
{
    if (const IMovie::Ptr m = movie()) {
        m->setVflip(on);
        afterPictureChange();
    }
}

float VideoEditCropTab::rotate() const
{
    const IMovie::Ptr m = movie();
    return m ? m->rotate() : 0.0f;
}

void VideoEditCropTab::setRotate(float degrees)
{
    if (const IMovie::Ptr m = movie()) {
        m->setRotate(degrees);
        afterPictureChange();
    }
}

float VideoEditCropTab::saturation() const
{
    const IMovie::Ptr m = movie();
    return m ? m->saturation() : kNeutralSaturation;
}

void VideoEditCropTab::setSaturation(float v)
{
    if (const IMovie::Ptr m = movie()) {
        m->setSaturation(v);
        afterPictureChange();
    }
}

float VideoEditCropTab::brightness() const
{
    const IMovie::Ptr m = movie();
    return m ? m->brightness() : kNeutralBrightness;
}

void VideoEditCropTab::setBrightness(float v)
{
    if (const IMovie::Ptr m = movie()) {
        m->setBrightness(v);
        afterPictureChange();
    }
}

float VideoEditCropTab::contrast() const
{
    const IMovie::Ptr m = movie();
    return m ? m->contrast() : kNeutralContrast;
}

void VideoEditCropTab::setContrast(float v)
{
    if (const IMovie::Ptr m = movie()) {
        m->setContrast(v);
        afterPictureChange();
    }
}

float VideoEditCropTab::hue() const
{
    const IMovie::Ptr m = movie();
    return m ? m->hue() : kNeutralHue;
}

void VideoEditCropTab::setHue(float v)
{
    if (const IMovie::Ptr m = movie()) {
        m->setHue(v);
        afterPictureChange();
    }
}

// --- Announcements ---

void VideoEditCropTab::flushCropRectAttribute()
{
    for (const char* key :
         {"cropRect", "cropRectX", "maxCropRectX", "cropRectY", "maxCropRectY", "cropRectWidth",
          "maxCropRectWidth", "cropRectHeight", "maxCropRectHeight"}) {
        announce(QString::fromLatin1(key));
    }
}

void VideoEditCropTab::flushZoomTypeAttribute()
{
    announce(QStringLiteral("zoomType"));
}

void VideoEditCropTab::flushEffectAttribute()
{
    for (const char* key : {"effectName", "hflip", "vflip", "rotate", "saturation", "brightness",
                            "contrast", "hue"}) {
        announce(QString::fromLatin1(key));
    }
}

// --- Actions ---

void VideoEditCropTab::initCropFileds()
{
    const QSignalBlocker width(m_cropWidthField);
    const QSignalBlocker height(m_cropHeightField);
    m_cropWidthField->setText(wholePixels(cropRectWidth()));
    m_cropHeightField->setText(wholePixels(cropRectHeight()));
}

double VideoEditCropTab::minLengthOfCropToVideo() const
{
    return VideoEditSettingRules::minLengthOfCropToVideo(VEPlayerCropGeometry::kMinFrameLength,
                                                         m_sheet.validOriginVideoSize().width(),
                                                         m_sheet.playerCropView()->width());
}

void VideoEditCropTab::cropWidthChanged(double typed)
{
    setCropRectWidth(static_cast<float>(VideoEditSettingRules::typedCropLength(
        typed, minLengthOfCropToVideo(), maxCropRect().width())));
}

void VideoEditCropTab::cropHeightChanged(double typed)
{
    setCropRectHeight(static_cast<float>(VideoEditSettingRules::typedCropLength(
        typed, minLengthOfCropToVideo(), maxCropRect().height())));
}

void VideoEditCropTab::rotateLeft()
{
    setRotate(static_cast<float>(VideoEditSettingRules::rotateLeft(rotate())));
}

void VideoEditCropTab::rotateRight()
{
    setRotate(static_cast<float>(VideoEditSettingRules::rotateRight(rotate())));
}

void VideoEditCropTab::hvFlip(bool vertical)
{
    if (VideoEditSettingRules::flipsVertically(rotate(), vertical)) {
        setVflip(!vflip());
    } else {
        setHflip(!hflip());
    }
}

void VideoEditCropTab::resetCrop()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    setCropRect(QRectF(QPointF(0, 0), m->videoSize()));
    setZoomType(kZoomTypeAfterReset);
    m_sheet.updatePlayCropViewPlace();
    flushCropRectAttribute();
    flushZoomTypeAttribute();
}

void VideoEditCropTab::resetEffect()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    m->setEffectName(QString());
    m->setSaturation(kNeutralSaturation);
    m->setBrightness(kNeutralBrightness);
    m->setContrast(kNeutralContrast);
    m->setHue(kNeutralHue);
    afterPictureChange();
}

void VideoEditCropTab::resetRotate()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    m->setHflip(false);
    m->setVflip(false);
    m->setRotate(0.0f);
    afterPictureChange();
}
