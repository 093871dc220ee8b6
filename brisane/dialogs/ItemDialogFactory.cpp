#include "dialogs/ItemDialogFactory.h"

#include "dialogs/ButtonEditWindowController.h"
#include "dialogs/TitleTextEditWindowController.h"

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
