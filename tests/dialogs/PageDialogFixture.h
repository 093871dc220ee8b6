#pragma once
// A project served through ModelServices (disc settings, an empty template
// library unless a test adds backgrounds) and the recording controllers, so
// that the page dialogs find a current page, a page list and a main window.

#include <gtest/gtest.h>

#include <memory>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "corvane/DVDLibraryResource.h"
#include "lumenta/LMMediaTime.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "model/ModelServices.h"

namespace pagedialogs {

inline qint64 ticks(double seconds)
{
    return static_cast<qint64>(seconds * static_cast<double>(lm_default_time_base()));
}

struct PageServices : ModelServices {
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
        ModelServices::install(services);
        installed = std::make_unique<testsupport::InstalledControllers>();
    }
    void TearDown() override
    {
        installed.reset();
        ModelServices::install(nullptr);
    }

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
