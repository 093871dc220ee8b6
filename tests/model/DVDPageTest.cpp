#include <QPainter>

#include "DVDResourceTestFixture.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "model/ButtonType.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace disctest;

namespace {

class DVDPageTest : public DiscSideTest {
protected:
    // A page without background and without shadows, for exact pixels.
    std::shared_ptr<DVDPage> plainPage()
    {
        auto page = std::make_shared<DVDPage>();
        page->setBackgourndPictureResource(nullptr);
        return page;
    }
    std::shared_ptr<DVDPageItem> stillItem(QRectF frame, QColor colour)
    {
        auto item = std::make_shared<DVDPageItem>();
        item->setFrame(frame);
        item->setUseFrame(false);
        item->setItemRoundValue(0);
        item->setHasShadow(false);
        item->setTitleVideoImage(solid(20, 20, colour));
        item->setTitleUseImageFrom(1);
        return item;
    }
    std::shared_ptr<DVDPageItem> staticText(QRectF frame, QColor box)
    {
        auto item = std::make_shared<DVDPageItem>();
        item->setType(2);
        item->setFrame(frame);
        item->setHasShadow(false);
        auto text = std::make_shared<EffectTextImage>();
        text->setTextString(" ");  // the box alone
        text->setBackgroundType(1);
        text->setBackgroundColor(box);
        text->setMedia(item);
        item->setTextSource(text);
        return item;
    }
};

TEST_F(DVDPageTest, NewPageKeepsItsButtonsAside)
{
    DVDPage page(services->library);
    EXPECT_TRUE(page.itemArray().isEmpty());
    EXPECT_TRUE(page.items().isEmpty());
    struct Case {
        std::shared_ptr<DVDPageItem> item;
        qint64 type;
        QRectF frame;
    } cases[] = {{page.playButtonItem(), 11, {450, 10, 80, 70}},
                 {page.preButtonItem(), 12, {300, 10, 80, 70}},
                 {page.nextButtonItem(), 13, {600, 10, 80, 70}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.item);
        EXPECT_EQ(c.item->type(), c.type);
        EXPECT_EQ(c.item->frame(), c.frame);
        ASSERT_TRUE(c.item->buttonResource());
        EXPECT_EQ(ButtonType::type(*c.item->buttonResource()), c.type);
        // The first template button of its role.
        for (const auto& button : services->library->buttons()) {
            if (ButtonType::type(*button) == c.type) {
                EXPECT_EQ(c.item->buttonResource(), button);
                break;
            }
        }
    }
    EXPECT_DOUBLE_EQ(page.menuDuration(), 15.0);
    EXPECT_FALSE(page.isSubPage());
    EXPECT_EQ(page.backgourndPictureResource(), services->library->backgrounds().first());
    const QSize picture = page.backgourndPictureResource()->backgroundImage().size();
    EXPECT_NEAR(page.imageCanvasRect().width() / page.imageCanvasRect().height(), 16.0 / 9.0, 1e-9);
    EXPECT_LE(page.imageCanvasRect().width(), picture.width());
    EXPECT_EQ(page.imageCropRect(), page.imageCanvasRect());
    EXPECT_EQ(page.allCoderKeys().size(), 12);
}

TEST_F(DVDPageTest, AspectAndSizeComeFromTheDisc)
{
    const auto onDisc = std::make_shared<DVDPage>(services->library);
    services->disc->setPageArray({onDisc});
    DVDPage& page = *onDisc;
    struct Case {
        qint64 aspect;
        QSize size;
    } cases[] = {{0, {640, 480}}, {1, {854, 480}}, {2, {854, 480}}};
    for (const auto& c : cases) {
        services->disc->setAspectType(c.aspect);
        EXPECT_EQ(page.aspectType(), c.aspect);
        EXPECT_EQ(page.menuSize(), QSizeF(c.size));
        EXPECT_EQ(page.menuRect(), QRectF(QPointF(0, 0), QSizeF(c.size)));
        EXPECT_EQ(page.imageAtTime(DVDPageItem::stillTime).size(), c.size);
    }
    services->disc.reset();
    EXPECT_EQ(page.aspectType(), 1);
}

// The open project is one disc; the page belongs to another, as when a disc
// is built or loaded beside the project being edited. The page follows its
// own disc, also once taken from a project file, and the open project only
// while it is on no disc.
TEST_F(DVDPageTest, AspectComesFromTheDiscThePageBelongsTo)
{
    services->disc->setAspectType(1);
    auto page = std::make_shared<DVDPage>();
    auto own = std::make_shared<DVDResource>();
    own->setAspectType(0);
    EXPECT_FALSE(page->dvdResource());
    EXPECT_EQ(page->aspectType(), 1);

    own->setPageArray({page});
    EXPECT_EQ(page->dvdResource(), own);
    EXPECT_EQ(page->aspectType(), 0);
    EXPECT_EQ(page->menuSize(), QSizeF(640, 480));
    EXPECT_EQ(page->imageAtTime(DVDPageItem::stillTime).size(), QSize(640, 480));

    const QByteArray data = KeyedArchiver::archivedData(Value(own));
    const auto result = KeyedUnarchiver::unarchive(data);
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    const auto loaded = result.root->objectAs<DVDResource>();
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->pageArray().size(), 1);
    EXPECT_EQ(loaded->pageArray().first()->dvdResource(), loaded);
    EXPECT_EQ(loaded->pageArray().first()->aspectType(), 0);

