#include "DVDResourceTestFixture.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "model/ButtonType.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"

using namespace disctest;

namespace {

using DVDPageItemTest = DiscSideTest;

TEST_F(DVDPageItemTest, NewElementIsALiveTitlePictureInTheFirstTemplateFrame)
{
    DVDPageItem item(services->library);
    EXPECT_EQ(item.type(), 1);
    EXPECT_EQ(item.frame(), QRectF());
    EXPECT_EQ(item.frameResource(), services->library->frames().first());
    EXPECT_EQ(item.buttonResource(), services->library->buttons().first());
    EXPECT_TRUE(item.useFrame());
    EXPECT_TRUE(item.hasShadow());
    EXPECT_EQ(item.shadowAngleValue(), 0);
    EXPECT_FLOAT_EQ(item.shadowOffsetValue(), 3.0f);
    EXPECT_EQ(item.shadowBlursizeValue(), 10);
    EXPECT_EQ(item.shadowColor(), QColor::fromRgbF(0, 0, 0, 0.5));
    EXPECT_DOUBLE_EQ(item.itemRoundValue(), 0.1);
    EXPECT_EQ(item.videoImageTime(), seconds(5.5));
    EXPECT_EQ(item.useImageFrom(), 0);
    EXPECT_EQ(item.dvdTitleUseType(), 1);
    EXPECT_EQ(item.dvdbuttonUseType(), 0);
    EXPECT_FALSE(item.useStaticImage());
    EXPECT_FALSE(item.useTextSource());
    EXPECT_TRUE(item.isValid());
    EXPECT_EQ(item.rotation(), 0.0);
    EXPECT_EQ(item.allCoderKeys().size(), 26);
}

TEST_F(DVDPageItemTest, KindsFollowTheTypeTable)
{
    struct Case {
        qint64 type;
        bool textSource;
        bool isStatic, isButton, isText, highlightEmpty;
        int level;
    } cases[] = {
        {1, false, false, false, false, true, 1},  {1, true, false, false, false, true, 1},
        {2, false, true, false, true, false, 0},   {4, false, false, false, true, false, 1},
        {11, false, false, true, false, false, 1}, {11, true, false, true, true, false, 1},
        {12, false, false, true, false, false, 1}, {13, true, false, true, true, false, 1},
        {7, false, false, false, false, true, 1},
    };
    for (const auto& c : cases) {
        DVDPageItem item;
        item.setType(c.type);
        item.setUseTextSource(c.textSource);
        EXPECT_EQ(item.isStaticItem(), c.isStatic) << c.type;
        EXPECT_EQ(item.isButtonItem(), c.isButton) << c.type;
        EXPECT_EQ(item.isTextItem(), c.isText) << c.type << c.textSource;
        EXPECT_EQ(item.highlightModeEmptyInDVD(), c.highlightEmpty) << c.type << c.textSource;
        EXPECT_EQ(item.level(), c.level) << c.type;
    }
}

TEST_F(DVDPageItemTest, JumpTargets)
{
    auto page = std::make_shared<DVDPage>();
    auto sub = std::make_shared<DVDPage>();
    auto element = [](qint64 type) {
        auto item = std::make_shared<DVDPageItem>();
        item->setType(type);
        return item;
    };

    auto play = element(11);
    EXPECT_EQ(play->jump(), play);
    play->setJumpMenu(page);
    EXPECT_EQ(play->jump(), page);

    auto next = element(13);
    EXPECT_EQ(next->jump(), nullptr);
    next->setJumpMenu(page);
    EXPECT_EQ(next->jump(), page);
    EXPECT_EQ(element(12)->jump(), nullptr);

    auto decoration = element(2);
    decoration->setHasSubPage(true);
    decoration->setSubPage(sub);
    EXPECT_EQ(decoration->jump(), nullptr);

    auto title = element(1);
    EXPECT_EQ(title->jump(), title);
    title->setHasSubPage(true);
    title->setSubPage(sub);
    EXPECT_EQ(title->jump(), sub);

    auto textTitle = element(4);
    EXPECT_EQ(textTitle->jump(), textTitle);
}

TEST_F(DVDPageItemTest, ButtonRolesComeFromNameSuffixes)
{
    struct Case {
        const char* name;
        bool play, pre, next;
        qint64 type;
    } cases[] = {
        {"01-play", true, false, false, 11},   {"01-pre", false, true, false, 12},
        {"01-next", false, false, true, 13},   {"replay", true, false, false, 11},
        {"previous", false, false, false, 13}, {"01-Play", false, false, false, 13},
        {"12-pre", false, true, false, 12},    {"", false, false, false, 13},
    };
    for (const auto& c : cases) {
        DVDLibraryButtonResource button;
        button.setName(c.name);
        EXPECT_EQ(ButtonType::isPlay(button), c.play) << c.name;
        EXPECT_EQ(ButtonType::isPrev(button), c.pre) << c.name;
        EXPECT_EQ(ButtonType::isNext(button), c.next) << c.name;
        EXPECT_EQ(ButtonType::type(button), c.type) << c.name;
    }
}

TEST_F(DVDPageItemTest, AdjustRectKeepsWidthAndVerticalCentre)
{
    struct Case {
        QRectF rect;
        QSizeF size;
        QRectF expected;
    } cases[] = {
        {{10, 10, 100, 100}, {200, 50}, {10, 47.5, 100, 25}},
        {{0, 0, 80, 70}, {80, 50}, {0, 10, 80, 50}},
        {{0, 0, 80, 70}, {40, 80}, {0, -45, 80, 160}},
        // A picture without a side leaves the frame alone.
        {{10, 10, 100, 100}, {0, 50}, {10, 10, 100, 100}},
        {{10, 10, 100, 100}, {50, 0}, {10, 10, 100, 100}},
        {{10, 10, 100, 100}, {0.5, 50}, {10, 10, 100, 100}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DVDPageItem::adjustRect(c.rect, c.size), c.expected);
    }
}

TEST_F(DVDPageItemTest, TitlePictureChoiceUpdatesTheStillAndRedisplays)
{
    // The redisplay reaches the canvas through the element's page and disc.
    const auto shown = std::make_shared<DVDPageItem>();
    const auto page = std::make_shared<DVDPage>();
    page->setItemArray({shown});
    services->disc->setPageArray({page});
    DVDPageItem& item = *shown;
    const QImage still = solid(4, 3, Qt::green);
    const QImage own = solid(4, 3, Qt::blue);
    item.setTitleVideoImage(still);
    item.setTitleLocalImage(own);
    struct Case {
        qint64 from;
        bool useStatic;
        QImage picture;
    } cases[] = {{1, true, still}, {2, true, own}, {0, false, still}, {5, false, still}};
    for (const auto& c : cases) {
        const int before = services->redisplays;
        item.setTitleUseImageFrom(c.from);
        EXPECT_EQ(item.useStaticImage(), c.useStatic) << c.from;
        EXPECT_EQ(item.menuStaticImage(), c.picture) << c.from;
        EXPECT_EQ(services->redisplays, before + 1);
    }
    const int before = services->redisplays;
    item.setTitleRoundValue(0.4);
    EXPECT_DOUBLE_EQ(item.itemRoundValue(), 0.4);
    EXPECT_EQ(services->redisplays, before + 1);
    // Plain setters store and nothing else.
    item.setUseImageFrom(2);
    EXPECT_EQ(item.menuStaticImage(), still);
    EXPECT_EQ(services->redisplays, before + 1);
}

TEST_F(DVDPageItemTest, ButtonUseTypesSwitchTextAndOwnPictureAndRefitTheFrame)
{
    auto button = std::make_shared<PictureButton>();
    button->setName("x-play");
    button->picture = solid(80, 40, Qt::red);
    DVDPageItem item;
    item.setType(11);
    item.setButtonResource(button);
    item.setFrame(QRectF(100, 100, 80, 70));

    item.setButtonUseType(0);
    EXPECT_FALSE(item.useTextSource());
    EXPECT_FALSE(item.useStaticImage());
    EXPECT_EQ(item.frame(), QRectF(100, 115, 80, 40));

    item.setButtonLocalImage(solid(40, 40, Qt::blue));
    item.setButtonUseType(2);
    EXPECT_TRUE(item.useStaticImage());
    EXPECT_EQ(item.menuStaticImage().size(), QSize(40, 40));
    EXPECT_EQ(item.frame(), QRectF(100, 95, 80, 80));

    auto text = std::make_shared<EffectTextImage>();
    text->setTextString("Go");
    item.setTextSource(text);
    item.setButtonUseType(1);
    EXPECT_TRUE(item.useTextSource());
    EXPECT_TRUE(item.isTextItem());
    const QSizeF textSize = text->textSourceImage().size();
    EXPECT_DOUBLE_EQ(item.frame().width(), 80);
    EXPECT_NEAR(item.frame().height(), 80 * textSize.height() / textSize.width(), 1e-9);
    EXPECT_NEAR(item.frame().center().y(), 135, 1e-9);
}

TEST_F(DVDPageItemTest, FramesAreKeptAsRectangleStrings)
{
    DVDPageItem item;
    item.setFrame(QRectF(10.5, 20, 200, 150));
    EXPECT_EQ(item.itemFrame(), "{{10.5, 20}, {200, 150}}");
    item.setLastTitleFrame("{{1, 2}, {3, 4}}");
    EXPECT_EQ(item.lastTimeTitleFrame(), QRectF(1, 2, 3, 4));
    item.setItemFrame("{{5, 6}, {7, 8}}");
    EXPECT_EQ(item.frame(), QRectF(5, 6, 7, 8));
}

}  // namespace
