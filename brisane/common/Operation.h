#pragma once
// One unit of work with dependencies, run once by an OperationQueue or by
// start().
//
// An operation is ready when every dependency has finished. start() runs the
// work on the calling thread; a cancelled operation finishes without running
// its work. Dependencies are held (shared); they must not form a cycle.
// Every member may be called from any thread. Work that throws still
// finishes the operation; the exception goes on to the caller of start().

#include <QList>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class Operation : public std::enable_shared_from_this<Operation> {
public:
    using Block = std::function<void()>;

    // An operation whose work is the block.
    static std::shared_ptr<Operation> blockOperation(Block block);

    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    virtual ~Operation();

    // Dependencies are kept in the order they were added; adding one twice
    // keeps it once.
    void addDependency(const std::shared_ptr<Operation>& operation);
    void removeDependency(const std::shared_ptr<Operation>& operation);
    QList<std::shared_ptr<Operation>> dependencies() const;

    bool isReady() const;
    bool isExecuting() const;
    bool isFinished() const;
    bool isCancelled() const;

    // Marks the operation cancelled; work already running is not stopped.
    void cancel();
    // Runs the work on the calling thread and marks the operation finished.
    // Answers false (and does nothing) when it has already been started or
    // when it is neither ready nor cancelled.
    bool start();
    // Blocks until the operation has finished.
    void waitUntilFinished() const;

    // Calls `observer` once when the operation finishes, on the finishing
    // thread, or at once when it has finished already.
    void whenFinished(std::function<void()> observer);

protected:
    Operation() = default;
    // The work. The block operation runs its block.
    virtual void main();

private:
    friend class OperationQueue;
    enum class State { Waiting, Executing, Finished };

    // Marks the operation finished and tells the observers.
    void finish();
    // Claims the operation for a queue; false when a queue already holds it.
    bool claimForQueue();

    mutable std::mutex mutex_;
    mutable std::condition_variable finished_;
    State state_ = State::Waiting;
    bool cancelled_ = false;
    bool queued_ = false;
    QList<std::shared_ptr<Operation>> dependencies_;
    std::vector<std::function<void()>> finishObservers_;
    Block block_;
};
