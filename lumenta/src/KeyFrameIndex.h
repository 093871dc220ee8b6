#pragma once
// The pictures of one video stream that decoding can start at, found by
// reading every packet of the file once (no decoding) and kept for the
// process. It serves a stream whose container flags no key packets (an
// MPEG-2 stream in an ASF file, say): there a seek finds no key packet to
// start at, and the container's own search for one reads the file to its
// end, each time. A picture counts when its packet is flagged key, or the
// stream's parser finds a key frame in it or, where the parser leaves that
// open, an intra picture: the rule the demuxers follow where they parse.
//
// A kept index serves the same file only (links to it too): the same
// device, inode, size and modification time. At most capacity() are kept, the oldest going first.
// Thread-safe: readers of one file that ask at once wait for one reading.

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace lumenta {

class KeyFrameIndex {
public:
    struct Entry {
        // The first time (stream time base) a seek may start decoding at the
        // picture: its pts; where the container gives only a decoding time,
        // that time and a second, since pictures decoded after it (an open
        // group's first B-pictures, lost when decoding starts at it) may show
        // before it up to then.
        int64_t shown = 0;
        int64_t pts = 0;  // the packet's times as the demuxer gives them
        int64_t dts = 0;
        int64_t pos = -1;  // the packet's byte in the file; -1 when not known
    };

    // The index of stream `streamIndex` of the file at `url`, read now unless
    // it is kept; null when the file cannot be read.
    static std::shared_ptr<const KeyFrameIndex> of(const QString& url, int streamIndex);
    // The index kept for that stream, or null (nothing is read).
    static std::shared_ptr<const KeyFrameIndex> kept(const QString& url, int streamIndex);
    static constexpr int capacity() { return 32; }

    // The last picture shown at or before `time` (stream time base); the
    // first one for a time before it; null when the stream has none.
    const Entry* atOrBefore(int64_t time) const;
    const QList<Entry>& entries() const { return m_entries; }

private:
    static std::shared_ptr<const KeyFrameIndex> read(const QString& url, int streamIndex);

    QList<Entry> m_entries;  // by their times shown
};

}  // namespace lumenta
