#pragma once
// The editors of the running program: the title list, the chapter editor, the
// video editor, the menu editor and the slideshow editor.

#include "shell/core/EditorFactory.h"

class AppEditorFactory : public EditorFactory {
public:
    std::unique_ptr<IListEditViewController> makeListEditController(QWidget* window) override;
    std::unique_ptr<IClipEditWindowController> makeClipEditController(QWidget* window) override;
    std::unique_ptr<IVideoEditWindowController> makeVideoEditController(QWidget* window) override;
    std::unique_ptr<IMenuEditViewController> makeMenuEditController(QWidget* window) override;
    std::unique_ptr<IRenderEditWndCtrl> makeImageEditController(QWidget* window) override;
};
