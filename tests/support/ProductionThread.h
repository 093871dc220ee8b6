#pragma once
// Runs the rendering step as production does: on a thread of its own, while
// the calling (main) thread serves its event loop, where the converters report
// their finish. Header-only: include it from tests that link the production
// module.

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <future>
#include <memory>

#include "production/MakeDVDVideo.h"
#include "production/ProductionResult.h"

class DVDLibrary;

namespace testsupport {

inline ProductionResult renderOnProductionThread(MakeDVDVideo& step,
                                                 const std::shared_ptr<DVDLibrary>& disc,
                                                 const QString& work)
{
    std::future<ProductionResult> done =
        std::async(std::launch::async, [&] { return step.makeDVDVideo(disc, work); });
    while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done.get();
}

}  // namespace testsupport
