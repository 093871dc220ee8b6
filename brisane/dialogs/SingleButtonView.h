#pragma once
// A button picture's tile in the button dialog: a template of the store or a
// picture the user added to the project. It shows the picture, is
// highlighted while the current item uses it, and a click makes it the
// current item's button picture, but only while the dialog edits a
// navigation button (`clickActs` asks the dialog). The tile does not keep the
// picture's resource alive. Main thread.

#include <functional>
#include <memory>

#include "dialogs/TemplateTileView.h"

class DVDLibraryButtonResource;

class SingleButtonView : public TemplateTileView {
    Q_OBJECT
public:
    SingleButtonView(const std::shared_ptr<DVDLibraryButtonResource>& btnSource,
                     std::function<bool()> isButtonType, MenuEditorAccess editor, QWidget* parent);

    std::shared_ptr<DVDLibraryButtonResource> btnSource() const { return btnSource_.lock(); }

    bool isChosen() const override;
    bool clickActs() const override;
    void choose() override;

private:
    std::weak_ptr<DVDLibraryButtonResource> btnSource_;
    std::function<bool()> isButtonType_;
};
