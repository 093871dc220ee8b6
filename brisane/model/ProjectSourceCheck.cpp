#include "model/ProjectSourceCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <algorithm>
#include <optional>

#include "corvane/DVDLibrary.h"
#include "lumenta/LMFunctions.h"
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
#include "platform/BoundedFile.h"

namespace {

using ClipList = QList<std::shared_ptr<MediaData>>;
using ButtonPtr = std::shared_ptr<CustomButtonImageResource>;

// A source shorter than what is played from it by more than this (seconds)
// has been cut short since it was chosen.
constexpr double LengthTolerance = 0.1;

// The sources a check looks at, in the order it reports them.
struct UsedSources {
    struct Media {
        std::shared_ptr<SectionDataResource> source;
        ClipList clips;  // the clips that play it, at least one
    };
    QList<Media> media;
    QList<std::shared_ptr<DVDPage>> pages;
    QList<ButtonPtr> buttons;
};

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

// Whether the movie's files hold what is played up to `end`: the length
// their containers claim, and their packets.
bool reachesEnd(const IMovie& movie, LMMediaTime end)
{
    const LMMediaTime tolerance =
        static_cast<LMMediaTime>(LengthTolerance * lm_default_time_base());
    if (end - movie.duration() > tolerance) {
        return false;
    }
    const QList<LMMedia::Ptr> medias = movie.medias();
    return std::none_of(medias.begin(), medias.end(), [&](const LMMedia::Ptr& media) {
        const LMMediaTime last = std::min(end, media->duration()) - tolerance;
        return media->reachesTime(last) == LMMedia::Reach::EndsBefore;
    });
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
    LMMediaTime end = 0;
    IMovie::Ptr movie;
    for (const auto& clip : clips) {
        const VCMovie::Ptr item = clip->vcmovie();
        movie = item ? item->movie() : nullptr;
        if (!movie || (!movie->hasVideo() && !movie->hasAudio())) {
            return QStringLiteral("the file holds no video that can be played");
        }
        if (const auto section = clip->sectionItem()) {
            end = std::max(end, section->endTimeInMedia());
        }
    }
    if (movie && !reachesEnd(*movie, end)) {
        return QStringLiteral("the file is shorter than the clip made from it");
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
    const LMMediaTime kept = item->trimStop() > 0 ? item->trimStop() : movie->duration();
    if (!reachesEnd(*movie, kept)) {
        return QStringLiteral("the file is shorter than the sound used from it");
    }
    return std::nullopt;
}

// Why a clip shows no subtitle from the file it was given; nothing while it
// shows one, whatever became of the file since.
std::optional<QString> subtitleProblem(const MediaData& clip, const QString& path)
{
    const VCMovie::Ptr item = clip.vcmovie();
    const IMovie::Ptr movie = item ? item->movie() : nullptr;
    if (!movie || movie->hasSubtitle()) {
        return std::nullopt;  // a clip without movie is named for its video
    }
    if (auto problem = fileProblem(path)) {
        return problem;
    }
    return QStringLiteral("the file holds no subtitles that can be shown");
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

void checkMedia(const UsedSources::Media& media, QList<MissingSource>& missing)
{
    if (const auto file = media.source->fileSource()) {
        if (const auto problem = videoProblem(*file, media.clips)) {
            missing.append({QStringLiteral("video"), userFileName(*file), file->path(), *problem,
                            media.clips});
        }
    }
    if (const auto slideshow = media.source->imageSource()) {
        checkSlideshow(*slideshow, media.clips, missing);
    }
}

void checkSubtitles(const ClipList& clips, QList<MissingSource>& missing)
{
    for (const auto& clip : clips) {
        const auto file = clip->subtitleFileSource();
        if (!file) {
            continue;
        }
        if (const auto problem = subtitleProblem(*clip, file->path())) {
            missing.append(
                {QStringLiteral("subtitle"), userFileName(*file), file->path(), *problem, {clip}});
        }
    }
}

void checkPage(const DVDPage& page, QList<MissingSource>& missing)
{
    const auto music = page.music();
    const auto file = music ? music->fileSource() : nullptr;
    if (!file) {
        return;
    }
    if (const auto problem = soundProblem(file->path(), music->vcmovie())) {
        missing.append(
            {QStringLiteral("page music"), userFileName(*file), file->path(), *problem, {}});
    }
}

void checkButton(const CustomButtonImageResource& button, QList<MissingSource>& missing)
{
    const auto file = button.fileSource();
    if (!file) {
        return;
    }
    if (const auto problem = pictureProblem(file->path())) {
        missing.append(
            {QStringLiteral("button picture"), userFileName(*file), file->path(), *problem, {}});
    }
}

QList<MissingSource> check(const UsedSources& used)
{
    QList<MissingSource> missing;
    ClipList clips;
    for (const UsedSources::Media& media : used.media) {
        checkMedia(media, missing);
        clips += media.clips;
    }
    for (const auto& page : used.pages) {
        checkPage(*page, missing);
    }
    for (const auto& button : used.buttons) {
        checkButton(*button, missing);
    }
    checkSubtitles(clips, missing);
    return missing;
}

UsedSources sourcesOfProject(const ProjectRoots& roots)
{
    UsedSources used;
    if (roots.media) {
        for (const auto& source : roots.media->sectionDataResourceArray()) {
            const ClipList clips = source ? clipsOf(*source) : ClipList();
            if (!clips.isEmpty()) {
                used.media.append({source, clips});
            }
        }
    }
    if (roots.disc) {
        for (const auto& page : roots.disc->pageArray()) {
            if (page) {
                used.pages.append(page);
            }
        }
        for (const auto& button : roots.disc->customButtonImageResourceArray()) {
            if (auto custom = std::dynamic_pointer_cast<CustomButtonImageResource>(button)) {
                used.buttons.append(custom);
            }
        }
    }
    return used;
}

// The clips an item shows and leads to: a title's clips or the item's clip,
// each group clip with its members.
ClipList clipsOfItem(const DVDPageItem& item)
{
    ClipList clips;
    for (const auto& shown : item.getMovieMediasForItem()) {
        if (auto clip = std::dynamic_pointer_cast<MediaData>(shown)) {
            clips.append(clip);
            clips += clip->subMediaArray();
        }
    }
    clips.removeAll(nullptr);
    return clips;
}

// Files `clip` under its source in `used`, once.
void addClip(UsedSources& used, QSet<const MediaData*>& seen,
             const std::shared_ptr<MediaData>& clip)
{
    const auto section = clip->sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    if (!source || seen.contains(clip.get())) {
        return;
    }
    seen.insert(clip.get());
    for (UsedSources::Media& media : used.media) {
        if (media.source == source) {
            media.clips.append(clip);
            return;
        }
    }
    used.media.append({source, {clip}});
}

UsedSources sourcesOfDisc(const DVDLibrary& dvd)
{
    UsedSources used;
    QSet<const MediaData*> seenClips;
    QSet<const CustomButtonImageResource*> seenButtons;
    for (const auto& menu : dvd.menus()) {
        const auto page = std::dynamic_pointer_cast<DVDPage>(menu);
        if (!page) {
            continue;
        }
        used.pages.append(page);
        for (const auto& item : page->itemArray()) {
            if (!item) {
                continue;
            }
            for (const auto& clip : clipsOfItem(*item)) {
                addClip(used, seenClips, clip);
            }
            auto button =
                std::dynamic_pointer_cast<CustomButtonImageResource>(item->buttonResource());
            if (button && !seenButtons.contains(button.get())) {
                seenButtons.insert(button.get());
                used.buttons.append(button);
            }
        }
    }
    return used;
}

}  // namespace

QString MissingSource::description() const
{
    return QStringLiteral("%1 \"%2\": %3 (%4)").arg(kind, name, reason, path);
}

QList<MissingSource> ProjectSourceCheck::missingSources(const ProjectRoots& roots)
{
    return check(sourcesOfProject(roots));
}

QList<MissingSource> ProjectSourceCheck::missingSources(const DVDLibrary& dvd)
{
    return check(sourcesOfDisc(dvd));
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
