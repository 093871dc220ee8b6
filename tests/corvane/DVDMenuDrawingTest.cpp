#include <gtest/gtest.h>

#include "TemplateFixture.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "corvane/DVDMenuItem.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace templatefixture;

namespace {

// A 20 x 10 picture in four quadrants: red top-left, green top-right, blue
// bottom-left, white bottom-right.
QImage quadrants()
{
    QImage image = solid(20, 10, Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, 10, 5, Qt::red);
    p.fillRect(10, 0, 10, 5, Qt::green);
    p.fillRect(0, 5, 10, 5, Qt::blue);
    return image;
}

std::shared_ptr<DVDMenu> page(QSizeF size, const QImage& background = QImage(), qint64 mode = 2)
{
    auto menu = std::make_shared<DVDMenu>();
    menu->setMenuSize(size);
    menu->setBackgroundImageDrawMode(mode);
    if (!background.isNull()) {
        auto resource = std::make_shared<DVDMenuBackgroundResource>();
        resource->setImage(background);
        menu->setBackgroundResource(resource);
    }
    return menu;
}

}  // namespace

TEST(DVDMenuDrawingTest, CanvasSizeAndAspect)
{
    EXPECT_EQ(DVDMenu::menuSizeForAspectType(0), QSizeF(640, 480));
    for (qint64 aspect : {1, 2, -1}) {
        EXPECT_EQ(DVDMenu::menuSizeForAspectType(aspect), QSizeF(854, 480));
    }
    const std::pair<QSizeF, qint64> cases[] = {
        {{720, 540}, 0}, {{700, 480}, 1}, {{640, 480}, 0}, {{854, 480}, 1}, {{0, 0}, 1}};
    for (const auto& [size, aspect] : cases) {
        EXPECT_EQ(page(size)->aspectType(), aspect) << size.width() << " x " << size.height();
    }
    auto menu = page({854, 480});
    menu->setName("Party");
    EXPECT_EQ(menu->identifier(), "Party-1");
    menu->setCategory("Kids");
    EXPECT_EQ(menu->identifier(), "Kids-Party-1");
}

TEST(DVDMenuDrawingTest, FitAndFillPlacement)
{
    struct Case {
        QRectF source, target, fit, fill;
    };
    const Case cases[] = {
        {{5, 5, 20, 10}, {0, 0, 40, 40}, {0, 10, 40, 20}, {-20, 0, 80, 40}},
        {{0, 0, 10, 10}, {10, 20, 20, 40}, {10, 30, 20, 20}, {0, 20, 40, 40}},
        // The scale never goes below 0.01: a tiny picture grows at most 100 times.
        {{0, 0, 1, 1}, {0, 0, 1000, 1000}, {450, 450, 100, 100}, {450, 450, 100, 100}},
        {{0, 0, 10, 10}, {3, 3, 0, 0}, {3, 3, 0, 0}, {3, 3, 0, 0}},
    };
    // Ratios are single precision, so results are exact only to about 1e-6.
    auto same = [](const QRectF& a, const QRectF& b) {
        return std::abs(a.x() - b.x()) < 1e-4 && std::abs(a.y() - b.y()) < 1e-4 &&
               std::abs(a.width() - b.width()) < 1e-4 && std::abs(a.height() - b.height()) < 1e-4;
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(same(DVDMenu::scaleRectIn(c.source, c.target), c.fit)) << c.target.width();
        EXPECT_TRUE(same(DVDMenu::scaleRectFull(c.source, c.target), c.fill)) << c.target.width();
    }
    const QRectF nothing = DVDMenu::scaleRectIn(QRectF(), QRectF());
    EXPECT_TRUE(nothing.isEmpty());
}

TEST(DVDMenuDrawingTest, APageWithoutBackgroundIsBlack)
{
    const QImage image = page({40, 30})->imageAtTime(0);
    ASSERT_EQ(image.size(), QSize(40, 30));
    for (QPoint p : {QPoint(0, 0), QPoint(39, 29), QPoint(20, 15)}) {
        EXPECT_EQ(image.pixelColor(p), QColor(Qt::black));
    }
}

TEST(DVDMenuDrawingTest, BackgroundFitFillAndStretch)
{
    struct Probe {
        QPoint up;  // from the bottom-left
        QColor colour;
    };
    struct Case {
        qint64 mode;
        QList<Probe> probes;
    };
    const Case cases[] = {
        {0,
         {{{5, 5}, Qt::black},
          {{5, 25}, Qt::red},
          {{5, 15}, Qt::blue},
          {{35, 25}, Qt::green},
          {{35, 15}, Qt::white},
          {{5, 35}, Qt::black}}},
        {1, {{{5, 38}, Qt::red}, {{5, 2}, Qt::blue}, {{35, 38}, Qt::green}, {{35, 2}, Qt::white}}},
        {7, {{{1, 38}, Qt::red}, {{1, 1}, Qt::blue}, {{38, 38}, Qt::green}, {{38, 1}, Qt::white}}},
    };
    for (const Case& c : cases) {
        const QImage image = page({40, 40}, quadrants(), c.mode)->imageAtTime(0);
        for (const Probe& probe : c.probes) {
            EXPECT_EQ(pixelUp(image, probe.up.x(), probe.up.y()), probe.colour)
                << "mode " << c.mode << " at " << probe.up.x() << "," << probe.up.y();
        }
    }
}

