// A photo slideshow encoded as a disc title: without music (silent AC-3) and
// with its music encoded first and carried by ImageAudioVideo.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>
#include <cmath>
#include <vector>

#include "EncodeTestSupport.h"
#include "SlideshowRenderTestSupport.h"
#include "TransitionTestSupport.h"
#include "lumenta/LMFunctions.h"
#include "media/ImageAudioVideo.h"
#include "media/ImageRenderVideo.h"
#include "media/MediaItem.h"
#include "media/VCVideoConverter.h"

using encodetest::loudness;

namespace {

constexpr LMMediaTime kSecond = 1000000;

class FinishDelegate : public VCVideoConverterDelegate {
public:
    void converterDidFinished(VCVideoConverter*) override { ++finished; }
    int finished = 0;
};

// Encodes the items to `path` and waits for the job on the main loop.
bool encode(const QList<IMediaItem::Ptr>& items, const QString& path, QString* error)
{
    FinishDelegate delegate;
    auto job = VCVideoConverter::create();
    job->setMovies(items);
    job->setDelegate(&delegate);
    job->setPath(path);
    job->setMovieOutputFormat(encodetest::dvdFormat(true, true));
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (delegate.finished == 0 && timer.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    *error = job->errorText();
    return delegate.finished > 0 && job->succeeded();
}

QString audioCodec(const QJsonObject& info)
{
    for (const auto& s : info["streams"].toArray()) {
        if (s.toObject()["codec_type"] == "audio") {
            return s.toObject()["codec_name"].toString();
        }
    }
    return {};
}

QImage frameAt(const QString& path, double seconds, const QString& png)
{
    testsupport::runProgram("ffmpeg", {"-v", "error", "-y", "-ss", QString::number(seconds), "-i",
                                       path, "-frames:v", "1", png});
    return QImage(png);
}

class SlideshowEncodeTest : public ::testing::Test {
protected:
    // Three photos of 1 s each on a transition paced at 3 s: a 3 s slideshow
    // whose compositions run three times as fast.
    std::shared_ptr<RenderItem> slideshow()
    {
        auto item = photos.slideshow(3, 1.0, 3.0);
        EXPECT_DOUBLE_EQ(item->slideshowDuration(), 3.0);
        return item;
    }
    slideshowtest::PhotoFolder photos;
};

}  // namespace

TEST_F(SlideshowEncodeTest, SlideshowWithoutMusicGivesMovingPicturesAndSilentAc3)
{
    auto movie = std::make_shared<ImageRenderVideo>(slideshow());
    const auto item = VCMovie::movieWithMovie(movie, movie->duration());
    const QString path = photos.path() + "/title.dvd";
    QString error;
    ASSERT_TRUE(encode({item}, path, &error)) << error.toStdString();

    const QJsonObject info = testsupport::probeMedia(path);
    EXPECT_NEAR(info["format"].toObject()["duration"].toString().toDouble(), 3.0, 0.1);
    EXPECT_EQ(audioCodec(info), "ac3");
    EXPECT_LT(loudness(path, 0.1, 2.9), 0.002);

    // Kept in the test folder's root to be looked at.
    const QString pictures = qEnvironmentVariable("BRISANE_TEST_TMP", photos.path());
    const QImage first = frameAt(path, 0.2, pictures + "/slideshow-title-first.png");
    const QImage last = frameAt(path, 2.7, pictures + "/slideshow-title-last.png");
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(last.isNull());
    EXPECT_GT(transitiontest::meanDifference(first, last), 40.0);
}

TEST_F(SlideshowEncodeTest, MusicIsEncodedFirstAndEndsWithTheSlideshow)
{
    const QString tone = photos.path() + "/tone.wav";
    ASSERT_TRUE(testsupport::generateMedia(
        tone, {"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-ac", "2"}));
    auto render = slideshow();
    render->setAudioItems({MediaItem::mediaItemWithPath(tone)});
    auto slideshowMovie = std::make_shared<ImageRenderVideo>(render);
    const QList<VCMovie::Ptr> music = slideshowMovie->musicVcMovies();
    ASSERT_EQ(music.size(), 2);  // 2 s, then 1 s of the tone again

    // The music alone, as production encodes it before the title.
    const QString musicPath = photos.path() + "/music.dvd";
    QString error;
    QList<IMediaItem::Ptr> musicItems(music.begin(), music.end());
    ASSERT_TRUE(encode(musicItems, musicPath, &error)) << error.toStdString();
    const auto musicStream = VCMovie::movieWithPath(musicPath);
    ASSERT_NE(musicStream, nullptr);

    auto title = std::make_shared<ImageAudioVideo>(slideshowMovie, musicStream->movie());
    EXPECT_EQ(title->duration(), 3 * kSecond);
    const auto item = VCMovie::movieWithMovie(title, title->duration());
    const QString path = photos.path() + "/title.dvd";
    ASSERT_TRUE(encode({item}, path, &error)) << error.toStdString();

    const QJsonObject info = testsupport::probeMedia(path);
    EXPECT_NEAR(info["format"].toObject()["duration"].toString().toDouble(), 3.0, 0.1);
    EXPECT_EQ(audioCodec(info), "ac3");
    EXPECT_GT(loudness(path, 0.5, 1.5), 0.05);                             // the tone
    EXPECT_GT(loudness(path, 2.05, 2.4), 0.05);                            // the tone again
    EXPECT_LT(loudness(path, 2.97, 3.0), loudness(path, 0.5, 1.5) * 0.3);  // faded out
}
