#include "dialogs/TitleTextEditWindowController.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/CommonFunction.h"
#include "common/widgets/AlertService.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDLibraryResource.h"
#include "dialogs/ItemZoomSlider.h"
#include "dialogs/MenuEditorAccess.h"
#include "dialogs/SingleFrameView.h"
#include "dialogs/TemplateTileGrid.h"
#include "dialogs/TextStylePanel.h"
#include "dialogs/TitlePictureSource.h"
#include "dialogs/TitleTextWndBgView.h"
#include "dialogs/core/ItemZoomLimits.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/EffectTextImage.h"
#include "shell/core/IDocumentHost.h"

namespace {

constexpr int roundSteps = 100;

// The width and height a picture title without a remembered frame gets.
constexpr double defaultImageWidth = 200.0;

QWidget* makePlace(QWidget* parent, const char* name)
{
    auto* place = new QWidget(parent);
    place->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    return place;
}

void addUndoActions(QWidget* window, QUndoStack* stack)
{
    QAction* undo = stack->createUndoAction(window);
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = stack->createRedoAction(window);
    redo->setShortcut(QKeySequence::Redo);
    window->addAction(undo);
    window->addAction(redo);
}

QColor purple()
{
    return QColor::fromRgbF(0.5f, 0.0f, 0.5f);
}

}  // namespace

TitleTextEditWindowController::TitleTextEditWindowController(MenuEditViewController* editor,
                                                             QWidget* parent)
    : editor_(editor)
{
    loadView(parent);
    awakeFromNib();
}

TitleTextEditWindowController::~TitleTextEditWindowController()
{
    delete textEditWindow_;
    delete window_;
}

// ---- building

void TitleTextEditWindowController::loadView(QWidget* parent)
{
    window_ = new QDialog(parent);
    window_->setObjectName(nibName());
    window_->setWindowModality(Qt::ApplicationModal);
    window_->setWindowTitle(QStringLiteral("Frame Edit"));
    undoStack_ = new QUndoStack(window_);
    addUndoActions(window_, undoStack_);

    panel_ = new TextStylePanel(TextStylePanel::Host::Title, *undoStack_, editor_, window_);
    zoom_ = new ItemZoomSlider(0.0f, 1.0f, 0.0f, editor_, window_);

    auto* layout = new QVBoxLayout(window_);
    auto* kindRow = new QHBoxLayout;
    radioGroup_ = new QButtonGroup(window_);
    imageRadio_ = new QRadioButton(tr("Picture"), window_);
    textRadio_ = new QRadioButton(tr("Text"), window_);
    radioGroup_->addButton(imageRadio_, 0);
    radioGroup_->addButton(textRadio_, 1);
    useFrameCheckBox_ = new QCheckBox(tr("Use frame"), window_);
    kindRow->addWidget(imageRadio_);
    kindRow->addWidget(textRadio_);
    kindRow->addSpacing(24);
    kindRow->addWidget(useFrameCheckBox_);
    kindRow->addStretch(1);
    layout->addLayout(kindRow);

    picture_ = new TitlePictureSource(editor_, window_);
    titleTypeTabView_ = new QStackedWidget(window_);
    titleTypeTabView_->addWidget(makeRoundTab());
    titleTypeTabView_->addWidget(makeFrameTab());
    titleTypeTabView_->addWidget(makeTextTab());
    layout->addWidget(titleTypeTabView_, 1);
    layout->addWidget(zoom_->zoomControlView());

    auto* closeRow = new QHBoxLayout;
    auto* closeButton = new QPushButton(tr("Close"), window_);
    closeRow->addStretch(1);
    closeRow->addWidget(closeButton);
    layout->addLayout(closeRow);
    window_->resize(560, 600);

    connect(closeButton, &QPushButton::clicked, window_, &QDialog::accept);
    connect(radioGroup_, &QButtonGroup::idClicked, this,
            [this](int index) { useImageOrTextTitleRadioAction(index); });
    connect(useFrameCheckBox_, &QCheckBox::toggled, this,
            [this](bool on) { checkUseFrameButtonAction(on); });
    connect(window_, &QDialog::finished, this, [this] { windowWillClose(); });

    makeTextEditWindow(parent);
}

