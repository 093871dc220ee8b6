#include "dialogs/ItemDialogFactory.h"

#include "dialogs/BackgroundMusicWindowController.h"
#include "dialogs/BackgroundPictureWindowController.h"
#include "dialogs/ButtonEditWindowController.h"
#include "dialogs/PlayModeWindowController.h"
#include "dialogs/TitleTextEditWindowController.h"
#include "menuedit/MenuEditViewController.h"
#include "shell/core/IDocumentHost.h"

namespace {

// The page dialogs are sheets on the main window.
QWidget* mainWindow(const MenuEditViewController& editor)
{
    IDocumentHost* main = editor.documentHost();
    return main ? main->window() : nullptr;
}

}  // namespace

std::unique_ptr<IBackgroundMusicWindowController> ItemDialogFactory::makeBgMusicController(
    MenuEditViewController& editor)
{
    return std::make_unique<BackgroundMusicWindowController>(editor.documentHost(),
                                                             mainWindow(editor));
}

std::unique_ptr<IBackgroundPictureWindowController> ItemDialogFactory::makeBgPictureController(
    MenuEditViewController& editor)
{
    return std::make_unique<BackgroundPictureWindowController>(editor.documentHost(),
                                                               mainWindow(editor));
}

std::unique_ptr<IPlayModeWindowController> ItemDialogFactory::makePlayModeController(
    MenuEditViewController& editor)
{
    return std::make_unique<PlayModeWindowController>(editor.documentHost(), mainWindow(editor));
}

std::unique_ptr<ITitleTextEditWindowController> ItemDialogFactory::makeTitleTextEditController(
    MenuEditViewController& editor)
{
    return std::make_unique<TitleTextEditWindowController>(&editor);
}

std::unique_ptr<IButtonEditWindowController> ItemDialogFactory::makeButtonEditController(
    MenuEditViewController& editor)
{
    return std::make_unique<ButtonEditWindowController>(&editor);
}

void installMenuDialogs()
{
    MenuDialogFactory::install(std::make_shared<ItemDialogFactory>());
}
