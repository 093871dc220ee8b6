#include "menuedit/MenuEditViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "common/NamedImage.h"
#include "common/widgets/CommonFunctionThreads.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "menuedit/ItemControlView.h"
#include "menuedit/MenuCanvasBgView.h"
#include "menuedit/MenuDialogFactory.h"
#include "menuedit/MenuEditBackgroundView.h"
#include "menuedit/MenuEditCanvasView.h"
#include "menuedit/MenuEditShapeView.h"
#include "menuedit/MenuUpBgView.h"
#include "menuedit/NoMenuView.h"
#include "menuedit/core/ItemControlLayout.h"
#include "menuedit/core/MenuAspectSwitch.h"
#include "menuedit/core/MenuPageNavigation.h"
#include "menuedit/core/MenuPageRepair.h"
#include "model/ButtonType.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/EffectTextImage.h"
#include "shell/core/IBackgroundMusicWindowController.h"
#include "shell/core/IBackgroundPictureWindowController.h"
#include "shell/core/IButtonEditWindowController.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/IPlayModeWindowController.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/ITitleTextEditWindowController.h"

namespace {

const QString hasLastMenuKey = QStringLiteral("hasLastMenu");
const QString hasNextMenuKey = QStringLiteral("hasNextMenu");
const QString previousMenuImageKey = QStringLiteral("previousMenuImage");
const QString nextMenuImageKey = QStringLiteral("nextMenuImage");
const QString hasSelectedOneItemKey = QStringLiteral("hasSelectedOneItem");

// The aspect control's index for a disc aspect code: any non-zero code is 16:9.
int aspectIndexForType(qint64 aspectType)
{
    return aspectType != 0 ? 1 : 0;
}

QIcon iconFromImage(const QImage& image)
{
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace

MenuEditViewController::MenuEditViewController(QWidget* parent, IDocumentHost* host) : m_host(host)
{
    loadView(parent);
    awakeFromNib();
}

MenuEditViewController::~MenuEditViewController()
{
    // The view may already have gone with a parent window.
    delete view_.data();
}

// ---- set-up

void MenuEditViewController::loadView(QWidget* parent)
{
    auto* root = new MenuEditBackgroundView(parent);
    root->setObjectName(nibName());
    view_ = root;
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeControlBar(root));

    auto* canvasPanel = new MenuCanvasBgView(root);
    auto* panelLayout = new QVBoxLayout(canvasPanel);
    panelLayout->setContentsMargins(0, 1, 1, 1);
    canvasView_ = new MenuEditCanvasView(this, canvasPanel);
    canvasView_->setObjectName(QStringLiteral("canvasView"));
    panelLayout->addWidget(canvasView_);
    noMenuView_ = new NoMenuView(canvasPanel);
    noMenuView_->setObjectName(QStringLiteral("noMenuView"));
    noMenuView_->hide();
    layout->addWidget(canvasPanel, 1);

    itemControlView_ = new ItemControlView(this, canvasView_);
    itemControlView_->setObjectName(QStringLiteral("itemControlView"));
    bindControls();
}

QWidget* MenuEditViewController::makeControlBar(QWidget* parent)
{
    auto* bar = new MenuUpBgView(parent);
    bar->setObjectName(QStringLiteral("menuUpBgView"));
    QPalette palette = bar->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgbF(0.85f, 0.85f, 0.85f));
    bar->setPalette(palette);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 6);

    aspectControl_ = new QComboBox(bar);
    aspectControl_->setObjectName(QStringLiteral("aspectControl"));
    aspectControl_->addItems({tr("4:3"), tr("16:9")});
    aspectControl_->setToolTip(tr("Aspect of the menus"));
    noMenuCheckBox_ = new QCheckBox(tr("No Menu"), bar);
    noMenuCheckBox_->setObjectName(QStringLiteral("noMenuCheckBox"));
    showPlayCheckBox_ = new QCheckBox(tr("Show Play Button"), bar);
    showPlayCheckBox_->setObjectName(QStringLiteral("showPlayCheckBox"));
    auto* addText = new QPushButton(tr("Add Text"), bar);
    addText->setObjectName(QStringLiteral("addTextButton"));
    previousButton_ = new QToolButton(bar);
    previousButton_->setObjectName(QStringLiteral("previousPageButton"));
    previousButton_->setToolTip(tr("Previous Menu"));
    nextButton_ = new QToolButton(bar);
    nextButton_->setObjectName(QStringLiteral("nextPageButton"));
    nextButton_->setToolTip(tr("Next Menu"));
    for (QToolButton* button : {previousButton_, nextButton_}) {
        button->setAutoRaise(true);
        button->setIconSize(QSize(24, 24));
    }
    auto* picture = new QPushButton(tr("Background"), bar);
    picture->setObjectName(QStringLiteral("menuPictureButton"));
    auto* music = new QPushButton(tr("Music"), bar);
    music->setObjectName(QStringLiteral("menuMusicButton"));
    auto* playMode = new QPushButton(tr("Play Mode"), bar);
    playMode->setObjectName(QStringLiteral("playModeButton"));

    row->addWidget(aspectControl_);
    row->addWidget(noMenuCheckBox_);
    row->addWidget(showPlayCheckBox_);
    row->addWidget(addText);
    row->addStretch(1);
    row->addWidget(previousButton_);
    row->addWidget(nextButton_);
    row->addStretch(1);
    row->addWidget(picture);
    row->addWidget(music);
    row->addWidget(playMode);

    connect(aspectControl_, &QComboBox::currentIndexChanged, this, [this](int index) {
        setAspectIndex(index);
        aspectChangedAction();
    });
    connect(noMenuCheckBox_, &QCheckBox::toggled, this, [this](bool on) {
        setUseNoMenu(on);
        noMenuCheckButtonAction();
    });
    connect(showPlayCheckBox_, &QCheckBox::toggled, this, [this](bool on) {
        setShowPlayBtn(on);
        hidePlayBtnOnMenuAction();
    });
    connect(addText, &QPushButton::clicked, this, [this] { addTextButtonAction(); });
    connect(previousButton_, &QToolButton::clicked, this, [this] { previousPageAction(); });
    connect(nextButton_, &QToolButton::clicked, this, [this] { nextPageAction(); });
    connect(picture, &QPushButton::clicked, this, [this] { showMenuPictureWindowAction(); });
    connect(music, &QPushButton::clicked, this, [this] { showMenuMusicWindowAction(); });
    connect(playMode, &QPushButton::clicked, this, [this] { showPlayModeWindowAction(); });
    return bar;
}

