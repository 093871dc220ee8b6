// A film in short (one title of one file cut into chapters, encoded in
// pieces, with a menu) through the production window's ISO road: what the
// window shows as it goes, a cancel at every stage of the road, and a disk
// that fills up during the run, each leaving no work folder and nothing
// beside the image.
#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <atomic>
#include <thread>

#include "ChildTestRun.h"
#include "DiscProjectFixture.h"
#include "RecordingServices.h"
#include "RoadRun.h"
#include "StandInTool.h"
#include "lumenta/LMDVD.h"
#include "shell/BurnDVDCtrl.h"

using namespace discproject;

namespace {

constexpr double filmSeconds = 24.0;
constexpr double chapterSeconds = 6.0;

// Every entry below `folder` (hidden ones too), relative to it.
QStringList entriesBelow(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        names << it.next().mid(folder.size() + 1);
    }
    names.sort();
    return names;
}

class FilmRoad : public DiscProjectTest {
protected:
    void SetUp() override
    {
        DiscProjectTest::SetUp();
        out = folders.root() + "/out";
        ASSERT_TRUE(QDir().mkpath(out));
    }

    // The film and its project: one title of a merged clip of the film's
    // parts of six seconds (a chapter each), and its menu page.
    std::shared_ptr<DVDLibrary> buildFilm()
    {
        const QString film = folders.root() + "/film.mp4";
        EXPECT_TRUE(testsupport::makeTestClip(film, filmSeconds, 320, 180));
        media = std::make_shared<DataResource>();
        const auto source = SectionDataResource::resourceWithPath(film);
        EXPECT_TRUE(source);
        if (!source) {
            return nullptr;
        }
        media->addSectionDataResourceToArray(source);
        list = std::make_shared<DVDPageData>();
        media->addDvdPageToArray(list);
        // One merged clip of the film's parts: a chapter each.
        std::shared_ptr<MediaData> merged;
        for (double from = 0.0; from < filmSeconds; from += chapterSeconds) {
            const auto part = clip(source, from, std::min(from + chapterSeconds, filmSeconds));
            if (!part) {
                return nullptr;
            }
            if (!merged) {
                merged = MediaData::copyMediaFromMedia(*part);
                merged->setSectionItem(nullptr);
                merged->setHasSubMedia(true);
            }
            part->flushSuperMediaData(merged);
            merged->subMediaArray().append(part);
        }
        title(list, {merged});
        services->disc->setDvdBitrate(6000);
        DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
        EXPECT_TRUE(list->menuPage());
        if (!list->menuPage()) {
            return nullptr;
        }
        list->menuPage()->setMenuDuration(1.0);
        return discModel();
    }

    ProductionResult makeIso(BurnDVDCtrl& window, const QString& iso)
    {
        const auto disc = buildFilm();
        if (!disc) {
            return ProductionResult::failed("no disc model");
        }
        return testsupport::runRoad(window, [&] { window.burn(disc, iso, "FILM"); });
    }

    // Nothing the road made is left: no work folder, no temporary DVD
    // folder, nothing beside where the image was to go.
    ::testing::AssertionResult nothingLeft(const QString& iso) const
    {
        const QString root = FileManagerExtention::tempUsedFileDirectory();
        const QStringList temporary = entriesBelow(root);
        const QStringList beside = entriesBelow(QFileInfo(iso).absolutePath());
        if (!temporary.isEmpty() || !beside.isEmpty()) {
            return ::testing::AssertionFailure()
                   << "left in the temporary root: " << qPrintable(temporary.join(' '))
                   << "; beside the image: " << qPrintable(beside.join(' '));
        }
        return ::testing::AssertionSuccess();
    }

    testsupport::InstalledServices installed;
    std::shared_ptr<DataResource> media;
    std::shared_ptr<DVDPageData> list;
    QString out;
};

