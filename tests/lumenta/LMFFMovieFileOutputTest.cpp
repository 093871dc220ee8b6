#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <vector>

#include "LumentaMedia.h"
#include "TestSupport.h"
#include "lumenta/LMDVD.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"

namespace {

LMFFMovieFileOutputFormat dvdFormat(bool pal, float aspect)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = pal ? 576 : 480;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 4000000;
    format.framerate = pal ? 25 : 30000;
    format.frameTime = pal ? 1 : 1001;
    format.aspect = aspect;
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    return format;
}

// Writes `frames` frames (a moving bar) and audio in 1024-frame blocks, the
// audio running ahead of the video like the converter's loop does.
bool writeTitle(const QString& path, const LMFFMovieFileOutputFormat& format, int frames,
                bool video = true, const QList<LMMediaTime>& keyFrameTimes = {})
{
    LMFFMovieFileOutput output;
    output.setPath(path);
    output.setMovieFormat(format);
    output.setKeyFrameTimes(keyFrameTimes);
    if (video) {
        output.openVideo();
        EXPECT_TRUE(output.isVideoOpen());
    }
    output.openAudio();
    EXPECT_TRUE(output.isAudioOpen());
    if (!output.startOutput()) {
        return false;
    }
    const LMFFAudioFormat in = output.audioInputFormat();
    EXPECT_EQ(in.sample_rate, 48000);
    EXPECT_EQ(lm_get_channel_layout_nb_channels(in.channel_layout), 2);
    auto context = output.createCGContext();
    std::vector<float> block(2048);
    const double seconds = static_cast<double>(frames) * format.frameTime / format.framerate;
    const int64_t samples = static_cast<int64_t>(seconds * 48000);
    int64_t written = 0;
    int frame = 0;
    while (written < samples || (video && frame < frames)) {
        const double audioTime = static_cast<double>(written) / 48000;
        const double videoTime = static_cast<double>(frame) * format.frameTime / format.framerate;
        if (video && frame < frames && (videoTime <= audioTime || written >= samples)) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkBlue);
            QPainter(&image).fillRect(frame % 64, 0, 4, 48, Qt::white);
            output.drawImage(image, *context);
            output.writeCGContext(*context);
            ++frame;
        } else {
            for (size_t i = 0; i < block.size(); ++i) {
                block[i] = 0.2f * static_cast<float>(std::sin((written + i / 2) * 0.05));
            }
            output.writeAudioData(reinterpret_cast<const uint8_t*>(block.data()));
            written += 1024;
        }
    }
    EXPECT_NEAR(lm_ff_time_to_double(output.video_output_time()), video ? seconds : 0.0, 0.001);
    return output.stopOutput();
}

// The video frames of a file as ffprobe reads them, with the given entries
// ("pict_type", say); empty when ffprobe fails.
QJsonArray probedFrames(const QString& path, const QString& entries)
{
    QString out;
    if (testsupport::runProgram("ffprobe",
                                {"-v", "error", "-select_streams", "v", "-show_entries",
                                 "frame=" + entries, "-of", "json", path},
                                &out) != 0) {
        return {};
    }
    return QJsonDocument::fromJson(out.toUtf8()).object()["frames"].toArray();
}

// The longest run of frames from an I-frame up to the next one.
int longestGroup(const QJsonArray& frames)
{
    int sinceKey = 0;
    int longest = 0;
    for (const auto& frame : frames) {
        sinceKey = frame.toObject()["pict_type"] == "I" ? 1 : sinceKey + 1;
        longest = qMax(longest, sinceKey);
    }
    return longest;
}

}  // namespace