void MenuEditViewController::bindControls()
{
    observeKey(hasLastMenuKey, previousButton_, [this] {
        const QSignalBlocker block(previousButton_);
        previousButton_->setEnabled(hasLastMenu());
    });
    observeKey(previousMenuImageKey, previousButton_,
               [this] { previousButton_->setIcon(iconFromImage(previousMenuImage())); });
    observeKey(hasNextMenuKey, nextButton_, [this] {
        const QSignalBlocker block(nextButton_);
        nextButton_->setEnabled(hasNextMenu());
    });
    observeKey(nextMenuImageKey, nextButton_,
               [this] { nextButton_->setIcon(iconFromImage(nextMenuImage())); });
    previousButton_->setEnabled(hasLastMenu());
    previousButton_->setIcon(iconFromImage(previousMenuImage()));
    nextButton_->setEnabled(hasNextMenu());
    nextButton_->setIcon(iconFromImage(nextMenuImage()));
    refreshControls();
}

void MenuEditViewController::awakeFromNib()
{
    const auto factory = MenuDialogFactory::current();
    bgMusicController_ = factory->makeBgMusicController(*this);
    bgPictureController_ = factory->makeBgPictureController(*this);
    playModeController_ = factory->makePlayModeController(*this);
    titleTextEditController_ = factory->makeTitleTextEditController(*this);
    buttonEditController_ = factory->makeButtonEditController(*this);
    if (bgMusicController_) {
        centreOnScreen(bgMusicController_->window());
    }
    if (bgPictureController_) {
        centreOnScreen(bgPictureController_->window());
    }
    if (playModeController_) {
        centreOnScreen(playModeController_->window());
    }
    if (titleTextEditController_) {
        centreOnScreen(titleTextEditController_->window());
    }
    if (buttonEditController_) {
        centreOnScreen(buttonEditController_->window());
    }

    itemControlView_->raise();
    itemControlView_->hide();
    connect(canvasView_, &MenuEditCanvasView::frameChanged, this,
            [this] { flushCanvasViewWhenWindowFrameChanged(); });
}

