#include "corvane/DVDFSMake.h"

#include <QDir>
#include <QMutexLocker>
#include <QSaveFile>
#include <QtDebug>
#include <algorithm>

#include "corvane/DVDLibrary.h"

namespace {

const QString authorFile = QStringLiteral("author.xml");
const QString dvdFolder = QStringLiteral("dvd.dvdmedia");

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        qWarning("Cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

}  // namespace

void DVDFSMake::dvd(const std::shared_ptr<const DVDLibrary>& dvd, const QString& work)
{
    setAction([this, dvd, work]() { return dvd && run(*dvd, work); });
}

double DVDFSMake::progress() const
{
    const qint64 written = fileSizeForItem(output());
    return double(written) / double(std::max<qint64>(m_totalSize, 1));
}

QString DVDFSMake::output() const
{
    QMutexLocker lock(&m_outputMutex);
    return m_output;
}

void DVDFSMake::setOutput(const QString& output)
{
    QMutexLocker lock(&m_outputMutex);
    m_output = output;
}

bool DVDFSMake::run(const DVDLibrary& dvd, const QString& work)
{
    const QDir folder(work);
    m_totalSize = fileSizeForItem(work);
    setOutput(work + QStringLiteral("/%1/VIDEO_TS").arg(dvdFolder));

    bool succeeded = false;
    if (writeAtomically(folder.filePath(authorFile), dvd.authorContent().toUtf8())) {
        const auto task = dvd.taskCurrentArguments(
            QStringLiteral("dvdauthor"), work,
            {QStringLiteral("-x"), authorFile, QStringLiteral("-o"), dvdFolder});
        succeeded = runTask(task) == DVDToolTask::Outcome::Succeeded;
    }

    QFile::remove(folder.filePath(authorFile));
    succeeded = succeeded && !isCancelled();
    if (!succeeded) {
        QDir(folder.filePath(dvdFolder)).removeRecursively();
    }
    return succeeded;
}
