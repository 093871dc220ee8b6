#pragma once
// The controller of the menu editor, the main window's second mode. It shows
// one menu page of the disc side on the canvas, keeps the selection overlay
// and the floating item bar in step with it, and carries the page-wide and
// disc-wide settings of the editor: the aspect of the menus (4:3 or 16:9),
// menus switched off, the play button shown or hidden, paging through the
// menus, adding and deleting static texts, and opening the page dialogs
// (background picture, background music, play mode) and, through the bar,
// the item dialogs (title and text, button). When a project is opened or the
// disc side rebuilt it repairs every page: title pictures without a frame get
// their default, stacked titles are spread apart, and titles leading to a
// chapter sub-menu show their first chapter's picture.
//
// The controller makes the five dialogs once, through the installed
// MenuDialogFactory, and owns them; each dialog is given the controller. It
// reaches the disc side, the media side, the main window and the slideshow
// editor through the document host it is given when made, at the time of
// each call.
//
// The window binds to the keys "hasLastMenu", "hasNextMenu",
// "previousMenuImage", "nextMenuImage" and "hasSelectedOneItem", announced on
// the controller itself (a PropertyNotifier) when they change.
//
// Item frames are in menu canvas units (origin at the lower left, y up); only
// the canvas view converts them to pixels. Main thread, except
// displayCanvasView, which may be called from any thread.

#include <QImage>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>

#include "common/PropertyNotifier.h"
#include "shell/core/IMenuEditViewController.h"

class DataResource;
class DVDPage;
class DVDPageItem;
class DVDResource;
class IDocumentHost;
class ItemControlView;
class MenuEditCanvasView;
class NoMenuView;
class QCheckBox;
class QComboBox;
class QPushButton;
class QToolButton;
class QWidget;

class MenuEditViewController : public PropertyNotifier, public IMenuEditViewController {
    Q_OBJECT
public:
    using ItemList = QList<std::shared_ptr<DVDPageItem>>;

    // Builds the editor's view as a child of `parent` (none: a window of its
    // own) and sets it up: the dialogs, the hidden item bar and the refit on
    // every resize of the canvas.
    // `host` (not owned, outliving the controller; null: no project, no
    // main window) hands out the open project.
    MenuEditViewController(QWidget* parent, IDocumentHost* host);
    ~MenuEditViewController() override;

    // The name of the editor's layout.
    static QString nibName() { return QStringLiteral("MenuEditViewController"); }

    // --- IMenuEditViewController ---
    // Copies the disc settings into the editor, repairs every page, and shows
    // the first top page (none when the disc has no pages). The no-menu cover
    // follows the disc's setting.
    void flushDVDPageEditWhenOpen() override;
    // Only when the selection is all static texts: removes them from the page.
    void deleteCurrentTextItem() override;
    bool hasSelectAndSelectedAllPageItemText() const override;
    std::shared_ptr<DVDPage> currentMenu() const override { return currentMenu_; }
    // Shows the page; null empties the canvas.
    void setCurrentMenu(const std::shared_ptr<DVDPage>& page) override;
    QWidget* view() override { return view_; }
    // Redisplays the canvas and its overlay. Any thread: from another thread
    // the redisplay is queued to the main thread.
    void displayCanvasView() override;
    IBackgroundMusicWindowController* bgMusicController() const override;
    IBackgroundPictureWindowController* bgPictureController() const override;
    IPlayModeWindowController* playModeController() const override;
    ITitleTextEditWindowController* titleTextEditController() const override;
    IButtonEditWindowController* buttonEditController() const override;

    // --- Pages ---
    // Shows the page: refits the canvas, refreshes the navigation and clears
    // the selection. A null page is ignored.
    void updateMenuPage(const std::shared_ptr<DVDPage>& page);
    // The disc side's canvas: 854 x 480 (16:9) or 640 x 480 (4:3); the zero
    // rectangle without a disc side.
    QRectF menuCanvasRect() const;
    // The open project's disc side and media side; null without a project.
    std::shared_ptr<DVDResource> dvd() const;
    std::shared_ptr<DataResource> dateResource() const;
    // The document host; null when there is none.
    IDocumentHost* documentHost() const { return m_host; }

    // --- The current page's items, each a new list in page order ---
    // The static texts (type 2); each text learns its item on the way.
    ItemList textItemArray() const;
    // Every other item; a text title's text learns its item on the way.
    ItemList pageItemArray() const;
    // textItemArray followed by pageItemArray.
    ItemList sourceArray() const;

