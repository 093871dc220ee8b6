#pragma once
// The play mode and highlight dialog as the menu editor sees it.

class QWidget;

class IPlayModeWindowController {
public:
    virtual ~IPlayModeWindowController() = default;
    virtual QWidget* window() = 0;
    // Loads the play-mode values of the disc settings and shows the dialog as
    // a sheet on the main window.
    virtual void showWindowInModel() = 0;
};
