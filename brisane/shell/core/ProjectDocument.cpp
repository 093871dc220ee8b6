#include "shell/core/ProjectDocument.h"

#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "media/RenderItem.h"
#include "media/SlideshowFiles.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "platform/BoundedFile.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

namespace {

// The largest "project.data" read; the archive reader refuses more anyway.
constexpr qint64 MaximumDataFileSize = qint64(128) << 20;

QMutex writerLock;
ProjectDocument::ArchiveWriter archiveWriter;

struct SavedObjects {
    QList<std::shared_ptr<DVDFileSource>> files;
    QList<std::shared_ptr<RenderItem>> slideshows;
};

// The saved objects in their order (see the header).
SavedObjects savedObjects(const ProjectRoots& roots)
{
    SavedObjects saved;
    if (roots.media) {
        for (const auto& source : roots.media->sectionDataResourceArray()) {
            if (source->fileSource()) {
                saved.files << source->fileSource();
            }
            if (source->imageSource()) {
                saved.slideshows << source->imageSource();
            }
        }
    }
    if (roots.disc) {
        for (const auto& page : roots.disc->pageArray()) {
            if (page->music() && page->music()->fileSource()) {
                saved.files << page->music()->fileSource();
            }
        }
        for (const auto& button : roots.disc->customButtonImageResourceArray()) {
            const auto custom = std::dynamic_pointer_cast<CustomButtonImageResource>(button);
            if (custom && custom->fileSource()) {
                saved.files << custom->fileSource();
            }
        }
    }
    if (roots.media) {
        for (const auto& source : roots.media->sectionDataResourceArray()) {
            for (const auto& section : source->mediaSectionArray()) {
                const auto clip = section->associatedMedia();
                if (const auto subtitle = clip ? clip->subtitleFileSource() : nullptr) {
                    saved.files << subtitle;
                }
            }
        }
    }
    return saved;
}

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

bool writeArchive(const QString& path, const QByteArray& data)
{
    ProjectDocument::ArchiveWriter writer;
    {
        QMutexLocker lock(&writerLock);
        writer = archiveWriter;
    }
    return writer ? writer(path, data) : writeAtomically(path, data);
}

void setError(QString* error, const QString& text)
{
    if (error) {
        *error = text;
    }
}

// A name in `parent` that nothing uses yet, beginning with `prefix`.
QString freeSiblingPath(const QString& parent, const QString& prefix)
{
    for (int attempt = 0;; ++attempt) {
        const QString candidate =
            QDir(parent).filePath(QStringLiteral("%1-%2").arg(prefix).arg(attempt));
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink()) {
            return candidate;
        }
    }
}

// One file a save puts into the project folder: `source` at `target`.
struct PlannedCopy {
    QString source;
    QString target;
};

QList<PlannedCopy> plannedCopies(const SavedObjects& saved, const QString& folder)
{
    const QDir project(folder);
    QList<PlannedCopy> copies;
    for (const auto& file : saved.files) {
        copies.append({file->path(), project.filePath(DVDFileSource::FolderName + QLatin1Char('/') +
                                                      file->savedFileName())});
    }
    for (const auto& slideshow : saved.slideshows) {
        const QDir audio(project.filePath(SlideshowFiles::AudioFolderName));
        for (const auto& item : slideshow->audioItems()) {
            copies.append({item->path(), audio.filePath(item->itemPathName())});
        }
        const QDir photos(project.filePath(SlideshowFiles::PhotoFolderName));
        for (const auto& photo : slideshow->mtAryPhotoItems()) {
            copies.append({photo->strImagePath(), photos.filePath(photo->strSavedName())});
        }
    }
    return copies;
}

std::optional<dev_t> deviceOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return status.st_dev;
}

qint64 roundedToBlocks(qint64 bytes)
{
    constexpr qint64 Block = 4096;
    return (bytes + Block - 1) / Block * Block;
}

