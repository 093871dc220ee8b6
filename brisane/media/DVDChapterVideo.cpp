#include "media/DVDChapterVideo.h"

namespace brisane {

double DVDChapterVideo::duration() const
{
    return lm_ff_time_to_double(durationForVcMovies(m_movies));
}

LMMediaTime DVDChapterVideo::durationForVcMovies(const QList<VCMovie::Ptr>& movies)
{
    LMMediaTime total = 0;
    for (const VCMovie::Ptr& movie : movies) {
        if (movie) {
            total += movie->trimDuration();
        }
    }
    return total;
}

}  // namespace brisane
