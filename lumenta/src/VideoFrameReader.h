#pragma once
// Reads one video stream of a container through its own demuxer: the frame
// shown at a time (decoding forward from the last position when it can,
// seeking otherwise), or the stream's frames and packets one after the other.
// Times are movie times: microseconds from the container's start. Not
// thread-safe; each user keeps its own reader.
//
// A seek always starts reading at a key packet at or before the time asked
// for (or at the stream's first key packet for a time before it), so that the
// decoder never starts inside a group of pictures. What one seek reads is
// bounded: each of its tries reads no further than the time asked for. A
// stream whose container flags no key packets (the tries find none, or the
// container cannot seek in it) is seeked by its KeyFrameIndex instead: its
// file read once for the process, then each seek lands on the packet of the
// picture it needs by its byte.

#include <QString>
#include <memory>

#include "FFmpeg.h"
#include "KeyFrameIndex.h"
#include "lumenta/LMMediaTime.h"

namespace lumenta {

class VideoFrameReader {
public:
    // False (logged) when the stream cannot be decoded.
    bool open(const QString& url, int streamIndex, LMMediaTime containerStart, LMMediaTime duration,
              int threads);
    bool isOpen() const { return m_decoder != nullptr; }

    // The frame nearest `time` (its pts set to movie time); null past the end
    // or on failure. Owned by the reader, valid until the next call.
    const AVFrame* frameAt(LMMediaTime time);

    // Sequential reading for the direct path.
    void seek(LMMediaTime time);
    // The time of the key frame a seek to `time` starts decoding at: the
    // last one at or before it (the stream's first for a time before it).
    // AV_NOPTS_VALUE when the container gives no key packet to go by and
    // the stream has no key frame index.
    LMMediaTime keyFrameAtOrBefore(LMMediaTime time);
    FramePtr nextFrame();    // pts in movie time; null at the end
    PacketPtr nextPacket();  // null at the end

    LMMediaTime frameDuration() const { return m_frameDuration; }
    LMMediaTime containerStart() const { return m_containerStart; }
    AVRational timeBase() const;
    const AVStream* stream() const { return m_stream; }
    AVRational sampleAspect() const;

    // Bytes the readers of this process (and their key frame indexes) have
    // read from their files so far. Thread-safe.
    static int64_t bytesRead();
    static void countBytesRead(int64_t bytes);

private:
    bool decodeNext();  // into m_next; false at the end
    LMMediaTime toMovieTime(int64_t pts) const;
    // Positions the demuxer on a key packet of the stream at or before
    // `target` (stream time base) and holds that packet for the reader.
    void seekToKeyPacket(int64_t target);
    // The next packet of the stream, the held one first; null at the end.
    PacketPtr readPacket();
    // Reads on to the next key packet of the stream, dropping the packets
    // before it; null at the end, or once the packets pass `limit` (stream
    // time base) or `count` of them were read. `seen` tells whether any
    // key packet was read.
    PacketPtr readKeyPacket(int64_t limit, int count, bool& seen);
    // Positions the demuxer on the packet of the picture of the key frame
    // index at or before `target`; false when it cannot be reached.
    bool seekByIndex(int64_t target);
    // Reads on to the packet of `entry`; null once past it or at the end.
    PacketPtr readUpTo(const KeyFrameIndex::Entry& entry);
    // Reads the stream from its first byte (the decoder finds its way).
    void readFromStart(int64_t first);
    // Adds what the demuxer read since the last count to bytesRead().
    void countRead();

    QString m_url;
    FormatInputPtr m_input;
    std::shared_ptr<const KeyFrameIndex> m_keyIndex;  // for a stream without key flags
    int64_t m_counted = 0;                            // of the demuxer's bytes read
    CodecContextPtr m_decoder;
    AVStream* m_stream = nullptr;
    LMMediaTime m_containerStart = 0;
    LMMediaTime m_duration = 0;
    LMMediaTime m_frameDuration = 40000;
    bool m_still = false;
    LMMediaTime m_lastDecoded = AV_NOPTS_VALUE;

    FramePtr m_current;
    FramePtr m_next;
    PacketPtr m_held;  // read while seeking, not yet handed on
    bool m_demuxEnd = false;
    bool m_decodeEnd = false;
    bool m_positioned = false;
};

}  // namespace lumenta
