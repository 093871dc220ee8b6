// Interlaced sources on the program's whole road: imported through the title
// list's import, saved and reopened as a project, produced into a DVD folder
// and read back picture by picture. A camcorder's transport stream (starting
// late, B-frames, key frames seconds apart) and a MiniDV AVI: every title
// starts on the source's frame at its trim start, every frame after it is the
// next one, and both fields of each frame reach the disc in the source's
// order, so that the motion keeps its 50 (or 60000/1001) steps a second,
// also when a title is cut into pieces on the way.
#include <gtest/gtest.h>

#include <ostream>

#include "../lumenta/RecordingProvider.h"
#include "ImportedDiscFixture.h"
#include "media/VCMovie.h"

namespace {

using importeddisc::Cut;

class InterlacedDiscTest : public importeddisc::ImportedDiscTest {};

// Frames of a title whose two fields are not the next two fields of the
// source after the frame before (first field in `first` rows), described.
QStringList fieldFaults(const QList<QImage>& pictures, int firstFrame, int first, int count)
{
    QStringList faults;
    for (int i = 0; i < count && i < pictures.size(); ++i) {
        const int a = testsupport::fieldNumber(pictures[i], first);
        const int b = testsupport::fieldNumber(pictures[i], 1 - first);
        const int expected = 2 * (firstFrame + i);
        if (a != expected || b != expected + 1) {
            faults << QString("frame %1: %2 %3, not %4 %5")
                          .arg(i)
                          .arg(a)
                          .arg(b)
                          .arg(expected)
                          .arg(expected + 1);
        }
    }
    return faults;
}

TEST_F(InterlacedDiscTest, CamcorderTitlesStartOnTheirFrameAndKeepTheirFields)
{
    const QString clip = folders.root() + "/00001.MTS";
    // Key frames at 0 and 4 s only; the stream starts at about 1.4 s.
    ASSERT_TRUE(testsupport::makeCamcorderStream(clip, 6.0, 4.0));
    const QList<Cut> cuts{{0.0, 0.0}, {0.0, 5.0}, {1.0, 3.0}};
    const auto clips = importSaveReopen(clip, cuts);
    ASSERT_EQ(clips.size(), cuts.size());

    // The picture the list and the menu editor show of each clip, made at
    // its import from the middle of the file (at most 5.5 s in), and the
    // preview's first picture of the clip.
    for (int i = 0; i < clips.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(testsupport::frameNumber(clips[i]->previewImage()), 75, 1);
        RecordingProvider provider;
        const VCMovie::Ptr piece = clips[i]->segmentMovies().value(0);
        ASSERT_TRUE(piece);
        piece->movie()->decodeImageAtTime(piece->trimStart() + 10000, &provider, true);
        EXPECT_NEAR(testsupport::frameNumber(provider.wait(1).value(0)), qRound(cuts[i].start * 25),
                    1);
        if (i == 0) {
            testsupport::writeArtifact(clips[i]->previewImage(), "camcorder-list-thumbnail.png");
            testsupport::writeArtifact(provider.images().value(0), "camcorder-preview-first.png");
        }
    }

    const QString disc = produce();
    ASSERT_FALSE(disc.isEmpty());
    for (int t = 0; t < cuts.size(); ++t) {
        SCOPED_TRACE(t);
        const QList<QImage> pictures = titlePictures(disc, t + 1);
        ASSERT_GE(pictures.size(), 50);
        const int first = qRound(cuts[t].start * 25);
        EXPECT_NEAR(testsupport::frameNumber(pictures[0]), first, 1);
        // It moves from the first second on: two fields a frame, in order.
        const int shown = testsupport::frameNumber(pictures[0]);
        EXPECT_EQ(fieldFaults(pictures, shown, 0, 50).join("; ").toStdString(), "");
        EXPECT_EQ(testsupport::fieldOrderOf(titleStreams.last()).toStdString(), "tt");
        testsupport::writeArtifact(pictures[0],
                                   QString("camcorder-disc-title%1-first.png").arg(t + 1));
        testsupport::writeArtifact(pictures[30],
                                   QString("camcorder-disc-title%1-frame30.png").arg(t + 1));
    }
}

// A title long enough to be cut (here with pieces of 1.5 s, as a title of a
// minute or more is cut with pieces of 30 s): each piece decodes from a key
// frame seconds before its cut, and the disc still shows every frame of the
// source once, in order, with both its fields.
TEST_F(InterlacedDiscTest, CamcorderTitleInPiecesKeepsEveryFrameAndItsFields)
{
    const QString clip = folders.root() + "/00002.MTS";
    ASSERT_TRUE(testsupport::makeCamcorderStream(clip, 8.0, 4.0));
    const auto clips = importSaveReopen(clip, {{0.0, 0.0}});
    ASSERT_EQ(clips.size(), 1);
    int inPieces = 0;
    const QString disc = produce(1.5, &inPieces);
    ASSERT_FALSE(disc.isEmpty());
    EXPECT_EQ(inPieces, 1);
    const QList<QImage> pictures = titlePictures(disc, 1);
    ASSERT_GE(pictures.size(), 195);
    EXPECT_NEAR(testsupport::frameNumber(pictures[0]), 0, 1);
    const int shown = testsupport::frameNumber(pictures[0]);
    // Up to the source's last frame (a title may hold it at its very end).
    const int count = std::min<int>(pictures.size(), 200 - shown);
    EXPECT_EQ(fieldFaults(pictures, shown, 0, count).join("; ").toStdString(), "");
    EXPECT_EQ(testsupport::fieldOrderOf(titleStreams.last()).toStdString(), "tt");
}

TEST_F(InterlacedDiscTest, MiniDvTitleKeepsItsBottomFieldFirst)
{
    services->disc->setDvdFormat(0);  // NTSC, as the tape
    services->disc->setAspectType(0);
    const QString clip = folders.root() + "/tape.avi";
    ASSERT_TRUE(testsupport::makeMiniDvClip(clip, 3.0));
    const auto clips = importSaveReopen(clip, {{0.0, 0.0}});
    ASSERT_EQ(clips.size(), 1);

    const QString disc = produce();
    ASSERT_FALSE(disc.isEmpty());
    const QList<QImage> pictures = titlePictures(disc, 1);
    ASSERT_GE(pictures.size(), 60);
    EXPECT_EQ(testsupport::frameNumber(pictures[0]), 0);
    EXPECT_EQ(fieldFaults(pictures, 0, 1, 60).join("; ").toStdString(), "");
    EXPECT_EQ(testsupport::fieldOrderOf(titleStreams.last()).toStdString(), "bb");
    testsupport::writeArtifact(pictures[0], "minidv-disc-first.png");
    testsupport::writeArtifact(pictures[45], "minidv-disc-frame45.png");
}

// A source on a disc of the other television standard: a camcorder's 50
// fields a second onto NTSC, a tape's 60000/1001 onto PAL, taken as it is
// (the direct road) or mirrored (an edit: the composed road).
struct OtherStandard {
    const char* name;
    bool tape;      // the MiniDV tape, else the camcorder's stream
    int dvdFormat;  // 0 NTSC, 1 PAL
    bool mirrored;
};

void PrintTo(const OtherStandard& road, std::ostream* out)
{
    *out << road.name;
}

class InterlacedOtherStandardTest : public InterlacedDiscTest,
                                    public ::testing::WithParamInterface<OtherStandard> {};

// The numbers of the fields a title shows, in the order a television shows
// them: each frame's first field (by the stream's field order), then its
// second, the pictures mirrored back when the title was mirrored.
QList<int> shownFields(const QList<QImage>& pictures, const QString& order, bool mirrored)
{
    const int first = order == "bb" ? 1 : 0;
    QList<int> fields;
    for (const QImage& picture : pictures) {
        const QImage upright = mirrored ? picture.mirrored(true, false) : picture;
        fields << testsupport::fieldNumber(upright, first)
               << testsupport::fieldNumber(upright, 1 - first);
    }
    return fields;
}

// Where the fields shown step back in time, leap more than `longest` fields
// of the source ahead, or show no field of the source.
QStringList faultySteps(const QList<int>& fields, int longest)
{
    QStringList faults;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i] < 0) {
            faults << QString("field %1 shows none").arg(i);
        } else if (i > 0 && (fields[i] < fields[i - 1] || fields[i] > fields[i - 1] + longest)) {
            faults << QString("field %1: %2 after %3").arg(i).arg(fields[i]).arg(fields[i - 1]);
        }
    }
    return faults;
}

