#include "AudioSampleReader.h"

#include <QDebug>
#include <cstring>
#include <vector>

namespace lumenta {

namespace {

// A seek lands this much before the time asked for at first; the samples up
// to the time are decoded and dropped. A landing too late is tried again
// four times as far back, up to MaximumSeekBack.
constexpr LMMediaTime SeekLead = 100000;
constexpr LMMediaTime MaximumSeekBack = 64 * SeekLead;

}  // namespace

bool AudioSampleReader::openContainer(const QString& url, int streamIndex)
{
    FormatInputPtr input = openInput(url, Probe::UnlessRecorded);
    if (!input || streamIndex < 0 || streamIndex >= static_cast<int>(input->nb_streams)) {
        return false;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex) {
            input->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    m_input = std::move(input);
    m_stream = m_input->streams[streamIndex];
    return true;
}

bool AudioSampleReader::open(const QString& url, int streamIndex, LMMediaTime containerStart)
{
    if (!openContainer(url, streamIndex)) {
        m_input.reset();
        return false;
    }
    m_url = url;
    m_containerStart = containerStart;
    m_firstTime =
        m_stream->start_time != AV_NOPTS_VALUE
            ? av_rescale_q(m_stream->start_time, m_stream->time_base, AVRational{1, AV_TIME_BASE}) -
                  containerStart
            : 0;
    m_decoder = openDecoder(m_stream, 1);
    if (!m_decoder) {
        return false;
    }
    m_packet = makePacket();
    m_frame = makeFrame();
    LMFFAudioFormat format;
    format.sample_fmt = AV_SAMPLE_FMT_FLT;
    format.channel_layout = static_cast<int64_t>(AV_CH_LAYOUT_STEREO);
    format.sample_rate = m_decoder->sample_rate > 0 ? m_decoder->sample_rate : 48000;
    return setOutputFormat(format);
}

bool AudioSampleReader::setOutputFormat(const LMFFAudioFormat& format)
{
    if (format.sample_rate <= 0 || format.channel_layout == 0 || format.sample_fmt < 0) {
        qWarning() << "Lumenta: unusable audio output format" << format.sample_rate
                   << format.channel_layout << format.sample_fmt;
        return false;
    }
    const LMMediaTime at = position();
    m_format = format;
    av_channel_layout_uninit(&m_outLayout);
    av_channel_layout_from_mask(&m_outLayout, static_cast<uint64_t>(format.channel_layout));
    m_fifo.reset(av_audio_fifo_alloc(static_cast<AVSampleFormat>(format.sample_fmt),
                                     m_outLayout.nb_channels, 4096));
    m_swr.reset();
    seek(at);
    return m_fifo != nullptr;
}

LMMediaTime AudioSampleReader::position() const
{
    if (m_format.sample_rate <= 0) {
        return m_readOrigin;
    }
    return m_readOrigin + av_rescale(m_samplesRead, AV_TIME_BASE, m_format.sample_rate);
}

void AudioSampleReader::seek(LMMediaTime time)
{
    m_readOrigin = qMax<LMMediaTime>(time, 0);
    m_samplesRead = 0;
    m_needsSeek = true;
}

bool AudioSampleReader::makeResampler(const AVFrame* frame)
{
    if (m_swr && m_swrInRate == frame->sample_rate && m_swrInFormat == frame->format &&
        av_channel_layout_compare(&m_swrInLayout, &frame->ch_layout) == 0) {
        return true;
    }
    SwrContext* swr = nullptr;
    AVChannelLayout inLayout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&inLayout, frame->ch_layout.nb_channels);
    } else {
        av_channel_layout_copy(&inLayout, &frame->ch_layout);
    }
    int ret = swr_alloc_set_opts2(
        &swr, &m_outLayout, static_cast<AVSampleFormat>(m_format.sample_fmt), m_format.sample_rate,
        &inLayout, static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    if (ret >= 0 && inLayout.nb_channels == 1) {
        // Mono plays at full level on every channel.
        std::vector<double> matrix(static_cast<size_t>(m_outLayout.nb_channels), 1.0);
        ret = swr_set_matrix(swr, matrix.data(), 1);
    }
    if (ret >= 0) {
        ret = swr_init(swr);
    }
    av_channel_layout_uninit(&inLayout);
    if (ret < 0) {
        swr_free(&swr);
        qWarning().noquote() << "Lumenta: cannot convert audio:" << errorText(ret);
        return false;
    }
    m_swr.reset(swr);
    av_channel_layout_uninit(&m_swrInLayout);
    av_channel_layout_copy(&m_swrInLayout, &frame->ch_layout);
    m_swrInRate = frame->sample_rate;
    m_swrInFormat = frame->format;
    return true;
}

void AudioSampleReader::queue(const AVFrame* frame)
{
    if (!makeResampler(frame)) {
        return;
    }
    const int capacity = swr_get_out_samples(m_swr.get(), frame->nb_samples);
    if (capacity <= 0) {
        return;
    }
    uint8_t** data = nullptr;
    if (av_samples_alloc_array_and_samples(&data, nullptr, m_outLayout.nb_channels, capacity,
                                           static_cast<AVSampleFormat>(m_format.sample_fmt),
                                           0) < 0) {
        return;
    }
    int count = swr_convert(m_swr.get(), data, capacity,
                            const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    int skip = 0;
    if (count > 0 && m_skipping) {
        // The first converted sample stands at the frame's time.
        LMMediaTime start = m_skipTo;
        if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
            start = av_rescale_q(frame->best_effort_timestamp, m_stream->time_base,
                                 AVRational{1, AV_TIME_BASE}) -
                    m_containerStart;
        }
        const int64_t drop = av_rescale(m_skipTo - start, m_format.sample_rate, AV_TIME_BASE);
        if (drop < 0 && m_seekBack < MaximumSeekBack) {
            // Decoding started after the target: search further back.
            m_landedLate = true;
            count = 0;
        } else if (drop >= count) {
            skip = count;
        } else {
            skip = static_cast<int>(qMax<int64_t>(drop, 0));
            m_skipping = false;
            if (drop < 0) {
                // The stream starts after the target: fill the gap with silence.
                const int gap = static_cast<int>(qMin<int64_t>(-drop, 10LL * m_format.sample_rate));
                uint8_t** silence = nullptr;
                if (av_samples_alloc_array_and_samples(
                        &silence, nullptr, m_outLayout.nb_channels, gap,
                        static_cast<AVSampleFormat>(m_format.sample_fmt), 0) >= 0) {
                    av_samples_set_silence(silence, 0, gap, m_outLayout.nb_channels,
                                           static_cast<AVSampleFormat>(m_format.sample_fmt));
                    av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(silence), gap);
                    av_freep(&silence[0]);
                    av_freep(&silence);
                }
            }
        }
    }
    if (count - skip > 0) {
        const bool planar =
            av_sample_fmt_is_planar(static_cast<AVSampleFormat>(m_format.sample_fmt));
        const int bytes = av_get_bytes_per_sample(static_cast<AVSampleFormat>(m_format.sample_fmt));
        void* planes[AV_NUM_DATA_POINTERS] = {};
        const int planesCount = planar ? m_outLayout.nb_channels : 1;
        for (int p = 0; p < planesCount && p < AV_NUM_DATA_POINTERS; ++p) {
            planes[p] = data[p] + static_cast<ptrdiff_t>(skip) * bytes *
                                      (planar ? 1 : m_outLayout.nb_channels);
        }
        av_audio_fifo_write(m_fifo.get(), planes, count - skip);
    }
    av_freep(&data[0]);
    av_freep(&data);
}

