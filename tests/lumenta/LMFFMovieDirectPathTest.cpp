#include <gtest/gtest.h>
#include <QFileInfo>
#include <thread>
#include <utility>
#include <vector>

#include "LumentaMedia.h"
#include "RecordingProvider.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"

namespace {

constexpr LMMediaTime kFrame = 40000;

LMFFMovie::Ptr openMovie(const QString& path)
{
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    return movie;
}

LMFFMovieFileOutputFormat palFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = 576;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 5000000;
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 4.0f / 3.0f;
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    return format;
}

// The converter's direct path over one piece [start, start + length).
void writePiece(LMFFMovie& movie, LMFFMovieFileOutput& output, LMMediaTime start,
                LMMediaTime length, bool copy)
{
    const int64_t base = lm_default_time_base();
    movie.configOutputFormat(output.audioInputFormat());
    movie.setCopy_video_stream(copy);
    movie.setCopy_audio_stream(copy);
    movie.setCurrentTime(start);
    movie.flushOperation();
    std::vector<float> block(2048);
    int64_t audioDone = 0;
    int64_t units = 0;
    int misses = 0;
    bool keySeen = !copy;
    const int rate = output.audioInputFormat().sample_rate;
    for (;;) {
        const LMMediaTime videoTime = units * base / 25;
        const LMMediaTime audioTime = audioDone * base / rate;
        const bool videoOver = videoTime > length || misses > 50;
        const bool audioOver = audioTime > length;
        if (videoOver && audioOver) {
            break;
        }
        if (videoOver || videoTime > audioTime + base) {
            if (copy) {
                auto packet = movie.readNextAudioPacket();
                if (packet) {
                    packet->set_movie_real_start_time(start);
                    output.writeAudioPacket(packet.get());
                }
                audioDone =
                    qMax<int64_t>(audioDone + 1, (movie.currentTime() - start) * rate / base);
                if (!packet) {
                    audioDone += 1024;
                }
            } else {
                movie.readSample(reinterpret_cast<uint8_t*>(block.data()), 0, 1024);
                output.writeAudioData(reinterpret_cast<const uint8_t*>(block.data()));
                audioDone += 1024;
            }
            continue;
        }
        bool any = false;
        movie.decodeImageAtTime(videoTime + start, !copy, [&](LMFFItem* item) {
            if (!item) {
                return;
            }
            item->set_movie_real_start_time(start);
            keySeen = keySeen || item->isKeyPacket();
            if (keySeen) {
                output.writeImage(item);
            }
            any = true;
        });
        misses = any ? 0 : misses + 1;
        units =
            any ? qMax(units + (copy ? 1 : 0), output.video_output_time() * 25 / base) : units + 1;
    }
}

}  // namespace

TEST(DirectPath, DecodedFramesLandOnTheOutputTimeline)
{
    auto dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 2.0));
    auto movie = openMovie(clip);
    const QString path = dir.filePath("title1.dvd");
    LMFFMovieFileOutput output;
    output.setPath(path);
    output.setMovieFormat(palFormat());
    output.openVideo();
    output.openAudio();
    ASSERT_TRUE(output.startOutput());
    writePiece(*movie, output, 10 * kFrame, 25 * kFrame, false);  // frames 10 to 34
    ASSERT_TRUE(output.stopOutput());

    auto written = openMovie(path);
    ASSERT_TRUE(written->hasVideo());
    EXPECT_NEAR(lm_ff_time_to_double(written->duration()), 1.0, 0.08);
    for (int i : {0, 1, 12, 24}) {
        RecordingProvider provider;
        written->decodeImageAtTime(i * kFrame, &provider, true);
        const QImage image = provider.images().value(0);
        ASSERT_EQ(image.height(), 576);
        EXPECT_EQ(lumentatest::frameIndex(image), 10 + i) << "output frame " << i;
    }
}

