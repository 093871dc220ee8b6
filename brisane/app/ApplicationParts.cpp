#include "app/ApplicationParts.h"

#include "app/AppEditorFactory.h"
#include "app/ApplicationIdentity.h"
#include "common/widgets/SheetPlacement.h"
#include "dialogs/ItemDialogFactory.h"
#include "menuedit/MenuDialogFactory.h"

void ApplicationParts::install()
{
    // The desktop entry and the icon the desktop knows the windows by.
    ApplicationIdentity::install();
    EditorFactory::install(std::make_shared<AppEditorFactory>());
    // The five dialogs of the menu editor.
    installMenuDialogs();
    // Sheets open centred on their window.
    SheetPlacement::install();
}