void MenuEditViewController::centreOnScreen(QWidget* window) const
{
    if (!window) {
        return;
    }
    QScreen* screen = view_ ? view_->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

// Fills the controls from the editor's fields without sending their actions.
void MenuEditViewController::refreshControls()
{
    const QSignalBlocker blockAspect(aspectControl_);
    const QSignalBlocker blockNoMenu(noMenuCheckBox_);
    const QSignalBlocker blockPlay(showPlayCheckBox_);
    aspectControl_->setCurrentIndex(aspectIndex_);
    noMenuCheckBox_->setChecked(useNoMenu_);
    showPlayCheckBox_->setChecked(showPlayBtn_);
}

// ---- the interface the shell sees

void MenuEditViewController::flushDVDPageEditWhenOpen()
{
    const auto disc = dvd();
    if (disc) {
        aspectIndex_ = aspectIndexForType(disc->aspectType());
        lastTimeAspect_ = aspectIndex_;
        useNoMenu_ = disc->useNoMenu();
        showPlayBtn_ = disc->showPlayButton();
        for (const auto& page : disc->pageArray()) {
            if (!page) {
                continue;
            }
            flushMenuItemsFrameInPage(page);
            guaranteeNoOverlapInPage(page);
            updateHasSubMenuItemImageInPage(page);
        }
    }
    refreshControls();
    // The check box and the canvas never disagree, also right after opening.
    updateNoMenuCover();
    setCurrentMenu(MenuPageNavigation::firstPage(disc.get()));
}

void MenuEditViewController::setCurrentMenu(const std::shared_ptr<DVDPage>& page)
{
    if (page) {
        updateMenuPage(page);
        return;
    }
    currentMenu_.reset();
    canvasView_->updateViewBoundsWhenMenuPageChanged();
    updateLastNextPageButton();
    clearShapeViewSelection();
}

void MenuEditViewController::displayCanvasView()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { displayCanvasView(); }, Qt::QueuedConnection);
        return;
    }
    if (!view_) {
        return;  // the window has gone
    }
    canvasView_->update();
    if (MenuEditShapeView* overlay = canvasView_->shapeView()) {
        overlay->update();
    }
}

IBackgroundMusicWindowController* MenuEditViewController::bgMusicController() const
{
    return bgMusicController_.get();
}

IBackgroundPictureWindowController* MenuEditViewController::bgPictureController() const
{
    return bgPictureController_.get();
}

IPlayModeWindowController* MenuEditViewController::playModeController() const
{
    return playModeController_.get();
}

ITitleTextEditWindowController* MenuEditViewController::titleTextEditController() const
{
    return titleTextEditController_.get();
}

IButtonEditWindowController* MenuEditViewController::buttonEditController() const
{
    return buttonEditController_.get();
}

// ---- pages

void MenuEditViewController::updateMenuPage(const std::shared_ptr<DVDPage>& page)
{
    if (!page) {
        return;
    }
    currentMenu_ = page;
    canvasView_->updateViewBoundsWhenMenuPageChanged();
    updateLastNextPageButton();
    clearShapeViewSelection();
}

QRectF MenuEditViewController::menuCanvasRect() const
{
    const auto disc = dvd();
    return disc ? disc->menuCanvasRect() : QRectF();
}

std::shared_ptr<DVDResource> MenuEditViewController::dvd() const
{
    return m_host ? m_host->dvd() : nullptr;
}

std::shared_ptr<DataResource> MenuEditViewController::dateResource() const
{
    return m_host ? m_host->dateResource() : nullptr;
}

// ---- item lists

MenuEditViewController::ItemList MenuEditViewController::textItemArray() const
{
    ItemList items;
    if (!currentMenu_) {
        return items;
    }
    for (const auto& item : currentMenu_->itemArray()) {
        if (!item || item->type() != 2) {
            continue;
        }
        if (const auto text = item->textSource()) {
            text->setMedia(item);
        }
        items.append(item);
    }
    return items;
}

MenuEditViewController::ItemList MenuEditViewController::pageItemArray() const
{
    ItemList items;
    if (!currentMenu_) {
        return items;
    }
    for (const auto& item : currentMenu_->itemArray()) {
        if (!item || item->type() == 2) {
            continue;
        }
        if (item->type() == 4) {
            if (const auto text = item->textSource()) {
                text->setMedia(item);
            }
        }
        items.append(item);
    }
    return items;
}

MenuEditViewController::ItemList MenuEditViewController::sourceArray() const
{
    return textItemArray() + pageItemArray();
}

// ---- page repairs

void MenuEditViewController::flushMenuItemsFrameInPage(const std::shared_ptr<DVDPage>& page)
{
    const auto disc = dvd();
    if (page && disc) {
        MenuPageRepair::flushMenuItemsFrameInPage(*page, *disc);
    }
}

void MenuEditViewController::guaranteeNoOverlapInPage(const std::shared_ptr<DVDPage>& page)
{
    if (page) {
        MenuPageRepair::guaranteeNoOverlapInPage(*page, menuCanvasRect());
    }
}

void MenuEditViewController::layOutPages()
{
    if (const auto disc = dvd()) {
        for (const auto& page : disc->pageArray()) {
            flushMenuItemsFrameInPage(page);
        }
    }
}

