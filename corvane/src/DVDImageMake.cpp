#include "corvane/DVDImageMake.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <algorithm>

#include "corvane/DVDToolLocator.h"

QString DVDImageMake::inputPath() const
{
    QMutexLocker lock(&m_mutex);
    return m_inputPath;
}

void DVDImageMake::setInputPath(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    m_inputPath = path;
}

void DVDImageMake::volume(const QString& name, const QString& work)
{
    setAction([this, name, work]() { return run(name, work); });
}

double DVDImageMake::progress() const
{
    const qint64 written = fileSizeForFile(output());
    return double(written) / double(std::max<qint64>(m_totalSize, 1));
}

QString DVDImageMake::output() const
{
    QMutexLocker lock(&m_mutex);
    return m_output;
}

void DVDImageMake::setOutput(const QString& output)
{
    QMutexLocker lock(&m_mutex);
    m_output = output;
}

std::shared_ptr<DVDToolTask> DVDImageMake::taskCurrentArguments(const QString& tool,
                                                                const QString& folder,
                                                                const QStringList& arguments)
{
    auto task = std::make_shared<DVDToolTask>();
    task->setLaunchPath(DVDToolLocator::pathForTool(tool));
    task->setArguments(arguments);
    task->setCurrentDirectoryPath(folder);
    return task;
}

bool DVDImageMake::run(const QString& name, const QString& work)
{
    QString input = inputPath();
    if (input.isEmpty()) {
        input = work + QStringLiteral("/dvd.dvdmedia");
    }
    m_totalSize = fileSizeForItem(input + QStringLiteral("/VIDEO_TS"));
    const QString image = QDir(work).filePath(QStringLiteral("dvd.iso"));
    setOutput(image);

    const auto task =
        taskCurrentArguments(QStringLiteral("mkisofs"), work,
                             {QStringLiteral("-dvd-video"), QStringLiteral("-V"), name,
                              QStringLiteral("-o"), QStringLiteral("dvd.iso"), input});
    const bool succeeded = runTask(task) == DVDToolTask::Outcome::Succeeded && !isCancelled();
    if (!succeeded) {
        QFile::remove(image);
    }
    return succeeded;
}
