#include "SerialWorker.h"

#include <QtGlobal>
#include <exception>
#include <future>
#include <new>
#include <system_error>

namespace lumenta {

SerialWorker::SerialWorker() = default;

SerialWorker::~SerialWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool SerialWorker::startLocked()
{
    if (m_thread.joinable() && !m_ended) {
        return true;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // it ended after its idle task and holds no lock
    }
    m_ended = false;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error& error) {
        qWarning("Lumenta: no worker thread (%s); the task runs on its caller", error.what());
        return false;
    }
    m_threadId = m_thread.get_id();
    return true;
}

void SerialWorker::runInline(const std::function<void()>& task)
{
    std::lock_guard lock(m_inline);
    task();
}

void SerialWorker::post(std::function<void()> task)
{
    {
        std::unique_lock lock(m_mutex);
        if (!startLocked()) {
            // Nothing can be queued without the thread: the queue is empty.
            lock.unlock();
            runInline(task);
            return;
        }
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void SerialWorker::postAndWait(std::function<void()> task)
{
    if (std::this_thread::get_id() == m_threadId.load()) {
        task();
        return;
    }
    {
        std::unique_lock lock(m_mutex);
        if (!startLocked()) {
            lock.unlock();
            runInline(task);
            return;
        }
    }
    std::promise<void> done;
    auto finished = done.get_future();
    post([&] {
        try {
            task();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    finished.get();  // what the task threw, the caller gets
}

void SerialWorker::setIdleTask(std::chrono::milliseconds after, std::function<void()> task)
{
    std::lock_guard lock(m_mutex);
    m_idleAfter = after;
    m_idleTask = std::move(task);
}

void SerialWorker::run()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            const auto ready = [this] { return m_stopping || !m_tasks.empty(); };
            if (m_idleTask && m_busySinceIdle) {
                if (!m_wake.wait_for(lock, m_idleAfter, ready)) {
                    m_busySinceIdle = false;
                    task = m_idleTask;
                }
            } else if (m_idleTask && !ready()) {
                // Idle since its idle task: the thread ends, the next task
                // starts another.
                m_ended = true;
                return;
            } else {
                m_wake.wait(lock, ready);
            }
            if (!task) {
                if (m_tasks.empty()) {
                    return;
                }
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
                m_busySinceIdle = true;
            }
        }
        try {
            task();
        } catch (const std::bad_alloc&) {
            // Out of memory: this request goes unanswered (its asker gives
            // up on it in time, and says so); the requests after it are still
            // served.
        }
    }
}

}  // namespace lumenta
