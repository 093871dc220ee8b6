#include "shell/core/ProjectSourceCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <optional>

#include "lumenta/LMFunctions.h"
#include "media/RenderItem.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "platform/BoundedFile.h"

namespace {

using ClipList = QList<std::shared_ptr<MediaData>>;

// A source shorter than its clips' sections by more than this (seconds) has
// been cut short since the clips were made.
constexpr double LengthTolerance = 0.1;

// Why the file at `path` cannot be read at all; nothing when it can.
std::optional<QString> fileProblem(const QString& path)
{
    QString error;
    if (path.isEmpty() || !BoundedFile::isRegularFile(path, &error)) {
        if (path.isEmpty() || error == QStringLiteral("no such file")) {
            return QStringLiteral("the file is missing");
        }
        return error == QStringLiteral("not a regular file") ? QStringLiteral("it is not a file")
                                                             : error;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("the file cannot be read (%1)").arg(file.errorString());
    }
    char byte = 0;
    if (file.size() > 0 && file.read(&byte, 1) != 1) {
        return QStringLiteral("the file cannot be read (%1)").arg(file.errorString());
    }
    return std::nullopt;
}

std::optional<QString> pictureProblem(const QString& path)
{
    if (auto problem = fileProblem(path)) {
        return problem;
    }
    QImageReader reader(path);
    if (!reader.canRead() || !reader.size().isValid()) {
        return QStringLiteral("the file is not a picture that can be read");
    }
    return std::nullopt;
}

ClipList clipsOf(const SectionDataResource& source)
{
    ClipList clips;
    for (const auto& section : source.mediaSectionArray()) {
        if (const auto clip = section ? section->associatedMedia() : nullptr) {
            clips.append(clip);
        }
    }
    return clips;
}

// Why the clips of a video file cannot play it: no media item could be made
// from the file, or the file no longer reaches the end of a clip's section.
std::optional<QString> videoProblem(const DVDFileSource& file, const ClipList& clips)
{
    if (auto problem = fileProblem(file.path())) {
        return problem;
    }
    for (const auto& clip : clips) {
        const VCMovie::Ptr item = clip->vcmovie();
        const IMovie::Ptr movie = item ? item->movie() : nullptr;
        if (!movie || (!movie->hasVideo() && !movie->hasAudio())) {
            return QStringLiteral("the file holds no video that can be played");
        }
        const auto section = clip->sectionItem();
        if (section && lm_ff_time_to_double(section->endTimeInMedia()) -
                               lm_ff_time_to_double(movie->duration()) >
                           LengthTolerance) {
            return QStringLiteral("the file is shorter than the clip made from it");
        }
    }
    return std::nullopt;
}

std::optional<QString> soundProblem(const QString& path, const VCMovie::Ptr& item)
{
    if (auto problem = fileProblem(path)) {
        return problem;
    }
    const IMovie::Ptr movie = item ? item->movie() : nullptr;
    if (!movie || !movie->hasAudio()) {
        return QStringLiteral("the file holds no sound that can be played");
    }
    return std::nullopt;
}

QString userFileName(const DVDFileSource& file)
{
    const QString extension = QFileInfo(file.savedFileName()).suffix();
    return extension.isEmpty() ? file.originName()
                               : file.originName() + QLatin1Char('.') + extension;
}

QString clipName(const ClipList& clips)
{
    return clips.isEmpty() ? QString() : clips.first()->name();
}

void checkSlideshow(const RenderItem& slideshow, const ClipList& clips,
                    QList<MissingSource>& missing)
{
    const auto photos = slideshow.mtAryPhotoItems();
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const QString path = photos[i]->strImagePath();
        if (const auto problem = pictureProblem(path)) {
            missing.append({QStringLiteral("photo"),
                            QStringLiteral("%1 of %2").arg(i + 1).arg(clipName(clips)), path,
                            *problem, clips});
        }
    }
    for (const auto& music : slideshow.audioItems()) {
        if (const auto problem = soundProblem(music->path(), music->vcmovie())) {
            missing.append(
                {QStringLiteral("slideshow music"), music->name(), music->path(), *problem, clips});
        }
    }
}

void checkMedia(const DataResource& media, QList<MissingSource>& missing)
{
    for (const auto& source : media.sectionDataResourceArray()) {
        const ClipList clips = clipsOf(*source);
        if (clips.isEmpty()) {
            continue;
        }
        if (const auto file = source->fileSource()) {
            if (const auto problem = videoProblem(*file, clips)) {
                missing.append(
                    {QStringLiteral("video"), userFileName(*file), file->path(), *problem, clips});
            }
        }
        if (const auto slideshow = source->imageSource()) {
            checkSlideshow(*slideshow, clips, missing);
        }
    }
}

void checkDisc(const DVDResource& disc, QList<MissingSource>& missing)
{
    for (const auto& page : disc.pageArray()) {
        const auto music = page ? page->music() : nullptr;
        const auto file = music ? music->fileSource() : nullptr;
        if (!file) {
            continue;
        }
        if (const auto problem = soundProblem(file->path(), music->vcmovie())) {
            missing.append(
                {QStringLiteral("page music"), userFileName(*file), file->path(), *problem, {}});
        }
    }
    for (const auto& button : disc.customButtonImageResourceArray()) {
        const auto custom = std::dynamic_pointer_cast<CustomButtonImageResource>(button);
        const auto file = custom ? custom->fileSource() : nullptr;
        if (!file) {
            continue;
        }
        if (const auto problem = pictureProblem(file->path())) {
            missing.append({QStringLiteral("button picture"),
                            userFileName(*file),
                            file->path(),
                            *problem,
                            {}});
        }
    }
}

}  // namespace

QString MissingSource::description() const
{
    return QStringLiteral("%1 \"%2\": %3 (%4)").arg(kind, name, reason, path);
}

QList<MissingSource> ProjectSourceCheck::missingSources(const ProjectRoots& roots)
{
    QList<MissingSource> missing;
    if (roots.media) {
        checkMedia(*roots.media, missing);
    }
    if (roots.disc) {
        checkDisc(*roots.disc, missing);
    }
    return missing;
}

QString ProjectSourceCheck::describe(const QList<MissingSource>& missing)
{
    QStringList lines;
    for (const MissingSource& source : missing) {
        lines.append(source.description());
    }
    return lines.join(QLatin1Char('\n'));
}

void ProjectSourceCheck::markClips(const ProjectRoots& roots, const QList<MissingSource>& missing)
{
    if (roots.media) {
        for (const auto& source : roots.media->sectionDataResourceArray()) {
            for (const auto& clip : clipsOf(*source)) {
                clip->setMissingSource({});
            }
        }
    }
    for (const MissingSource& source : missing) {
        for (const auto& clip : source.clips) {
            if (clip->missingSource().isEmpty()) {
                clip->setMissingSource(source.description());
            }
        }
    }
}
