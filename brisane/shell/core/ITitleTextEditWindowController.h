#pragma once
// The title and text dialog as the menu editor and its canvas see it.

#include <memory>

class DVDPageItem;
class QWidget;

class ITitleTextEditWindowController {
public:
    virtual ~ITitleTextEditWindowController() = default;
    virtual QWidget* window() = 0;

    // Adds a new static text item to the current page, centred, not selected.
    virtual void addTextMediaAction() = 0;
    // Prepares the dialog for the current item before it is shown.
    virtual void updateWndSettingWhenEditTitleMedia() = 0;
    // Shows the static-text window for the current item, modally.
    virtual void showStaticTextEditWindow() = 0;
    virtual QWidget* staticTextEditWindow() = 0;

    // The smallest zoom factor of the item: 30 over its frame width.
    virtual float getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) = 0;
    // The largest factor by which the item, scaled about its centre, stays
    // inside the menu canvas.
    virtual float getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) = 0;
};
