#include <gtest/gtest.h>
#include <QCoreApplication>
#include <sys/stat.h>

#include "TemplateFixture.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "corvane/DVDMenuItem.h"

using namespace templatefixture;

namespace {

template <typename List>
QStringList namesOf(const List& list)
{
    QStringList names;
    for (const auto& resource : list) {
        names << resource->name();
    }
    return names;
}

// A store filled from the bundle at `path`; pictures are looked up there too.
std::shared_ptr<DVDLibraryResource> storeFor(const QString& path)
{
    DVDLibraryResource::setBundleSearchPath(path);
    auto store = std::make_shared<DVDLibraryResource>();
    store->load();
    return store;
}

class TemplateStoreTest : public ::testing::Test {
protected:
    void TearDown() override { DVDLibraryResource::setBundleSearchPath(QString()); }
    Bundle bundle;
};

}  // namespace

TEST_F(TemplateStoreTest, ListsFollowTheByteOrderOfNamesAndSkipHiddenEntries)
{
    auto store = storeFor(bundle.path);
    EXPECT_EQ(store->resourcePath(), QDir(bundle.path).absolutePath());
    EXPECT_EQ(namesOf(store->buttons()), QStringList({"Z-play", "a-play", "a-pre", "b-next"}));
    EXPECT_EQ(store->buttons().at(1)->path(), "buttons/a-play.png");
    EXPECT_EQ(namesOf(store->frames()), QStringList({"fancy", "plain"}))
        << "one frame per -frame.png entry";
    EXPECT_EQ(store->frames().at(1)->frame(), "frames/plain-frame.png");
    EXPECT_EQ(store->frames().at(1)->mask(), "frames/plain-mask.png");
    EXPECT_EQ(namesOf(store->backgrounds()), QStringList({"blue", "green"}));
    EXPECT_TRUE(store->backgrounds().at(0)->isResource());
    EXPECT_EQ(store->backgrounds().at(0)->path(), "backgrounds/blue.png");
    EXPECT_EQ(namesOf(store->menus()), QStringList({"Empty", "Party"}))
        << "pages that cannot be read are not listed";
}

TEST_F(TemplateStoreTest, ReadsAPageWithItsElements)
{
    auto store = storeFor(bundle.path);
    auto page = store->dvdMenuForIdentifier("Party-1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->menuSize(), QSizeF(854, 480));
    EXPECT_EQ(page->backgroundImageRect(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(page->backgroundImageDrawMode(), 1);
    ASSERT_TRUE(page->backgroundResource());
    EXPECT_EQ(page->backgroundResource()->name(), "green");
    ASSERT_EQ(page->items().size(), 3);

    auto behind = std::dynamic_pointer_cast<DVDMenuItem>(page->items().at(0));
    EXPECT_EQ(behind->frame(), QRectF(10, 20, 100, 80));
    EXPECT_DOUBLE_EQ(behind->rotation(), 12.5);
    EXPECT_EQ(behind->level(), -100) << "itemBehind wins over the level";
    EXPECT_TRUE(behind->itemBehind());
    EXPECT_EQ(behind->frameResource(), store->frames().at(1));

    auto play = std::dynamic_pointer_cast<DVDMenuItem>(page->items().at(1));
    EXPECT_EQ(play->level(), 2);
    EXPECT_EQ(play->buttonResource(), store->buttons().at(1));
    EXPECT_EQ(page->buttonForButtonType("play"), play);
    EXPECT_EQ(page->buttonForButtonType("next"), nullptr);

    auto bare = std::dynamic_pointer_cast<DVDMenuItem>(page->items().at(2));
    EXPECT_EQ(bare->frame(), QRectF());
    EXPECT_EQ(bare->frameResource(), nullptr) << "a name that matches nothing";
    EXPECT_TRUE(bare->isStaticItem());
}

TEST_F(TemplateStoreTest, BadPagesAreSkipped)
{
    // Pages whose canvas could never be drawn.
    for (const char* size : {"{0, 480}", "{854, -1}", "{}", "{1e9, 480}"}) {
        writeFile(bundle.path + "/menus/Odd" + QByteArray::number(qHash(QByteArray(size))) +
                      "-0.plist",
                  plist(QByteArray("<dict><key>menuSize</key><string>") + size +
                        "</string></dict>"));
    }
    auto store = storeFor(bundle.path);
    EXPECT_EQ(namesOf(store->menus()), QStringList({"Empty", "Party"}))
        << "unreadable pages, pages that are no dictionary and odd sizes are left out";
    auto empty = store->dvdMenuForIdentifier("Empty-0");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->backgroundResource(), nullptr) << "an empty bgName";
}

// Special entries in the bundle (a pipe, a link to an endless device) are
// skipped; they neither block the store nor take it down.
TEST_F(TemplateStoreTest, SpecialEntriesAreSkipped)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(bundle.path + "/menus/Pipe-0.plist").constData(), 0600),
              0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(bundle.path + "/buttons/c-play.png").constData(), 0600),
              0);
    ASSERT_TRUE(QFile::link("/dev/zero", bundle.path + "/backgrounds/zero.png"));
    ASSERT_TRUE(QFile::link("/dev/zero", bundle.path + "/menus/Zero-1.plist"));
    auto store = storeFor(bundle.path);
    EXPECT_EQ(namesOf(store->menus()), QStringList({"Empty", "Party"}));
    EXPECT_EQ(namesOf(store->buttons()), QStringList({"Z-play", "a-play", "a-pre", "b-next"}));
    EXPECT_EQ(namesOf(store->backgrounds()), QStringList({"blue", "green"}));
    EXPECT_TRUE(store->imageWithName("backgrounds/zero.png").isNull());
    EXPECT_FALSE(store->imageWithName("backgrounds/blue.png").isNull());
}

