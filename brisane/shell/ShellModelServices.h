#pragma once
// The open project as the running application answers it to its editors: the
// roots and the template library of the application delegate. Installed by
// the delegate at launch. Any thread.

#include "model/ModelServices.h"

class ShellModelServices : public ModelServices {
public:
    // The delegate's roots; null when there is no delegate or no project.
    std::shared_ptr<DVDResource> dvd() const override;
    std::shared_ptr<DataResource> dateResource() const override;
    // The delegate's template library; the shared one before launch.
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override;
};
