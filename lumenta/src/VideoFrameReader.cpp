#include "VideoFrameReader.h"

#include <QDebug>
#include <atomic>

namespace lumenta {

namespace {

std::atomic<int64_t> readerBytes{0};

// The time of a packet for the bound of a seek's reading: its decoding time,
// else its showing time.
int64_t readingTime(const AVPacket& packet)
{
    return packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
}

}  // namespace

int64_t VideoFrameReader::bytesRead()
{
    return readerBytes.load();
}

void VideoFrameReader::countBytesRead(int64_t bytes)
{
    readerBytes += bytes;
}

void VideoFrameReader::countRead()
{
    if (m_input && m_input->pb) {
        countBytesRead(m_input->pb->bytes_read - m_counted);
        m_counted = m_input->pb->bytes_read;
    }
}

bool VideoFrameReader::open(const QString& url, int streamIndex, LMMediaTime containerStart,
                            LMMediaTime duration, int threads)
{
    m_url = url;
    m_counted = 0;
    m_keyIndex.reset();
    m_input = openInput(url, Probe::UnlessRecorded);
    countRead();
    if (!m_input || streamIndex < 0 || streamIndex >= static_cast<int>(m_input->nb_streams)) {
        m_input.reset();
        return false;
    }
    m_stream = m_input->streams[streamIndex];
    for (unsigned i = 0; i < m_input->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex) {
            m_input->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    m_decoder = openDecoder(m_stream, threads);
    if (!m_decoder) {
        return false;
    }
    m_containerStart = containerStart;
    m_duration = duration;
    AVRational rate = m_stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) {
        rate = m_stream->r_frame_rate;
    }
    if (rate.num > 0 && rate.den > 0) {
        m_frameDuration = qMax<LMMediaTime>(1, av_rescale(AV_TIME_BASE, rate.den, rate.num));
    }
    // A picture file: its one frame stands for any time.
    const QByteArray demuxer(m_input->iformat->name);
    m_still = demuxer.startsWith("image2") || demuxer.endsWith("_pipe") ||
              (m_stream->nb_frames == 1 && m_duration <= m_frameDuration);
    return true;
}

AVRational VideoFrameReader::timeBase() const
{
    return m_stream ? m_stream->time_base : AVRational{1, AV_TIME_BASE};
}

AVRational VideoFrameReader::sampleAspect() const
{
    if (!m_stream) {
        return {1, 1};
    }
    AVRational sar = av_guess_sample_aspect_ratio(m_input.get(), m_stream, nullptr);
    if (sar.num <= 0 || sar.den <= 0) {
        return {1, 1};
    }
    return sar;
}

LMMediaTime VideoFrameReader::toMovieTime(int64_t pts) const
{
    if (pts == AV_NOPTS_VALUE) {
        return AV_NOPTS_VALUE;
    }
    return av_rescale_q(pts, m_stream->time_base, AVRational{1, AV_TIME_BASE}) - m_containerStart;
}

void VideoFrameReader::seek(LMMediaTime time)
{
    if (!isOpen()) {
        return;
    }
    const int64_t target = av_rescale_q(qMax<LMMediaTime>(time, 0) + m_containerStart,
                                        AVRational{1, AV_TIME_BASE}, m_stream->time_base);
    avcodec_flush_buffers(m_decoder.get());
    m_current.reset();
    m_next.reset();
    m_lastDecoded = AV_NOPTS_VALUE;
    m_demuxEnd = false;
    m_decodeEnd = false;
    m_positioned = true;
    seekToKeyPacket(target);
}

LMMediaTime VideoFrameReader::keyFrameAtOrBefore(LMMediaTime time)
{
    if (isOpen() && !m_keyIndex) {
        m_keyIndex = KeyFrameIndex::kept(m_url, m_stream->index);
    }
    if (isOpen() && m_keyIndex) {
        // Told by the index, as a seek would land: a stream with no picture
        // known to start at is decoded from its start.
        const int64_t target = av_rescale_q(qMax<LMMediaTime>(time, 0) + m_containerStart,
                                            AVRational{1, AV_TIME_BASE}, m_stream->time_base);
        const KeyFrameIndex::Entry* entry = m_keyIndex->atOrBefore(target);
        if (!entry) {
            return 0;
        }
        return toMovieTime(entry->pts != AV_NOPTS_VALUE ? entry->pts : entry->dts);
    }
    seek(time);
    if (!m_held) {
        return AV_NOPTS_VALUE;
    }
    const int64_t shown = m_held->pts != AV_NOPTS_VALUE ? m_held->pts : m_held->dts;
    return toMovieTime(shown);
}

// A container without an index of its key frames (a transport or program
// stream) is searched by the time stamps of its packets: the demuxer lands
// on any packet whose decoding time is before the target, often inside a
// group of pictures, and with B-frames even past the key frame the target
// needs. Decoding from there fails up to the next key frame, which may be
// seconds later. So the reader checks where it landed: it drops packets up to
// the first key packet and takes it when it shows at or before the target;
// otherwise it seeks further back. A target before the stream's first picture
// takes the stream's first key packet. A try reads no packet decoded after
// the target (nor after the first second of the stream), where no key packet
// it could take is.
//
// A stream whose tries find no key packet at all, or in which the container
// cannot seek (ASF searches the file to its end for key packets, and fails),
// flags none: its key frame index, read once, tells where its pictures are.
void VideoFrameReader::seekToKeyPacket(int64_t target)
{
    const AVRational us{1, AV_TIME_BASE};
    const int64_t second = qMax<int64_t>(1, av_rescale_q(AV_TIME_BASE, us, m_stream->time_base));
    const int64_t first = m_stream->start_time != AV_NOPTS_VALUE
                              ? m_stream->start_time
                              : av_rescale_q(m_containerStart, us, m_stream->time_base);
    m_held.reset();
    if (!m_keyIndex) {
        m_keyIndex = KeyFrameIndex::kept(m_url, m_stream->index);
    }
    if (m_keyIndex) {
        if (!seekByIndex(target)) {
            readFromStart(first);
        }
        countRead();
        return;
    }
    const int64_t limit = qMax(target, first + second);
    const double framesPerSecond = static_cast<double>(AV_TIME_BASE) / m_frameDuration;
    bool cannotSeek = false;
    bool keySeen = false;
    int64_t back = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int64_t at = target - back;
        if (av_seek_frame(m_input.get(), m_stream->index, at, AVSEEK_FLAG_BACKWARD) >= 0) {
            m_demuxEnd = false;
            // Packets without times are bounded by their count: twice the
            // frames from where the try starts to the target, and a margin.
            const double seconds = static_cast<double>(limit - at) / second;
            const int count =
                static_cast<int>(qMin(2.0 * (seconds + 2.0) * framesPerSecond + 64.0, 1e6));
            PacketPtr key = readKeyPacket(limit, count, keySeen);
            if (key) {
                const int64_t shown = key->pts != AV_NOPTS_VALUE ? key->pts : key->dts;
                // Decoding times run ahead of showing times by less than a
                // second, so a search a second before the first picture
                // lands at the stream's start.
                if (shown == AV_NOPTS_VALUE || shown <= target || shown <= first ||
                    at < first - second) {
                    m_held = std::move(key);
                    countRead();
                    return;
                }
            }
        } else if (attempt == 0 && target > first) {
            cannotSeek = true;
            break;
        }
        back = back ? back * 2 : second;
    }
    const bool seekable = m_input->pb && (m_input->pb->seekable & AVIO_SEEKABLE_NORMAL);
    if ((cannotSeek || !keySeen) && seekable && !m_still) {
        m_keyIndex = KeyFrameIndex::of(m_url, m_stream->index);
        if (m_keyIndex && seekByIndex(target)) {
            countRead();
            return;
        }
    }
    readFromStart(first);
    countRead();
}

