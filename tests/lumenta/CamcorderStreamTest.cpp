// A camcorder's stream: H.264 in an MPEG transport stream that starts at
// about 1.4 s, interlaced, with B-frames and key frames seconds apart. The
// container has no index of its key frames, so a seek that trusts the
// demuxer lands inside a group of pictures (or just past its key frame) and
// nothing decodes until the next key frame. Every road that reads pictures
// must show the source's frame at the time asked for, from the first one.
#include <gtest/gtest.h>

#include "InterlacedMedia.h"
#include "RecordingProvider.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"

namespace {

constexpr LMMediaTime kFrame = 40000;

LMFFMovieFileOutputFormat palWideFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = 576;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 8000000;
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 16.0f / 9.0f;
    return format;
}

class CamcorderStream : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir().path() + "-camcorder");
        s_clip = s_dir->filePath("camcorder.m2ts");
        // Key frames at 0 and 4 s only.
        s_made = testsupport::makeCamcorderStream(s_clip, 6.0, 4.0);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_made);
        movie = LMFFMovie::create();
        ASSERT_TRUE(movie->openMedias(LMMediaSource::mediaWithPath(s_clip)->createMedias()));
    }

    // The direct path's decoded frames of [start, start + count frames), read
    // the way the converter reads them and written to a DVD stream; answers
    // that stream's pictures.
    QList<QImage> writeDirect(LMMediaTime start, int count, const QString& name,
                              bool interlaced = false)
    {
        const QString path = s_dir->filePath(name + ".dvd");
        LMFFMovieFileOutput output;
        output.setPath(path);
        output.setMovieFormat(palWideFormat());
        output.setInterlaced(interlaced);
        output.openVideo();
        if (!output.startOutput()) {
            ADD_FAILURE() << "the writer did not start";
            return {};
        }
        movie->setExportMovie(true);
        movie->setCurrentTime(start);
        movie->flushOperation();
        int misses = 0;
        while (output.video_output_time() < count * kFrame && misses < 50) {
            bool any = false;
            movie->decodeImageAtTime(start + output.video_output_time(), true, [&](LMFFItem* item) {
                if (item) {
                    item->set_movie_real_start_time(start);
                    output.writeImage(item);
                    any = true;
                }
            });
            misses = any ? 0 : misses + 1;
        }
        movie->setExportMovie(false);
        EXPECT_TRUE(output.stopOutput());
        return testsupport::greyFrames(path, s_dir->filePath(name + ".grey"));
    }

    LMFFMovie::Ptr movie;
    static inline QTemporaryDir* s_dir = nullptr;
    static inline QString s_clip;
    static inline bool s_made = false;
};

TEST_F(CamcorderStream, DirectPathWritesEveryFrameFromTheTrimStart)
{
    // From the start, inside the first group of pictures (whose key frame is
    // 1 s before) and just after the second key frame.
    for (const int first : {0, 25, 103}) {
        SCOPED_TRACE(first);
        const QList<QImage> written =
            writeDirect(first * kFrame, 30, QString("direct-%1").arg(first));
        ASSERT_GE(written.size(), 30);
        for (int i = 0; i < 30; ++i) {
            EXPECT_EQ(testsupport::frameNumber(written[i]), first + i) << "output frame " << i;
        }
        testsupport::writeArtifact(written[0], QString("camcorder-direct-%1.png").arg(first));
    }
}

// An output that codes fields keeps the two fields of every frame apart,
// top field first as in the source: 50 pictures a second on the disc.
TEST_F(CamcorderStream, InterlacedOutputKeepsEachFieldOfTheDirectPath)
{
    const QList<QImage> written = writeDirect(10 * kFrame, 20, "fields", true);
    ASSERT_GE(written.size(), 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(testsupport::fieldNumber(written[i], 0), 2 * (10 + i)) << "output frame " << i;
        EXPECT_EQ(testsupport::fieldNumber(written[i], 1), 2 * (10 + i) + 1)
            << "output frame " << i;
    }
    testsupport::writeArtifact(written[0], "camcorder-fields-kept.png");
    EXPECT_EQ(testsupport::fieldOrderOf(s_dir->filePath("fields.dvd")).toStdString(), "tt");
}

TEST_F(CamcorderStream, PicturesAndThumbnailsShowTheFrameAtTheirTime)
{
    RecordingProvider provider;
    // Forwards, far ahead, back into the first group of pictures.
    const QList<int> asked{0, 12, 70, 30, 110, 1};
    for (const int frame : asked) {
        movie->decodeImageAtTime(frame * kFrame + kFrame / 4, &provider, true);
    }
    const QList<QImage> pictures = provider.wait(asked.size());
    ASSERT_EQ(pictures.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(testsupport::frameNumber(pictures[i]), asked[i]) << "request " << i;
        // One instant: the first field, its lines between them filled from it.
        EXPECT_EQ(testsupport::fieldNumber(pictures[i], 0), 2 * asked[i]) << "request " << i;
        EXPECT_EQ(testsupport::fieldNumber(pictures[i], 1), 2 * asked[i]) << "request " << i;
    }
    testsupport::writeArtifact(pictures[0], "camcorder-picture-first.png");

    const QImage first = movie->thumbnailAtTime(0, {});
    EXPECT_EQ(testsupport::frameNumber(first), 0);
    testsupport::writeArtifact(first, "camcorder-thumbnail-first.png");
    EXPECT_EQ(testsupport::frameNumber(movie->thumbnailAtTime(50 * kFrame + kFrame / 4, {})), 50);
}

// An edited picture of an interlaced frame is made of its first field alone,
// so that a scaled or turned picture never shows a moving thing twice.
TEST_F(CamcorderStream, EditedPicturesShowOneFieldScaled)
{
    movie->setHflip(true);
    movie->setOutputVideoSize(QSizeF(427, 240));
    RecordingProvider provider;
    for (const int frame : {0, 33, 120}) {
        movie->decodeImageAtTime(frame * kFrame + kFrame / 4, &provider, true);
    }
    const QList<QImage> pictures = provider.wait(3);
    ASSERT_EQ(pictures.size(), 3);
    const QList<int> frames{0, 33, 120};
    for (int i = 0; i < 3; ++i) {
        const QImage turnedBack = pictures[i].mirrored(true, false);
        EXPECT_EQ(turnedBack.size(), QSize(427, 240));
        EXPECT_EQ(testsupport::fieldNumber(turnedBack, 0), 2 * frames[i]) << "picture " << i;
        EXPECT_EQ(testsupport::fieldNumber(turnedBack, 1), 2 * frames[i]) << "picture " << i;
    }
    testsupport::writeArtifact(pictures[1], "camcorder-edited-one-field.png");
}

}  // namespace
