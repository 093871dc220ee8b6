#include "KeylessStream.h"

#include <gtest/gtest.h>
#include <QFile>

#include "TestSupport.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace testsupport {

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct OutputCloser {
    void operator()(AVFormatContext* context) const
    {
        if (context->pb && !(context->oformat->flags & AVFMT_NOFILE)) {
            avio_closep(&context->pb);
        }
        avformat_free_context(context);
    }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// The remux, its failure described; empty when it went well.
QString remuxWithoutKeyFlags(const QByteArray& from, const QByteArray& to)
{
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, from.constData(), nullptr, nullptr) < 0) {
        return "cannot open the source";
    }
    std::unique_ptr<AVFormatContext, InputCloser> input(opened);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        return "no streams in the source";
    }
    AVFormatContext* made = nullptr;
    if (avformat_alloc_output_context2(&made, nullptr, nullptr, to.constData()) < 0) {
        return "no container for the target";
    }
    std::unique_ptr<AVFormatContext, OutputCloser> output(made);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        AVStream* stream = avformat_new_stream(output.get(), nullptr);
        if (!stream || avcodec_parameters_copy(stream->codecpar, input->streams[i]->codecpar) < 0) {
            return "a stream cannot be copied";
        }
        stream->codecpar->codec_tag = 0;
        stream->time_base = input->streams[i]->time_base;
    }
    if (avio_open(&output->pb, to.constData(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(output.get(), nullptr) < 0) {
        return "the target cannot be written";
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const AVStream* in = input->streams[packet->stream_index];
        if (in->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            packet->flags &= ~AV_PKT_FLAG_KEY;
        }
        av_packet_rescale_ts(packet.get(), in->time_base,
                             output->streams[packet->stream_index]->time_base);
        packet->pos = -1;
        if (av_interleaved_write_frame(output.get(), packet.get()) < 0) {
            return "a packet cannot be written";
        }
    }
    return av_write_trailer(output.get()) < 0 ? "the target cannot be finished" : "";
}

}  // namespace

bool copyWithoutKeyFlags(const QString& source, const QString& target)
{
    av_log_set_level(AV_LOG_ERROR);
    const QString failure =
        remuxWithoutKeyFlags(QFile::encodeName(source), QFile::encodeName(target));
    if (!failure.isEmpty()) {
        ADD_FAILURE() << qPrintable(source)
                      << " not copied without key flags: " << qPrintable(failure);
        return false;
    }
    return true;
}

int keyPackets(const QString& path)
{
    QString out;
    if (runProgram("ffprobe",
                   {"-v", "error", "-select_streams", "v:0", "-show_entries", "packet=flags", "-of",
                    "csv=p=0", path},
                   &out) != 0) {
        return -1;
    }
    return static_cast<int>(out.count('K'));
}

bool makeKeylessClip(const QString& path, double seconds)
{
    const QString flagged = path + ".flagged.asf";
    const QString length = QString::number(seconds);
    const bool made =
        generateMedia(flagged,
                      {"-f",       "lavfi",
                       "-i",       numberedPictures(seconds),
                       "-f",       "lavfi",
                       "-i",       "sine=frequency=440:sample_rate=48000:duration=" + length,
                       "-c:v",     "mpeg2video",
                       "-g",       "12",
                       "-bf",      "0",
                       "-pix_fmt", "yuv420p",
                       "-c:a",     "mp2",
                       "-b:a",     "64k",
                       "-ac",      "1",
                       "-f",       "asf"}) &&
        copyWithoutKeyFlags(flagged, path);
    QFile::remove(flagged);
    return made;
}

}  // namespace testsupport
