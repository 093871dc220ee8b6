#pragma once
// Splits one long title into pieces that are encoded side by side and
// joined again (LMDVDStreamJoin): a title of one plain range of one file,
// cut at output frame times into pieces of at least a given length.
//
// Each piece gets a movie of its own over the same file with the same
// edits, since a movie keeps the state of its one decoder; so does the
// title's sound. A title in pieces leaves the movies it was given alone. A piece asks its
// movie for the times the whole title would have asked for (to the
// microsecond) and lasts exactly its frames: together the pieces hold every
// frame of the title once, in order. The cuts fall on whole groups of
// pictures of the DVD stream, so that the joined stream has its groups, and
// so its VOBUs and chapter cells, where the title encoded whole has them
// (a DVD stream starts no VOBU less than 0.4 s after the one before).
//
// A piece's decoding starts at the source's key frame before its cut: on a
// source with far-apart key frames (a camcorder's long groups), many frames
// decoded only to be dropped. So each cut that is not on a chapter may move
// onto the first whole group after a key frame near it, when that costs the
// piece less time than the frames it would decode for nothing.
//
// The title's chapters keep their own groups: a cut within a group of a
// chapter moves onto the chapter, each piece's encoder is told the chapters
// inside it (from the piece's start), and a piece followed by a chapter plans
// its last groups towards its end, so that the next piece's first picture
// opens a VOBU as the chapter's picture does in the title encoded whole.

#include <QHash>
#include <QList>
#include <utility>

#include "lumenta/LMFFMovie.h"
#include "media/IMediaItem.h"
#include "media/VCMovie.h"

class TitlePieces {
public:
    struct Piece {
        VCMovie::Ptr movie;
        int64_t firstFrame = 0;  // on the title's timeline
        // The output times (from the piece's start) that open a group of
        // their own: the chapters inside it, and its end when a chapter
        // starts the next piece.
        QList<LMMediaTime> keyFrameTimes;
    };

    // The pieces of the title, or none when it is kept whole: it is not one
    // range of one file with video and audio (or carries subtitles), or it
    // is shorter than two pieces of `minimumSeconds`, or no cut makes it
    // faster. At most `count`: of the ways to cut it into 2 to `count` even
    // pieces (cuts moved as below), the one whose slowest piece is fastest,
    // more pieces only where they make it a twentieth faster: on a source
    // with key frames far apart, a piece starting far from one decodes
    // frames it drops. `chapterTimes` are the output times of the title's
    // chapters.
    static QList<Piece> split(const QList<IMediaItem::Ptr>& movies, int framerate, int frameTime,
                              int count, double minimumSeconds,
                              const QList<LMMediaTime>& chapterTimes = {});
    // The first frames of the pieces of a title of `frames` frames: `count`
    // even shares, each cut on the nearest multiple of `group` frames, or on
    // the nearest of `chapterFrames` no more than a group away.
    static QList<int64_t> cutFrames(int64_t frames, int count, int64_t group,
                                    const QList<int64_t>& chapterFrames = {});
    // The cut that costs its piece the least time: `cut` itself, whose
    // decoding starts at the key frame `before`, or the first multiple of
    // `group` at or after the key frame `after` (the next one past the cut),
    // strictly between `previous` and `next`. A frame decoded and dropped
    // costs about half of one kept (decoded, scaled, encoded), and a group's
    // worth is decoded in any case; a cut moved on by a frame makes the piece
    // a frame shorter and the one before a frame longer. A key frame not
    // known is negative.
    static int64_t cutNearKeyFrames(int64_t cut, int64_t before, int64_t after, int64_t group,
                                    int64_t previous, int64_t next);
    // The time the slowest of the pieces cut at `cuts` (a title of `frames`
    // frames) takes, in half frames kept: a kept frame counts 2 and a frame
    // decoded only to reach a piece's start 1, beyond the group that is
    // decoded in any case. `keyFrames` maps a cut to the key frame its
    // decoding starts at (none known: no frames dropped).
    static int64_t slowestPiece(const QList<int64_t>& cuts, int64_t frames,
                                const QHash<int64_t, int64_t>& keyFrames, int64_t group);
    // The group-opening times of the piece from frame `first` to `end` (not
    // included) of a title with chapters at `chapterFrames`.
    static QList<LMMediaTime> pieceKeyFrameTimes(int64_t first, int64_t end,
                                                 const QList<int64_t>& chapterFrames, int framerate,
                                                 int frameTime);

    // A movie over the same medias with the same edits and watermark.
    static LMFFMovie::Ptr cloneMovie(const LMFFMovie& movie);
    // The title's one range (as split() takes it) over a movie of its own:
    // the same range, fades and edits, for the sound encoded whole beside
    // the pieces. Null when it is not one range of one file.
    static VCMovie::Ptr cloneRange(const QList<IMediaItem::Ptr>& movies);

private:
    // The one range of `movies` and its file, or nulls when they are not
    // one range of one file.
    static std::pair<VCMovie::Ptr, LMFFMovie::Ptr> oneRangeOfOneFile(
        const QList<IMediaItem::Ptr>& movies);
    // The cuts (the first 0) of the fastest of the ways to cut the title
    // into 1 to `count` pieces, the fewest pieces among the nearly fastest.
    static QList<int64_t> bestCuts(const VCMovie& range, const LMFFMovie& file, int64_t frames,
                                   int count, int64_t group, const QList<int64_t>& chapterFrames,
                                   int framerate, int frameTime);

public:
    // Microseconds from the title's start to its frame `frame`, rounded down
    // (as the converter's video clock counts).
    static LMMediaTime frameTimeOf(int64_t frame, int framerate, int frameTime);
    // The frame nearest the output time `time` (as the writer places a key
    // frame asked for).
    static int64_t frameAt(LMMediaTime time, int framerate, int frameTime);
};