// The bytes a save into `folder` writes: the archive, the project's folders
// and every copy that cannot be a hard link (its file lies on another volume).
qint64 roomNeeded(const SavedObjects& saved, const QString& folder, qint64 archiveSize)
{
    const std::optional<dev_t> volume = deviceOf(folder);
    qint64 needed = roundedToBlocks(archiveSize) + 3 * roundedToBlocks(1);
    for (const PlannedCopy& copy : plannedCopies(saved, folder)) {
        const QFileInfo source(copy.source);
        if (copy.source.isEmpty() || !source.isFile() || QFileInfo::exists(copy.target)) {
            continue;
        }
        if (!volume || deviceOf(copy.source) != volume) {
            needed += roundedToBlocks(source.size());
        }
    }
    return needed;
}

// Room for the file system's own records beyond the bytes a save writes.
qint64 withMargin(qint64 needed)
{
    return needed + needed / 100 + (qint64(64) << 10);
}

bool hasTooLittleRoom(const QString& folder, qint64 needed)
{
    const QStorageInfo volume(folder);
    return volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < needed;
}

QString sizeText(qint64 bytes)
{
    if (bytes < 100000) {
        return QString::asprintf("%.0f KB", std::ceil(static_cast<double>(bytes) / 1000.0));
    }
    return QString::asprintf("%.1f MB", std::ceil(static_cast<double>(bytes) / 100000.0) / 10.0);
}

QString fullDiskMessage(const QString& folder, qint64 needed)
{
    const qint64 free = std::max<qint64>(QStorageInfo(folder).bytesAvailable(), 0);
    return QStringLiteral(
               "The disk is full. Saving the project needs %1 of free space there, and only %2 "
               "is free: make %3 of room and save again.")
        .arg(sizeText(needed), sizeText(free), sizeText(std::max<qint64>(needed - free, 1)));
}

bool roomIsFree(const QString& folder, qint64 needed, QString* error)
{
    if (!hasTooLittleRoom(folder, needed)) {
        return true;
    }
    setError(error, fullDiskMessage(folder, needed));
    return false;
}

// The clips whose subtitle copy a save writes from the text they hold (see
// MediaData::keepSubtitleText); run before the project is archived.
QList<std::shared_ptr<MediaData>> clipsKeepingSubtitleText(const ProjectRoots& roots)
{
    QList<std::shared_ptr<MediaData>> clips;
    if (!roots.media) {
        return clips;
    }
    for (const auto& source : roots.media->sectionDataResourceArray()) {
        for (const auto& section : source->mediaSectionArray()) {
            const auto clip = section->associatedMedia();
            if (clip && clip->keepSubtitleText()) {
                clips << clip;
            }
        }
    }
    return clips;
}

// Every copy, then "project.data".
bool writeProject(const SavedObjects& saved, const QList<std::shared_ptr<MediaData>>& subtitleTexts,
                  const QString& folder, const QByteArray& archive, QString* error)
{
    for (const auto& file : saved.files) {
        if (!file->saveSourceAtPath(folder) && QFileInfo::exists(file->path())) {
            setError(error, QStringLiteral("\"%1\" could not be copied.").arg(file->path()));
            return false;
        }
    }
    for (const auto& clip : subtitleTexts) {
        if (!clip->saveSubtitleTextAtPath(folder)) {
            setError(
                error,
                QStringLiteral("The subtitle of \"%1\" could not be written.").arg(clip->name()));
            return false;
        }
    }
    for (const auto& slideshow : saved.slideshows) {
        if (!slideshow->saveSourceAtPath(folder)) {
            setError(error, QStringLiteral("The slideshow's files could not be copied."));
            return false;
        }
    }
    const QString dataPath = QDir(folder).filePath(ProjectDocument::DataFileName);
    if (!writeArchive(dataPath, archive)) {
        setError(error,
                 QStringLiteral("\"%1\" could not be written.").arg(ProjectDocument::DataFileName));
        return false;
    }
    return true;
}

