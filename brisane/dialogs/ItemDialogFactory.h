#pragma once
// The menu editor's dialog factory of the program: the real title and button
// dialogs, and the menu editor's stand-ins for the page dialogs (background
// music, background picture, play mode), which the program does not have
// yet. installMenuDialogs installs it for the whole process; the program
// calls it once at start-up, before the menu editor is made. Main thread.

#include "menuedit/MenuDialogFactory.h"

class ItemDialogFactory : public MenuDialogFactory {
public:
    std::unique_ptr<ITitleTextEditWindowController> makeTitleTextEditController() override;
    std::unique_ptr<IButtonEditWindowController> makeButtonEditController() override;
};

// Installs an ItemDialogFactory as the menu editor's dialog factory.
void installMenuDialogs();
