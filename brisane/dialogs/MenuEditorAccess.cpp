#include "dialogs/MenuEditorAccess.h"

#include <QWidget>

#include "dialogs/TextStyleOperations.h"
#include "menuedit/MenuEditViewController.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "model/DVDResource.h"
#include "model/ModelServices.h"
#include "shell/ControllerFunction.h"

MenuEditViewController* MenuEditorAccess::menuEditController()
{
    return dynamic_cast<MenuEditViewController*>(ControllerFunction::menuEditController());
}

std::shared_ptr<DVDPageItem> MenuEditorAccess::currentItem()
{
    const MenuEditViewController* editor = menuEditController();
    return editor ? editor->currentItem() : nullptr;
}

std::shared_ptr<DVDPage> MenuEditorAccess::currentMenu()
{
    const MenuEditViewController* editor = menuEditController();
    return editor ? editor->currentMenu() : nullptr;
}

QRectF MenuEditorAccess::menuCanvasRect()
{
    if (const MenuEditViewController* editor = menuEditController()) {
        return editor->menuCanvasRect();
    }
    const auto disc = dvd();
    return disc ? disc->menuCanvasRect() : QRectF();
}

QList<std::shared_ptr<DVDPageItem>> MenuEditorAccess::sourceArray()
{
    const MenuEditViewController* editor = menuEditController();
    return editor ? editor->sourceArray() : QList<std::shared_ptr<DVDPageItem>>();
}

std::shared_ptr<DVDResource> MenuEditorAccess::dvd()
{
    return ModelServices::current()->dvd();
}

QRectF MenuEditorAccess::boundInCanvasLimit(const QRectF& rect)
{
    return MenuCanvasGeometry::boundInCanvasLimit(rect, menuCanvasRect());
}

void MenuEditorAccess::updateItemControlViewFrame()
{
    if (MenuEditViewController* editor = menuEditController()) {
        editor->updateItemControlViewFrame();
    }
}

void MenuEditorAccess::displayCanvasView()
{
    TextStyleOperations::displayCanvasView();
}
