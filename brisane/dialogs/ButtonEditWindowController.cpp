#include "dialogs/ButtonEditWindowController.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDialog>
#include <QEvent>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryResource.h"
#include "dialogs/ColorWell.h"
#include "dialogs/ImageOpenPanel.h"
#include "dialogs/ImageWell.h"
#include "dialogs/ItemZoomSlider.h"
#include "dialogs/MenuEditorAccess.h"
#include "dialogs/SingleButtonView.h"
#include "dialogs/TemplateTileGrid.h"
#include "dialogs/TextStylePanel.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/EffectTextImage.h"
#include "platform/BoundedImage.h"
#include "shell/core/IDocumentHost.h"

namespace {

constexpr double defaultButtonPointSize = 30.0;

QColor purple()
{
    return QColor::fromRgbF(0.5f, 0.0f, 0.5f);
}

}  // namespace

ButtonEditWindowController::ButtonEditWindowController(MenuEditViewController* editor,
                                                       QWidget* parent)
    : editor_(editor)
{
    loadView(parent);
    awakeFromNib();
}

ButtonEditWindowController::~ButtonEditWindowController()
{
    delete window_;
}

int ButtonEditWindowController::buttonType(const DVDLibraryButtonResource* resource)
{
    if (!resource) {
        return 0;
    }
    const QString name = resource->name();
    if (name.endsWith(QStringLiteral("-pre"))) {
        return 1;
    }
    if (name.endsWith(QStringLiteral("-play"))) {
        return 2;
    }
    if (name.endsWith(QStringLiteral("-next"))) {
        return 3;
    }
    return 0;
}

QString ButtonEditWindowController::defaultButtonText(qint64 type)
{
    if (type == 11) {
        return QStringLiteral("Play");
    }
    if (type == 12) {
        return QStringLiteral("Previous");
    }
    return QStringLiteral("Next");
}

// ---- building

void ButtonEditWindowController::loadView(QWidget* parent)
{
    window_ = new QDialog(parent);
    window_->setObjectName(nibName());
    window_->setWindowModality(Qt::ApplicationModal);
    window_->setWindowTitle(tr("Button Edit"));
    undoStack_ = new QUndoStack(window_);
    QAction* undo = undoStack_->createUndoAction(window_);
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undoStack_->createRedoAction(window_);
    redo->setShortcut(QKeySequence::Redo);
    window_->addAction(undo);
    window_->addAction(redo);

    panel_ = new TextStylePanel(TextStylePanel::Host::Button, *undoStack_, editor_, window_);
    zoom_ = new ItemZoomSlider(0.0f, 0.0f, 0.0f, editor_, window_);
    zoom_->setStoresTitleOldFrame(true);

    auto* layout = new QVBoxLayout(window_);
    auto* kindRow = new QHBoxLayout;
    useTypeGroup_ = new QButtonGroup(window_);
    pictureRadio_ = new QRadioButton(tr("Picture"), window_);
    textRadio_ = new QRadioButton(tr("Text"), window_);
    useTypeGroup_->addButton(pictureRadio_, 0);
    useTypeGroup_->addButton(textRadio_, 1);
    kindRow->addWidget(pictureRadio_);
    kindRow->addWidget(textRadio_);
    kindRow->addStretch(1);
    layout->addLayout(kindRow);

    tabView_ = new QStackedWidget(window_);
    auto* pictureTab = new QWidget(tabView_);
    auto* pictureLayout = new QVBoxLayout(pictureTab);
    buttonScrollView_ = new QScrollArea(pictureTab);
    buttonScrollView_->setObjectName(QStringLiteral("buttonScrollView"));
    buttonScrollView_->setWidgetResizable(false);
    buttonScrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    buttonScrollView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    buttonScrollView_->setMinimumHeight(200);
    buttonTabLeView_ = new QWidget;
    buttonTabLeView_->setObjectName(QStringLiteral("buttonTabLeView"));
    buttonScrollView_->setWidget(buttonTabLeView_);
    buttonScrollView_->viewport()->installEventFilter(this);
    chooseLocalImageButton_ = new QPushButton(tr("Add Picture..."), pictureTab);
    pictureLayout->addWidget(buttonScrollView_, 1);
    auto* addRow = new QHBoxLayout;
    addRow->addStretch(1);
    addRow->addWidget(chooseLocalImageButton_);
    pictureLayout->addLayout(addRow);
    auto* textTab = new QWidget(tabView_);
    auto* textLayout = new QVBoxLayout(textTab);
    textLayout->addWidget(panel_->textEditView());
    textLayout->addStretch(1);
    tabView_->addWidget(pictureTab);
    tabView_->addWidget(textTab);
    layout->addWidget(tabView_, 1);
    layout->addWidget(panel_->shadowControlView());

    tempZoomContainerView_ = new QWidget(window_);
    tempZoomContainerView_->setObjectName(QStringLiteral("tempZoomContainerView"));
    auto* zoomPlace = new QVBoxLayout(tempZoomContainerView_);
    zoomPlace->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tempZoomContainerView_);

    auto* closeRow = new QHBoxLayout;
    auto* closeButton = new QPushButton(tr("Close"), window_);
    closeRow->addStretch(1);
    closeRow->addWidget(closeButton);
    layout->addLayout(closeRow);
    window_->resize(540, 600);

    connect(closeButton, &QPushButton::clicked, window_, &QDialog::accept);
    connect(useTypeGroup_, &QButtonGroup::idClicked, this,
            [this](int useType) { useImageOrTextAction(useType); });
    connect(chooseLocalImageButton_, &QPushButton::clicked, this,
            [this] { chooseButtonLocalImageAction(); });
    connect(window_, &QDialog::finished, this, [this] { windowWillClose(); });
}

