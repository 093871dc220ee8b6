#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <vector>

#include "LumentaMedia.h"
#include "RecordingProvider.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"

namespace {

LMFFMovie::Ptr openMovie(const QString& path)
{
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    return movie;
}

constexpr LMMediaTime kFrame = 40000;

class Decode : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(Decode, FramesAtATimeCarryTheirIndex)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath(QString::fromUtf8(GetParam()));
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 2.0));
    auto movie = openMovie(path);
    ASSERT_TRUE(movie->hasVideo());

    // Synchronous, forwards, with a jump back and a jump ahead.
    for (int index : {0, 1, 2, 3, 10, 24, 5, 49, 30, 31}) {
        RecordingProvider provider;
        movie->decodeImageAtTime(index * kFrame, &provider, true);
        const QList<QImage> images = provider.images();
        ASSERT_EQ(images.size(), 1);
        EXPECT_EQ(lumentatest::frameIndex(images.first()), index) << "frame " << index;
    }
    // A time between two frames gives the nearer one.
    RecordingProvider between;
    movie->decodeImageAtTime(7 * kFrame + 15000, &between, true);
    EXPECT_EQ(lumentatest::frameIndex(between.images().value(0)), 7);
}

TEST_P(Decode, AsynchronousRequestsAreAnsweredOnceInOrder)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath(QString::fromUtf8(GetParam()));
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 2.0));
    auto movie = openMovie(path);
    RecordingProvider provider;
    QList<int> expected;
    for (int index = 0; index < 50; index += 3) {
        movie->decodeImageAtTime(index * kFrame, &provider);
        expected << index;
    }
    // Past the end: a null answer, never silence.
    movie->decodeImageAtTime(5 * lm_default_time_base(), &provider);
    const QList<QImage> images = provider.wait(expected.size() + 1);
    ASSERT_EQ(images.size(), expected.size() + 1);
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lumentatest::frameIndex(images[i]), expected[i]);
    }
    EXPECT_TRUE(images.last().isNull());
    EXPECT_GE(movie->currentVideoMediaMaxTime(), 48 * kFrame);
}

INSTANTIATE_TEST_SUITE_P(Lumenta, Decode, ::testing::Values("clip.mp4", "clip.avi"),
                         [](const auto& info) { return std::string(info.param).substr(5); });

TEST(LMFFMovie, MovieWithoutVideoAnswersNull)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("tone.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=1"}));
    auto movie = openMovie(path);
    RecordingProvider provider;
    movie->decodeImageAtTime(0, &provider);
    movie->decodeImageAtTime(kFrame, &provider, true);
    const QList<QImage> images = provider.images();
    ASSERT_EQ(images.size(), 2);
    EXPECT_TRUE(images[0].isNull());
    EXPECT_TRUE(images[1].isNull());
    EXPECT_TRUE(movie->thumbnailAtTime(0, QSize(16, 16)).isNull());
}

TEST(LMFFMovie, ShortClipAndDestructionAnswerEveryRequest)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("short.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 0.1));
    RecordingProvider provider;
    {
        auto movie = openMovie(path);
        for (int i = 0; i < 20; ++i) {
            movie->decodeImageAtTime(i * kFrame, &provider);
        }
    }
    const QList<QImage> images = provider.images();
    ASSERT_EQ(images.size(), 20);
    EXPECT_EQ(lumentatest::frameIndex(images[0]), 0);
    EXPECT_EQ(lumentatest::frameIndex(images[1]), 1);
    EXPECT_TRUE(images[19].isNull());
}

TEST(LMFFMovie, ThumbnailIsScaledToTheSize)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.0, 128, 96));
    auto movie = openMovie(path);
    const QImage thumb = movie->thumbnailAtTime(12 * kFrame, QSize(64, 48));
    ASSERT_EQ(thumb.size(), QSize(64, 48));
    EXPECT_EQ(lumentatest::frameIndex(thumb), 12);
}

// The descriptors this process holds open on the file at `path`.
int openDescriptorsOf(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    for (const QFileInfo& fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files)) {
        count += fd.symLinkTarget() == target ? 1 : 0;
    }
    return count;
}

