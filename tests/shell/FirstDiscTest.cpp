// The first disc from a project model: a project built in code, its media
// side (a list page with a title of one clip, a title of two clips and a photo
// slideshow with music), its disc side rebuilt from it as the main window
// does (a menu page with music, text and buttons, and the chapter page of the
// two-clip title), the disc model built from that, then the production
// workflow: the DVD folder (every title and menu stream, spumux, dvdauthor)
// and the ISO image, read back with libdvdread.
//
// When BRISANE_TEST_ARTIFACTS names a folder, the DVD folder and the image are
// left there as "first-disc.dvdmedia" and "first-disc.iso".

#include <QDirIterator>
#include <QFile>
#include <cmath>

#include "DiscProjectFixture.h"
#include "DiscReadBack.h"
#include "media/DVDMenuVideo.h"
#include "media/DVDTitleVideo.h"

using namespace discproject;
using namespace discreadback;

namespace {

// One frame of a stream as a picture.
QImage frameOf(const QString& path, int frame, const QString& png)
{
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", path, "-vf", QString("select=eq(n\\,%1)").arg(frame),
                   "-frames:v", "1", png});
    return QImage(png);
}

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = true;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            ok = QDir().mkpath(target) && ok;
        } else {
            QFile::remove(target);
            ok = QFile::copy(source, target) && ok;
        }
    }
    return ok;
}

// Files and folders below `folder` whose names match a pattern.
QStringList leftovers(const QString& folder, const QStringList& patterns)
{
    QStringList found;
    QDirIterator it(folder, patterns, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << it.next();
    }
    return found;
}

using FirstDisc = DiscProjectTest;

