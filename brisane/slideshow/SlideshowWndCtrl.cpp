#include "slideshow/SlideshowWndCtrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/TileGrid.h"
#include "media/QuillonRenderer.h"
#include "media/RenderController.h"
#include "media/SlideshowItem.h"
#include "media/TransitionPreview.h"
#include "slideshow/NumberTextField.h"
#include "slideshow/QuartzBackView.h"
#include "slideshow/QuartzPreviewView.h"

namespace {

const QString Suffix = QStringLiteral("S");
constexpr long Decimals = 1;
constexpr double SliderSteps = 10.0;  // slider positions per second
constexpr double MinDuration = 1.0;

QString stringOf(const Value::Dictionary& information, const QString& key)
{
    return information.value(key).toString().value_or(QString());
}

double numberOf(const Value::Dictionary& information, const QString& key)
{
    return information.value(key).toDouble().value_or(0.0);
}

}  // namespace

SlideshowWndCtrl::SlideshowWndCtrl(QWidget* sheetedWindow)
    : SlideshowWndCtrl(sheetedWindow, RenderController::sharedRenderController())
{
}

SlideshowWndCtrl::SlideshowWndCtrl(QWidget* sheetedWindow, RenderController& registry)
    : SheetWindowController(sheetedWindow), m_registry(registry)
{
    for (int i = 0; i < StockPictureCount; ++i) {
        m_previewPictures.append(stockPreviewPicture(i));
    }
    buildWindow();
    setupTemplates(GridWidth);
}

SlideshowWndCtrl::~SlideshowWndCtrl()
{
    stopAllPreviewings();
    m_currentRender.reset();
}

QImage SlideshowWndCtrl::stockPreviewPicture(int index)
{
    return TransitionPreview::samplePicture(
        index, QuartzPreviewView::viewSizeWithTitleOrNot(false).toSize());
}

void SlideshowWndCtrl::buildWindow()
{
    QDialog* sheet = window();
    sheet->setWindowTitle(tr("Themes"));

    m_backView = new QuartzBackView;
    m_templates = new QScrollArea;
    m_templates->setWidget(m_backView);
    m_templates->setWidgetResizable(false);
    m_templates->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_templates->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_templates->setFixedSize(static_cast<int>(GridWidth) +
                                  m_templates->verticalScrollBar()->sizeHint().width() +
                                  2 * m_templates->frameWidth(),
                              3 * 170 + 30);
    QPalette grid = m_templates->viewport()->palette();
    grid.setColor(QPalette::Window, QColor::fromRgbF(0.18, 0.18, 0.18, 1.0));
    m_templates->viewport()->setPalette(grid);
    m_templates->viewport()->setAutoFillBackground(true);

    m_bestDurationLabel = new QLabel;
    m_durationSlider = new QSlider(Qt::Horizontal);
    m_durationSlider->setSingleStep(1);
    m_durationSlider->setPageStep(static_cast<int>(SliderSteps));
    m_durationField = new QLineEdit;
    m_durationField->setFixedWidth(70);
    m_durationField->installEventFilter(this);
    auto* doneButton = new QPushButton(tr("Done"));
    doneButton->setDefault(false);
    doneButton->setAutoDefault(false);
    m_doneButton = doneButton;

    auto* duration = new QHBoxLayout;
    duration->addWidget(new QLabel(tr("Seconds per photo:")));
    duration->addWidget(m_durationSlider, 1);
    duration->addWidget(m_durationField);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_bestDurationLabel);
    bottom->addStretch(1);
    bottom->addWidget(doneButton);

    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(m_templates);
    layout->addLayout(duration);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_durationSlider, &QSlider::valueChanged, this, [this] { changeDuration(); });
    connect(m_durationField, &QLineEdit::editingFinished, this,
            [this] { controlTextDidEndEditing(m_durationField); });
    connect(doneButton, &QPushButton::clicked, this, &SlideshowWndCtrl::done);
}

QAbstractButton* SlideshowWndCtrl::btnDone() const
{
    return m_doneButton;
}

bool SlideshowWndCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_durationField && event->type() == QEvent::FocusIn) {
        controlTextDidBeginEditing(m_durationField);
    }
    return SheetWindowController::eventFilter(watched, event);
}