QWidget* TitleTextEditWindowController::makeRoundTab()
{
    auto* tab = new QWidget(window_);
    auto* layout = new QVBoxLayout(tab);
    auto* roundRow = new QHBoxLayout;
    roundSlider_ = new QSlider(Qt::Horizontal, tab);
    roundSlider_->setRange(0, roundSteps);
    roundField_ = new QLineEdit(tab);
    roundField_->setFixedWidth(56);
    roundRow->addWidget(new QLabel(tr("Rounded corners:"), tab));
    roundRow->addWidget(roundSlider_, 1);
    roundRow->addWidget(roundField_);
    layout->addLayout(roundRow);
    roundImageContainerView_ = makePlace(tab, "roundImageContainerView");
    roundShadowContainerView_ = makePlace(tab, "roundShadowContainerView");
    layout->addWidget(roundImageContainerView_);
    layout->addWidget(roundShadowContainerView_);
    layout->addStretch(1);

    connect(roundSlider_, &QSlider::valueChanged, this,
            [this](int value) { roundChangeUseSlider(static_cast<double>(value) / roundSteps); });
    connect(roundField_, &QLineEdit::editingFinished, this, [this] {
        bool ok = false;
        const double value = roundField_->text().toDouble(&ok);
        roundChangeUseField(ok ? value : titleRoundValue_);
    });
    return tab;
}

QWidget* TitleTextEditWindowController::makeFrameTab()
{
    auto* tab = new QWidget(window_);
    auto* layout = new QVBoxLayout(tab);
    frameScrollView_ = new QScrollArea(tab);
    frameScrollView_->setObjectName(QStringLiteral("frameScrollView"));
    frameScrollView_->setWidgetResizable(false);
    frameScrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frameScrollView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    frameScrollView_->setMinimumHeight(200);
    frameTableView_ = new QWidget;
    frameTableView_->setObjectName(QStringLiteral("frameTableView"));
    frameScrollView_->setWidget(frameTableView_);
    frameScrollView_->viewport()->installEventFilter(this);
    layout->addWidget(frameScrollView_, 1);
    frameImageContainerView_ = makePlace(tab, "frameImageContainerView");
    frameShadowContainerView_ = makePlace(tab, "frameShadowContainerView");
    layout->addWidget(frameImageContainerView_);
    layout->addWidget(frameShadowContainerView_);
    return tab;
}

QWidget* TitleTextEditWindowController::makeTextTab()
{
    auto* tab = new QWidget(window_);
    auto* layout = new QVBoxLayout(tab);
    textContainerView_ = makePlace(tab, "textContainerView");
    textTitleShadowContainerView_ = makePlace(tab, "textTitleShadowContainerView");
    auto* apply = new QPushButton(tr("Apply to all"), tab);
    layout->addWidget(textContainerView_);
    layout->addWidget(textTitleShadowContainerView_);
    auto* applyRow = new QHBoxLayout;
    applyRow->addStretch(1);
    applyRow->addWidget(apply);
    layout->addLayout(applyRow);
    layout->addStretch(1);
    connect(apply, &QPushButton::clicked, this, [this] { applyTextTitleEditToAllTextTitle(); });
    return tab;
}

void TitleTextEditWindowController::makeTextEditWindow(QWidget* parent)
{
    textEditWindow_ = new QDialog(parent);
    textEditWindow_->setObjectName(QStringLiteral("textEditWindow"));
    textEditWindow_->setWindowModality(Qt::ApplicationModal);
    textEditWindow_->setWindowTitle(tr("Text Edit"));
    addUndoActions(textEditWindow_, undoStack_);
    QPalette dark = textEditWindow_->palette();
    dark.setColor(QPalette::Window, TitleTextWndBgView::backgroundColor());
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    textEditWindow_->setPalette(dark);

    auto* outer = new QVBoxLayout(textEditWindow_);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* background = new TitleTextWndBgView(textEditWindow_);
    outer->addWidget(background);
    auto* layout = new QVBoxLayout(background);
    textEditContainerView_ = makePlace(background, "textEditContainerView");
    textShadowContainerView_ = makePlace(background, "textShadowContainerView");
    layout->addWidget(textEditContainerView_);
    layout->addWidget(textShadowContainerView_);
    auto* buttons = new QHBoxLayout;
    auto* apply = new QPushButton(tr("Apply to all"), background);
    auto* closeButton = new QPushButton(tr("Close"), background);
    buttons->addWidget(apply);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    textEditWindow_->resize(520, 520);

    connect(apply, &QPushButton::clicked, this, [this] { applyStaticTextEditToAllAction(); });
    connect(closeButton, &QPushButton::clicked, textEditWindow_, &QDialog::accept);
    connect(textEditWindow_, &QDialog::finished, this, [this] { windowWillClose(); });
}

