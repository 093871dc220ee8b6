#pragma once
// Carries composed video frames from the threads on which movies deliver
// pictures to the conversion loop that writes them: a fixed set of reusable
// drawing contexts in two first-in first-out lists, the free ones and the
// filled ones (each holding one finished frame, in the order filled). A
// context is in at most one list; while drawn into or written it is in none.
//
// Each list has its own lock; no operation holds both. Any thread may call.

#include <QList>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "lumenta/LMDrawContext.h"

class VCImagePool {
public:
    using Context = std::shared_ptr<LMDrawContext>;

    // The oldest free context, removed from the list; null when there is none.
    Context getFreeImageContext();
    // The oldest free context, waiting up to `timeout` for one to come back
    // (woken as soon as one does); null when none came.
    Context waitForFreeImageContext(std::chrono::milliseconds timeout);
    // Appends at the end of the free list; null is ignored.
    void appendFreeImageContext(const Context& context);
    // The oldest filled context, removed from the list; null when there is none.
    Context getBufferedImageContext();
    void appendBufferedImageContext(const Context& context);
    // Empties the filled list, then the free list.
    void clearPool();

    qsizetype freeCount() const;
    qsizetype bufferedCount() const;

private:
    struct List {
        mutable std::mutex lock;
        std::condition_variable appended;
        QList<Context> contexts;
    };
    static Context take(List& list);
    static void append(List& list, const Context& context);

    List m_free;
    List m_buffered;
};