TEST_F(TemplateStoreTest, FindResourceTakesTheLastMatchByNameOrPathEnd)
{
    auto store = storeFor(bundle.path);
    auto byPath = std::make_shared<DVDLibraryButtonResource>();
    byPath->setName("other");
    byPath->setPath("elsewhere/a-play");
    auto buttons = store->buttons();
    buttons.append(byPath);
    store->setButtons(buttons);
    EXPECT_EQ(store->buttonResourceForPath("a-play"), byPath);
    EXPECT_EQ(store->buttonResourceForPath("a-play.png"), store->buttons().at(1));
    EXPECT_EQ(store->buttonResourceForPath(""), nullptr);
    EXPECT_EQ(store->frameResourceForPath("plain"), store->frames().at(1));
    EXPECT_EQ(store->backgroundResourceForPath("blue.png"), store->backgrounds().at(0));
    EXPECT_EQ(store->dvdMenuForIdentifier("Party-0"), nullptr);
}

TEST_F(TemplateStoreTest, AMissingBundleGivesEmptyListsAndNoPictures)
{
    DVDLibraryResource::setBundleSearchPath(bundle.dir.filePath("nowhere.plugin"));
    auto store = std::make_shared<DVDLibraryResource>();
    store->loadMenuResourceTemplate(bundle.dir.filePath("nowhere.plugin"));
    EXPECT_TRUE(store->buttons().isEmpty());
    EXPECT_TRUE(store->frames().isEmpty());
    EXPECT_TRUE(store->backgrounds().isEmpty());
    EXPECT_TRUE(store->menus().isEmpty());
    EXPECT_EQ(store->defaultMenu(), nullptr);
    store->loadMenuResourceTemplate(QString());
    EXPECT_TRUE(store->buttons().isEmpty());
}

TEST_F(TemplateStoreTest, PicturesAreReadByRelativePath)
{
    auto store = storeFor(bundle.path);
    EXPECT_EQ(store->imageWithName("backgrounds/green.png").size(), QSize(4, 3));
    EXPECT_TRUE(store->imageWithName("backgrounds/none.png").isNull());
    EXPECT_TRUE(store->imageWithName("menus/Party-1.plist").isNull());
    EXPECT_TRUE(store->imageWithName("").isNull());
}

TEST_F(TemplateStoreTest, TheDefaultPageIsOneOfTheLoadedPages)
{
    auto store = storeFor(bundle.path);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(store->menus().contains(store->defaultMenu()));
    }
}

TEST_F(TemplateStoreTest, TheSharedStoreIsMadeOnce)
{
    auto first = DVDLibraryResource::share();
    EXPECT_EQ(DVDLibraryResource::share(), first);
    const auto buttons = first->buttons();
    DVDLibraryResource::setBundleSearchPath(bundle.path);
    EXPECT_EQ(DVDLibraryResource::share()->buttons(), buttons) << "loaded once only";
}

