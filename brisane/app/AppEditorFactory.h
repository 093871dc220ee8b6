#pragma once
// The editors of the running program: the title list, the chapter editor, the
// video editor, the menu editor and the slideshow editor. The chapter editor
// writes its chapters into the title list the factory made just before it
// (the main window asks for the title list first).

#include <QPointer>

#include "shell/core/EditorFactory.h"

class ListEditViewController;

class AppEditorFactory : public EditorFactory {
public:
    std::unique_ptr<IListEditViewController> makeListEditController(QWidget* window,
                                                                    IDocumentHost* host) override;
    std::unique_ptr<IClipEditWindowController> makeClipEditController(QWidget* window,
                                                                      IDocumentHost* host) override;
    std::unique_ptr<IVideoEditWindowController> makeVideoEditController(
        QWidget* window, IDocumentHost* host) override;
    std::unique_ptr<IMenuEditViewController> makeMenuEditController(QWidget* window,
                                                                    IDocumentHost* host) override;
    std::unique_ptr<IRenderEditWndCtrl> makeImageEditController(QWidget* window,
                                                                IDocumentHost* host) override;

private:
    QPointer<ListEditViewController> m_listEditor;
};
