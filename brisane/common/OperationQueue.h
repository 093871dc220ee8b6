#pragma once
// Runs operations when they are ready, in the order they were added.
//
// A queue made with the constructor runs its operations on a thread pool of
// its own, at most maxConcurrentOperationCount at a time (1 makes a serial
// queue). The main queue runs its operations one at a time on the main
// thread, each on a later pass of the event loop. An operation can wait on
// operations of any queue. An operation belongs to at most one queue: adding
// it again, to this queue or another, is refused. Every member may be called
// from any thread, except waitUntilAllOperationsAreFinished (see there).

#include <QList>
#include <memory>

#include "common/Operation.h"

class OperationQueue {
public:
    explicit OperationQueue(int maxConcurrentOperationCount = 4);
    // Drops the operations that have not started and waits for the running ones.
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    // The queue of the main thread.
    static OperationQueue& mainQueue();

    // False (logged) for a null operation, one that a queue already holds, or
    // one that has already run.
    bool addOperation(const std::shared_ptr<Operation>& operation);
    std::shared_ptr<Operation> addOperationWithBlock(Operation::Block block);
    // Adds the operation, then each of its dependencies, depth first in list
    // order. An operation the tree reaches again, or that a queue already
    // holds, is skipped, so each runs once. Answers how many were added.
    int addOperationWithDependency(const std::shared_ptr<Operation>& operation);

    // The operations added and not yet finished, in the order they were added.
    QList<std::shared_ptr<Operation>> operations() const;
    int operationCount() const;

    void cancelAllOperations();
    // A suspended queue starts nothing new.
    void setSuspended(bool suspended);
    bool isSuspended() const;
    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;

    // Blocks until every operation has finished. On the main queue, called on
    // the main thread, it runs the event loop meanwhile.
    void waitUntilAllOperationsAreFinished();

private:
    struct State;
    explicit OperationQueue(bool mainThread);
    static void schedule(const std::shared_ptr<State>& state);
    static void dispatch(const std::shared_ptr<State>& state,
                         const std::shared_ptr<Operation>& operation);
    static void operationDone(const std::shared_ptr<State>& state,
                              const std::shared_ptr<Operation>& operation);

    std::shared_ptr<State> state_;
};
