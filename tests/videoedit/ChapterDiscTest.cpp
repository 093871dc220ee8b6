// From the chapter editor to a disc: a generated 9 s clip is imported as the
// one clip of a title, split in the chapter editor at 3 s and 6 s, applied,
// and the project goes the production road: the disc side rebuilt from the
// list, the disc model the main window builds, the titles and menus encoded
// and authored with spumux and dvdauthor. libdvdread reads the disc back.
//
// Apply to Video: one title of three chapters starting within a GOP of 0,
// 3 and 6 s, and only the top menu. Apply to Submenu: the title's chapter
// page with a button for each of the three clips, each of which plays as a
// title of its own, 3 s long.
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <gtest/gtest.h>
#include <QFile>

#include "../model/DVDResourceTestFixture.h"
#include "../shell/DiscReadBack.h"
#include "ChapterTestSupport.h"
#include "DiscRoadSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDToolLocator.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"

using namespace chaptertest;

namespace {

// A GOP of the PAL stream the converter writes is at most 15 frames.
constexpr double kGopSeconds = 0.6;

// The start of each chapter of title `number` (from 1) of the disc, in
// seconds from the title's start.
QList<double> chapterStarts(const QString& path, int number)
{
    QList<double> starts;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return starts;
    }
    ifo_handle_t* vmg = ifoOpen(dvd, 0);
    if (vmg && vmg->tt_srpt && number <= vmg->tt_srpt->nr_of_srpts) {
        const title_info_t& title = vmg->tt_srpt->title[number - 1];
        if (ifo_handle_t* vts = ifoOpen(dvd, title.title_set_nr)) {
            const ttu_t& parts = vts->vts_ptt_srpt->title[title.vts_ttn - 1];
            for (int k = 0; k < parts.nr_of_ptts; ++k) {
                const pgc_t* pgc = vts->vts_pgcit->pgci_srp[parts.ptt[k].pgcn - 1].pgc;
                const int firstCell = pgc->program_map[parts.ptt[k].pgn - 1];
                double start = 0.0;
                for (int cell = 1; cell < firstCell; ++cell) {
                    start += discreadback::secondsOf(pgc->cell_playback[cell - 1].playback_time);
                }
                starts << start;
            }
            ifoClose(vts);
        }
    }
    if (vmg) {
        ifoClose(vmg);
    }
    DVDClose(dvd);
    return starts;
}

struct DiscMediaServices : mediatest::MediaServices {
    std::shared_ptr<DVDLibraryResource> library = disctest::templateLibrary();
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override { return library; }
};

class ChapterDisc : public ChapterEditorTest {
protected:
    void SetUp() override
    {
        // The services with the menu templates, PAL 16:9.
        ChapterEditorTest::SetUp();
        auto withTemplates = std::make_shared<DiscMediaServices>();
        withTemplates->disc = services->disc;
        withTemplates->media = services->media;
        withTemplates->supportFolder = services->supportFolder;
        withTemplates->videoFolder = services->videoFolder;
        ASSERT_FALSE(withTemplates->library->buttons().isEmpty());
        services = withTemplates;
        installed.mainController->setOpenProject(services);
        disc = services->disc;
        disc->setDvdFormat(1);
        disc->setAspectType(1);
        DVDToolLocator::setToolFolder(QString());  // the real tools
        DVDMenuImageGeneratorCustomImage::install();

        source = makeSource(9.0);
        clip = cut(source, "A", 0.0, 9.0);
        ASSERT_TRUE(clip);
        title({clip});
        showList();

        sheet->showWindowWithMediaData(clip);
        sheet->pause();
        for (double at : {3.0, 6.0}) {
            sheet->seek(sec(at));
            sheet->flushPlayerProgress();
            sheet->addMarkButtonAction();
        }
        settle();
        ASSERT_EQ(sheet->markerArray().size(), 4);
    }
    void TearDown() override
    {
        DVDMenuImageGeneratorCustomImage::uninstall();
        ChapterEditorTest::TearDown();
    }

