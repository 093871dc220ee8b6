#include "slideshow/CropWndCtrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "media/CropItem.h"
#include "slideshow/CropBackgroundView.h"
#include "slideshow/CropFrameView.h"
#include "slideshow/CropTopBackView.h"
#include "slideshow/NumberTextField.h"

namespace {

constexpr long Decimals = 0;

QLabel* barLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("color: #cccccc;"));
    return label;
}

}  // namespace

CropWndCtrl::CropWndCtrl(QWidget* sheetedWindow)
    : SheetWindowController(sheetedWindow),
      m_x(std::make_unique<QLineEdit>()),
      m_y(std::make_unique<QLineEdit>())
{
    buildWindow();
    awakeFromNib();
}

CropWndCtrl::~CropWndCtrl() = default;

void CropWndCtrl::buildWindow()
{
    QDialog* sheet = window();
    sheet->setWindowTitle(tr("Crop"));

    auto* bar = new CropTopBackView;
    bar->setFixedHeight(34);
    m_width = new QLineEdit;
    m_height = new QLineEdit;
    for (QLineEdit* field : {m_width, m_height}) {
        field->setFixedWidth(70);
        field->setAlignment(Qt::AlignRight);
    }
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(12, 4, 12, 6);
    barLayout->addStretch();
    barLayout->addWidget(barLabel(tr("Width:")));
    barLayout->addWidget(m_width);
    barLayout->addSpacing(12);
    barLayout->addWidget(barLabel(tr("Height:")));
    barLayout->addWidget(m_height);
    barLayout->addWidget(barLabel(tr("pixels")));

    m_background = new CropBackgroundView;
    m_background->setFixedSize(PictureAreaSize);
    m_background->setAutoFillBackground(true);
    QPalette palette = m_background->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.16f, 0.16f, 0.17f));
    m_background->setPalette(palette);
    m_frame = new CropFrameView(m_background);

    m_resetButton = new QPushButton(tr("Reset"));
    m_doneButton = new QPushButton(tr("Done"));
    for (QPushButton* button : {m_resetButton, m_doneButton}) {
        button->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 8, 12, 12);
    buttons->addWidget(m_resetButton);
    buttons->addStretch();
    buttons->addWidget(m_doneButton);

    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_background);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_resetButton, &QPushButton::clicked, this, &CropWndCtrl::reset);
    connect(m_doneButton, &QPushButton::clicked, this, &CropWndCtrl::done);
    // Editing begins with the first change the user makes to a field.
    for (QLineEdit* field : {m_width, m_height}) {
        connect(field, &QLineEdit::textEdited, this, [this, field] {
            if (!m_tempStringValue) {
                m_tempStringValue = m_shownText.value(field);
            }
        });
    }
    connect(m_width, &QLineEdit::editingFinished, this,
            [this] { controlTextDidEndEditing(m_width); });
    connect(m_height, &QLineEdit::editingFinished, this,
            [this] { controlTextDidEndEditing(m_height); });
}

void CropWndCtrl::awakeFromNib()
{
    m_background->setDelegate(this);
    m_frame->setDelegate(this);
    updateCropFrame();
    showFieldsFromFrame();
}

QAbstractButton* CropWndCtrl::btnReset() const
{
    return m_resetButton;
}

QAbstractButton* CropWndCtrl::btnDone() const
{
    return m_doneButton;
}

void CropWndCtrl::setWndSheetedWindow(QWidget* window)
{
    SheetWindowController::setWndSheetedWindow(window);
}

void CropWndCtrl::startEdittingImage(const QImage& image, const QSizeF& originalSize,
                                     const std::shared_ptr<CropItem>& crop)
{
    beginEdittingImage(image, originalSize, crop);
    runSheet();
}

void CropWndCtrl::beginEdittingImage(const QImage& image, const QSizeF& originalSize,
                                     const std::shared_ptr<CropItem>& crop)
{
    m_didChange = false;
    if (!m_source.isNull() || m_item) {
        syncCropItem();
        unload();
    }
    m_source = image;
    m_sourceSize = originalSize;
    m_item = crop;
    m_userChanged = false;
    m_display = imageFromImage(image);
    updateCropFrame();
    showFieldsFromFrame();
}

