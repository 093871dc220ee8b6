#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <thread>

#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "media/MusicConverter.h"

namespace {

// An endless constant tone for the cancel test.
class EndlessTone : public IMovie {
public:
    bool readSample(uint8_t* buffer, int, int frames) override
    {
        auto* samples = reinterpret_cast<float*>(buffer);
        std::fill(samples, samples + frames * 2, 0.25f);
        return true;
    }
};

LMFFMovie::Ptr openMovie(const QString& path)
{
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    return movie;
}

}  // namespace

TEST(MusicConverter, WritesWholeBlocksThenTheGap)
{
    auto dir = testsupport::makeTempDir();
    const QString source = dir.filePath("song.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        source, {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3"}));
    auto movie = openMovie(source);
    ASSERT_TRUE(movie->hasAudio());

    MusicConverter converter;
    const LMFFMovieFileOutputFormat format = MusicConverter::defaultFormat();
    EXPECT_EQ(format.sample_rate, 44100);
    EXPECT_EQ(format.audio_bitrate, 192000);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(format.channel_layout), 2);
    converter.setGap(0.5);
    const QString out = dir.filePath("music/out.m4a");
    ASSERT_TRUE(converter.startConverterMusic(*movie, 0.5f, 1.7f, 0.2f, 0.2f, out))
        << converter.errorText().toStdString();
    // 1.2 s is 51.7 blocks: 52 are written; progress passes 1 by less than a block.
    EXPECT_NEAR(converter.progress(), 52.0 * 1024 / 52920, 1e-9);
    EXPECT_EQ(converter.convertingTime(), 1.0);
    auto written = openMovie(out);
    ASSERT_TRUE(written->hasAudio());
    EXPECT_FALSE(written->hasVideo());
    // 52 blocks of music and 21 blocks of silence.
    EXPECT_NEAR(lm_ff_time_to_double(written->duration()), 73.0 * 1024 / 44100, 0.05);

    // A gap under one block adds nothing.
    converter.setGap(0.02);
    const QString shortGap = dir.filePath("short.m4a");
    ASSERT_TRUE(converter.startConverterMusic(*movie, 0.0f, 1.0f, 0.0f, 0.0f, shortGap));
    EXPECT_NEAR(lm_ff_time_to_double(openMovie(shortGap)->duration()), 44.0 * 1024 / 44100, 0.05);
}

TEST(MusicConverter, CancelAndFailureLeaveNoFile)
{
    auto dir = testsupport::makeTempDir();
    EndlessTone tone;
    MusicConverter converter;
    const QString out = dir.filePath("long.m4a");
    std::thread canceller([&converter] {
        QElapsedTimer timer;
        timer.start();
        while (converter.progress() < 0.01 && timer.elapsed() < 20000) {
            std::this_thread::yield();
        }
        converter.cancel();
    });
    EXPECT_FALSE(converter.startConverterMusic(tone, 0.0f, 600.0f, 0.0f, 0.0f, out));
    canceller.join();
    EXPECT_LT(converter.progress(), 0.5);
    EXPECT_EQ(converter.errorText(), "canceled");
    EXPECT_FALSE(QFile::exists(out));

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MusicConverter failing;
    EXPECT_FALSE(
        failing.startConverterMusic(tone, 0.0f, 1.0f, 0.0f, 0.0f, dir.filePath("file/out.m4a")));
    EXPECT_FALSE(failing.errorText().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"file"});
}