    // The disc side rebuilt from the list with short menus laid out, and
    // the disc model authored into a DVD folder; answers its path.
    QString author(std::shared_ptr<DVDLibrary>& model)
    {
        DiscSideRebuild rebuild(project(), disc);
        rebuild.flushDVDResourceBeforeEdit();
        for (const auto& page : disc->pageArray()) {
            page->setMenuDuration(1.0);
            double x = 60.0;
            for (const auto& item : page->itemArray()) {
                if (!item->isButtonItem() && !item->isStaticItem()) {
                    item->setFrame(QRectF(x, 200, 220, 160));
                    item->setHasShadow(false);
                    x += 250.0;
                }
            }
        }
        model = DiscModelBuilder(disc).getDVDObj();
        const QString work = path("work");
        if (!model || !QDir().mkpath(work) || !testsupport::authorDisc(model, work)) {
            return {};
        }
        return work + "/dvd.dvdmedia";
    }

    std::shared_ptr<DVDResource> disc;
    std::shared_ptr<SectionDataResource> source;
    MediaData::Ptr clip;
};

}  // namespace

TEST_F(ChapterDisc, AppliedToVideoTheClipIsOneTitleOfThreeChapters)
{
    ASSERT_TRUE(sheet->applyToVideoAction());
    settle();
    ASSERT_EQ(describe(*source).toStdString(), "(A{*[0-3] *[3-6] *[6-9]}) | 0-3 3-6 6-9");

    std::shared_ptr<DVDLibrary> model;
    const QString folder = author(model);
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(model->menus().size(), 1) << "no chapter page";

    const discreadback::ReadBack read = discreadback::readBack(folder);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.chapters, QList<int>{3});
    EXPECT_EQ(read.menuButtons.size(), 1) << "one menu";
    ASSERT_EQ(read.titleSeconds.size(), 1);
    EXPECT_NEAR(read.titleSeconds[0], 9.0, kGopSeconds);
    const QList<double> starts = chapterStarts(folder, 1);
    ASSERT_EQ(starts.size(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(starts[k], 3.0 * k, kGopSeconds) << "chapter " << k + 1;
    }
}

TEST_F(ChapterDisc, AppliedToSubmenuTheTitleHasAChapterPageOfThreeButtons)
{
    ASSERT_TRUE(sheet->applyToSubmenuAction());
    settle();
    ASSERT_EQ(describe(*source).toStdString(), "(A[0-3] *[3-6] *[6-9]) | 0-3 3-6 6-9");

    std::shared_ptr<DVDLibrary> model;
    const QString folder = author(model);
    ASSERT_FALSE(folder.isEmpty());
    ASSERT_EQ(model->menus().size(), 2) << "the top page and the chapter page";
    const auto chapterPage = std::dynamic_pointer_cast<DVDPage>(model->menus().last());
    ASSERT_TRUE(chapterPage && chapterPage->superPage());
    QList<std::shared_ptr<DVDPageItem>> chapterItems;
    for (const auto& item : chapterPage->itemArray()) {
        if (std::dynamic_pointer_cast<MediaData>(item->media())) {
            chapterItems << item;
        }
    }
    EXPECT_EQ(chapterItems.size(), 3);

    const discreadback::ReadBack read = discreadback::readBack(folder);
    ASSERT_TRUE(read.opened);
    // Each clip of a chapter page plays as a title of its own.
    EXPECT_EQ(read.chapters, (QList<int>{1, 1, 1}));
    ASSERT_EQ(read.titleSeconds.size(), 3);
    for (double seconds : read.titleSeconds) {
        EXPECT_NEAR(seconds, 3.0, kGopSeconds);
    }
    ASSERT_EQ(read.menuButtons.size(), 2);
    const discreadback::Buttons expected = discreadback::expectedButtons(*chapterPage, *model);
    EXPECT_TRUE(read.menuButtons.contains(expected));
    discreadback::Buttons chapterButtons;
    for (const auto& item : chapterItems) {
        const QRectF r =
            DVDMenuMake::scaleRect(item->frame(), chapterPage->menuSize(), model->dvdVideoSize());
        const double height = model->dvdVideoSize().height();
        chapterButtons.insert(
            {int(r.x()), int(height - r.bottom()), int(r.right()), int(height - r.y())});
    }
    EXPECT_EQ(chapterButtons.size(), 3);
    EXPECT_TRUE(read.menuButtons.last().contains(chapterButtons) ||
                read.menuButtons.first().contains(chapterButtons))
        << "the chapter page has a button for each clip";
}
