// The composed road against the pictures it must write, and the DVD writer's
// rate control against the ffmpeg command line.
//
// The reference pictures are made one by one, the plain way: the movie's own
// edited picture (a waited-for request, edited on the movie's worker), drawn
// stretched over a black frame with QPainter, converted to YUV by ffmpeg's
// bicubic scaler. The road edits frames side by side, draws them through the
// context pool and converts them in the writer; it must come out the same
// within the rounding of the conversions.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cstdlib>

#include "TestSupport.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"

namespace {

constexpr LMMediaTime kFrame = 40000;  // 25 frames a second
constexpr int kWidth = 720;
constexpr int kHeight = 576;

class Finish : public VCVideoConverterDelegate {
public:
    void converterDidFinished(VCVideoConverter*) override { done = true; }
    bool done = false;
};

// Keeps the edited picture of a waited-for request.
class Grab : public IFrameProvider {
public:
    void mediaEffectImage(IMovie*, const QImage& image) override { picture = image; }
    QImage picture;
};

bool convert(const VCMovie::Ptr& item, const QString& path, const LMFFMovieFileOutputFormat& format)
{
    Finish finish;
    auto job = VCVideoConverter::create();
    job->setMovies({item});
    job->setDelegate(&finish);
    job->setPath(path);
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (!finish.done && timer.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    job->setDelegate(nullptr);
    return finish.done && job->succeeded();
}

// 720x576 25 fps without sound, lossless (FFV1 in Matroska) so that the
// pictures can be read back as they were handed to the encoder.
LMFFMovieFileOutputFormat losslessFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = kWidth;
    format.height = kHeight;
    format.video_codec = lm_get_codec_id_by_name("ffv1");
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 16.0f / 9.0f;
    format.sample_rate = 0;
    return format;
}

// The frames of a video file as raw yuv420p, through ffmpeg.
QByteArray rawFrames(const QStringList& input, const QString& scratch)
{
    QString log;
    const int code = testsupport::runProgram(
        "ffmpeg",
        QStringList{"-hide_banner", "-loglevel", "error", "-y"} + input +
            QStringList{"-sws_flags", "bicubic", "-pix_fmt", "yuv420p", "-f", "rawvideo", scratch},
        &log);
    EXPECT_EQ(code, 0) << qPrintable(log);
    QFile file(scratch);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture drawn over a black output frame, the plain way.
QImage drawnFrame(const QImage& picture)
{
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(frame.rect(), Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(frame.rect()), picture);
    return frame;
}

struct Edit {
    const char* name;
    std::function<void(IMovie&)> apply;
};

class ConverterComposedRoad : public ::testing::TestWithParam<Edit> {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir().path() + "-composed");
        // Fine texture that moves, so that resampling differences would show.
        ASSERT_TRUE(testsupport::generateMedia(
            clip(), {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=1.2", "-vf",
                     "noise=alls=12:allf=t", "-c:v", "libx264", "-preset", "veryfast", "-crf", "18",
                     "-pix_fmt", "yuv420p"}));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static QString clip() { return s_dir->filePath("clip.mp4"); }
    static VCMovie::Ptr editedItem(const Edit& edit)
    {
        auto item = VCMovie::movieWithPath(clip());
        EXPECT_TRUE(item);
        if (item) {
            item->setVideoOutputSize(QSizeF(854, 480));
            edit.apply(*item->movie());
        }
        return item;
    }

    QTemporaryDir m_out = testsupport::makeTempDir();
    static QTemporaryDir* s_dir;
};

QTemporaryDir* ConverterComposedRoad::s_dir = nullptr;

TEST_P(ConverterComposedRoad, WritesThePicturesDrawnOneByOne)
{
    const Edit edit = GetParam();
    const QString written = m_out.filePath("title.mkv");
    ASSERT_TRUE(convert(editedItem(edit), written, losslessFormat()));

    // The reference: each frame's picture asked for and drawn on its own.
    auto reference = editedItem(edit);
    ASSERT_TRUE(reference);
    Grab grab;
    QFile drawn(m_out.filePath("reference.bgra"));
    ASSERT_TRUE(drawn.open(QIODevice::WriteOnly));
    const int frames = 30;  // 1.2 s
    for (int i = 0; i < frames; ++i) {
        grab.picture = QImage();
        reference->movie()->decodeImageAtTime(i * kFrame, &grab, true);
        ASSERT_FALSE(grab.picture.isNull()) << "frame " << i;
        const QImage frame = drawnFrame(grab.picture);
        for (int y = 0; y < frame.height(); ++y) {
            drawn.write(reinterpret_cast<const char*>(frame.constScanLine(y)), kWidth * 4);
        }
    }
    drawn.close();

    const QByteArray ours = rawFrames({"-i", written}, m_out.filePath("ours.yuv"));
    const QByteArray plain = rawFrames(
        {"-f", "rawvideo", "-pix_fmt", "bgra", "-s", "720x576", "-r", "25", "-i", drawn.fileName()},
        m_out.filePath("plain.yuv"));
    const qsizetype frameBytes = kWidth * kHeight * 3 / 2;
    ASSERT_EQ(plain.size(), frames * frameBytes);
    ASSERT_EQ(ours.size(), plain.size()) << "frames written: " << ours.size() / frameBytes;
    int worst = 0;
    qint64 differing = 0;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const int difference =
            std::abs(static_cast<uint8_t>(ours[i]) - static_cast<uint8_t>(plain[i]));
        worst = qMax(worst, difference);
        differing += difference != 0;
    }
    // Rounding only: a level or two here and there, never a different picture.
    EXPECT_LE(worst, 2) << edit.name;
    EXPECT_LT(differing, plain.size() / 100) << edit.name;
}

