#include "app/AppEditorFactory.h"

#include "listedit/ListEditViewController.h"
#include "menuedit/MenuEditViewController.h"
// The slideshow editor's header returns its busy sheet inline.
#include "slideshow/RenderEditWndCtrl.h"
#include "videoedit/ClipEditWindowController.h"
#include "videoedit/VideoEditWindowController.h"

std::unique_ptr<IListEditViewController> AppEditorFactory::makeListEditController(QWidget* window)
{
    return std::make_unique<ListEditViewController>(window);
}

std::unique_ptr<IClipEditWindowController> AppEditorFactory::makeClipEditController(QWidget* window)
{
    return std::make_unique<ClipEditWindowController>(window);
}

std::unique_ptr<IVideoEditWindowController> AppEditorFactory::makeVideoEditController(
    QWidget* window)
{
    return std::make_unique<VideoEditWindowController>(window);
}

std::unique_ptr<IMenuEditViewController> AppEditorFactory::makeMenuEditController(QWidget* window)
{
    return std::make_unique<MenuEditViewController>(window);
}

std::unique_ptr<IRenderEditWndCtrl> AppEditorFactory::makeImageEditController(QWidget* window)
{
    return std::make_unique<RenderEditWndCtrl>(window);
}
