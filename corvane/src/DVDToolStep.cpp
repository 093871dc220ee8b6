#include "corvane/DVDToolStep.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QtDebug>

DVDToolStep::~DVDToolStep() = default;

bool DVDToolStep::start()
{
    std::function<bool()> action;
    {
        QMutexLocker lock(&m_mutex);
        if (m_started) {
            qWarning("A production step runs only once");
            return false;
        }
        m_started = true;
        if (m_cancelled || !m_action) {
            return false;
        }
        action = m_action;
    }
    return action();
}

void DVDToolStep::cancel()
{
    QMutexLocker lock(&m_mutex);
    m_cancelled = true;
    if (m_task) {
        m_task->terminate();
    }
}

bool DVDToolStep::isCancelled() const
{
    QMutexLocker lock(&m_mutex);
    return m_cancelled;
}

std::shared_ptr<DVDToolTask> DVDToolStep::task() const
{
    QMutexLocker lock(&m_mutex);
    return m_task;
}

qint64 DVDToolStep::fileSizeForItem(const QString& folder)
{
    if (folder.isEmpty()) {
        return 0;
    }
    qint64 total = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile()) {
            total += entry.size();
        }
    }
    return total;
}

qint64 DVDToolStep::fileSizeForFile(const QString& path)
{
    if (path.isEmpty()) {
        return 0;
    }
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

void DVDToolStep::setAction(std::function<bool()> action)
{
    QMutexLocker lock(&m_mutex);
    m_action = std::move(action);
}

DVDToolTask::Outcome DVDToolStep::runTask(const std::shared_ptr<DVDToolTask>& task)
{
    {
        // A cancel that came before this point still reaches the tool: it
        // then refuses to start.
        QMutexLocker lock(&m_mutex);
        m_task = task;
        if (m_cancelled) {
            task->terminate();
        }
    }
    const DVDToolTask::Outcome outcome = task->launchAndWait();
    QMutexLocker lock(&m_mutex);
    m_task.reset();
    return outcome;
}
