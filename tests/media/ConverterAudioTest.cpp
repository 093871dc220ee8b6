#include <gtest/gtest.h>
#include <vector>

#include "lumenta/LMFunctions.h"
#include "media/VCVideoConverter.h"

namespace {

// Reads a constant level, or fails without touching the buffer.
class LevelMovie : public IMovie {
public:
    explicit LevelMovie(bool fails) : m_fails(fails) {}
    bool readSample(uint8_t* buffer, int, int frames) override
    {
        if (m_fails) {
            return false;
        }
        auto* samples = reinterpret_cast<float*>(buffer);
        std::fill(samples, samples + frames * 2, 0.5f);
        return true;
    }

private:
    bool m_fails;
};

}  // namespace

TEST(ConverterAudio, FadeGainTable)
{
    constexpr int64_t Block = VCVideoConverter::BlockFrames;
    constexpr int64_t FadeIn = 2 * 48000;
    constexpr int64_t Total = 10 * 48000;
    struct Case {
        int64_t read, total, fadeIn, fadeOut;
        double gain;
    };
    for (const Case& c : {
             Case{0, Total, FadeIn, 0, 0.0},
             Case{47 * Block, Total, FadeIn, 0, 47.0 * Block / FadeIn},
             Case{93 * Block, Total, FadeIn, 0, 93.0 * Block / FadeIn},
             Case{100 * Block, Total, FadeIn, 0, 1.0},
             Case{Total - 48000, Total, 0, 96000, 0.5},
             Case{Total + 10, Total, 0, 96000, 0.0},
             Case{45000, 100000, 60000, 60000, 0.75},  // both apply: the fade-in wins
             Case{5000, 100000, 0, 0, 1.0},
         }) {
        EXPECT_NEAR(VCVideoConverter::fadeGain(c.read, c.total, c.fadeIn, c.fadeOut), c.gain, 1e-12)
            << c.read << " of " << c.total;
    }
}

TEST(ConverterAudio, BlocksAreScaledBelowTheThresholdOnly)
{
    constexpr int Block = VCVideoConverter::BlockFrames;
    LevelMovie movie(false);
    movie.configOutputFormat(
        {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("stereo"), 48000});
    std::vector<float> buffer(Block * 2);
    struct Case {
        int block;
        float level;
    };
    for (const Case& c :
         {Case{0, 0.0f}, Case{47, 0.5f * 47 * Block / 96000.0f}, Case{93, 0.5f}, Case{200, 0.5f}}) {
        ASSERT_TRUE(VCVideoConverter::readMovie(
            movie, buffer, Block, static_cast<int64_t>(c.block) * Block, 480000, 96000, 0));
        EXPECT_NEAR(buffer.front(), c.level, 1e-6) << c.block;
        EXPECT_NEAR(buffer.back(), c.level, 1e-6) << c.block;
    }
}

TEST(ConverterAudio, FailedReadGivesSilenceNotTheLastBlock)
{
    LevelMovie failing(true);
    std::vector<float> buffer(2048, 0.7f);
    EXPECT_FALSE(VCVideoConverter::readMovie(failing, buffer, 1024, 0, 48000, 0, 0));
    for (float sample : buffer) {
        ASSERT_EQ(sample, 0.0f);
    }
}
