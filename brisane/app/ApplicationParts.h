#pragma once
// The one place where the program installs the parts that lie above the
// shell in the module order: the editors the main window hosts and the menu
// editor's dialogs; and how the desktop knows the program's windows
// (ApplicationIdentity). Called once, before the application delegate
// launches.

class ApplicationParts {
public:
    ApplicationParts() = delete;

    static void install();
};
