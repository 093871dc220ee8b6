#include "app/AppEditorFactory.h"

#include "listedit/ListEditViewController.h"
#include "menuedit/MenuEditViewController.h"
// The slideshow editor's header returns its busy sheet inline.
#include "slideshow/RenderEditWndCtrl.h"
#include "videoedit/ClipEditWindowController.h"
#include "videoedit/VideoEditWindowController.h"

std::unique_ptr<IListEditViewController> AppEditorFactory::makeListEditController(
    QWidget* window, IDocumentHost* host)
{
    auto made = std::make_unique<ListEditViewController>(window, host);
    m_listEditor = made.get();
    return made;
}

std::unique_ptr<IClipEditWindowController> AppEditorFactory::makeClipEditController(
    QWidget* window, IDocumentHost* host)
{
    return std::make_unique<ClipEditWindowController>(window, host, m_listEditor.data());
}

std::unique_ptr<IVideoEditWindowController> AppEditorFactory::makeVideoEditController(
    QWidget* window, IDocumentHost* host)
{
    return std::make_unique<VideoEditWindowController>(window, host);
}

std::unique_ptr<IMenuEditViewController> AppEditorFactory::makeMenuEditController(
    QWidget* window, IDocumentHost* host)
{
    return std::make_unique<MenuEditViewController>(window, host);
}

std::unique_ptr<IRenderEditWndCtrl> AppEditorFactory::makeImageEditController(QWidget* window,
                                                                              IDocumentHost*)
{
    return std::make_unique<RenderEditWndCtrl>(window);
}
