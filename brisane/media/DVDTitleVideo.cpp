#include "media/DVDTitleVideo.h"

#include <QtMath>
#include <cmath>
#include <typeinfo>

#include "lumenta/LMFFMovie.h"

namespace brisane {

namespace {

// The source file of the movie's last media; empty when it has none.
QString lastSourcePath(const IMovie& movie)
{
    const QList<LMMedia::Ptr> medias = movie.medias();
    if (medias.isEmpty() || !medias.last()) {
        return {};
    }
    return medias.last()->value(QStringLiteral("source.path")).toString().value_or(QString());
}

bool near(float a, float b, float tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

// Both movies show the picture the same way.
bool sameEdits(const IMovie& a, const IMovie& b)
{
    if (a.hflip() != b.hflip() || a.vflip() != b.vflip()) {
        return false;
    }
    if (!near(a.rotate(), b.rotate(), 0.1f)) {
        return false;
    }
    if (!near(a.saturation(), b.saturation(), 0.001f) ||
        !near(a.brightness(), b.brightness(), 0.001f) ||
        !near(a.contrast(), b.contrast(), 0.001f) || !near(a.hue(), b.hue(), 0.001f)) {
        return false;
    }
    const QString effectA = a.effectName();
    const QString effectB = b.effectName();
    if (!(effectA.isEmpty() && effectB.isEmpty()) && effectA != effectB) {
        return false;
    }
    if (a.zoomType() != b.zoomType()) {
        return false;
    }
    for (const char* key : {"cropRectString", "outputVideoSizeString"}) {
        const QString name = QString::fromLatin1(key);
        if (a.value(name).toString() != b.value(name).toString()) {
            return false;
        }
    }
    return true;
}

}  // namespace

double DVDTitleVideo::duration() const
{
    double total = 0.0;
    for (const auto& chapter : m_chapters) {
        if (chapter) {
            total += chapter->duration();
        }
    }
    return total;
}

QList<LMMediaTime> DVDTitleVideo::chapterStartTimes() const
{
    // The same sum of seconds the authoring description places its cells by.
    QList<LMMediaTime> starts;
    double start = 0.0;
    for (qsizetype i = 0; i + 1 < m_chapters.size(); ++i) {
        start += m_chapters[i] ? m_chapters[i]->duration() : 0.0;
        starts << std::llround(start * static_cast<double>(lm_default_time_base()));
    }
    return starts;
}

QList<VCMovie::Ptr> DVDTitleVideo::vcmovies() const
{
    return vcmoviesForChapters(m_chapters);
}

QList<VCMovie::Ptr> DVDTitleVideo::vcmoviesForChapters(const ChapterList& chapters)
{
    QList<VCMovie::Ptr> result;
    VCMovie::Ptr previous;
    for (const auto& chapter : chapters) {
        const auto ours = std::dynamic_pointer_cast<DVDChapterVideo>(chapter);
        if (!ours) {
            continue;
        }
        for (const VCMovie::Ptr& item : ours->movies()) {
            if (!item) {
                continue;
            }
            if (canJoinVideo(*item, previous.get())) {
                previous->setTrimStop(item->trimStop());
                continue;
            }
            // Every piece of an item with trim segments is kept; the last one
            // is what the next item may continue.
            for (const IMediaItem::Ptr& piece : item->validVCMovies()) {
                if (auto movie = std::dynamic_pointer_cast<VCMovie>(piece)) {
                    result << movie;
                    previous = movie;
                }
            }
        }
    }
    return result;
}

bool DVDTitleVideo::canJoinVideo(VCMovie& piece, const VCMovie* previous)
{
    const IMovie::Ptr movie = piece.movie();
    if (!std::dynamic_pointer_cast<LMFFMovie>(movie)) {
        return false;  // slideshows and menus never join
    }
    const IMovie::Ptr old = previous ? previous->movie() : nullptr;
    if (!old || typeid(*old) != typeid(*movie)) {
        return false;
    }
    const QString path = lastSourcePath(*movie);
    if (path.isEmpty() || path != lastSourcePath(*old)) {
        return false;
    }
    if (!piece.trimArray().isEmpty() || !previous->trimArray().isEmpty()) {
        return false;
    }
    if (!piece.watermark().isNull()) {
        return false;
    }
    if (movie->hasSubtitle() || old->hasSubtitle()) {
        return false;
    }
    if (piece.fadeIn() != 0 || piece.fadeOut() != 0) {
        return false;
    }
    const LMMediaTime gap = piece.trimStart() - previous->trimStop();
    if (std::llabs(gap) > lm_default_time_base() / 100) {
        return false;
    }
    return sameEdits(*movie, *old);
}

}  // namespace brisane