void TitleTextEditWindowController::awakeFromNib()
{
    showRadio(0);
    showUseFrame(true);
    titleRoundValue_ = 0.1;
    showRoundValue();
    loadFrameView();
    moveViewInto(panel_->textEditView(), textContainerView_);
    addShadowControlViewToSuperView(roundShadowContainerView_);
    moveViewInto(picture_->imageTypeControlView(), roundImageContainerView_);
    panel_->setUp();
    panel_->updateTextMediaAttributes();
}

bool TitleTextEditWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (frameScrollView_ && watched == frameScrollView_->viewport() &&
        event->type() == QEvent::Resize) {
        layoutFrameView();
    }
    return QObject::eventFilter(watched, event);
}

// ---- places

void TitleTextEditWindowController::moveViewInto(QWidget* view, QWidget* place)
{
    if (!view || !place || view->parentWidget() == place) {
        return;
    }
    place->layout()->addWidget(view);
    view->show();
}

void TitleTextEditWindowController::addShadowControlViewToSuperView(QWidget* place)
{
    moveViewInto(panel_->shadowControlView(), place);
}

void TitleTextEditWindowController::showImageTitleTab(bool withFrame)
{
    QWidget* shadowPlace = withFrame ? frameShadowContainerView_ : roundShadowContainerView_;
    QWidget* imagePlace = withFrame ? frameImageContainerView_ : roundImageContainerView_;
    addShadowControlViewToSuperView(shadowPlace);
    moveViewInto(picture_->imageTypeControlView(), imagePlace);
    titleTypeTabView_->setCurrentIndex(withFrame ? 1 : 0);
}

void TitleTextEditWindowController::showTextTitleTab()
{
    addShadowControlViewToSuperView(textTitleShadowContainerView_);
    titleTypeTabView_->setCurrentIndex(2);
}

void TitleTextEditWindowController::showRadio(int index)
{
    radioSelectIndex_ = index;
    const QSignalBlocker blocker(radioGroup_);
    (index == 1 ? textRadio_ : imageRadio_)->setChecked(true);
    useFrameCheckBox_->setVisible(index == 0);
}

void TitleTextEditWindowController::showUseFrame(bool on)
{
    useFrame_ = on;
    const QSignalBlocker blocker(useFrameCheckBox_);
    useFrameCheckBox_->setChecked(on);
}

void TitleTextEditWindowController::showRoundValue()
{
    const QSignalBlocker sliderBlocker(roundSlider_);
    roundSlider_->setValue(static_cast<int>(std::lround(titleRoundValue_ * roundSteps)));
    roundField_->setText(QString::number(titleRoundValue_, 'f', 2));
}

// ---- the edited item

std::shared_ptr<DVDPageItem> TitleTextEditWindowController::currentMedia() const
{
    return editor_.currentItem();
}

// ---- ITitleTextEditWindowController

QWidget* TitleTextEditWindowController::window()
{
    return window_;
}

QWidget* TitleTextEditWindowController::staticTextEditWindow()
{
    return textEditWindow_;
}

float TitleTextEditWindowController::getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>& item)
{
    return item ? ItemZoomLimits::getMinZoomWithFrame(item->frame()) : 1.0f;
}

float TitleTextEditWindowController::getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>& item)
{
    return ItemZoomLimits::zoomRangeOfItem(item, editor_.menuCanvasRect(), editor_.sourceArray())
        .maxZoom;
}

