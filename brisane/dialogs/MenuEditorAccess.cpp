#include "dialogs/MenuEditorAccess.h"

#include "menuedit/MenuEditViewController.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "model/DVDResource.h"
#include "shell/core/IDocumentHost.h"

MenuEditorAccess::MenuEditorAccess(MenuEditViewController* editor) : m_editor(editor) {}

MenuEditViewController* MenuEditorAccess::menuEditController() const
{
    return m_editor.data();
}

IDocumentHost* MenuEditorAccess::documentHost() const
{
    return m_editor ? m_editor->documentHost() : nullptr;
}

std::shared_ptr<DVDPageItem> MenuEditorAccess::currentItem() const
{
    return m_editor ? m_editor->currentItem() : nullptr;
}

std::shared_ptr<DVDPage> MenuEditorAccess::currentMenu() const
{
    return m_editor ? m_editor->currentMenu() : nullptr;
}

QRectF MenuEditorAccess::menuCanvasRect() const
{
    return m_editor ? m_editor->menuCanvasRect() : QRectF();
}

QList<std::shared_ptr<DVDPageItem>> MenuEditorAccess::sourceArray() const
{
    return m_editor ? m_editor->sourceArray() : QList<std::shared_ptr<DVDPageItem>>();
}

std::shared_ptr<DVDResource> MenuEditorAccess::dvd() const
{
    return m_editor ? m_editor->dvd() : nullptr;
}

std::shared_ptr<DVDLibraryResource> MenuEditorAccess::dvdLibSource() const
{
    IDocumentHost* host = documentHost();
    return host ? host->dvdLibSource() : nullptr;
}

QRectF MenuEditorAccess::boundInCanvasLimit(const QRectF& rect) const
{
    return MenuCanvasGeometry::boundInCanvasLimit(rect, menuCanvasRect());
}

void MenuEditorAccess::updateItemControlViewFrame() const
{
    if (m_editor) {
        m_editor->updateItemControlViewFrame();
    }
}

void MenuEditorAccess::displayCanvasView() const
{
    if (m_editor) {
        m_editor->displayCanvasView();
    }
}

void MenuEditorAccess::markDocumentEdited() const
{
    if (IDocumentHost* host = documentHost()) {
        host->setDocumentEdited(true);
    }
}
