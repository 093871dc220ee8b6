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

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>

class Q_DECL_EXPORT LMDVDStreamJoin {
public:
    // Writes `path`; false (nothing left at `path`) with errorText() set
    // when a piece cannot be read or the stream cannot be written.
    bool join(const QStringList& videoPieces, const QString& audioPiece, const QString& path);
    QString errorText() const { return m_error; }
    // Video frames written by the last join.
    int64_t videoFrames() const { return m_videoFrames; }

private:
    bool fail(const QString& text);

    QString m_error;
    int64_t m_videoFrames = 0;
};