void TitleTextEditWindowController::updateWndSettingWhenEditTitleMedia()
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    window_->setWindowTitle(QStringLiteral("Frame Edit"));
    switch (item->titleUseType()) {
        case 0:
            showUseFrame(false);
            moveViewInto(picture_->imageTypeControlView(), roundImageContainerView_);
            titleTypeTabView_->setCurrentIndex(0);
            showRadio(0);
            break;
        case 1:
            showUseFrame(true);
            moveViewInto(picture_->imageTypeControlView(), frameImageContainerView_);
            titleTypeTabView_->setCurrentIndex(1);
            showRadio(0);
            break;
        case 2:
            moveViewInto(panel_->textEditView(), textContainerView_);
            titleTypeTabView_->setCurrentIndex(2);
            showRadio(1);
            break;
        default:
            break;
    }
    updateAllAttriWhenWindowOpen();
}

void TitleTextEditWindowController::updateAllAttriWhenWindowOpen()
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    if (item->type() != 4) {
        showRadio(0);
        showUseFrame(item->useFrame());
        showImageTitleTab(item->useFrame());
    } else {
        showRadio(1);
        moveViewInto(panel_->textEditView(), textContainerView_);
        showTextTitleTab();
    }
    titleRoundValue_ = item->titleRoundValue();
    showRoundValue();
    updateFrameAttributes();
    panel_->updateTextMediaAttributes();
    panel_->updateShadowAttributes();
}

void TitleTextEditWindowController::updateFrameAttributes()
{
    zoom_->updateSelfZoomSlider();
    frameTableView_->update();
    picture_->updateTitleUseImage();
}

void TitleTextEditWindowController::prepareStaticTextEditWindow()
{
    moveViewInto(panel_->textEditView(), textEditContainerView_);
    if (currentMedia()) {
        panel_->updateTextMediaAttributes();
        addShadowControlViewToSuperView(textShadowContainerView_);
        panel_->updateShadowAttributes();
    }
}

void TitleTextEditWindowController::showStaticTextEditWindow()
{
    prepareStaticTextEditWindow();
    textEditWindow_->exec();
}

void TitleTextEditWindowController::addTextMediaAction()
{
    const auto page = editor_.currentMenu();
    if (!page) {
        return;
    }
    auto text = std::make_shared<EffectTextImage>();
    auto item = std::make_shared<DVDPageItem>();
    item->setFrameResource(nullptr);
    item->setButtonResource(nullptr);
    item->setType(2);
    item->setTextSource(text);
    text->setMedia(item);
    item->setHasShadow(true);
    item->setShadowAngleValue(45);
    item->setShadowBlursizeValue(4);
    item->setShadowOffsetValue(3.0f);
    item->setShadowColor(Qt::black);
    const QPointF centre = CommonFunction::centerForRect(editor_.menuCanvasRect());
    const QRectF frame = CommonFunction::rectForCenter(centre, text->size());
    item->setFrame(frame);
    item->setTitleOldFrame(frame);

    auto items = page->itemArray();
    items.append(item);
    page->setItemArray(items);
    editor_.displayCanvasView();
}

// ---- image or text

QRectF TitleTextEditWindowController::remembredImageFrame(const DVDPageItem& item) const
{
    // A title that never showed a picture has no remembered frame: it takes
    // the width of its present frame, or a default width.
    double width = item.titleOldFrame().width();
    if (!(width > 0.0)) {
        width = item.frame().width();
    }
    if (!(width > 0.0)) {
        width = defaultImageWidth;
    }
    const QPointF centre = CommonFunction::centerForRect(item.frame());
    return editor_.boundInCanvasLimit(
        CommonFunction::rectForCenter(centre, QSizeF(width, width * 0.75)));
}

void TitleTextEditWindowController::useImageOrTextTitleRadioAction(int index)
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    showRadio(index == 1 ? 1 : 0);
    if (index == 1) {
        // Only a picture's frame is remembered: choosing "Text" again keeps
        // the picture frame remembered before.
        if (item->type() != 4) {
            item->setTitleOldFrame(item->frame());
        }
        item->setUseFrame(false);
        item->setType(4);
        if (!item->textSource()) {
            auto text = std::make_shared<EffectTextImage>();
            text->setTextString(QStringLiteral("New Title"));
            text->setMedia(item);
            text->setBackgroundType(1);
            text->setBackgroundColor(purple());
            item->setTextSource(text);
            EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
        }
        item->textSource()->setMedia(item);
        EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*item->textSource());
        moveViewInto(panel_->textEditView(), textContainerView_);
        panel_->updateTextMediaAttributes();
        item->setTitleUseType(2);
        item->setUseStaticImage(true);
        showTextTitleTab();
        return;
    }
    item->setTextSource(nullptr);
    item->setType(1);
    item->setFrame(remembredImageFrame(*item));
    item->setTitleUseType(useFrame_ ? 1 : 0);
    item->setUseFrame(useFrame_);
    showImageTitleTab(useFrame_);
    // The zoom scales the frame the picture has now, not the text's.
    zoom_->updateSelfZoomSlider();
    editor_.updateItemControlViewFrame();
    editor_.displayCanvasView();
}

