// A conversion job that cuts a long title into pieces: where it cuts on a
// source with sparse key frames, and that the one title stream it writes
// holds every frame once while it leaves no piece file behind, whether it
// succeeds, is cancelled or cannot put its stream in place.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include "EncodeTestSupport.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "media/TitlePieces.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

class Finish : public VCVideoConverterDelegate {
public:
    void converterDidFinished(VCVideoConverter*) override { ++finished; }
    int finished = 0;
};

// Runs the main loop until the job's finish arrived; `during` is called on
// every turn while it runs.
bool runToTheEnd(
    VCVideoConverter& job, Finish& finish, const std::function<void()>& during = [] {})
{
    job.setDelegate(&finish);
    job.startConvert();
    QElapsedTimer timer;
    timer.start();
    while (finish.finished == 0 && timer.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        during();
        QThread::msleep(2);
    }
    job.setDelegate(nullptr);
    return finish.finished == 1;
}

// Video packets and the format's length, as ffprobe counts them.
struct Written {
    int videoFrames = 0;
    double seconds = 0.0;
};

Written probeWritten(const QString& path)
{
    QString out;
    testsupport::runProgram(
        "ffprobe",
        {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
         "stream=nb_read_packets:format=duration", "-of", "json", path},
        &out);
    const QJsonObject probe = QJsonDocument::fromJson(out.toUtf8()).object();
    Written written;
    const QJsonArray streams = probe.value("streams").toArray();
    if (!streams.isEmpty()) {
        written.videoFrames = streams[0].toObject().value("nb_read_packets").toString().toInt();
    }
    written.seconds = probe.value("format").toObject().value("duration").toString().toDouble();
    return written;
}

class ConverterPieces : public ::testing::Test {
protected:
    // 12 s of 25 fps with a key frame every 4 s only, as a camcorder's long
    // groups have them, and a tone.
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir().path() + "-sparse");
        ASSERT_TRUE(
            testsupport::generateMedia(clip(), {"-f",
                                                "lavfi",
                                                "-i",
                                                "testsrc=size=160x120:rate=25:duration=12",
                                                "-f",
                                                "lavfi",
                                                "-i",
                                                "sine=frequency=440:sample_rate=48000:duration=12",
                                                "-c:v",
                                                "libx264",
                                                "-g",
                                                "100",
                                                "-keyint_min",
                                                "100",
                                                "-sc_threshold",
                                                "0",
                                                "-pix_fmt",
                                                "yuv420p",
                                                "-c:a",
                                                "aac",
                                                "-shortest"}));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static QString clip() { return s_dir->filePath("sparse.mp4"); }

    // A job writing the title stream of `source` (the sparse clip by
    // default) to `path` in at most `pieces` pieces of 2 s or more.
    static VCVideoConverter::Ptr job(const QString& path, int pieces,
                                     const QString& source = clip())
    {
        auto item = VCMovie::movieWithPath(source);
        EXPECT_TRUE(item);
        auto converter = VCVideoConverter::create();
        converter->setMovies({item});
        converter->setPath(path);
        converter->setMovieOutputFormat(encodetest::dvdFormat(true, true));
        converter->setMaximumPieces(pieces);
        converter->setMinimumPieceLength(2.0);
        converter->updateConverterContent();
        return converter;
    }

    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    QTemporaryDir m_out = testsupport::makeTempDir();
    static QTemporaryDir* s_dir;
};

QTemporaryDir* ConverterPieces::s_dir = nullptr;

}  // namespace

TEST_F(ConverterPieces, CutsFallJustAfterTheKeyFramesTheirDecodingStartsFrom)
{
    auto item = VCMovie::movieWithPath(clip());
    ASSERT_TRUE(item);
    const auto movie = std::dynamic_pointer_cast<LMFFMovie>(item->movie());
    ASSERT_TRUE(movie);
    struct Case {
        LMMediaTime time, key;
    };
    const QList<Case> cases{{0, 0},
                            {kSecond, 0},
                            {4 * kSecond, 4 * kSecond},
                            {5 * kSecond, 4 * kSecond},
                            {11 * kSecond, 8 * kSecond}};
    QList<LMMediaTime> times;
    for (const Case& c : cases) {
        times << c.time;
    }
    const QList<std::optional<LMMediaTime>> keys = movie->keyFrameTimesAtOrBefore(times);
    ASSERT_EQ(keys.size(), cases.size());
    for (qsizetype i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(keys[i]) << cases[i].time;
        EXPECT_NEAR(static_cast<double>(*keys[i]), static_cast<double>(cases[i].key), 1000.0)
            << cases[i].time;
    }
    // Three even shares of the 300 frames cut at 98 and 196, 98 and 96
    // frames after the key frames they decode from: each moves on to the
    // group after the next key frame (100, 200). Two shares cut at 154, 54
    // frames after a key frame, nearer than the next one: it stays.
    const QList<TitlePieces::Piece> three = TitlePieces::split({item}, 25, 1, 3, 2.0);
    ASSERT_EQ(three.size(), 3);
    EXPECT_EQ(three[1].firstFrame, 112);
    EXPECT_EQ(three[2].firstFrame, 210);
    EXPECT_EQ(three[2].movie->trimStart(), TitlePieces::frameTimeOf(210, 25, 1));
    const QList<TitlePieces::Piece> two = TitlePieces::split({item}, 25, 1, 2, 2.0);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1].firstFrame, 154);
    // A chapter near the cut keeps its own picture.
    const QList<TitlePieces::Piece> chapter =
        TitlePieces::split({item}, 25, 1, 2, 2.0, {TitlePieces::frameTimeOf(150, 25, 1)});
    ASSERT_EQ(chapter.size(), 2);
    EXPECT_EQ(chapter[1].firstFrame, 150);
}

