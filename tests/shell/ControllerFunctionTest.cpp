#include <gtest/gtest.h>

#include "RecordingControllers.h"
#include "shell/ControllerFunction.h"

namespace {

TEST(ControllerFunctionTest, AnswersNullAtEveryMissingLink)
{
    ASSERT_EQ(ControllerFunction::appDelegate(), nullptr);
    EXPECT_EQ(ControllerFunction::mainController(), nullptr);
    EXPECT_EQ(ControllerFunction::listEditController(), nullptr);
    EXPECT_EQ(ControllerFunction::titleTextEditController(), nullptr);

    AppDelegate delegate;
    EXPECT_EQ(ControllerFunction::appDelegate(), &delegate);
    EXPECT_EQ(ControllerFunction::mainController(), nullptr);
    EXPECT_EQ(ControllerFunction::menuEditController(), nullptr);
    EXPECT_EQ(ControllerFunction::buttonEditController(), nullptr);

    delegate.setMainController(std::make_unique<MainWindowController>());
    EXPECT_NE(ControllerFunction::mainController(), nullptr);
    EXPECT_EQ(ControllerFunction::videoEditController(), nullptr);
    EXPECT_EQ(ControllerFunction::playModeController(), nullptr);
}

TEST(ControllerFunctionTest, WalksToTheInstalledEditorsAndDialogs)
{
    {
        testsupport::InstalledControllers installed;
        EXPECT_EQ(ControllerFunction::mainController(), installed.mainController);
        EXPECT_EQ(ControllerFunction::listEditController(), installed.listEdit);
        EXPECT_EQ(ControllerFunction::clipEditController(), installed.clipEdit);
        EXPECT_EQ(ControllerFunction::videoEditController(), installed.videoEdit);
        EXPECT_EQ(ControllerFunction::menuEditController(), installed.menuEdit);
        EXPECT_EQ(ControllerFunction::imageEditController(), installed.imageEdit);
        EXPECT_EQ(ControllerFunction::bgMusicController(), &installed.menuEdit->bgMusic);
        EXPECT_EQ(ControllerFunction::bgPictureController(), &installed.menuEdit->bgPicture);
        EXPECT_EQ(ControllerFunction::playModeController(), &installed.menuEdit->playMode);
        EXPECT_EQ(ControllerFunction::titleTextEditController(), &installed.menuEdit->titleText);
        EXPECT_EQ(ControllerFunction::buttonEditController(), &installed.menuEdit->button);
    }
    EXPECT_EQ(ControllerFunction::appDelegate(), nullptr);
}

}  // namespace
