#pragma once
// Shared by the video edit tests: seconds as media time, the picture a movie
// draws at a time, a clip over a recording movie with its section, trim lists from (start, end)
// pairs, and a trim timeline delegate that records what the timeline asks of it.

#include <QImage>
#include <QList>
#include <QPair>
#include <QStringList>
#include <memory>

#include "RecordingMovie.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/IMovie.h"
#include "media/MovieTrimItem.h"
#include "media/VCMovie.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "videoedit/core/VEPlayerProgressBarDelegate.h"

namespace videoedittest {

inline LMMediaTime sec(double s)
{
    return static_cast<LMMediaTime>(s * static_cast<double>(lm_default_time_base()));
}

inline double seconds(LMMediaTime t)
{
    return lm_ff_time_to_double(t);
}

// The picture, effects applied, that `movie` hands its frame provider for
// the time `at` (seconds), decoded synchronously; null when none came.
inline QImage effectImageAt(IMovie& movie, double at)
{
    struct Capture : IFrameProvider {
        QImage effect;
        void mediaEffectImage(IMovie*, const QImage& image) override { effect = image.copy(); }
    } capture;
    movie.decodeImageAtTime(sec(at), &capture, true);
    return capture.effect;
}

using Spans = QList<QPair<double, double>>;

inline VCMovie::TrimArray trims(const Spans& spans)
{
    VCMovie::TrimArray list;
    for (const auto& [start, end] : spans) {
        list << std::make_shared<MovieTrimItem>(start, end - start);
    }
    return list;
}

inline Spans spansOf(const VCMovie::TrimArray& list)
{
    Spans spans;
    for (const auto& trim : list) {
        spans << qMakePair(trim->start(), trim->stop());
    }
    return spans;
}

// A clip playing [from, to) of a recording movie of `length` seconds.
struct Clip {
    std::shared_ptr<testsupport::RecordingMovie> movie;
    std::shared_ptr<MediaData> media;
    std::shared_ptr<MediaSectionItem> section;

    VCMovie::Ptr item() const { return media->vcmovie(); }
};

inline Clip makeClip(double length = 6.0, double from = 0.0, double to = -1.0)
{
    Clip clip;
    clip.movie = std::make_shared<testsupport::RecordingMovie>(length);
    clip.section = std::make_shared<MediaSectionItem>();
    clip.section->setStartTimeInMedia(sec(from));
    clip.section->setEndTimeInMedia(sec(to < 0 ? length : to));
    clip.media = std::make_shared<MediaData>();
    clip.media->setVcmovie(VCMovie::movieWithMovie(clip.movie, clip.movie->duration()));
    clip.media->setSectionItem(clip.section);
    clip.section->setAssociatedMedia(clip.media);
    return clip;
}

class RecordingTimelineDelegate : public VEPlayerProgressBarDelegate {
public:
    std::shared_ptr<MediaData> clip;
    LMMediaTime start = 0;
    LMMediaTime stop = 0;
    QStringList calls;
    QList<LMMediaTime> seeks;

    std::shared_ptr<MediaData> media() const override { return clip; }
    LMMediaTime importMovieStart() const override { return start; }
    LMMediaTime importMovieStop() const override { return stop; }
    void flushProgressTimeLabel() override { calls << "flushProgressTimeLabel"; }
    void flushPlayerProgress() override { calls << "flushPlayerProgress"; }
    void pause() override { calls << "pause"; }
    void seek(LMMediaTime t) override
    {
        calls << "seek";
        seeks << t;
    }
};

}  // namespace videoedittest
