#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <thread>

#include "SlideshowRenderTestSupport.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFunctions.h"
#include "media/AudioPlayer.h"
#include "media/ImageItemRenderCtrl.h"
#include "media/ImageRenderVideo.h"
#include "media/SlideshowRenderController.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

// Notes every frame it is handed and on which call.
class RecordingProvider : public IFrameProvider {
public:
    bool wantsMediaImage() const override { return true; }
    void mediaImage(IMovie* movie, const QImage& image) override
    {
        source = movie;
        before = image;
    }
    void mediaEffectImage(IMovie*, const QImage& image) override
    {
        after = image;
        ++answers;
    }
    IMovie* source = nullptr;
    QImage before;
    QImage after;
    int answers = 0;
};

// A music movie whose position only the test moves.
class StillMovie : public IMovie {
public:
    LMMediaTime currentTime() const override { return m_time; }
    void setCurrentTime(LMMediaTime t) override { m_time = t; }

private:
    LMMediaTime m_time = 0;
};

int sharedSetups()
{
    return ImageItemRenderCtrl::share().render()->setupCount();
}

class ImageRenderVideoTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        AudioPlayer::share().clearPlayer();
        ImageRenderVideo::clearImageRenderCache();
    }
    slideshowtest::PhotoFolder photos;
};

}  // namespace

TEST_F(ImageRenderVideoTest, FrameSizeFollowsTheCanvasOfItsDisc)
{
    ImageRenderVideo movie(photos.slideshow(2));
    EXPECT_EQ(movie.videoSize(), QSizeF(960, 540));  // on no disc yet: a new 16:9 disc's
    EXPECT_EQ(movie.outputVideoSize(), QSizeF(854, 480));
    const QList<std::pair<QSizeF, QSizeF>> cases{{{854, 480}, {960, 540}},
                                                 {{640, 480}, {960, 720}},
                                                 {{720, 480}, {960, 540}},
                                                 {{600, 480}, {960, 720}},
                                                 {{0, 0}, {960, 540}}};
    for (const auto& [canvas, size] : cases) {
        SCOPED_TRACE(canvas.width());
        // As its disc gives every media item of its own its canvas.
        movie.setOutputVideoSize(canvas);
        EXPECT_EQ(movie.videoSize(), size);
        EXPECT_EQ(movie.outputVideoSize(), canvas);
        EXPECT_EQ(movie.frameAtTime(kSecond).size(), size.toSize());
    }
    // Other edits are not kept.
    movie.setOutputVideoSize(QSizeF(854, 480));
    movie.setWatermark(LMPicture());
    movie.setPlayVolume(0.1);
    movie.setRotate(90.0f);
    EXPECT_EQ(movie.outputVideoSize(), QSizeF(854, 480));
    EXPECT_EQ(movie.rotate(), 0.0f);
    EXPECT_TRUE(movie.value("noSuchKey").isNull());
    movie.setValue("noSuchKey", Value(3));
    EXPECT_TRUE(movie.value("noSuchKey").isNull());
}

