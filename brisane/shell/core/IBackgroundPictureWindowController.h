#pragma once
// The page background picture dialog as the menu editor sees it.

class QWidget;

class IBackgroundPictureWindowController {
public:
    virtual ~IBackgroundPictureWindowController() = default;
    virtual QWidget* window() = 0;
    // Refreshes the dialog for the current page and shows it as a sheet on
    // the main window.
    virtual void showWindowInModel() = 0;
};
