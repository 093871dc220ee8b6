// From the video edit sheet to a disc: a 6 s clip whose frames show their
// number (eight vertical bands, band k white when bit k of the number is
// set) is imported as a clip, segments 1-2 s and 3-5 s are set through the
// sheet's controls, and the clip's title is encoded and authored the way
// production does it (the converter, then Corvane's dvdauthor step). The
// authored title must last 3 s, and its first frame must be the source's
// frame at 1 s; the frame 1 s in, the source's frame at 3 s.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>

#include "RecordingControllers.h"
#include "TestSupport.h"
#include "VideoEditDiscSupport.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMDVD.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditWindowController.h"

using namespace videoedittest;

namespace {

LMMediaTime sec(double s)
{
    return static_cast<LMMediaTime>(s * static_cast<double>(lm_default_time_base()));
}

// The number a picture shows in its bands; -1 when a band is neither dark
// nor light.
int shownNumber(const QImage& picture)
{
    int number = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int x = picture.width() * (2 * bit + 1) / 16;
        const int grey = qGray(picture.pixel(x, picture.height() / 2));
        if (grey > 160) {
            number |= 1 << bit;
        } else if (grey > 90) {
            return -1;
        }
    }
    return number;
}

TEST(VideoEditDisc, SegmentsSetOnTheSheetBecomeTheAuthoredTitle)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath("numbered.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        source, {"-f", "lavfi", "-i",
                 "color=black:size=320x180:rate=25:duration=6,format=yuv420p,"
                 "geq=lum='if(bitand(N\\,pow(2\\,floor(X*8/W)))\\,235\\,16)':cb=128:cr=128",
                 "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=6", "-c:v",
                 "libx264", "-crf", "12", "-c:a", "aac", "-shortest"}));
    auto services = std::make_shared<PalWide>();
    ModelServices::install(services);
    DVDToolLocator::setToolFolder(QString());

    // The clip, as the title list imports it.
    const auto clip = importClip(source, 6.0);
    ASSERT_TRUE(clip && clip->vcmovie());

    // Segments through the sheet: Add at 1 s and at 3 s, then the second
    // one's end typed as 5 s.
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet;
        sheet.updateWindowWithMedia(clip);
        sheet.pause();
        for (double at : {1.0, 3.0}) {
            sheet.seek(sec(at));
            QCoreApplication::processEvents();
            ASSERT_TRUE(sheet.addTrimEnable()) << at;
            sheet.addTrimButton()->click();
        }
        ASSERT_EQ(sheet.playerProgressBarView()->selectedTrimIndex(), 1);
        QLineEdit* end = sheet.trimEndFiled();
        end->setText("00:00:05");
        end->setModified(true);
        emit end->editingFinished();
        sheet.doneVideoEdit();
        EXPECT_EQ(installed.mainController->count("setDocumentEdited:YES"), 1);
    }
    const auto trims = clip->vcmovie()->trimArray();
    ASSERT_EQ(trims.size(), 2);
    EXPECT_NEAR(trims[0]->start(), 1.0, 1e-6);
    EXPECT_NEAR(trims[0]->stop(), 2.0, 1e-6);
    EXPECT_NEAR(trims[1]->start(), 3.0, 1e-6);
    EXPECT_NEAR(trims[1]->stop(), 5.0, 1e-6);

    // Production's road: the title's stream, then dvdauthor.
    const QString folder = authorClip(clip, dir.filePath("work"));
    ModelServices::install(nullptr);
    ASSERT_FALSE(folder.isEmpty());

    const LMDVD::Ptr read = LMDVD::open(folder);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->titleSources().size(), 1);
    const double seconds =
        read->titleSources().first().dictionary().value("duration").toDouble().value_or(-1);
    EXPECT_NEAR(seconds, 3.0, 2.0 / 25.0);

    const QString vob = folder + "/VIDEO_TS/VTS_01_1.VOB";
    const QImage first = frameOf(vob, 0, dir.filePath("first.png"));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(shownNumber(first), 25) << "the source's frame at 1 s";
    EXPECT_EQ(shownNumber(frameOf(vob, 25, dir.filePath("second.png"))), 75)
        << "1 s in: the second piece, the source's frame at 3 s";
    const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (!artifacts.isEmpty()) {
        first.save(artifacts + "/video-edit-disc-first-frame.png");
    }
}

}  // namespace
