#pragma once
// A list of trimmed media pieces read as one timeline, end to end, that hands
// back the edited frame at a timeline time, decoded synchronously. Built for
// the menu buttons that show a moving picture of their title: they ask for
// frames at steadily increasing times while a menu plays or is encoded, and
// for single frames in the editor.
//
// Piece k occupies its trimDuration on the timeline, starting at the sum of
// the lengths before it; a time t in piece k is the source time
// t - start(k) + trimStart of piece k. A piece holds its start, not its end.
//
// Requests at increasing times inside one piece go straight to the decoder;
// a seek happens only when time goes backwards or leaves the current piece.
// No lock is taken: one caller uses an object at a time.

#include <QImage>
#include <QList>
#include <memory>

#include "lumenta/IMovie.h"
#include "lumenta/LMMediaTime.h"

class SegmentsMovie {
public:
    // One piece as the timeline reads it: the movie that decodes it and the
    // kept range on that movie's own timeline (a media item's movie,
    // trimStart and trimDuration).
    struct Piece {
        IMovie::Ptr movie;
        LMMediaTime trimStart = 0;
        LMMediaTime trimDuration = 0;
    };

    explicit SegmentsMovie(QList<Piece> pieces);
    static std::shared_ptr<SegmentsMovie> movieWithMovies(QList<Piece> pieces);

    const QList<Piece>& vcmovies() const { return m_pieces; }

    // The sum of the pieces' lengths.
    LMMediaTime duration() const;

    // The index of the piece that holds `time`, or -1 when the time is at or
    // past the end (or negative). The piece's start (or, with no piece, the
    // whole length) is written through `baseTime` when given.
    qsizetype getCurMovieAtTime(LMMediaTime time, LMMediaTime* baseTime) const;

    // The edited picture at a timeline time; null past the end, for a piece
    // without a movie, or when the decoder gives nothing.
    QImage ciImageAtTime(LMMediaTime time);

    // Position state: the piece of the last frame (-1 at first), where it
    // starts on the timeline, and the time of the last request.
    qsizetype curMovie() const { return m_curMovie; }
    LMMediaTime movieBaseTime() const { return m_movieBaseTime; }
    LMMediaTime lastTime() const { return m_lastTime; }

private:
    QList<Piece> m_pieces;
    qsizetype m_curMovie = -1;
    LMMediaTime m_movieBaseTime = 0;
    LMMediaTime m_lastTime = 0;
};
