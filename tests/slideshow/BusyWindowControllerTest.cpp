// The shared busy sheet: shown and hidden from a worker thread, the caller
// waits until the main thread has done it; on the main thread both run at
// once (a blocking hand-over there would deadlock).

#include <gtest/gtest.h>

#include <QDialog>
#include <QProgressBar>
#include <QThread>
#include <atomic>
#include <thread>

#include "SlideshowEditTestSupport.h"
#include "slideshow/BusyWindowController.h"

namespace {

using slideshowedit::waitUntil;

TEST(BusyWindowController, OneSharedGreySheet)
{
    BusyWindowController* busy = BusyWindowController::sharedBusyWindowController();
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy, BusyWindowController::sharedBusyWindowController());
    EXPECT_EQ(busy->window()->palette().color(QPalette::Window),
              QColor::fromRgbF(0.25, 0.25, 0.25, 1.0));
    EXPECT_FALSE(busy->isAnimating());
}

TEST(BusyWindowController, FromAWorkerShowReturnsWithTheSheetUpHideWithItGone)
{
    QWidget host;
    host.resize(400, 300);
    host.show();
    BusyWindowController* busy = BusyWindowController::sharedBusyWindowController();

    std::atomic<int> step{0};
    std::atomic<bool> visibleAfterShow{false};
    std::atomic<bool> animatingAfterShow{false};
    std::atomic<bool> visibleAfterHide{true};
    std::atomic<bool> onHost{false};
    // The worker reads the window state right after each call returns, while
    // the main thread is still spinning below: what it sees is what the call
    // left, not something the main thread did later.
    std::thread worker([&] {
        busy->startShowingBusyWindow(&host);
        visibleAfterShow = busy->window()->isVisible();
        animatingAfterShow = busy->isAnimating();
        onHost = busy->window()->parentWidget() == &host &&
                 busy->window()->windowModality() == Qt::WindowModal;
        step = 1;
        busy->endShowingBusyWindow();
        visibleAfterHide = busy->window()->isVisible();
        step = 2;
    });
    const bool finished = waitUntil([&] { return step == 2; });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_TRUE(visibleAfterShow);
    EXPECT_TRUE(animatingAfterShow);
    EXPECT_TRUE(onHost);
    EXPECT_FALSE(visibleAfterHide);
    EXPECT_FALSE(busy->isAnimating());
    // Off the host again: closing the host cannot take the shared sheet along.
    EXPECT_EQ(busy->window()->parentWidget(), nullptr);
}

TEST(BusyWindowController, OnTheMainThreadBothRunAtOnce)
{
    QWidget host;
    host.show();
    BusyWindowController* busy = BusyWindowController::sharedBusyWindowController();
    busy->startShowingBusyWindow(&host);
    EXPECT_TRUE(busy->window()->isVisible());
    EXPECT_TRUE(busy->isAnimating());
    EXPECT_EQ(busy->exportProgressId()->maximum(), 0);
    busy->endShowingBusyWindow();
    EXPECT_FALSE(busy->window()->isVisible());
    EXPECT_FALSE(busy->isAnimating());
}

// Escape does not take the busy sheet away from under running work.
TEST(BusyWindowController, EscapeDoesNotDismissIt)
{
    QWidget host;
    host.show();
    BusyWindowController* busy = BusyWindowController::sharedBusyWindowController();
    busy->startShowingBusyWindow(&host);
    busy->window()->reject();
    EXPECT_TRUE(busy->window()->isVisible());
    busy->endShowingBusyWindow();
}

// A host destroyed while the sheet is up takes the sheet's window with it;
// the next showing makes a new one.
TEST(BusyWindowController, SurvivesItsHostGoing)
{
    auto* host = new QWidget;
    host->show();
    BusyWindowController* busy = BusyWindowController::sharedBusyWindowController();
    busy->startShowingBusyWindow(host);
    delete host;
    busy->endShowingBusyWindow();  // its window went with the host: nothing to do
    EXPECT_EQ(busy->window(), nullptr);
    QWidget other;
    other.show();
    busy->startShowingBusyWindow(&other);
    ASSERT_TRUE(busy->window());
    EXPECT_TRUE(busy->window()->isVisible());
    EXPECT_TRUE(busy->isAnimating());
    busy->endShowingBusyWindow();
    EXPECT_FALSE(busy->window()->isVisible());
}

}  // namespace