TEST_F(TemplateStoreTest, WrittenBundleReadsBackTheSame)
{
    auto store = storeFor(bundle.path);
    // A bundle may only be written from pictures that are all there.
    store->setFrames({store->frames().at(1)});
    auto out = testsupport::makeTempDir();
    const QString written = store->saveMenuResourceTemplate(out.path());
    ASSERT_EQ(written, out.filePath("menu_template.plugin"));
    auto copy = std::make_shared<DVDLibraryResource>();
    copy->loadMenuResourceTemplate(written);
    EXPECT_EQ(namesOf(copy->buttons()), namesOf(store->buttons()));
    EXPECT_EQ(namesOf(copy->frames()), QStringList({"plain"}));
    EXPECT_EQ(namesOf(copy->backgrounds()), namesOf(store->backgrounds()));
    auto page = copy->dvdMenuForIdentifier("Party-1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->backgroundImageRect(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(page->backgroundResource()->name(), "green");
    ASSERT_EQ(page->items().size(), 3);
    EXPECT_EQ(page->items().at(0)->level(), -100);
    EXPECT_EQ(page->items().at(0)->frame(), QRectF(10, 20, 100, 80));
    EXPECT_EQ(std::dynamic_pointer_cast<DVDMenuItem>(page->items().at(1))->buttonResource()->name(),
              "a-play");
    EXPECT_TRUE(QFileInfo(written + "/frames/plain-mask.png").isFile());
}

TEST_F(TemplateStoreTest, ReadsTheOlderLayout)
{
    auto root = testsupport::makeTempDir();
    const QString r = root.path();
    writePng(r + "/Button/Blue/playBtn.png", solid(8, 6, Qt::blue));
    writePng(r + "/Frame/Wood/frame.png", framePicture());
    writePng(r + "/Menu/Kids/Zoo/Background.png", solid(16, 9, Qt::green));
    writeFile(r + "/Menu/Kids/Zoo/Template.plist",
              plist("<dict><key>FrameRate43</key><dict>"
                    "<key>Frame</key><array><dict>"
                    "<key>FrameRect</key><string>{{0.5, 0.25}, {0.25, 0.5}}</string>"
                    "<key>FrameName</key><string>Wood</string></dict></array>"
                    "<key>PlayButtonPoint</key><string>{0.5, 0.1}</string>"
                    "<key>PlayButtonName</key><string>Blue-play</string>"
                    "</dict></dict>"));
    auto store = std::make_shared<DVDLibraryResource>();
    store->loadOldTemplate(r);
    EXPECT_EQ(namesOf(store->buttons()), QStringList({"Blue-pre", "Blue-next", "Blue-play"}));
    EXPECT_EQ(store->buttons().at(2)->path(), "Button/Blue/playBtn.png");
    EXPECT_EQ(store->frames().at(0)->mask(), "Frame/Wood/mask.png");
    ASSERT_EQ(store->backgrounds().size(), 1);
    EXPECT_EQ(store->backgrounds().at(0)->name(), "Kids-Zoo");
    ASSERT_EQ(store->menus().size(), 1) << "only the 4:3 page exists";
    auto page = store->menus().at(0);
    EXPECT_EQ(page->identifier(), "Kids-Zoo-0");
    EXPECT_EQ(page->menuSize(), QSizeF(640, 480));
    EXPECT_DOUBLE_EQ(page->duration(), 15);
    EXPECT_EQ(page->backgroundImageDrawMode(), 0);
    EXPECT_EQ(page->backgroundResource(), store->backgrounds().at(0));
    ASSERT_EQ(page->items().size(), 4);
    EXPECT_EQ(page->items().at(0)->frame(), QRectF(320, 120, 160, 240));
    EXPECT_EQ(page->items().at(3)->frame(), QRectF(320, 48, 80, 50));
    EXPECT_EQ(std::dynamic_pointer_cast<DVDMenuItem>(page->items().at(3))->buttonResource(),
              store->buttons().at(2));
}

TEST(TemplateShippedBundleTest, TheShippedBundleIsCompleteAndStable)
{
    DVDLibraryResource::setBundleSearchPath(QString());
    auto store = std::make_shared<DVDLibraryResource>();
    ASSERT_EQ(store->resourcePath(),
              QDir(QCoreApplication::applicationDirPath()).filePath("menu_template.plugin"));
    store->load();
    EXPECT_GE(store->buttons().size(), 18);
    for (const char* role : {"play", "pre", "next"}) {
        int count = 0;
        for (const auto& button : store->buttons()) {
            count += button->name().endsWith(role) ? 1 : 0;
            EXPECT_FALSE(button->image().isNull()) << button->name().toStdString();
        }
        EXPECT_GE(count, 6) << role;
    }
    EXPECT_GE(store->frames().size(), 8);
    for (const auto& frame : store->frames()) {
        EXPECT_FALSE(frame->name().contains('-'));
        EXPECT_FALSE(frame->frameImage().isNull()) << frame->name().toStdString();
        EXPECT_EQ(frame->maskImage().size(), frame->frameImage().size());
    }
    EXPECT_GE(store->backgrounds().size(), 16);
    for (const auto& background : store->backgrounds()) {
        EXPECT_FALSE(background->backgroundImage().isNull());
    }
    EXPECT_EQ(store->backgrounds().first()->backgroundImage().size(), QSize(854, 480));
    for (const char* identifier : {"Showcase-0", "Showcase-1"}) {
        auto page = store->dvdMenuForIdentifier(identifier);
        ASSERT_TRUE(page) << identifier;
        EXPECT_TRUE(page->backgroundResource()) << identifier;
        EXPECT_TRUE(page->buttonForButtonType("play")) << identifier;
        EXPECT_TRUE(page->buttonForButtonType("pre")) << identifier;
        EXPECT_TRUE(page->buttonForButtonType("next")) << identifier;
    }
    auto again = std::make_shared<DVDLibraryResource>();
    again->load();
    EXPECT_EQ(namesOf(again->buttons()), namesOf(store->buttons()));
    EXPECT_EQ(namesOf(again->frames()), namesOf(store->frames()));
    EXPECT_EQ(namesOf(again->backgrounds()), namesOf(store->backgrounds()));
}
