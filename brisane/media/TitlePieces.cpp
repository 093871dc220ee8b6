#include "media/TitlePieces.h"

#include <QHash>
#include <cmath>
#include <optional>

#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"

LMMediaTime TitlePieces::frameTimeOf(int64_t frame, int framerate, int frameTime)
{
    return frame * frameTime * lm_default_time_base() / std::max(framerate, 1);
}

int64_t TitlePieces::frameAt(LMMediaTime time, int framerate, int frameTime)
{
    const int64_t ticks = int64_t(std::max(frameTime, 1)) * lm_default_time_base();
    return (time * std::max(framerate, 1) + ticks / 2) / ticks;
}

QList<int64_t> TitlePieces::cutFrames(int64_t frames, int count, int64_t group,
                                      const QList<int64_t>& chapterFrames)
{
    QList<int64_t> cuts{0};
    group = std::max<int64_t>(group, 1);
    const double share = static_cast<double>(frames) / std::max(count, 1) / group;
    for (int k = 1; k < count; ++k) {
        int64_t cut = std::llround(share * k) * group;
        // A chapter this close to the cut would open a group too near the
        // piece's first picture to start a VOBU of its own: cut on it.
        int64_t nearest = group + 1;
        for (const int64_t chapter : chapterFrames) {
            if (std::abs(chapter - cut) < std::abs(nearest)) {
                nearest = chapter - cut;
            }
        }
        if (std::abs(nearest) <= group) {
            cut += nearest;
        }
        if (cut > cuts.last() && cut < frames) {
            cuts << cut;
        }
    }
    return cuts;
}

int64_t TitlePieces::cutNearKeyFrames(int64_t cut, int64_t before, int64_t after, int64_t group,
                                      int64_t previous, int64_t next)
{
    group = std::max<int64_t>(group, 1);
    // In frames kept: a dropped frame costs half of one. Moving a cut back
    // makes its piece as much longer as it saves, so only a key frame after
    // the cut can pay.
    const double dropped =
        before >= 0 && before < cut ? std::max<int64_t>(0, cut - before - group) : 0;
    if (after <= cut) {
        return cut;
    }
    const int64_t moved = (after + group - 1) / group * group;
    const bool cheaper = static_cast<double>(moved - cut) < dropped / 2;
    return cheaper && moved > previous && moved < next ? moved : cut;
}

QList<LMMediaTime> TitlePieces::pieceKeyFrameTimes(int64_t first, int64_t end,
                                                   const QList<int64_t>& chapterFrames,
                                                   int framerate, int frameTime)
{
    QList<LMMediaTime> times;
    for (const int64_t chapter : chapterFrames) {
        if (chapter > first && chapter < end) {
            times << frameTimeOf(chapter - first, framerate, frameTime);
        }
    }
    if (chapterFrames.contains(end)) {
        times << frameTimeOf(end - first, framerate, frameTime);
    }
    return times;
}

LMFFMovie::Ptr TitlePieces::cloneMovie(const LMFFMovie& movie)
{
    auto copy = LMFFMovie::create();
    if (!copy->openMedias(movie.medias())) {
        return nullptr;
    }
    copy->setSelectAudioStreams(movie.selectAudioStreams());
    copy->setSelectSubtitleStreams(movie.selectSubtitleStreams());
    copy->setHflip(movie.hflip());
    copy->setVflip(movie.vflip());
    copy->setRotate(movie.rotate());
    copy->setBrightness(movie.brightness());
    copy->setSaturation(movie.saturation());
    copy->setContrast(movie.contrast());
    copy->setHue(movie.hue());
    copy->setEffectName(movie.effectName());
    copy->setVideoSize(movie.videoSize());
    copy->setCropRect(movie.cropRect());
    copy->setAspectType(movie.aspectType());
    copy->setZoomType(movie.zoomType());
    copy->setOutputVideoSize(movie.outputVideoSize());
    copy->setVolume(movie.volume());
    copy->setWatermark(movie.watermark());
    return copy;
}

std::pair<VCMovie::Ptr, LMFFMovie::Ptr> TitlePieces::oneRangeOfOneFile(
    const QList<IMediaItem::Ptr>& movies)
{
    const QList<IMediaItem::Ptr> ranges = VCMovie::moviesFromTrimMovies(movies);
    const auto range =
        ranges.size() == 1 ? std::dynamic_pointer_cast<VCMovie>(ranges.first()) : nullptr;
    const auto file = range ? std::dynamic_pointer_cast<LMFFMovie>(range->movie()) : nullptr;
    return {file ? range : nullptr, file};
}

VCMovie::Ptr TitlePieces::cloneRange(const QList<IMediaItem::Ptr>& movies)
{
    const auto [range, file] = oneRangeOfOneFile(movies);
    const auto movie = file ? cloneMovie(*file) : nullptr;
    if (!movie) {
        return nullptr;
    }
    auto item = VCMovie::create();
    item->setMovie(movie);
    item->setTrimStart(range->trimStart());
    item->setTrimStop(range->trimStop());
    item->setFadeIn(range->fadeIn());
    item->setFadeOut(range->fadeOut());
    return item;
}

int64_t TitlePieces::slowestPiece(const QList<int64_t>& cuts, int64_t frames,
                                  const QHash<int64_t, int64_t>& keyFrames, int64_t group)
{
    int64_t slowest = 0;
    for (qsizetype k = 0; k < cuts.size(); ++k) {
        const int64_t end = k + 1 < cuts.size() ? cuts[k + 1] : frames;
        const int64_t key = keyFrames.value(cuts[k], -1);
        // Twice the frames' cost: a kept frame counts 2, a dropped one 1.
        const int64_t dropped = key >= 0 ? std::max<int64_t>(0, cuts[k] - key - group) : 0;
        slowest = std::max(slowest, 2 * (end - cuts[k]) + dropped);
    }
    return slowest;
}

