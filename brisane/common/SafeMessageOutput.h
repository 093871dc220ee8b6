#pragma once
// Qt formats a warning when the statement that wrote it ends, inside a
// destructor: out of memory there, the program would end instead of the work
// that ran out. Once installed, a message that cannot be formatted is
// replaced by a fixed line, and the work goes on to fail in its own way.

class SafeMessageOutput {
public:
    SafeMessageOutput() = delete;

    // Puts the guard in front of the message handler in place; once, early,
    // from the main thread.
    static void install();
};