// A project keeps a movie for every clip, and a film cut into chapters has
// dozens: only the last few thumbnail readers stay open (each holds a
// decoder and its pictures); an older one opens again at its next thumbnail
// and gives the same picture.
TEST(LMFFMovie, OnlyTheLastFewThumbnailReadersStayOpen)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.0, 128, 96));
    std::vector<LMFFMovie::Ptr> clips;
    QList<QImage> first;
    for (int i = 0; i < 10; ++i) {
        clips.push_back(openMovie(path));
        first << clips.back()->thumbnailAtTime((5 + i) * kFrame, QSize(64, 48));
        EXPECT_EQ(lumentatest::frameIndex(first.last()), 5 + i);
    }
    EXPECT_LE(openDescriptorsOf(path), 2);
    for (int i = 0; i < 10; ++i) {
        const QImage again = clips[i]->thumbnailAtTime((5 + i) * kFrame, QSize(64, 48));
        EXPECT_EQ(again, first[i]) << "clip " << i;
    }
    EXPECT_LE(openDescriptorsOf(path), 2);
    clips.clear();
    EXPECT_EQ(openDescriptorsOf(path), 0);
}

TEST(LMFFMovie, DirectPathHandsFramesUpToTheTime)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.0));
    auto movie = openMovie(path);
    movie->setCurrentTime(0);
    movie->flushOperation();
    QList<LMMediaTime> times;
    int nulls = 0;
    for (LMMediaTime t = 0; t < 2 * lm_default_time_base(); t += kFrame) {
        movie->decodeImageAtTime(t, true, [&](LMFFItem* item) {
            if (item) {
                EXPECT_FALSE(item->isPacket());
                times << item->time();
            } else {
                ++nulls;
            }
        });
    }
    ASSERT_EQ(times.size(), 25);
    for (int i = 0; i < times.size(); ++i) {
        EXPECT_EQ(times[i], i * kFrame);
    }
    EXPECT_GT(nulls, 0);
    // Packets: the first one is a key packet.
    movie->flushOperation();
    bool first = true;
    movie->decodeImageAtTime(0, false, [&](LMFFItem* item) {
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isPacket());
        if (first) {
            EXPECT_TRUE(item->isKeyPacket());
            first = false;
        }
    });
}

TEST(LMFFMovie, PictureStandsForAnyTimeAndReopeningSwitchesMedia)
{
    auto dir = testsupport::makeTempDir();
    const QString picture = dir.filePath("picture.png");
    ASSERT_TRUE(testsupport::generateMedia(
        picture, {"-f", "lavfi", "-i", "color=white:size=40x30", "-frames:v", "1"}));
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 1.0));

    auto movie = openMovie(clip);
    RecordingProvider first;
    movie->decodeImageAtTime(3 * kFrame, &first, true);
    EXPECT_EQ(lumentatest::frameIndex(first.images().value(0)), 3);

    movie->openMedias(LMMediaSource::mediaWithPath(picture)->createMedias());
    ASSERT_TRUE(movie->hasVideo());
    EXPECT_FALSE(movie->hasAudio());
    RecordingProvider provider;
    movie->decodeImageAtTime(0, &provider, true);
    movie->decodeImageAtTime(3 * lm_default_time_base(), &provider, true);
    const QList<QImage> images = provider.images();
    ASSERT_EQ(images.size(), 2);
    for (const QImage& image : images) {
        ASSERT_EQ(image.size(), QSize(40, 30));
        EXPECT_GT(qGray(image.pixel(20, 15)), 240);
    }
}

TEST(LMFFMovie, DecodersFreedWhenIdleComeBack)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(path, 1.0));
    auto movie = openMovie(path);
    RecordingProvider provider;
    movie->decodeImageAtTime(10 * kFrame, &provider, true);
    EXPECT_FALSE(movie->thumbnailAtTime(5 * kFrame, QSize(32, 24)).isNull());
    QThread::msleep(5500);  // the preview decoders are freed after 5 s
    movie->decodeImageAtTime(11 * kFrame, &provider, true);
    const QList<QImage> images = provider.images();
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(lumentatest::frameIndex(images[0]), 10);
    EXPECT_EQ(lumentatest::frameIndex(images[1]), 11);
    EXPECT_EQ(lumentatest::frameIndex(movie->thumbnailAtTime(6 * kFrame, QSize(32, 24))), 6);
}

TEST(LMFFMovie, FileCutShortStillAnswersEverything)
{
    auto dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mkv");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 2.0));
    QFile in(clip);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString cut = dir.filePath("cut.mkv");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() * 6 / 10));
    out.close();

    auto movie = openMovie(cut);
    ASSERT_TRUE(movie->hasVideo());
    RecordingProvider provider;
    for (int i = 0; i < 60; ++i) {
        movie->decodeImageAtTime(i * kFrame, &provider);
    }
    EXPECT_EQ(provider.wait(60).size(), 60);
    movie->configOutputFormat({lm_get_default_sample_fmt(), 3, 48000});
    std::vector<float> buffer(2048);
    int blocks = 0;
    while (movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, 1024) && blocks < 500) {
        ++blocks;
    }
    EXPECT_LT(blocks, 100);
    EXPECT_EQ(buffer.back(), 0.0f);
}
