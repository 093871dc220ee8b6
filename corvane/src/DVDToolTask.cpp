#include "corvane/DVDToolTask.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <QMutexLocker>
#include <QProcess>
#include <QtDebug>

namespace {

// How often the waiting run looks for a terminate request, and how long a
// terminated tool gets before it is killed.
constexpr int pollMilliseconds = 50;
constexpr qint64 killAfterMilliseconds = 3000;

struct Observers {
    QMutex mutex;
    int lastId = 0;
    QList<std::pair<int, DVDToolTask::TerminationObserver>> list;
};

Observers& observers()
{
    static Observers all;
    return all;
}

}  // namespace

int DVDToolTask::addTerminationObserver(TerminationObserver observer)
{
    Observers& all = observers();
    QMutexLocker lock(&all.mutex);
    const int id = ++all.lastId;
    all.list.append({id, std::move(observer)});
    return id;
}

void DVDToolTask::removeTerminationObserver(int id)
{
    Observers& all = observers();
    QMutexLocker lock(&all.mutex);
    all.list.removeIf([id](const auto& entry) { return entry.first == id; });
}

void DVDToolTask::notifyTermination(int status, TerminationReason reason) const
{
    QList<std::pair<int, TerminationObserver>> list;
    {
        Observers& all = observers();
        QMutexLocker lock(&all.mutex);
        list = all.list;
    }
    const QString name = toolName();
    for (const auto& [id, observer] : list) {
        if (observer) {
            observer(name, status, reason);
        }
    }
}

DVDToolTask::Outcome DVDToolTask::launchAndWait()
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_launched) {
            qWarning("%s: a tool run is started only once", qPrintable(toolName()));
            return m_outcome;
        }
        m_launched = true;
        if (m_terminateRequested) {
            m_outcome = Outcome::FailedToStart;
            return m_outcome;
        }
    }

    QProcess process;
    process.setProgram(m_launchPath);
    process.setArguments(m_arguments);
    process.setWorkingDirectory(m_currentDirectory);
    if (m_environment) {
        process.setProcessEnvironment(*m_environment);
    }
    process.setStandardInputFile(m_standardInput.isEmpty() ? QProcess::nullDevice()
                                                           : m_standardInput);
    if (m_standardOutput.isEmpty()) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(m_standardOutput, QIODevice::Truncate);
    }

    process.start();
    if (!process.waitForStarted(-1)) {
        qWarning("Cannot start %s: %s", qPrintable(m_launchPath),
                 qPrintable(process.errorString()));
        return finish(Outcome::FailedToStart, -1);
    }
    {
        QMutexLocker lock(&m_mutex);
        m_running = true;
    }

    bool terminateSent = false;
    QElapsedTimer sinceTerminate;
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(pollMilliseconds)) {
        if (!terminateSent && terminateRequested()) {
            process.terminate();
            terminateSent = true;
            sinceTerminate.start();
        } else if (terminateSent && sinceTerminate.elapsed() > killAfterMilliseconds) {
            process.kill();
        }
    }

    notifyTermination(process.exitCode(), process.exitStatus() == QProcess::NormalExit
                                              ? TerminationReason::Exit
                                              : TerminationReason::UncaughtSignal);
    if (terminateRequested() && terminateSent) {
        qWarning("%s was stopped", qPrintable(toolName()));
        return finish(Outcome::Terminated, -1);
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        qWarning("%s crashed: %s", qPrintable(toolName()), qPrintable(process.errorString()));
        return finish(Outcome::Crashed, -1);
    }
    if (process.exitCode() != 0) {
        qWarning("%s failed with exit status %d", qPrintable(toolName()), process.exitCode());
        return finish(Outcome::Failed, process.exitCode());
    }
    return finish(Outcome::Succeeded, 0);
}

void DVDToolTask::terminate()
{
    QMutexLocker lock(&m_mutex);
    m_terminateRequested = true;
}

bool DVDToolTask::isRunning() const
{
    QMutexLocker lock(&m_mutex);
    return m_running;
}

bool DVDToolTask::terminateRequested() const
{
    QMutexLocker lock(&m_mutex);
    return m_terminateRequested;
}

DVDToolTask::Outcome DVDToolTask::outcome() const
{
    QMutexLocker lock(&m_mutex);
    return m_outcome;
}

int DVDToolTask::terminationStatus() const
{
    QMutexLocker lock(&m_mutex);
    return m_status;
}

DVDToolTask::Outcome DVDToolTask::finish(Outcome outcome, int status)
{
    QMutexLocker lock(&m_mutex);
    m_running = false;
    m_outcome = outcome;
    m_status = status;
    return outcome;
}

QString DVDToolTask::toolName() const
{
    return QFileInfo(m_launchPath).fileName();
}