bool MenuEditViewController::isItemOverlapOtherItem(const std::shared_ptr<DVDPageItem>& item,
                                                    const std::shared_ptr<DVDPage>& page) const
{
    return item && page && MenuPageRepair::isItemOverlapOtherItem(*item, *page);
}

void MenuEditViewController::updateHasSubMenuItemImageInPage(const std::shared_ptr<DVDPage>& page)
{
    if (page) {
        MenuPageRepair::updateHasSubMenuItemImageInPage(*page);
    }
}

// ---- actions

void MenuEditViewController::aspectChangedAction()
{
    if (aspectIndex_ == lastTimeAspect_) {
        return;
    }
    const auto disc = dvd();
    if (!disc) {
        qWarning() << "MenuEditViewController: no disc side to change the aspect of";
        aspectIndex_ = lastTimeAspect_;
        refreshControls();
        return;
    }
    disc->setAspectType(aspectIndex_);
    const QRectF canvas = disc->menuCanvasRect();
    const float shift = MenuAspectSwitch::shiftForSwitch(lastTimeAspect_, canvas.width());
    canvasView_->updateViewBoundsWhenMenuPageChanged();
    clearShapeViewSelection();
    MenuAspectSwitch::moveItemsInPages(disc->pageArray(), shift, canvas);
    // What the program laid out is laid out again on the new canvas.
    layOutPages();
    lastTimeAspect_ = aspectIndex_;
    if (IRenderEditWndCtrl* slideshow = m_host ? m_host->imageEditController() : nullptr) {
        slideshow->setEnumDisplayRatio(aspectIndex_);
    }
    if (const auto media = dateResource()) {
        MenuAspectSwitch::changeClipOutputSizes(*media, *disc);
    }
    refreshControls();
    markDocumentEdited();
}

// A selected button whose picture is the play button; an item without a
// button picture is judged by its own type.
bool MenuEditViewController::selectionHoldsPlayButton() const
{
    for (const auto& item : canvasView_->shapeView()->selectedItemArray()) {
        if (!item || !item->isButtonItem()) {
            continue;
        }
        const auto button = item->buttonResource();
        const qint64 type = button ? ButtonType::type(*button) : item->type();
        if (type == 11) {
            return true;
        }
    }
    return false;
}

void MenuEditViewController::hidePlayBtnOnMenuAction()
{
    const auto disc = dvd();
    if (!disc) {
        return;
    }
    disc->setShowPlayButton(showPlayBtn_);
    refreshControls();
    if (!showPlayBtn_ && selectionHoldsPlayButton()) {
        clearShapeViewSelection();
        currentItem_.reset();
    }
    if (m_host) {
        m_host->updatePreNextButtonForDVDPageArray();
    }
    // A play button that comes back takes a free place.
    layOutPages();
    displayCanvasView();
    markDocumentEdited();
}

void MenuEditViewController::noMenuCheckButtonAction()
{
    const auto disc = dvd();
    if (!disc) {
        return;
    }
    clearShapeViewSelection();
    updateNoMenuCover();
    disc->setUseNoMenu(useNoMenu_);
    refreshControls();
    if (QWidget* panel = canvasView_->parentWidget()) {
        panel->update();
    }
    if (m_host) {
        m_host->changeCapacityValue();
    }
    markDocumentEdited();
}

// Lays the cover over the canvas while the disc has no menus, above the
// canvas's siblings; takes it away otherwise.
void MenuEditViewController::updateNoMenuCover()
{
    if (useNoMenu_) {
        noMenuView_->setGeometry(canvasView_->geometry());
        noMenuView_->raise();
        noMenuView_->show();
    } else {
        noMenuView_->hide();
    }
}

void MenuEditViewController::addTextButtonAction()
{
    if (titleTextEditController_) {
        titleTextEditController_->addTextMediaAction();
    }
    markDocumentEdited();
}

void MenuEditViewController::deleteCurrentTextItem()
{
    if (!hasSelectAndSelectedAllPageItemText() || !currentMenu_) {
        return;
    }
    for (const auto& item : canvasView_->shapeView()->selectedItemArray()) {
        auto items = currentMenu_->itemArray();
        items.removeAll(item);
        currentMenu_->setItemArray(items);
    }
    displayCanvasView();
    clearShapeViewSelection();
    currentItem_.reset();
    markDocumentEdited();
}

bool MenuEditViewController::hasSelectAndSelectedAllPageItemText() const
{
    const auto& selected = canvasView_->shapeView()->selectedItemArray();
    if (selected.isEmpty()) {
        return false;
    }
    return std::all_of(selected.begin(), selected.end(),
                       [](const auto& item) { return item && item->type() == 2; });
}

