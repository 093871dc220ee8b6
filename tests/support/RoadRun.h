#pragma once
// Runs a production road of the window to its end, as the user would wait
// for it: the road starts and returns at once, and the test serves the main
// loop until the window tells the road has ended. Only for tests that link
// the shell.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <optional>

#include "production/ProductionResult.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"

namespace testsupport {

// Serves the main loop until `ended` holds a result (at most five minutes).
inline void serveUntil(const std::optional<ProductionResult>& ended)
{
    QElapsedTimer clock;
    clock.start();
    while (!ended && clock.elapsed() < 300000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

// Calls `start` (which begins a road of `window`) and answers the road's
// result once the window has ended it.
inline ProductionResult runRoad(BurnDVDCtrl& window, const std::function<void()>& start)
{
    std::optional<ProductionResult> ended;
    const QMetaObject::Connection connection =
        QObject::connect(&window, &BurnDVDCtrl::roadEnded,
                         [&ended](const ProductionResult& result) { ended = result; });
    start();
    serveUntil(ended);
    QObject::disconnect(connection);
    if (!ended) {
        ADD_FAILURE() << "the production road did not end";
        window.cancel();
        return ProductionResult::failed(QStringLiteral("the road did not end"));
    }
    return *ended;
}

// Presses Start on the burn sheet: answers the refusal, nothing when it
// stopped at the sheet, or the result of the road it began, once ended.
inline std::optional<ProductionResult> startAndWait(BurnSettingWindow& sheet)
{
    std::optional<ProductionResult> ended;
    const QMetaObject::Connection connection =
        QObject::connect(&sheet, &BurnSettingWindow::productionEnded,
                         [&ended](const ProductionResult& result) { ended = result; });
    std::optional<ProductionResult> result = sheet.startBurnAction();
    if (!result && !ended && sheet.dvdBurner() && sheet.dvdBurner()->isRunning()) {
        serveUntil(ended);
        if (!ended) {
            ADD_FAILURE() << "the production road did not end";
        }
    }
    QObject::disconnect(connection);
    return result ? result : ended;
}

}  // namespace testsupport
