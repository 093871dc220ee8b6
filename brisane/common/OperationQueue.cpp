#include "common/OperationQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>
#include <QtDebug>
#include <condition_variable>
#include <mutex>
#include <unordered_set>

struct OperationQueue::State {
    bool mainThread = false;
    mutable std::mutex mutex;
    std::condition_variable idle;
    QList<std::shared_ptr<Operation>> all;      // added and not finished, in order
    QList<std::shared_ptr<Operation>> waiting;  // not yet handed out
    int running = 0;
    int maxConcurrent = 1;
    bool suspended = false;
    bool closed = false;
    std::unique_ptr<QThreadPool> pool;
};

OperationQueue::OperationQueue(int maxConcurrentOperationCount) : state_(std::make_shared<State>())
{
    state_->maxConcurrent = std::max(1, maxConcurrentOperationCount);
    state_->pool = std::make_unique<QThreadPool>();
    state_->pool->setMaxThreadCount(state_->maxConcurrent);
}

OperationQueue::OperationQueue(bool mainThread) : state_(std::make_shared<State>())
{
    state_->mainThread = mainThread;
    state_->maxConcurrent = 1;
}

OperationQueue::~OperationQueue()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->closed = true;
        state_->waiting.clear();
    }
    if (state_->pool) {
        state_->pool->waitForDone();
    }
}

OperationQueue& OperationQueue::mainQueue()
{
    static OperationQueue queue(true);
    return queue;
}

bool OperationQueue::addOperation(const std::shared_ptr<Operation>& operation)
{
    if (!operation) {
        qWarning() << "OperationQueue: cannot add a null operation";
        return false;
    }
    if (!operation->claimForQueue()) {
        qWarning() << "OperationQueue: operation already queued or run, not added again";
        return false;
    }
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) {
            return false;
        }
        state_->all.append(operation);
        state_->waiting.append(operation);
    }
    // Look again whenever a dependency finishes, whichever queue runs it.
    const std::weak_ptr<State> weakState = state_;
    for (const auto& dependency : operation->dependencies()) {
        dependency->whenFinished([weakState] {
            if (auto state = weakState.lock()) {
                schedule(state);
            }
        });
    }
    schedule(state_);
    return true;
}

std::shared_ptr<Operation> OperationQueue::addOperationWithBlock(Operation::Block block)
{
    auto operation = Operation::blockOperation(std::move(block));
    return addOperation(operation) ? operation : nullptr;
}

int OperationQueue::addOperationWithDependency(const std::shared_ptr<Operation>& operation)
{
    std::unordered_set<const Operation*> visited;
    int added = 0;
    std::function<void(const std::shared_ptr<Operation>&)> visit =
        [&](const std::shared_ptr<Operation>& current) {
            if (!current || !visited.insert(current.get()).second) {
                return;
            }
            if (addOperation(current)) {
                ++added;
            }
            for (const auto& dependency : current->dependencies()) {
                visit(dependency);
            }
        };
    visit(operation);
    return added;
}

QList<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    std::lock_guard lock(state_->mutex);
    return state_->all;
}

int OperationQueue::operationCount() const
{
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(state_->all.size());
}

void OperationQueue::cancelAllOperations()
{
    for (const auto& operation : operations()) {
        operation->cancel();
    }
    schedule(state_);
}

void OperationQueue::setSuspended(bool suspended)
{
    {
        std::lock_guard lock(state_->mutex);
        state_->suspended = suspended;
    }
    schedule(state_);
}

bool OperationQueue::isSuspended() const
{
    std::lock_guard lock(state_->mutex);
    return state_->suspended;
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    if (state_->mainThread) {
        return;  // the main thread runs one thing at a time
    }
    {
        std::lock_guard lock(state_->mutex);
        state_->maxConcurrent = std::max(1, count);
        state_->pool->setMaxThreadCount(state_->maxConcurrent);
    }
    schedule(state_);
}

int OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(state_->mutex);
    return state_->maxConcurrent;
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    auto* app = QCoreApplication::instance();
    if (state_->mainThread && app && QThread::currentThread() == app->thread()) {
        while (operationCount() > 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        return;
    }
    std::unique_lock lock(state_->mutex);
    state_->idle.wait(lock, [this] { return state_->all.isEmpty(); });
}

void OperationQueue::schedule(const std::shared_ptr<State>& state)
{
    QList<std::shared_ptr<Operation>> toStart;
    {
        std::lock_guard lock(state->mutex);
        for (auto it = state->waiting.begin(); it != state->waiting.end();) {
            if (state->suspended || state->running >= state->maxConcurrent) {
                break;
            }
            const auto& operation = *it;
            if (operation->isCancelled() || operation->isReady()) {
                toStart.append(operation);
                ++state->running;
                it = state->waiting.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& operation : toStart) {
        dispatch(state, operation);
    }
}

void OperationQueue::dispatch(const std::shared_ptr<State>& state,
                              const std::shared_ptr<Operation>& operation)
{
    auto run = [state, operation] {
        try {
            operation->start();
        } catch (...) {
            operationDone(state, operation);
            throw;
        }
        operationDone(state, operation);
    };
    if (!state->mainThread) {
        state->pool->start(run);
        return;
    }
    auto* app = QCoreApplication::instance();
    if (!app || !QMetaObject::invokeMethod(app, run, Qt::QueuedConnection)) {
        qWarning() << "OperationQueue: no main event loop, operation not run";
        operationDone(state, operation);
    }
}

void OperationQueue::operationDone(const std::shared_ptr<State>& state,
                                   const std::shared_ptr<Operation>& operation)
{
    {
        std::lock_guard lock(state->mutex);
        --state->running;
        state->all.removeOne(operation);
    }
    state->idle.notify_all();
    schedule(state);
}
