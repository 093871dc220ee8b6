#include "common/PooledThreads.h"

#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/ThreadBudget.h"

namespace {

constexpr auto StartWait = std::chrono::seconds(5);

// Holds each task until all have begun, so that each one takes a thread of
// its own instead of a thread another task has just left.
struct Gathering {
    std::mutex lock;
    std::condition_variable changed;
    int arrived = 0;
};

}  // namespace

bool PooledThreads::startAll()
{
    QThreadPool* pool = QThreadPool::globalInstance();
    // As many as the cores the program counts, not one for every core.
    pool->setMaxThreadCount(std::min(pool->maxThreadCount(), ThreadBudget::cores()));
    pool->setExpiryTimeout(-1);
    const int count = pool->maxThreadCount();
    const auto gathering = std::make_shared<Gathering>();
    const auto deadline = std::chrono::steady_clock::now() + StartWait;
    for (int i = 0; i < count; ++i) {
        pool->start([gathering, count, deadline] {
            std::unique_lock lock(gathering->lock);
            ++gathering->arrived;
            gathering->changed.notify_all();
            gathering->changed.wait_until(lock, deadline,
                                          [&] { return gathering->arrived >= count; });
        });
    }
    std::unique_lock lock(gathering->lock);
    return gathering->changed.wait_until(lock, deadline,
                                         [&] { return gathering->arrived >= count; });
}
