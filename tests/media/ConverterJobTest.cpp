#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <vector>

#include "EncodeTestSupport.h"
#include "TestSupport.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"

using encodetest::dvdFormat;
using encodetest::loudness;

namespace {

constexpr LMMediaTime kSecond = 1000000;

// A movie-like source without sound that draws its frames itself: a grey
// level that follows the time.
class DrawnSource : public IMovie {
public:
    explicit DrawnSource(LMMediaTime length) : m_length(length) {}
    LMMediaTime duration() const override { return m_length; }
    QList<LMMedia::Ptr> videos() const override { return {m_media}; }
    QList<LMMedia::Ptr> medias() const override { return {m_media}; }
    QSizeF outputVideoSize() const override { return {854, 480}; }
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool) override
    {
        ++requests;
        const int grey = static_cast<int>(time * 200 / qMax<LMMediaTime>(m_length, 1));
        provider->fillImageBufferWithBlock(
            [grey](LMDrawContext& context) { context.image().fill(QColor(grey, grey, grey)); });
    }

    std::atomic<int> requests{0};

private:
    LMMediaTime m_length;
    LMMedia::Ptr m_media = std::make_shared<LMMedia>(nullptr, QStringLiteral("drawn"));
};

// Counts finishes and notes the thread they arrive on.
class RecordingDelegate : public VCVideoConverterDelegate {
public:
    void converterDidPaused(VCVideoConverter*) override { ++paused; }
    void converterDidResume(VCVideoConverter*) override { ++resumed; }
    void converterDidFinished(VCVideoConverter*) override
    {
        ++finished;
        onMainThread = onMainThread && QThread::currentThread() == qApp->thread();
    }
    int paused = 0;
    int resumed = 0;
    int finished = 0;
    bool onMainThread = true;
};

VCVideoConverter::Ptr makeJob(const QList<IMediaItem::Ptr>& items, const QString& path,
                              const LMFFMovieFileOutputFormat& format, RecordingDelegate* delegate)
{
    auto job = VCVideoConverter::create();
    job->setMovies(items);
    job->setDelegate(delegate);
    job->setPath(path);
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    return job;
}

// Runs the main loop until the delegate heard the finish; the progress seen
// meanwhile is collected.
bool waitForFinish(RecordingDelegate& delegate, VCVideoConverter* job = nullptr,
                   std::vector<double>* progress = nullptr, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (delegate.finished == 0 && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (job && progress) {
            progress->push_back(job->progress());
        }
        QThread::msleep(2);
    }
    // A second finish would be queued right behind the first.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return delegate.finished > 0;
}

bool runDvdauthor(const QString& folder, const QString& file, bool pal, QString* log)
{
    QFile xml(QDir(folder).filePath("author.xml"));
    if (!xml.open(QIODevice::WriteOnly)) {
        return false;
    }
    xml.write(QStringLiteral("<dvdauthor dest=\"dvd\"><vmgm/><titleset><titles><pgc>"
                             "<vob file=\"%1\"/></pgc></titles></titleset></dvdauthor>")
                  .arg(file)
                  .toUtf8());
    xml.close();
    const QString dvdauthor = QStandardPaths::findExecutable("dvdauthor");
    EXPECT_FALSE(dvdauthor.isEmpty()) << "dvdauthor is not installed";
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment env;
    env.insert("VIDEO_FORMAT", pal ? "PAL" : "NTSC");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(dvdauthor, {"-x", "author.xml"});
    if (!process.waitForFinished(60000)) {
        return false;
    }
    *log = QString::fromLocal8Bit(process.readAll());
    return process.exitCode() == 0 && !log->contains("ERR:");
}

class ConverterJob : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir().path() + "-clips");
        ASSERT_TRUE(testsupport::makeTestClip(clipA(), 2.2, 160, 120, true));
        ASSERT_TRUE(testsupport::makeTestClip(clipB(), 3.0, 160, 90, true));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static QString clipA() { return s_dir->filePath("a.mp4"); }
    static QString clipB() { return s_dir->filePath("b.mp4"); }

    // [A 0-2 s, B 1-3 s with a 1 s fade-in, a drawn source of 2 s without sound]
    static QList<IMediaItem::Ptr> titleItems()
    {
        auto a = VCMovie::movieWithPath(clipA());
        auto b = VCMovie::movieWithPath(clipB());
        EXPECT_TRUE(a && b);
        if (!a || !b) {
            return {};
        }
        a->setTrimStop(2 * kSecond);
        b->setTrimStart(kSecond);
        b->setTrimStop(3 * kSecond);
        b->setFadeIn(kSecond);
        b->setVideoOutputSize(QSizeF(720, 576));  // another shape: composed
        auto drawn =
            VCMovie::movieWithMovie(std::make_shared<DrawnSource>(2 * kSecond), 2 * kSecond);
        return {a, b, drawn};
    }

    QTemporaryDir m_out = testsupport::makeTempDir();
    static QTemporaryDir* s_dir;
};

