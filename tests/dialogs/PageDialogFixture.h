#pragma once
// A project (disc settings, an empty template library unless a test adds
// backgrounds) handed to the recording main window, and the recording
// controllers, so that the page dialogs made with that main window as their
// host find a current page, a page list and a main window.

#include <gtest/gtest.h>

#include <memory>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "corvane/DVDLibraryResource.h"
#include "lumenta/LMMediaTime.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "shell/core/OpenProject.h"

namespace pagedialogs {

inline qint64 ticks(double seconds)
{
    return static_cast<qint64>(seconds * static_cast<double>(lm_default_time_base()));
}

struct PageServices : OpenProject {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
    std::shared_ptr<DVDLibraryResource> library = std::make_shared<DVDLibraryResource>();
    std::shared_ptr<DVDResource> dvd() const override { return disc; }
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override { return library; }
};

class PageDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services = std::make_shared<PageServices>();
        installed = std::make_unique<testsupport::InstalledControllers>();
        installed->mainController->setOpenProject(services);
    }
    void TearDown() override { installed.reset(); }

    // The document host the dialogs are made with.
    IDocumentHost* host() const { return installed->mainController; }

    // Adds `count` pages; the first becomes the menu editor's current page.
    void addPages(int count)
    {
        auto pages = services->disc->pageArray();
        for (int i = 0; i < count; ++i) {
            pages << std::make_shared<DVDPage>(services->library);
        }
        services->disc->setPageArray(pages);
        installed->menuEdit->menu = pages.first();
    }
    QList<std::shared_ptr<DVDPage>> pages() const { return services->disc->pageArray(); }

    std::shared_ptr<PageServices> services;
    std::unique_ptr<testsupport::InstalledControllers> installed;
};

}  // namespace pagedialogs