QImage CropWndCtrl::imageFromImage(const QImage& image)
{
    if (image.isNull()) {
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void CropWndCtrl::unload()
{
    m_source = {};
    m_display = {};
    m_item.reset();
    m_tempStringValue.reset();
    m_userChanged = false;
}

QRectF CropWndCtrl::pictureRect() const
{
    return m_display.isNull() ? QRectF() : m_background->displayImageFrame();
}

bool CropWndCtrl::canMap() const
{
    return m_item && CropMapping::canMap(pictureRect(), m_sourceSize);
}

void CropWndCtrl::updateCropFrame()
{
    m_background->setDisplayImage(m_display);
    m_background->makeDisplayImageRect();
    const QRectF picture = pictureRect();
    const bool mapped = canMap();
    m_frame->setVisible(mapped);
    m_width->setEnabled(mapped);
    m_height->setEnabled(mapped);
    if (mapped) {
        m_frame->setLimitedRect(picture);
        m_frame->setDisplayRect(
            CropMapping::frameFromItem(CropMapping::ratiosOf(*m_item), picture));
    }
    m_background->update();
}

void CropWndCtrl::showFieldsFromFrame()
{
    const auto numbers = canMap() ? CropMapping::fieldsFromFrame(m_frame->getDisplayRect(),
                                                                 pictureRect(), m_sourceSize)
                                  : std::nullopt;
    if (!numbers) {
        for (QLineEdit* field : {m_x.get(), m_y.get(), m_width, m_height}) {
            const QSignalBlocker blocker(field);
            field->clear();
            m_shownText[field] = QString();
        }
        return;
    }
    showNumber(m_x.get(), numbers->x);
    showNumber(m_y.get(), numbers->y);
    showNumber(m_width, numbers->width);
    showNumber(m_height, numbers->height);
}

void CropWndCtrl::showNumber(QLineEdit* field, double value)
{
    const QSignalBlocker blocker(field);
    field->setText(NumberTextField::stringFromValue(value, Decimals));
    m_shownText[field] = field->text();
}

CropPixels CropWndCtrl::pixels() const
{
    return {NumberTextField::doubleValue(m_x->text()), NumberTextField::doubleValue(m_y->text()),
            NumberTextField::doubleValue(m_width->text()),
            NumberTextField::doubleValue(m_height->text())};
}

void CropWndCtrl::userChanged()
{
    m_didChange = true;
    m_userChanged = true;
}

void CropWndCtrl::updateCropRatioRectInformation()
{
    if (!canMap()) {
        return;
    }
    userChanged();
    showFieldsFromFrame();
    syncCropItem();
    m_background->update();
}

void CropWndCtrl::syncCropItem()
{
    if (!m_item || !m_userChanged || !canMap()) {
        return;
    }
    if (const auto ratios = CropMapping::itemFromFields(pixels(), m_sourceSize)) {
        CropMapping::writeRatios(*m_item, *ratios);
    }
}

QRectF CropWndCtrl::getVisualCropFrame() const
{
    return m_frame && m_frame->isVisible() ? m_frame->getDisplayRect() : QRectF();
}

void CropWndCtrl::controlTextDidBeginEditing(QLineEdit* field)
{
    if (field == m_width || field == m_height) {
        m_tempStringValue = field->text();
    }
}

void CropWndCtrl::controlTextDidEndEditing(QLineEdit* field)
{
    if ((field != m_width && field != m_height) || !canMap()) {
        return;
    }
    const std::optional<QString> before = m_tempStringValue;
    m_tempStringValue.reset();
    const QString text = field->text();
    if (!before || text == *before) {
        return;  // left without a change
    }
    if (!NumberTextField::isContentAllowed(text)) {
        const QSignalBlocker blocker(field);
        field->setText(*before);
        return;
    }
    const auto minimum = CropMapping::minimumPixels(
        std::min(CropFrameView::minSize().width(), CropFrameView::minSize().height()),
        pictureRect(), m_sourceSize);
    const CropPixels now = pixels();
    const double typed = NumberTextField::doubleValue(text);
    const double size =
        field == m_width
            ? CropMapping::clampedTypedSize(typed, *minimum, m_sourceSize.width(), now.x)
            : CropMapping::clampedTypedSize(typed, *minimum, m_sourceSize.height(), now.y);
    showNumber(field, size);
    userChanged();
    syncCropItem();
    updateCropFrame();
}

void CropWndCtrl::reset()
{
    if (!canMap()) {
        return;
    }
    userChanged();
    m_item->reset();
    updateCropFrame();
    updateCropRatioRectInformation();
}

void CropWndCtrl::done()
{
    endEditting();
}

void CropWndCtrl::endEditting()
{
    if (QWidget* focus = window() ? window()->focusWidget() : nullptr) {
        focus->clearFocus();  // a size being typed ends, and is applied, first
    }
    if (m_item) {
        syncCropItem();
        unload();
    }
    endSheet();
}
