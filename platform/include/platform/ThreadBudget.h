#pragma once
// The cores the program sizes its parallel work by: the machine's, but no
// more than eight. Every count of threads or of jobs side by side that
// follows the machine (the shared thread pool, the titles and pieces encoded
// at once, each export's decoding, editing and encoding threads) is taken
// from here, so that on a machine of many cores the program runs as few
// threads as on one of eight (a production stays under 40), instead of some
// for every core. Any thread.

class ThreadBudget {
public:
    ThreadBudget() = delete;

    // The most cores counted.
    static constexpr int mostCores = 8;

    // The machine's cores (QThread::idealThreadCount), at least 1 and at
    // most mostCores.
    static int cores();
};
