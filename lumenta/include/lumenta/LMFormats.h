#pragma once
// The plain format records of the Lumenta interface.

#include <cstdint>

// A decoded video frame as handed to a frame provider: size and FFmpeg pixel
// format (AVPixelFormat value; BGRA for the pictures Lumenta hands out).
struct LMFFVideoFormat {
    int32_t width = 0;
    int32_t height = 0;
    int32_t pix_fmt = -1;
};

// An audio stream format: FFmpeg sample format (AVSampleFormat value), channel
// layout as a channel mask (AV_CH_LAYOUT_*), sample rate in Hz.
struct LMFFAudioFormat {
    int32_t sample_fmt = -1;
    int64_t channel_layout = 0;
    int32_t sample_rate = 0;
};

// The output format record of LMFFMovieFileOutput. Field order is fixed.
// framerate / frameTime is the frame rate (25 / 1 for PAL, 30000 / 1001 for
// NTSC); aspect is the display aspect (16/9 or 4/3, 0 = square pixels);
// codecs are codec ids (lm_get_codec_id_by_name); bitrates are in bit/s.
// A record whose framerate or frameTime is below 1 opens no video; one whose
// sample_rate is 0 opens no audio.
struct LMFFMovieFileOutputFormat {
    int32_t width = 0;
    int32_t height = 0;
    int32_t video_codec = 0;
    int32_t video_bitrate = 0;
    int32_t framerate = 0;
    int32_t frameTime = 0;
    float aspect = 0.0f;
    int64_t channel_layout = 0;
    int32_t sample_rate = 0;
    int32_t audio_codec = 0;
    int32_t audio_bitrate = 0;
};
