#include <gtest/gtest.h>
#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include "TemplateFixture.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuItem.h"
#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace templatefixture;

namespace {

const bool textSourceRegistered = [] {
    ClassRegistry::add<TextSource>(QStringLiteral("TestTextSource"));
    return true;
}();

const QColor transparent(0, 0, 0, 0);

class DVDMenuItemTest : public ::testing::Test {
protected:
    void SetUp() override { DVDLibraryResource::setBundleSearchPath(bundle.path); }
    void TearDown() override { DVDLibraryResource::setBundleSearchPath(QString()); }

    // A framed video element of `size` whose title paints green.
    std::shared_ptr<DVDMenuItem> videoElement(QSizeF size = {20, 20})
    {
        auto frame = std::make_shared<DVDLibraryFrameResource>();
        frame->setName("plain");
        frame->setFrame("frames/plain-frame.png");
        frame->setMask("frames/plain-mask.png");
        auto element = std::make_shared<DVDMenuItem>();
        element->setFrame(QRectF(QPointF(100, 100), size));
        element->setFrameResource(frame);
        element->setUseFrame(true);
        element->setJump(title);
        return element;
    }

    Bundle bundle;
    std::shared_ptr<ColourTitle> title = std::make_shared<ColourTitle>(Qt::green);
};

std::shared_ptr<DVDLibraryButtonResource> playButton()
{
    auto button = std::make_shared<DVDLibraryButtonResource>();
    button->setName("a-play");
    button->setPath("buttons/a-play.png");
    return button;
}

}  // namespace

TEST_F(DVDMenuItemTest, AFramedElementShowsVideoInsideTheMaskAndFrame)
{
    auto element = videoElement();
    const QImage image = element->imageAtTime(0);
    ASSERT_EQ(image.size(), QSize(20, 20));
    EXPECT_EQ(title->lastTime, 0);
    EXPECT_EQ(pixelUp(image, 0, 10), QColor(Qt::white)) << "the frame picture";
    EXPECT_EQ(pixelUp(image, 10, 10), QColor(Qt::green)) << "video inside the inset";
    EXPECT_EQ(pixelUp(image, 16, 10), transparent) << "outside the 5-point inset";
    EXPECT_EQ(pixelUp(image, 3, 3), transparent) << "erased by the mask";

    element->setJump(nullptr);
    element->setUseStaticImage(true);
    element->setMenuStaticImage(solid(8, 8, Qt::blue));
    EXPECT_TRUE(element->imageAtTime(0).isNull()) << "no target: not valid";
}

TEST_F(DVDMenuItemTest, TheMaskErasesWhatIsUnderIt)
{
    // A wide inset lets the video reach the mask's columns.
    auto element = videoElement({40, 20});
    const QImage image = element->imageAtTime(0);
    // The 20-pixel mask stretched over 40 pixels covers the left 8 columns.
    EXPECT_EQ(pixelUp(image, 6, 10), transparent);
    EXPECT_EQ(pixelUp(image, 9, 10), QColor(Qt::green));
}

TEST_F(DVDMenuItemTest, TheFramePictureLiesOverTheVideo)
{
    // A frame picture with a white bar across the middle and an empty mask.
    QImage bar = solid(20, 20, Qt::transparent);
    QPainter(&bar).fillRect(0, 8, 20, 4, Qt::white);
    writePng(bundle.path + "/frames/bar-frame.png", bar);
    writePng(bundle.path + "/frames/bar-mask.png", solid(20, 20, Qt::transparent));
    auto element = videoElement();
    element->frameResource()->setFrame("frames/bar-frame.png");
    element->frameResource()->setMask("frames/bar-mask.png");
    const QImage image = element->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 10, 10), QColor(Qt::white));
    EXPECT_EQ(pixelUp(image, 10, 13), QColor(Qt::green));
    EXPECT_EQ(pixelUp(image, 10, 6), QColor(Qt::green));
}

