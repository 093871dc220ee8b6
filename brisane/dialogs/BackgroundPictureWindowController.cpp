#include "dialogs/BackgroundPictureWindowController.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/TileGrid.h"
#include "corvane/DVDLibraryResource.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "dialogs/BgPictureCanvasView.h"
#include "dialogs/BgPictureShapeView.h"
#include "dialogs/SingleBackgroundView.h"
#include "dialogs/core/BgPictureGeometry.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/IMenuEditViewController.h"

namespace {

void fillWith(QWidget* widget, int grey)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(grey, grey, grey));
    palette.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(palette);
}

}  // namespace

BackgroundPictureWindowController::BackgroundPictureWindowController(IDocumentHost* host,
                                                                     QWidget* parent)
    : QDialog(parent), m_host(host)
{
    setWindowTitle(tr("Background Picture"));
    setWindowModality(Qt::WindowModal);
    buildWindow();
    loadTemplatePictureResource();
    connect(this, &QDialog::finished, this, [this] { windowWillClose(); });
    connect(m_canvasView, &BgPictureCanvasView::cropChanged, this,
            [this](const QRectF& crop) { m_imageCropRect = crop; });
    refreshControls();
}

void BackgroundPictureWindowController::buildWindow()
{
    fillWith(this, 50);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scrollArea->setFixedWidth(330 + m_scrollArea->verticalScrollBar()->sizeHint().width() + 2);
    m_pictureTableView = new QWidget;
    fillWith(m_pictureTableView, 35);
    m_scrollArea->setWidget(m_pictureTableView);
    m_canvasView = new BgPictureCanvasView(this);
    m_canvasView->setFixedSize(520, 300);
    m_templateChoice = new QRadioButton(tr("Template background"), this);
    m_localChoice = new QRadioButton(tr("My picture"), this);
    auto* chooseButton = new QPushButton(tr("Choose Picture..."), this);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    m_applyAllButton = new QPushButton(tr("Apply to All"), this);
    m_applyButton = new QPushButton(tr("Apply"), this);
    m_applyButton->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(m_templateChoice);
    side->addWidget(m_scrollArea, 1);
    auto* own = new QHBoxLayout;
    own->addWidget(m_localChoice);
    own->addWidget(chooseButton);
    side->addLayout(own);
    auto* main = new QHBoxLayout;
    main->addLayout(side);
    main->addWidget(m_canvasView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(m_applyAllButton);
    buttons->addWidget(m_applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(main, 1);
    layout->addLayout(buttons);
    resize(900, 380);

    connect(m_templateChoice, &QRadioButton::clicked, this,
            [this] { checkUseLocalPicture(false); });
    connect(m_localChoice, &QRadioButton::clicked, this, [this] { checkUseLocalPicture(true); });
    connect(chooseButton, &QPushButton::clicked, this, [this] { choosePictureAction(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelAction(); });
    connect(m_applyAllButton, &QPushButton::clicked, this, [this] { applyToAllAction(); });
    connect(m_applyButton, &QPushButton::clicked, this, [this] { applyAction(); });
}

void BackgroundPictureWindowController::loadTemplatePictureResource()
{
    const auto library = m_host ? m_host->dvdLibSource() : nullptr;
    if (!library) {
        return;
    }
    for (const auto& source : library->backgrounds()) {
        auto* tile = new SingleBackgroundView(source, m_pictureTableView);
        connect(tile, &SingleBackgroundView::chosen, this,
                [this](SingleBackgroundView* chosen) { chooseTemplate(chosen->backSource()); });
        m_tiles << tile;
    }
    relayout();
}

double BackgroundPictureWindowController::layoutFrameView(double width, double minimumHeight)
{
    const QSizeF tile(SingleBackgroundView::kTileSize);
    const int columns = TileGrid::columnsThatFit(width, 5.0, tile.width() + 5.0);
    const double gap = TileGrid::evenGap(width, tile.width(), columns);
    const TileGrid grid(tile, columns, gap, gap, 5.0, 5.0);
    for (int i = 0; i < m_tiles.size(); ++i) {
        m_tiles[i]->setGeometry(grid.fromTop(i).toRect());
    }
    const double height = std::max(float(grid.height(int(m_tiles.size()))), float(minimumHeight));
    m_pictureTableView->resize(int(width), int(std::ceil(height)));
    return height;
}

void BackgroundPictureWindowController::relayout()
{
    const QSize content = m_scrollArea->viewport()->size();
    layoutFrameView(content.width(), content.height());
    m_canvasView->updateViewBoundsWithRect(
        BgPictureGeometry::canvasBox(QRectF(QPointF(0, 0), QSizeF(m_canvasView->size()))));
    showStoredPicture(m_shownImage);
}

void BackgroundPictureWindowController::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayout();
}

void BackgroundPictureWindowController::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    relayout();
}

std::shared_ptr<DVDPage> BackgroundPictureWindowController::currentMenu() const
{
    auto* menuEditor = m_host ? m_host->menuEditController() : nullptr;
    return menuEditor ? menuEditor->currentMenu() : nullptr;
}

QList<std::shared_ptr<DVDPage>> BackgroundPictureWindowController::dvdPageArray() const
{
    const auto disc = m_host ? m_host->dvd() : nullptr;
    return disc ? disc->pageArray() : QList<std::shared_ptr<DVDPage>>();
}

void BackgroundPictureWindowController::showWindowInModel()
{
    updateSettingWhenPageChanged();
    open();
}

void BackgroundPictureWindowController::updateSettingWhenPageChanged()
{
    const auto disc = m_host ? m_host->dvd() : nullptr;
    m_isDvd16_9 = BgPictureGeometry::is16_9ForAspectType(disc ? disc->aspectType() : 1);
    m_canvasView->shapeView()->setIs16_9(m_isDvd16_9);
    const auto page = currentMenu();
    if (!page) {
        refreshControls();
        return;
    }
    const auto resource = page->backgourndPictureResource();
    bool isTemplate = false;
    for (const auto* tile : m_tiles) {
        isTemplate = isTemplate || (resource && tile->backSource() &&
                                    tile->backSource()->fullPath() == resource->fullPath());
    }
    if (isTemplate) {
        m_useLocal = false;
        m_localPath.clear();
        m_localPicResource.reset();
        m_templateSource = resource;
    } else {
        m_useLocal = resource != nullptr;
        m_localPath = resource ? resource->fullPath() : QString();
        m_localPicResource = resource;
    }
    m_imageCanvasRect = page->imageCanvasRect();
    m_imageCropRect = page->imageCropRect();
    showStoredPicture(resource ? resource->backgroundImage() : QImage());
    refreshControls();
}

void BackgroundPictureWindowController::showStoredPicture(const QImage& image)
{
    m_shownImage = image;
    m_canvasView->flushCanvasRectDrawWithImage(image, m_imageCanvasRect, m_imageCropRect);
}

void BackgroundPictureWindowController::flushCanvasImageWhenChanged(const QImage& image)
{
    m_imageCanvasRect = BgPictureGeometry::imageCanvasRect(QSizeF(image.size()));
    m_imageCropRect = BgPictureGeometry::defaultCrop(m_imageCanvasRect, m_isDvd16_9);
    showStoredPicture(image);
    refreshControls();
}

void BackgroundPictureWindowController::choosePictureAction()
{
    auto* panel = new QFileDialog(this, tr("Choose Picture"));
    panel->setFileMode(QFileDialog::ExistingFile);
    QStringList patterns;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
        patterns << "*." + QString::fromLatin1(suffix);
    }
    panel->setNameFilter(tr("Pictures (%1)").arg(patterns.join(' ')));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this,
            [this](const QString& path) { choosePictureFile(path); });
    panel->open();
}

