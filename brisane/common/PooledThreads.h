#pragma once
// Qt draws, scales and converts large pictures in slices on the shared thread
// pool and waits for every slice. A slice whose thread could not be started
// (the process out of address space or of threads) never runs, and the
// drawing waits for it forever. The program therefore starts all of the
// pool's threads once, while it has room, and keeps them: later slices only
// ever go to threads that already run. The pool has as many threads as the
// cores the program counts (ThreadBudget), not one for every core.

class PooledThreads {
public:
    PooledThreads() = delete;

    // Starts every thread of the shared pool and keeps them for the life of
    // the program. Returns whether all of them started within a few seconds;
    // the pool keeps working either way. Call once, early, from the main
    // thread.
    static bool startAll();
};