// Every path below `folder`, hidden ones included, links not followed.
QSet<QString> entriesBelow(const QString& folder)
{
    QSet<QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries.insert(it.next());
    }
    return entries;
}

// Removes what appeared below `folder` since `before` was listed, deepest first.
void removeEntriesNotIn(const QString& folder, const QSet<QString>& before)
{
    QStringList added;
    for (const QString& entry : entriesBelow(folder)) {
        if (!before.contains(entry)) {
            added.append(entry);
        }
    }
    std::sort(added.begin(), added.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& entry : added) {
        const QFileInfo info(entry);
        if (info.isDir() && !info.isSymLink()) {
            QDir().rmdir(entry);
        } else {
            QFile::remove(entry);
        }
    }
}

}  // namespace

QString ProjectDocument::documentExtension()
{
    return QStringLiteral("brisane");
}

QString ProjectDocument::projectName(const QString& folder)
{
    QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
    const QString suffix = QStringLiteral(".") + documentExtension();
    if (name.endsWith(suffix) && name.size() > suffix.size()) {
        name.chop(suffix.size());
    }
    return name;
}

QString ProjectDocument::projectFolderForChosenPath(const QString& chosen)
{
    if (chosen.isEmpty()) {
        return {};
    }
    const QString clean = QDir::cleanPath(chosen);
    const QFileInfo info(clean);
    if (info.fileName() == DataFileName && !info.isDir()) {
        return info.absolutePath();
    }
    return info.absoluteFilePath();
}

QByteArray ProjectDocument::archivedProject(const ProjectRoots& roots)
{
    Value::Dictionary root;
    root.insert(MediaKey, Value(roots.media));
    root.insert(DiscKey, Value(roots.disc));
    return KeyedArchiver::archivedData(Value(root));
}

bool ProjectDocument::saveDocumentAtPath(const ProjectRoots& roots, const QString& folder,
                                         QString* error)
{
    const bool madeFolder = !QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink();
    if (madeFolder && !QDir().mkpath(folder)) {
        setError(error, QStringLiteral("The folder could not be created."));
        return false;
    }
    // What was there before: a failed save removes everything else it wrote.
    const QSet<QString> before = madeFolder ? QSet<QString>() : entriesBelow(folder);
    const QList<std::shared_ptr<MediaData>> subtitleTexts = clipsKeepingSubtitleText(roots);
    const QByteArray archive = archivedProject(roots);
    const SavedObjects saved = savedObjects(roots);
    const qint64 needed = roomNeeded(saved, folder, archive.size());
    const bool written = roomIsFree(folder, needed, error) &&
                         writeProject(saved, subtitleTexts, folder, archive, error);
    if (written) {
        return true;
    }
    if (madeFolder) {
        QDir(folder).removeRecursively();
    } else {
        removeEntriesNotIn(folder, before);
    }
    // Left free once the partial copies are gone, yet too little: a save
    // that ran out of room says so, and how much it needs.
    if (hasTooLittleRoom(folder, withMargin(needed))) {
        setError(error, fullDiskMessage(folder, needed));
    }
    return false;
}

