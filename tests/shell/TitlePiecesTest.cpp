// A long title encoded in pieces side by side and joined equals the same
// title encoded whole: every frame once and in order (frame numbers drawn in
// the picture), continuous time stamps, the same chapters, each starting on
// the frame of its own time, a DVD folder dvdauthor accepts and libdvdread
// reads back at the same length. An interlaced title keeps its fields in
// every piece.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

#include "DiscProjectFixture.h"
#include "DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "InterlacedMedia.h"
#include "production/MakeDVDVideo.h"

using namespace discproject;
using namespace discreadback;

namespace {

using TitlePieces = DiscProjectTest;

constexpr double clipSeconds = 10.0;
// The second chapter starts inside the second piece, the third two frames
// after the even cut between the second and the third piece (6.72 s).
constexpr double chapterSeconds[] = {4.8, 6.8};

bool makeNumberedClip(const QString& path)
{
    return testsupport::makeNumberedClip(path, clipSeconds, {"-c:v", "libx264", "-crf", "10"});
}

using testsupport::frameNumbers;

// The media side of a project of one source file and one list page.
struct OnePage {
    std::shared_ptr<DataResource> media = std::make_shared<DataResource>();
    std::shared_ptr<DVDPageData> list = std::make_shared<DVDPageData>();
    std::shared_ptr<SectionDataResource> source;
};

OnePage onePageOver(const QString& path)
{
    OnePage project;
    project.media->addDvdPageToArray(project.list);
    project.source = SectionDataResource::resourceWithPath(path);
    project.media->addSectionDataResourceToArray(project.source);
    return project;
}

// What rendering `disc` into `work` (made here) did, with `places` places and
// pieces of at least `minimumPiece` seconds.
struct Rendered {
    bool succeeded = false;
    QString result;
    int titlesInPieces = 0;
    int mostAtOnce = 0;  // encoders
};

Rendered render(const std::shared_ptr<DVDLibrary>& disc, const QString& work, int places,
                double minimumPiece)
{
    Rendered rendered;
    if (!QDir().mkpath(work)) {
        rendered.result = "no work folder";
        return rendered;
    }
    MakeDVDVideo step;
    step.setMaximumConcurrentTitles(places);
    step.setMinimumPieceLength(minimumPiece);
    const ProductionResult made = testsupport::renderOnProductionThread(step, disc, work);
    rendered.succeeded = made.isSucceeded();
    rendered.result = made.toString();
    rendered.titlesInPieces = step.titlesInPieces();
    rendered.mostAtOnce = step.mostConcurrentConversions();
    return rendered;
}

// The numbers of every frame of the numbered clip, in order.
QList<int> everyFrame()
{
    QList<int> numbers;
    for (int n = 0; n < qRound(clipSeconds * 25); ++n) {
        numbers << n;
    }
    return numbers;
}

// The presentation times (90 kHz ticks) of the frames of the stream's video
// ("v") or audio ("a") in order; -1 for a frame whose time the stream does
// not carry (video frames that share a packet of the program stream).
QList<qint64> framePts(const QString& stream, const char* kind)
{
    QString out;
    testsupport::runProgram("ffprobe",
                            {"-v", "error", "-select_streams", kind, "-show_entries", "frame=pts",
                             "-of", "json", stream},
                            &out);
    QList<qint64> times;
    const QJsonArray frames =
        QJsonDocument::fromJson(out.toUtf8()).object().value("frames").toArray();
    for (const QJsonValue& frame : frames) {
        times << frame.toObject().value("pts").toInteger(-1);
    }
    return times;
}

// A digest of the stream's audio units as they are stored.
QString audioDigest(const QString& stream)
{
    QString out;
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-i", stream, "-map", "0:a", "-c", "copy", "-f", "md5", "-"},
        &out);
    return out.trimmed();
}

// Seconds from the start of the first title to each of its chapters.
QList<double> chapterStarts(const QString& folder)
{
    QList<double> starts;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(folder).constData());
    ifo_handle_t* vts = dvd ? ifoOpen(dvd, 1) : nullptr;
    const pgc_t* pgc = vts && vts->vts_pgcit && vts->vts_pgcit->nr_of_pgci_srp > 0
                           ? vts->vts_pgcit->pgci_srp[0].pgc
                           : nullptr;
    if (pgc && pgc->program_map && pgc->cell_playback) {
        for (int program = 0; program < pgc->nr_of_programs; ++program) {
            double seconds = 0.0;
            for (int cell = 0; cell + 1 < pgc->program_map[program]; ++cell) {
                seconds += secondsOf(pgc->cell_playback[cell].playback_time);
            }
            starts << seconds;
        }
    }
    if (vts) {
        ifoClose(vts);
    }
    if (dvd) {
        DVDClose(dvd);
    }
    return starts;
}

