// What the editors rely on of a movie, run against Lumenta's LMFFMovie over a
// generated file and against the recording movie the editor tests use: edit
// values come back unchanged, a change shows in the next decoded frame, a file
// without video has no thumbnail, and the subtitle file may be deleted right
// after openSubtitle.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <functional>

#include "RecordingMovie.h"
#include "TestSupport.h"
#include "VideoEditTestSupport.h"
#include "lumenta/EffectManager.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMMediaSource.h"

namespace {

QImage frameAt(IMovie& movie, double seconds)
{
    return videoedittest::effectImageAt(movie, seconds).convertToFormat(QImage::Format_RGB32);
}

// Mean absolute difference of the grey levels of two pictures of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull()) {
        return 255.0;
    }
    double sum = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        }
    }
    return sum / (a.width() * a.height());
}

class EditorMovieContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        clip = dir.filePath("clip.mp4");
        ASSERT_TRUE(testsupport::makeTestClip(clip, 2.0, 160, 120));
        file = LMFFMovie::create();
        ASSERT_TRUE(file->openMedias(LMMediaSource::mediaWithPath(clip)->createMedias()));
        file->setOutputVideoSize(QSizeF(160, 120));
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString clip;
    LMFFMovie::Ptr file;
    testsupport::RecordingMovie recording;
};

TEST_F(EditorMovieContract, EditValuesComeBackUnchanged)
{
    struct Check {
        const char* name;
        std::function<void(IMovie&)> set;
        std::function<bool(const IMovie&)> holds;
    };
    const QFont font("Sans", 31);
    ASSERT_FALSE(EffectManager::allFilterNames().isEmpty());
    const QString effect = EffectManager::allFilterNames().last();
    const Check checks[] = {
        {"cropRect",
         [](IMovie& m) {
             m.setCropRect({10, 20, 100, 60});
         },
         [](const IMovie& m) { return m.cropRect() == QRectF(10, 20, 100, 60); }},
        {"zoomType", [](IMovie& m) { m.setZoomType(2); },
         [](const IMovie& m) { return m.zoomType() == 2; }},
        {"effectName", [&effect](IMovie& m) { m.setEffectName(effect); },
         [&effect](const IMovie& m) { return m.effectName() == effect; }},
        {"colours",
         [](IMovie& m) {
             m.setSaturation(0.7f);
             m.setBrightness(0.3f);
             m.setContrast(0.4f);
             m.setHue(0.6f);
         },
         [](const IMovie& m) {
             return m.saturation() == 0.7f && m.brightness() == 0.3f && m.contrast() == 0.4f &&
                    m.hue() == 0.6f;
         }},
        {"rotate and flips",
         [](IMovie& m) {
             m.setRotate(90.0f);
             m.setHflip(true);
             m.setVflip(true);
         },
         [](const IMovie& m) { return m.rotate() == 90.0f && m.hflip() && m.vflip(); }},
        {"volume", [](IMovie& m) { m.setVolume(2.5f); },
         [](const IMovie& m) { return m.volume() == 2.5f; }},
        {"subtitle style",
         [&font](IMovie& m) {
             m.setSubtitleFont(font);
             m.setSubtitleColor(QColor(10, 200, 30));
             m.setSubtitlePosition(2);
         },
         [&font](const IMovie& m) {
             return m.subtitleFont() == font && m.subtitleColor() == QColor(10, 200, 30) &&
                    m.subtitlePosition() == 2;
         }},
    };
    for (IMovie* movie : {static_cast<IMovie*>(file.get()), static_cast<IMovie*>(&recording)}) {
        // Neutral values before any edit.
        EXPECT_FLOAT_EQ(movie->saturation(), 0.5f);
        EXPECT_FLOAT_EQ(movie->brightness(), 0.5f);
        EXPECT_FLOAT_EQ(movie->contrast(), 0.25f);
        EXPECT_FLOAT_EQ(movie->hue(), 0.5f);
        for (const Check& check : checks) {
            check.set(*movie);
            EXPECT_TRUE(check.holds(*movie)) << check.name;
        }
    }
}

TEST_F(EditorMovieContract, AChangeShowsInTheNextDecodedFrame)
{
    const QImage plain = frameAt(*file, 0.5);
    ASSERT_EQ(plain.size(), QSize(160, 120));
    file->setHflip(true);
    const QImage flipped = frameAt(*file, 0.5);
    EXPECT_GT(meanDifference(plain, flipped), 10.0);
    EXPECT_LT(meanDifference(plain.mirrored(true, false), flipped), 3.0);
    file->setHflip(false);
    file->setBrightness(0.8f);
    EXPECT_GT(frameAt(*file, 0.5).pixelColor(80, 60).lightness(),
              plain.pixelColor(80, 60).lightness());
}

TEST_F(EditorMovieContract, AFileWithoutVideoHasNoThumbnail)
{
    const QString tone = dir.filePath("tone.m4a");
    ASSERT_TRUE(testsupport::generateMedia(
        tone, {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=1"}));
    auto sound = LMFFMovie::create();
    ASSERT_TRUE(sound->openMedias(LMMediaSource::mediaWithPath(tone)->createMedias()));
    EXPECT_FALSE(sound->hasVideo());
    EXPECT_TRUE(sound->thumbnailAtTime(0, QSize(80, 60)).isNull());
    EXPECT_FALSE(file->thumbnailAtTime(0, QSize(80, 60)).isNull());
    recording.withVideo = false;
    EXPECT_TRUE(recording.thumbnailAtTime(0, QSize(80, 60)).isNull());
}

TEST_F(EditorMovieContract, TheSubtitleFileMayBeDeletedAfterOpening)
{
    const QString srt = dir.filePath("cue.srt");
    QFile text(srt);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("1\n00:00:00,000 --> 00:00:02,000\nWWWWWW\n\n");
    text.close();
    const QImage without = frameAt(*file, 1.0);
    ASSERT_TRUE(file->openSubtitle(srt));
    ASSERT_TRUE(QFile::remove(srt));
    EXPECT_TRUE(file->hasSubtitle());
    EXPECT_GT(meanDifference(without, frameAt(*file, 1.0)), 0.5);
    file->setCurrentTime(0);  // a seek rebuilds nothing from the file
    EXPECT_GT(meanDifference(without, frameAt(*file, 1.0)), 0.5);
}

}  // namespace
