#pragma once
// The controller of the one main window. Its set-up (awakeFromNib) makes the
// window, its menus and bottom bar, and the editors (through the installed
// EditorFactory: the editors lie above the shell in the module order). It
// switches the window between list-edit and menu-edit mode, routes the
// Delete command, guards closing with the save question, shows the saving
// sheet, keeps the window's edited mark (the only record of unsaved
// changes), and holds the quality and disc-size pop-ups and the capacity bar
// (DiscQualityControls, whose operations it forwards).
//
// Made and set up by the application delegate at launch, which shares the
// open project with it; it hands itself, as the IDocumentHost, to every
// editor it makes, and through it the open project. Main thread, except
// where an operation says "any thread". The operations the editors call are
// virtual so that tests can record them; a controller that is never set up
// has no window and still answers them.

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <atomic>
#include <functional>
#include <memory>

#include "shell/DiscQualityControls.h"
#include "shell/core/CapacityEstimate.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/QualityMenuModel.h"

class IListEditViewController;
class IClipEditWindowController;
class IVideoEditWindowController;
class IMenuEditViewController;
class IRenderEditWndCtrl;
class AppDelegate;
class CustomCapacityView;
class CustomQualityPanel;
class BurnSettingWindow;
class DVDBurn;
class DVDBurnNotification;
class DVDLibrary;
class DVDPlayCtrl;
class DiscSideRebuild;
class MainWindow;
class MediaData;
class OpenProject;
class QAction;
class QComboBox;
class QDialog;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class QWidget;

class MainWindowController : public QObject, public IDocumentHost {
    Q_OBJECT
public:
    // The tab identifiers and the mode button's titles.
    static inline const QString SourceTab = QStringLiteral("source");
    static inline const QString MenuTab = QStringLiteral("menu");
    static inline const QString MenuEditTitle = QStringLiteral("Menu Edit");
    static inline const QString ListEditTitle = QStringLiteral("List Edit");
    static inline const QStringList& DvdModelTitles = DiscQualityControls::DvdModelTitles;
    static constexpr int WindowHeight = 720;

    // Works on `project` (a new empty one when null); the project and window
    // commands go to `delegate` (none: they do nothing). Neither is owned;
    // the delegate outlives the controller.
    explicit MainWindowController(std::shared_ptr<OpenProject> project = nullptr,
                                  AppDelegate* delegate = nullptr);
    ~MainWindowController() override;

    // --- The open project (any thread) ---
    std::shared_ptr<OpenProject> openProject() const;
    // Works on `project` from now on (tests and tools hand one of their
    // own); null gives an empty one.
    void setOpenProject(std::shared_ptr<OpenProject> project);
    std::shared_ptr<DVDResource> dvd() const override;
    std::shared_ptr<DataResource> dateResource() const override;
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override;

    static QString windowNibName() { return QStringLiteral("MainWindowController"); }

    // --- Set-up ---
    // Makes the window and everything in it, in the set-up order. Once.
    void awakeFromNib();
    // Centres the window on its screen.
    void centerWindow();
    // Shows the window and brings it to the front.
    void showWindow();
    // The window placed 720 high, keeping its x and width: its bottom edge
    // (measured up from the bottom of `screen`) at half of what the visible
    // height leaves. Never higher than the visible area, nor above its top.
    static QRect placedWindowGeometry(const QRect& geometry, const QRect& screen,
                                      const QRect& available);

    // --- Editors; null until set. Owned: setting one releases the previous ---
    IListEditViewController* listEditController() const override;
    IClipEditWindowController* clipEditController() const override;
    IVideoEditWindowController* videoEditController() const override;
    IMenuEditViewController* menuEditController() const override;
    IRenderEditWndCtrl* imageEditController() const override;
    void setListEditController(std::unique_ptr<IListEditViewController> controller);
    void setClipEditController(std::unique_ptr<IClipEditWindowController> controller);
    void setVideoEditController(std::unique_ptr<IVideoEditWindowController> controller);
    void setMenuEditController(std::unique_ptr<IMenuEditViewController> controller);
    void setImageEditController(std::unique_ptr<IRenderEditWndCtrl> controller);

