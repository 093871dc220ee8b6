#include "app/ApplicationParts.h"

#include "app/AppEditorFactory.h"
#include "common/SheetPlacement.h"
#include "dialogs/ItemDialogFactory.h"
#include "menuedit/MenuDialogFactory.h"

void ApplicationParts::install()
{
    EditorFactory::install(std::make_shared<AppEditorFactory>());
    // The five dialogs of the menu editor.
    installMenuDialogs();
    // Sheets open centred on their window.
    SheetPlacement::install();
}
