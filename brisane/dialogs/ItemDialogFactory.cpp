#include "dialogs/ItemDialogFactory.h"

#include "dialogs/BackgroundMusicWindowController.h"
#include "dialogs/BackgroundPictureWindowController.h"
#include "dialogs/ButtonEditWindowController.h"
#include "dialogs/PlayModeWindowController.h"
#include "dialogs/TitleTextEditWindowController.h"
#include "shell/ControllerFunction.h"
#include "shell/core/IDocumentHost.h"

namespace {

// The page dialogs are sheets on the main window.
QWidget* mainWindow()
{
    IDocumentHost* main = ControllerFunction::documentHost();
    return main ? main->window() : nullptr;
}

}  // namespace

std::unique_ptr<IBackgroundMusicWindowController> ItemDialogFactory::makeBgMusicController()
{
    return std::make_unique<BackgroundMusicWindowController>(mainWindow());
}

std::unique_ptr<IBackgroundPictureWindowController> ItemDialogFactory::makeBgPictureController()
{
    return std::make_unique<BackgroundPictureWindowController>(mainWindow());
}

std::unique_ptr<IPlayModeWindowController> ItemDialogFactory::makePlayModeController()
{
    return std::make_unique<PlayModeWindowController>(mainWindow());
}

std::unique_ptr<ITitleTextEditWindowController> ItemDialogFactory::makeTitleTextEditController()
{
    return std::make_unique<TitleTextEditWindowController>();
}

std::unique_ptr<IButtonEditWindowController> ItemDialogFactory::makeButtonEditController()
{
    return std::make_unique<ButtonEditWindowController>();
}

void installMenuDialogs()
{
    MenuDialogFactory::install(std::make_shared<ItemDialogFactory>());
}