INSTANTIATE_TEST_SUITE_P(Media, ConverterComposedRoad,
                         ::testing::Values(Edit{"flip", [](IMovie& m) { m.setHflip(true); }},
                                           Edit{"colour and crop",
                                                [](IMovie& m) {
                                                    m.setBrightness(0.6f);
                                                    m.setSaturation(0.3f);
                                                    m.setCropRect(QRectF(40, 30, 500, 300));
                                                }},
                                           Edit{"rotation", [](IMovie& m) { m.setRotate(12.0f); }}),
                         [](const ::testing::TestParamInfo<Edit>& info) {
                             return QString(info.param.name).replace(' ', '_').toStdString();
                         });

// --- Rate control ---

double videoBitrate(const QString& path)
{
    QString out;
    EXPECT_EQ(testsupport::runProgram("ffprobe",
                                      {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                       "packet=pts_time,size", "-of", "csv=p=0", path},
                                      &out),
              0);
    double first = 0, last = 0, bytes = 0;
    int packets = 0;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.trimmed().split(',');
        bool timed = false;
        const double time = fields.value(0).toDouble(&timed);
        if (fields.size() < 2 || !timed) {
            continue;
        }
        first = packets == 0 ? time : qMin(first, time);
        last = packets == 0 ? time : qMax(last, time);
        bytes += fields.value(1).toDouble();
        ++packets;
    }
    return packets > 1 ? bytes * 8 / ((last - first) * packets / (packets - 1)) : 0.0;
}

double psnrAgainst(const QString& path, const QString& source)
{
    QString log;
    EXPECT_EQ(
        testsupport::runProgram("ffmpeg",
                                {"-hide_banner", "-nostats", "-i", path, "-i", source, "-lavfi",
                                 "[0:v]setpts=PTS-STARTPTS[a];[1:v]setpts=PTS-STARTPTS[b];"
                                 "[a][b]psnr=shortest=1",
                                 "-f", "null", "-"},
                                &log),
        0);
    const QRegularExpressionMatch match = QRegularExpression("average:([0-9.]+)").match(log);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

// A DVD title of content that needs the bits (a grainy moving picture) spends
// the bitrate asked, within 10 %, and scores at least what the command line
// scores on the same frames.
TEST(DvdRateControl, SpendsTheRateAskedAtTheCommandLinesQualityOrBetter)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString source = dir.filePath("grain.mp4");
    // Moving colour gradients under a drifting fine grain, with the test
    // shapes over them and a light noise that changes every frame.
    ASSERT_TRUE(testsupport::generateMedia(
        source, {"-f", "lavfi", "-i", "gradients=s=720x576:r=25:d=8:speed=0.02:n=5:seed=7", "-f",
                 "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=8", "-filter_complex",
                 "[0:v]format=yuv420p,noise=c0s=10:c0f=p,scroll=h=0.0006:v=0.0003[g];"
                 "[1:v]format=yuv420p[s];[g][s]blend=all_mode=average,noise=alls=2:allf=t",
                 "-c:v", "libx264", "-preset", "veryfast", "-crf", "14", "-pix_fmt", "yuv420p"}));
    const QString cli = dir.filePath("cli.mpg");
    QString log;
    ASSERT_EQ(testsupport::runProgram("ffmpeg",
                                      {"-hide_banner", "-loglevel", "error", "-y", "-i", source,
                                       "-target", "pal-dvd", "-aspect", "16:9", "-an", cli},
                                      &log),
              0)
        << qPrintable(log);

    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = kWidth;
    format.height = kHeight;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 6000000;
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 16.0f / 9.0f;
    format.channel_layout = lm_get_channel_layout_by_name("stereo");
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    const QString ours = dir.filePath("title/title0.dvd");
    ASSERT_TRUE(convert(VCMovie::movieWithPath(source), ours, format));

    const double rate = videoBitrate(ours);
    EXPECT_GT(rate, 0.9 * format.video_bitrate);
    EXPECT_LT(rate, 1.1 * format.video_bitrate);
    const double ourPsnr = psnrAgainst(ours, source);
    const double cliPsnr = psnrAgainst(cli, source);
    EXPECT_GT(cliPsnr, 20.0);
    EXPECT_GE(ourPsnr, cliPsnr) << "ours " << ourPsnr << " dB at " << rate / 1e6
                                << " Mbit/s, the command line " << cliPsnr << " dB at "
                                << videoBitrate(cli) / 1e6 << " Mbit/s";
}

}  // namespace
