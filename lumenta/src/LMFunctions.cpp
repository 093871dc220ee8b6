#include "lumenta/LMFunctions.h"

#include "platform/ThreadBudget.h"

#include <QByteArray>
#include <QThread>
#include <atomic>
#include <bit>
#include <cstring>

#include "FFmpeg.h"
#include "platform/ThreadBudget.h"
#include "VideoFrameReader.h"

int64_t lm_get_channel_layout_by_name(const char* name)
{
    if (!name) {
        return 0;
    }
    AVChannelLayout layout{};
    if (av_channel_layout_from_string(&layout, name) < 0) {
        return 0;
    }
    int64_t mask = 0;
    if (layout.order == AV_CHANNEL_ORDER_NATIVE) {
        mask = static_cast<int64_t>(layout.u.mask);
    }
    av_channel_layout_uninit(&layout);
    return mask;
}

int lm_get_channel_layout_nb_channels(int64_t layout)
{
    return std::popcount(static_cast<uint64_t>(layout));
}

int32_t lm_get_codec_id_by_name(const char* name)
{
    if (!name || !*name) {
        return AV_CODEC_ID_NONE;
    }
    struct Alias {
        const char* name;
        AVCodecID id;
    };
    static const Alias aliases[] = {
        {"mpeg2", AV_CODEC_ID_MPEG2VIDEO}, {"mpeg1", AV_CODEC_ID_MPEG1VIDEO},
        {"flv", AV_CODEC_ID_FLV1},         {"ac3", AV_CODEC_ID_AC3},
        {"x264", AV_CODEC_ID_H264},        {"libmp3lame", AV_CODEC_ID_MP3},
    };
    for (const Alias& alias : aliases) {
        if (std::strcmp(alias.name, name) == 0) {
            return alias.id;
        }
    }
    if (const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(name)) {
        return descriptor->id;
    }
    if (const AVCodec* codec = avcodec_find_encoder_by_name(name)) {
        return codec->id;
    }
    if (const AVCodec* codec = avcodec_find_decoder_by_name(name)) {
        return codec->id;
    }
    return AV_CODEC_ID_NONE;
}

const char* lm_get_codec_name_by_id(int32_t codecId)
{
    const auto id = static_cast<AVCodecID>(codecId);
    if (id == AV_CODEC_ID_FLV1) {
        return "flv";
    }
    if (!avcodec_descriptor_get(id)) {
        return "none";
    }
    return avcodec_get_name(id);
}

void lm_get_default_movie_file_ouput_format(LMFFMovieFileOutputFormat* format)
{
    if (!format) {
        return;
    }
    *format = LMFFMovieFileOutputFormat{};
    format->video_codec = AV_CODEC_ID_NONE;
    format->channel_layout = static_cast<int64_t>(AV_CH_LAYOUT_STEREO);
    format->sample_rate = 44100;
    format->audio_codec = AV_CODEC_ID_AAC;
    format->audio_bitrate = 128000;
}

int32_t lm_get_default_sample_fmt()
{
    return AV_SAMPLE_FMT_FLT;
}

namespace {

std::atomic<int> concurrentExports{1};
std::atomic<int> runningExports{0};

int exportsSharingTheCores()
{
    return qMax(concurrentExports.load(), runningExports.load());
}

}  // namespace

void lm_set_concurrent_exports(int exports)
{
    concurrentExports = qMax(1, exports);
}

void lm_add_running_exports(int exports)
{
    runningExports += exports;
}

int lm_get_export_threads()
{
    return qBound(1, ThreadBudget::cores() / (2 * exportsSharingTheCores()), 8);
}

int lm_get_export_decoder_threads()
{
    return qBound(1, ThreadBudget::cores() / exportsSharingTheCores(), 8);
}

int64_t lm_video_bytes_read()
{
    return lumenta::VideoFrameReader::bytesRead();
}