void MenuEditViewController::previousPageAction()
{
    updateMenuPage(MenuPageNavigation::previousPage(dvd().get(), currentMenu_));
}

void MenuEditViewController::nextPageAction()
{
    updateMenuPage(MenuPageNavigation::nextPage(dvd().get(), currentMenu_));
}

void MenuEditViewController::showMenuPictureWindowAction()
{
    if (const auto disc = dvd()) {
        for (const auto& page : disc->pageArray()) {
            if (page) {
                page->changedBackgroundImageCropRectIfAspectChanged();
            }
        }
    }
    if (bgPictureController_) {
        bgPictureController_->showWindowInModel();
    }
}

void MenuEditViewController::showMenuMusicWindowAction()
{
    if (bgMusicController_) {
        bgMusicController_->showWindowInModel();
    }
}

void MenuEditViewController::showPlayModeWindowAction()
{
    if (playModeController_) {
        playModeController_->showWindowInModel();
    }
}

void MenuEditViewController::markDocumentEdited()
{
    if (m_host) {
        m_host->setDocumentEdited(true);
    }
}

// ---- selection

void MenuEditViewController::shapeViewSelectionUpdate()
{
    const auto& selected = canvasView_->shapeView()->selectedItemArray();
    updateCurrentItem(selected.size() == 1 ? selected.first() : nullptr);
}

void MenuEditViewController::updateCurrentItem(const std::shared_ptr<DVDPageItem>& item)
{
    currentItem_ = item;
    itemControlView_->flushControlViewButtonEnable();
    if (currentItem_) {
        itemControlView_->raise();
        updateItemControlViewFrame();
        itemControlView_->show();
    } else {
        itemControlView_->hide();
    }
    displayCanvasView();
    flushHasSelectedOnlyOneItem();
}

void MenuEditViewController::clearShapeViewSelection()
{
    canvasView_->shapeView()->removeAllSelectedItems();
    displayCanvasView();
    shapeViewSelectionUpdate();
}

void MenuEditViewController::updateItemControlViewFrame()
{
    if (!currentItem_) {
        return;
    }
    const QRectF frame = ItemControlLayout::barFrame(currentItem_->frame(), menuCanvasRect(),
                                                     itemControlView_->controlGotoSubMenuEnable());
    itemControlView_->setCanvasFrame(frame);
    itemControlView_->setGeometry(canvasView_->viewGeometryFromCanvas(frame));
}

void MenuEditViewController::flushCanvasViewWhenWindowFrameChanged()
{
    canvasView_->updateViewBoundsWhenMenuPageChanged();
    updateNoMenuCover();
}

// ---- navigation and the bound keys

void MenuEditViewController::updateLastNextPageButton()
{
    canvasView_->removeOtherSubViewsExceptShpaeViewAndControlView();
    for (const QString& key :
         {hasLastMenuKey, hasNextMenuKey, nextMenuImageKey, previousMenuImageKey}) {
        CommonFunctionThreads::flushObject(this, key);
    }
    displayCanvasView();
}

bool MenuEditViewController::hasLastMenu() const
{
    return MenuPageNavigation::hasLastMenu(dvd().get(), currentMenu_.get());
}

bool MenuEditViewController::hasNextMenu() const
{
    return MenuPageNavigation::hasNextMenu(dvd().get(), currentMenu_.get());
}

QString MenuEditViewController::previousMenuImageName() const
{
    return hasLastMenu() ? QStringLiteral("PrePage") : QStringLiteral("PrePage2");
}

QString MenuEditViewController::nextMenuImageName() const
{
    return hasNextMenu() ? QStringLiteral("NextPage") : QStringLiteral("NextPage2");
}

QImage MenuEditViewController::previousMenuImage() const
{
    return NamedImage::imageNamed(previousMenuImageName());
}

QImage MenuEditViewController::nextMenuImage() const
{
    return NamedImage::imageNamed(nextMenuImageName());
}

bool MenuEditViewController::hasSelectedOneItem() const
{
    return canvasView_->shapeView()->selectedItemArray().size() == 1;
}

void MenuEditViewController::flushHasSelectedOnlyOneItem()
{
    CommonFunctionThreads::flushObject(this, hasSelectedOneItemKey);
}

QPushButton* MenuEditViewController::controlEditBtn() const
{
    return itemControlView_->controlEditBtn();
}

QPushButton* MenuEditViewController::controlMenuBtn() const
{
    return itemControlView_->controlMenuBtn();
}
