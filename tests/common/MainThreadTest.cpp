// Calls handed to the main thread: run there, waited for, and run at once
// when made on the main thread (a blocking hand-off to itself would hang).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "common/MainThread.h"

TEST(MainThread, CallFromTheMainThreadRunsAtOnce)
{
    ASSERT_TRUE(MainThread::isCurrent());
    QThread* ranOn = nullptr;
    int depth = 0;
    MainThread::call([&] {
        ranOn = QThread::currentThread();
        // A call made from inside a call still runs at once.
        MainThread::call([&] { depth = 2; });
    });
    EXPECT_EQ(ranOn, QThread::currentThread());
    EXPECT_EQ(depth, 2);
    MainThread::call({});  // nothing to run is nothing done
}

TEST(MainThread, WorkerWaitsUntilTheMainThreadHasRunTheCall)
{
    QThread* const main = QThread::currentThread();
    QThread* ranOn = nullptr;
    bool workerOnMain = true;
    std::atomic<int> seenAfterReturn{0};
    int value = 0;
    QEventLoop loop;
    std::thread worker([&] {
        workerOnMain = MainThread::isCurrent();
        for (int i = 1; i <= 3; ++i) {
            MainThread::call([&, i] {
                ranOn = QThread::currentThread();
                value = i;
            });
            // The call has run by the time it returns.
            if (value == i) {
                ++seenAfterReturn;
            }
        }
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    QTimer::singleShot(20000, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0) << "the worker's calls were not served";
    worker.join();
    EXPECT_FALSE(workerOnMain);
    EXPECT_EQ(ranOn, main);
    EXPECT_EQ(seenAfterReturn.load(), 3);
}