bool ProjectDocument::saveAndReplace(const ProjectRoots& roots, const QString& destination,
                                     QString* error)
{
    const QFileInfo target(QDir::cleanPath(destination));
    const QString parent = target.absolutePath();
    if (!QFileInfo(parent).isDir()) {
        setError(error, QStringLiteral("The folder \"%1\" does not exist.").arg(parent));
        return false;
    }
    QTemporaryDir fresh(QDir(parent).filePath(QStringLiteral(".") + target.fileName() +
                                              QStringLiteral(".saving-XXXXXX")));
    if (!fresh.isValid()) {
        setError(error, QStringLiteral("No folder can be made in \"%1\".").arg(parent));
        return false;
    }
    QFile::setPermissions(fresh.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    if (!saveDocumentAtPath(roots, fresh.path(), error)) {
        return false;
    }
    QString readBack;
    if (!readDocumentAtPath(fresh.path(), &readBack)) {
        setError(error,
                 QStringLiteral("The saved project could not be read back: %1").arg(readBack));
        return false;
    }
    const QString finalPath = target.absoluteFilePath();
    const bool hadPrevious = target.exists() || target.isSymLink();
    const QString backup =
        freeSiblingPath(parent, QStringLiteral(".") + target.fileName() + QStringLiteral(".old"));
    if (hadPrevious && !QDir().rename(finalPath, backup)) {
        setError(error, QStringLiteral("The previous project could not be moved aside."));
        return false;
    }
    if (!QDir().rename(fresh.path(), finalPath)) {
        if (hadPrevious) {
            QDir().rename(backup, finalPath);
        }
        setError(error, QStringLiteral("The new project could not be moved into place."));
        return false;
    }
    fresh.setAutoRemove(false);
    if (hadPrevious) {
        const QFileInfo old(backup);
        if (old.isDir() && !old.isSymLink()) {
            QDir(backup).removeRecursively();
        } else {
            QFile::remove(backup);
        }
    }
    return true;
}

void ProjectDocument::loadFileSourceWithProject(const ProjectRoots& roots, const QString& folder)
{
    const SavedObjects saved = savedObjects(roots);
    for (const auto& file : saved.files) {
        file->loadSourceAtPath(folder);
    }
    for (const auto& slideshow : saved.slideshows) {
        slideshow->loadSourceAtPath(folder);
    }
}

std::optional<ProjectRoots> ProjectDocument::readDocumentAtPath(const QString& folder,
                                                                QString* error)
{
    // Only a regular file, and no more than an archive can hold: a pipe or a
    // link to a device in its place must neither block nor fill memory.
    QString reason;
    const auto data =
        BoundedFile::read(QDir(folder).filePath(DataFileName), MaximumDataFileSize, &reason);
    if (!data) {
        setError(error, QStringLiteral("\"%1\" cannot be read: %2.").arg(DataFileName, reason));
        return std::nullopt;
    }
    const auto result = KeyedUnarchiver::unarchive(*data);
    if (!result.root || !result.root->isDictionary()) {
        setError(error, QStringLiteral("\"%1\" is damaged.").arg(DataFileName));
        return std::nullopt;
    }
    const auto& root = result.root->dictionary();
    ProjectRoots roots{root.value(MediaKey).objectAs<DataResource>(),
                       root.value(DiscKey).objectAs<DVDResource>()};
    if (!roots.media || !roots.disc) {
        setError(error, QStringLiteral("\"%1\" does not hold a project.").arg(DataFileName));
        return std::nullopt;
    }
    return roots;
}

std::optional<ProjectRoots> ProjectDocument::loadDocumentAtPath(const QString& folder,
                                                                QString* error)
{
    auto roots = readDocumentAtPath(folder, error);
    if (!roots) {
        return std::nullopt;
    }
    roots->media->setDvdResource(roots->disc);
    loadFileSourceWithProject(*roots, folder);
    for (const auto& source : roots->media->sectionDataResourceArray()) {
        for (const auto& section : source->mediaSectionArray()) {
            if (const auto clip = section->associatedMedia()) {
                clip->loadVCMovieFromProject(roots->disc->dvdVideoSize());
            }
        }
    }
    for (const auto& page : roots->disc->pageArray()) {
        if (page->music()) {
            page->music()->loadVCMovieFromProject();
        }
        for (const auto& item : page->itemArray()) {
            item->updateAllEditToItem();
        }
    }
    return roots;
}

void ProjectDocument::setArchiveWriter(ArchiveWriter writer)
{
    QMutexLocker lock(&writerLock);
    archiveWriter = std::move(writer);
}