bool AudioSampleReader::decodeMore()
{
    if (m_end) {
        return false;
    }
    for (;;) {
        const int ret = avcodec_receive_frame(m_decoder.get(), m_frame.get());
        if (ret == 0) {
            queue(m_frame.get());
            av_frame_unref(m_frame.get());
            if (m_landedLate) {
                positionBefore(m_skipTo, m_seekBack * 4);
            }
            return true;
        }
        if (ret == AVERROR_EOF) {
            m_end = true;
            return false;
        }
        if (ret != AVERROR(EAGAIN)) {
            qWarning().noquote() << "Lumenta: audio decoding failed:" << errorText(ret);
            m_end = true;
            return false;
        }
        feedDecoder(m_input.get(), m_packet.get(), m_decoder.get(), m_stream, m_demuxEnd, "audio");
    }
}

// A seek by time lands at or before the time on most containers, not on all.
// A Matroska file's cues index its video only: a sound track whose first
// packet comes after the file's start (as AC-3 does) cannot be sought to its
// start, and reading the file from its first byte again makes the demuxer go
// on at its second cluster, seconds in. A program stream lands inside a
// frame, and its parser may take a while to find the next one. Decoding from
// there, the sound before it would be silence. So the reader checks where
// decoding starts: a first frame after the target sends it further back. A
// target near the stream's start, and a container that cannot seek there,
// take a fresh demuxer, which stands at the first packet of every container.
void AudioSampleReader::positionBefore(LMMediaTime target, LMMediaTime back)
{
    m_seekBack = back;
    const LMMediaTime at = target - back;
    bool sought = false;
    if (at > m_firstTime) {
        const int64_t ts =
            av_rescale_q(at + m_containerStart, AVRational{1, AV_TIME_BASE}, m_stream->time_base);
        sought = av_seek_frame(m_input.get(), m_stream->index, ts, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    if (!sought) {
        m_seekBack = MaximumSeekBack;  // nothing before the start to try
        if (!openContainer(m_url, m_stream->index)) {
            qWarning().noquote() << "Lumenta: cannot read the sound of" << m_url
                                 << "from its start again; it goes on where it is";
        }
    }
    avcodec_flush_buffers(m_decoder.get());
    m_swr.reset();
    av_audio_fifo_reset(m_fifo.get());
    m_end = false;
    m_demuxEnd = false;
    m_skipTo = target;
    m_skipping = true;
    m_landedLate = false;
}

int AudioSampleReader::read(uint8_t* buffer, int frames, float gain)
{
    if (!isOpen() || !m_fifo || frames <= 0) {
        return 0;
    }
    if (m_needsSeek) {
        m_needsSeek = false;
        positionBefore(m_readOrigin, SeekLead);
    }
    while (av_audio_fifo_size(m_fifo.get()) < frames && decodeMore()) {
    }
    void* planes[AV_NUM_DATA_POINTERS] = {};
    const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(m_format.sample_fmt));
    const int bytes = av_get_bytes_per_sample(static_cast<AVSampleFormat>(m_format.sample_fmt));
    const int channels = m_outLayout.nb_channels;
    if (planar) {
        for (int c = 0; c < channels && c < AV_NUM_DATA_POINTERS; ++c) {
            planes[c] = buffer + static_cast<ptrdiff_t>(c) * frames * bytes;
        }
    } else {
        planes[0] = buffer;
    }
    const int got = qMax(0, av_audio_fifo_read(m_fifo.get(), planes, frames));
    m_samplesRead += got;
    if (gain != 1.0f && got > 0) {
        const AVSampleFormat packed =
            av_get_packed_sample_fmt(static_cast<AVSampleFormat>(m_format.sample_fmt));
        if (packed == AV_SAMPLE_FMT_FLT && !planar) {
            float* samples = reinterpret_cast<float*>(buffer);
            const int n = got * channels;
            for (int i = 0; i < n; ++i) {
                samples[i] *= gain;
            }
        } else if (packed == AV_SAMPLE_FMT_FLT) {
            for (int c = 0; c < channels; ++c) {
                float* samples = reinterpret_cast<float*>(planes[c]);
                for (int i = 0; i < got; ++i) {
                    samples[i] *= gain;
                }
            }
        }
    }
    return got;
}

}  // namespace lumenta
