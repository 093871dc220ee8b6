#pragma once
// The class-level accessors of the running application delegate, its main
// window controller and every editor. The editors and dialogs do not use
// them: each is handed the document host (and through it the open project
// and the other editors) when it is made. Each accessor walks the chain at
// the time of the call and answers null at any missing link; nothing is
// cached. Any thread; no locking beyond the delegate's own.

class AppDelegate;
class MainWindowController;
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