// The shown progress only grows and stays below 100 %; the time left is
// shown once the encoding has run a while, as "hh:mm:ss left", and is never
// negative; the finished disc holds the film's chapters.
TEST_F(FilmRoad, ProgressOnlyGrowsAndTheTimeLeftIsShown)
{
    BurnDVDCtrl window;
    // The short film encodes in about a second on an idle machine: the time
    // left is shown once the encoding has run a tenth of that.
    window.setTimeLeftSettleSeconds(0.1);
    QList<double> shown;
    QList<std::optional<double>> left;
    QStringList texts;
    QImage withTimeLeft;
    window.setRefreshObserver([&](BurnDVDCtrl& running) {
        shown << running.shownProgress();
        left << running.shownTimeLeft();
        texts << running.timeLeftText();
        if (withTimeLeft.isNull() && !texts.last().isEmpty()) {
            withTimeLeft = running.grab().toImage();
        }
    });
    const QString iso = out + "/film.iso";
    const ProductionResult result = makeIso(window, iso);
    ASSERT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    ASSERT_FALSE(shown.isEmpty());
    for (qsizetype i = 1; i < shown.size(); ++i) {
        EXPECT_GE(shown[i], shown[i - 1]) << "sample " << i;
        EXPECT_LE(shown[i], BurnDVDCtrl::MaximumShownProgress);
    }
    const auto first = std::find_if(left.begin(), left.end(), [](const auto& t) { return t; });
    ASSERT_NE(first, left.end()) << "no time left was shown in " << left.size() << " refreshes";
    for (qsizetype i = first - left.begin(); i < left.size(); ++i) {
        if (left[i]) {
            EXPECT_GE(*left[i], 0.0);
            EXPECT_EQ(texts[i], BurnDVDCtrl::timeLeftTextFor(*left[i]));
        } else {
            EXPECT_TRUE(texts[i].isEmpty());
        }
    }
    EXPECT_TRUE(texts[first - left.begin()].endsWith(" left"));
    testsupport::writeArtifact(withTimeLeft, "production-window-time-left.png");
    const LMDVD::Ptr disc = LMDVD::open(iso);
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titleSources().size(), 1);
    EXPECT_EQ(disc->titleSources().first().dictionary().value("chapters").toInt(),
              qint64(qRound(filmSeconds / chapterSeconds)));
    EXPECT_EQ(entriesBelow(FileManagerExtention::tempUsedFileDirectory()), QStringList());
    EXPECT_EQ(entriesBelow(out), QStringList{"film.iso"});
}

// Bytes allocated by the files below `folder`.
qint64 bytesBelow(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat status {};
        if (::lstat(QFile::encodeName(it.next()).constData(), &status) == 0) {
            bytes += static_cast<qint64>(status.st_blocks) * 512;
        }
    }
    return bytes;
}

