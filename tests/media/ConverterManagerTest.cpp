#include <gtest/gtest.h>
#include <QFile>

#include "TestSupport.h"
#include "media/VideoConverterManager.h"

TEST(ConverterManager, MaxConvertCountIsAtLeastOne)
{
    for (auto [configured, expected] : {std::pair{0, 1}, {-3, 1}, {1, 1}, {4, 4}}) {
        VideoConverterManager::setMaxConvertCountSource([c = configured] { return c; });
        EXPECT_EQ(VideoConverterManager::getMaxConvertCount(), expected) << configured;
    }
    VideoConverterManager::setMaxConvertCountSource(nullptr);
    EXPECT_EQ(VideoConverterManager::getMaxConvertCount(), 1);
}

TEST(ConverterManager, QueriesOverTheJobs)
{
    VideoConverterManager manager;
    EXPECT_TRUE(manager.isConvertingFinish());
    EXPECT_EQ(manager.findNextMediaToConvert(nullptr), nullptr);

    auto dir = testsupport::makeTempDir();
    QList<VCVideoConverter::Ptr> jobs;
    for (int i = 0; i < 3; ++i) {
        jobs << VCVideoConverter::create();
        jobs.last()->setPath(dir.filePath(QStringLiteral("title%1.dvd").arg(i)));
    }
    jobs[1]->cancel();
    jobs[2]->cancel();
    manager.setConverters(jobs);
    EXPECT_EQ(manager.findNextMediaToConvert(jobs[2].get()), jobs[0]);
    EXPECT_EQ(manager.findNextMediaToConvert(nullptr), jobs[0]);
    EXPECT_EQ(manager.currentReadyConvert(), QList<VCVideoConverter::Ptr>{jobs[0]});
    EXPECT_EQ(manager.currentCanceledConvert().size(), 2);
    EXPECT_FALSE(manager.isConvertingFinish());
    jobs[0]->pause();
    EXPECT_EQ(manager.currentPausedConvert(), QList<VCVideoConverter::Ptr>{jobs[0]});
    EXPECT_TRUE(manager.currentConverting().isEmpty());
    manager.cancelAllOperations();
    EXPECT_TRUE(manager.isConvertingFinish());
    EXPECT_EQ(manager.currentFinishedConvert().size(), 3);
    EXPECT_EQ(manager.findNextMediaToConvert(jobs[0].get()), nullptr);

    QFile written(jobs[1]->path());
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    written.close();
    EXPECT_EQ(manager.allValidConvertedFiles(), QStringList{jobs[1]->path()});
}