TEST_F(DVDMenuItemTest, ThumbnailTimeShowsTheFramePictureAlone)
{
    auto element = videoElement();
    element->setDisabled(true);
    EXPECT_TRUE(element->imageAtTime(0).isNull());
    EXPECT_TRUE(element->imageAtTime(DVDMenu::stillTime).isNull());
    const QImage image = element->imageAtTime(DVDMenu::menuThumbnailTime);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(pixelUp(image, 0, 0), QColor(Qt::white));
    EXPECT_EQ(pixelUp(image, 10, 10), transparent);
    EXPECT_EQ(title->lastTime, -1) << "the title was not asked";
}

TEST_F(DVDMenuItemTest, StillTimeAsksTheTitleForItsStillPicture)
{
    auto element = videoElement();
    EXPECT_EQ(pixelUp(element->imageAtTime(DVDMenu::stillTime), 10, 10), QColor(Qt::green));
    EXPECT_EQ(title->lastTime, DVDMenu::stillTime);
}

TEST_F(DVDMenuItemTest, WithoutFrameOnlyTheVideoIsDrawn)
{
    auto element = videoElement();
    element->setUseFrame(false);
    const QImage image = element->imageAtTime(0);
    for (QPoint p : {QPoint(0, 0), QPoint(3, 10), QPoint(10, 10), QPoint(19, 19)}) {
        EXPECT_EQ(pixelUp(image, p.x(), p.y()), QColor(Qt::green)) << p.x() << "," << p.y();
    }
}

TEST_F(DVDMenuItemTest, AnElementBehindTheBackgroundDrawsOnlyItsVideo)
{
    auto element = videoElement();
    element->setLevel(-100);
    EXPECT_TRUE(element->itemBehind());
    const QImage image = element->imageAtTime(0);
    EXPECT_EQ(pixelUp(image, 0, 10), QColor(Qt::green));
    EXPECT_EQ(pixelUp(image, 3, 3), QColor(Qt::green));
    element->setLevel(-99);
    EXPECT_FALSE(element->itemBehind());
}

TEST_F(DVDMenuItemTest, RoundedCornersClipTheElement)
{
    struct Case {
        double roundValue;
        QPoint corner;
        bool clipped;
    };
    const Case cases[] = {
        {0.9, {0, 0}, false}, {30, {1, 1}, true},  // radius 10 on 40 x 20
        {30, {1, 10}, false}, {30, {20, 0}, false},
        {3, {1, 1}, false},  // radius 3 leaves that pixel
        {3, {0, 0}, true},
    };
    for (const Case& c : cases) {
        auto element = videoElement({40, 20});
        element->setUseFrame(false);
        element->setRoundValue(c.roundValue);
        const QColor colour = pixelUp(element->imageAtTime(0), c.corner.x(), c.corner.y());
        if (c.clipped) {
            EXPECT_LT(colour.alpha(), 128)
                << c.roundValue << " at " << c.corner.x() << "," << c.corner.y();
        } else {
            EXPECT_EQ(colour, QColor(Qt::green))
                << c.roundValue << " at " << c.corner.x() << "," << c.corner.y();
        }
    }
}

TEST_F(DVDMenuItemTest, SmallFramesDrawNoVideo)
{
    auto tiny = videoElement({8, 8});  // the 5-point inset would be negative
    const QImage image = tiny->imageAtTime(0);
    ASSERT_EQ(image.size(), QSize(8, 8));
    for (int x = 0; x < 8; ++x) {
        EXPECT_NE(pixelUp(image, x, 4), QColor(Qt::green)) << x;
    }
    auto small = videoElement({12, 12});
    EXPECT_EQ(pixelUp(small->imageAtTime(0), 5, 5), QColor(Qt::green));

    EXPECT_TRUE(videoElement({0, 20})->imageAtTime(0).isNull()) << "an empty frame";
    EXPECT_TRUE(videoElement({-5, 20})->imageAtTime(0).isNull());
    EXPECT_EQ(videoElement({0.4, 3.2})->imageAtTime(0).size(), QSize(1, 4)) << "sides round up";
}