void VideoFrameReader::readFromStart(int64_t first)
{
    // The container cannot seek (or flags no key packets): read it from its
    // first byte and let the decoder find its way.
    if (av_seek_frame(m_input.get(), -1, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE) < 0) {
        av_seek_frame(m_input.get(), m_stream->index, first, AVSEEK_FLAG_BACKWARD);
    }
    m_demuxEnd = false;
}

// The demuxer is put on the picture's packet by its byte: first a little
// before it (a container's packets may start before the byte of their own
// picture's data), then further back, at the last from the file's start;
// each try reads no further than the packet.
bool VideoFrameReader::seekByIndex(int64_t target)
{
    const KeyFrameIndex::Entry* entry = m_keyIndex->atOrBefore(target);
    if (!entry || entry->pos < 0) {
        return false;
    }
    for (int64_t margin = 0;; margin = margin ? margin * 2 : 4096) {
        const int64_t from = qMax<int64_t>(0, entry->pos - margin);
        if (av_seek_frame(m_input.get(), -1, from, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE) >= 0) {
            m_demuxEnd = false;
            if (PacketPtr packet = readUpTo(*entry)) {
                m_held = std::move(packet);
                return true;
            }
        }
        if (from == 0) {
            return false;
        }
    }
}

PacketPtr VideoFrameReader::readUpTo(const KeyFrameIndex::Entry& entry)
{
    while (PacketPtr packet = readPacket()) {
        if (packet->pos == entry.pos && packet->pts == entry.pts && packet->dts == entry.dts) {
            return packet;
        }
        const bool pastByte = packet->pos > entry.pos;
        const bool pastTime =
            packet->dts != AV_NOPTS_VALUE && entry.dts != AV_NOPTS_VALUE && packet->dts > entry.dts;
        if (pastByte || pastTime) {
            return nullptr;
        }
    }
    return nullptr;
}

