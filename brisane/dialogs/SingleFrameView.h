#pragma once
// A frame template's tile in the title dialog: shows the template's picture,
// is highlighted while the current item uses the template, and a click makes
// the template the current item's frame. The template belongs to the
// template store; the tile does not keep it alive. Main thread.

#include <memory>

#include "dialogs/TemplateTileView.h"

class DVDLibraryFrameResource;

class SingleFrameView : public TemplateTileView {
    Q_OBJECT
public:
    SingleFrameView(const std::shared_ptr<DVDLibraryFrameResource>& frameSource,
                    MenuEditorAccess editor, QWidget* parent);

    std::shared_ptr<DVDLibraryFrameResource> frameSource() const { return frameSource_.lock(); }

    bool isChosen() const override;
    bool clickActs() const override { return true; }
    void choose() override;

private:
    std::weak_ptr<DVDLibraryFrameResource> frameSource_;
};
