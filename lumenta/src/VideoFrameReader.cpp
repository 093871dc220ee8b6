#include "VideoFrameReader.h"

#include <QDebug>

namespace lumenta {

bool VideoFrameReader::open(const QString& url, int streamIndex, LMMediaTime containerStart,
                            LMMediaTime duration, int threads)
{
    m_input = openInput(url);
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
    m_packet = makePacket();
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
    if (av_seek_frame(m_input.get(), m_stream->index, target, AVSEEK_FLAG_BACKWARD) < 0) {
        av_seek_frame(m_input.get(), -1, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE);
    }
    avcodec_flush_buffers(m_decoder.get());
    m_current.reset();
    m_next.reset();
    m_lastDecoded = AV_NOPTS_VALUE;
    m_demuxEnd = false;
    m_decodeEnd = false;
    m_positioned = true;
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
        feedDecoder(m_input.get(), m_packet.get(), m_decoder.get(), m_stream, m_demuxEnd, "video");
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
    while (!m_demuxEnd) {
        PacketPtr packet = makePacket();
        if (av_read_frame(m_input.get(), packet.get()) < 0) {
            m_demuxEnd = true;
            break;
        }
        if (packet->stream_index == m_stream->index) {
            return packet;
        }
    }
    return nullptr;
}

}  // namespace lumenta
