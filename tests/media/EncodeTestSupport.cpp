#include "EncodeTestSupport.h"

#include <cmath>
#include <vector>

#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"

namespace encodetest {

LMFFMovieFileOutputFormat dvdFormat(bool pal, bool wide)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = pal ? 576 : 480;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 4000000;
    format.framerate = pal ? 25 : 30000;
    format.frameTime = pal ? 1 : 1001;
    format.aspect = wide ? 16.0f / 9.0f : 4.0f / 3.0f;
    format.channel_layout = lm_get_channel_layout_by_name("stereo");
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    return format;
}

double loudness(const QString& path, double from, double to)
{
    constexpr LMMediaTime kSecond = 1000000;
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    movie->configOutputFormat(
        {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("mono"), 48000});
    movie->setCurrentTime(static_cast<LMMediaTime>(from * kSecond));
    movie->flushOperation();
    const int frames = static_cast<int>((to - from) * 48000);
    std::vector<float> samples(static_cast<size_t>(frames));
    movie->readSample(reinterpret_cast<uint8_t*>(samples.data()), 0, frames);
    double sum = 0.0;
    for (float s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return std::sqrt(sum / qMax(frames, 1));
}

}  // namespace encodetest
