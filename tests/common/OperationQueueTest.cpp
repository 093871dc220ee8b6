// Operations with dependencies on queues.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QStringList>
#include <mutex>

#include "common/OperationQueue.h"

namespace {

// Operations that write their name into a shared, locked list.
struct Journal {
    std::mutex mutex;
    QStringList entries;
    std::shared_ptr<Operation> make(const QString& name)
    {
        return Operation::blockOperation([this, name] {
            std::lock_guard lock(mutex);
            entries << name;
        });
    }
};

}  // namespace

TEST(OperationQueue, AddWithDependencyQueuesDepthFirstAndRunsDependenciesFirst)
{
    Journal journal;
    auto a = journal.make("A");
    auto b = journal.make("B");
    auto c = journal.make("C");
    auto d = journal.make("D");
    a->addDependency(b);
    a->addDependency(d);
    b->addDependency(c);
    OperationQueue& queue = OperationQueue::mainQueue();
    EXPECT_EQ(queue.addOperationWithDependency(a), 4);
    EXPECT_EQ(queue.operations(), (QList<std::shared_ptr<Operation>>{a, b, c, d}));
    EXPECT_TRUE(journal.entries.isEmpty());  // nothing runs before the event loop
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(journal.entries, (QStringList{"C", "B", "D", "A"}));
}

TEST(OperationQueue, SharedDependencyIsQueuedAndRunOnce)
{
    Journal journal;
    auto a = journal.make("A");
    auto b = journal.make("B");
    auto c = journal.make("C");
    auto shared = journal.make("S");
    a->addDependency(b);
    a->addDependency(c);
    b->addDependency(shared);
    c->addDependency(shared);
    OperationQueue queue(4);
    EXPECT_EQ(queue.addOperationWithDependency(a), 4);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(journal.entries.count("S"), 1);
    EXPECT_EQ(journal.entries.size(), 4);
    EXPECT_EQ(journal.entries.first(), "S");
    EXPECT_EQ(journal.entries.last(), "A");
}

TEST(OperationQueue, OperationAlreadyQueuedOrRunIsRefused)
{
    OperationQueue first(1);
    OperationQueue second(1);
    first.setSuspended(true);
    auto op = Operation::blockOperation([] {});
    EXPECT_TRUE(first.addOperation(op));
    EXPECT_FALSE(first.addOperation(op));
    EXPECT_FALSE(second.addOperation(op));
    EXPECT_FALSE(first.addOperation(nullptr));
    first.setSuspended(false);
    first.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(op->isFinished());
    EXPECT_FALSE(second.addOperation(op));
}

TEST(OperationQueue, DependencyOnAnotherQueueAndCancelledWork)
{
    Journal journal;
    OperationQueue background(2);
    auto last = journal.make("main");
    auto first = journal.make("background");
    auto skipped = journal.make("cancelled");
    last->addDependency(first);
    skipped->cancel();
    OperationQueue::mainQueue().addOperation(last);
    OperationQueue::mainQueue().addOperation(skipped);
    background.addOperation(first);
    OperationQueue::mainQueue().waitUntilAllOperationsAreFinished();
    EXPECT_EQ(journal.entries, (QStringList{"background", "main"}));
    EXPECT_TRUE(skipped->isFinished());
}

TEST(OperationQueue, SerialQueueRunsInOrder)
{
    Journal journal;
    OperationQueue serial(1);
    for (int i = 0; i < 20; ++i) {
        serial.addOperation(journal.make(QString::number(i)));
    }
    serial.waitUntilAllOperationsAreFinished();
    QStringList expected;
    for (int i = 0; i < 20; ++i) {
        expected << QString::number(i);
    }
    EXPECT_EQ(journal.entries, expected);
    EXPECT_EQ(serial.operationCount(), 0);
}

TEST(Operation, StartRefusesWhenNotReadyAndThrowingWorkStillFinishes)
{
    auto dependency = Operation::blockOperation([] {});
    auto op = Operation::blockOperation([] { throw std::runtime_error("no"); });
    op->addDependency(dependency);
    EXPECT_FALSE(op->start());
    EXPECT_TRUE(dependency->start());
    EXPECT_FALSE(dependency->start());
    EXPECT_THROW(op->start(), std::runtime_error);
    EXPECT_TRUE(op->isFinished());
}
