#include "videoedit/VideoEditWatermarkTab.h"

#include "videoedit/NumberEditField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "common/widgets/CommonFunctionThreads.h"
#include "platform/BoundedImage.h"
#include "videoedit/FontColorPanelRouter.h"
#include "videoedit/MenuPictureShowView.h"
#include "videoedit/VideoEditWindowController.h"
#include "videoedit/WaterMarkTextViewController.h"
#include "videoedit/core/KeyBinding.h"
#include "videoedit/core/VideoEditSettingRules.h"

namespace {

constexpr int kOpacitySteps = 100;
// Long enough for the item's coalesced hand-over to the movie to have run.
constexpr int kPictureRefreshMs = 10;

QString wholePixels(double v)
{
    return QString::asprintf("%.0f", v);
}

QToolButton* textButton(const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QString imageFileFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    return QObject::tr("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

}  // namespace

VideoEditWatermarkTab::VideoEditWatermarkTab(VideoEditWindowController& sheet,
                                             FontColorPanelRouter& panels, QWidget* parent)
    : QWidget(parent), m_sheet(sheet), m_panels(panels)
{
    m_pictureRefresh = new QTimer(this);
    m_pictureRefresh->setSingleShot(true);
    m_pictureRefresh->setInterval(kPictureRefreshMs);
    connect(m_pictureRefresh, &QTimer::timeout, this, [this] { m_sheet.flushPlayerImage(); });
    m_textController = new WaterMarkTextViewController(*this);
    buildControls();
    bindControls();
    registerRoute();
}

VideoEditWatermarkTab::~VideoEditWatermarkTab() = default;

VCMovie::Ptr VideoEditWatermarkTab::currentMovie() const
{
    return m_sheet.vcMovie();
}

void VideoEditWatermarkTab::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_sheet.keys(), key);
}

// --- The controls ---

void VideoEditWatermarkTab::buildControls()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);

    m_enableBox = new QCheckBox(tr("Watermark"), this);
    m_typeButton = new QComboBox(this);
    m_typeButton->addItems({tr("Picture"), tr("Text")});
    m_opacitySlider = new QSlider(Qt::Horizontal, this);
    m_opacitySlider->setRange(0, kOpacitySteps);
    m_resetButton = textButton(tr("Reset"), this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_enableBox);
    top->addWidget(m_typeButton);
    top->addWidget(new QLabel(tr("Opacity"), this));
    top->addWidget(m_opacitySlider, 1);
    top->addWidget(m_resetButton);
    grid->addLayout(top, 0, 0, 1, 3);

    m_showView = new MenuPictureShowView(this);
    m_showView->setCanUse([this] {
        return VideoEditSettingRules::videoEditCanUse(enableWatermark(), watermarkType());
    });
    m_chooseImageButton = textButton(tr("Choose Picture…"), this);
    grid->addWidget(m_showView, 1, 0, 2, 1);
    grid->addWidget(m_chooseImageButton, 3, 0, Qt::AlignHCenter);

    m_textField = new QLineEdit(this);
    m_textField->setPlaceholderText(tr("Watermark text"));
    m_fontButton = textButton(tr("Font…"), this);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(m_textField, 1);
    textRow->addWidget(m_fontButton);
    grid->addLayout(textRow, 1, 1, 1, 2);

    m_pointXField = NumberEditField::make(
        this, [this](double v) { setWatermarkPointX(static_cast<float>(v)); });
    m_pointYField = NumberEditField::make(
        this, [this](double v) { setWatermarkPointY(static_cast<float>(v)); });
    m_widthField = NumberEditField::make(
        this, [this](double v) { setWatermarkImageDisplayWidth(static_cast<float>(v)); });
    m_heightField = NumberEditField::make(
        this, [this](double v) { setWatermarkImageDisplayHeight(static_cast<float>(v)); });
    auto* placeRow = new QHBoxLayout;
    placeRow->addWidget(new QLabel(tr("X"), this));
    placeRow->addWidget(m_pointXField);
    placeRow->addWidget(new QLabel(tr("Y"), this));
    placeRow->addWidget(m_pointYField);
    placeRow->addWidget(new QLabel(tr("Width"), this));
    placeRow->addWidget(m_widthField);
    placeRow->addWidget(new QLabel(tr("Height"), this));
    placeRow->addWidget(m_heightField);
    placeRow->addStretch();
    grid->addLayout(placeRow, 2, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    connect(m_enableBox, &QCheckBox::toggled, this, &VideoEditWatermarkTab::setEnableWatermark);
    connect(m_typeButton, &QComboBox::activated, this, &VideoEditWatermarkTab::setWatermarkType);
    connect(m_opacitySlider, &QSlider::valueChanged, this,
            [this](int value) { setWatermarkOpacity(static_cast<float>(value) / kOpacitySteps); });
    connect(m_textField, &QLineEdit::textEdited, this, &VideoEditWatermarkTab::setWatermarkText);
    connect(m_fontButton, &QToolButton::clicked, this,
            [this] { changeWatermarkFont(m_fontButton); });
    connect(m_chooseImageButton, &QToolButton::clicked, this,
            &VideoEditWatermarkTab::changeWatermarkImage);
    connect(m_showView, &MenuPictureShowView::picturePathDropped, this,
            &VideoEditWatermarkTab::choosewatermarkImagePath);
    connect(m_resetButton, &QToolButton::clicked, this, &VideoEditWatermarkTab::resetWatermark);
}

