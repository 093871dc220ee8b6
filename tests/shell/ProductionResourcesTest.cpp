// What a production takes from the machine: the threads it runs and the
// address space it reserves while the first-disc project (four titles) is
// produced, the threads of one title encoded in pieces, and what it does when
// the address space runs out. Out of address
// space, a thread or a buffer cannot be had: the step must end with a reason
// (or succeed), never end the program.
//
// The limited runs are this executable again, running one test of its own
// that lowers its own address-space limit first (RLIMIT_AS, by the amount of
// room given in BRISANE_TEST_ADDRESS_ROOM_MIB above what it holds once set up).

#include <sys/resource.h>

#include <QFile>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <thread>

#include "DiscProjectFixture.h"
#include "ProductionThread.h"
#include "common/PooledThreads.h"
#include "common/SafeMessageOutput.h"
#include "production/MakeDVDVideo.h"

using namespace discproject;

namespace {

constexpr char roomVariable[] = "BRISANE_TEST_ADDRESS_ROOM_MIB";
constexpr char coresVariable[] = "BRISANE_TEST_CORES";

// In a run that believes the machine has more cores (see the test below
// that starts it), the program sees them.
void expectReportedCores()
{
    bool given = false;
    const int cores = qEnvironmentVariableIntValue(coresVariable, &given);
    if (given) {
        ASSERT_EQ(QThread::idealThreadCount(), cores) << "the core count was not taken over";
    }
}

// A field of /proc/self/status ("Threads", "VmSize", "VmPeak"), in its own
// unit (kB for the memory fields); -1 when absent.
qint64 statusField(const QByteArray& name)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':')) {
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

// Samples the process's thread count while it lives (its own thread not
// counted), every few milliseconds.
class ThreadSampler {
public:
    ThreadSampler()
        : m_thread([this] {
              while (!m_stop.load()) {
                  const qint64 threads = statusField("Threads") - 1;
                  m_peak.store(std::max(m_peak.load(), threads));
                  std::this_thread::sleep_for(std::chrono::milliseconds(3));
              }
          })
    {
    }
    ~ThreadSampler() { stop(); }
    qint64 stop()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return m_peak.load();
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_peak{0};
    std::thread m_thread;
};

// Runs the test `test` of this suite again in a process of its own with
// `variables` added to the environment; the child must pass. Answers what
// it printed.
QString rerun(const char* test, const QList<std::pair<QString, QString>>& variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables) {
        environment.insert(name, value);
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ProductionResources.") + test});
    if (!child.waitForStarted()) {
        ADD_FAILURE() << "the test did not start again";
        return {};
    }
    if (!child.waitForFinished(180000)) {
        child.kill();
        child.waitForFinished();
        ADD_FAILURE() << "the production did not end";
        return {};
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    return output;
}

class ProductionResources : public DiscProjectTest {
protected:
    // Produces the disc folder of `disc` at `folder`.
    static ProductionResult produce(const std::shared_ptr<DVDLibrary>& disc, const QString& folder)
    {
        BurnDVDWorkflow flow;
        return runProduction(flow, [&] { return flow.make(disc, folder); });
    }
};

TEST_F(ProductionResources, FourTitlesRunFewThreadsInLittleAddressSpace)
{
    expectReportedCores();
    // As at the program's start, before any picture is drawn: the shared
    // pool's threads run from then on.
    ASSERT_TRUE(PooledThreads::startAll());
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titles().size(), 4);
    const QString folder = folders.home() + "/Movies/Bounded";

    const qint64 threadsBefore = statusField("Threads");
    const qint64 sizeBeforeKiB = statusField("VmSize");
    ThreadSampler sampler;
    const ProductionResult made = produce(disc, folder);
    const qint64 threads = sampler.stop();
    const qint64 peakKiB = statusField("VmPeak");
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    std::printf("threads %lld before, %lld at the peak; VmSize %lld MiB before, VmPeak %lld MiB\n",
                threadsBefore, threads, sizeBeforeKiB / 1024, peakKiB / 1024);
    // At most 40, on any number of cores.
    EXPECT_LE(threads, 40);
    EXPECT_GT(peakKiB, 0);
    EXPECT_LT(peakKiB, 2LL * 1024 * 1024);
}

// A long title cut into pieces fills every place of the bound with its
// encoders: each sizes its threads to its share, as side-by-side titles do.
TEST_F(ProductionResources, TitleInPiecesRunsFewThreads)
{
    expectReportedCores();
    ASSERT_TRUE(PooledThreads::startAll());  // as at the program's start
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("long.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(path, 6.0, 320, 240));
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    const auto source = SectionDataResource::resourceWithPath(path);
    media->addSectionDataResourceToArray(source);
    const auto whole = clip(source, 0.0, 6.0);
    ASSERT_TRUE(whole);
    title(list, {whole});
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    services->disc->setUseNoMenu(true);
    const auto disc = discModel();
    ASSERT_TRUE(disc);

    MakeDVDVideo step;
    step.setMaximumConcurrentTitles(4);
    step.setMinimumPieceLength(1.0);
    ThreadSampler sampler;
    const ProductionResult made =
        testsupport::renderOnProductionThread(step, disc, dir.filePath(""));
    const qint64 threads = sampler.stop();
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    EXPECT_EQ(step.titlesInPieces(), 1);
    EXPECT_GE(step.mostConcurrentConversions(), 4);
    std::printf("threads %lld at the peak of four pieces and their sound\n", threads);
    // At most 40, the production thread the step runs on included.
    EXPECT_LE(threads, 40);
}

// The two runs above on a machine of many more cores than this one, as the
// program believes it in a process of its own: the bound stays 40, because
// the program sizes its threads by at most eight cores.
TEST_F(ProductionResources, ManyCoresRunNoMoreThreads)
{
    for (const int cores : {16, 32}) {
        for (const char* test :
             {"FourTitlesRunFewThreadsInLittleAddressSpace", "TitleInPiecesRunsFewThreads"}) {
            SCOPED_TRACE(testing::Message() << cores << " cores, " << test);
            const QString output =
                rerun(test, {{coresVariable, QString::number(cores)},
                             {QStringLiteral("LD_PRELOAD"), BRISANE_REPORTED_CORES_LIBRARY}});
            for (const QString& line : output.split('\n')) {
                if (line.startsWith("threads")) {
                    std::printf("%d cores: %s\n", cores, qPrintable(line));
                }
            }
        }
    }
}

// Run by the test below, in a process of its own: with the limit set, the
// production must end with a result; a failure names its reason and leaves
// no disc folder.
TEST_F(ProductionResources, LimitedAddressSpaceEndsWithAResult)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    const QString folder = folders.home() + "/Movies/Limited";
    bool roomGiven = false;
    const qint64 roomMiB = qEnvironmentVariableIntValue(roomVariable, &roomGiven);
    // As at the program's start, before the limit.
    ASSERT_TRUE(PooledThreads::startAll());
    SafeMessageOutput::install();
    if (roomGiven) {
        const rlim_t limit = static_cast<rlim_t>(statusField("VmSize") + roomMiB * 1024) * 1024;
        const rlimit bounds{limit, limit};
        ASSERT_EQ(setrlimit(RLIMIT_AS, &bounds), 0);
    }
    const ProductionResult made = produce(disc, folder);
    std::printf("result: %s\n", qPrintable(made.toString()));
    if (!roomGiven) {
        EXPECT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    }
    EXPECT_TRUE(made.isSucceeded() || made.isFailed()) << qPrintable(made.toString());
    if (made.isFailed()) {
        EXPECT_FALSE(made.reason().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
}

TEST_F(ProductionResources, OutOfAddressSpaceFailsTheStepInsteadOfTheProgram)
{
    // From room for hardly a thread to room for the whole production. The
    // rooms from 36 to 72 MiB let some titles through, the slideshow's
    // drawing among them, while others fail. (Rooms that leave threads but
    // run out of memory in the middle of decoding are not tried: FFmpeg's
    // frame-threaded H.264 decoder can abort on closing after that.)
    const int roomsMiB[] = {20, 24, 32, 40, 48, 64, 72, 512, 1024};
    int failed = 0;
    int succeeded = 0;
    for (const int room : roomsMiB) {
        SCOPED_TRACE(room);
        const QString output =
            rerun("LimitedAddressSpaceEndsWithAResult", {{roomVariable, QString::number(room)}});
        failed += output.contains("result: failed") ? 1 : 0;
        succeeded += output.contains("result: succeeded") ? 1 : 0;
    }
    // The limits reach both ends: some runs fail, the roomiest succeeds.
    EXPECT_GT(failed, 0);
    EXPECT_GT(succeeded, 0);
}

}  // namespace
