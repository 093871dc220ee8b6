#include "media/SegmentsMovie.h"

#include <QMutex>
#include <QMutexLocker>

#include "lumenta/IFrameProvider.h"

namespace {

// The frame provider of one decode: keeps the last edited picture delivered.
class SegmentsMovieImageDelegate : public IFrameProvider {
public:
    void mediaEffectImage(IMovie*, const QImage& image) override
    {
        QMutexLocker lock(&m_lock);
        m_image = image;
    }
    QImage image() const
    {
        QMutexLocker lock(&m_lock);
        return m_image;
    }

private:
    mutable QMutex m_lock;
    QImage m_image;
};

}  // namespace

SegmentsMovie::SegmentsMovie(QList<Piece> pieces) : m_pieces(std::move(pieces)) {}

std::shared_ptr<SegmentsMovie> SegmentsMovie::movieWithMovies(QList<Piece> pieces)
{
    return std::make_shared<SegmentsMovie>(std::move(pieces));
}

LMMediaTime SegmentsMovie::duration() const
{
    LMMediaTime total = 0;
    for (const auto& piece : m_pieces) {
        total += piece.trimDuration;
    }
    return total;
}

qsizetype SegmentsMovie::getCurMovieAtTime(LMMediaTime time, LMMediaTime* baseTime) const
{
    LMMediaTime acc = 0;
    qsizetype found = -1;
    if (time >= 0) {
        for (qsizetype i = 0; i < m_pieces.size(); ++i) {
            if (acc + m_pieces[i].trimDuration > time) {
                found = i;
                break;
            }
            acc += m_pieces[i].trimDuration;
        }
    }
    if (baseTime) {
        *baseTime = acc;
    }
    return found;
}

QImage SegmentsMovie::ciImageAtTime(LMMediaTime time)
{
    const LMMediaTime previous = m_lastTime;
    m_lastTime = time;

    LMMediaTime sourceTime = 0;
    const bool keepPiece = time >= previous && m_curMovie >= 0 && time - m_movieBaseTime >= 0 &&
                           time - m_movieBaseTime < m_pieces[m_curMovie].trimDuration;
    if (keepPiece) {
        sourceTime = time - m_movieBaseTime + m_pieces[m_curMovie].trimStart;
    } else {
        LMMediaTime base = 0;
        m_curMovie = getCurMovieAtTime(time, &base);
        if (m_curMovie < 0) {
            base = time;
        }
        m_movieBaseTime = base;
        if (m_curMovie < 0) {
            return {};
        }
        sourceTime = time - base + m_pieces[m_curMovie].trimStart;
        if (m_pieces[m_curMovie].movie) {
            m_pieces[m_curMovie].movie->setCurrentTime(sourceTime);
        }
    }

    const IMovie::Ptr movie = m_pieces[m_curMovie].movie;
    if (!movie) {
        return {};
    }
    SegmentsMovieImageDelegate delegate;
    movie->decodeImageAtTime(sourceTime, &delegate, true);
    return delegate.image();
}