QTemporaryDir* ConverterJob::s_dir = nullptr;

}  // namespace

TEST_F(ConverterJob, TitleStreamHasTheDiscFormatAndDvdauthorTakesIt)
{
    struct Case {
        bool pal, wide;
        const char* sar;
        const char* rate;
    };
    for (const Case& c :
         {Case{true, true, "64:45", "25/1"}, Case{false, false, "8:9", "30000/1001"}}) {
        SCOPED_TRACE(c.pal ? "PAL 16:9" : "NTSC 4:3");
        const QString folder = m_out.filePath(c.pal ? "pal" : "ntsc");
        const QString path = QDir(folder).filePath("title0.dvd");
        RecordingDelegate delegate;
        auto job = makeJob(titleItems(), path, dvdFormat(c.pal, c.wide), &delegate);
        EXPECT_TRUE(job->hasAudio());
        EXPECT_TRUE(job->hasVideo());
        EXPECT_EQ(job->duration(), 6 * kSecond);
        std::vector<double> progress;
        job->startConvert();
        ASSERT_TRUE(waitForFinish(delegate, job.get(), &progress));
        EXPECT_TRUE(job->isFinished());
        EXPECT_TRUE(job->succeeded()) << job->errorText().toStdString();
        EXPECT_EQ(delegate.finished, 1);
        EXPECT_TRUE(delegate.onMainThread);
        EXPECT_EQ(job->currentMovieIndex(), 3);
        EXPECT_EQ(job->currentMovie(), nullptr);
        for (size_t i = 1; i < progress.size(); ++i) {
            ASSERT_GE(progress[i], progress[i - 1]);
        }
        ASSERT_FALSE(progress.empty());
        EXPECT_LE(progress.back(), 0.99);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"title0.dvd"});
        EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::ReadOther);

        const QJsonObject info = testsupport::probeMedia(path);
        EXPECT_EQ(info["format"].toObject()["format_name"].toString(), "mpeg");
        EXPECT_NEAR(info["format"].toObject()["duration"].toString().toDouble(), 6.0, 0.1);
        int streams = 0;
        for (const auto& s : info["streams"].toArray()) {
            const QJsonObject stream = s.toObject();
            if (stream["codec_type"] == "video") {
                ++streams;
                EXPECT_EQ(stream["codec_name"].toString(), "mpeg2video");
                EXPECT_EQ(stream["width"].toInt(), 720);
                EXPECT_EQ(stream["height"].toInt(), c.pal ? 576 : 480);
                EXPECT_EQ(stream["sample_aspect_ratio"].toString(), c.sar);
                EXPECT_EQ(stream["r_frame_rate"].toString(), c.rate);
            } else if (stream["codec_type"] == "audio") {
                ++streams;
                EXPECT_EQ(stream["codec_name"].toString(), "ac3");
                EXPECT_EQ(stream["sample_rate"].toString(), "48000");
                EXPECT_EQ(stream["channels"].toInt(), 2);
                EXPECT_EQ(stream["bit_rate"].toString(), "448000");
            }
        }
        EXPECT_EQ(streams, 2);

        // A's tone, then B fading in from silence, then the silent source.
        const double tone = loudness(path, 1.0, 1.5);
        EXPECT_GT(tone, 0.05);
        EXPECT_LT(loudness(path, 2.03, 2.06), tone * 0.1);
        EXPECT_GT(loudness(path, 2.9, 2.95), tone * 0.7);
        EXPECT_LT(loudness(path, 4.1, 5.9), 0.002);

        QString log;
        EXPECT_TRUE(runDvdauthor(folder, "title0.dvd", c.pal, &log)) << log.toStdString();
    }
}

TEST(ConverterJobControl, CancelLeavesNoFile)
{
    QTemporaryDir out = testsupport::makeTempDir();
    const QString path = out.filePath("title1.dvd");
    RecordingDelegate delegate;
    auto longSource =
        VCMovie::movieWithMovie(std::make_shared<DrawnSource>(60 * kSecond), 60 * kSecond);
    auto job = makeJob({longSource}, path, dvdFormat(true, true), &delegate);
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (job->progress() < 0.01 && timer.elapsed() < 20000) {
        QThread::msleep(5);
    }
    job->cancel();
    EXPECT_TRUE(job->isCanceled());
    ASSERT_TRUE(waitForFinish(delegate));
    EXPECT_EQ(delegate.finished, 1);
    EXPECT_TRUE(job->isCanceled());
    EXPECT_FALSE(job->succeeded());
    EXPECT_EQ(job->errorText(), "canceled");
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    job->cancel();
    EXPECT_TRUE(job->isCanceled());
}