TEST(LMFFMovieFileOutput, DvdStreamHasTheDvdParameters)
{
    struct Case {
        bool pal;
        float aspect;
        const char* sar;
        const char* rate;
    };
    for (const Case& c :
         {Case{true, 16.0f / 9.0f, "64:45", "25/1"}, Case{true, 4.0f / 3.0f, "16:15", "25/1"},
          Case{false, 16.0f / 9.0f, "32:27", "30000/1001"},
          Case{false, 4.0f / 3.0f, "8:9", "30000/1001"}}) {
        auto dir = testsupport::makeTempDir();
        const QString path = dir.filePath("title0.dvd");
        ASSERT_TRUE(writeTitle(path, dvdFormat(c.pal, c.aspect), 40));
        const QJsonObject info = testsupport::probeMedia(path);
        EXPECT_EQ(info["format"].toObject()["format_name"].toString(), "mpeg");
        int count = 0;
        for (const auto& s : info["streams"].toArray()) {
            const QJsonObject stream = s.toObject();
            if (stream["codec_type"] != "video" && stream["codec_type"] != "audio") {
                continue;  // the DVD navigation packets
            }
            ++count;
            if (stream["codec_type"] == "video") {
                EXPECT_EQ(stream["codec_name"].toString(), "mpeg2video");
                EXPECT_EQ(stream["pix_fmt"].toString(), "yuv420p");
                EXPECT_EQ(stream["width"].toInt(), 720);
                EXPECT_EQ(stream["height"].toInt(), c.pal ? 576 : 480);
                EXPECT_EQ(stream["sample_aspect_ratio"].toString(), c.sar);
                EXPECT_EQ(stream["r_frame_rate"].toString(), c.rate);
                bool buffer = false;
                for (const auto& side : stream["side_data_list"].toArray()) {
                    const QJsonObject cpb = side.toObject();
                    if (cpb["side_data_type"] == "CPB properties") {
                        buffer = true;
                        EXPECT_LE(cpb["max_bitrate"].toInt(), 9000000);
                        EXPECT_GT(cpb["max_bitrate"].toInt(), 0);
                        EXPECT_EQ(cpb["buffer_size"].toInt(), 1835008);
                    }
                }
                EXPECT_TRUE(buffer);
            } else {
                EXPECT_EQ(stream["codec_name"].toString(), "ac3");
                EXPECT_EQ(stream["sample_rate"].toString(), "48000");
                EXPECT_EQ(stream["channels"].toInt(), 2);
                EXPECT_EQ(stream["bit_rate"].toString(), "448000");
            }
        }
        EXPECT_EQ(count, 2);
        // Groups of pictures of at most 15 (PAL) or 18 (NTSC) frames.
        const QJsonArray frames = probedFrames(path, "pict_type");
        EXPECT_EQ(frames.size(), 40);
        const int longest = longestGroup(frames);
        EXPECT_LE(longest, c.pal ? 15 : 18);
        EXPECT_GE(longest, c.pal ? 14 : 18);
        // 2048-byte packs.
        EXPECT_EQ(QFileInfo(path).size() % 2048, 0);
    }
}

// Chapter points: the frame nearest each time asked opens a group of its own
// and is the first picture of it shown, so no picture before it is coded
// after it (a chapter that starts there shows nothing of the one before),
// and a navigation pack comes right before it: a video unit starts there, so
// an authored cell can.
TEST(LMFFMovieFileOutput, KeyFrameTimesOpenGroupsOnTheirOwnPicture)
{
    struct Case {
        bool pal;
        QList<LMMediaTime> times;
        QList<int> frames;  // where those times land
    };
    const LMMediaTime second = lm_default_time_base();
    for (const Case& c : {Case{true, {second, 23 * second / 10, 3 * second}, {25, 58, 75}},
                          Case{false, {second, 23 * second / 10, 3 * second}, {30, 69, 90}}}) {
        SCOPED_TRACE(c.pal ? "PAL" : "NTSC");
        auto dir = testsupport::makeTempDir();
        const QString path = dir.filePath("title0.dvd");
        ASSERT_TRUE(writeTitle(path, dvdFormat(c.pal, 16.0f / 9.0f), 100, true, c.times));
        const QJsonArray frames = probedFrames(path, "pict_type,coded_picture_number");
        ASSERT_EQ(frames.size(), 100);
        EXPECT_LE(longestGroup(frames), c.pal ? 15 : 18);
        for (const int n : c.frames) {
            const QJsonObject key = frames[n].toObject();
            const QJsonObject before = frames[n - 1].toObject();
            EXPECT_EQ(key["pict_type"].toString(), "I") << "frame " << n;
            EXPECT_LT(before["coded_picture_number"].toInt(), key["coded_picture_number"].toInt())
                << "frame " << n - 1 << " is coded after the key frame " << n;
        }
        // Each key frame asked for starts right after a navigation pack (a
        // pack with the system header and the PCI packet).
        QString packets;
        ASSERT_EQ(testsupport::runProgram("ffprobe",
                                          {"-v", "error", "-select_streams", "v", "-show_entries",
                                           "packet=pts_time,pos", "-of", "csv=p=0", path},
                                          &packets),
                  0);
        QList<std::pair<double, qint64>> videoPackets;  // in the file's order
        for (const QString& line : packets.split('\n', Qt::SkipEmptyParts)) {
            videoPackets.append(
                {line.section(',', 0, 0).toDouble(), line.section(',', 1, 1).toLongLong()});
        }
        ASSERT_FALSE(videoPackets.isEmpty());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const double start = videoPackets.first().first;
        const double frame = c.pal ? 1.0 / 25 : 1001.0 / 30000;
        for (const int n : c.frames) {
            const auto at = std::find_if(
                videoPackets.begin(), videoPackets.end(),
                [&](const auto& p) { return std::fabs(p.first - start - n * frame) < 0.001; });
            ASSERT_NE(at, videoPackets.end()) << "no packet of frame " << n;
            const QByteArray pack = bytes.mid((at->second / 2048 - 1) * 2048, 2048);
            EXPECT_TRUE(pack.mid(14, 4) == QByteArray("\x00\x00\x01\xbb", 4) &&
                        pack.contains(QByteArray("\x00\x00\x01\xbf", 4)))
                << "no navigation pack before frame " << n;
        }
    }
}

class Authoring : public ::testing::TestWithParam<bool> {};

