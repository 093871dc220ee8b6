// The preview plays what the disc does: walks through the first-disc
// project's model, each under a setting of the disc's navigation flags and
// written from the project alone, replayed on the preview player built from
// the main window's disc model and on the DVD folder produced from that
// model, played with libdvdnav. The first difference from the walk fails and
// names its step.

#include <gtest/gtest.h>

#include "DiscNavigator.h"
#include "DiscProjectFixture.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleVideo.h"
#include "production/DVDPlayer.h"

namespace {

using discnavigation::DiscNavigator;
using discnavigation::Place;

Place placeOf(const DVDPlayer& player, const DVDLibrary& dvd)
{
    if (const auto menu = player.currentPlayMenu()) {
        return {"menu", player.indexOfMenu(menu) + 1, 0};
    }
    const auto title = player.currentPlayTitle();
    if (!title) {
        return {"none", 0, 0};
    }
    const auto chapter = std::dynamic_pointer_cast<DVDChapterVideo>(player.current_play());
    return {"title", dvd.titles().indexOf(title) + 1, title->chapters().indexOf(chapter) + 1};
}

// One move of the walk: the disc's start, a press on a menu button, or the
// end of what plays; then where the disc must stand.
struct Step {
    enum class Move { Start, Press, RunOut };
    const char* name;
    Move move;
    std::shared_ptr<DVDMenuElement> button;  // for Press
    Place expected;
};

// The sub page's "previous" button: the button item leading to the top menu.
std::shared_ptr<DVDMenuElement> previousButton(const DVDLibrary& dvd)
{
    for (const auto& item : dvd.menus().at(1)->items()) {
        if (item->isButtonItem() && item->jump() == dvd.menus().at(0)) {
            return item;
        }
    }
    return nullptr;
}

using Move = Step::Move;
const Place topMenu{"menu", 1, 0};
const Place chapterPage{"menu", 2, 0};

// As the project is set: the disc opens on the top menu; each title plays
// from its button and, with no sequence set, its end returns to the menu it
// was chosen from; the chapter page's buttons play the two clips' titles
// (B and C, the disc's third and fourth); the chapter page starts over when
// it ends; "previous" leads back to the top.
QList<Step> walkAsSet(const discproject::FirstDiscProject& p, const DVDLibrary& dvd)
{
    return {
        {"start", Move::Start, nullptr, topMenu},
        {"title A's button", Move::Press, p.itemOne, {"title", 1, 1}},
        {"title A's end", Move::RunOut, nullptr, topMenu},
        {"the slideshow's button", Move::Press, p.itemThree, {"title", 2, 1}},
        {"the slideshow's end", Move::RunOut, nullptr, topMenu},
        {"the chapter page's button", Move::Press, p.itemTwo, chapterPage},
        {"C's button on the chapter page", Move::Press, p.chapterB, {"title", 4, 1}},
        {"C's end", Move::RunOut, nullptr, chapterPage},
        {"B's button on the chapter page", Move::Press, p.chapterA, {"title", 3, 1}},
        {"B's end", Move::RunOut, nullptr, chapterPage},
        {"the chapter page's end", Move::RunOut, nullptr, chapterPage},
        {"previous on the chapter page", Move::Press, previousButton(dvd), topMenu},
    };
}

// The first title plays at once and the titles follow one another, the last
// one leading back to the first: with the first title and the sequence set,
// and on a disc without menus.
QList<Step> walkThroughTheTitles(const discproject::FirstDiscProject&, const DVDLibrary&)
{
    return {
        {"start", Move::Start, nullptr, {"title", 1, 1}},
        {"title A's end", Move::RunOut, nullptr, {"title", 2, 1}},
        {"the slideshow's end", Move::RunOut, nullptr, {"title", 3, 1}},
        {"B's end", Move::RunOut, nullptr, {"title", 4, 1}},
        {"C's end", Move::RunOut, nullptr, {"title", 1, 1}},
    };
}

// A menu that ends plays the target of its first item, and a title chosen
// there returns to that menu when it ends.
QList<Step> walkWithMenusJumpingOn(const discproject::FirstDiscProject& p, const DVDLibrary& dvd)
{
    const auto first = dvd.menus().at(0)->items().value(0);
    const bool firstPlaysA = first && dvd.getChaptersForItem(first).value(0) ==
                                          dvd.getChaptersForItem(p.itemOne).value(0);
    EXPECT_TRUE(firstPlaysA) << "the top menu's first item does not play title A";
    return {
        {"start", Move::Start, nullptr, topMenu},
        {"the top menu's end", Move::RunOut, nullptr, {"title", 1, 1}},
        {"title A's end", Move::RunOut, nullptr, topMenu},
        {"the slideshow's button", Move::Press, p.itemThree, {"title", 2, 1}},
        {"the slideshow's end", Move::RunOut, nullptr, topMenu},
    };
}

// One walk: the disc settings it is written for and its steps.
struct Walk {
    const char* name;
    std::function<void(DVDLibrary&)> settings;
    std::function<QList<Step>(const discproject::FirstDiscProject&, const DVDLibrary&)> steps;
};

void PrintTo(const Walk& walk, std::ostream* out)
{
    *out << walk.name;
}

const Walk walks[] = {
    {"AsSet", [](DVDLibrary&) {}, walkAsSet},
    {"FirstTitleThenInSequence",
     [](DVDLibrary& dvd) {
         dvd.setPlayFirstTitle(true);
         dvd.setPlayTitleSequence(true);
     },
     walkThroughTheTitles},
    {"NoMenu", [](DVDLibrary& dvd) { dvd.setNoMenu(true); }, walkThroughTheTitles},
    {"MenusJumpToTheirFirstVideo", [](DVDLibrary& dvd) { dvd.setMenuAutoJumpVideo(true); },
     walkWithMenusJumpingOn},
};

class PreviewDiscWalkTest : public discproject::DiscProjectTest,
                            public ::testing::WithParamInterface<Walk> {
protected:
    // The project's disc model with the walk's settings, checked to be the
    // one the walks are written for.
    std::shared_ptr<DVDLibrary> walkedModel(const discproject::FirstDiscProject& p)
    {
        std::shared_ptr<DVDLibrary> dvd = discModel();
        EXPECT_TRUE(dvd);
        if (!dvd || !p.top || !p.chapters) {
            return nullptr;
        }
        EXPECT_EQ(dvd->menus().size(), 2);
        EXPECT_EQ(dvd->titles().size(), 4);  // A, the slideshow, B, C
        if (dvd->menus().size() != 2 || dvd->titles().size() != 4) {
            return nullptr;
        }
        EXPECT_TRUE(previousButton(*dvd)) << "the chapter page has no button back";
        GetParam().settings(*dvd);
        return previousButton(*dvd) ? dvd : nullptr;
    }
};

TEST_P(PreviewDiscWalkTest, ThePreviewWalksAsTheProjectSays)
{
    const QTemporaryDir dir = testsupport::makeTempDir();
    const discproject::FirstDiscProject p = buildFirstDisc(dir.path());
    const std::shared_ptr<DVDLibrary> dvd = walkedModel(p);
    ASSERT_TRUE(dvd);

    DVDPlayer player;
    player.setIsPreview(true);
    player.setDvd(dvd);
    for (const Step& step : GetParam().steps(p, *dvd)) {
        switch (step.move) {
            case Step::Move::Start:
                player.playDVDItem(nullptr);
                break;
            case Step::Move::Press: {
                const auto menu = player.currentPlayMenu();
                ASSERT_TRUE(menu) << "no menu plays at step: " << step.name;
                const QPointF centre = step.button->frame().center();
                player.clickPoint({centre.x() / menu->menuSize().width(),
                                   centre.y() / menu->menuSize().height()});
                break;
            }
            case Step::Move::RunOut:
                player.timeIsAfterAllMovieTime();
                break;
        }
        // Past a difference the player stands elsewhere: the first one is the finding.
        ASSERT_EQ(placeOf(player, *dvd), step.expected) << "at step: " << step.name;
    }
    player.pause();
}

TEST_P(PreviewDiscWalkTest, TheAuthoredDiscWalksAsTheProjectSays)
{
    const QTemporaryDir dir = testsupport::makeTempDir();
    const discproject::FirstDiscProject p = buildFirstDisc(dir.path());
    const std::shared_ptr<DVDLibrary> dvd = walkedModel(p);
    ASSERT_TRUE(dvd);

    const QString folder = folders.home() + "/Movies/Walk";
    BurnDVDWorkflow flow;
    const ProductionResult made = runProduction(flow, [&] { return flow.make(dvd, folder); });
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());