TEST_F(DVDMenuItemTest, AStillPictureIsCroppedToTheElementsProportions)
{
    QImage still = solid(400, 100, Qt::red);
    QPainter(&still).fillRect(150, 0, 100, 100, Qt::green);
    QPainter(&still).fillRect(250, 0, 150, 100, Qt::blue);
    auto element = videoElement({100, 100});
    element->setUseFrame(false);
    element->setUseStaticImage(true);
    element->setMenuStaticImage(still);
    element->setJump(element);  // itself: valid, and its still picture is its own
    const QImage image = element->imageAtTime(0);
    for (int x : {1, 50, 98}) {
        EXPECT_EQ(pixelUp(image, x, 50), QColor(Qt::green)) << x;
    }
    EXPECT_EQ(title->lastTime, -1);
}

TEST_F(DVDMenuItemTest, TheStillPictureComesFromTheTargetElementWithoutEndlessAsking)
{
    auto a = std::make_shared<DVDMenuItem>();
    auto b = std::make_shared<DVDMenuItem>();
    b->setUseStaticImage(true);
    b->setMenuStaticImage(solid(2, 2, Qt::red));
    a->setJump(b);
    EXPECT_EQ(a->validStaticImage().size(), QSize(2, 2));

    a->setUseStaticImage(true);
    a->setMenuStaticImage(solid(3, 3, Qt::blue));
    b->setJump(a);  // a cycle
    EXPECT_EQ(a->validStaticImage().size(), QSize(3, 3)) << "b, asked by a, answers its own";
    EXPECT_EQ(b->validStaticImage().size(), QSize(2, 2));
    a->setJump(a);
    EXPECT_EQ(a->validStaticImage().size(), QSize(3, 3));
    a->setUseStaticImage(false);
    EXPECT_TRUE(a->validStaticImage().isNull());
}

TEST_F(DVDMenuItemTest, ButtonsAndTextsAnswerTheirOwnPictures)
{
    auto button = std::make_shared<DVDMenuItem>();
    button->setButtonResource(playButton());
    EXPECT_TRUE(button->imageAtTime(0).isNull()) << "no target";
    EXPECT_EQ(button->imageAtTime(DVDMenu::menuThumbnailTime).size(), QSize(8, 6));
    button->setJump(title);
    EXPECT_EQ(button->imageAtTime(0).size(), QSize(8, 6));
    button->setUseStaticImage(true);
    EXPECT_EQ(button->imageAtTime(0).size(), QSize(8, 6)) << "no still picture set";
    button->setMenuStaticImage(solid(5, 5, Qt::blue));
    EXPECT_EQ(button->imageAtTime(0).size(), QSize(5, 5));

    auto text = std::make_shared<DVDMenuItem>();
    text->setTextSource(std::make_shared<TextSource>());
    EXPECT_TRUE(text->imageAtTime(0).isNull()) << "the text source is not in use";
    text->useTextSource(true);
    EXPECT_EQ(text->imageAtTime(0).size(), QSize(30, 10));
}

