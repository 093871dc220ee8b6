#pragma once
// One thread that runs posted tasks one after the other, in posting order.
// The destructor runs the tasks still queued, then joins. An idle task runs
// once on the thread when no task came for a while after the last one.
// The thread starts with the first task, so that an object that is never
// asked for work holds none, and with an idle task it ends after running it
// (the next task starts it again). When no thread can be had, a task runs on the
// posting thread itself, still after the ones queued before it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace lumenta {

class SerialWorker {
public:
    SerialWorker();
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(std::function<void()> task);
    // Runs the task after the queued ones and returns when it is done. Runs it
    // at once when called from the worker itself. What the task throws is
    // thrown here; a posted task that runs out of memory is dropped.
    void postAndWait(std::function<void()> task);
    // Set before the first task is posted.
    void setIdleTask(std::chrono::milliseconds after, std::function<void()> task);

private:
    void run();
    // Starts the thread unless it runs; false when it cannot be had.
    bool startLocked();
    // Runs a task on the caller, one at a time, as the thread would have.
    void runInline(const std::function<void()>& task);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::chrono::milliseconds m_idleAfter{0};
    std::function<void()> m_idleTask;
    bool m_busySinceIdle = false;
    std::thread m_thread;
    bool m_ended = false;  // the thread returned after its idle task
    std::atomic<std::thread::id> m_threadId;
    std::recursive_mutex m_inline;
};

}  // namespace lumenta