TEST(DVDMenuDrawingTest, OnlyThePictureRectangleOfTheBackgroundIsDrawn)
{
    auto menu = page({40, 40}, quadrants(), 2);
    menu->setBackgroundImageRect(QRectF(0, 0, 10, 5));  // bottom-left quadrant, y up
    const QImage image = menu->imageAtTime(0);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(38, 38), QColor(Qt::blue));
}

TEST(DVDMenuDrawingTest, ElementsBehindTheBackgroundShowOnlyThroughItsHoles)
{
    QImage ring = solid(40, 40, Qt::blue);
    {
        QPainter p(&ring);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillRect(10, 10, 20, 20, Qt::transparent);
    }
    auto menu = page({40, 40}, ring, 2);
    auto front = std::make_shared<PictureElement>(QRectF(-2, -2, 14, 14), solid(10, 10, Qt::green));
    auto behind =
        std::make_shared<PictureElement>(QRectF(-2, -2, 44, 44), solid(40, 40, Qt::red), -100);
    menu->setItems({front, behind});
    QImage image = menu->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 20, 20), QColor(Qt::red)) << "through the hole";
    EXPECT_EQ(pixelUp(image, 35, 35), QColor(Qt::blue));
    EXPECT_EQ(pixelUp(image, 2, 2), QColor(Qt::green)) << "in front of the background";

    menu->setBackgroundResource(nullptr);
    menu->updateBackgroundImage();
    image = menu->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 35, 35), QColor(Qt::red));
}

TEST(DVDMenuDrawingTest, ElementPicturesAreFittedInsideTheirFrameLessTwoPoints)
{
    struct Case {
        QRectF frame;
        QPoint inside;   // coloured, from the bottom-left; (-1, -1) for none
        QPoint outside;  // still black
    };
    const Case cases[] = {
        {{10, 10, 20, 20}, {12, 12}, {11, 11}},
        {{10, 10, 20, 20}, {27, 27}, {28, 28}},
        {{10, 10, 6, 6}, {12, 12}, {14, 14}},
        {{10, 10, 5, 5}, {-1, -1}, {12, 12}},  // the picture would be 1 point wide
        {{10, 10, 3, 3}, {-1, -1}, {11, 11}},  // the inset frame would be negative
    };
    for (const Case& c : cases) {
        auto menu = page({40, 40});
        menu->setItems({std::make_shared<PictureElement>(c.frame, solid(16, 16, Qt::green))});
        const QImage image = menu->imageAtTime(0);
        if (c.inside.x() >= 0) {
            EXPECT_EQ(pixelUp(image, c.inside.x(), c.inside.y()), QColor(Qt::green))
                << c.frame.width();
        }
        EXPECT_EQ(pixelUp(image, c.outside.x(), c.outside.y()), QColor(Qt::black))
            << c.frame.width();
    }
}

TEST(DVDMenuDrawingTest, RotationTurnsCounterClockwiseAboutTheFrameCentre)
{
    QImage picture = solid(20, 20, Qt::blue);
    QPainter(&picture).fillRect(0, 0, 20, 10, Qt::red);  // red on top
    auto element = std::make_shared<PictureElement>(QRectF(0, 0, 24, 24), picture);
    element->m_rotation = 90;
    auto menu = page({24, 24});
    menu->setItems({element});
    const QImage image = menu->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 5, 12), QColor(Qt::red)) << "the top turned to the left";
    EXPECT_EQ(pixelUp(image, 18, 12), QColor(Qt::blue));
}

TEST(DVDMenuDrawingTest, AnElementShadowFallsByItsOffset)
{
    auto element =
        std::make_shared<PictureElement>(QRectF(10, 10, 20, 20), solid(16, 16, Qt::green));
    element->m_shadow = Shadow{QPointF(4, -4), 0, QColor(0, 0, 0, 255)};
    auto menu = page({40, 40}, solid(4, 4, Qt::white), 2);
    menu->setItems({element});
    const QImage image = menu->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 30, 10), QColor(Qt::black)) << "right of and below the picture";
    EXPECT_EQ(pixelUp(image, 5, 35), QColor(Qt::white));
    EXPECT_EQ(pixelUp(image, 14, 26), QColor(Qt::green));
}