// The fields of the other standard's rate are not the disc's: a frame of
// the source repeated (50 fields onto 60) shows its two fields again, and
// the motion steps back; one dropped (60 onto 50) leaves a gap of two
// fields. Whichever road, the title's motion only goes forward, up to the
// source's end, and the road that keeps fields keeps their pace.
TEST_P(InterlacedOtherStandardTest, MotionOnlyGoesForward)
{
    const OtherStandard road = GetParam();
    services->disc->setDvdFormat(road.dvdFormat);
    // The camcorder's picture is 16:9, the tape's 4:3: the disc's own.
    services->disc->setAspectType(road.tape ? 0 : 1);
    constexpr double length = 3.0;
    const QString clip = folders.root() + (road.tape ? "/tape.avi" : "/00003.MTS");
    ASSERT_TRUE(road.tape ? testsupport::makeMiniDvClip(clip, length)
                          : testsupport::makeCamcorderStream(clip, length, 1.0));
    const auto clips = importSaveReopen(clip, {{0.0, 0.0}}, [&road](MediaData& media) {
        media.ffmovie()->setHflip(road.mirrored);
    });
    ASSERT_EQ(clips.size(), 1);

    const QString disc = produce();
    ASSERT_FALSE(disc.isEmpty());
    const QList<QImage> pictures = titlePictures(disc, 1);
    const double rate = road.dvdFormat == 0 ? 30000.0 / 1001 : 25.0;
    ASSERT_GE(pictures.size(), qRound(length * rate) - 1);
    const QString order = testsupport::fieldOrderOf(titleStreams.last());
    const QList<int> fields = shownFields(pictures, order, road.mirrored);
    if (road.mirrored) {
        // Composed: a picture a frame, of the source's frame at its time.
        EXPECT_EQ(faultySteps(fields, 4).join("; ").toStdString(), "");
    } else {
        // Taken as it is: coded in fields, each the source's field nearest
        // its time, in the source's field order.
        EXPECT_EQ(faultySteps(fields, 2).join("; ").toStdString(), "");
        EXPECT_EQ(order.toStdString(), road.tape ? "bb" : "tt");
    }
    const int sourceFields = qRound(length * (road.tape ? 60000.0 / 1001 : 50.0));
    EXPECT_LE(fields.value(0), 1);
    EXPECT_GE(fields.value(fields.size() - 1), sourceFields - 4);
    testsupport::writeArtifact(pictures.value(7),
                               QString("other-standard-%1-frame7.png").arg(road.name));
}

INSTANTIATE_TEST_SUITE_P(
    Roads, InterlacedOtherStandardTest,
    ::testing::Values(OtherStandard{"camcorder_onto_ntsc", false, 0, false},
                      OtherStandard{"camcorder_mirrored_onto_ntsc", false, 0, true},
                      OtherStandard{"tape_onto_pal", true, 1, false},
                      OtherStandard{"tape_mirrored_onto_pal", true, 1, true}),
    [](const ::testing::TestParamInfo<OtherStandard>& info) { return info.param.name; });

}  // namespace
