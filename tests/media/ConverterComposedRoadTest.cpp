// The composed road against the pictures it must write, and the DVD writer's
// rate control against the ffmpeg command line.
//
// The reference pictures are made one by one, the plain way: the movie's own
// edited picture (a waited-for request, edited on the movie's worker, asked
// for the output frame as the road asks for it), drawn stretched over a black
// frame with QPainter, converted to YUV by ffmpeg's scaler. The road
// edits frames side by side, draws them through the context pool and converts
// them in the writer; it must come out the same within the rounding of the
// conversions.

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
extern "C" {
#include <libavutil/frame.h>
}
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

// Keeps the edited picture of a waited-for request, asked for `surface`.
// Takes the edited picture as the converter does: for a surface, a picture
// that covers it may come as the edits' own 4:2:0 frame.
class Grab : public IFrameProvider {
public:
    void mediaEffectImage(IMovie*, const QImage& image) override { picture = image; }
    QSize drawingSurfaceSize(IMovie*) const override { return surface; }
    bool takesSurfaceFrames(IMovie*) const override { return surface.isValid(); }
    void mediaEffectFrame(IMovie*, const std::shared_ptr<const AVFrame>& given) override
    {
        frame = given;
    }
    // The frame's planes, packed.
    QByteArray frameBytes() const
    {
        QByteArray bytes;
        for (int plane = 0; plane < 3; ++plane) {
            const int width = plane ? frame->width / 2 : frame->width;
            const int height = plane ? frame->height / 2 : frame->height;
            for (int y = 0; y < height; ++y) {
                bytes.append(
                    reinterpret_cast<const char*>(frame->data[plane] + y * frame->linesize[plane]),
                    width);
            }
        }
        return bytes;
    }
    QImage picture;
    std::shared_ptr<const AVFrame> frame;
    QSize surface;
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

// The frames of a video file as raw yuv420p, through ffmpeg; pictures are
// brought to 4:2:0 by area, as the writer brings its drawing contexts.
QByteArray rawFrames(const QStringList& input, const QString& scratch)
{
    QString log;
    const int code = testsupport::runProgram(
        "ffmpeg",
        QStringList{"-hide_banner", "-loglevel", "error", "-y"} + input +
            QStringList{"-sws_flags", "area", "-pix_fmt", "yuv420p", "-f", "rawvideo", scratch},
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

// The worst and the mean difference between the 16 x 16 block means of the
// luma planes of two runs of yuv420p frames, the outermost 8 pixels left out.
struct BlockDifference {
    double worst = 0;
    double mean = 0;
};

BlockDifference lumaBlockDifference(const QByteArray& a, const QByteArray& b, int frames)
{
    constexpr int Block = 16;
    const qsizetype frameBytes = kWidth * kHeight * 3 / 2;
    BlockDifference result;
    int blocks = 0;
    for (int f = 0; f < frames; ++f) {
        const auto* pa = reinterpret_cast<const uint8_t*>(a.constData()) + f * frameBytes;
        const auto* pb = reinterpret_cast<const uint8_t*>(b.constData()) + f * frameBytes;
        for (int by = Block / 2; by + Block <= kHeight - Block / 2; by += Block) {
            for (int bx = Block / 2; bx + Block <= kWidth - Block / 2; bx += Block) {
                int sumA = 0;
                int sumB = 0;
                for (int y = by; y < by + Block; ++y) {
                    for (int x = bx; x < bx + Block; ++x) {
                        sumA += pa[y * kWidth + x];
                        sumB += pb[y * kWidth + x];
                    }
                }
                const double difference = std::abs(sumA - sumB) / double(Block * Block);
                result.worst = qMax(result.worst, difference);
                result.mean += difference;
                ++blocks;
            }
        }
    }
    result.mean /= qMax(blocks, 1);
    return result;
}

TEST_P(ConverterComposedRoad, WritesThePicturesDrawnOneByOne)
{
    const Edit edit = GetParam();
    const QString written = m_out.filePath("title.mkv");
    ASSERT_TRUE(convert(editedItem(edit), written, losslessFormat()));

    // The references: each frame's picture asked for and drawn on its own
    // (taken as the edits' own frame where it covers the frame, as the flip's
    // does, so that it is written unconverted),
    // once for the output frame (as the road asks for it) and once at the
    // canvas size alone (as it was drawn before pictures were asked for the
    // frame they are drawn on).
    auto reference = editedItem(edit);
    ASSERT_TRUE(reference);
    Grab grab;
    QFile drawn(m_out.filePath("reference.bgra"));
    QFile canvas(m_out.filePath("canvas.bgra"));
    ASSERT_TRUE(drawn.open(QIODevice::WriteOnly));
    ASSERT_TRUE(canvas.open(QIODevice::WriteOnly));
    const int frames = 30;   // 1.2 s
    QByteArray drawnFrames;  // the pictures that came as frames of the surface
    for (int i = 0; i < frames; ++i) {
        for (QFile* file : {&drawn, &canvas}) {
            grab.picture = QImage();
            grab.frame.reset();
            grab.surface = file == &drawn ? QSize(kWidth, kHeight) : QSize();
            reference->movie()->decodeImageAtTime(i * kFrame, &grab, true);
            if (grab.frame) {
                ASSERT_EQ(grab.frame->format, AV_PIX_FMT_YUV420P);
                drawnFrames += grab.frameBytes();
                continue;
            }
            ASSERT_FALSE(grab.picture.isNull()) << "frame " << i;
            const QImage frame = drawnFrame(grab.picture);
            for (int y = 0; y < frame.height(); ++y) {
                file->write(reinterpret_cast<const char*>(frame.constScanLine(y)), kWidth * 4);
            }
        }
    }
    drawn.close();
    canvas.close();

    const auto rawDrawn = [&](const QFile& file, const QString& scratch) {
        return rawFrames({"-f", "rawvideo", "-pix_fmt", "bgra", "-s", "720x576", "-r", "25", "-i",
                          file.fileName()},
                         m_out.filePath(scratch));
    };
    const QByteArray ours = rawFrames({"-i", written}, m_out.filePath("ours.yuv"));
    const qsizetype frameBytes = kWidth * kHeight * 3 / 2;
    // Every picture as a frame or every one as an image.
    ASSERT_TRUE(drawnFrames.isEmpty() || drawnFrames.size() == frames * frameBytes);
    const QByteArray plain = drawnFrames.isEmpty() ? rawDrawn(drawn, "plain.yuv") : drawnFrames;
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

    // Against the pictures drawn from the canvas size: finer, nothing moved.
    // (Only the frame's edge may differ: a 16:9 picture on the 854 x 480
    // canvas had a bar one canvas pixel wide at its right, less than a pixel
    // of the frame, which the frame no longer shows.)
    const QByteArray before = rawDrawn(canvas, "canvas.yuv");
    ASSERT_EQ(before.size(), plain.size());
    // The canvas pictures also came out up to a level darker: libswscale's
    // quick conversion to BGRA rounds down.
    const BlockDifference blocks = lumaBlockDifference(ours, before, frames);
    EXPECT_LT(blocks.worst, 8.0) << edit.name;
    EXPECT_LT(blocks.mean, 1.5) << edit.name;
}

INSTANTIATE_TEST_SUITE_P(Media, ConverterComposedRoad,
                         ::testing::Values(Edit{"flip", [](IMovie& m) { m.setHflip(true); }},
                                           Edit{"colour and crop",
                                                [](IMovie& m) {
                                                    m.setBrightness(0.6f);
                                                    m.setSaturation(0.3f);
                                                    m.setCropRect(QRectF(40, 30, 500, 300));
                                                }},
                                           Edit{"rotation", [](IMovie& m) { m.setRotate(12.0f); }},
                                           // Covers the frame, but is drawn over: not
                                           // written as the edits' own frame.
                                           Edit{"flip under a watermark",
                                                [](IMovie& m) {
                                                    m.setHflip(true);
                                                    QImage mark(
                                                        120, 60,
                                                        QImage::Format_ARGB32_Premultiplied);
                                                    mark.fill(QColor(200, 30, 30));
                                                    m.setWatermark(LMPicture{mark, {40, 40}});
                                                }}),
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

// The PSNR of the video of `path` against `source` passed through the
// filters `reference` (such as "hflip", or "null" for none).
double psnrAgainst(const QString& path, const QString& source,
                   const QString& reference = QStringLiteral("null"))
{
    QString log;
    EXPECT_EQ(testsupport::runProgram(
                  "ffmpeg",
                  {"-hide_banner", "-nostats", "-i", path, "-i", source, "-lavfi",
                   QStringLiteral("[0:v]setpts=PTS-STARTPTS[a];[1:v]%1,setpts=PTS-STARTPTS[b];"
                                  "[a][b]psnr=shortest=1")
                       .arg(reference),
                   "-f", "null", "-"},
                  &log),
              0);
    const QRegularExpressionMatch match = QRegularExpression("average:([0-9.]+)").match(log);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

// A DVD title of content that needs the bits (a grainy moving picture) spends
// the bitrate asked, within 10 %, and scores at least what the command line
// scores on the same frames: taken straight from the decoder, and composed
// (flipped, so that every frame is edited and drawn; scored against the
// flipped source).
class DvdRateControl : public ::testing::TestWithParam<bool> {};

TEST_P(DvdRateControl, SpendsTheRateAskedAtTheCommandLinesQualityOrBetter)
{
    const bool composed = GetParam();
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
    const VCMovie::Ptr item = VCMovie::movieWithPath(source);
    ASSERT_TRUE(item);
    if (composed) {
        item->setVideoOutputSize(QSizeF(854, 480));  // the 16:9 canvas, as a disc sets it
        item->movie()->setZoomType(1);               // stretched over it, as the source is
        item->movie()->setHflip(true);
    }
    ASSERT_TRUE(convert(item, ours, format));

    const double rate = videoBitrate(ours);
    EXPECT_GT(rate, 0.9 * format.video_bitrate);
    EXPECT_LT(rate, 1.1 * format.video_bitrate);
    const double ourPsnr = psnrAgainst(ours, source, composed ? "hflip" : "null");
    const double cliPsnr = psnrAgainst(cli, source);
    EXPECT_GT(cliPsnr, 20.0);
    EXPECT_GE(ourPsnr, cliPsnr) << "ours " << ourPsnr << " dB at " << rate / 1e6
                                << " Mbit/s, the command line " << cliPsnr << " dB at "
                                << videoBitrate(cli) / 1e6 << " Mbit/s";
}

INSTANTIATE_TEST_SUITE_P(Media, DvdRateControl, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "composed" : "direct");
                         });

}  // namespace