TEST_F(ImageRenderVideoTest, LengthAndStreamsAreTheSlideshows)
{
    const auto item = photos.slideshow(3);
    auto movie = std::make_shared<ImageRenderVideo>(item);
    EXPECT_EQ(movie->duration(), 15 * kSecond);
    EXPECT_EQ(movie->videos().size(), 1);
    EXPECT_TRUE(movie->audios().isEmpty());
    EXPECT_TRUE(movie->musicVcMovies().isEmpty());
    EXPECT_EQ(movie->currentVideoMediaMaxTime(), 36000 * kSecond);
    const auto media = VCMovie::movieWithMovie(movie, movie->duration());
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(media->trimStop(), 15 * kSecond);
    EXPECT_TRUE(media->hasVideo());
    EXPECT_FALSE(media->hasAudio());
    std::vector<uint8_t> buffer(4096, 0xff);
    movie->configOutputFormat(
        {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("mono"), 48000});
    EXPECT_FALSE(movie->readSample(buffer.data(), 0, 1024));
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(ImageRenderVideoTest, ForwardFramesShareOneSetUp)
{
    const auto item = photos.slideshow(3);
    ImageRenderVideo movie(item);
    struct Case {
        double first, second;
        int setups;
    };
    for (const Case& c : {Case{4.0, 3.0, 2}, Case{3.0, 4.0, 1}, Case{3.0, 3.0, 1}}) {
        SCOPED_TRACE(c.first);
        ImageRenderVideo::clearImageRenderCache();
        const int before = sharedSetups();
        EXPECT_FALSE(movie.frameAtTime(static_cast<LMMediaTime>(c.first * kSecond)).isNull());
        EXPECT_FALSE(movie.frameAtTime(static_cast<LMMediaTime>(c.second * kSecond)).isNull());
        EXPECT_EQ(sharedSetups() - before, c.setups);
    }
    // Another slideshow, or a seek of the movie, sets up again.
    const int before = sharedSetups();
    ImageRenderVideo other(photos.slideshow(2));
    other.frameAtTime(5 * kSecond);
    movie.frameAtTime(5 * kSecond);
    movie.setCurrentTime(6 * kSecond);
    movie.frameAtTime(7 * kSecond);
    EXPECT_EQ(sharedSetups() - before, 3);
}

TEST_F(ImageRenderVideoTest, DecodingAnswersBeforeReturningWithTheSameFrameTwice)
{
    ImageRenderVideo movie(photos.slideshow(3));
    RecordingProvider provider;
    movie.decodeImageAtTime(2 * kSecond, &provider, false);
    EXPECT_EQ(provider.answers, 1);
    EXPECT_EQ(provider.source, &movie);
    ASSERT_FALSE(provider.after.isNull());
    EXPECT_EQ(provider.after.size(), QSize(960, 540));
    EXPECT_EQ(provider.before, provider.after);
    provider.after.save(qEnvironmentVariable("BRISANE_TEST_TMP", QDir::tempPath()) +
                        "/slideshow-frame.png");

    const QImage thumbnail = movie.thumbnailAtTime(2 * kSecond, QSize(96, 54));
    EXPECT_EQ(thumbnail.size(), QSize(96, 54));
}

TEST_F(ImageRenderVideoTest, PreviewPlaysTheClockAndTheMusicPlayer)
{
    double now = 0.0;
    ImageRenderVideo movie(photos.slideshow(3));
    movie.setPlayer(std::make_shared<AutoTimePlayer>([&now] { return now; }));
    EXPECT_FALSE(movie.isPlay());
    movie.setCurrentTime(3 * kSecond);
    EXPECT_EQ(movie.currentTime(), 3 * kSecond);

    movie.play();  // a slideshow without music: the player gets silence
    EXPECT_TRUE(movie.isPlay());
    ASSERT_EQ(AudioPlayer::share().play_movies().size(), 1);
    // The silence plays on its own clock from there.
    EXPECT_NEAR(AudioPlayer::share().currentTime(), 3 * kSecond, kSecond / 10);
    now = 2.5;
    EXPECT_EQ(movie.currentTime(), 5500000);
    movie.pause();
    EXPECT_FALSE(movie.isPlay());
    EXPECT_FALSE(AudioPlayer::share().isPlay());
    now = 10.0;
    EXPECT_EQ(movie.currentTime(), 5500000);
    movie.setCurrentTime(kSecond);
    EXPECT_NEAR(AudioPlayer::share().currentTime(), kSecond, kSecond / 10);
}

TEST_F(ImageRenderVideoTest, ExportNeverTouchesTheSharedPlayerOrCache)
{
    // The editor's music is at 4 s of its own item.
    auto music = std::make_shared<StillMovie>();
    auto musicItem = VCMovie::movieWithMovie(music, 60 * kSecond);
    AudioPlayer::share().updatePlayMovies({musicItem});
    AudioPlayer::share().seekPlayTime(4.0);
    const auto item = photos.slideshow(3);
    ImageRenderVideo preview(item);
    preview.frameAtTime(kSecond);  // the editor's cached set-up
    const int setups = sharedSetups();

    auto exported = std::make_shared<ImageRenderVideo>(item);
    exported->setExportMovie(true);
    exported->setCurrentTime(9 * kSecond);
    exported->play();
    exported->pause();
    RecordingProvider provider;
    for (LMMediaTime t = 0; t < 3 * kSecond; t += kSecond / 2) {
        exported->decodeImageAtTime(t, &provider, true);
    }
    EXPECT_EQ(provider.answers, 6);
    EXPECT_FALSE(provider.after.isNull());
    // After the export, the converter resets the piece from its own thread.
    std::thread([&] {
        exported->setExportMovie(false);
        exported->setCurrentTime(0);
    }).join();

    EXPECT_EQ(music->currentTime(), 4 * kSecond);
    EXPECT_EQ(AudioPlayer::share().cur_movie(), musicItem);
    EXPECT_EQ(AudioPlayer::share().currentTime(), 4 * kSecond);
    EXPECT_EQ(sharedSetups(), setups);
}