void TitleTextEditWindowController::checkUseFrameButtonAction(bool on)
{
    useFrame_ = on;
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    item->setUseFrame(on);
    item->setTitleUseType(on ? 1 : 0);
    showImageTitleTab(on);
    editor_.updateItemControlViewFrame();
    editor_.displayCanvasView();
}

void TitleTextEditWindowController::roundChangeUseSlider(double value)
{
    titleRoundValue_ = value;
    showRoundValue();
    if (const auto item = currentMedia()) {
        item->setTitleRoundValue(titleRoundValue_);
    }
}

void TitleTextEditWindowController::roundChangeUseField(double value)
{
    roundChangeUseSlider(std::clamp(value, 0.0, 1.0));
}

// ---- frame tiles

void TitleTextEditWindowController::loadFrameView()
{
    const auto library = editor_.dvdLibSource();
    if (!library) {
        return;
    }
    for (const auto& frame : library->frames()) {
        auto* tile = new SingleFrameView(frame, editor_, frameTableView_);
        tile->show();
    }
    layoutFrameView();
}

void TitleTextEditWindowController::layoutFrameView()
{
    TemplateTileGrid::layOut(*frameScrollView_);
}

// ---- apply to all

void TitleTextEditWindowController::applyTextTitleEditToAllTextTitle()
{
    const AlertContent alert{
        QStringLiteral("Do you want to apply the text setting to all text titles ?"), QString(),
        QStringLiteral("Apply to all"), QStringLiteral("Cancel"), QString()};
    if (AlertService::current()->runAlert(alert, window_) != AlertService::DefaultReturn) {
        return;
    }
    applyTextStyleToAllItemsOfType(4);
}

void TitleTextEditWindowController::applyStaticTextEditToAllAction()
{
    const AlertContent alert{
        QStringLiteral("Do you want to apply the text setting to all static texts ?"), QString(),
        QStringLiteral("Apply to all"), QStringLiteral("Cancel"), QString()};
    if (AlertService::current()->runAlert(alert, textEditWindow_) != AlertService::DefaultReturn) {
        return;
    }
    applyTextStyleToAllItemsOfType(2);
}

void TitleTextEditWindowController::applyTextStyleToAllItemsOfType(qint64 type)
{
    const auto current = currentMedia();
    const auto disc = editor_.dvd();
    const auto style = current ? current->textSource() : nullptr;
    if (!current || !disc || !style) {
        return;
    }
    for (const auto& page : disc->pageArray()) {
        for (const auto& item : page->itemArray()) {
            const auto text = item ? item->textSource() : nullptr;
            if (!text || item->type() != type) {
                continue;
            }
            text->setTextFillType(style->textFillType());
            text->setBackgroundType(style->backgroundType());
            text->setBackgroundImage(style->backgroundImage());
            text->setBackgroundColor(style->backgroundColor());
            text->setTextImage(style->textImage());
            text->setTextGradient(style->textGradient());
            text->setBackgroundRadius(style->backgroundRadius());
            text->setTextFont(style->textFont());
            text->setTextOutlineColor(style->textOutlineColor());
            text->setHasOutline(style->hasOutline());
            text->setOutlineWidth(style->outlineWidth());
            text->setMedia(item);
            EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
            item->setHasShadow(current->hasShadow());
            item->setShadowAngleValue(current->shadowAngleValue());
            item->setShadowColor(current->shadowColor());
            item->setShadowOffsetValue(current->shadowOffsetValue());
            item->setShadowBlursizeValue(current->shadowBlursizeValue());
        }
    }
    editor_.displayCanvasView();
}

// ---- closing

void TitleTextEditWindowController::windowWillClose()
{
    panel_->finishEditing();
    editor_.markDocumentEdited();
}
