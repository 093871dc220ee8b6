#include <gtest/gtest.h>

#include "lumenta/EffectManager.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaTime.h"

TEST(LMFunctions, MediaTimeIsMicroseconds)
{
    EXPECT_EQ(lm_default_time_base(), 1000000);
    EXPECT_DOUBLE_EQ(lm_ff_time_to_double(2500000), 2.5);
    EXPECT_DOUBLE_EQ(lm_ff_time_to_double(-40000), -0.04);
}

TEST(LMFunctions, CodecNamesMatchTheCopyTable)
{
    const char* names[] = {"h264", "mpeg4", "mpeg2video", "aac",   "ac3",    "mp3", "vorbis",
                           "alac", "wmv3",  "msmpeg4v2",  "wmav2", "wmapro", "mp2", "qtrle"};
    for (const char* name : names) {
        const int32_t id = lm_get_codec_id_by_name(name);
        EXPECT_NE(id, 0) << name;
        EXPECT_STREQ(lm_get_codec_name_by_id(id), name);
    }
    EXPECT_STREQ(lm_get_codec_name_by_id(lm_get_codec_id_by_name("flv")), "flv");
    EXPECT_EQ(lm_get_codec_id_by_name("mpeg2"), lm_get_codec_id_by_name("mpeg2video"));
    EXPECT_EQ(lm_get_codec_id_by_name("no such codec"), 0);
    EXPECT_STREQ(lm_get_codec_name_by_id(0), "none");
}

TEST(LMFunctions, ChannelLayouts)
{
    EXPECT_EQ(lm_get_channel_layout_by_name("stereo"), 3);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(lm_get_channel_layout_by_name("stereo")), 2);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(lm_get_channel_layout_by_name("5.1")), 6);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(lm_get_channel_layout_by_name("mono")), 1);
    EXPECT_EQ(lm_get_channel_layout_by_name("nonsense"), 0);
}

TEST(LMFunctions, DefaultOutputFormatIsUsableAsFilled)
{
    LMFFMovieFileOutputFormat format;
    format.width = 99;
    lm_get_default_movie_file_ouput_format(&format);
    EXPECT_EQ(format.width, 0);
    EXPECT_EQ(format.framerate, 0);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(format.channel_layout), 2);
    EXPECT_EQ(format.sample_rate, 44100);
    EXPECT_STREQ(lm_get_codec_name_by_id(format.audio_codec), "aac");
    EXPECT_EQ(lm_get_default_sample_fmt(), 3);  // interleaved float
}

TEST(EffectManager, EveryNameHasAChain)
{
    const QStringList names = EffectManager::allFilterNames();
    EXPECT_GE(names.size(), 5);
    for (const QString& name : names) {
        EXPECT_FALSE(EffectManager::filterChainForName(name).isEmpty()) << name.toStdString();
    }
    EXPECT_TRUE(EffectManager::filterChainForName(QStringLiteral("Nope")).isEmpty());
}