void VideoEditWatermarkTab::bindControls()
{
    PropertyNotifier& keys = m_sheet.keys();
    const auto refreshStates = [this] {
        const bool on = enableWatermark() && currentMovie();
        const bool picture = watermarkType() == 0;
        m_typeButton->setEnabled(on);
        m_opacitySlider->setEnabled(on);
        m_chooseImageButton->setEnabled(on && picture);
        m_textField->setEnabled(on && !picture);
        m_fontButton->setEnabled(on && !picture);
        for (QLineEdit* field : {m_pointXField, m_pointYField}) {
            field->setEnabled(on);
        }
        for (QLineEdit* field : {m_widthField, m_heightField}) {
            field->setEnabled(on && picture);
        }
    };
    KeyBinding::bind(keys, QStringLiteral("enableWatermark"), m_enableBox, [this, refreshStates] {
        m_enableBox->setChecked(enableWatermark());
        refreshStates();
    });
    KeyBinding::bind(keys, QStringLiteral("watermarkType"), m_typeButton, [this, refreshStates] {
        m_typeButton->setCurrentIndex(watermarkType() == 1 ? 1 : 0);
        refreshStates();
    });
    KeyBinding::bind(keys, QStringLiteral("watermarkOpacity"), m_opacitySlider, [this] {
        m_opacitySlider->setValue(
            static_cast<int>(std::lround(watermarkOpacity() * kOpacitySteps)));
    });
    KeyBinding::bind(keys, QStringLiteral("watermarkText"), m_textField, [this] {
        if (m_textField->text() != watermarkText()) {
            m_textField->setText(watermarkText());
        }
    });
    KeyBinding::bind(keys, QStringLiteral("watermarkImage"), m_showView,
                     [this] { m_showView->setShowImage(watermarkImage()); });
    const auto field = [&keys](const char* key, QLineEdit* edit, std::function<float()> value) {
        KeyBinding::bind(keys, QString::fromLatin1(key), edit,
                         [edit, value] { edit->setText(wholePixels(value())); });
    };
    field("watermarkPointX", m_pointXField, [this] { return watermarkPointX(); });
    field("watermarkPointY", m_pointYField, [this] { return watermarkPointY(); });
    field("watermarkImageDisplayWidth", m_widthField,
          [this] { return watermarkImageDisplayWidth(); });
    field("watermarkImageDisplayHeight", m_heightField,
          [this] { return watermarkImageDisplayHeight(); });
}

void VideoEditWatermarkTab::registerRoute()
{
    FontColorPanelRouter::Route route;
    route.currentFont = [this] {
        const VCMovie::Ptr item = currentMovie();
        return item ? item->watermarkTextFont() : FontColorPanelRouter::fallbackFont();
    };
    route.changeFont = [this](const QFont& font) { changeFont(font); };
    route.currentColor = [this] {
        const VCMovie::Ptr item = currentMovie();
        return item ? item->watermarkTextColor() : QColor(Qt::white);
    };
    route.changeColor = [this](const QColor& colour) { colorPanelColorDidChange(colour); };
    m_panels.setRoute(QStringLiteral("watermark"), route);
}

