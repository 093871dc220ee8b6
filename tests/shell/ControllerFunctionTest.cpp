#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "RecordingControllers.h"
#include "shell/ControllerFunction.h"

namespace {

// The twelve accessors, by name, as plain pointers.
std::vector<std::pair<const char*, const void*>> chain()
{
    return {
        {"appDelegate", ControllerFunction::appDelegate()},
        {"mainController", ControllerFunction::mainController()},
        {"listEditController", ControllerFunction::listEditController()},
        {"clipEditController", ControllerFunction::clipEditController()},
        {"videoEditController", ControllerFunction::videoEditController()},
        {"menuEditController", ControllerFunction::menuEditController()},
        {"imageEditController", ControllerFunction::imageEditController()},
        {"bgMusicController", ControllerFunction::bgMusicController()},
        {"bgPictureController", ControllerFunction::bgPictureController()},
        {"playModeController", ControllerFunction::playModeController()},
        {"titleTextEditController", ControllerFunction::titleTextEditController()},
        {"buttonEditController", ControllerFunction::buttonEditController()},
    };
}

// Every accessor from `first` on answers null.
void expectNullFrom(size_t first)
{
    const auto links = chain();
    for (size_t i = first; i < links.size(); ++i) {
        EXPECT_EQ(links[i].second, nullptr) << links[i].first;
    }
}

TEST(ControllerFunctionTest, AnswersNullAtEveryMissingLink)
{
    expectNullFrom(0);

    AppDelegate delegate;
    EXPECT_EQ(ControllerFunction::appDelegate(), &delegate);
    EXPECT_EQ(AppDelegate::current(), &delegate);
    expectNullFrom(1);

    delegate.setMainController(std::make_unique<MainWindowController>());
    EXPECT_NE(ControllerFunction::mainController(), nullptr);
    expectNullFrom(2);

    // A menu editor that has not made its dialogs yet.
    auto main = std::make_unique<MainWindowController>();
    main->setMenuEditController(std::make_unique<testsupport::RecordingMenuEditController>());
    delegate.setMainController(std::move(main));
    EXPECT_NE(ControllerFunction::menuEditController(), nullptr);
    EXPECT_EQ(ControllerFunction::listEditController(), nullptr);
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

        // Nothing is cached: a replaced editor is found at once, from any thread.
        installed.mainController->setListEditController(
            std::make_unique<testsupport::RecordingListEditController>());
        IListEditViewController* seen = nullptr;
        std::thread([&] { seen = ControllerFunction::listEditController(); }).join();
        EXPECT_NE(seen, nullptr);
        EXPECT_NE(seen, installed.listEdit);
    }
    expectNullFrom(0);
}

// A list editor that looks the chain up while it goes: the main window
// controller going away is already out of the chain.
class GoingListEditor : public testsupport::RecordingListEditController {
public:
    std::function<void()> onDestroy;
    ~GoingListEditor() override { onDestroy(); }
};

TEST(ControllerFunctionTest, AnEditorGoingFindsNothingBelowTheDelegate)
{
    bool checked = false;
    {
        AppDelegate delegate;
        auto main = std::make_unique<MainWindowController>();
        auto list = std::make_unique<GoingListEditor>();
        list->onDestroy = [&checked] {
            EXPECT_NE(ControllerFunction::appDelegate(), nullptr);
            EXPECT_EQ(ControllerFunction::mainController(), nullptr);
            EXPECT_EQ(ControllerFunction::listEditController(), nullptr);
            EXPECT_EQ(ControllerFunction::menuEditController(), nullptr);
            EXPECT_EQ(ControllerFunction::bgMusicController(), nullptr);
            checked = true;
        };
        main->setListEditController(std::move(list));
        main->setMenuEditController(std::make_unique<testsupport::RecordingMenuEditController>());
        delegate.setMainController(std::move(main));
    }
    EXPECT_TRUE(checked);
}

}  // namespace
