#include "shell/ProjectDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QTemporaryDir>

#include "media/RenderItem.h"
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
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

namespace {

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
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        setError(error, QStringLiteral("The folder could not be created."));
        return false;
    }
    const SavedObjects saved = savedObjects(roots);
    for (const auto& file : saved.files) {
        if (!file->saveSourceAtPath(folder) && QFileInfo::exists(file->path())) {
            setError(error, QStringLiteral("\"%1\" could not be copied.").arg(file->path()));
            return false;
        }
    }
    for (const auto& slideshow : saved.slideshows) {
        if (!slideshow->saveSourceAtPath(folder)) {
            setError(error, QStringLiteral("The slideshow's files could not be copied."));
            return false;
        }
    }
    const QString dataPath = QDir(folder).filePath(DataFileName);
    if (!writeArchive(dataPath, archivedProject(roots))) {
        setError(error, QStringLiteral("\"%1\" could not be written.").arg(DataFileName));
        return false;
    }
    return true;
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
    QFile file(QDir(folder).filePath(DataFileName));
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("\"%1\" is missing or cannot be read.").arg(DataFileName));
        return std::nullopt;
    }
    const auto result = KeyedUnarchiver::unarchive(file.readAll());
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
    loadFileSourceWithProject(*roots, folder);
    for (const auto& source : roots->media->sectionDataResourceArray()) {
        for (const auto& section : source->mediaSectionArray()) {
            if (const auto clip = section->associatedMedia()) {
                clip->loadVCMovieFromProject();
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