TEST(ConverterJobControl, UnwritableDestinationFailsWithoutFile)
{
    QTemporaryDir out = testsupport::makeTempDir();
    QFile blocker(out.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RecordingDelegate delegate;
    auto source = VCMovie::movieWithMovie(std::make_shared<DrawnSource>(kSecond), kSecond);
    auto job = makeJob({source}, out.filePath("not-a-folder/title0.dvd"), dvdFormat(true, true),
                       &delegate);
    job->startConvert();
    ASSERT_TRUE(waitForFinish(delegate));
    EXPECT_TRUE(job->isFinished());
    EXPECT_FALSE(job->succeeded());
    EXPECT_FALSE(job->errorText().isEmpty());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"not-a-folder"});

    // An existing file at the destination is never replaced.
    QFile existing(out.filePath("taken.dvd"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep");
    existing.close();
    RecordingDelegate second;
    auto again = makeJob({source}, existing.fileName(), dvdFormat(true, true), &second);
    again->startConvert();
    ASSERT_TRUE(waitForFinish(second));
    EXPECT_FALSE(again->succeeded());
    QFile kept(existing.fileName());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// A job killed mid-way leaves its hidden part-file beside the destination;
// the next job for that destination removes it, and nothing else.
TEST(ConverterJobControl, StalePartFilesOfTheDestinationAreRemovedAtStart)
{
    QTemporaryDir out = testsupport::makeTempDir();
    const QStringList stale = {".title1-Ab3dE9.dvd", ".title1-zzzzzz.dvd"};
    const QStringList others = {".title10-Ab3dE9.dvd", ".title1-Ab3dE9.dvd.keep",
                                "title1-Ab3dE9.dvd", ".title1-Ab3d.dvd"};
    for (const QString& name : stale + others) {
        QFile file(out.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("part");
    }
    RecordingDelegate delegate;
    auto source = VCMovie::movieWithMovie(std::make_shared<DrawnSource>(kSecond), kSecond);
    auto job = makeJob({source}, out.filePath("title1.dvd"), dvdFormat(true, true), &delegate);
    job->startConvert();
    ASSERT_TRUE(waitForFinish(delegate));
    EXPECT_TRUE(job->succeeded()) << job->errorText().toStdString();
    QStringList expected = others;
    expected << "title1.dvd";
    expected.sort();
    QStringList left = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, expected);
}

TEST(ConverterJobControl, PauseResumeAndStartFollowTheStateTable)
{
    QTemporaryDir out = testsupport::makeTempDir();
    auto job = VCVideoConverter::create();
    RecordingDelegate delegate;
    job->setDelegate(&delegate);
    EXPECT_EQ(job->statusType(), 1);
    job->pause();
    EXPECT_EQ(job->statusType(), 3);
    EXPECT_TRUE(job->isPaused());
    EXPECT_TRUE(job->isReady());
    job->resume();
    EXPECT_EQ(job->statusType(), 1);
    job->resume();  // not paused: told anyway, nothing changes
    EXPECT_EQ(job->statusType(), 1);
    EXPECT_EQ(delegate.paused, 1);
    EXPECT_EQ(delegate.resumed, 2);

    const QString path = out.filePath("title2.dvd");
    auto source = VCMovie::movieWithMovie(std::make_shared<DrawnSource>(2 * kSecond), 2 * kSecond);
    job->setMovies({source});
    job->setPath(path);
    job->setMovieOutputFormat(dvdFormat(true, true));
    job->startConvert();
    EXPECT_EQ(job->statusType(), 4);
    EXPECT_TRUE(job->isRunning());
    job->pause();
    EXPECT_EQ(job->statusType(), 6);
    EXPECT_FALSE(job->isRunning());
    EXPECT_TRUE(job->isExecuting());
    QThread::msleep(100);
    const int64_t held = job->convert_frames();
    QThread::msleep(200);
    EXPECT_EQ(job->convert_frames(), held);  // a paused job neither reads nor writes
    job->resume();
    EXPECT_EQ(job->statusType(), 5);
    QThread::msleep(150);
    EXPECT_EQ(job->convert_frames(), held);  // resumed but not started again
    job->startConvert();
    EXPECT_EQ(job->statusType(), 4);
    ASSERT_TRUE(waitForFinish(delegate));
    EXPECT_EQ(job->statusType(), 16);
    EXPECT_TRUE(job->succeeded()) << job->errorText().toStdString();
    EXPECT_EQ(delegate.finished, 1);
    job->cancel();
    EXPECT_EQ(job->statusType(), 16);
}

TEST_F(ConverterJob, FiftyPiecesKeepTheTracksTogether)
{
    // 50 segments of 0.12 s (5.625 audio blocks each; three PAL frames, 3.6 NTSC
    // frames), on both roads.
    struct Case {
        const char* name;
        bool composed, pal;
    };
    for (const Case& c : {Case{"direct", false, true}, Case{"composed", true, true},
                          Case{"composed NTSC", true, false}}) {
        SCOPED_TRACE(c.name);
        auto item = VCMovie::movieWithPath(clipA());
        ASSERT_TRUE(item);
        if (c.composed) {
            item->movie()->setHflip(true);
        }
        VCMovie::TrimArray segments;
        for (int i = 0; i < 50; ++i) {
            segments << std::make_shared<MovieTrimItem>(0.05 * (i % 20), 0.12);
        }
        item->setTrimArray(segments);
        const QString path = m_out.filePath(QString(c.name).replace(' ', '-') + ".dvd");
        RecordingDelegate delegate;
        auto job = makeJob({item}, path, dvdFormat(c.pal, true), &delegate);
        job->startConvert();
        ASSERT_TRUE(waitForFinish(delegate));
        ASSERT_TRUE(job->succeeded()) << job->errorText().toStdString();
        const double video = lm_ff_time_to_double(job->writtenVideoTime());
        const double audio = job->writtenAudioFrames() / 48000.0;
        const double block = 1024.0 / 48000.0;
        if (c.pal) {
            EXPECT_NEAR(video, 6.0, 0.001);
            EXPECT_NEAR(audio, video, block);
        } else {
            EXPECT_NEAR(video, 6.0, 1001.0 / 30000.0);
            EXPECT_NEAR(audio, 6.0, block);
        }
        EXPECT_NEAR(
            testsupport::probeMedia(path)["format"].toObject()["duration"].toString().toDouble(),
            6.0, 0.1);
    }
}

// A phone video recorded upright (stored landscape with a rotation flag)
// comes out upright in the title: every frame read back shows the picture
// standing, blue above red, inside a pillarbox.
TEST(ConverterJobControl, RotatedSourceIsUprightInEveryFrameOfTheTitle)
{
    QTemporaryDir out = testsupport::makeTempDir();
    const QString plain = out.filePath("plain.mp4");
    const QString portrait = out.filePath("portrait.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        plain, {"-f", "lavfi", "-i",
                "color=c=red:size=160x90:rate=25:duration=1[a];"
                "color=c=blue:size=80x90:rate=25:duration=1[b];[a][b]overlay=x=80",
                "-c:v", "libx264", "-pix_fmt", "yuv420p"}));
    ASSERT_TRUE(testsupport::generateMedia(
        portrait, {"-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90"}));
    auto source = VCMovie::movieWithPath(portrait);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->rotatedVideoSize(), QSizeF(90, 160));
    source->setVideoOutputSize(QSizeF(720, 576));  // as production sizes a title's clips

    const QString title = out.filePath("title.dvd");
    RecordingDelegate delegate;
    auto job = makeJob({source}, title, dvdFormat(true, false), &delegate);
    job->startConvert();
    ASSERT_TRUE(waitForFinish(delegate));
    ASSERT_TRUE(job->succeeded()) << job->errorText().toStdString();

    // Every frame, shrunk to 72 x 48 RGB (each column ten source columns).
    QProcess ffmpeg;
    ffmpeg.start(QStandardPaths::findExecutable("ffmpeg"),
                 {"-v", "error", "-i", title, "-vf", "scale=72:48", "-f", "rawvideo", "-pix_fmt",
                  "rgb24", "-"});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    const QByteArray rgb = ffmpeg.readAllStandardOutput();
    const int frameBytes = 72 * 48 * 3;
    ASSERT_GE(rgb.size() / frameBytes, 20);
    QImage first(reinterpret_cast<const uchar*>(rgb.constData()), 72, 48, 72 * 3,
                 QImage::Format_RGB888);
    testsupport::writeArtifact(first.scaled(720, 480), "rotated-title-frame.png");
    auto at = [&](int frame, int x, int y) {
        const auto* p = reinterpret_cast<const uchar*>(rgb.constData()) +
                        frame * frameBytes + (y * 72 + x) * 3;
        return QColor(p[0], p[1], p[2]);
    };
    for (int f = 0; f < rgb.size() / frameBytes; ++f) {
        SCOPED_TRACE(f);
        const QColor top = at(f, 36, 8);
        const QColor bottom = at(f, 36, 40);
        EXPECT_TRUE(top.blue() > 150 && top.red() < 90) << top.name().toStdString();
        EXPECT_TRUE(bottom.red() > 150 && bottom.blue() < 90) << bottom.name().toStdString();
        EXPECT_LT(at(f, 2, 24).value(), 40) << "the sides are black";
        EXPECT_LT(at(f, 69, 24).value(), 40) << "the sides are black";
    }
}