void SlideshowWndCtrl::setupTemplates(double width)
{
    QuartzPreviewView::updatePreviewSpeed(PreviewSpeed);
    const int count = m_registry.quartzsCount();
    const QSizeF tile = QuartzPreviewView::viewSizeWithTitleOrNot(true);
    const double gap = TileGrid::evenGap(width, tile.width(), Columns);
    const TileGrid grid(tile, Columns, gap, gap, RowGap, RowGap);
    const double height = grid.height(count);
    m_backView->resize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
    for (int i = 0; i < count; ++i) {
        const Value::Dictionary information = m_registry.informationAtIndex(i);
        auto* view =
            new QuartzPreviewView(m_backView->widgetRect(grid.fromBottom(i, height)), m_backView);
        m_tiles.append(view);
        view->setODelegate(this);
        view->setImgThumbnailImage(m_registry.thumbnailWithInformation(information));
        view->setDBestDuration(numberOf(information, QStringLiteral("BestDuration")));
        view->initInterfaceWithTitle(stringOf(information, QStringLiteral("QuartzName")));
        view->show();
    }
}

QRectF SlideshowWndCtrl::frameOfTile(const QuartzPreviewView* tile) const
{
    // The conversion is its own inverse: a widget rectangle gives the y-up one.
    return tile ? m_backView->widgetRect(QRectF(tile->geometry())) : QRectF();
}

QuartzPreviewView* SlideshowWndCtrl::previewViewOfName(const QString& name) const
{
    for (int i = 0; i < m_registry.quartzsCount() && i < m_tiles.size(); ++i) {
        if (stringOf(m_registry.informationAtIndex(i), QStringLiteral("QuartzName")) == name) {
            return m_tiles[i];
        }
    }
    return nullptr;
}

void SlideshowWndCtrl::stopAllPreviewings()
{
    for (QuartzPreviewView* tile : m_tiles) {
        tile->stopPreviewing();
    }
}

void SlideshowWndCtrl::startEditting(const std::shared_ptr<SlideshowItem>& item)
{
    beginEditting(item);
    runSheet();
}

void SlideshowWndCtrl::beginEditting(const std::shared_ptr<SlideshowItem>& item)
{
    m_didChange = false;
    m_item = item;
    m_tempStringValue.reset();
    refreshDuration();
    m_previewView = item ? previewViewOfName(item->strSlideshowName()) : nullptr;
    if (m_previewView) {
        m_templates->ensureWidgetVisible(m_previewView, 0, 0);
    }
    m_backView->setRctChoosenFrame(frameOfTile(m_previewView));
}

void SlideshowWndCtrl::endEditting()
{
    // An edit still open in the duration field is applied first.
    if (m_tempStringValue) {
        controlTextDidEndEditing(m_durationField);
    }
    if (QWidget* focused = window() ? window()->focusWidget() : nullptr) {
        const QSignalBlocker blockField(m_durationField);  // its edit is applied above
        focused->clearFocus();
    }
    m_tempStringValue.reset();
    stopAllPreviewings();
    m_currentRender.reset();
    m_item.reset();
    endSheet();
}

void SlideshowWndCtrl::done()
{
    endEditting();
}

void SlideshowWndCtrl::refreshDuration()
{
    const QSignalBlocker blockSlider(m_durationSlider);
    const QSignalBlocker blockField(m_durationField);
    if (!m_item) {
        m_bestDurationLabel->clear();
        return;
    }
    m_bestDurationLabel->setText(
        QString::asprintf("Best Duration: %3.1f s", m_item->dBestDuration()));
    const double maximum =
        m_item->dMaxDuration() > MinDuration ? m_item->dMaxDuration() : DefaultMaxDuration;
    m_durationSlider->setRange(static_cast<int>(std::lround(MinDuration * SliderSteps)),
                               static_cast<int>(std::lround(maximum * SliderSteps)));
    showDuration(m_item->dDuration());
}

void SlideshowWndCtrl::showDuration(double seconds)
{
    const QSignalBlocker blockSlider(m_durationSlider);
    const QSignalBlocker blockField(m_durationField);
    setSliderValue(seconds);
    NumberTextField::textFieldSetValue(m_durationField, seconds, Decimals, Suffix);
}

double SlideshowWndCtrl::sliderValue() const
{
    return m_durationSlider->value() / SliderSteps;
}