    // --- Page repairs (see MenuPageRepair) ---
    void flushMenuItemsFrameInPage(const std::shared_ptr<DVDPage>& page);
    void guaranteeNoOverlapInPage(const std::shared_ptr<DVDPage>& page);
    bool isItemOverlapOtherItem(const std::shared_ptr<DVDPageItem>& item,
                                const std::shared_ptr<DVDPage>& page) const;
    void updateHasSubMenuItemImageInPage(const std::shared_ptr<DVDPage>& page);

    // --- Actions of the window's controls ---
    // The aspect control has set aspectIndex: moves every page's items to
    // the new canvas, resizes every clip's output, tells the slideshow
    // editor and marks the document edited. The aspect in force does nothing.
    void aspectChangedAction();
    // The check box has set showPlayBtn.
    void hidePlayBtnOnMenuAction();
    // The check box has set useNoMenu.
    void noMenuCheckButtonAction();
    void addTextButtonAction();
    void previousPageAction();
    void nextPageAction();
    void showMenuPictureWindowAction();
    void showMenuMusicWindowAction();
    void showPlayModeWindowAction();

    // --- Selection ---
    // The overlay reports every change of its selection here.
    void shapeViewSelectionUpdate();
    // Makes `item` (or none) the current item and shows, places or hides the
    // item bar.
    void updateCurrentItem(const std::shared_ptr<DVDPageItem>& item);
    void clearShapeViewSelection();
    // Places the item bar beside the current item.
    void updateItemControlViewFrame();
    // The canvas view's size changed: refits it (the bar goes) and lays the
    // no-menu cover over it again.
    void flushCanvasViewWhenWindowFrameChanged();

    // --- Navigation and the bound keys ---
    void updateLastNextPageButton();
    bool hasLastMenu() const;
    bool hasNextMenu() const;
    // "PrePage" / "PrePage2", "NextPage" / "NextPage2", and their pictures.
    QString previousMenuImageName() const;
    QString nextMenuImageName() const;
    QImage previousMenuImage() const;
    QImage nextMenuImage() const;
    bool hasSelectedOneItem() const;
    void flushHasSelectedOnlyOneItem();

    // --- Fields ---
    bool useNoMenu() const { return useNoMenu_; }
    void setUseNoMenu(bool on) { useNoMenu_ = on; }
    bool showPlayBtn() const { return showPlayBtn_; }
    void setShowPlayBtn(bool on) { showPlayBtn_ = on; }
    // 0 = 4:3, 1 = 16:9.
    int aspectIndex() const { return aspectIndex_; }
    void setAspectIndex(int index) { aspectIndex_ = index; }
    int lastTimeAspect() const { return lastTimeAspect_; }
    std::shared_ptr<DVDPageItem> currentItem() const { return currentItem_; }
    MenuEditCanvasView* canvasView() const { return canvasView_; }
    ItemControlView* itemControlView() const { return itemControlView_; }
    QPushButton* controlEditBtn() const;
    QPushButton* controlMenuBtn() const;
    NoMenuView* noMenuView() const { return noMenuView_; }

private:
    void loadView(QWidget* parent);
    QWidget* makeControlBar(QWidget* parent);
    void bindControls();
    void awakeFromNib();
    void refreshControls();
    void updateNoMenuCover();
    void markDocumentEdited();
    bool selectionHoldsPlayButton() const;
    // Lays out anew, on every page, the items the program places.
    void layOutPages();
    void centreOnScreen(QWidget* window) const;

    IDocumentHost* const m_host;
    bool useNoMenu_ = false;
    bool showPlayBtn_ = false;
    int aspectIndex_ = 1;
    int lastTimeAspect_ = 1;
    std::unique_ptr<IBackgroundMusicWindowController> bgMusicController_;
    std::unique_ptr<IBackgroundPictureWindowController> bgPictureController_;
    std::unique_ptr<IPlayModeWindowController> playModeController_;
    std::unique_ptr<ITitleTextEditWindowController> titleTextEditController_;
    std::unique_ptr<IButtonEditWindowController> buttonEditController_;
    std::shared_ptr<DVDPage> currentMenu_;
    std::shared_ptr<DVDPageItem> currentItem_;

    QPointer<QWidget> view_;
    MenuEditCanvasView* canvasView_ = nullptr;
    ItemControlView* itemControlView_ = nullptr;
    NoMenuView* noMenuView_ = nullptr;
    QComboBox* aspectControl_ = nullptr;
    QCheckBox* noMenuCheckBox_ = nullptr;
    QCheckBox* showPlayCheckBox_ = nullptr;
    QToolButton* previousButton_ = nullptr;
    QToolButton* nextButton_ = nullptr;
};
