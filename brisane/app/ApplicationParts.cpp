#include "app/ApplicationParts.h"

#include "app/AppEditorFactory.h"
#include "dialogs/ItemDialogFactory.h"
#include "menuedit/MenuDialogFactory.h"

void ApplicationParts::install()
{
    EditorFactory::install(std::make_shared<AppEditorFactory>());
    // The title and button dialogs; the page dialogs are still stand-ins.
    installMenuDialogs();
}
