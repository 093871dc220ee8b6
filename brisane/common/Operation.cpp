#include "common/Operation.h"

std::shared_ptr<Operation> Operation::blockOperation(Block block)
{
    std::shared_ptr<Operation> operation(new Operation());
    operation->block_ = std::move(block);
    return operation;
}

Operation::~Operation() = default;

void Operation::addDependency(const std::shared_ptr<Operation>& operation)
{
    if (!operation || operation.get() == this) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (!dependencies_.contains(operation)) {
        dependencies_.append(operation);
    }
}

void Operation::removeDependency(const std::shared_ptr<Operation>& operation)
{
    std::lock_guard lock(mutex_);
    dependencies_.removeAll(operation);
}

QList<std::shared_ptr<Operation>> Operation::dependencies() const
{
    std::lock_guard lock(mutex_);
    return dependencies_;
}

bool Operation::isReady() const
{
    for (const auto& dependency : dependencies()) {
        if (!dependency->isFinished()) {
            return false;
        }
    }
    return true;
}

bool Operation::isExecuting() const
{
    std::lock_guard lock(mutex_);
    return state_ == State::Executing;
}

bool Operation::isFinished() const
{
    std::lock_guard lock(mutex_);
    return state_ == State::Finished;
}

bool Operation::isCancelled() const
{
    std::lock_guard lock(mutex_);
    return cancelled_;
}

void Operation::cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = true;
}

bool Operation::start()
{
    const bool ready = isReady();
    bool runWork = false;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Waiting || (!ready && !cancelled_)) {
            return false;
        }
        runWork = !cancelled_;
        state_ = State::Executing;
    }
    if (runWork) {
        try {
            main();
        } catch (...) {
            // Dependants must not wait for ever on work that threw.
            finish();
            throw;
        }
    }
    finish();
    return true;
}

void Operation::finish()
{
    std::vector<std::function<void()>> observers;
    {
        std::lock_guard lock(mutex_);
        state_ = State::Finished;
        observers.swap(finishObservers_);
        block_ = nullptr;  // lets go of what the work captured
    }
    finished_.notify_all();
    for (const auto& observer : observers) {
        observer();
    }
}

void Operation::waitUntilFinished() const
{
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return state_ == State::Finished; });
}

void Operation::whenFinished(std::function<void()> observer)
{
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Finished) {
            finishObservers_.push_back(std::move(observer));
            return;
        }
    }
    observer();
}

void Operation::main()
{
    Block block;
    {
        std::lock_guard lock(mutex_);
        block = block_;
    }
    if (block) {
        block();
    }
}

bool Operation::claimForQueue()
{
    std::lock_guard lock(mutex_);
    if (queued_ || state_ != State::Waiting) {
        return false;
    }
    queued_ = true;
    return true;
}