void ButtonEditWindowController::awakeFromNib()
{
    buttonUseType_ = 0;
    showUseType();
    loadButtonVieWithType(0);
    panel_->setUp();
    panel_->updateTextMediaAttributes();
}

bool ButtonEditWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (buttonScrollView_ && watched == buttonScrollView_->viewport() &&
        event->type() == QEvent::Resize) {
        layoutButtonView();
    }
    return QObject::eventFilter(watched, event);
}

void ButtonEditWindowController::showUseType()
{
    const QSignalBlocker blocker(useTypeGroup_);
    (buttonUseType_ == 0 ? pictureRadio_ : textRadio_)->setChecked(true);
    tabView_->setCurrentIndex(buttonUseType_ == 0 ? 0 : 1);
}

// ---- the edited item

QWidget* ButtonEditWindowController::window()
{
    return window_;
}

std::shared_ptr<DVDPageItem> ButtonEditWindowController::currentMedia() const
{
    return editor_.currentItem();
}

void ButtonEditWindowController::updateButtonAttributes()
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    initDefaultButtonMediaTextSource();
    buttonUseType_ = item->buttonUseType() == 0 ? 0 : 1;
    showUseType();
    flushZoomControlViewSuperview();
    zoom_->updateSelfZoomSlider(item->buttonUseType() != 1);
    if (!item->isButtonItem()) {
        isButtonType_ = false;
        buttonTabLeView_->update();
        return;
    }
    isButtonType_ = true;
    removeAllButtonViews();
    loadButtonVieWithType(buttonType(item->buttonResource().get()));
    if (item->textSource()) {
        panel_->updateTextMediaAttributes();
    }
    panel_->updateShadowAttributes();
}

void ButtonEditWindowController::initDefaultButtonMediaTextSource()
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    if (!item->textSource()) {
        auto text = std::make_shared<EffectTextImage>();
        text->setTextString(defaultButtonText(item->type()));
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setPointSizeF(defaultButtonPointSize);
        text->setTextFont(font);
        text->setMedia(item);
        text->setBackgroundType(0);
        text->setBackgroundColor(purple());
        item->setTextSource(text);
    }
    editor_.displayCanvasView();
}

// ---- tiles

void ButtonEditWindowController::removeAllButtonViews()
{
    for (QWidget* tile : buttonTabLeView_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        tile->hide();
        tile->deleteLater();
        tile->setParent(nullptr);
    }
}