bool BackgroundPictureWindowController::choosePictureFile(const QString& path)
{
    auto resource = DVDMenuBackgroundResource::resourceWithPath(path);
    const QImage image = resource ? resource->backgroundImage() : QImage();
    if (image.isNull()) {
        return false;
    }
    m_localPath = path;
    m_localPicResource = resource;
    m_useLocal = true;
    flushCanvasImageWhenChanged(image);
    return true;
}

void BackgroundPictureWindowController::checkUseLocalPicture(bool useLocal)
{
    m_useLocal = useLocal;
    if (m_useLocal && m_localPicResource) {
        flushCanvasImageWhenChanged(m_localPicResource->backgroundImage());
    } else if (m_templateSource) {
        flushCanvasImageWhenChanged(m_templateSource->backgroundImage());
    } else {
        flushCanvasImageWhenChanged(QImage());
    }
}

void BackgroundPictureWindowController::chooseTemplate(const Resource& source)
{
    m_useLocal = false;
    m_templateSource = source;
    flushCanvasImageWhenChanged(source ? source->backgroundImage() : QImage());
}

BackgroundPictureWindowController::Resource BackgroundPictureWindowController::chosenResource()
    const
{
    return m_useLocal && m_localPicResource ? m_localPicResource : m_templateSource;
}

bool BackgroundPictureWindowController::canApply() const
{
    const Resource picture = chosenResource();
    return picture && !m_shownImage.isNull() && m_imageCanvasRect.width() > 0 &&
           m_imageCropRect.width() > 0 && m_imageCropRect.height() > 0;
}

void BackgroundPictureWindowController::writePage(const std::shared_ptr<DVDPage>& page,
                                                  const Resource& picture) const
{
    if (!page) {
        return;
    }
    page->setBackgourndPictureResource(picture);
    page->setImageCanvasRect(m_imageCanvasRect);
    page->setImageCropRect(m_imageCropRect);
}

void BackgroundPictureWindowController::applyAction()
{
    if (!canApply()) {
        return;
    }
    writePage(currentMenu(), chosenResource());
    accept();
}

void BackgroundPictureWindowController::applyToAllAction()
{
    if (!canApply()) {
        return;
    }
    const Resource picture = chosenResource();
    for (const auto& page : dvdPageArray()) {
        writePage(page, picture);
    }
    accept();
}

void BackgroundPictureWindowController::refreshControls()
{
    {
        const QSignalBlocker blockTemplate(m_templateChoice);
        const QSignalBlocker blockLocal(m_localChoice);
        m_localChoice->setChecked(m_useLocal);
        m_templateChoice->setChecked(!m_useLocal);
        m_localChoice->setEnabled(m_localPicResource != nullptr);
    }
    for (auto* tile : m_tiles) {
        tile->setMarked(m_templateSource && tile->backSource() &&
                        tile->backSource()->fullPath() == m_templateSource->fullPath() &&
                        (m_localPath.isEmpty() || !m_useLocal));
    }
    m_applyButton->setEnabled(canApply());
    m_applyAllButton->setEnabled(canApply());
}

void BackgroundPictureWindowController::windowWillClose()
{
    if (auto* menuEditor = m_host ? m_host->menuEditController() : nullptr) {
        menuEditor->displayCanvasView();
    }
    if (m_host) {
        m_host->setDocumentEdited(true);
    }
}
