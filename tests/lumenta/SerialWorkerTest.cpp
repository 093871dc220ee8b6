// The worker under a movie: out of memory in one task fails that task's
// caller, never the program, and the tasks after it are still served.
#include <gtest/gtest.h>

#include <atomic>
#include <new>

#include "SerialWorker.h"

namespace {

TEST(SerialWorker, OutOfMemoryInATaskFailsItsCallerAndTheWorkerGoesOn)
{
    lumenta::SerialWorker worker;
    // Waited for: the caller gets what the task threw.
    EXPECT_THROW(worker.postAndWait([] { throw std::bad_alloc(); }), std::bad_alloc);
    // Posted: dropped, and the worker still runs what comes after.
    worker.post([] { throw std::bad_alloc(); });
    std::atomic<int> served{0};
    worker.post([&served] { ++served; });
    worker.postAndWait([&served] { ++served; });
    EXPECT_EQ(served.load(), 2);
}

}  // namespace
