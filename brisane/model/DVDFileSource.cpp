#include "model/DVDFileSource.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "common/CommonFunction.h"
#include "media/SlideshowFiles.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDFileSource)

namespace {

// The copy no longer shows the source: the source was changed after the copy
// was made (a newer time, or the same time and another size). A hard link
// shares both with its source and is never stale; an older source (such as a
// previous copy of the same path) never replaces a newer copy.
bool isStale(const QFileInfo& source, const QFileInfo& copy)
{
    const QDateTime sourceTime = source.lastModified();
    const QDateTime copyTime = copy.lastModified();
    return sourceTime > copyTime || (sourceTime == copyTime && source.size() != copy.size());
}

}  // namespace

std::shared_ptr<DVDFileSource> DVDFileSource::sourceWithPath(const QString& path)
{
    auto source = std::make_shared<DVDFileSource>();
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    source->m_filePath = path;
    source->m_name = dot < 0 ? fileName : fileName.left(dot);
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    source->m_savedFileName = shaString(path) + QLatin1Char('.') + extension;
    return source;
}

QString DVDFileSource::copyPath(const QString& projectFolder) const
{
    if (!SlideshowFiles::isPlainFileName(m_savedFileName)) {
        qWarning().noquote() << "not a file name of a project copy:" << m_savedFileName;
        return {};
    }
    return projectFolder + QLatin1Char('/') + FolderName + QLatin1Char('/') + m_savedFileName;
}

bool DVDFileSource::saveSourceAtPath(const QString& projectFolder) const
{
    const QString target = copyPath(projectFolder);
    if (target.isEmpty()) {
        return false;
    }
    const QFileInfo source(m_filePath);
    if (m_filePath.isEmpty() || !source.isFile()) {
        qWarning().noquote() << "source file missing, no copy made:" << m_filePath;
        return QFileInfo(target).isFile();
    }
    const QFileInfo copy(target);
    if (copy.exists() && source.canonicalFilePath() != copy.canonicalFilePath() &&
        isStale(source, copy)) {
        QFile::remove(target);  // the imported file changed since the copy was made
    }
    return SlideshowFiles::linkOrCopy(m_filePath, target);
}

bool DVDFileSource::saveContentAtPath(const QString& projectFolder, const QByteArray& content) const
{
    const QString target = copyPath(projectFolder);
    if (target.isEmpty() || !QDir().mkpath(QFileInfo(target).absolutePath())) {
        return false;
    }
    QSaveFile copy(target);
    return copy.open(QIODevice::WriteOnly) && copy.write(content) == content.size() &&
           copy.commit();
}

void DVDFileSource::loadSourceAtPath(const QString& projectFolder)
{
    m_filePath = copyPath(projectFolder);
}

QString DVDFileSource::shaString(const QString& text)
{
    return CommonFunction::shaString(text.isEmpty() ? QStringLiteral("     ") : text);
}

QStringList DVDFileSource::allCoderKeys() const
{
    return {"name", "savedFileName"};
}

const PropertyTable& DVDFileSource::properties()
{
    using F = DVDFileSource;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("file_path", &F::file_path, &F::setFile_path)
            .add("name", &F::name, &F::setName)
            .add("savedFileName", &F::savedFileName, &F::setSavedFileName);
    return table;
}
