#include <gtest/gtest.h>
#include <QThread>
#include <vector>

#include "LumentaMedia.h"
#include "TestSupport.h"
#include "TwoTrackMedia.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"

namespace {

class Audio : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = m_dir.filePath("ramp.wav");
        ASSERT_TRUE(lumentatest::makeRampWav(path, 3.0));
        m_movie = LMFFMovie::create();
        m_movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
        ASSERT_TRUE(m_movie->hasAudio());
        m_movie->configOutputFormat(
            {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("stereo"), 48000});
    }

    bool read(std::vector<float>& buffer, int frames)
    {
        buffer.assign(static_cast<size_t>(frames) * 2, -7.0f);
        return m_movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, frames);
    }

    QTemporaryDir m_dir = testsupport::makeTempDir();
    LMFFMovie::Ptr m_movie;
};

}  // namespace

TEST_F(Audio, ReadAfterSeekIsSampleAccurate)
{
    std::vector<float> buffer;
    for (int64_t sample : {0LL, 12345LL, 60007LL, 100000LL, 24000LL}) {
        m_movie->setCurrentTime(sample * lm_default_time_base() / 48000);
        m_movie->flushOperation();
        ASSERT_TRUE(read(buffer, 1024));
        for (int i = 0; i < 1024; i += 100) {
            const double expected = static_cast<double>((sample + i) % 48000) / 48000.0;
            ASSERT_NEAR(buffer[2 * i], expected, 1e-4) << "sample " << sample + i;
            ASSERT_EQ(buffer[2 * i], buffer[2 * i + 1]);
        }
    }
    // Blocks follow each other without a gap.
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_NEAR(buffer[0], static_cast<double>(24000 + 1024) / 48000.0, 1e-4);
}

TEST_F(Audio, VolumeScalesTheSamples)
{
    std::vector<float> buffer;
    m_movie->setVolume(2.0f);
    m_movie->setCurrentTime(lm_default_time_base() / 4);
    m_movie->flushOperation();
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_NEAR(buffer[0], 2.0 * 0.25, 1e-4);
    m_movie->setVolume(0.0f);
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_EQ(buffer[10], 0.0f);
}

TEST_F(Audio, TheEndAnswersNoWithSilence)
{
    std::vector<float> buffer;
    m_movie->setCurrentTime(3 * lm_default_time_base() - 10 * lm_default_time_base() / 48000);
    m_movie->flushOperation();
    ASSERT_TRUE(read(buffer, 1024));  // ten samples, then zeros
    EXPECT_GT(buffer[0], 0.99f);
    EXPECT_EQ(buffer[2 * 20], 0.0f);
    EXPECT_EQ(buffer.back(), 0.0f);
    EXPECT_FALSE(read(buffer, 1024));
    for (float v : buffer) {
        ASSERT_EQ(v, 0.0f);
    }
}

TEST_F(Audio, PlaybackAdvancesInRealTime)
{
    EXPECT_FALSE(m_movie->isPlay());
    m_movie->setCurrentTime(lm_default_time_base() / 2);
    m_movie->setPlayVolume(0.5);
    m_movie->play();
    EXPECT_TRUE(m_movie->isPlay());
    QThread::msleep(300);
    const LMMediaTime t = m_movie->currentTime();
    EXPECT_GT(t, 750000);
    EXPECT_LT(t, 1100000);
    m_movie->pause();
    EXPECT_FALSE(m_movie->isPlay());
    const LMMediaTime paused = m_movie->currentTime();
    QThread::msleep(100);
    EXPECT_EQ(m_movie->currentTime(), paused);
    m_movie->stop();
    EXPECT_EQ(m_movie->currentTime(), 0);
}

TEST_F(Audio, PlayingRunsPastTheEndUntilMoved)
{
    m_movie->setCurrentTime(m_movie->duration() - 50000);
    m_movie->play();
    QThread::msleep(150);
    EXPECT_TRUE(m_movie->isPlay());
    EXPECT_GT(m_movie->currentTime(), m_movie->duration());
    m_movie->setCurrentTime(0);  // a player loops
    EXPECT_LT(m_movie->currentTime(), 100000);
    EXPECT_TRUE(m_movie->isPlay());
    m_movie->pause();
}

TEST_F(Audio, ExportReadersRestartWhereTheMovieStands)
{
    std::vector<float> buffer;
    m_movie->setExportMovie(true);
    m_movie->setCurrentTime(lm_default_time_base() / 2);
    m_movie->flushOperation();
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_NEAR(buffer[0], 0.5, 1e-4);
    m_movie->setExportMovie(false);  // the end of a piece frees the readers
    m_movie->setCurrentTime(lm_default_time_base() / 4);
    m_movie->flushOperation();
    m_movie->setExportMovie(true);
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_NEAR(buffer[0], 0.25, 1e-4);
    ASSERT_TRUE(read(buffer, 1024));
    EXPECT_NEAR(buffer[0], 0.25 + 1024.0 / 48000, 1e-4);
}

namespace {

// A clip with two sound tracks in each container that carries several,
// probed as importing it probes it: the chosen track sounds from every time
// asked for, its start too, and the other track not at all.
class ChosenTrack : public ::testing::TestWithParam<QString> {};

}  // namespace

TEST_P(ChosenTrack, SoundsFromEveryTimeAskedForItsStartToo)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("two-tracks." + GetParam());
    ASSERT_TRUE(testsupport::makeTwoTrackClip(path, GetParam(), 6.0));
    const double tones[] = {testsupport::kFirstTrackTone, testsupport::kSecondTrackTone};
    for (const int track : {1, 0}) {
        SCOPED_TRACE(testing::Message() << "track " << track + 1);
        const auto movie = LMFFMovie::create();
        movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
        ASSERT_EQ(movie->audioStreams().size(), 2);
        movie->setSelectAudioStreams({track});
        movie->configOutputFormat(
            {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("stereo"), 48000});
        for (const double at : {0.0, 0.05, 1.0, 2.5, 4.0, 0.0}) {
            SCOPED_TRACE(testing::Message() << "from " << at << " s");
            movie->setCurrentTime(static_cast<LMMediaTime>(at * lm_default_time_base()));
            movie->flushOperation();
            std::vector<float> stereo(4800 * 2, -7.0f);
            ASSERT_TRUE(movie->readSample(reinterpret_cast<uint8_t*>(stereo.data()), 0, 4800));
            std::vector<float> left;
            for (size_t i = 0; i < stereo.size(); i += 2) {
                left.push_back(stereo[i]);
            }
            // The tenth of a second read: a whole number of both tones' periods.
            EXPECT_GT(testsupport::toneAmplitude(left.data(), left.size(), 48000, tones[track]),
                      0.08);
            EXPECT_LT(testsupport::toneAmplitude(left.data(), left.size(), 48000, tones[1 - track]),
                      0.01);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Containers, ChosenTrack, ::testing::ValuesIn(testsupport::twoTrackKinds()),
                         [](const auto& info) { return info.param.toStdString(); });