TEST_F(TitlePieces, TitleEncodedInPiecesEqualsTheTitleEncodedWhole)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("numbered.mp4");
    ASSERT_TRUE(makeNumberedClip(path));
    const auto [media, list, source] = onePageOver(path);
    // Three chapters of one file: the title is one run of it.
    const auto first = clip(source, 0.0, chapterSeconds[0]);
    const auto second = clip(source, chapterSeconds[0], chapterSeconds[1]);
    const auto third = clip(source, chapterSeconds[1], clipSeconds);
    ASSERT_TRUE(first && second && third);
    title(list, {first, second, third});
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    services->disc->setUseNoMenu(true);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titles().size(), 1);

    struct Road {
        const char* name;
        double minimumPiece;
        int titlesInPieces;
        QString work;
    };
    Road roads[] = {{"whole", 1000.0, 0, dir.filePath("whole")},
                    {"pieces", 2.0, 1, dir.filePath("pieces")}};
    for (Road& road : roads) {
        SCOPED_TRACE(road.name);
        const Rendered made = render(disc, road.work, 3, road.minimumPiece);
        ASSERT_TRUE(made.succeeded) << qPrintable(made.result);
        EXPECT_EQ(made.titlesInPieces, road.titlesInPieces);
        if (road.titlesInPieces > 0) {
            // Three pieces at once, and the sound beside them.
            EXPECT_GE(made.mostAtOnce, 3);
            EXPECT_LE(made.mostAtOnce, 4);
        }
        EXPECT_EQ(QDir(road.work).entryList({"*.dvdpart"}, QDir::Files), QStringList());
        ASSERT_TRUE(testsupport::runDvdauthor(disc, road.work));
    }
    const QString whole = roads[0].work + "/title0.dvd";
    const QString pieces = roads[1].work + "/title0.dvd";

    const QList<int> numbers = frameNumbers(pieces, dir.filePath("pieces.yuv"));
    const QList<int> expected = everyFrame();
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(frameNumbers(whole, dir.filePath("whole.yuv")), expected);

    // Every time the stream carries is the first one plus whole frames.
    const QList<qint64> times = framePts(pieces, "v");
    ASSERT_EQ(times.size(), expected.size());
    ASSERT_EQ(framePts(whole, "v").value(0), times.first());
    int carried = 0;
    for (qsizetype i = 0; i < times.size(); ++i) {
        if (times[i] >= 0) {
            ++carried;
            EXPECT_EQ(times[i], times.first() + 3600 * i) << "frame " << i;
        }
    }
    EXPECT_GT(carried, times.size() / 2);

    // The sound is the whole title's, unit for unit: AC-3 frames of 1536
    // samples from the start to within one frame of the video's end.
    const QList<qint64> sound = framePts(pieces, "a");
    EXPECT_EQ(sound, framePts(whole, "a"));
    EXPECT_NEAR(sound.size() * 1536 / 48000.0, clipSeconds, 1536 / 48000.0);
    EXPECT_EQ(audioDigest(pieces), audioDigest(whole));
    EXPECT_FALSE(audioDigest(whole).isEmpty());

    const QJsonObject a = testsupport::probeMedia(whole);
    const QJsonObject b = testsupport::probeMedia(pieces);
    EXPECT_EQ(a.value("streams").toArray().size(), b.value("streams").toArray().size());

    const ReadBack readWhole = readBack(roads[0].work + "/dvd.dvdmedia");
    const ReadBack readPieces = readBack(roads[1].work + "/dvd.dvdmedia");
    EXPECT_EQ(readPieces.chapters, QList<int>{3});
    EXPECT_EQ(readPieces.chapters, readWhole.chapters);
    ASSERT_EQ(readPieces.titleSeconds.size(), 1);
    EXPECT_NEAR(readPieces.titleSeconds.value(0), readWhole.titleSeconds.value(0), 0.02);
    EXPECT_NEAR(readPieces.titleSeconds.value(0), clipSeconds, 0.1);
    // Each chapter starts on the frame of its own time, within half a frame,
    // on both roads.
    const QList<double> asked{0.0, chapterSeconds[0], chapterSeconds[1]};
    for (const Road& road : roads) {
        const QList<double> starts = chapterStarts(road.work + "/dvd.dvdmedia");
        ASSERT_EQ(starts.size(), asked.size()) << road.name;
        for (qsizetype i = 0; i < starts.size(); ++i) {
            EXPECT_NEAR(starts[i], asked[i], 0.5 / 25) << road.name << ", chapter " << i + 1;
        }
    }
}

// The mean difference in grey levels between two pictures of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull()) {
        return 255.0;
    }
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* lineA = a.constScanLine(y);
        const uchar* lineB = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(lineA[x] - lineB[x]);
        }
    }
    return static_cast<double>(sum) / (a.width() * a.height());
}