// The temporary root, sampled every millisecond on a thread of its own
// while the road runs, never holds much more than the disc it makes: its
// pieces give their room back as they are streamed into dvdauthor, no title
// lies beside them and the VOBs, and the image is not made beside the DVD
// folder it is made of.
TEST_F(FilmRoad, TheWorkFoldersHoldLittleMoreThanTheDisc)
{
    const QString root = FileManagerExtention::tempUsedFileDirectory();
    std::atomic<bool> ended{false};
    std::atomic<qint64> most{0};
    std::thread sampler([&] {
        while (!ended) {
            most = std::max(most.load(), bytesBelow(root));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    BurnDVDCtrl window;
    const QString iso = out + "/film.iso";
    const ProductionResult result = makeIso(window, iso);
    ended = true;
    sampler.join();
    ASSERT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    const qint64 disc = QFileInfo(iso).size();
    ASSERT_GT(disc, 4 << 20);
    // Each stream keeps a few MiB of its pieces whole behind its reading.
    EXPECT_LT(most.load(), disc + disc / 10 + (4 << 20))
        << "the temporary root held " << most.load() << " bytes for a disc of " << disc;
}

// A cancel at each stage of the road ends it cancelled, with no work folder
// and nothing beside the image, and every tool it started gone: while the
// pieces are encoded, while dvdauthor has not opened the title yet, while it
// reads it (the title's feed waiting on a full pipe), and while mkisofs runs.
TEST_F(FilmRoad, CancelAtEveryStageLeavesNoWorkFolder)
{
    struct Case {
        const char* stage;
        const char* tool;    // a stand-in, or none
        QString script;      // the stand-in's body, run in the tool's folder
        double cancelAbove;  // the progress the cancel waits for
    };
    const QList<Case> cases = {
        {"encoding the pieces", nullptr, {}, 0.05},
        {"before dvdauthor opens the title", "dvdauthor", "exec sleep 60", 0.80},
        {"while dvdauthor reads the title", "dvdauthor",
         "head -c 100000 title0.dvd > /dev/null\nexec sleep 60", 0.80},
        {"making the image", "mkisofs", "exec sleep 60", 0.89},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        std::optional<testsupport::StandInTool> standIn;
        if (c.tool) {
            standIn.emplace(c.tool, c.script);
            ASSERT_TRUE(standIn->isValid());
        }
        BurnDVDCtrl window;
        bool cancelled = false;
        window.setRefreshObserver([&](BurnDVDCtrl& running) {
            if (!cancelled && running.progress() > c.cancelAbove) {
                cancelled = true;
                running.cancel();
            }
        });
        const QString iso = out + "/cancelled.iso";
        const ProductionResult result = makeIso(window, iso);
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
        EXPECT_TRUE(nothingLeft(iso));
    }
    EXPECT_EQ(installed.alerts->messages(), QStringList(cases.size(), "DVD Make Cancelled"));
}

// A disk that fills up during the run (a small tmpfs of the test's own)
// stops it with the reason, shown as the failure, and nothing is left on it,
// in the temporary root or beside the image: with the temporary root on it
// (full while the pieces are encoded), and with the image's folder on it
// (full while mkisofs writes).
TEST_F(FilmRoad, FullDiskStopsTheRunWithTheReasonAndLeavesNothing)
{
    if (!testsupport::isOwnMountsChild()) {
        testsupport::rerunWithOwnMounts(
            "FilmRoad.FullDiskStopsTheRunWithTheReasonAndLeavesNothing");
        return;
    }
    const QByteArray temporaryRoot = qgetenv("TMPDIR");
    for (const bool temporaryOnDisk : {true, false}) {
        SCOPED_TRACE(temporaryOnDisk ? "the temporary root" : "the image's folder");
        const QString disk = folders.root() + (temporaryOnDisk ? "/disk-tmp" : "/disk-out");
        ASSERT_TRUE(QDir().mkpath(disk));
        ASSERT_TRUE(testsupport::mountSmallTmpfs(disk, 4 << 20));
        if (temporaryOnDisk) {
            qputenv("TMPDIR", QFile::encodeName(disk));
        }
        const QString iso = (temporaryOnDisk ? out : disk) + "/full.iso";
        installed.alerts->alerts.clear();
        BurnDVDCtrl window;
        const ProductionResult result = makeIso(window, iso);
        qputenv("TMPDIR", temporaryRoot);
        EXPECT_TRUE(result.isFailed()) << qPrintable(result.toString());
        EXPECT_TRUE(result.reason().startsWith("The disk is full")) << qPrintable(result.reason());
        ASSERT_EQ(installed.alerts->alerts.size(), 1);
        EXPECT_EQ(installed.alerts->alerts.first().content.message, "DVD Make Failed");
        EXPECT_TRUE(
            installed.alerts->alerts.first().content.informativeText.contains(result.reason()));
        EXPECT_TRUE(nothingLeft(iso));
        // The disk holds no file of the run (at most the empty temporary root).
        QStringList files;
        QDirIterator it(disk, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files << it.next();
        }
        EXPECT_EQ(files, QStringList());
    }
}

}  // namespace
