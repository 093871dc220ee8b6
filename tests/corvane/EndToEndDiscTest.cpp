// The whole authoring chain with the real tools: two menu pages with buttons
// and two titles go through spumux, dvdauthor and mkisofs; libdvdread then
// reads the DVD folder and the image back.

#include <dvdread/dvd_reader.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include "DVDLibraryTestFakes.h"
#include "DiscReadBack.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDImageMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDToolLocator.h"

using namespace tooltest;

namespace {

// An element leading to itself, linked to `chapter`.
std::shared_ptr<ToolElement> videoButton(const QRectF& frame,
                                         const std::shared_ptr<disctest::FakeChapter>& chapter)
{
    auto e = element(frame, nullptr, true);
    e->target = e;
    auto linked = chapter->titles();
    linked.append(e);
    chapter->setTitles(linked);
    return e;
}

struct Layout : disctest::DiscLayout {
    QString volume;
    // The button areas of the first navigation packet of the title set's menus,
    // as x0, y0, x1, y1 (the packet carries the description's corners as they are).
    QSet<QList<int>> buttons;
};

QSet<QList<int>> firstMenuButtons(dvd_reader_t* dvd)
{
    QSet<QList<int>> buttons;
    dvd_file_t* menus = DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS);
    if (!menus) {
        ADD_FAILURE() << "no menu stream in the title set";
        return buttons;
    }
    unsigned char block[DVD_VIDEO_LB_LEN];
    if (DVDReadBlocks(menus, 0, 1, block) == 1) {
        // A navigation pack: pack header and system header, then the PCI packet.
        const unsigned char* pci = block + 0x26;
        if (pci[0] == 0 && pci[1] == 0 && pci[2] == 1 && pci[3] == 0xbf && pci[6] == 0) {
            pci_t packet;
            navRead_PCI(&packet, const_cast<unsigned char*>(pci) + 7);
            for (int i = 0; i < (packet.hli.hl_gi.btn_ns & 0x3f); ++i) {
                const btni_t& b = packet.hli.btnit[i];
                buttons.insert({int(b.x_start), int(b.y_start), int(b.x_end), int(b.y_end)});
            }
        } else {
            ADD_FAILURE() << "the menu stream does not start with a navigation packet";
        }
    }
    DVDCloseFile(menus);
    return buttons;
}

Layout readBack(const QString& path)
{
    Layout layout;
    dvd_reader_t* dvd = disctest::openDisc(path);
    if (!dvd) {
        return layout;
    }
    static_cast<disctest::DiscLayout&>(layout) = disctest::readLayout(dvd);
    char volume[33] = {};
    unsigned char set[128] = {};
    if (DVDUDFVolumeInfo(dvd, volume, sizeof volume, set, sizeof set) == 0 ||
        DVDISOVolumeInfo(dvd, volume, sizeof volume, set, sizeof set) == 0) {
        layout.volume = QString::fromLatin1(volume);
    }
    layout.buttons = firstMenuButtons(dvd);
    DVDClose(dvd);
    return layout;
}

// The button areas the spumux description gives the page, as x0, y0, x1, y1.
QSet<QList<int>> expectedButtons(const std::shared_ptr<ToolPage>& page, const DVDLibrary& disc)
{
    QSet<QList<int>> buttons;
    const double height = disc.dvdVideoSize().height();
    for (const auto& item : page->items()) {
        if (item->jump()) {
            const QRectF r =
                DVDMenuMake::scaleRect(item->frame(), page->menuSize(), disc.dvdVideoSize());
            buttons.insert(
                {int(r.x()), int(height - r.bottom()), int(r.right()), int(height - r.y())});
        }
    }
    return buttons;
}

TEST(EndToEndDisc, menusAndTitlesBecomeAFolderAndAnImage)
{
    DVDToolLocator::setToolFolder(QString());  // the real tools
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    if (qEnvironmentVariableIsSet("BRISANE_KEEP_TEST_FILES")) {
        dir.setAutoRemove(false);
        qInfo("disc kept in %s", qPrintable(dir.path()));
    }
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));

    // The rendered streams, as the production leaves them in the work folder.
    ASSERT_TRUE(disctest::makeDvdStream(work + "/menu-temp-0.dvd", 1.0));
    ASSERT_TRUE(QFile::copy(work + "/menu-temp-0.dvd", work + "/menu-temp-1.dvd"));
    ASSERT_TRUE(disctest::makeDvdStream(work + "/title0.dvd", 2.5));
    ASSERT_TRUE(QFile::copy(work + "/title0.dvd", work + "/title1.dvd"));

    // Two titles of two chapters; page 0 leads to a chapter of each title and
    // to page 1, which leads to the other chapter of title 1 and back.
    auto c00 = disctest::chapter(1.0), c01 = disctest::chapter(1.0);
    auto c10 = disctest::chapter(1.0), c11 = disctest::chapter(1.0);
    auto first = page({videoButton({60, 200, 300, 170}, c00),
                       videoButton({480, 200, 300, 170}, c11), element({0, 0, 854, 60})});
    auto second = page({videoButton({250, 200, 300, 170}, c10)});
    first->elements.append(element({700, 80, 100, 60}, second));
    second->elements.append(element({60, 80, 100, 60}, first));
    auto disc = std::make_shared<DVDLibrary>();
    disc->setFormat(1);
    disc->setAspectType(1);
    disc->setMenuLoop(true);
    disc->setMenus({first, second});
    disc->setTitles({disctest::title({c00, c01}), disctest::title({c10, c11})});

    for (int k = 0; k < 2; ++k) {
        DVDMenuMake menu;
        menu.makeMenu(disc->menus().at(k), disc, work + QString("/menu%1.dvd").arg(k),
                      work + QString("/menu-temp-%1.dvd").arg(k), work);
        ASSERT_TRUE(menu.start()) << "spumux, page " << k;
        EXPECT_GT(menu.progress(), 0.9);
        QFile::remove(work + QString("/menu-temp-%1.dvd").arg(k));
    }
    DVDFSMake author;
    author.dvd(disc, work);
    ASSERT_TRUE(author.start());
    EXPECT_GT(author.progress(), 0.5);
    EXPECT_FALSE(QFile::exists(work + "/author.xml"));

    DVDImageMake image;
    image.volume("CORVANE_E2E", work);
    ASSERT_TRUE(image.start());
    EXPECT_GT(image.progress(), 1.0);

    const QSet<QList<int>> buttons = expectedButtons(first, *disc);
    ASSERT_EQ(buttons.size(), 3);
    for (const QString& path : {work + "/dvd.dvdmedia", work + "/dvd.iso"}) {
        SCOPED_TRACE(qPrintable(path));
        const Layout layout = readBack(path);
        EXPECT_EQ(layout.titles, 2);
        EXPECT_EQ(layout.chapters, (QList<int>{2, 2}));
        EXPECT_GE(layout.menuChains, 3);  // the two pages and the root
        EXPECT_EQ(layout.buttons, buttons);
        if (path.endsWith(".iso")) {
            EXPECT_EQ(layout.volume, "CORVANE_E2E");
        }
    }
}

}  // namespace
