// A recording whose container flags no key packets (MPEG-2 in ASF, as some
// muxers write it) on the program's whole road: imported through the title
// list, saved and reopened, produced from the disc model. A seek in such a
// stream finds no key packet to start decoding at, and ASF's own search for
// one reads the file to its end; a long title cut into pieces asks for
// dozens of key frames before it starts encoding. The file is read once to
// find them, and each piece starts decoding on a picture of its own.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <chrono>
#include <future>

#include "ImportedDiscFixture.h"
#include "KeylessStream.h"
#include "lumenta/LMFunctions.h"
#include "production/MakeDVDVideo.h"

namespace {

class KeylessStreamDiscTest : public importeddisc::ImportedDiscTest {};

// Ten minutes in eight pieces: from the import to the first picture encoded,
// the readers read the file about twice (the import's first seek finds the
// container cannot seek it, the key frames are read once), not once for
// every key frame the cuts ask for.
TEST_F(KeylessStreamDiscTest, ATenMinuteTitleStartsEncodingAfterReadingTheFileOnce)
{
    const QString clip = folders.root() + "/recording.asf";
    ASSERT_TRUE(testsupport::makeKeylessClip(clip, 600.0));
    ASSERT_EQ(testsupport::keyPackets(clip), 0);
    const double size = static_cast<double>(QFileInfo(clip).size());
    services->disc->setUseNoMenu(true);
    const int64_t before = lm_video_bytes_read();
    const auto clips = importSaveReopen(clip, {{0.0, 0.0}});
    ASSERT_EQ(clips.size(), 1);
    DiscSideRebuild(reopened.media, reopened.disc).flushDVDResourceBeforeEdit();
    const auto library = discModel();
    ASSERT_TRUE(library);
    const QString work = folders.root() + "/work";
    ASSERT_TRUE(QDir().mkpath(work));

    MakeDVDVideo step;
    step.setMaximumConcurrentTitles(8);
    std::future<ProductionResult> done =
        std::async(std::launch::async, [&] { return step.makeDVDVideo(library, work); });
    int64_t atStart = -1;
    while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (atStart < 0 && step.progress() > 0.0) {
            atStart = lm_video_bytes_read();
            step.cancel();
        }
    }
    done.get();
    ASSERT_GE(atStart, 0) << "encoding never started";
    EXPECT_EQ(step.titlesInPieces(), 1);
    EXPECT_LT((atStart - before) / size, 3.0);
}

// A title from the middle of the recording, cut into pieces: each piece
// starts decoding on a picture the index found, and the disc shows every
// frame of the cut once, in order, from its first.
TEST_F(KeylessStreamDiscTest, ATitleFromTheMiddleInPiecesShowsEveryFrameInOrder)
{
    const QString clip = folders.root() + "/recording.asf";
    ASSERT_TRUE(testsupport::makeKeylessClip(clip, 60.0));
    ASSERT_EQ(testsupport::keyPackets(clip), 0);
    services->disc->setUseNoMenu(true);
    const auto clips = importSaveReopen(clip, {{30.0, 42.0}});
    ASSERT_EQ(clips.size(), 1);
    int inPieces = 0;
    const QString disc = produce(2.0, &inPieces);
    ASSERT_FALSE(disc.isEmpty());
    EXPECT_EQ(inPieces, 1);
    const QString vob = folders.root() + "/title1.vob";
    ASSERT_TRUE(discreadback::extractTitle(disc, 1, vob));
    const QList<int> numbers = testsupport::frameNumbers(vob, vob + ".yuv");
    ASSERT_GE(numbers.size(), 299);
    // Frame 750 of the source shows 750; the numbers start again after 999.
    EXPECT_EQ(numbers.first(), 750);
    QStringList faults;
    for (qsizetype i = 1; i < numbers.size(); ++i) {
        if (numbers[i] != (numbers[i - 1] + 1) % 1000) {
            faults << QString("frame %1: %2 after %3").arg(i).arg(numbers[i]).arg(numbers[i - 1]);
        }
    }
    EXPECT_EQ(faults.join("; ").toStdString(), "");
}

}  // namespace