// --- Keys ---

bool VideoEditWatermarkTab::enableWatermark() const
{
    const VCMovie::Ptr item = currentMovie();
    return item && item->enableWatermark();
}

void VideoEditWatermarkTab::setEnableWatermark(bool on)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setEnableWatermark(on);
        flushWatermarkType();
    }
}

int VideoEditWatermarkTab::watermarkType() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? item->watermarkType() : 0;
}

void VideoEditWatermarkTab::setWatermarkType(int type)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkType(type);
        flushWatermarkType();
        // The overlay now edits the other rectangle.
        updateWatermarkRect();
    }
}

float VideoEditWatermarkTab::watermarkOpacity() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? item->watermarkOpacity() : 1.0f;
}

void VideoEditWatermarkTab::setWatermarkOpacity(float opacity)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkOpacity(opacity);
        flushWatermarkType();
    }
}

QString VideoEditWatermarkTab::watermarkText() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? item->watermarkText() : QString();
}

void VideoEditWatermarkTab::setWatermarkText(const QString& text)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkText(text);
        updateWatermarkFontImage();
    }
}

QImage VideoEditWatermarkTab::watermarkImage() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? item->watermarkImage() : QImage();
}

void VideoEditWatermarkTab::setWatermarkImage(const QImage& image)
{
    const VCMovie::Ptr item = currentMovie();
    if (!item) {
        return;
    }
    item->setWatermarkImage(image);
    updateWatermarkImage();
    m_showView->setShowImage(item->watermarkImage());
    announce(QStringLiteral("watermarkImage"));
}

float VideoEditWatermarkTab::watermarkPointX() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? static_cast<float>(item->watermarkPoint().x()) : 0.0f;
}

void VideoEditWatermarkTab::setWatermarkPointX(float x)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkPoint(QPointF(x, item->watermarkPoint().y()));
        updateWatermarkRect();
    }
}

float VideoEditWatermarkTab::watermarkPointY() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? static_cast<float>(item->watermarkPoint().y()) : 0.0f;
}

void VideoEditWatermarkTab::setWatermarkPointY(float y)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkPoint(QPointF(item->watermarkPoint().x(), y));
        updateWatermarkRect();
    }
}

float VideoEditWatermarkTab::watermarkImageDisplayWidth() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? static_cast<float>(item->watermarkImageDisplaySize().width()) : 0.0f;
}

void VideoEditWatermarkTab::setWatermarkImageDisplayWidth(float width)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        const double clamped =
            VideoEditSettingRules::clampedDisplayLength(width, maxWatermarkImageDisplayWidth());
        item->setWatermarkImageDisplaySize(
            QSizeF(clamped, item->watermarkImageDisplaySize().height()));
        updateWatermarkRect();
    }
}

float VideoEditWatermarkTab::watermarkImageDisplayHeight() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? static_cast<float>(item->watermarkImageDisplaySize().height()) : 0.0f;
}

void VideoEditWatermarkTab::setWatermarkImageDisplayHeight(float height)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        const double clamped =
            VideoEditSettingRules::clampedDisplayLength(height, maxWatermarkImageDisplayHeight());
        item->setWatermarkImageDisplaySize(
            QSizeF(item->watermarkImageDisplaySize().width(), clamped));
        updateWatermarkRect();
    }
}

QRectF VideoEditWatermarkTab::maxWatermarkRect() const
{
    const VCMovie::Ptr item = currentMovie();
    return item ? item->maxWatermarkRect() : QRectF();
}

float VideoEditWatermarkTab::maxWatermarkPointX() const
{
    const VCMovie::Ptr item = currentMovie();
    const QRectF max = maxWatermarkRect();
    return static_cast<float>(max.x() + max.width() -
                              (item ? item->realWatermarkRect().width() : 0.0));
}

float VideoEditWatermarkTab::maxWatermarkPointY() const
{
    const VCMovie::Ptr item = currentMovie();
    const QRectF max = maxWatermarkRect();
    return static_cast<float>(max.y() + max.height() -
                              (item ? item->realWatermarkRect().height() : 0.0));
}

