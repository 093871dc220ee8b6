// The workflow's own rules, with stand-in tools where a run is needed: its
// work folders, the outputs it refuses to replace, and the image step's
// failure, cancel and volume name.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <future>

#include "StandInTool.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDToolLocator.h"
#include "production/BurnDVDWorkflow.h"

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The work folders the workflow left under the temporary root.
QStringList workFolders()
{
    return QDir(FileManagerExtention::tempUsedFileDirectory())
        .entryList({"temp-*"}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

class Workflow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        DVDToolLocator::setToolFolder(QString());
        // A folder that looks like a DVD folder to the image step.
        media = folders.root() + "/My Disc.dvdmedia";
        ASSERT_TRUE(writeFile(media + "/VIDEO_TS/VIDEO_TS.IFO", QByteArray(4096, 'x')));
        ASSERT_TRUE(QDir().mkpath(media + "/AUDIO_TS"));
        iso = folders.root() + "/out/My Disc.iso";
    }

    // Runs `step` on a worker thread, calling `meanwhile` on this thread until it ends.
    template <typename Step, typename Meanwhile>
    ProductionResult run(Step step, Meanwhile meanwhile)
    {
        std::future<ProductionResult> done = std::async(std::launch::async, step);
        QElapsedTimer timer;
        timer.start();
        while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            meanwhile();
            if (timer.elapsed() > 60000) {
                ADD_FAILURE() << "the step did not end";
                flow.cancel();
            }
        }
        return done.get();
    }

    testsupport::UserFolders folders;
    BurnDVDWorkflow flow;
    QString media;
    QString iso;
};

TEST_F(Workflow, WorkPathsAreNewFoldersUnderTheTemporaryRoot)
{
    const QString root = FileManagerExtention::tempUsedFileDirectory();
    const QRegularExpression name("^temp-\\d+\\.\\d{6}$");
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString path = BurnDVDWorkflow::workPath();
        EXPECT_EQ(QFileInfo(path).absolutePath(), root);
        EXPECT_TRUE(name.match(QFileInfo(path).fileName()).hasMatch()) << qPrintable(path);
        EXPECT_FALSE(seen.contains(path));
        seen.insert(path);
    }
    // Seconds since 2001: about 24 years' worth, not since 1970.
    const double seconds = QFileInfo(*seen.begin()).fileName().mid(5).toDouble();
    EXPECT_GT(seconds, 7.0e8);
    EXPECT_LT(seconds, 1.5e9);
}

TEST_F(Workflow, FolderStepRefusesWhatItMustNotReplaceAndDiscsWithoutTitles)
{
    auto disc = std::make_shared<DVDLibrary>();
    const QString output = folders.root() + "/out/Holiday";
    ASSERT_TRUE(writeFile(output + "/notes.txt", "mine"));
    ProductionResult result = flow.make(disc, output);
    EXPECT_TRUE(result.isFailed());  // no titles

    disc->setTitles({nullptr});
    result = flow.make(disc, output);
    ASSERT_TRUE(result.isFailed());
    EXPECT_TRUE(result.reason().contains(output)) << qPrintable(result.reason());
    EXPECT_TRUE(QFileInfo::exists(output + "/notes.txt"));
    const QString file = folders.root() + "/out/Holiday.iso";
    ASSERT_TRUE(writeFile(file, "an old image"));
    EXPECT_TRUE(flow.make(disc, file).isFailed());
    EXPECT_EQ(QFileInfo(file).size(), 12);
    EXPECT_TRUE(workFolders().isEmpty());
    EXPECT_EQ(flow.progress(), 0.0);
    EXPECT_EQ(flow.task(), nullptr);
}

TEST_F(Workflow, FailingImageToolLeavesNoImageAnywhere)
{
    testsupport::StandInTool mkisofs("mkisofs", "echo partial > dvd.iso\nexit 3");
    ASSERT_TRUE(mkisofs.isValid());
    ASSERT_TRUE(writeFile(iso, "an image of an earlier run"));
    const ProductionResult result = flow.make(media, iso, "My Disc");
    ASSERT_TRUE(result.isFailed());
    EXPECT_TRUE(result.reason().contains("mkisofs")) << qPrintable(result.reason());
    EXPECT_FALSE(QFileInfo::exists(iso));
    EXPECT_TRUE(workFolders().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(media + "/VIDEO_TS/VIDEO_TS.IFO"));
    EXPECT_EQ(flow.convertedLength(), 0.0);  // reset for the next step
}

TEST_F(Workflow, CancelDuringTheImageStepLeavesNoImage)
{
    testsupport::StandInTool mkisofs(
        "mkisofs", "head -c 3000 /dev/zero > dvd.iso\ntouch \"$0.started\"\nexec sleep 60");
    ASSERT_TRUE(mkisofs.isValid());
    QList<double> samples;
    bool cancelled = false;
    const ProductionResult result =
        run([&] { return flow.make(media, iso, "My Disc"); },
            [&] {
                samples << flow.progress();
                if (!cancelled && QFileInfo::exists(mkisofs.tracePath("mkisofs.started"))) {
                    cancelled = true;
                    EXPECT_TRUE(flow.task());
                    flow.cancel();
                }
            });
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_TRUE(flow.isCancelled());
    EXPECT_FALSE(QFileInfo::exists(iso));
    EXPECT_TRUE(workFolders().isEmpty());
    // The partial image counted, never past the cap; then the step's reset.
    double highest = 0.0;
    for (double p : samples) {
        EXPECT_LE(p, 0.98);
        highest = std::max(highest, p);
    }
    EXPECT_GT(highest, 0.3);
    // A cancelled workflow starts nothing more.
    EXPECT_TRUE(flow.make(media, iso, "My Disc").isCancelled());
    EXPECT_FALSE(QFileInfo::exists(iso));
}

TEST_F(Workflow, EmptyVolumeNameBecomesMyDvd)
{
    testsupport::StandInTool mkisofs(
        "mkisofs", "printf '%s\\n' \"$@\" > \"$0.args\"\nprintf 'image' > dvd.iso");
    ASSERT_TRUE(mkisofs.isValid());
    const ProductionResult result = flow.make(media, iso, "");
    ASSERT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    QFile args(mkisofs.tracePath("mkisofs.args"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(args.readAll()).split('\n');
    const qsizetype v = lines.indexOf("-V");
    ASSERT_GE(v, 0);
    EXPECT_EQ(lines.value(v + 1), "My DVD");
    EXPECT_EQ(lines.value(lines.indexOf("-o") + 1), "dvd.iso");
    EXPECT_TRUE(lines.contains(media));
    QFile image(iso);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.readAll(), "image");
    EXPECT_TRUE(workFolders().isEmpty());
}

}  // namespace