void ButtonEditWindowController::loadButtonVieWithType(int kind)
{
    const auto isButton = [this] { return isButtonType_; };
    if (const auto library = editor_.dvdLibSource()) {
        for (const auto& button : library->buttons()) {
            if (kind == 0 || buttonType(button.get()) == kind) {
                (new SingleButtonView(button, isButton, editor_, buttonTabLeView_))->show();
            }
        }
    }
    if (const auto disc = editor_.dvd()) {
        for (const auto& button : disc->customButtonImageResourceArray()) {
            const auto picture = std::dynamic_pointer_cast<CustomButtonImageResource>(button);
            if (picture && picture->type() == kind) {
                (new SingleButtonView(picture, isButton, editor_, buttonTabLeView_))->show();
            }
        }
    }
    layoutButtonView();
}

void ButtonEditWindowController::layoutButtonView()
{
    TemplateTileGrid::layOut(*buttonScrollView_);
}

void ButtonEditWindowController::chooseButtonLocalImageAction()
{
    ImageOpenPanel::open(window_, [this](const QString& path) { addLocalImageFromPath(path); });
}

void ButtonEditWindowController::addLocalImageFromPath(const QString& path)
{
    const auto item = currentMedia();
    const auto disc = editor_.dvd();
    if (!item || !disc) {
        return;
    }
    // A file that does not decode would leave the button without a picture
    // and stay in the project for good.
    QString error;
    if (BoundedImage::read(path, &error).isNull()) {
        qInfo().noquote() << "button picture not readable:" << path << error;
        return;
    }
    const auto picture = CustomButtonImageResource::createCustomButtonResourceWithPath(path);
    const int kind = buttonType(item->buttonResource().get());
    picture->setType(kind);
    item->setButtonResource(picture);
    auto pictures = disc->customButtonImageResourceArray();
    pictures.append(picture);
    disc->setCustomButtonImageResourceArray(pictures);
    removeAllButtonViews();
    loadButtonVieWithType(kind);
    editor_.displayCanvasView();
}

// ---- picture or text

void ButtonEditWindowController::useImageOrTextAction(int useType)
{
    const auto item = currentMedia();
    if (!item) {
        return;
    }
    buttonUseType_ = useType == 0 ? 0 : 1;
    // Only a picture's frame is remembered: choosing "Text" again keeps the
    // picture frame remembered before.
    if (buttonUseType_ != 0 && item->buttonUseType() == 0) {
        item->setTitleOldFrame(item->frame());
    }
    // The item shows its text before the text sizes it.
    item->setButtonUseType(buttonUseType_);
    if (buttonUseType_ != 0) {
        if (const auto text = item->textSource()) {
            text->setMedia(item);
            EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
        }
    } else if (!item->titleOldFrame().isEmpty()) {
        item->setFrame(item->titleOldFrame());
    }
    showUseType();
    flushZoomControlViewSuperview();
    zoom_->updateSelfZoomSlider(buttonUseType_ != 1);
    editor_.updateItemControlViewFrame();
    editor_.displayCanvasView();
}

void ButtonEditWindowController::flushZoomControlViewSuperview()
{
    QWidget* zoomView = zoom_->zoomControlView();
    if (zoomView->parentWidget()) {
        if (QLayout* layout = zoomView->parentWidget()->layout()) {
            layout->removeWidget(zoomView);
        }
    }
    zoomView->hide();
    zoomView->setParent(window_);
    zoomView->hide();
    if (buttonUseType_ == 0) {
        tempZoomContainerView_->layout()->addWidget(zoomView);
        zoomView->show();
    }
}

void ButtonEditWindowController::enableAllControls(bool on)
{
    for (QWidget* control : QList<QWidget*>{
             panel_->fontButton(), panel_->faceButton(), panel_->sizeSlider(),
             panel_->fillCategory(), panel_->fillColorWell(), panel_->fillImageView(),
             panel_->fillChooseImageButton(), panel_->fillGradientStartColorWell(),
             panel_->fillGradientEndColorWell(), panel_->outlineCheckBox(), panel_->outlineSlider(),
             panel_->outlineColorWell(), panel_->backdropCheckBox(), panel_->backdropCategory(),
             panel_->backdropImageView(), panel_->backdropColorWell(),
             panel_->backdropChooseButton(), panel_->backFilletSlider()}) {
        control->setEnabled(on);
    }
}

void ButtonEditWindowController::windowWillClose()
{
    panel_->finishEditing();
    editor_.markDocumentEdited();
}
