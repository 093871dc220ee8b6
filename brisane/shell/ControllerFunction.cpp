#include "shell/ControllerFunction.h"

#include "shell/AppDelegate.h"
#include "shell/MainWindowController.h"
#include "shell/core/IMenuEditViewController.h"

AppDelegate* ControllerFunction::appDelegate()
{
    return AppDelegate::current();
}

MainWindowController* ControllerFunction::mainController()
{
    AppDelegate* delegate = appDelegate();
    return delegate ? delegate->mainController() : nullptr;
}

IListEditViewController* ControllerFunction::listEditController()
{
    MainWindowController* main = mainController();
    return main ? main->listEditController() : nullptr;
}

IClipEditWindowController* ControllerFunction::clipEditController()
{
    MainWindowController* main = mainController();
    return main ? main->clipEditController() : nullptr;
}

IVideoEditWindowController* ControllerFunction::videoEditController()
{
    MainWindowController* main = mainController();
    return main ? main->videoEditController() : nullptr;
}

IMenuEditViewController* ControllerFunction::menuEditController()
{
    MainWindowController* main = mainController();
    return main ? main->menuEditController() : nullptr;
}

IRenderEditWndCtrl* ControllerFunction::imageEditController()
{
    MainWindowController* main = mainController();
    return main ? main->imageEditController() : nullptr;
}

IBackgroundMusicWindowController* ControllerFunction::bgMusicController()
{
    IMenuEditViewController* menu = menuEditController();
    return menu ? menu->bgMusicController() : nullptr;
}

IBackgroundPictureWindowController* ControllerFunction::bgPictureController()
{
    IMenuEditViewController* menu = menuEditController();
    return menu ? menu->bgPictureController() : nullptr;
}

IPlayModeWindowController* ControllerFunction::playModeController()
{
    IMenuEditViewController* menu = menuEditController();
    return menu ? menu->playModeController() : nullptr;
}

ITitleTextEditWindowController* ControllerFunction::titleTextEditController()
{
    IMenuEditViewController* menu = menuEditController();
    return menu ? menu->titleTextEditController() : nullptr;
}

IButtonEditWindowController* ControllerFunction::buttonEditController()
{
    IMenuEditViewController* menu = menuEditController();
    return menu ? menu->buttonEditController() : nullptr;
}
