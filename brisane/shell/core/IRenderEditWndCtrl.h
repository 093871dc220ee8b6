#pragma once
// The slideshow editor as the shell, the title list and the menu editor see
// it. The slideshow editor derives from this; tests install recording fakes.

#include <memory>

class RenderItem;
class QWidget;

class IRenderEditWndCtrl {
public:
    virtual ~IRenderEditWndCtrl() = default;

    // The disc aspect code: 0 is 4:3, any other value 16:9.
    virtual void setEnumDisplayRatio(long ratio) = 0;
    // The window the editor's sheets attach to. Not owned.
    virtual void setWndSheetedWindow(QWidget* window) = 0;
    // Edits the slideshow in place; returns when the editing sheet has ended.
    virtual void startEditting(const std::shared_ptr<RenderItem>& slideshow) = 0;
};
