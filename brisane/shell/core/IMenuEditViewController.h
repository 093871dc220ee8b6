#pragma once
// What the shell asks of the menu editor, and the menu editor's five
// dialogs, which it creates and keeps. The menu editor derives from this;
// tests install recording fakes.

#include <memory>

class DVDPage;
class QWidget;
class IBackgroundMusicWindowController;
class IBackgroundPictureWindowController;
class IPlayModeWindowController;
class ITitleTextEditWindowController;
class IButtonEditWindowController;

class IMenuEditViewController {
public:
    virtual ~IMenuEditViewController() = default;

    // Refreshes the editor for the rebuilt disc side (repairs the pages and
    // shows the current or first page).
    virtual void flushDVDPageEditWhenOpen() = 0;
    // The Delete command in menu-edit mode.
    virtual void deleteCurrentTextItem() = 0;
    // Whether something is selected and every selected item is a static text.
    virtual bool hasSelectAndSelectedAllPageItemText() const = 0;
    // The page on the canvas; null for none.
    virtual std::shared_ptr<DVDPage> currentMenu() const = 0;
    // Shows the page; null clears the canvas (a project closing).
    virtual void setCurrentMenu(const std::shared_ptr<DVDPage>& page) = 0;
    // The editor's view, placed in the main window's menu tab.
    virtual QWidget* view() = 0;
    // Redisplays the menu canvas. Any thread: the redisplay itself runs on
    // the main thread (the model asks for it while pages are decoded).
    virtual void displayCanvasView() = 0;

    // The five dialogs; null until the editor has made them.
    virtual IBackgroundMusicWindowController* bgMusicController() const = 0;
    virtual IBackgroundPictureWindowController* bgPictureController() const = 0;
    virtual IPlayModeWindowController* playModeController() const = 0;
    virtual ITitleTextEditWindowController* titleTextEditController() const = 0;
    virtual IButtonEditWindowController* buttonEditController() const = 0;
};
