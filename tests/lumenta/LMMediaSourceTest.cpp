#include <gtest/gtest.h>
#include <QFile>

#include "LumentaMedia.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaSource.h"

namespace {

struct ProbeCase {
    const char* name;
    const char* file;
    QStringList args;  // empty: an indexed clip of 2 s
    const char* videoCodec;
    const char* audioCodec;
    double seconds;
};

void PrintTo(const ProbeCase& c, std::ostream* os)
{
    *os << c.name;
}

class Probe : public ::testing::TestWithParam<ProbeCase> {};

QStringList lavfi(const QString& graph)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), graph};
}

}  // namespace

TEST_P(Probe, StreamsCodecsAndDuration)
{
    const ProbeCase& c = GetParam();
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath(QString::fromUtf8(c.file));
    if (c.args.isEmpty()) {
        ASSERT_TRUE(lumentatest::makeIndexedClip(path, c.seconds));
    } else {
        ASSERT_TRUE(testsupport::generateMedia(path, c.args));
    }
    auto source = LMMediaSource::mediaWithPath(path);
    EXPECT_FALSE(source->isDVD());
    EXPECT_FALSE(source->isDRM());
    auto movie = LMFFMovie::create();
    ASSERT_TRUE(movie->openMedias(source->createMedias()));
    EXPECT_EQ(movie->hasVideo(), c.videoCodec != nullptr);
    EXPECT_EQ(movie->hasAudio(), c.audioCodec != nullptr);
    if (c.videoCodec) {
        EXPECT_STREQ(lm_get_codec_name_by_id(movie->videoCodec()), c.videoCodec);
        EXPECT_EQ(movie->videos().first()->value("source.path").toString(), path);
    }
    if (c.audioCodec) {
        EXPECT_STREQ(lm_get_codec_name_by_id(movie->audioCodec()), c.audioCodec);
        EXPECT_EQ(movie->audioStreams().size(), 1);
    }
    if (c.seconds > 0) {
        EXPECT_NEAR(lm_ff_time_to_double(movie->duration()), c.seconds, 0.06);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lumenta, Probe,
    ::testing::Values(ProbeCase{"mp4", "clip.mp4", {}, "h264", "aac", 2.0},
                      ProbeCase{"avi", "clip.avi", {}, "mpeg4", "mp3", 2.0},
                      ProbeCase{"short", "short.mp4", {}, "h264", "aac", 0.1},
                      ProbeCase{"m4a", "tone.m4a",
                                lavfi("sine=frequency=440:sample_rate=44100:duration=1.5") +
                                    QStringList{"-c:a", "aac"},
                                nullptr, "aac", 1.5},
                      ProbeCase{"wav", "tone.wav",
                                lavfi("sine=frequency=440:sample_rate=48000:duration=1"), nullptr,
                                "pcm_s16le", 1.0},
                      ProbeCase{"png", "picture.png",
                                lavfi("testsrc=size=80x60:rate=1") + QStringList{"-frames:v", "1"},
                                "png", nullptr, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LMMediaSource, UnreadableFilesGiveMoviesWithoutStreams)
{
    auto dir = testsupport::makeTempDir();
    const QString garbage = dir.filePath("garbage.mp4");
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(QByteArray(5000, '\x5a'));
    g.close();

    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 1.0));
    const QString truncated = dir.filePath("truncated.mp4");
    QFile in(clip);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QFile out(truncated);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(in.read(300));
    out.close();

    for (const QString& path : {garbage, truncated, dir.filePath("missing.mp4"), QString()}) {
        auto source = LMMediaSource::mediaWithPath(path);
        EXPECT_TRUE(source->createMedias().isEmpty()) << path.toStdString();
        auto movie = LMFFMovie::create();
        movie->openMedias(source->createMedias());
        EXPECT_FALSE(movie->hasVideo());
        EXPECT_FALSE(movie->hasAudio());
        EXPECT_EQ(movie->duration(), 0);
        EXPECT_TRUE(movie->thumbnailAtTime(0, QSize(32, 24)).isNull());
    }
}

TEST(LMFFMovie, EmptyMovieIsSilentAndBlank)
{
    auto movie = LMFFMovie::create();
    EXPECT_TRUE(movie->openMedias({}));
    EXPECT_TRUE(movie->medias().isEmpty());
    LMFFAudioFormat format{lm_get_default_sample_fmt(), 3, 48000};
    movie->configOutputFormat(format);
    std::vector<float> buffer(2048, 0.5f);
    EXPECT_FALSE(movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, 1024));
    for (float v : buffer) {
        ASSERT_EQ(v, 0.0f);
    }
}

TEST(LMFFMovie, UnknownKeysReadNullAndIgnoreWrites)
{
    auto movie = LMFFMovie::create();
    movie->setValue("noSuchKey", Value(3));
    EXPECT_TRUE(movie->value("noSuchKey").isNull());
    movie->setValue("rotate", Value(90.0));
    EXPECT_FLOAT_EQ(movie->rotate(), 90.0f);
    movie->setValue("cropRectString", Value("{{1, 2}, {30, 40}}"));
    EXPECT_EQ(movie->cropRect(), QRectF(1, 2, 30, 40));
    EXPECT_EQ(movie->value("outputVideoSizeString").toString(), QString("{0, 0}"));
    EXPECT_TRUE(movie->value("effectName").isNull());
}

TEST(LMMediaSource, EncryptedFileIsDrm)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("locked.mp4");
    ASSERT_TRUE(
        testsupport::generateMedia(path, {"-f", "lavfi", "-i", "testsrc=size=64x48:duration=1",
                                          "-c:v", "libx264", "-encryption_scheme", "cenc-aes-ctr",
                                          "-encryption_key", "76a6c65c5ea762046bd749a2e632ccbb",
                                          "-encryption_kid", "a7e61c373e219033c21091fa607bf3b8"}));
    EXPECT_TRUE(LMMediaSource::mediaWithPath(path)->isDRM());
}
