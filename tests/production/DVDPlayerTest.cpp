// The disc preview player: where it starts, what a click plays, where the end
// of a menu or title leads, chapter steps, hit tests and the highlight.
// Navigation is driven directly through playDVDItem and
// timeIsAfterAllMovieTime, over short generated clips.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include "PreviewDiscFakes.h"
#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"
#include "lumenta/LMMediaTime.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/VCMovie.h"
#include "production/DVDPlayer.h"

namespace {

using previewtest::Element;
using previewtest::Page;
using Chapter = brisane::DVDChapterVideo;
using Title = brisane::DVDTitleVideo;

LMMediaTime mediaTime(double seconds)
{
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

// The disc: menu 1 with a button to title A, a button to title B and a
// button opening menu 2 (a sub page with one button per chapter of B).
// A has one chapter of 1 s; B has chapters of 1 s and 2 s.
struct Disc {
    std::shared_ptr<DVDLibrary> dvd = std::make_shared<DVDLibrary>();
    std::shared_ptr<Page> menu1 = std::make_shared<Page>();
    std::shared_ptr<Page> menu2 = std::make_shared<Page>();
    std::shared_ptr<Element> toA = std::make_shared<Element>();
    std::shared_ptr<Element> toB = std::make_shared<Element>();
    std::shared_ptr<Element> toMenu2 = std::make_shared<Element>();
    std::shared_ptr<Element> decoration = std::make_shared<Element>();
    std::shared_ptr<Element> toB1 = std::make_shared<Element>();
    std::shared_ptr<Element> toB2 = std::make_shared<Element>();
    Chapter::Ptr a1 = Chapter::create();
    Chapter::Ptr b1 = Chapter::create();
    Chapter::Ptr b2 = Chapter::create();
    Title::Ptr titleA = Title::create();
    Title::Ptr titleB = Title::create();
};

class DVDPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir(testsupport::makeTempDir());
        oneSecond = dir->filePath("one.mp4");
        twoSeconds = dir->filePath("two.mp4");
        ASSERT_TRUE(testsupport::makeTestClip(oneSecond, 1.0));
        ASSERT_TRUE(testsupport::makeTestClip(twoSeconds, 2.0));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    static void fill(const Chapter::Ptr& chapter, const QString& path)
    {
        const VCMovie::Ptr movie = VCMovie::movieWithPath(path);
        ASSERT_TRUE(movie);
        chapter->setMovies({movie});
    }

    Disc makeDisc()
    {
        Disc d;
        fill(d.a1, oneSecond);
        fill(d.b1, oneSecond);
        fill(d.b2, twoSeconds);
        d.titleA->setChapters({d.a1});
        d.titleB->setChapters({d.b1, d.b2});
        d.toA->rect = {40, 300, 200, 100};
        d.toA->target = d.titleA;
        d.a1->setTitles({d.toA});
        d.toB->rect = {300, 300, 200, 100};
        d.toB->target = d.titleB;
        d.b1->setTitles({d.toB, d.toB1});
        d.toMenu2->rect = {40, 40, 200, 60};
        d.toMenu2->target = d.menu2;
        // A decoration lying over the sub-page button: never hit.
        d.decoration->rect = {0, 0, 640, 200};
        d.decoration->isStatic = true;
        d.menu1->elements = {d.decoration, d.toA, d.toB, d.toMenu2};
        d.menu2->up = d.toMenu2;
        d.toB1->rect = {40, 300, 200, 100};
        d.toB1->target = d.toB1;
        d.toB2->rect = {300, 300, 200, 100};
        d.toB2->target = d.toB2;
        d.b2->setTitles({d.toB2});
        d.menu2->elements = {d.toB1, d.toB2};
        d.dvd->setMenus({d.menu1, d.menu2});
        d.dvd->setTitles({d.titleA, d.titleB});
        return d;
    }

    DVDPlayer player;
    static QTemporaryDir* dir;
    static QString oneSecond;
    static QString twoSeconds;
};

QTemporaryDir* DVDPlayerTest::dir = nullptr;
QString DVDPlayerTest::oneSecond;
QString DVDPlayerTest::twoSeconds;

TEST_F(DVDPlayerTest, StartPlaysFirstMenuOrFirstTitleAsTheDiscSays)
{
    struct Case {
        const char* name;
        bool playFirstTitle;
        bool noMenu;
        bool expectMenu;
    };
    for (const Case& c :
         {Case{"menus", false, false, true}, Case{"playFirstTitle", true, false, false},
          Case{"noMenu", false, true, false}}) {
        SCOPED_TRACE(c.name);
        Disc d = makeDisc();
        d.dvd->setPlayFirstTitle(c.playFirstTitle);
        d.dvd->setNoMenu(c.noMenu);
        player.clearPlayer();
        player.setDvd(d.dvd);
        player.playDVDItem(nullptr);
        if (c.expectMenu) {
            EXPECT_EQ(player.current_play(), d.menu1);
        } else {
            EXPECT_EQ(player.current_play(), d.a1);
            EXPECT_EQ(player.currentPlayTitle(), d.titleA);
        }
        EXPECT_TRUE(player.play_warn_video());
        EXPECT_TRUE(player.isPlay());
        player.pause();
    }
}

TEST_F(DVDPlayerTest, WarningTitlePlaysFirstThenTheDiscStartsOver)
{
    Disc d = makeDisc();
    Chapter::Ptr warnChapter = Chapter::create();
    fill(warnChapter, oneSecond);
    Title::Ptr warning = Title::create();
    warning->setIsWarningVideo(true);
    warning->setChapters({warnChapter});
    d.dvd->setTitles({warning, d.titleA, d.titleB});
    player.setDvd(d.dvd);

    player.playDVDItem(nullptr);
    EXPECT_EQ(player.current_play(), warnChapter);
    EXPECT_FALSE(player.play_warn_video());

    player.timeIsAfterAllMovieTime();
    EXPECT_TRUE(player.play_warn_video());
    EXPECT_EQ(player.current_play(), d.menu1);
    player.pause();
}

TEST_F(DVDPlayerTest, SubPageChapterButtonPlaysTheWholeTitleFromTheChapter)
{
    Disc d = makeDisc();
    player.setDvd(d.dvd);
    player.playDVDItem(nullptr);
    // The sub-page button lies under a static decoration: the click reaches it.
    player.clickPoint({140.0 / 640, 70.0 / 480});
    ASSERT_EQ(player.current_play(), d.menu2);
    EXPECT_EQ(player.lastMenu(), d.menu1);

    player.clickPoint({400.0 / 640, 350.0 / 480});
    ASSERT_EQ(player.current_play(), d.b2);
    EXPECT_EQ(player.currentPlayTitle(), d.titleB);
    EXPECT_EQ(player.lastMenu(), d.menu2);
    // The timeline covers the whole title, B1 then B2.
    EXPECT_NEAR(double(player.duration()), double(mediaTime(3.0)), double(mediaTime(0.1)));
    EXPECT_EQ(DVDPlayer::startTimeOfChapter(d.titleB->chapters(), d.b2),
              mediaTime(d.b1->duration()));
    EXPECT_NEAR(double(player.currentTime()), double(mediaTime(d.b1->duration())),
                double(mediaTime(0.1)));
    player.pause();
}

TEST_F(DVDPlayerTest, ChapterStepsStopAtEitherEndOfTheTitle)
{
    Disc d = makeDisc();
    player.setDvd(d.dvd);
    player.playDVDItem(nullptr);
    player.playDVDItem(d.b2);
    EXPECT_FALSE(player.canPlayNext());
    EXPECT_TRUE(player.canPlayPrevious());
    player.playNext();
    EXPECT_EQ(player.current_play(), d.b2);

    player.playPrevious();
    ASSERT_EQ(player.current_play(), d.b1);
    EXPECT_FALSE(player.canPlayPrevious());
    EXPECT_TRUE(player.canPlayNext());
    player.playPrevious();
    EXPECT_EQ(player.current_play(), d.b1);
    player.playNext();
    EXPECT_EQ(player.current_play(), d.b2);

    // A menu has no chapters to step through.
    player.playMenu();
    EXPECT_EQ(player.current_play(), d.menu1);
    EXPECT_FALSE(player.canPlayNext());
    EXPECT_FALSE(player.canPlayPrevious());
    player.pause();
}

TEST_F(DVDPlayerTest, TitleEndFollowsNavigationThenLastMenuThenFirstMenu)
{
    {
        SCOPED_TRACE("jumpForActionItem: the title sequence goes on to title B");
        Disc d = makeDisc();
        d.dvd->setPlayTitleSequence(true);
        player.setDvd(d.dvd);
        player.playDVDItem(nullptr);
        player.clickPoint({140.0 / 640, 350.0 / 480});
        ASSERT_EQ(player.current_play(), d.a1);
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.b1);
    }
    {
        SCOPED_TRACE("lastMenu: back to the sub page the chapter was chosen on");
        Disc d = makeDisc();
        player.clearPlayer();
        player.setDvd(d.dvd);
        player.playDVDItem(nullptr);
        player.playDVDItem(d.toMenu2);
        player.playDVDItem(d.toB1);
        ASSERT_EQ(player.current_play(), d.b1);
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.menu2);
        // The sub page's end goes where the disc says (the first of its siblings).
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.menu2);
    }
    {
        SCOPED_TRACE("firstMenu: a first title played before any menu");
        Disc d = makeDisc();
        d.dvd->setPlayFirstTitle(true);
        player.clearPlayer();
        player.setDvd(d.dvd);
        player.playDVDItem(nullptr);
        ASSERT_EQ(player.current_play(), d.a1);
        EXPECT_EQ(player.lastMenu(), nullptr);
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.menu1);
    }
    player.pause();
}

