#pragma once
// The menu editor's dialog factory of the program: the real page dialogs
// (background music, background picture, play mode) on the main window, and
// the title and button dialogs, each given the menu editor's document host or
// the menu editor itself. installMenuDialogs installs it for the whole process; the program
// calls it once at start-up, before the menu editor is made. Main thread.

#include "menuedit/MenuDialogFactory.h"

class ItemDialogFactory : public MenuDialogFactory {
public:
    std::unique_ptr<IBackgroundMusicWindowController> makeBgMusicController(
        MenuEditViewController& editor) override;
    std::unique_ptr<IBackgroundPictureWindowController> makeBgPictureController(
        MenuEditViewController& editor) override;
    std::unique_ptr<IPlayModeWindowController> makePlayModeController(
        MenuEditViewController& editor) override;
    std::unique_ptr<ITitleTextEditWindowController> makeTitleTextEditController(
        MenuEditViewController& editor) override;
    std::unique_ptr<IButtonEditWindowController> makeButtonEditController(
        MenuEditViewController& editor) override;
};

// Installs an ItemDialogFactory as the menu editor's dialog factory.
void installMenuDialogs();
