#pragma once
// Reads one audio stream of a container through its own demuxer as samples
// of a chosen format (rate, layout, sample format), from an exact position:
// the first sample read after a seek is the stream's sample at that time,
// or silence where the stream has none yet. Not thread-safe; each user keeps
// its own reader.

#include <QString>

#include "FFmpeg.h"
#include "lumenta/LMFormats.h"
#include "lumenta/LMMediaTime.h"

namespace lumenta {

class AudioSampleReader {
public:
    bool open(const QString& url, int streamIndex, LMMediaTime containerStart);
    bool isOpen() const { return m_decoder != nullptr; }

    // Output format; a change restarts reading at the current position.
    bool setOutputFormat(const LMFFAudioFormat& format);
    const LMFFAudioFormat& outputFormat() const { return m_format; }
    // The next sample read is the one at `time` (movie time).
    void seek(LMMediaTime time);
    // Reads up to `frames` sample frames; answers how many (fewer at the end).
    // Samples are multiplied by `gain` when it is not 1 (float formats).
    int read(uint8_t* buffer, int frames, float gain);
    // Movie time of the next sample to be read.
    LMMediaTime position() const;

private:
    // The container at `url` with only stream `streamIndex` read; false when
    // it cannot be opened (logged) or has no such stream.
    bool openContainer(const QString& url, int streamIndex);
    // Restarts decoding `back` before `target` (movie time), or at the
    // stream's start when that lies before it, dropping the samples up to
    // `target`.
    void positionBefore(LMMediaTime target, LMMediaTime back);
    bool decodeMore();  // false at the end
    void queue(const AVFrame* frame);
    bool makeResampler(const AVFrame* frame);

    QString m_url;
    FormatInputPtr m_input;
    CodecContextPtr m_decoder;
    AVStream* m_stream = nullptr;
    LMMediaTime m_containerStart = 0;
    LMMediaTime m_firstTime = 0;  // of the stream's first packet
    LMFFAudioFormat m_format;
    AVChannelLayout m_outLayout{};
    SwrPtr m_swr;
    AVChannelLayout m_swrInLayout{};
    int m_swrInRate = 0;
    int m_swrInFormat = -1;
    AudioFifoPtr m_fifo;
    PacketPtr m_packet;
    FramePtr m_frame;
    bool m_end = false;
    bool m_demuxEnd = false;
    LMMediaTime m_skipTo = 0;  // drop samples before this time
    bool m_skipping = false;
    LMMediaTime m_seekBack = 0;  // how far before the target the last seek went
    bool m_landedLate = false;   // its first frame came after the target
    int64_t m_samplesRead = 0;   // since m_readOrigin
    LMMediaTime m_readOrigin = 0;
    bool m_needsSeek = true;
};

}  // namespace lumenta