    own.reset();
    EXPECT_FALSE(page->dvdResource());
    EXPECT_EQ(page->aspectType(), 1);
}

TEST_F(DVDPageTest, BackgroundCropIsStretchedOverThePage)
{
    QImage picture(200, 100, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    QPainter(&picture).fillRect(100, 0, 100, 100, Qt::blue);
    auto background = std::make_shared<DVDMenuBackgroundResource>();
    background->setImage(picture);
    auto page = plainPage();
    page->setBackgourndPictureResource(background);
    page->setImageCropRect(QRectF(100, 0, 100, 100));
    const QImage image = page->imageAtTime(0);
    for (QPoint p : {QPoint(1, 1), QPoint(427, 240), QPoint(852, 478)}) {
        EXPECT_EQ(image.pixelColor(p), QColor(Qt::blue)) << p.x();
    }
    page->setImageCropRect(QRectF(0, 0, 200, 100));
    const QImage whole = page->imageAtTime(0);
    EXPECT_EQ(whole.pixelColor(200, 240), QColor(Qt::red));
    EXPECT_EQ(whole.pixelColor(650, 240), QColor(Qt::blue));
}

TEST_F(DVDPageTest, StaticItemsLieOverTitleItemsWhateverTheOrder)
{
    const QRectF overlap(100, 100, 200, 150);
    for (bool staticFirst : {true, false}) {
        auto page = plainPage();
        auto title = stillItem(overlap, Qt::red);
        auto text = staticText(overlap.translated(50, 50), Qt::blue);
        page->setItemArray(staticFirst ? DVDPage::ItemList{text, title}
                                       : DVDPage::ItemList{title, text});
        const QImage image = page->imageAtTime(0);
        EXPECT_EQ(pixelUp(image, 200, 200), QColor(Qt::blue)) << staticFirst;
        EXPECT_EQ(pixelUp(image, 120, 120), QColor(Qt::red)) << staticFirst;
    }
}

TEST_F(DVDPageTest, ButtonPicturesKeepTheirAspectInsideTheFrame)
{
    auto page = plainPage();
    auto button = std::make_shared<PictureButton>();
    button->picture = solid(100, 50, Qt::red);
    auto item = page->preButtonItem();
    item->setButtonResource(button);
    item->setHasShadow(false);
    page->setItemArray({item});
    const QImage image = page->imageAtTime(0);
    // 80 x 40, flush with the frame's sides, 15 points above its bottom edge.
    EXPECT_EQ(pixelUp(image, 300, 25), QColor(Qt::red));
    EXPECT_EQ(pixelUp(image, 379, 64), QColor(Qt::red));
    EXPECT_EQ(pixelUp(image, 340, 24).alpha(), 0);
    EXPECT_EQ(pixelUp(image, 340, 65).alpha(), 0);
    EXPECT_EQ(pixelUp(image, 299, 45).alpha(), 0);
    EXPECT_EQ(pixelUp(image, 380, 45).alpha(), 0);
}

TEST_F(DVDPageTest, ShadowsAreOffsetAlongTheirAngle)
{
    auto page = plainPage();
    auto item = stillItem(QRectF(100, 100, 100, 100), Qt::white);
    item->setHasShadow(true);
    item->setShadowBlursizeValue(0);
    item->setShadowOffsetValue(6);
    item->setShadowAngleValue(90);  // upwards
    page->setItemArray({item});
    const QImage image = page->imageAtTime(0);
    EXPECT_NEAR(pixelUp(image, 150, 203).alpha(), 128, 3);  // above the item
    EXPECT_EQ(pixelUp(image, 150, 97).alpha(), 0);          // nothing below
    EXPECT_EQ(pixelUp(image, 150, 150), QColor(Qt::white));

    item->setShadowAngleValue(0);  // to the right
    item->setShadowBlursizeValue(10);
    const QImage soft = page->imageAtTime(0);
    EXPECT_GT(pixelUp(soft, 203, 150).alpha(), 20);
    EXPECT_GT(pixelUp(soft, 203, 150).alpha(), pixelUp(soft, 97, 150).alpha());
}

TEST_F(DVDPageTest, CropRefitsToTheDiscAspect)
{
    struct Case {
        qint64 aspect;
        QRectF crop;
        QRectF expected;
    } cases[] = {{1, {100, 100, 400, 300}, {100, 137.5, 400, 225}},
                 {0, {100, 100, 400, 300}, {100, 100, 400, 300}},
                 {0, {100, 100, 400, 225}, {150, 100, 300, 225}}};
    for (const auto& c : cases) {
        services->disc->setAspectType(c.aspect);
        const auto onDisc = std::make_shared<DVDPage>(services->library);
        services->disc->setPageArray({onDisc});
        DVDPage& page = *onDisc;
        page.setImageCropRect(c.crop);
        page.changedBackgroundImageCropRectIfAspectChanged();
        EXPECT_EQ(page.imageCropRect(), c.expected) << c.aspect;
    }
}

TEST_F(DVDPageTest, LiveTitlesMoveWithTheMenuClock)
{
    auto movie = std::make_shared<ClockMovie>();
    auto clip = std::make_shared<DiscTestClip>();
    clip->pieces = {{movie, 0, seconds(20)}};
    auto title = std::make_shared<DiscTestTitle>();
    title->clips = {clip};
    auto page = plainPage();
    auto item = std::make_shared<DVDPageItem>();
    item->setFrame(QRectF(100, 100, 160, 120));
    item->setHasShadow(false);
    item->setMedia(title);
    page->setItemArray({item});
    for (double t : {0.0, 0.5, 1.0, 7.3}) {
        const QImage image = page->imageAtTime(seconds(t));
        EXPECT_EQ(pixelUp(image, 180, 160), ClockMovie::colourFor(seconds(t + 5.5))) << t;
    }
    EXPECT_EQ(movie->seeks, 1);  // one timeline, decoded forwards
}

TEST_F(DVDPageTest, FinishedMenuLooksLikeADiscMenu)
{
    auto dir = testsupport::makeTempDir();
    const QString still = dir.filePath("still.png");
    ASSERT_TRUE(testsupport::generateMedia(
        still, {"-f", "lavfi", "-i", "testsrc2=size=320x240:duration=1", "-frames:v", "1"}));
    const QImage video(still);
    ASSERT_FALSE(video.isNull());

    const auto& library = services->library;
    auto page = std::make_shared<DVDPage>();
    page->setBackgourndPictureResource(library->backgrounds().value(2));
    page->setImageCanvasRect(QRectF(0, 0, 854, 480));
    page->setImageCropRect(QRectF(0, 0, 854, 480));
    DVDPage::ItemList items;
    const QColor tints[] = {QColor(255, 160, 120), QColor(140, 200, 255), QColor(170, 255, 170),
                            QColor(255, 240, 150)};
    for (int i = 0; i < 4; ++i) {
        auto item = std::make_shared<DVDPageItem>();
        item->setFrame(services->disc->initialPageItemFrameAtIndex(i)
                           .adjusted(20, 15, -20, -15)
                           .translated(0, -12));
        item->setFrameResource(library->frames().value(i));
        QImage picture = video.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter tint(&picture);
        tint.setCompositionMode(QPainter::CompositionMode_Multiply);
        tint.fillRect(picture.rect(), tints[i]);
        tint.end();
        item->setTitleVideoImage(picture);
        item->setTitleUseImageFrom(1);
        if (i == 3) {
            item->setUseFrame(false);
            item->setItemRoundValue(0.15);
        }
        items.append(item);
    }
    auto title = std::make_shared<DVDPageItem>();
    title->setType(2);
    auto text = std::make_shared<EffectTextImage>();
    text->setTextString("Summer Holiday");
    QFont font = text->textFont();
    font.setPointSizeF(44);
    font.setBold(true);
    text->setTextFont(font);
    text->setTextFillType(1);
    text->setTextGradient({{0, QColor(255, 250, 220)}, {1, QColor(255, 190, 60)}});
    text->setHasOutline(true);
    text->setTextOutlineColor(QColor(60, 30, 0));
    text->setOutlineWidth(40);
    text->setMedia(title);
    title->setTextSource(text);
    title->setFrame(QRectF(422, 442, 10, 10));  // centred at (427, 447)
    EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
    items.append(title);
    items.append(page->preButtonItem());
    items.append(page->playButtonItem());
    items.append(page->nextButtonItem());
    page->setItemArray(items);

    const QImage menu = page->imageAtTime(DVDPageItem::stillTime);
    ASSERT_EQ(menu.size(), QSize(854, 480));
    EXPECT_EQ(menu.pixelColor(427, 20).alpha(), 255);  // the background covers the page
    const QString path = savePicture(menu, "finished-menu-page");
    EXPECT_FALSE(path.isEmpty());
}

}  // namespace
