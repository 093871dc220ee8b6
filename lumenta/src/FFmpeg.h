#pragma once
// The FFmpeg headers Lumenta uses, and owning pointers for FFmpeg objects.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
#include <libavutil/encryption_info.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <QString>
#include <memory>

namespace lumenta {

struct FormatInputDeleter {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrDeleter {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct SwsDeleter {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct FilterGraphDeleter {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct AudioFifoDeleter {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using FormatInputPtr = std::unique_ptr<AVFormatContext, FormatInputDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;
using SwsPtr = std::unique_ptr<SwsContext, SwsDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;

inline FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}
inline PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}

// FFmpeg's text for an error code.
QString errorText(int code);

// How a container opened for reading gets its stream information.
enum class Probe {
    Always,          // probed now (and what probing found recorded)
    UnlessRecorded,  // what an earlier probe of the same file found, else probed now
};

// Opens a container for reading with its stream information; null (logged)
// on failure. Quiet: FFmpeg's own log is kept to errors. A reader of one
// stream may take what an earlier probe found (see ProbeCache); a probe of
// the file for what it holds always probes.
FormatInputPtr openInput(const QString& url, Probe probe = Probe::Always);

// A decoder for the stream, opened, on `threads` threads (0: FFmpeg's choice)
// or on one when those cannot be had; null (logged) on failure.
CodecContextPtr openDecoder(const AVStream* stream, int threads);

// Gives `decoder` the next packet of `stream` read from `input`; packets of
// other streams are dropped. Once the input is exhausted it sets `demuxEnd`
// and drains the decoder instead. A packet the decoder refuses is logged
// (as a `kind` packet) and skipped.
void feedDecoder(AVFormatContext* input, AVPacket* packet, AVCodecContext* decoder,
                 const AVStream* stream, bool& demuxEnd, const char* kind);

// A filter graph's "buffer" source named "in" for frames of the shape of
// `frame` (its size and pixel format), of pixel aspect `sampleAspect` and
// pts in microseconds, added to `graph`; FFmpeg's error code.
int addFrameSource(AVFilterGraph* graph, const AVFrame* frame, AVRational sampleAspect,
                   AVFilterContext** source);

// One field of an interlaced frame made a picture of its own: the rows of
// `parity` (0: the even rows, the top field) are kept and each row of the
// other field is the mean of the kept rows around it. The picture is marked
// progressive. Null for formats other than 8-bit planar ones, and when
// memory cannot be had.
FramePtr fieldPicture(const AVFrame* frame, int parity);

}  // namespace lumenta
