#include "app/ApplicationParts.h"

#include "app/AppEditorFactory.h"
#include "menuedit/MenuDialogFactory.h"

void ApplicationParts::install()
{
    EditorFactory::install(std::make_shared<AppEditorFactory>());
    // The dialogs' stand-ins until the dialogs themselves are part of the
    // program.
    MenuDialogFactory::install(std::make_shared<MenuDialogFactory>());
}
