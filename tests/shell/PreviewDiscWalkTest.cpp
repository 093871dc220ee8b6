// The preview plays what the disc does: a walk through the first-disc
// project's model, written from the project alone, replayed on the preview
// player built from the main window's disc model.

#include <gtest/gtest.h>

#include "DiscProjectFixture.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleVideo.h"
#include "production/DVDPlayer.h"

namespace {

// Where the player stands, as a DVD player reports it: a menu (1-based) or a
// title and chapter (1-based).
struct Cell {
    QString domain;
    qint64 number = 0;
    qint64 chapter = 0;
    bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cell& cell)
{
    return out << cell.domain.toStdString() << " " << cell.number << "/" << cell.chapter;
}

Cell cellOf(const DVDPlayer& player, const DVDLibrary& dvd)
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

class PreviewDiscWalkTest : public discproject::DiscProjectTest {};

TEST_F(PreviewDiscWalkTest, ThePreviewWalksTheDiscAsTheProjectSays)
{
    const QTemporaryDir dir = testsupport::makeTempDir();
    const discproject::FirstDiscProject p = buildFirstDisc(dir.path());
    const std::shared_ptr<DVDLibrary> dvd = discModel();
    ASSERT_TRUE(dvd);
    ASSERT_EQ(dvd->menus().size(), 2);
    ASSERT_EQ(dvd->titles().size(), 4);  // A, the slideshow, B, C

    // The sub page's "previous" button: the button item leading to the top menu.
    QRectF previousFrame;
    for (const auto& item : dvd->menus().at(1)->items()) {
        if (item->isButtonItem() && item->jump() == dvd->menus().at(0)) {
            previousFrame = item->frame();
        }
    }
    ASSERT_FALSE(previousFrame.isEmpty()) << "the chapter page has no button back";

    DVDPlayer player;
    player.setIsPreview(true);
    player.setDvd(dvd);
    const QSizeF canvas(854, 480);
    const auto click = [&](const QRectF& frame) {
        const QPointF centre = frame.center();
        player.clickPoint({centre.x() / canvas.width(), centre.y() / canvas.height()});
    };
    struct Step {
        const char* name;
        std::function<void()> act;
        Cell expected;
    };
    const QList<Step> walk{
        {"start", [&] { player.playDVDItem(nullptr); }, {"menu", 1, 0}},
        {"title A's button", [&] { click(p.itemOne->frame()); }, {"title", 1, 1}},
        {"title A's end", [&] { player.timeIsAfterAllMovieTime(); }, {"menu", 1, 0}},
        {"the slideshow's button", [&] { click(p.itemThree->frame()); }, {"title", 2, 1}},
        {"the slideshow's end", [&] { player.timeIsAfterAllMovieTime(); }, {"menu", 1, 0}},
        {"the chapter page's button", [&] { click(p.itemTwo->frame()); }, {"menu", 2, 0}},
        {"chapter B's button", [&] { click(p.chapterB->frame()); }, {"title", 4, 1}},
        {"C's end", [&] { player.timeIsAfterAllMovieTime(); }, {"menu", 2, 0}},
        {"chapter A's button", [&] { click(p.chapterA->frame()); }, {"title", 3, 1}},
        {"B's end", [&] { player.timeIsAfterAllMovieTime(); }, {"menu", 2, 0}},
        {"previous on the chapter page", [&] { click(previousFrame); }, {"menu", 1, 0}},
    };
    for (const Step& step : walk) {
        step.act();
        EXPECT_EQ(cellOf(player, *dvd), step.expected) << "at step: " << step.name;
    }
    player.pause();
}

}  // namespace