TEST_F(DVDPlayerTest, NothingLeftToPlayPausesInsteadOfLooping)
{
    struct Case {
        const char* name;
        bool noMenu;
    };
    for (const Case& c : {Case{"noMenu, no titles", true}, Case{"no menus, no titles", false}}) {
        SCOPED_TRACE(c.name);
        auto dvd = std::make_shared<DVDLibrary>();
        dvd->setNoMenu(c.noMenu);
        player.clearPlayer();
        player.setDvd(dvd);
        player.playDVDItem(nullptr);
        // One second of nothing.
        EXPECT_EQ(player.current_play(), nullptr);
        EXPECT_EQ(player.duration(), lm_default_time_base());
        EXPECT_TRUE(player.isPlay());
        player.timeIsAfterAllMovieTime();
        EXPECT_FALSE(player.isPlay());
        EXPECT_EQ(player.current_play(), nullptr);
    }
    {
        SCOPED_TRACE("noMenu with titles loops through them");
        Disc d = makeDisc();
        d.dvd->setNoMenu(true);
        player.clearPlayer();
        player.setDvd(d.dvd);
        player.playDVDItem(nullptr);
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.b1);
        player.timeIsAfterAllMovieTime();
        EXPECT_EQ(player.current_play(), d.a1);
        player.pause();
    }
}

