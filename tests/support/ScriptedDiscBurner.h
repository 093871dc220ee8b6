#pragma once
// A scripted burner for the burn step: it answers the medium's questions
// from fields the test sets at any time, answers each start attempt from
// `startAnswers` (then `startAnswer`), and ends each started burn as
// `outcomes` says (then `outcome`). It records the calls, and whether any
// call that must run on the main thread ran elsewhere, and tells its change
// handler after each change of its state or drive. Header-only: include it
// from tests that link the production module. Thread-safe.

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <mutex>

#include "production/IDiscBurner.h"

namespace testsupport {

class ScriptedDiscBurner : public IDiscBurner {
public:
    enum class Outcome {
        Finish,       // the burn finishes at once
        Fail,         // the burn fails at once
        KeepBurning,  // the burn runs until cancelled (or for ever when cancels are ignored)
        GoIdle,       // the burner is idle at once, neither finished nor failed
        LoseDrive,    // the drive disappears and the burn fails, as a real drive does
    };

    // --- the script ---
    void setMedia(bool blank, qint64 writable)
    {
        const std::lock_guard lock(m_mutex);
        m_blank = blank;
        m_writable = writable;
    }
    void setHasDevice(bool present)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_device = present;
        }
        changed();
    }
    void setStartAnswers(QList<bool> answers, bool afterwards)
    {
        const std::lock_guard lock(m_mutex);
        m_startAnswers = std::move(answers);
        m_startAnswer = afterwards;
    }
    void setOutcomes(QList<Outcome> outcomes, Outcome afterwards)
    {
        const std::lock_guard lock(m_mutex);
        m_outcomes = std::move(outcomes);
        m_outcome = afterwards;
    }
    // Whether a cancel makes a running burn fail (it does unless told not to).
    void setCancelEndsBurn(bool ends)
    {
        const std::lock_guard lock(m_mutex);
        m_cancelEnds = ends;
    }

    // Called after every start attempt with the number of attempts so far
    // and the answer, on the attempting thread, outside the burner's lock.
    void setStartHook(std::function<void(int attempts, bool started)> hook)
    {
        const std::lock_guard lock(m_mutex);
        m_startHook = std::move(hook);
    }

    // --- what happened ---
    int prepares() const
    {
        const std::lock_guard lock(m_mutex);
        return m_prepares;
    }
    QStringList attemptedPaths() const
    {
        const std::lock_guard lock(m_mutex);
        return m_burned;
    }
    int startedBurns() const
    {
        const std::lock_guard lock(m_mutex);
        return m_started;
    }
    int cancels() const
    {
        const std::lock_guard lock(m_mutex);
        return m_cancels;
    }
    bool calledOffTheMainThread() const
    {
        const std::lock_guard lock(m_mutex);
        return m_offMainThread;
    }

    // --- IDiscBurner ---
    double progress() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_state == 1 ? 1.0 : 0.0;
    }
    void cancel() override
    {
        {
            const std::lock_guard lock(m_mutex);
            ++m_cancels;
            if (m_burning && m_cancelEnds) {
                m_burning = false;
                m_state = 2;
                m_status =
                    QStringLiteral("{State = Failed; ErrorStatus = The burn was cancelled.;}");
            }
        }
        changed();
    }
    qint64 mediaWritableSpace() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_device ? m_writable : 0;
    }
    bool mediaIsBlank() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_device && m_blank;
    }
    bool hasDevice() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_device;
    }
    void prepareForBurn() override
    {
        {
            const std::lock_guard lock(m_mutex);
            noteThread();
            ++m_prepares;
            m_state = 0;
            m_burning = false;
        }
        changed();
    }
    bool burnISOPath(const QString& path) override
    {
        std::function<void(int, bool)> hook;
        int attempts = 0;
        bool started = false;
        {
            const std::lock_guard lock(m_mutex);
            started = startLocked(path);
            attempts = int(m_burned.size());
            hook = m_startHook;
        }
        changed();
        if (hook) {
            hook(attempts, started);
        }
        return started;
    }
    bool isFinished() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_state == 1;
    }
    bool isFailed() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_state == 2;
    }
    bool isBurning() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_burning;
    }
    QString statusText() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_status;
    }
    void setChangeHandler(std::function<void()> handler) override
    {
        const std::lock_guard lock(m_mutex);
        m_changed = std::move(handler);
    }

private:
    // Tells the change handler, outside the lock.
    void changed()
    {
        std::function<void()> handler;
        {
            const std::lock_guard lock(m_mutex);
            handler = m_changed;
        }
        if (handler) {
            handler();
        }
    }

    bool startLocked(const QString& path)
    {
        noteThread();
        m_burned << path;
        const bool start = m_startAnswers.isEmpty() ? m_startAnswer : m_startAnswers.takeFirst();
        if (!start) {
            return false;
        }
        ++m_started;
        const Outcome outcome = m_outcomes.isEmpty() ? m_outcome : m_outcomes.takeFirst();
        m_burning = outcome == Outcome::KeepBurning;
        m_state = outcome == Outcome::Finish ? 1 : 0;
        m_status = outcome == Outcome::Finish ? QStringLiteral("{State = Done;}")
                                              : QStringLiteral("{State = TrackWrite;}");
        if (outcome == Outcome::Fail || outcome == Outcome::LoseDrive) {
            m_state = 2;
            m_status = QStringLiteral("{State = Failed; ErrorStatus = Writing the disc failed.;}");
        }
        if (outcome == Outcome::LoseDrive) {
            m_device = false;
            m_status = QStringLiteral("{State = Failed; ErrorStatus = The drive disappeared.;}");
        }
        return true;
    }

    void noteThread()
    {
        const QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread()) {
            m_offMainThread = true;
        }
    }

    mutable std::mutex m_mutex;
    bool m_blank = true;
    qint64 m_writable = qint64(4700) * 1000 * 1000;
    bool m_device = true;
    QList<bool> m_startAnswers;
    bool m_startAnswer = true;
    QList<Outcome> m_outcomes;
    Outcome m_outcome = Outcome::Finish;
    bool m_cancelEnds = true;
    std::function<void(int, bool)> m_startHook;
    std::function<void()> m_changed;

    int m_state = 0;
    bool m_burning = false;
    QString m_status;
    int m_prepares = 0;
    int m_started = 0;
    int m_cancels = 0;
    QStringList m_burned;  // every start attempt
    bool m_offMainThread = false;
};

}  // namespace testsupport
