#pragma once
// The one way the editors, the dialogs, the model and production reach the
// application delegate, the main window controller and every editor without
// holding references of their own. Each accessor walks the chain at the time
// of the call and answers null at any missing link; nothing is cached.
// Any thread; no locking beyond the delegate's own.

class AppDelegate;
class MainWindowController;
class IDocumentHost;
class IListEditViewController;
class IClipEditWindowController;
class IVideoEditWindowController;
class IMenuEditViewController;
class IRenderEditWndCtrl;
class IBackgroundMusicWindowController;
class IBackgroundPictureWindowController;
class IPlayModeWindowController;
class ITitleTextEditWindowController;
class IButtonEditWindowController;

class ControllerFunction {
public:
    ControllerFunction() = delete;

    static AppDelegate* appDelegate();
    static MainWindowController* mainController();
    // The main window controller as the editors see it.
    static IDocumentHost* documentHost();
    static IListEditViewController* listEditController();
    static IClipEditWindowController* clipEditController();
    static IVideoEditWindowController* videoEditController();
    static IMenuEditViewController* menuEditController();
    static IRenderEditWndCtrl* imageEditController();
    static IBackgroundMusicWindowController* bgMusicController();
    static IBackgroundPictureWindowController* bgPictureController();
    static IPlayModeWindowController* playModeController();
    static ITitleTextEditWindowController* titleTextEditController();
    static IButtonEditWindowController* buttonEditController();
};
