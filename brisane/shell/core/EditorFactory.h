#pragma once
// Makes the editors the main window hosts. The editors lie above the shell
// in the module order, so the application installs a factory that makes the
// real ones; until it does (and in tests that install none) the default
// factory makes none, and the main window shows empty tabs.
//
// The main window asks once, while it sets itself up, in this order: title
// list, chapter editor, video editor, menu editor, slideshow editor. Each
// editor gets the main window as its parent and the document host (the main
// window controller, not owned, outliving the editor) that hands it the
// open project. Main thread.

#include <memory>

class IDocumentHost;
class IListEditViewController;
class IClipEditWindowController;
class IVideoEditWindowController;
class IMenuEditViewController;
class IRenderEditWndCtrl;
class QWidget;

class EditorFactory {
public:
    virtual ~EditorFactory();

    virtual std::unique_ptr<IListEditViewController> makeListEditController(QWidget* window,
                                                                            IDocumentHost* host);
    virtual std::unique_ptr<IClipEditWindowController> makeClipEditController(QWidget* window,
                                                                              IDocumentHost* host);
    virtual std::unique_ptr<IVideoEditWindowController> makeVideoEditController(
        QWidget* window, IDocumentHost* host);
    virtual std::unique_ptr<IMenuEditViewController> makeMenuEditController(QWidget* window,
                                                                            IDocumentHost* host);
    virtual std::unique_ptr<IRenderEditWndCtrl> makeImageEditController(QWidget* window,
                                                                        IDocumentHost* host);

    // The installed factory, or the default one.
    static std::shared_ptr<EditorFactory> current();
    // Installs a factory for the whole process; null restores the default.
    static void install(std::shared_ptr<EditorFactory> factory);
};
