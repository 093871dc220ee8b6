// The main window controller's disc-side operations work on the open
// project: the rebuild with the menu editor's reload, the buttons, the menu
// duration, the estimate and the disc model.

#include "DiscSideFixture.h"
#include "RecordingControllers.h"
#include "corvane/DVDLibrary.h"
#include "shell/AppDelegate.h"
#include "shell/ControllerFunction.h"
#include "shell/MainWindowController.h"

using namespace discside;

namespace {

class MainWindowDiscSideTest : public DiscSideTest {
protected:
    void SetUp() override
    {
        DiscSideTest::SetUp();
        auto main = std::make_unique<MainWindowController>(services);
        auto menuEditor = std::make_unique<testsupport::RecordingMenuEditController>();
        menuEdit = menuEditor.get();
        main->setMenuEditController(std::move(menuEditor));
        delegate.setMainController(std::move(main));
    }

    MainWindowController& main() { return *ControllerFunction::mainController(); }

    AppDelegate delegate;
    testsupport::RecordingMenuEditController* menuEdit = nullptr;
};

TEST_F(MainWindowDiscSideTest, RebuildsTheOpenProjectThenReloadsTheMenuEditor)
{
    const auto page = addPage();
    const auto title = addTitle(page, 2);
    main().initDvdResource();
    EXPECT_EQ(disc().pageArray(),
              (DVDResource::PageList{page->menuPage(), title->menuItem()->subPage()}));
    EXPECT_EQ(menuEdit->calls, QStringList{"flushDVDPageEditWhenOpen"});

    page->menuPage()->setMenuDuration(42);
    EXPECT_EQ(main().getCurrentDVDMenuDuration(), 42.0);
    disc().setShowPlayButton(true);
    main().updatePreNextButtonForDVDPageArray();
    EXPECT_TRUE(page->menuPage()->itemArray().contains(page->menuPage()->playButtonItem()));

    const auto dvd = main().getDVDObj();
    ASSERT_TRUE(dvd);
    EXPECT_EQ(dvd->titles().size(), 2);
}

TEST_F(MainWindowDiscSideTest, EstimatesTheOpenProject)
{
    addTitle(addPage(), 1);
    main().initDvdResource();
    main().changeCapacityValue();
    const qint64 expected = CapacityEstimate::usedSpaceForSeconds(10 + 15, 4000);
    EXPECT_EQ(main().totalUsedSpace(), expected);
    EXPECT_EQ(main().capacityEstimate().showString,
              QString("Need Spend DVD Space: %1 MB").arg(expected / 1000000));
    const auto clip =
        services->media->dvdPageArray().first()->titleDataArray().first()->mediaDataArray().first();
    EXPECT_EQ(main().totalMediaDataTime(clip), 10.0);
    EXPECT_EQ(main().totalMediaDataTime(nullptr), 0.0);
}

TEST_F(MainWindowDiscSideTest, WithoutAProjectNothingIsBuilt)
{
    delegate.mainController()->setOpenProject(nullptr);
    delegate.mainController()->setMenuEditController(nullptr);
    main().initDvdResource();
    main().changeCapacityValue();
    EXPECT_EQ(main().totalUsedSpace(), 0);
    EXPECT_EQ(main().capacityEstimate().showString, "Need Spend DVD Space: 0 MB");
    EXPECT_FALSE(main().getDVDObj());
    EXPECT_EQ(main().getCurrentDVDMenuDuration(), 15.0);
}

}  // namespace