// A title authored with a chapter at 2 s and a last cell ending at the
// stream's own length keeps its full length. The end is written in
// milliseconds, rounded up: an NTSC length cut to hundredths lies before the
// last frame's end, and dvdauthor then drops the last video unit.
TEST_P(Authoring, DvdauthorAcceptsItAndCellTimesMatchTheContent)
{
    const bool pal = GetParam();
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("title0.dvd");
    const int frames = pal ? 102 : 122;  // 4.08 s, 4.07 s
    const double length = pal ? 4.08 : 122 * 1001.0 / 30000.0;
    ASSERT_TRUE(writeTitle(path, dvdFormat(pal, 16.0f / 9.0f), frames));
    QFile xml(dir.filePath("author.xml"));
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write(QStringLiteral(
                  "<dvdauthor dest=\"dvd\"><vmgm/><titleset><titles><pgc><vob file=\"title0.dvd\">"
                  "<cell start=\"00:00:00.00\" end=\"00:00:02.00\" chapter=\"yes\"/>"
                  "<cell start=\"00:00:02.00\" end=\"00:00:%1\" chapter=\"yes\"/>"
                  "</vob></pgc></titles></titleset></dvdauthor>")
                  .arg(std::ceil(length * 1000) / 1000, 6, 'f', 3, QLatin1Char('0'))
                  .toUtf8());
    xml.close();
    const QString dvdauthor = QStandardPaths::findExecutable("dvdauthor");
    ASSERT_FALSE(dvdauthor.isEmpty()) << "dvdauthor is not installed";
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment env;
    env.insert("VIDEO_FORMAT", pal ? "PAL" : "NTSC");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(dvdauthor, {"-x", "author.xml"});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString log = QString::fromLocal8Bit(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << log.toStdString();
    EXPECT_FALSE(log.contains("ERR:")) << log.toStdString();

    auto disc = LMDVD::open(dir.filePath("dvd"));
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titleSources().size(), 1);
    const Value::Dictionary title = disc->titleSources().first().dictionary();
    EXPECT_NEAR(title["duration"].toDouble().value_or(0), length, 0.041);
    const Value::Array starts = title["chapterStarts"].array();
    ASSERT_EQ(starts.size(), 2);
    EXPECT_NEAR(starts[0].toDouble().value_or(-1), 0.0, 0.001);
    EXPECT_NEAR(starts[1].toDouble().value_or(-1), 2.0, 0.6);

    // An image of the disc reads the same.
    const QString iso = dir.filePath("disc.iso");
    QString isoLog;
    ASSERT_EQ(testsupport::runProgram(
                  "mkisofs", {"-dvd-video", "-quiet", "-o", iso, dir.filePath("dvd")}, &isoLog),
              0)
        << isoLog.toStdString();
    auto image = LMDVD::open(iso);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->titleSources().size(), 1);
    EXPECT_TRUE(LMMediaSource::mediaWithPath(iso)->isDVD());

    // The authored folder opens as a DVD source too.
    auto source = LMMediaSource::mediaWithPath(dir.filePath("dvd"));
    EXPECT_TRUE(source->isDVD());
    const QList<LMMedia::Ptr> medias = source->createMedias();
    ASSERT_EQ(medias.size(), 1);
    EXPECT_EQ(medias.first()->value("title_set.display_aspect_ratio").toString(), "16:9");
    auto movie = LMFFMovie::create();
    movie->openMedias(medias);
    EXPECT_TRUE(movie->hasVideo());
    EXPECT_FALSE(movie->thumbnailAtTime(lm_default_time_base(), QSize(72, 57)).isNull());
}

INSTANTIATE_TEST_SUITE_P(Lumenta, Authoring, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "PAL" : "NTSC"; });

TEST(LMDVD, NoDiscGivesNull)
{
    auto dir = testsupport::makeTempDir();
    EXPECT_EQ(LMDVD::open(dir.path()), nullptr);
    EXPECT_EQ(LMDVD::open(dir.filePath("missing.iso")), nullptr);
    EXPECT_FALSE(LMMediaSource::mediaWithPath(dir.path())->isDVD());
}

TEST(LMFFMovieFileOutput, AudioOnlyDvdReopensAsAMovie)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("music.dvd");
    ASSERT_TRUE(writeTitle(path, dvdFormat(true, 16.0f / 9.0f), 50, false));
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias());
    EXPECT_FALSE(movie->hasVideo());
    ASSERT_TRUE(movie->hasAudio());
    EXPECT_STREQ(lm_get_codec_name_by_id(movie->audioCodec()), "ac3");
    EXPECT_NEAR(lm_ff_time_to_double(movie->duration()), 2.0, 0.1);
}

TEST(LMFFMovieFileOutput, UnwritablePathFailsToStart)
{
    LMFFMovieFileOutput output;
    output.setPath("/nonexistent-folder/title0.dvd");
    output.setMovieFormat(dvdFormat(true, 16.0f / 9.0f));
    output.openVideo();
    output.openAudio();
    EXPECT_FALSE(output.startOutput());
    EXPECT_FALSE(output.stopOutput());
}

TEST(LMFFMovieFileOutput, FullDiskFailsAndLeavesNoFile)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("title0.dvd");
    ASSERT_TRUE(QFile::link("/dev/full", path));
    EXPECT_FALSE(writeTitle(path, dvdFormat(true, 16.0f / 9.0f), 25));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
}