QList<int64_t> TitlePieces::bestCuts(const VCMovie& range, const LMFFMovie& file, int64_t frames,
                                     int count, int64_t group, const QList<int64_t>& chapterFrames,
                                     int framerate, int frameTime)
{
    // The even cuts of every count of pieces, and the frames whose key
    // frames they need: the cut's own, and the one half way to the next cut
    // (a key frame after it the cut may move on to).
    QList<QList<int64_t>> plans;
    QList<int64_t> asked;
    for (int pieces = 2; pieces <= count; ++pieces) {
        plans << cutFrames(frames, pieces, group, chapterFrames);
        const QList<int64_t>& cuts = plans.last();
        for (qsizetype k = 1; k < cuts.size(); ++k) {
            const int64_t next = k + 1 < cuts.size() ? cuts[k + 1] : frames;
            asked << cuts[k] << cuts[k] + (next - cuts[k]) / 2;
        }
    }
    QList<LMMediaTime> times;
    for (const int64_t at : asked) {
        times << range.trimStart() + frameTimeOf(at, framerate, frameTime);
    }
    const QList<std::optional<LMMediaTime>> keys = file.keyFrameTimesAtOrBefore(times);
    const LMMediaTime frame = std::max<LMMediaTime>(frameTimeOf(1, framerate, frameTime), 1);
    QHash<int64_t, int64_t> keyFrames;  // frame asked -> the key frame at or before it
    for (qsizetype i = 0; i < asked.size(); ++i) {
        keyFrames.insert(
            asked[i], keys[i] ? (*keys[i] - range.trimStart() + frame - 1) / frame : int64_t(-1));
    }

    QList<int64_t> best{0};
    int64_t bestCost = 2 * frames;  // the title whole
    for (QList<int64_t> cuts : plans) {
        const QList<int64_t> even = cuts;
        for (qsizetype k = 1; k < cuts.size(); ++k) {
            if (chapterFrames.contains(cuts[k])) {
                continue;  // a chapter keeps its picture
            }
            const int64_t next = k + 1 < even.size() ? even[k + 1] : frames;
            const int64_t before = keyFrames.value(cuts[k], -1);
            const int64_t later = keyFrames.value(cuts[k] + (next - cuts[k]) / 2, -1);
            const int64_t moved = cutNearKeyFrames(cuts[k], before, later > cuts[k] ? later : -1,
                                                   group, cuts[k - 1], next);
            if (moved != cuts[k]) {
                keyFrames.insert(moved, later);
                cuts[k] = moved;
            }
        }
        // More pieces only for a title made faster by a twentieth or more:
        // each takes a place, a movie and its memory.
        const int64_t cost = slowestPiece(cuts, frames, keyFrames, group);
        if (cost * 20 < bestCost * 19) {
            best = cuts;
            bestCost = cost;
        }
    }
    return best;
}

QList<TitlePieces::Piece> TitlePieces::split(const QList<IMediaItem::Ptr>& movies, int framerate,
                                             int frameTime, int count, double minimumSeconds,
                                             const QList<LMMediaTime>& chapterTimes)
{
    const auto [range, file] = oneRangeOfOneFile(movies);
    if (!file || !file->hasVideo() || !file->hasAudio() || file->hasSubtitle() || framerate < 1 ||
        frameTime < 1) {
        return {};
    }
    const double seconds = lm_ff_time_to_double(range->trimDuration());
    count = std::min<int>(count, static_cast<int>(seconds / std::max(minimumSeconds, 0.001)));
    if (count < 2) {
        return {};
    }
    const auto frames = static_cast<int64_t>(seconds * framerate / frameTime);
    QList<int64_t> chapterFrames;
    for (const LMMediaTime time : chapterTimes) {
        if (time > 0) {
            chapterFrames << frameAt(time, framerate, frameTime);
        }
    }
    const int64_t group = LMFFMovieFileOutput::dvdGroupFrames(framerate, frameTime);
    const QList<int64_t> cuts =
        bestCuts(*range, *file, frames, count, group, chapterFrames, framerate, frameTime);
    if (cuts.size() < 2) {
        return {};
    }
    QList<Piece> pieces;
    for (qsizetype k = 0; k < cuts.size(); ++k) {
        const auto movie = cloneMovie(*file);
        if (!movie) {
            return {};
        }
        auto item = VCMovie::create();
        item->setMovie(movie);
        item->setMosaicArray(range->mosaicArray());
        item->setThumbnail(range->thumbnail());
        const LMMediaTime start = range->trimStart() + frameTimeOf(cuts[k], framerate, frameTime);
        item->setTrimStart(start);
        // The frames of the piece, counted as the whole title's clock counts.
        item->setTrimStop(k + 1 < cuts.size()
                              ? start + frameTimeOf(cuts[k + 1] - cuts[k], framerate, frameTime)
                              : range->trimStop());
        const int64_t end = k + 1 < cuts.size() ? cuts[k + 1] : frames;
        pieces.append(
            {item, cuts[k], pieceKeyFrameTimes(cuts[k], end, chapterFrames, framerate, frameTime)});
    }
    return pieces.size() >= 2 ? pieces : QList<Piece>();
}
