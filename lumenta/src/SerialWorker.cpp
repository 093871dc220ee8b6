#include "SerialWorker.h"

#include <future>

namespace lumenta {

SerialWorker::SerialWorker() : m_thread([this] { run(); }) {}

SerialWorker::~SerialWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SerialWorker::post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void SerialWorker::postAndWait(std::function<void()> task)
{
    if (std::this_thread::get_id() == m_thread.get_id()) {
        task();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    post([&] {
        task();
        done.set_value();
    });
    finished.wait();
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
        task();
    }
}

}  // namespace lumenta