void SlideshowWndCtrl::setSliderValue(double seconds)
{
    m_durationSlider->setValue(static_cast<int>(std::lround(seconds * SliderSteps)));
}

double SlideshowWndCtrl::sliderMinValue() const
{
    return m_durationSlider->minimum() / SliderSteps;
}

double SlideshowWndCtrl::sliderMaxValue() const
{
    return m_durationSlider->maximum() / SliderSteps;
}

void SlideshowWndCtrl::changeDuration()
{
    m_didChange = true;
    const double value = sliderValue();
    {
        const QSignalBlocker blockField(m_durationField);
        NumberTextField::textFieldSetValue(m_durationField, value, Decimals, Suffix);
    }
    if (m_item && m_item->dDuration() != value) {
        m_item->setDDuration(value);
    }
}

void SlideshowWndCtrl::controlTextDidBeginEditing(QLineEdit* field)
{
    if (field) {
        m_tempStringValue = field->text();
    }
}

void SlideshowWndCtrl::controlTextDidEndEditing(QLineEdit* field)
{
    if (!field) {
        return;
    }
    m_didChange = true;
    TextFieldValueRange range;
    if (field == m_durationField) {
        range = {true, sliderMinValue(), sliderMaxValue()};
    }
    {
        const QSignalBlocker blockField(field);
        NumberTextField::endInTextField(field, Decimals, range,
                                        m_tempStringValue.value_or(QString()), Suffix);
    }
    m_tempStringValue.reset();
    const double value = NumberTextField::valueOfTextField(field, Suffix);
    {
        const QSignalBlocker blockSlider(m_durationSlider);
        setSliderValue(value);
    }
    if (m_item && m_item->dDuration() != value) {
        m_item->setDDuration(value);
    }
    // Editing begins again the next time the field changes or takes the focus.
    if (field->hasFocus()) {
        m_tempStringValue = field->text();
    }
}

void SlideshowWndCtrl::didEnterQuartzPreview(QuartzPreviewView* view)
{
    stopAllPreviewings();
    m_currentRender.reset();
    if (!view || !view->strTitle()) {
        return;
    }
    std::optional<Value::Dictionary> information = m_registry.informationOfName(*view->strTitle());
    if (!information) {
        return;
    }
    const QSizeF size = QuartzPreviewView::viewSizeWithTitleOrNot(false);
    information->insert(QStringLiteral("RenderingWidth"), Value(size.width()));
    information->insert(QStringLiteral("RenderingHeight"), Value(size.height()));
    m_currentRender = m_registry.renderWithInformation(*information);
    if (!m_currentRender) {
        return;  // nothing to preview: the still picture stays
    }
    // Only eight stock pictures exist: a transition asking for more gets eight.
    const qint64 count = std::clamp<qint64>(
        information->value(QStringLiteral("BestCount")).toInt().value_or(0), 0, StockPictureCount);
    Value::Array images;
    for (qint64 j = 0; j < count; ++j) {
        images.append(
            Value(Value::Dictionary{{QStringLiteral("Image"), Value(m_previewPictures[j])}}));
    }
    m_currentRender->setValueForInputKey(Value(images), QStringLiteral("Images"));
    m_currentRender->setValueForInputKey(Value(0.0), QStringLiteral("Time"));
    view->startPreviewing();
}

void SlideshowWndCtrl::didExitQuartzPreview(QuartzPreviewView* view)
{
    if (view) {
        view->stopPreviewing();
    }
    m_currentRender.reset();
}

void SlideshowWndCtrl::didChooseQuartzPreview(QuartzPreviewView* view)
{
    if (!view) {
        return;
    }
    m_didChange = true;
    if (m_item) {
        m_item->mergeFromDic(view->strTitle() ? m_registry.informationOfName(*view->strTitle())
                                              : std::nullopt);
        m_item->setDDuration(m_item->dBestDuration());
    }
    refreshDuration();
    m_backView->setRctChoosenFrame(frameOfTile(view));
}

void SlideshowWndCtrl::makeQuartzRendererImageOf(QuartzPreviewView* view, double time)
{
    if (!m_currentRender || !view) {
        return;
    }
    m_currentRender->setValueForInputKey(Value(time), QStringLiteral("Time"));
    m_currentRender->renderAtTime(0.0);
    view->setImgRenderingImage(m_currentRender->snapshotImage());
}
