#pragma once
// Runs a call on the main thread (the thread of the application object) and
// returns once it has run. On the main thread itself, or before there is an
// application, the call runs at once, so a call made from the main thread
// never waits on itself.
//
// A worker that calls this blocks until the main loop serves the call: the
// main thread must never wait on that worker meanwhile.

#include <functional>

class MainThread {
public:
    // Whether the calling thread is the main thread (true without an
    // application).
    static bool isCurrent();
    // Runs `work` on the main thread and waits for it.
    static void call(const std::function<void()>& work);
};
