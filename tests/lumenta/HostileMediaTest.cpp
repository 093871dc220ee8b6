// Media that a phone, a careless encoder or a damaged disk hands the program:
// a video recorded with a rotation flag, files whose streams hold no data,
// MP3s whose length is only a guess, names that are not UTF-8, files that
// turn into named pipes or links to devices.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

#include "FFmpeg.h"
#include "PipeWatch.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaSource.h"

namespace {

QStringList lavfi(const QString& graph)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), graph};
}

// A 160 x 90 clip, red on its left half and blue on its right, stored
// landscape with a display matrix that turns it a quarter counter-clockwise:
// upright it is 90 x 160, blue on top and red below.
QString rotatedClip(const QTemporaryDir& dir)
{
    const QString plain = dir.filePath("plain.mp4");
    const QString turned = dir.filePath("portrait.mp4");
    EXPECT_TRUE(testsupport::generateMedia(
        plain, lavfi("color=c=red:size=160x90:rate=25:duration=1[a];"
                     "color=c=blue:size=80x90:rate=25:duration=1[b];[a][b]overlay=x=80") +
                   QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p"}));
    EXPECT_TRUE(testsupport::generateMedia(
        turned, {"-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90"}));
    return turned;
}

bool reddish(const QColor& c)
{
    return c.red() > 180 && c.blue() < 80;
}

bool bluish(const QColor& c)
{
    return c.blue() > 180 && c.red() < 80;
}

QByteArray emptyWav()
{
    QByteArray wav("RIFF");
    auto u32 = [&wav](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            wav.append(static_cast<char>((v >> (8 * i)) & 0xff));
        }
    };
    auto u16 = [&wav](quint16 v) {
        wav.append(static_cast<char>(v & 0xff));
        wav.append(static_cast<char>(v >> 8));
    };
    u32(36);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);       // PCM
    u16(2);       // stereo
    u32(48000);   // rate
    u32(192000);  // bytes per second
    u16(4);
    u16(16);
    wav.append("data");
    u32(0);
    return wav;
}

}  // namespace

TEST(HostileMedia, RotatedVideoIsReportedAndShownUpright)
{
    auto dir = testsupport::makeTempDir();
    const QString path = rotatedClip(dir);
    auto source = LMMediaSource::mediaWithPath(path);
    const auto medias = source->createMedias();
    ASSERT_EQ(medias.size(), 1);
    ASSERT_FALSE(medias.first()->videos().isEmpty());
    auto movie = LMFFMovie::create();
    ASSERT_TRUE(movie->openMedias(medias));
    EXPECT_EQ(movie->videoSize(), QSizeF(90, 160));

    const QImage thumbnail = movie->thumbnailAtTime(LMMediaTime(500000), QSize(90, 160));
    testsupport::writeArtifact(thumbnail, "rotated-thumbnail.png");
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_GT(thumbnail.height(), thumbnail.width()) << "portrait";
    const int x = thumbnail.width() / 2;
    EXPECT_TRUE(bluish(thumbnail.pixelColor(x, thumbnail.height() / 8)));
    EXPECT_TRUE(reddish(thumbnail.pixelColor(x, thumbnail.height() * 7 / 8)));

    // The user's own quarter turn comes after the stream's: landscape again,
    // blue now on the left.
    movie->setRotate(90);
    const QImage turned = movie->thumbnailAtTime(LMMediaTime(500000), QSize(160, 90));
    ASSERT_FALSE(turned.isNull());
    EXPECT_GT(turned.width(), turned.height());
    EXPECT_TRUE(bluish(turned.pixelColor(turned.width() / 8, turned.height() / 2)));
    EXPECT_TRUE(reddish(turned.pixelColor(turned.width() * 7 / 8, turned.height() / 2)));
}