    DiscNavigator disc(folder);
    ASSERT_TRUE(disc.isOpen()) << qPrintable(disc.error());
    const double videoHeight = dvd->dvdVideoSize().height();
    for (const Step& step : GetParam().steps(p, *dvd)) {
        std::optional<Place> place;
        switch (step.move) {
            case Step::Move::Start:
                place = disc.start();
                break;
            case Step::Move::Press: {
                // The button under the item's centre, as the disc lays it out.
                const auto menu = dvd->menuForItem(step.button);
                ASSERT_TRUE(menu) << "the item of step " << step.name << " is on no page";
                const QPointF centre = DVDMenuMake::scaleRect(step.button->frame(),
                                                              menu->menuSize(), dvd->dvdVideoSize())
                                           .center();
                const int number =
                    disc.buttonAt(QPoint(int(centre.x()), int(videoHeight - centre.y())));
                ASSERT_GT(number, 0)
                    << "the disc's menu has no button under the item at step: " << step.name;
                place = disc.press(number);
                break;
            }
            case Step::Move::RunOut:
                place = disc.runOut();
                break;
        }
        ASSERT_TRUE(place) << "the disc went nowhere at step: " << step.name << ": "
                           << qPrintable(disc.error());
        // Past a difference the disc stands elsewhere: the first one is the finding.
        ASSERT_EQ(*place, step.expected) << "at step: " << step.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Walks, PreviewDiscWalkTest, ::testing::ValuesIn(walks),
                         [](const ::testing::TestParamInfo<Walk>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
