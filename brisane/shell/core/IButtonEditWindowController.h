#pragma once
// The button dialog as the menu editor sees it.

class QWidget;

class IButtonEditWindowController {
public:
    virtual ~IButtonEditWindowController() = default;
    virtual QWidget* window() = 0;
    // Prepares the dialog for the current item before it is shown.
    virtual void updateButtonAttributes() = 0;
};