// Frames missing from the source (a stretch of a variable-rate stream) are
// filled on the constant-rate output with the frame before them.
TEST(DirectPath, AGapInTheSourceRepeatsTheFrameBeforeIt)
{
    auto dir = testsupport::makeTempDir();
    const QString indexed = dir.filePath("indexed.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(indexed, 2.0, 64, 48, false));
    const QString clip = dir.filePath("gap.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        clip, {"-i", indexed, "-vf", "select='not(between(n,10,19))'", "-fps_mode", "passthrough",
               "-c:v", "libx264", "-crf", "5"}));
    auto movie = openMovie(clip);
    const QString path = dir.filePath("title1.dvd");
    LMFFMovieFileOutput output;
    output.setPath(path);
    output.setMovieFormat(palFormat());
    output.openVideo();
    output.openAudio();
    ASSERT_TRUE(output.startOutput());
    writePiece(*movie, output, 0, 30 * kFrame, false);
    ASSERT_TRUE(output.stopOutput());

    auto written = openMovie(path);
    ASSERT_TRUE(written->hasVideo());
    // Read forward from the start (no seeking in the written stream).
    for (const auto& [at, shown] :
         {std::pair{0, 0}, {5, 5}, {9, 9}, {10, 9}, {15, 9}, {19, 9}, {20, 20}, {28, 28}}) {
        RecordingProvider provider;
        written->decodeImageAtTime(at * kFrame, &provider, true);
        EXPECT_EQ(lumentatest::frameIndex(provider.images().value(0)), shown)
            << "output frame " << at;
    }
}

TEST(DirectPath, StreamCopyKeepsThePackets)
{
    auto dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 2.0));
    auto movie = openMovie(clip);
    LMFFMovieFileOutputFormat format = palFormat();
    format.width = 64;
    format.height = 48;
    const QString path = dir.filePath("copy.mp4");
    LMFFMovieFileOutput output;
    output.setPath(path);
    output.setMovieFormat(format);
    ASSERT_TRUE(output.copyVideoMedia(movie->videos().first()));
    ASSERT_TRUE(output.copyAudioMedia(movie->audios().first()));
    ASSERT_TRUE(output.startOutput());
    writePiece(*movie, output, 0, 2 * lm_default_time_base(), true);
    ASSERT_TRUE(output.stopOutput());

    auto copied = openMovie(path);
    ASSERT_TRUE(copied->hasVideo());
    ASSERT_TRUE(copied->hasAudio());
    EXPECT_STREQ(lm_get_codec_name_by_id(copied->videoCodec()), "h264");
    EXPECT_STREQ(lm_get_codec_name_by_id(copied->audioCodec()), "aac");
    EXPECT_NEAR(lm_ff_time_to_double(copied->duration()), 2.0, 0.1);
    RecordingProvider provider;
    copied->decodeImageAtTime(17 * kFrame, &provider, true);
    EXPECT_EQ(lumentatest::frameIndex(provider.images().value(0)), 17);
}

TEST(LMFFMovie, SelectedAudioStreamIsTheOneRead)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("two.mkv");
    ASSERT_TRUE(testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", "aevalsrc=0.25:s=48000:d=1", "-f", "lavfi", "-i",
               "aevalsrc=-0.5:s=48000:d=1", "-map", "0", "-map", "1", "-c:a", "pcm_f32le"}));
    auto movie = openMovie(path);
    ASSERT_EQ(movie->audioStreams().size(), 2);
    movie->configOutputFormat({lm_get_default_sample_fmt(), 3, 48000});
    std::vector<float> buffer(2048);
    ASSERT_TRUE(movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, 1024));
    EXPECT_NEAR(buffer[100], 0.25, 1e-5);
    movie->setSelectAudioStreams({1});
    movie->setCurrentTime(0);
    movie->flushOperation();
    ASSERT_TRUE(movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, 1024));
    EXPECT_NEAR(buffer[100], -0.5, 1e-5);
    EXPECT_EQ(movie->selectAudioStreams(), QList<int>{1});
}

TEST(LMFFMovie, ConcurrentUseFromManyThreads)
{
    auto dir = testsupport::makeTempDir();
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(lumentatest::makeIndexedClip(clip, 2.0));
    auto movie = openMovie(clip);
    movie->configOutputFormat({lm_get_default_sample_fmt(), 3, 48000});
    RecordingProvider provider;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < 50; ++i) {
            movie->decodeImageAtTime(i * kFrame, &provider);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 10; ++i) {
            EXPECT_FALSE(movie->thumbnailAtTime(i * 5 * kFrame, QSize(32, 24)).isNull());
        }
    });
    threads.emplace_back([&] {
        std::vector<float> buffer(2048);
        for (int i = 0; i < 60; ++i) {
            movie->readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, 1024);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 30; ++i) {
            movie->setBrightness(0.4f + 0.01f * (i % 3));
            movie->setRotate(i % 2 ? 90.0f : 0.0f);
        }
    });
    for (auto& t : threads) {
        t.join();
    }
    const QList<QImage> images = provider.wait(50);
    EXPECT_EQ(images.size(), 50);
    for (const QImage& image : images) {
        EXPECT_FALSE(image.isNull());
    }
}