    // --- The window and its parts; null before set-up ---
    QWidget* window() const override;
    QMenuBar* mainMenu() const;
    QStackedWidget* mainTabView() const { return m_mainTabView; }
    // The identifier of the tab shown ("source" or "menu").
    QString selectedTabIdentifier() const;
    QPushButton* mainEditModeBtn() const { return m_mainEditModeBtn; }
    QWidget* listContainerView() const { return m_listContainerView; }
    QWidget* menuEditContainerView() const { return m_menuEditContainerView; }
    QPushButton* previewButton() const { return m_previewButton; }
    QPushButton* burnButton() const { return m_burnButton; }
    QAction* deleteMenuItem() const { return m_deleteAction; }
    DVDBurn* burner() const { return m_burner.get(); }
    DVDBurnNotification* burnNotification() const { return m_burnNotification; }
    // The burn settings sheet (it also hears the drive events); the Burn
    // button opens it.
    BurnSettingWindow* burnSettingWindow() const { return m_burnSettingWindow; }
    void burnDvdButtonAction();

    // --- Modes ---
    // YES in list-edit mode, NO in menu-edit mode.
    virtual bool isEditSource() const;
    // Sets the mode without showing it (flushEditSourceOrMenuIfChanged does).
    void setIsEditSource(bool editSource) { m_isEditSource = editSource; }
    // Toggles the mode.
    void editModeChangedAction();
    // Shows the mode isEditSource names; entering menu-edit mode first runs
    // the title list's change hook.
    void flushEditSourceOrMenuIfChanged();

    // --- Delete command ---
    // In list-edit mode the list editor deletes its selection, in menu-edit
    // mode the menu editor its current text item; nothing when the command
    // is not enabled.
    void deleteCommand();
    // Whether the item may be used: the Delete item only with a list
    // selection (list-edit mode) or a selection of static texts only
    // (menu-edit mode); every other item always.
    bool validateMenuItem(const QAction* item) const;

    // --- Project commands, forwarded to the application delegate ---
    void openNewProjectInFirstResponder();
    void openExistProjectInFirstResponder();
    void saveProjectInFirstResponder();

    // --- Closing ---
    // YES for another window, and for the main window without the edited
    // mark; with the mark, asks the save question and answers NO.
    bool windowShouldClose(QWidget* window);
    // The save question: "Save" queues the delegate's
    // saveProjectAndCloseWindow, "Don't Save" closes the window, "Cancel"
    // does nothing.
    void closeActionAlertSavePanel();
    // The custom bitrate panel applies its value; the main window ends the
    // application.
    void windowWillClose(QWidget* window);

    // --- Edited mark (any thread; the work runs on the main thread and the
    // call returns once it has run) ---
    void setDocumentEdited(bool edited) override;
    virtual bool isDocumentEdited() const;
    void clearDocumentChangedStatus();
    // Runs the block on the main thread and waits for it; on the main thread
    // (or without an application) it runs at once.
    static void performBlockOnMainThread(const std::function<void()>& block);
    // The window's title; the edited mark is shown beside it.
    void setDocumentTitle(const QString& title);

    // --- Saving sheet ---
    void showSaveWindow();
    void closeSaveWindow();
    void showSaveWindowInMainThread();
    void closeSaveWindowInMainThread();
    QDialog* saveWindow() const { return m_saveWindow; }

    // --- Quality and capacity (DiscQualityControls) ---
    DiscQualityControls& qualityControls() const { return *m_quality; }
    QComboBox* dvdQualityPopBtn() const { return m_quality->dvdQualityPopBtn(); }
    QComboBox* dvdModelPopButton() const { return m_quality->dvdModelPopButton(); }
    CustomCapacityView* capacityView() const { return m_quality->capacityView(); }
    CustomQualityPanel* customQualityWindow() const { return m_quality->customQualityWindow(); }
    const QualityMenuModel& dvdQualityMenu() const { return m_quality->dvdQualityMenu(); }
    qint64 minQualityValue() const { return m_quality->minQualityValue(); }
    qint64 maxQualityValue() const { return m_quality->maxQualityValue(); }
    qint64 qualityValue() const { return m_quality->qualityValue(); }
    void setQualityValue(qint64 value) { m_quality->setQualityValue(value); }
    void setDvdQualityMenu() { m_quality->setDvdQualityMenu(); }
    void updateDVDQualityPopBtnWhenOpenProject() { setDvdQualityMenu(); }
    void dvdQualityChosen(int index) { m_quality->dvdQualityChosen(index); }
    void menuItemDVDQualityAction(qint64 tag) { m_quality->menuItemDVDQualityAction(tag); }
    void useExistQualityAction(const QString& title) { m_quality->useExistQualityAction(title); }
    void openCustomDvdQualityWnd() { m_quality->openCustomDvdQualityWnd(); }
    void changedQualityUseField(qint64 value) { m_quality->changedQualityUseField(value); }
    void changeQualityUseSlider(qint64 value) { m_quality->changeQualityUseSlider(value); }
    void customQualityOkAction() { m_quality->customQualityOkAction(); }
    void doCustomQualityOk() { m_quality->doCustomQualityOk(); }
    void dvdModelChangedAction() { m_quality->dvdModelChangedAction(); }