TEST_F(DVDPlayerTest, HitTestsSkipStaticAndInvalidItemsAndScaleByMenuSize)
{
    Disc d = makeDisc();
    player.setDvd(d.dvd);
    EXPECT_EQ(player.findItemAtPoint({0.2, 0.7}), nullptr);  // no menu plays yet
    player.playDVDItem(nullptr);
    EXPECT_EQ(player.findItemAtPoint({140.0 / 640, 70.0 / 480}), d.toMenu2);
    EXPECT_EQ(player.findItemAtPoint({600.0 / 640, 10.0 / 480}), nullptr);  // static only
    EXPECT_EQ(player.findItemAtPoint({400.0 / 640, 350.0 / 480}), d.toB);
    d.toB->valid = false;
    EXPECT_EQ(player.findItemAtPoint({400.0 / 640, 350.0 / 480}), nullptr);

    // Hovering off every item keeps the last highlight.
    player.moveAtPoint({140.0 / 640, 350.0 / 480});
    EXPECT_EQ(player.dvd_highlight_rect(), d.toA->rect);
    player.moveAtPoint({600.0 / 640, 10.0 / 480});
    EXPECT_EQ(player.dvd_highlight_rect(), d.toA->rect);
    // A click on nothing does nothing.
    player.clickPoint({600.0 / 640, 10.0 / 480});
    EXPECT_EQ(player.current_play(), d.menu1);
    player.pause();
}