// The menu shows the title moving: it draws the title's own movie. Beside a
// title in pieces (whose pieces and sound read the file through movies of
// their own) it is drawn at once, in the place kept for it, and the title
// and the menu come out as they do when the menu waits for the title encoded
// whole, which uses that movie itself.
TEST_F(TitlePieces, AMenuIsDrawnBesideItsTitleInPieces)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("numbered.mp4");
    ASSERT_TRUE(makeNumberedClip(path));
    const auto [media, list, source] = onePageOver(path);
    const auto whole = clip(source, 0.0, clipSeconds);
    ASSERT_TRUE(whole);
    const auto only = title(list, {whole});
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    ASSERT_TRUE(list->menuPage() && only->menuItem());
    // The title's picture large in the middle of the page, as the menu
    // editor lays out a page of one title.
    only->menuItem()->setFrame({187, 100, 480, 270});
    list->menuPage()->setMenuDuration(2.0);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->menus().size(), 1);

    struct Road {
        const char* name;
        double minimumPiece;
        int titlesInPieces;
        int mostAtOnce;  // encoders
        QString work;
    };
    // Of four places the menu keeps one: three pieces and the menu at once,
    // or the title whole and then the menu.
    Road roads[] = {{"whole", 1000.0, 0, 1, dir.filePath("whole")},
                    {"pieces", 2.0, 1, 4, dir.filePath("pieces")}};
    for (Road& road : roads) {
        SCOPED_TRACE(road.name);
        const Rendered made = render(disc, road.work, 4, road.minimumPiece);
        ASSERT_TRUE(made.succeeded) << qPrintable(made.result);
        EXPECT_EQ(made.titlesInPieces, road.titlesInPieces);
        EXPECT_EQ(made.mostAtOnce, road.mostAtOnce);
        ASSERT_TRUE(testsupport::runDvdauthor(disc, road.work));
    }

    const QList<int> expected = everyFrame();
    EXPECT_EQ(frameNumbers(roads[1].work + "/title0.dvd", dir.filePath("pieces.yuv")), expected);
    EXPECT_EQ(audioDigest(roads[1].work + "/title0.dvd").toStdString(),
              audioDigest(roads[0].work + "/title0.dvd").toStdString());

    const QList<QImage> after =
        testsupport::greyFrames(roads[0].work + "/menu0.dvd", dir.filePath("after"));
    const QList<QImage> beside =
        testsupport::greyFrames(roads[1].work + "/menu0.dvd", dir.filePath("beside"));
    ASSERT_EQ(beside.size(), 50);
    ASSERT_EQ(after.size(), beside.size());
    // The button's picture moves: the menu draws the title's frames.
    EXPECT_GT(meanDifference(beside.first(), beside.last()), 2.0);
    for (qsizetype i = 0; i < beside.size(); ++i) {
        EXPECT_LT(meanDifference(beside[i], after[i]), 1.0) << "menu frame " << i;
    }
    testsupport::writeArtifact(beside.value(25), "menu-beside-pieces.png");
}

// Frames of a title whose two fields are not the next two fields of the
// source after the frame before (top field first), described.
QStringList fieldFaults(const QList<QImage>& pictures, int firstFrame)
{
    QStringList faults;
    for (int i = 0; i < pictures.size(); ++i) {
        const int top = testsupport::fieldNumber(pictures[i], 0);
        const int bottom = testsupport::fieldNumber(pictures[i], 1);
        const int expected = 2 * (firstFrame + i);
        if (top != expected || bottom != expected + 1) {
            faults << QString("frame %1: %2 %3").arg(i).arg(top).arg(bottom);
        }
    }
    return faults;
}

TEST_F(TitlePieces, InterlacedTitleIsCodedInFieldsInEveryPiece)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("00001.MTS");
    constexpr double seconds = 6.0;
    ASSERT_TRUE(testsupport::makeCamcorderStream(path, seconds, 1.0));
    const auto [media, list, source] = onePageOver(path);
    const auto whole = clip(source, 0.0, seconds);
    ASSERT_TRUE(whole);
    title(list, {whole});
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    services->disc->setUseNoMenu(true);
    const auto disc = discModel();
    ASSERT_TRUE(disc);

    const QString work = dir.filePath("work");
    const Rendered made = render(disc, work, 3, 1.5);
    ASSERT_TRUE(made.succeeded) << qPrintable(made.result);
    ASSERT_EQ(made.titlesInPieces, 1);
    const QString stream = work + "/title0.dvd";
    EXPECT_EQ(testsupport::fieldOrderOf(stream).toStdString(), "tt");
    // Every frame, across the cuts (at 2.24 s and 3.92 s), is two fields of
    // the source in order.
    const QList<QImage> pictures = testsupport::greyFrames(stream, dir.filePath("grey"));
    ASSERT_GE(pictures.size(), qRound(seconds * 25) - 1);
    const int shown = testsupport::frameNumber(pictures.value(0));
    EXPECT_NEAR(shown, 0, 1);
    EXPECT_EQ(fieldFaults(pictures, shown).join("; ").toStdString(), "");
    testsupport::writeArtifact(pictures.value(56), "pieces-interlaced-cut-frame.png");
}

}  // namespace
