#pragma once
// Joins the pieces of one title, encoded side by side, into its DVD stream.
//
// The video pieces are ".dvdpart" files of the file writer holding MPEG-2
// video only, each starting with a sequence header and a closed group at
// its own time 0; they follow each other in the order given. The audio is
// one ".dvdpart" file of AC-3 over the whole title. The result is the DVD
// program stream the writer makes for a ".dvd" path (the same packs, rate
// and buffer model), muxed once over the joined video so that its clock
// reference and time stamps run on without a break. As the writer does, no
// audio unit is kept that would end past the end of the video.
//
// The stream may go into a named pipe (a reader such as dvdauthor on its
// other end): opening it waits for the reader, and a reader gone makes the
// join fail (no signal reaches the process). With releasesInput, the pieces
// give their room back as they are read: each video piece is removed once
// read to its end, and what has been read of a piece and of the audio is
// freed on the way (a hole punched, where the file system allows it), so
// that the pieces and the stream made of them take hardly more room together
// than the stream alone.
//
// cancel may come from any other thread while join runs: the join stops at
// its next packet and fails.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <atomic>
#include <cstdint>

class Q_DECL_EXPORT LMDVDStreamJoin {
public:
    // Writes `path`; false (nothing left at `path`, unless it is a named
    // pipe) with errorText() set when a piece cannot be read, the stream
    // cannot be written, or the join was cancelled.
    bool join(const QStringList& videoPieces, const QString& audioPiece, const QString& path);
    QString errorText() const { return m_error; }
    // Video frames written by the last join.
    int64_t videoFrames() const { return m_videoFrames; }

    // Set before join. The caller removes what is left of the pieces
    // afterwards, whatever the result: with it on they are no longer whole.
    void setReleasesInput(bool release) { m_releasesInput = release; }
    bool releasesInput() const { return m_releasesInput; }

    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }

private:
    bool fail(const QString& text);
    bool write(const QStringList& videoPieces, const QString& audioPiece, const QString& path);

    QString m_error;
    int64_t m_videoFrames = 0;
    bool m_releasesInput = false;
    std::atomic<bool> m_cancelled{false};
};