TEST_F(DVDMenuItemTest, Predicates)
{
    auto video = videoElement();
    auto button = std::make_shared<DVDMenuItem>();
    button->setButtonResource(playButton());
    auto text = std::make_shared<DVDMenuItem>();
    text->setTextSource(std::make_shared<TextSource>());
    text->setIs_text_item(true);
    auto plain = std::make_shared<DVDMenuItem>();

    struct Case {
        std::shared_ptr<DVDMenuItem> element;
        bool isVideo, isButton, isStatic, isText, isValid, emptyHighlight;
    };
    const Case cases[] = {
        {video, true, false, false, false, true, true},
        {button, false, true, false, false, false, false},
        {text, false, false, true, true, true, false},
        {plain, false, false, true, false, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.element->isVideoItem(), c.isVideo);
        EXPECT_EQ(c.element->isButtonItem(), c.isButton);
        EXPECT_EQ(c.element->isStaticItem(), c.isStatic);
        EXPECT_EQ(c.element->isTextItem(), c.isText);
        EXPECT_EQ(c.element->isValid(), c.isValid);
        EXPECT_EQ(c.element->highlightModeEmptyInDVD(), c.emptyHighlight);
        EXPECT_TRUE(c.element->isAction());
        EXPECT_FALSE(c.element->forceShowItem());
    }
    plain->setDisabled(true);
    EXPECT_FALSE(plain->isValid());
    video->setFrameObject("{{1, 2}, {3, 4}}");
    EXPECT_EQ(video->frame(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(video->frameObject(), "{{1, 2}, {3, 4}}");
}

TEST_F(DVDMenuItemTest, ACopySharesResourcesAndCopiesTheText)
{
    auto element = videoElement();
    auto text = std::make_shared<TextSource>();
    element->setTextSource(text);
    element->setRoundValue(4);
    element->setLevel(3);
    auto copy = element->copy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->frame(), element->frame());
    EXPECT_EQ(copy->frameResource(), element->frameResource());
    EXPECT_EQ(copy->jump(), element->jump());
    EXPECT_EQ(copy->level(), 3);
    EXPECT_TRUE(copy->useFrame());
    EXPECT_DOUBLE_EQ(copy->roundValue(), 0) << "not an archived value";
    ASSERT_TRUE(copy->textSource());
    EXPECT_NE(copy->textSource(), element->textSource());
    auto copiedText = std::dynamic_pointer_cast<TextSource>(copy->textSource());
    EXPECT_EQ(copiedText->menuItem.lock(), copy);
}

TEST_F(DVDMenuItemTest, AnElementRoundTripsThroughTheArchive)
{
    auto element = videoElement();
    element->setJump(element);
    element->setButtonResource(playButton());
    element->setTextSource(std::make_shared<TextSource>());
    element->setIs_text_item(true);
    element->setRotation(15);
    element->setLevel(3);
    element->setDisabled(true);
    element->setUseStaticImage(true);
    element->setMenuStaticImage(solid(4, 4, Qt::red));
    const QStringList keys = {"frameObject", "jump",         "disabled",       "rotation",
                              "level",       "is_text_item", "frameResource",  "buttonResource",
                              "textSource",  "useFrame",     "useStaticImage", "menuStaticImage"};
    EXPECT_EQ(element->allCoderKeys(), keys);

    const QByteArray data = KeyedArchiver::archivedData(Value(element));
    auto restored = KeyedUnarchiver::unarchive(data).root->objectAs<DVDMenuItem>();
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->frame(), QRectF(100, 100, 20, 20));
    EXPECT_EQ(restored->jump(), restored);
    EXPECT_TRUE(restored->disabled());
    EXPECT_DOUBLE_EQ(restored->rotation(), 15);
    EXPECT_EQ(restored->level(), 3);
    EXPECT_TRUE(restored->isTextItem());
    EXPECT_EQ(restored->frameResource()->mask(), "frames/plain-mask.png");
    EXPECT_EQ(restored->buttonResource()->name(), "a-play");
    EXPECT_TRUE(restored->useFrame());
    EXPECT_EQ(restored->menuStaticImage().size(), QSize(4, 4));
    auto text = std::dynamic_pointer_cast<TextSource>(restored->textSource());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->menuItem.lock(), restored) << "the text is linked back";

    // An older archive that marks the element as behind the background.
    QCborMap archive = QCborValue::fromCbor(data).toMap();
    QCborArray objects = archive.value(QStringLiteral("objects")).toArray();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        QCborMap object = objects.at(i).toMap();
        if (object.value(QStringLiteral("class")).toString() == QStringLiteral("DVDMenuItem")) {
            QCborMap keyMap = object.value(QStringLiteral("keys")).toMap();
            keyMap.insert(QStringLiteral("itemBehind"), true);
            object.insert(QStringLiteral("keys"), keyMap);
            objects[i] = object;
        }
    }
    archive.insert(QStringLiteral("objects"), objects);
    auto behind =
        KeyedUnarchiver::unarchive(QCborValue(archive).toCbor()).root->objectAs<DVDMenuItem>();
    ASSERT_TRUE(behind);
    EXPECT_EQ(behind->level(), -100);
}
