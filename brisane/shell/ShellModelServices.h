#pragma once
// The project model's services as the running application answers them: the
// roots and the template library of the application delegate, and the menu
// editor's canvas redisplay, handed to the main thread. Installed by the
// delegate at launch. Any thread.

#include "model/ModelServices.h"

class ShellModelServices : public ModelServices {
public:
    // The delegate's roots; null when there is no delegate or no project.
    std::shared_ptr<DVDResource> dvd() const override;
    std::shared_ptr<DataResource> dateResource() const override;
    // The delegate's template library; the shared one before launch.
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override;
    // The menu editor's displayCanvasView, run on the main thread (at once
    // when called there); nothing without a menu editor.
    void displayCanvasView() override;
};
