// What the program sets up at launch against running out of threads or
// memory later: the shared pool's threads all started and kept, and a
// message that cannot be formatted lost instead of the program.
#include <gtest/gtest.h>

#include <QDir>
#include <QThreadPool>
#include <new>

#include "common/PooledThreads.h"
#include "common/SafeMessageOutput.h"

namespace {

int threadsOfThisProcess()
{
    return static_cast<int>(
        QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

TEST(LaunchSafeguards, EveryThreadOfTheSharedPoolRunsAndStays)
{
    ASSERT_TRUE(PooledThreads::startAll());
    QThreadPool* pool = QThreadPool::globalInstance();
    EXPECT_EQ(pool->expiryTimeout(), -1);
    // The pool's threads are there (some may have run earlier tests' work).
    EXPECT_GE(threadsOfThisProcess(), pool->maxThreadCount() + 1);
}

void outOfMemoryHandler(QtMsgType, const QMessageLogContext&, const QString&)
{
    throw std::bad_alloc();
}

TEST(LaunchSafeguards, AMessageThatCannotBeWrittenIsLostNotTheProgram)
{
    const QtMessageHandler previous = qInstallMessageHandler(outOfMemoryHandler);
    SafeMessageOutput::install();
    // Without the guard this ends the program: the message is written from
    // a destructor.
    qWarning() << "a warning written out of memory";
    qInstallMessageHandler(previous);
    SUCCEED();
}

}  // namespace
