#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include "TestSupport.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"

namespace {

class ConverterCopy : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir().path() + "-copy");
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    // Made on first use, so each test makes only the files it opens.
    static bool make(const QString& name)
    {
        const QString path = s_dir->filePath(name);
        if (QFileInfo::exists(path)) {
            return true;
        }
        if (name == "two.mkv") {
            return testsupport::generateMedia(
                path, {"-f",       "lavfi",   "-i",   "testsrc=size=160x120:rate=25:duration=0.5",
                       "-f",       "lavfi",   "-i",   "sine=duration=0.5",
                       "-f",       "lavfi",   "-i",   "sine=frequency=200:duration=0.5",
                       "-map",     "0",       "-map", "1",
                       "-map",     "2",       "-c:v", "libx264",
                       "-pix_fmt", "yuv420p", "-c:a", "aac"});
        }
        if (name == "wide.mp4") {
            // A camcorder's shape: 4:3 pixels make 160x120 a 16:9 picture.
            return testsupport::generateMedia(
                path, {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=0.5,setsar=4/3",
                       "-c:v", "libx264", "-pix_fmt", "yuv420p"});
        }
        return testsupport::makeTestClip(path, 0.5, 160, 120, true);
    }
    static VCMovie::Ptr open(const QString& name)
    {
        EXPECT_TRUE(make(name));
        auto item = VCMovie::movieWithPath(s_dir->filePath(name));
        EXPECT_TRUE(item);
        return item;
    }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* ConverterCopy::s_dir = nullptr;

}  // namespace

TEST_F(ConverterCopy, EditTest)
{
    struct Case {
        const char* name;
        std::function<void(IMovie&)> edit;
        bool unedited;
    };
    const QList<Case> cases = {
        {"none", [](IMovie&) {}, true},
        {"crop 0.5 px", [](IMovie& m) { m.setCropRect(QRectF(0, 0, 159.5, 119.5)); }, true},
        {"crop 1.5 px", [](IMovie& m) { m.setCropRect(QRectF(0, 0, 158.5, 120)); }, false},
        {"crop moved", [](IMovie& m) { m.setCropRect(QRectF(10, 10, 160, 120)); }, true},
        {"zoom 3 at 1280x720",
         [](IMovie& m) {
             m.setZoomType(3);
             m.setOutputVideoSize(QSizeF(1280, 720));
         },
         true},
        {"zoom 4 at 960x720",
         [](IMovie& m) {
             m.setZoomType(4);
             m.setOutputVideoSize(QSizeF(960, 720));
         },
         true},
        {"zoom 2 other shape", [](IMovie& m) { m.setOutputVideoSize(QSizeF(854, 480)); }, false},
        {"zoom 1 other shape",
         [](IMovie& m) {
             m.setZoomType(1);
             m.setOutputVideoSize(QSizeF(854, 480));
         },
         true},
        {"zoom 6", [](IMovie& m) { m.setZoomType(6); }, false},
        {"aspect type", [](IMovie& m) { m.setAspectType(1); }, false},
        {"brightness 0.505", [](IMovie& m) { m.setBrightness(0.505f); }, true},
        {"brightness 0.52", [](IMovie& m) { m.setBrightness(0.52f); }, false},
        {"contrast", [](IMovie& m) { m.setContrast(0.5f); }, false},
        {"hue", [](IMovie& m) { m.setHue(0.4f); }, false},
        {"saturation", [](IMovie& m) { m.setSaturation(0.3f); }, false},
        {"rotate 0.005", [](IMovie& m) { m.setRotate(0.005f); }, true},
        {"rotate 90", [](IMovie& m) { m.setRotate(90.0f); }, false},
        {"hflip", [](IMovie& m) { m.setHflip(true); }, false},
        {"vflip", [](IMovie& m) { m.setVflip(true); }, false},
        {"subtitle streams", [](IMovie& m) { m.setSelectSubtitleStreams(IMovie::IndexSet{0}); },
         false},
        {"watermark",
         [](IMovie& m) {
             QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
             image.fill(Qt::red);
             m.setWatermark(LMPicture{image, {}});
         },
         false},
    };
    auto job = VCVideoConverter::create();
    for (const Case& c : cases) {
        auto item = open("clip.mp4");
        c.edit(*item->movie());
        EXPECT_EQ(VCVideoConverter::isNoneEditWithMovie(*item->movie()), c.unedited) << c.name;
        EXPECT_EQ(job->isCanCopyImageForMovie(*item), c.unedited) << c.name;
    }
}

// A stream of non-square pixels fits an output by the shape it is shown in.
TEST_F(ConverterCopy, NonSquarePixelsFitByTheirShownShape)
{
    auto job = VCVideoConverter::create();
    for (const auto& [output, unedited] :
         {std::pair{QSizeF(854, 480), true}, {QSizeF(640, 480), false}}) {
        auto item = open("wide.mp4");
        item->movie()->setZoomType(2);
        item->movie()->setOutputVideoSize(output);
        EXPECT_EQ(VCVideoConverter::isNoneEditWithMovie(*item->movie()), unedited)
            << output.width();
        EXPECT_EQ(job->isCanCopyImageForMovie(*item), unedited) << output.width();
    }
}

