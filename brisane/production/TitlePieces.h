#pragma once
// Splits one long title into pieces that are encoded side by side and
// joined again (LMDVDStreamJoin): a title of one plain range of one file,
// cut at output frame times into pieces of at least a given length.
//
// Each piece gets a movie of its own over the same file with the same
// edits, since a movie keeps the state of its one decoder. A piece asks its
// movie for the times the whole title would have asked for (to the
// microsecond) and lasts exactly its frames: together the pieces hold every
// frame of the title once, in order. The cuts fall on whole groups of
// pictures of the DVD stream, so that the joined stream has its groups, and
// so its VOBUs and chapter cells, where the title encoded whole has them
// (a DVD stream starts no VOBU less than 0.4 s after the one before).

#include <QList>

#include "lumenta/LMFFMovie.h"
#include "media/IMediaItem.h"
#include "media/VCMovie.h"

class TitlePieces {
public:
    struct Piece {
        VCMovie::Ptr movie;
        int64_t firstFrame = 0;  // on the title's timeline
    };

    // The pieces of the title, or none when it is kept whole: it is not one
    // range of one file with video and audio (or carries subtitles), or it
    // is shorter than two pieces of `minimumSeconds`. At most `count`.
    static QList<Piece> split(const QList<IMediaItem::Ptr>& movies, int framerate, int frameTime,
                              int count, double minimumSeconds);
    // The first frames of the pieces of a title of `frames` frames: `count`
    // even shares, each cut on the nearest multiple of `group` frames.
    static QList<int64_t> cutFrames(int64_t frames, int count, int64_t group);

    // A movie over the same medias with the same edits and watermark.
    static LMFFMovie::Ptr cloneMovie(const LMFFMovie& movie);

    // Microseconds from the title's start to its frame `frame`, rounded down
    // (as the converter's video clock counts).
    static LMMediaTime frameTimeOf(int64_t frame, int framerate, int frameTime);
};