float VideoEditWatermarkTab::maxWatermarkImageDisplayWidth() const
{
    const QRectF max = maxWatermarkRect();
    return static_cast<float>(max.x() + max.width() - watermarkPointX());
}

float VideoEditWatermarkTab::maxWatermarkImageDisplayHeight() const
{
    const QRectF max = maxWatermarkRect();
    return static_cast<float>(max.y() + max.height() - watermarkPointY());
}

LMPicture VideoEditWatermarkTab::watermark() const
{
    const IMovie::Ptr m = m_sheet.movie();
    return m ? m->watermark() : LMPicture();
}

void VideoEditWatermarkTab::setWatermark(const LMPicture& picture)
{
    if (const IMovie::Ptr m = m_sheet.movie()) {
        m->setWatermark(picture);
    }
}

// --- Refreshing ---

void VideoEditWatermarkTab::flushWatermarkType()
{
    for (const char* key :
         {"enableWatermark", "watermarkType", "watermarkOpacity", "watermarkText"}) {
        announce(QString::fromLatin1(key));
    }
    updateWatermarkImage();
}

void VideoEditWatermarkTab::updateWatermarkImage()
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkCacheImage(QImage());
        item->updateMovieWatermarkImage();
        m_pictureRefresh->start();
    }
    m_sheet.updatePlayCropViewPlace();
}

void VideoEditWatermarkTab::updateWatermarkFontImage()
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkTextDisplaySize(
            VideoEditSettingRules::textSize(item->watermarkText(), item->watermarkTextFont()));
    }
    updateWatermarkImage();
}

void VideoEditWatermarkTab::updateWatermarkRect()
{
    for (const char* key :
         {"watermarkPointX", "watermarkPointY", "watermarkImageDisplayWidth",
          "watermarkImageDisplayHeight", "maxWatermarkPointX", "maxWatermarkPointY",
          "maxWatermarkImageDisplayWidth", "maxWatermarkImageDisplayHeight"}) {
        announce(QString::fromLatin1(key));
    }
    m_sheet.updatePlayCropViewPlace();
    updateWatermarkImage();
}

void VideoEditWatermarkTab::updateWatermark()
{
    updateWatermarkRect();
    flushWatermarkType();
    announce(QStringLiteral("enableWatermark"));
    announce(QStringLiteral("watermarkImage"));
}

// --- Actions ---

void VideoEditWatermarkTab::changeWatermarkImage()
{
    auto* panel =
        new QFileDialog(m_sheet.window(), tr("Choose a Picture"), QString(), imageFileFilter());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::fileSelected, this,
            &VideoEditWatermarkTab::choosewatermarkImagePath);
    panel->open();
}

void VideoEditWatermarkTab::choosewatermarkImagePath(const QString& path)
{
    const VCMovie::Ptr item = currentMovie();
    if (!item) {
        return;
    }
    item->setWatermarkImagePath(path);
    setWatermarkImage(BoundedImage::readUpright(path));
}

void VideoEditWatermarkTab::changeWatermarkFont(QWidget* sender)
{
    // Ends a field's editing first, so the text typed so far is kept.
    if (QWidget* focused = m_sheet.focusWidget()) {
        focused->clearFocus();
    }
    m_textController->updateTextMediaAttributes();
    m_textController->showRelativeTo(sender);
}

void VideoEditWatermarkTab::changeFont(const QFont& font)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkTextFont(font);
        updateWatermarkFontImage();
        m_textController->updateTextMediaAttributes();
    }
}

void VideoEditWatermarkTab::colorPanelColorDidChange(const QColor& colour)
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->setWatermarkTextColor(colour);
        updateWatermarkImage();
        m_textController->updateTextMediaAttributes();
    }
}

void VideoEditWatermarkTab::resetWatermark()
{
    if (const VCMovie::Ptr item = currentMovie()) {
        item->resetWatermark();
        updateWatermark();
        m_showView->setShowImage(item->watermarkImage());
    }
}

void VideoEditWatermarkTab::closePopover()
{
    m_textController->hide();
}