TEST_F(ConverterCopy, CopyKeysAndDecision)
{
    EXPECT_EQ(VCVideoConverter::copyCodecKeys().size(), 50);
    EXPECT_TRUE(VCVideoConverter::copyCodecKeys().contains("#mpg:audio:ac3"));

    struct Case {
        const char* name;
        QString path;
        QStringList files;
        bool askVideo, askAudio;
        int channels;
        std::function<void(VCMovie&)> edit;
        bool video, audio;
    };
    const auto none = [](VCMovie&) {};
    const QList<Case> cases = {
        {"not asked", "out.mp4", {"clip.mp4"}, false, false, 2, none, false, false},
        {"asked", "out.mp4", {"clip.mp4"}, true, true, 2, none, true, true},
        {"extension in capitals", "OUT.MP4", {"clip.mp4"}, true, true, 2, none, true, true},
        {"one source twice", "out.mov", {"clip.mp4", "clip.mp4"}, true, true, 2, none, true, true},
        {"two sources", "out.mp4", {"clip.mp4", "other.mp4"}, true, true, 2, none, false, false},
        {"dvd stream", "title0.dvd", {"clip.mp4"}, true, true, 2, none, false, false},
        {"key switched off", "out.mpg", {"clip.mp4"}, true, true, 2, none, false, false},
        {"two audio streams", "out.mkv", {"two.mkv"}, true, true, 2, none, true, false},
        {"more than two channels", "out.mp4", {"clip.mp4"}, true, true, 6, none, true, false},
        {"audio only asked", "out.mp4", {"clip.mp4"}, false, true, 2, none, false, false},
        {"edited",
         "out.mp4",
         {"clip.mp4"},
         true,
         true,
         2,
         [](VCMovie& m) { m.movie()->setVflip(true); },
         false,
         false},
    };
    for (const Case& c : cases) {
        auto job = VCVideoConverter::create();
        QList<IMediaItem::Ptr> items;
        IMovie::Ptr shared;
        for (const QString& file : c.files) {
            auto item = open(file);
            if (shared && file == c.files.first()) {
                item->setMovie(shared);  // the same movie, as pieces of one item share it
            }
            shared = shared ? shared : item->movie();
            c.edit(*item);
            items << item;
        }
        job->setMovies(items);
        job->setPath(s_dir->filePath(c.path));
        LMFFMovieFileOutputFormat format;
        lm_get_default_movie_file_ouput_format(&format);
        format.channel_layout = c.channels == 6 ? lm_get_channel_layout_by_name("5.1")
                                                : lm_get_channel_layout_by_name("stereo");
        job->setMovieOutputFormat(format);
        job->updateConverterSpeedFast(c.askVideo, c.askAudio);
        job->updateConverterContent();
        job->updateConverterSpeedMode();
        EXPECT_EQ(job->skipDecodeImage(), c.video) << c.name;
        EXPECT_EQ(job->skipDecodeAudio(), c.audio) << c.name;
    }
}

TEST_F(ConverterCopy, ContentAnalysis)
{
    struct Case {
        const char* path;
        bool withSound;
        bool hasAudio, hasVideo;
    };
    auto silent = VCMovie::movieWithMovie(std::make_shared<IMovie>(), 1000000);
    for (const Case& c : {Case{"t.dvd", false, true, false}, Case{"t.DVD", false, true, false},
                          Case{"t.mp4", false, false, false}, Case{"t.mp4", true, true, true}}) {
        auto job = VCVideoConverter::create();
        auto item = c.withSound ? open("clip.mp4") : silent;
        item->setTrimStart(100000);
        item->setTrimStop(400000);
        job->setMovies({item, item});
        job->setPath(s_dir->filePath(c.path));
        job->updateConverterContent();
        job->updateConverterContent();  // the same result again
        EXPECT_EQ(job->hasAudio(), c.hasAudio) << c.path;
        EXPECT_EQ(job->hasVideo(), c.hasVideo) << c.path;
        EXPECT_EQ(job->duration(), 600000) << c.path;
        EXPECT_EQ(job->validMovies().size(), 2);
        EXPECT_DOUBLE_EQ(job->progress(), 0.0);
    }
}

TEST_F(ConverterCopy, CopiedStreamsKeepTheirCodecs)
{
    class Finish : public VCVideoConverterDelegate {
    public:
        void converterDidFinished(VCVideoConverter*) override { done = true; }
        bool done = false;
    } finish;
    auto item = open("clip.mp4");
    ASSERT_TRUE(item);
    item->setTrimStop(400000);
    const QString path = s_dir->filePath("copied/out.mp4");
    auto job = VCVideoConverter::create();
    job->setMovies({item});
    job->setDelegate(&finish);
    job->setPath(path);
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 160;
    format.height = 120;
    format.framerate = 25;
    format.frameTime = 1;
    format.channel_layout = lm_get_channel_layout_by_name("stereo");
    format.sample_rate = 48000;
    job->setMovieOutputFormat(format);
    job->updateConverterSpeedFast(true, true);
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (!finish.done && timer.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(job->succeeded()) << job->errorText().toStdString();
    EXPECT_TRUE(job->skipDecodeImage());
    EXPECT_TRUE(job->skipDecodeAudio());
    auto copied = VCMovie::movieWithPath(path);
    ASSERT_TRUE(copied);
    EXPECT_STREQ(lm_get_codec_name_by_id(copied->movie()->videoCodec()), "h264");
    EXPECT_STREQ(lm_get_codec_name_by_id(copied->movie()->audioCodec()), "aac");
    EXPECT_NEAR(lm_ff_time_to_double(copied->trimStop()), 0.4, 0.1);
}
