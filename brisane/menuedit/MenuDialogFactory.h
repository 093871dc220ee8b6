#pragma once
// Makes the five dialogs of the menu editor. The dialogs lie above the menu
// editor in the module order, so the application installs a factory that
// makes the real ones; until it does (and in tools and tests that install
// none) the default factory makes stand-ins that open nothing and log each
// call (MenuDialogStandIn).
//
// The menu editor asks once, when it is set up, in this order: background
// music, background picture, play mode, title and text, button. Each dialog
// is given the menu editor, which owns it and outlives it, and through it the
// document host. Main thread.

#include <memory>

class IBackgroundMusicWindowController;
class IBackgroundPictureWindowController;
class IPlayModeWindowController;
class ITitleTextEditWindowController;
class IButtonEditWindowController;
class MenuEditViewController;

class MenuDialogFactory {
public:
    virtual ~MenuDialogFactory();

    virtual std::unique_ptr<IBackgroundMusicWindowController> makeBgMusicController(
        MenuEditViewController& editor);
    virtual std::unique_ptr<IBackgroundPictureWindowController> makeBgPictureController(
        MenuEditViewController& editor);
    virtual std::unique_ptr<IPlayModeWindowController> makePlayModeController(
        MenuEditViewController& editor);
    virtual std::unique_ptr<ITitleTextEditWindowController> makeTitleTextEditController(
        MenuEditViewController& editor);
    virtual std::unique_ptr<IButtonEditWindowController> makeButtonEditController(
        MenuEditViewController& editor);

    // The installed factory, or the default one.
    static std::shared_ptr<MenuDialogFactory> current();
    // Installs a factory for the whole process; null restores the default.
    static void install(std::shared_ptr<MenuDialogFactory> factory);
};