TEST_F(FirstDisc, ProjectModelBecomesADiscThatReadsBack)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top && p.chapters);
    const auto topPlay = p.top->playButtonItem();
    EXPECT_EQ(p.top->itemArray().size(), 5);       // three titles, the text and play
    EXPECT_EQ(p.chapters->itemArray().size(), 5);  // two chapters, the text, back and play

    // The disc model, as the main window builds it: one title per playable
    // item, the top page's first, then the chapter page's.
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    const QList<DVDLibrary::MenuPtr> menus = disc->menus();
    ASSERT_EQ(menus, (QList<DVDLibrary::MenuPtr>{p.top, p.chapters}));
    QList<std::shared_ptr<brisane::DVDTitleVideo>> titles;
    for (const auto& title : disc->titles()) {
        titles << std::dynamic_pointer_cast<brisane::DVDTitleVideo>(title);
        ASSERT_TRUE(titles.last());
        ASSERT_EQ(titles.last()->chapters().size(), 1);
    }
    ASSERT_EQ(titles.size(), 4);
    const QList<QList<std::shared_ptr<DVDMenuElement>>> leading{
        {topPlay, p.itemOne},
        {p.itemThree},
        {p.chapters->playButtonItem(), p.chapterA},
        {p.chapterB}};
    for (qsizetype i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i]->chapters().first()->titles(), leading[i]) << "title " << i;
    }
    EXPECT_EQ(p.chapters->preButtonItem()->jumpMenu(), p.top);

    // Production: the DVD folder, then the image, on a worker thread.
    const QString out = folders.home() + "/Movies";
    const QString folder = out + "/My Disc";
    const QString iso = out + "/My Disc.iso";
    BurnDVDWorkflow flow;
    QList<double> folderProgress;
    const ProductionResult made = runProduction(
        flow, [&] { return flow.make(disc, folder); }, &folderProgress);
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    EXPECT_TRUE(progressIsSound(folderProgress));
    EXPECT_GT(*std::max_element(folderProgress.begin(), folderProgress.end()), 0.5);
    QList<double> imageProgress;
    const ProductionResult imaged = runProduction(
        flow, [&] { return flow.make(folder, iso, "My Disc"); }, &imageProgress);
    ASSERT_TRUE(imaged.isSucceeded()) << qPrintable(imaged.toString());
    EXPECT_TRUE(progressIsSound(imageProgress));
    EXPECT_EQ(flow.progress(), 0.0);  // each step starts from 0

    const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (!artifacts.isEmpty()) {
        EXPECT_TRUE(copyTree(folder, artifacts + "/first-disc.dvdmedia"));
        QFile::remove(artifacts + "/first-disc.iso");
        EXPECT_TRUE(QFile::copy(iso, artifacts + "/first-disc.iso"));
    }

    // Nothing of the work is left, and every tool ran to a clean exit.
    EXPECT_TRUE(workFolders().isEmpty()) << qPrintable(workFolders().join(' '));
    const QStringList temporary = {"temp-*", "author.xml", "menu-temp-*", "*.dvd", "menu*.xml"};
    EXPECT_TRUE(leftovers(FileManagerExtention::tempUsedFileDirectory(), temporary).isEmpty());
    EXPECT_TRUE(leftovers(out, temporary).isEmpty())
        << qPrintable(leftovers(out, temporary).join(' '));
    EXPECT_EQ(toolsRun(), (QStringList{"spumux", "spumux", "dvdauthor", "mkisofs"}));
    for (const ToolRun& run : toolRuns()) {
        EXPECT_EQ(run.reason, DVDToolTask::TerminationReason::Exit) << qPrintable(run.tool);
        EXPECT_EQ(run.status, 0) << qPrintable(run.tool);
    }
    EXPECT_TRUE(QFileInfo(folder + "/AUDIO_TS").isDir());
    EXPECT_EQ(volumeId(iso), "My Disc");

    // The first menu shows its titles' live video and plays its music.
    const QString menuStream = folder + "/VIDEO_TS/VTS_01_0.VOB";
    const QImage menuPicture = frameOf(menuStream, 30, dir.filePath("menu.png"));
    ASSERT_EQ(menuPicture.size(), QSize(720, 576));
    const QRectF titleArea = DVDMenuMake::scaleRect(p.itemOne->frame().adjusted(30, 30, -30, -30),
                                                    p.top->menuSize(), disc->dvdVideoSize());
    int lit = 0;
    for (int x = int(titleArea.left()); x < int(titleArea.right()); x += 8) {
        const QColor c = menuPicture.pixelColor(x, 576 - int(titleArea.center().y()));
        lit += std::max({c.red(), c.green(), c.blue()}) > 100 ? 1 : 0;
    }
    EXPECT_GT(lit, 5) << "the title picture is dark";
    EXPECT_GT(meanVolume(menuStream), -40.0);
    EXPECT_EQ(DVDMenuVideo::create(p.top)->musicVcMovies().size(), 2);  // 1.2 s, then 0.8 s
    if (!artifacts.isEmpty()) {
        menuPicture.save(artifacts + "/first-disc-menu.png");
    }
    // The slideshow (the second title) carries its music.
    const QString slideshowTitle = dir.filePath("slideshow.vob");
    ASSERT_TRUE(extractTitle(folder, 2, slideshowTitle));
    EXPECT_GT(meanVolume(slideshowTitle), -40.0);

    const Buttons topButtons = expectedButtons(*p.top, *disc);
    const Buttons chapterButtons = expectedButtons(*p.chapters, *disc);
    EXPECT_EQ(topButtons.size(), 4);      // three titles and play
    EXPECT_EQ(chapterButtons.size(), 4);  // two chapters, back and play
    const double frame = 1.0 / 25.0;
    for (const QString& path : {folder, iso}) {
        SCOPED_TRACE(qPrintable(path));
        const ReadBack read = readBack(path);
        EXPECT_EQ(read.chapters, (QList<int>{1, 1, 1, 1}));
        EXPECT_TRUE(read.palWide);
        EXPECT_TRUE(read.menusPalWide);
        EXPECT_TRUE(read.mpeg2);
        EXPECT_TRUE(read.ac3At48k);
        EXPECT_EQ(read.menuSubpictureStreams, 1);
        EXPECT_EQ(read.menuChains, menus.size() + 1);  // and the root chain
        EXPECT_TRUE(read.menuButtons.contains(topButtons));
        EXPECT_TRUE(read.menuButtons.contains(chapterButtons));
        ASSERT_EQ(read.titleSeconds.size(), 4);
        EXPECT_NEAR(read.titleSeconds[0], lengthOf(*p.first), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[1], lengthOf(*p.third), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[2], lengthOf(*p.secondA), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[3], lengthOf(*p.secondB), 2 * frame);
        QList<double> menuSeconds = read.menuSeconds;
        std::sort(menuSeconds.begin(), menuSeconds.end());
        ASSERT_GE(menuSeconds.size(), 2);
        EXPECT_NEAR(menuSeconds.last(), 2.0, 2 * frame);
        EXPECT_TRUE(std::any_of(menuSeconds.begin(), menuSeconds.end(),
                                [&](double s) { return std::fabs(s - 1.0) <= 2 * frame; }));
    }
}

}  // namespace