    // --- Disc side ---
    // Rebuilds the disc side of the open project from the title list
    // (DiscSideRebuild), then has the menu editor, when there is one, reload
    // its pages. Nothing without an open project.
    void initDvdResource() override;
    // Puts the previous, next and play buttons on every page again.
    void updatePreNextButtonForDVDPageArray() override;
    // The duration, in seconds, a new or refreshed menu page gets: the first
    // page's when above 1 s, else 15.
    double getCurrentDVDMenuDuration() override;
    // Recomputes the disc size estimate (CapacityEstimate) for the chosen
    // disc size and shows it on the capacity bar; totalUsedSpace() and
    // capacityEstimate() answer it.
    void changeCapacityValue() override;
    // The seconds a clip plays on the disc (its pieces within its section);
    // 0 for no clip.
    double totalMediaDataTime(const std::shared_ptr<MediaData>& media) override;
    // A new disc model of the open project for preview or production
    // (DiscModelBuilder); null without an open project.
    virtual std::shared_ptr<DVDLibrary> getDVDObj();
    // The clips the last getDVDObj left out of the disc: they had nothing
    // to play.
    const QList<std::shared_ptr<MediaData>>& clipsLeftOut() const { return m_clipsLeftOut; }
    // The latest estimate, in bytes, and what the capacity bar shows for it.
    qint64 totalUsedSpace() const { return m_quality->totalUsedSpace(); }
    const CapacityEstimate::Result& capacityEstimate() const
    {
        return m_quality->capacityEstimate();
    }
    // Closes the preview window when it is open.
    virtual void closePreviewWindow();
    // The Preview button: the main window goes behind the others and the
    // preview window plays a new disc model of the project, hiding the main
    // window until it closes. Nothing without an open project.
    void previewDvdButtonAction();
    // The preview window; made at the first preview, null before.
    DVDPlayCtrl* dvdPlay() const { return m_dvdPlay.get(); }

protected:
    // The disc-size choice the estimate measures against: 0 for D5, any other
    // value for D9.
    virtual int dvdModelIndex() const { return m_quality->dvdModelIndex(); }

private:
    DiscSideRebuild openProjectRebuild() const;
    void buildWindow();
    void buildMenuBar();
    QWidget* buildBottomBar();
    void buildSaveWindow();
    void createEditors();
    void placeWindow();
    void endTabEditing();
    void validateDeleteItem();

    mutable QMutex m_projectLock;
    std::shared_ptr<OpenProject> m_project;
    AppDelegate* const m_delegate;
    std::unique_ptr<IListEditViewController> listEditController_;
    std::unique_ptr<IClipEditWindowController> clipEditController_;
    std::unique_ptr<IVideoEditWindowController> videoEditController_;
    std::unique_ptr<IMenuEditViewController> menuEditController_;
    std::unique_ptr<IRenderEditWndCtrl> imageEditController_;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DVDPlayCtrl> m_dvdPlay;
    std::unique_ptr<DVDBurn> m_burner;
    DVDBurnNotification* m_burnNotification = nullptr;
    BurnSettingWindow* m_burnSettingWindow = nullptr;

    QStackedWidget* m_mainTabView = nullptr;
    QPushButton* m_mainEditModeBtn = nullptr;
    QWidget* m_listContainerView = nullptr;
    QWidget* m_menuEditContainerView = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_burnButton = nullptr;
    QAction* m_deleteAction = nullptr;
    QDialog* m_saveWindow = nullptr;

    bool m_isEditSource = true;
    bool m_closeWithoutQuestion = false;
    std::atomic<bool> documentEdited_{false};
    std::unique_ptr<DiscQualityControls> m_quality;
    QList<std::shared_ptr<MediaData>> m_clipsLeftOut;
};
