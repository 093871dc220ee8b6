// From the video edit sheet to a disc: a 6 s clip whose frames show their
// number (eight vertical bands, band k white when bit k of the number is
// set) is imported as a clip, segments 1-2 s and 3-5 s are set through the
// sheet's controls, and the clip's title is encoded and authored the way
// production does it (the converter, then Corvane's dvdauthor step). The
// authored title must last 3 s, and its first frame must be the source's
// frame at 1 s; the frame 1 s in, the source's frame at 3 s.
//
// The subtitle and audio pages take the same road: a clip with a 440 Hz and
// an 880 Hz stream gets a Shift-JIS subtitle cue from 1 s to 2 s and its
// second track through the sheet; a second import of the same file gets the
// volume 0 %. On the authored disc the first title shows the cue at 1.5 s
// and not at 3 s, its AC-3 is the 880 Hz tone, and the second title is
// silent.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <cstring>
#include <vector>

#include "RecordingControllers.h"
#include "SubtitleFixtures.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "VideoEditDiscSupport.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMDVD.h"
#include "lumenta/LMFunctions.h"
#include "model/DVDResource.h"
#include "model/MediaData.h"
#include "videoedit/VEPlayerProgressBarView.h"
#include "videoedit/VideoEditAudioTab.h"
#include "videoedit/VideoEditSubtitleTab.h"
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

// Bright pixels in the lower third of a picture over black.
int lowerThirdInk(const QImage& picture)
{
    int ink = 0;
    for (int y = picture.height() * 2 / 3; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ink += qGray(picture.pixel(x, y)) > 150 ? 1 : 0;
        }
    }
    return ink;
}

// `length` seconds of a stream's first audio track from `from`, mono.
std::vector<float> audioOf(const QString& stream, double from, double length, const QString& raw)
{
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", stream, "-map", "0:a:0", "-ss", QString::number(from),
                   "-t", QString::number(length), "-ac", "1", "-ar", "48000", "-f", "f32le", raw});
    QFile file(raw);
    std::vector<float> samples;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        samples.resize(static_cast<size_t>(bytes.size()) / sizeof(float));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    }
    return samples;
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
    DVDToolLocator::setToolFolder(QString());

    // The clip, as the title list imports it.
    const auto clip = importClip(source, 6.0);
    ASSERT_TRUE(clip && clip->vcmovie());

    // Segments through the sheet: Add at 1 s and at 3 s, then the second
    // one's end typed as 5 s.
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
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

TEST(VideoEditDisc, SubtitleTrackAndVolumeChosenOnTheSheetReachTheDisc)
{
    testsupport::UserFolders folders;
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath("two-tones.mp4");
    ASSERT_TRUE(subtitlefixtures::makeTwoToneClip(source, 4.0));
    const QString cue = dir.filePath("cue.srt");
    ASSERT_TRUE(subtitlefixtures::writeFile(
        cue, subtitlefixtures::encode(subtitlefixtures::srt({QStringLiteral("字幕のテスト")}),
                                      "SHIFT_JIS")));
    DVDToolLocator::setToolFolder(QString());

    const auto voiced = importClip(source, 4.0);
    const auto silent = importClip(source, 4.0);
    ASSERT_TRUE(voiced && voiced->vcmovie() && silent && silent->vcmovie());
    ASSERT_NE(voiced->ffmovie(), silent->ffmovie());
    {
        testsupport::InstalledControllers installed;
        VideoEditWindowController sheet{nullptr, installed.mainController};
        sheet.updateWindowWithMedia(voiced);
        sheet.pause();
        sheet.segmentSelectChanged(3);
        VideoEditSubtitleTab& subtitles = *sheet.subtitleTab();
        subtitles.addSubtitlePathToList(cue);
        QCoreApplication::processEvents();  // the pop-up lists it
        emit subtitles.subtitlePathButton()->activated(1);
        ASSERT_TRUE(voiced->ffmovie()->hasSubtitle()) << subtitles.subtitleProblem().toStdString();
        sheet.segmentSelectChanged(4);
        emit sheet.audioTab()->audioTrackPopBtn()->activated(1);
        EXPECT_EQ(voiced->audioTreamTag(), 1);
        sheet.doneVideoEdit();

        sheet.updateWindowWithMedia(silent);
        sheet.pause();
        QLineEdit* volume = sheet.audioTab()->volumeField();
        volume->setText("0");
        volume->setModified(true);
        emit volume->editingFinished();
        sheet.doneVideoEdit();
    }
    EXPECT_FLOAT_EQ(silent->ffmovie()->volume(), 0.0f);

    const QString folder = authorClips({voiced, silent}, dir.filePath("work"));
    ASSERT_FALSE(folder.isEmpty());

    const LMDVD::Ptr read = LMDVD::open(folder);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->titleSources().size(), 2);
    // Both titles lie one after the other in the title set's stream.
    const QString vob = folder + "/VIDEO_TS/VTS_01_1.VOB";
    const QImage during = frameOf(vob, 37, dir.filePath("during.png"));
    const QImage after = frameOf(vob, 75, dir.filePath("after.png"));
    ASSERT_FALSE(during.isNull());
    ASSERT_FALSE(after.isNull());
    EXPECT_GT(lowerThirdInk(during), 50) << "the cue at 1.5 s";
    EXPECT_EQ(lowerThirdInk(after), 0) << "no cue at 3 s";
    testsupport::writeArtifact(during, "video-edit-disc-subtitle-1.5s.png");

    const auto first = audioOf(vob, 0.5, 3.0, dir.filePath("first.raw"));
    ASSERT_GT(first.size(), 48000u);
    EXPECT_NEAR(subtitlefixtures::toneFrequency(first, 48000), 880.0, 15.0) << "track 2";
    const auto second = audioOf(vob, 4.5, 3.0, dir.filePath("second.raw"));
    ASSERT_GT(second.size(), 48000u);
    EXPECT_LT(subtitlefixtures::peakOf(second), 1e-3f) << "volume 0 %";
}

}  // namespace
