#include <gtest/gtest.h>

#include <vector>

#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFunctions.h"
#include "media/ImageAudioVideo.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

// A movie that notes what it is asked.
class NotingMovie : public IMovie {
public:
    NotingMovie(LMMediaTime length, bool video, bool audio) : m_length(length)
    {
        if (video) {
            m_videos.append(std::make_shared<LMMedia>(nullptr, QStringLiteral("v")));
        }
        if (audio) {
            m_audios.append(std::make_shared<LMMedia>(nullptr, QStringLiteral("a")));
        }
    }
    LMMediaTime duration() const override { return m_length; }
    QList<LMMedia::Ptr> videos() const override { return m_videos; }
    QList<LMMedia::Ptr> audios() const override { return m_audios; }
    QSizeF videoSize() const override { return {960, 540}; }
    QSizeF outputVideoSize() const override { return {960, 540}; }
    LMMediaTime currentTime() const override { return m_time; }
    void setCurrentTime(LMMediaTime t) override
    {
        m_time = t;
        calls.append(QStringLiteral("seek"));
    }
    void setExportMovie(bool v) override { exportMovie = v; }
    void setDisableVideo(bool v) override { disableVideo = v; }
    void flushOperation() override { ++flushes; }
    void configOutputFormat(const LMFFAudioFormat& format) override
    {
        IMovie::configOutputFormat(format);
        ++formats;
    }
    bool readSample(uint8_t* buffer, int stream, int frames) override
    {
        askedStream = stream;
        std::fill(buffer, buffer + sampleBytes(outputAudioFormat(), frames), uint8_t{7});
        return true;
    }
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool) override
    {
        decodedAt = time;
        QImage frame(4, 4, QImage::Format_ARGB32);
        frame.fill(Qt::red);
        provider->mediaEffectImage(this, frame);
    }

    QStringList calls;
    bool exportMovie = false;
    bool disableVideo = false;
    int flushes = 0;
    int formats = 0;
    int askedStream = -1;
    LMMediaTime decodedAt = -1;

private:
    LMMediaTime m_length;
    LMMediaTime m_time = 0;
    QList<LMMedia::Ptr> m_videos;
    QList<LMMedia::Ptr> m_audios;
};

class FrameCounter : public IFrameProvider {
public:
    void mediaEffectImage(IMovie*, const QImage& image) override
    {
        last = image;
        ++answers;
    }
    QImage last;
    int answers = 0;
};

}  // namespace

TEST(ImageAudioVideoTest, PicturesFromOneMovieSoundFromTheOther)
{
    auto video = std::make_shared<NotingMovie>(15 * kSecond, true, false);
    auto audio = std::make_shared<NotingMovie>(40 * kSecond, false, true);
    ImageAudioVideo movie(video, audio);
    EXPECT_EQ(movie.duration(), 15 * kSecond);  // the slideshow's, whatever the music's
    EXPECT_EQ(movie.videos(), video->videos());
    EXPECT_EQ(movie.audios(), audio->audios());
    EXPECT_TRUE(movie.hasVideo());
    EXPECT_TRUE(movie.hasAudio());
    EXPECT_EQ(movie.videoSize(), QSizeF(960, 540));
    EXPECT_EQ(movie.outputVideoSize(), QSizeF(960, 540));
    EXPECT_EQ(movie.currentVideoMediaMaxTime(), 36000 * kSecond);
    EXPECT_TRUE(movie.watermark().isNull());

    movie.setCurrentTime(12 * kSecond);
    EXPECT_EQ(audio->currentTime(), 12 * kSecond);
    EXPECT_EQ(video->currentTime(), 12 * kSecond);
    audio->setCurrentTime(13 * kSecond);
    EXPECT_EQ(movie.currentTime(), 13 * kSecond);  // the music's position

    movie.setExportMovie(true);
    movie.setDisableVideo(true);
    movie.flushOperation();
    for (const auto& m : {video, audio}) {
        EXPECT_TRUE(m->exportMovie);
        EXPECT_TRUE(m->disableVideo);
        EXPECT_EQ(m->flushes, 1);
    }

    // Samples come from the music's first stream in the format asked for.
    const LMFFAudioFormat format{lm_get_default_sample_fmt(),
                                 lm_get_channel_layout_by_name("stereo"), 48000};
    movie.configOutputFormat(format);
    EXPECT_EQ(audio->formats, 1);
    std::vector<uint8_t> buffer(static_cast<size_t>(IMovie::sampleBytes(format, 1024)), 0);
    EXPECT_TRUE(movie.readSample(buffer.data(), 1, 1024));
    EXPECT_EQ(audio->askedStream, 0);
    EXPECT_EQ(buffer.back(), 7);

    FrameCounter provider;
    movie.decodeImageAtTime(3 * kSecond, &provider, true);
    EXPECT_EQ(video->decodedAt, 3 * kSecond);
    EXPECT_EQ(provider.answers, 1);
    EXPECT_FALSE(provider.last.isNull());
}

TEST(ImageAudioVideoTest, MissingMoviesGiveNothingRatherThanFailing)
{
    ImageAudioVideo movie;
    EXPECT_EQ(movie.duration(), 0);
    EXPECT_TRUE(movie.videos().isEmpty());
    EXPECT_TRUE(movie.audios().isEmpty());
    movie.setCurrentTime(kSecond);
    EXPECT_EQ(movie.currentTime(), 0);
    const LMFFAudioFormat format{lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("mono"),
                                 48000};
    movie.configOutputFormat(format);
    std::vector<uint8_t> buffer(static_cast<size_t>(IMovie::sampleBytes(format, 256)), 9);
    EXPECT_FALSE(movie.readSample(buffer.data(), 0, 256));
    EXPECT_EQ(buffer.front(), 0);
    FrameCounter provider;
    movie.decodeImageAtTime(0, &provider, true);
    EXPECT_EQ(provider.answers, 1);
    EXPECT_TRUE(provider.last.isNull());
}