PacketPtr VideoFrameReader::readPacket()
{
    if (m_held) {
        return std::move(m_held);
    }
    while (!m_demuxEnd) {
        PacketPtr packet = makePacket();
        if (av_read_frame(m_input.get(), packet.get()) < 0) {
            m_demuxEnd = true;
            break;
        }
        if (packet->stream_index == m_stream->index) {
            countRead();
            return packet;
        }
    }
    countRead();
    return nullptr;
}

PacketPtr VideoFrameReader::readKeyPacket(int64_t limit, int count, bool& seen)
{
    for (int read = 0; read < count; ++read) {
        PacketPtr packet = readPacket();
        if (!packet) {
            return nullptr;
        }
        if (packet->flags & AV_PKT_FLAG_KEY) {
            seen = true;
            return packet;
        }
        const int64_t time = readingTime(*packet);
        if (time != AV_NOPTS_VALUE && time > limit) {
            return nullptr;
        }
    }
    return nullptr;
}

bool VideoFrameReader::decodeNext()
{
    if (m_decodeEnd) {
        return false;
    }
    FramePtr frame = makeFrame();
    for (;;) {
        const int ret = avcodec_receive_frame(m_decoder.get(), frame.get());
        if (ret == 0) {
            frame->pts = toMovieTime(frame->best_effort_timestamp);
            if (frame->pts == AV_NOPTS_VALUE) {
                frame->pts = m_lastDecoded != AV_NOPTS_VALUE ? m_lastDecoded + m_frameDuration : 0;
            }
            m_lastDecoded = frame->pts;
            m_next = std::move(frame);
            return true;
        }
        if (ret == AVERROR_EOF) {
            m_decodeEnd = true;
            return false;
        }
        if (ret != AVERROR(EAGAIN)) {
            qWarning().noquote() << "Lumenta: video decoding failed:" << errorText(ret);
            m_decodeEnd = true;
            return false;
        }
        PacketPtr packet = m_demuxEnd ? nullptr : readPacket();
        if (!packet) {
            avcodec_send_packet(m_decoder.get(), nullptr);
            continue;
        }
        const int sent = avcodec_send_packet(m_decoder.get(), packet.get());
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            qWarning().noquote() << "Lumenta: bad video packet skipped:" << errorText(sent);
        }
    }
}

const AVFrame* VideoFrameReader::frameAt(LMMediaTime time)
{
    if (!isOpen()) {
        return nullptr;
    }
    const LMMediaTime half = m_frameDuration / 2;
    if (time < 0 || (!m_still && time >= m_duration && m_duration > 0)) {
        return nullptr;
    }
    const bool backwards = m_current && time + half < m_current->pts;
    const bool farAhead = m_current && time > m_current->pts + 3 * AV_TIME_BASE;
    if (!m_positioned || backwards || farAhead || (!m_current && m_decodeEnd)) {
        seek(time);
    }
    for (;;) {
        if (m_current && (m_current->pts + half >= time || m_still)) {
            return m_current.get();
        }
        if (!decodeNext()) {
            // The end: the last frame stands until the movie's end.
            return m_current.get();
        }
        m_current = std::move(m_next);
    }
}

FramePtr VideoFrameReader::nextFrame()
{
    if (!isOpen()) {
        return nullptr;
    }
    if (!m_positioned) {
        seek(0);
    }
    if (!decodeNext()) {
        return nullptr;
    }
    return std::move(m_next);
}

PacketPtr VideoFrameReader::nextPacket()
{
    if (!isOpen()) {
        return nullptr;
    }
    if (!m_positioned) {
        seek(0);
    }
    return readPacket();
}

}  // namespace lumenta