TEST_F(DVDPlayerTest, AMenuPageLedToPlaysItselfNotWhatFollowsIt)
{
    // Each menu plays its first item's target when it ends: title A.
    Disc d = makeDisc();
    d.dvd->setMenuAutoJumpVideo(true);
    d.menu1->elements = {d.toA, d.decoration, d.toB, d.toMenu2};
    player.setDvd(d.dvd);
    player.playDVDItem(nullptr);
    ASSERT_EQ(player.current_play(), d.menu1);

    player.playDVDItem(d.b1);
    player.playMenu();
    EXPECT_EQ(player.current_play(), d.menu1);
    player.clickPoint({400.0 / 640, 350.0 / 480});
    ASSERT_EQ(player.current_play(), d.b1);
    player.timeIsAfterAllMovieTime();  // B's end: back to the menu it was chosen on
    EXPECT_EQ(player.current_play(), d.menu1);
    player.timeIsAfterAllMovieTime();  // the menu's end: on to title A
    EXPECT_EQ(player.current_play(), d.a1);
    player.pause();
}

TEST_F(DVDPlayerTest, IndexOfMenuAndFirstMenu)
{
    Disc d = makeDisc();
    player.setDvd(d.dvd);
    EXPECT_EQ(player.indexOfMenu(d.menu2), 1);
    EXPECT_EQ(player.firstMenu(), d.menu1);
    EXPECT_TRUE(player.canPlayMenu());
    d.dvd->setNoMenu(true);
    EXPECT_EQ(player.indexOfMenu(d.menu1), DVDLibrary::NotFound);
    EXPECT_EQ(player.firstMenu(), nullptr);
    auto bare = std::make_shared<DVDLibrary>();
    player.setDvd(bare);
    EXPECT_EQ(player.indexOfMenu(d.menu1), DVDLibrary::NotFound);
    EXPECT_FALSE(player.canPlayMenu());
}

TEST_F(DVDPlayerTest, HighlightShowsOnlyTheButtonUnderTheMouseTheRightWayUp)
{
    Disc d = makeDisc();
    d.dvd->setFormat(0);
    player.setDvd(d.dvd);
    player.playDVDItem(nullptr);
    EXPECT_TRUE(player.getDVDHighlightImage().isNull());
    ASSERT_EQ(player.dvd_highlight_image().size(), QSize(640, 480));

    // The sub-page button lies low on the canvas (y 40..100 from the bottom).
    player.moveAtPoint({140.0 / 640, 70.0 / 480});
    const QImage lit = player.getDVDHighlightImage();
    ASSERT_EQ(lit.size(), QSize(640, 480));
    testsupport::writeArtifact(lit, "dvdplayer-highlight.png");
    const auto opaque = [&](int x, int yFromTop) { return qAlpha(lit.pixel(x, yFromTop)) > 0; };
    EXPECT_TRUE(opaque(140, 480 - 70));
    EXPECT_FALSE(opaque(140, 70));         // the mirrored place stays clear
    EXPECT_FALSE(opaque(140, 480 - 350));  // title A's button is not lit
    EXPECT_FALSE(opaque(300, 480 - 70));   // right of the button
    player.pause();
}

}  // namespace
