#pragma once
// A wait for a condition over state that other threads change: the waiting
// thread sleeps until whoever changes that state calls wake(), or until its
// time is up, and looks at the condition again on each wake. A wake that
// comes while the condition is being looked at is not lost. Nothing polls.
//
// The condition is evaluated without the wait's lock held, so it may take
// locks of its own; wake() takes only the wait's lock and may be called
// from any thread, from within any other lock. Every operation is
// thread-safe.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

class ChangeWait {
public:
    // Waits up to `milliseconds` for `until` to answer true; it is asked
    // first, after each wake and once more when the time is up. Answers its
    // last answer. A null `until` waits for the time or a wake, and answers
    // false.
    bool waitFor(int milliseconds, const std::function<bool()>& until);
    // Wakes every thread waiting now.
    void wake();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_wakes = 0;
};