TEST_F(ConverterPieces, TheTitleInPiecesHoldsEveryFrameOnceAndNoPieceIsLeft)
{
    struct Case {
        const char* name;
        int pieces;
        int planned;
    };
    for (const Case& c : {Case{"whole", 1, 1}, Case{"in three pieces", 3, 3}}) {
        SCOPED_TRACE(c.name);
        const QString folder = m_out.filePath(c.name);
        const QString path = QDir(folder).filePath("title0.dvd");
        const auto converter = job(path, c.pieces);
        EXPECT_EQ(converter->planPieces(), c.planned);
        Finish finish;
        double progress = 0.0;
        bool rising = true;
        ASSERT_TRUE(runToTheEnd(*converter, finish, [&] {
            const double now = converter->progress();
            rising = rising && now >= progress;
            progress = now;
        }));
        ASSERT_TRUE(converter->succeeded()) << qPrintable(converter->errorText());
        EXPECT_TRUE(rising);
        EXPECT_EQ(filesIn(folder), QStringList{"title0.dvd"});
        const Written written = probeWritten(path);
        EXPECT_EQ(written.videoFrames, 300);
        EXPECT_NEAR(written.seconds, 12.0, 0.05);
    }
}

// A camcorder's transport stream: no index of its key frames (found by their
// packets' times), a clock that does not start at 0, B-frames, a key frame
// every 3 s. Each frame shows its number: the title in pieces shows the
// frames the title encoded whole shows, each in its place. The stream's
// sound starts 21 ms (its encoder's priming) before its first picture, so
// both hold that picture for a frame and show the rest one frame later,
// every one once and in order, up to the last picture's end.
TEST_F(ConverterPieces, ATransportStreamInPiecesShowsEveryFrameOnceInOrder)
{
    const QString ts = m_out.filePath("camcorder.m2ts");
    ASSERT_TRUE(
        testsupport::makeNumberedClip(ts, 12.0,
                                      {"-c:v", "libx264", "-crf", "10", "-g", "75", "-keyint_min",
                                       "75", "-sc_threshold", "0", "-bf", "2", "-f", "mpegts"}));
    QList<int> expected{0};
    for (int n = 0; n < 300; ++n) {
        expected << n;
    }
    for (const int pieces : {1, 3}) {
        SCOPED_TRACE(pieces);
        const QString path = m_out.filePath(QString("ts%1/title0.dvd").arg(pieces));
        const auto converter = job(path, pieces, ts);
        EXPECT_EQ(converter->planPieces(), pieces);
        Finish finish;
        ASSERT_TRUE(runToTheEnd(*converter, finish));
        ASSERT_TRUE(converter->succeeded()) << qPrintable(converter->errorText());
        EXPECT_EQ(testsupport::frameNumbers(path, m_out.filePath("frames.yuv")), expected);
    }
}

TEST_F(ConverterPieces, ACancelledOrUnplacedTitleLeavesNoPieceBehind)
{
    {
        SCOPED_TRACE("cancelled while its pieces run");
        const QString folder = m_out.filePath("cancelled");
        const auto converter = job(QDir(folder).filePath("title0.dvd"), 3);
        Finish finish;
        ASSERT_TRUE(runToTheEnd(*converter, finish, [&] {
            if (converter->progress() > 0.05) {
                converter->cancel();
            }
        }));
        EXPECT_TRUE(converter->isCanceled());
        EXPECT_FALSE(converter->succeeded());
        EXPECT_EQ(filesIn(folder), QStringList());
    }
    {
        SCOPED_TRACE("a folder holds the title's name");
        const QString folder = m_out.filePath("taken");
        const QString path = QDir(folder).filePath("title0.dvd");
        ASSERT_TRUE(QDir().mkpath(path + "/inside"));
        const auto converter = job(path, 3);
        Finish finish;
        ASSERT_TRUE(runToTheEnd(*converter, finish));
        EXPECT_FALSE(converter->succeeded());
        EXPECT_EQ(converter->errorText(), "a file is already at the destination");
        EXPECT_EQ(filesIn(folder), QStringList());
        EXPECT_EQ(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"inside"});
    }
}
