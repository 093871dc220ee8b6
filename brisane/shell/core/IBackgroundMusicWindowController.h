#pragma once
// The page music dialog as the menu editor sees it.

class QWidget;

class IBackgroundMusicWindowController {
public:
    virtual ~IBackgroundMusicWindowController() = default;
    virtual QWidget* window() = 0;
    // Loads the current page's music settings and shows the dialog as a
    // sheet on the main window.
    virtual void showWindowInModel() = 0;
};