TEST(DVDMenuDrawingTest, ButtonsAndPlayTarget)
{
    auto makeButton = [](const QString& name) {
        auto resource = std::make_shared<DVDLibraryButtonResource>();
        resource->setName(name);
        auto item = std::make_shared<DVDMenuItem>();
        item->setButtonResource(resource);
        return item;
    };
    auto first = makeButton("01-play");
    auto second = makeButton("02-play");
    auto next = makeButton("01-next");
    auto subPage = std::make_shared<DVDMenu>();
    auto title = std::make_shared<DVDMenu>();  // any object that is not a page will do
    auto video = std::make_shared<DVDMenuItem>();
    auto menu = std::make_shared<DVDMenu>();
    menu->setItems({first, next, second, video});
    EXPECT_EQ(menu->buttonForButtonType("play"), second);
    EXPECT_EQ(menu->buttonForButtonType("next"), next);
    EXPECT_EQ(menu->buttonForButtonType("pre"), nullptr);

    EXPECT_EQ(menu->menuPlayJump(), nullptr);
    first->setJump(subPage);
    EXPECT_EQ(menu->menuPlayJump(), nullptr) << "pages are skipped";
    auto target = std::make_shared<DVDMenuItem>();
    video->setJump(target);
    EXPECT_EQ(menu->menuPlayJump(), target);
}

TEST(DVDMenuDrawingTest, ACopySharesBackgroundMusicAndParentButNotElements)
{
    auto menu = page({854, 480}, solid(4, 4, Qt::red), 1);
    auto parent = std::make_shared<DVDMenuItem>();
    auto element = std::make_shared<DVDMenuItem>();
    element->setFrame(QRectF(1, 2, 3, 4));
    menu->setItems({element});
    menu->setParent(parent);
    menu->setMusic(Value("song.mp3"));
    menu->setName("Party");
    menu->setDuration(12.5);
    menu->setMenuID(7);
    menu->setBackgroundImageRect(QRectF(1, 1, 2, 2));

    auto copy = menu->copy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->backgroundResource(), menu->backgroundResource());
    EXPECT_EQ(copy->parent(), parent);
    EXPECT_EQ(copy->music(), Value("song.mp3"));
    EXPECT_EQ(copy->menuSize(), QSizeF(854, 480));
    EXPECT_EQ(copy->name(), "Party");
    EXPECT_DOUBLE_EQ(copy->duration(), 12.5);
    EXPECT_EQ(copy->backgroundImageDrawMode(), 1);
    EXPECT_EQ(copy->backgroundImageRect(), QRectF(1, 1, 2, 2));
    EXPECT_EQ(copy->menuID(), 0) << "not an archived value";
    ASSERT_EQ(copy->items().size(), 1);
    EXPECT_NE(copy->items().at(0), element);
    EXPECT_EQ(copy->items().at(0)->frame(), QRectF(1, 2, 3, 4));
}

TEST(DVDMenuDrawingTest, APageRoundTripsThroughTheArchive)
{
    auto menu = page({640, 480}, solid(4, 4, Qt::red), 0);
    auto element = std::make_shared<DVDMenuItem>();
    element->setFrame(QRectF(10, 20, 30, 40));
    menu->setItems({element});
    menu->setParent(element);  // a back-link into the graph
    menu->setName("Zoo");
    menu->setCategory("Kids");
    menu->setThumbnailPath("/tmp/t.png");
    menu->setBackgroundImageRect(QRectF(0.5, 1, 2, 3));
    EXPECT_EQ(menu->allCoderKeys(),
              QStringList({"menuSizeObject", "duration", "items", "music", "parent",
                           "backgroundResource", "thumbnailPath", "backgroundImageRectObject",
                           "category", "name", "backgroundImageDrawMode"}));
    EXPECT_EQ(menu->menuSizeObject(), "{640, 480}");
    EXPECT_EQ(menu->backgroundImageRectObject(), "{{0.5, 1}, {2, 3}}");

    const auto result = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(menu)));
    ASSERT_TRUE(result.root);
    auto restored = result.root->objectAs<DVDMenu>();
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->menuSize(), QSizeF(640, 480));
    EXPECT_EQ(restored->identifier(), "Kids-Zoo-0");
    EXPECT_EQ(restored->thumbnailPath(), "/tmp/t.png");
    EXPECT_EQ(restored->backgroundImageRect(), QRectF(0.5, 1, 2, 3));
    EXPECT_EQ(restored->backgroundImageDrawMode(), 0);
    ASSERT_EQ(restored->items().size(), 1);
    EXPECT_EQ(restored->parent(), restored->items().at(0));
    EXPECT_EQ(restored->items().at(0)->frame(), QRectF(10, 20, 30, 40));
    ASSERT_TRUE(restored->backgroundResource());
    EXPECT_EQ(restored->backgroundImage().size(), QSize(4, 4));
}