TEST(HostileMedia, FilesWithoutMediaDataAreRefusedWithAReason)
{
    auto dir = testsupport::makeTempDir();
    // The index of an MP4 whose media data was cut off: streams and a length,
    // but not one packet.
    const QString whole = dir.filePath("whole.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        whole, lavfi("testsrc=size=64x48:rate=25:duration=4") +
                   QStringList{"-c:v", "libx264", "-movflags", "+faststart"}));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray content = in.readAll();
    const qsizetype mdat = content.indexOf("mdat");
    ASSERT_GT(mdat, 0);
    const QString headOnly = dir.filePath("head-only.mp4");
    QFile out(headOnly);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(content.left(mdat + 4));
    out.close();

    const QString silent = dir.filePath("empty.wav");
    QFile wav(silent);
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.write(emptyWav());
    wav.close();

    for (const QString& path : {headOnly, silent}) {
        SCOPED_TRACE(path.toStdString());
        auto source = LMMediaSource::mediaWithPath(path);
        EXPECT_TRUE(source->createMedias().isEmpty());
        EXPECT_EQ(source->errorString(), "the file holds no audio or video data");
    }

    auto source = LMMediaSource::mediaWithPath(QFile::decodeName("/tmp/caf\xe9-clip.mp4"));
    EXPECT_TRUE(source->createMedias().isEmpty());
    EXPECT_EQ(source->errorString(), "the file name is not valid UTF-8; rename the file");

    auto good = LMMediaSource::mediaWithPath(whole);
    EXPECT_EQ(good->createMedias().size(), 1);
    EXPECT_TRUE(good->errorString().isEmpty());
}

TEST(HostileMedia, GuessedAudioLengthsAreMeasured)
{
    auto dir = testsupport::makeTempDir();
    // Variable bit rate without a header that tells the length: quiet first
    // frames make the bit-rate guess far too long.
    const QString vbr = dir.filePath("vbr.mp3");
    ASSERT_TRUE(testsupport::generateMedia(
        vbr, lavfi("anoisesrc=d=6:a=0.8:r=44100") +
                 QStringList{"-af", "volume=enable='lt(t,2)':volume=0", "-c:a", "libmp3lame",
                             "-q:a", "0", "-write_xing", "0"}));
    // A constant bit rate file with a header claiming 10 s, cut after about 5 s.
    const QString whole = dir.filePath("whole.mp3");
    ASSERT_TRUE(testsupport::generateMedia(
        whole, lavfi("sine=frequency=440:sample_rate=44100:duration=10") +
                   QStringList{"-c:a", "libmp3lame", "-b:a", "128k"}));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray content = in.readAll();
    const QString cut = dir.filePath("cut.mp3");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(content.left(content.size() / 2));
    out.close();

    const struct {
        QString path;
        double seconds;
    } cases[] = {{vbr, 6.0}, {cut, 5.0}, {whole, 10.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        auto movie = LMFFMovie::create();
        ASSERT_TRUE(movie->openMedias(LMMediaSource::mediaWithPath(c.path)->createMedias()));
        EXPECT_NEAR(lm_ff_time_to_double(movie->duration()), c.seconds, 0.15);
    }
}

// A movie's file replaced, after it was opened, by a named pipe or a link to
// an endless device: the readers the movie opens later (its thumbnails, its
// sound) refuse it at once rather than wait on the pipe for a writer, and so
// does every other opening of a container, one part of a joined file too.
TEST(HostileMedia, FilesThatTurnIntoSpecialFilesAreNotOpened)
{
    struct Special {
        const char* name;
        int (*make)(const char* path);
    };
    const Special specials[] = {
        {"named pipe", [](const char* path) { return ::mkfifo(path, 0644); }},
        {"link to /dev/zero", [](const char* path) { return ::symlink("/dev/zero", path); }},
    };
    for (const Special& special : specials) {
        SCOPED_TRACE(special.name);
        auto dir = testsupport::makeTempDir();
        const QString clip = dir.filePath("clip.mp4");
        ASSERT_TRUE(testsupport::makeTestClip(clip, 1.0));
        const QString whole = dir.filePath("whole.mp4");
        ASSERT_TRUE(QFile::copy(clip, whole));
        auto movie = LMFFMovie::create();
        ASSERT_TRUE(movie->open(clip));
        ASSERT_TRUE(movie->hasVideo() && movie->hasAudio());
        movie->configOutputFormat(
            {lm_get_default_sample_fmt(), lm_get_channel_layout_by_name("stereo"), 48000});
        ASSERT_TRUE(QFile::rename(clip, dir.filePath("moved.mp4")));
        ASSERT_EQ(special.make(QFile::encodeName(clip).constData()), 0);

        testsupport::PipeWatch watch(clip, "a reader of the movie");
        EXPECT_TRUE(movie->thumbnailAtTime(LMMediaTime(500000), QSize(80, 60)).isNull());
        std::vector<float> samples(2 * 1024);
        EXPECT_FALSE(movie->readSample(reinterpret_cast<uint8_t*>(samples.data()), 0, 1024));
        EXPECT_FALSE(lumenta::openInput(clip));
        EXPECT_FALSE(lumenta::openInput("concat:" + whole + "|" + clip));
        EXPECT_TRUE(lumenta::openInput(whole));
    }
}
