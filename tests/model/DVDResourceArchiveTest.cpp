#include "DVDResourceTestFixture.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace disctest;

BRISANE_REGISTER_CLASS(DiscTestListPage)
BRISANE_REGISTER_CLASS(DiscTestTitle)

namespace {

using DVDResourceArchiveTest = DiscSideTest;

// A project's two roots, as the project file holds them.
struct Project {
    std::shared_ptr<DiscTestListPage> listPage = std::make_shared<DiscTestListPage>();
    std::shared_ptr<DiscTestTitle> title = std::make_shared<DiscTestTitle>();
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();

    Value root() const
    {
        return Value(Value::Dictionary{
            {"DataResourceData", Value(Value::Array{Value(listPage), Value(title)})},
            {"DVDData", Value(disc)}});
    }
    static Project from(const Value& root)
    {
        Project p;
        const auto media = root.dictionary().value("DataResourceData").array();
        p.listPage = media.value(0).objectAs<DiscTestListPage>();
        p.title = media.value(1).objectAs<DiscTestTitle>();
        p.disc = root.dictionary().value("DVDData").objectAs<DVDResource>();
        return p;
    }
};

TEST_F(DVDResourceArchiveTest, WholeDiscSideRoundTrips)
{
    const auto& library = services->library;
    Project project;
    project.listPage->titles = 1;
    auto& disc = *project.disc;
    disc.setAspectType(0);
    disc.setDvdFormat(0);
    disc.setShowPlayButton(true);
    disc.setBorderWidth(2.5);
    disc.setFillColor(QColor(0, 255, 0, 100));
    auto custom = std::make_shared<DVDLibraryButtonResource>();
    custom->setName("mine-next");
    custom->setPath("buttons/01-next.png");
    disc.setCustomButtonImageResourceArray({custom});

    auto top = std::make_shared<DVDPage>();
    top->setMedia(project.listPage);
    top->setMenuDuration(22.5);
    top->setImageCropRect(QRectF(10, 20, 300, 200));
    top->setBackgourndPictureResource(library->backgrounds().value(3));
    auto sub = std::make_shared<DVDPage>();
    sub->setIsSubPage(true);
    sub->setSuperPage(top);
    sub->setMedia(project.title);

    auto titleItem = std::make_shared<DVDPageItem>();
    titleItem->setFrame(QRectF(113.5, 285, 200, 150));
    titleItem->setMedia(project.title);
    titleItem->setHasSubPage(true);
    titleItem->setSubPage(sub);
    titleItem->setFrameResource(library->frames().value(2));
    titleItem->setShadowAngleValue(45);
    titleItem->setTitleOldFrame(QRectF(1, 2, 3, 4));
    titleItem->setLastTimeTitleFrame(QRectF(5, 6, 7, 8));
    titleItem->setTitleVideoImage(solid(8, 6, Qt::green));
    titleItem->setTitleLocalImage(solid(8, 6, Qt::magenta));
    titleItem->setTitleUseImageFrom(2);

    auto textItem = std::make_shared<DVDPageItem>();
    textItem->setType(2);
    auto text = std::make_shared<EffectTextImage>();
    text->setTextString("Our\nHoliday");
    text->setTextFillType(1);
    text->setTextGradient({{0, Qt::red}, {1, Qt::yellow}});
    text->setBackgroundType(1);
    text->setBackgroundRadius(0.5f);
    text->setHasOutline(true);
    text->setOutlineWidth(12);
    text->setTextOutlineColor(Qt::black);
    text->setMedia(textItem);
    textItem->setTextSource(text);
    EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);

    auto next = top->nextButtonItem();
    next->setJumpMenu(sub);
    auto textButton = top->playButtonItem();
    auto buttonText = std::make_shared<EffectTextImage>();
    buttonText->setTextString("Play");
    buttonText->setMedia(textButton);
    textButton->setTextSource(buttonText);
    textButton->setButtonUseType(1);
    top->setItemArray({titleItem, textItem, next, textButton});
    disc.setPageArray({top, sub});

    services->disc = project.disc;
    const QImage before = top->imageAtTime(DVDPageItem::stillTime);
    const QByteArray data = KeyedArchiver::archivedData(project.root());
    const auto result = KeyedUnarchiver::unarchive(data);
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    const Project loaded = Project::from(*result.root);
    ASSERT_TRUE(loaded.disc && loaded.listPage && loaded.title);
    services->disc = loaded.disc;

    const auto& d = *loaded.disc;
    EXPECT_EQ(d.aspectType(), 0);
    EXPECT_EQ(d.dvdFormat(), 0);
    EXPECT_TRUE(d.showPlayButton());
    EXPECT_EQ(d.borderWidth(), 2.5);
    EXPECT_EQ(d.fillColor(), QColor(0, 255, 0, 100));
    ASSERT_EQ(d.customButtonImageResourceArray().size(), 1);
    EXPECT_EQ(d.customButtonImageResourceArray()[0]->name(), "mine-next");
    ASSERT_EQ(d.pageArray().size(), 2);
    const auto loadedTop = d.pageArray()[0];
    const auto loadedSub = d.pageArray()[1];
    EXPECT_EQ(loadedTop->media(), loaded.listPage);
    EXPECT_EQ(loadedSub->media(), loaded.title);
    EXPECT_EQ(loadedSub->superPage(), loadedTop);
    EXPECT_TRUE(loadedSub->isSubPage());
    EXPECT_FALSE(loadedSub->dvd());
    EXPECT_FALSE(loadedSub->parent());
    EXPECT_DOUBLE_EQ(loadedTop->menuDuration(), 22.5);
    EXPECT_EQ(loadedTop->imageCropRect(), QRectF(10, 20, 300, 200));
    ASSERT_TRUE(loadedTop->backgourndPictureResource());
    EXPECT_EQ(loadedTop->backgourndPictureResource()->path(),
              library->backgrounds().value(3)->path());
    EXPECT_EQ(d.pageArrayForPreview(), (DVDResource::PageList{loadedTop, loadedSub}));

    ASSERT_EQ(loadedTop->itemArray().size(), 4);
    const auto t = loadedTop->itemArray()[0];
    EXPECT_EQ(t->frame(), QRectF(113.5, 285, 200, 150));
    EXPECT_EQ(t->media(), loaded.title);
    EXPECT_EQ(t->subPage(), loadedSub);
    EXPECT_EQ(t->jump(), loadedSub);
    EXPECT_TRUE(t->frameResource()->isEqualToResource(library->frames().value(2).get()));
    EXPECT_EQ(t->shadowAngleValue(), 45);
    EXPECT_EQ(t->titleOldFrame(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(t->lastTimeTitleFrame(), QRectF(5, 6, 7, 8));
    EXPECT_EQ(pictureDifference(t->localImage(), solid(8, 6, Qt::magenta)), 0);

    const auto s = loadedTop->itemArray()[1];
    ASSERT_TRUE(s->textSource());
    EXPECT_EQ(s->textSource()->media(), s);
    EXPECT_EQ(s->textSource()->textString(), "Our\nHoliday");
    EXPECT_EQ(s->textSource()->textGradient(), text->textGradient());
    EXPECT_EQ(s->textSource()->textFont(), text->textFont());
    EXPECT_EQ(s->frame(), textItem->frame());
    EXPECT_EQ(pictureDifference(s->textSource()->textSourceImage(), text->textSourceImage()), 0);

    const auto n = loadedTop->itemArray()[2];
    EXPECT_EQ(n, loadedTop->nextButtonItem());
    EXPECT_FALSE(n->jump());  // jump targets of buttons are set per disc build, not archived
    const auto play = loadedTop->itemArray()[3];
    EXPECT_EQ(play, loadedTop->playButtonItem());

    // What is not archived but derived comes back with the update run after a load.
    EXPECT_FALSE(play->useTextSource());
    for (const auto& page : d.pageArray()) {
        for (const auto& item : page->itemArray()) {
            item->updateAllEditToItem();
        }
    }
    EXPECT_TRUE(play->useTextSource());
    EXPECT_TRUE(play->isTextItem());
    EXPECT_TRUE(t->useStaticImage());
    EXPECT_EQ(pictureDifference(t->menuStaticImage(), solid(8, 6, Qt::magenta)), 0);

    loadedTop->nextButtonItem()->setJumpMenu(loadedSub);
    EXPECT_EQ(pictureDifference(loadedTop->imageAtTime(DVDPageItem::stillTime), before), 0);
}

TEST_F(DVDResourceArchiveTest, FileRoundTripThroughCodingBase)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("disc.data");
    DVDResource disc;
    disc.setDvdBitrate(7000);
    disc.setUseNoMenu(true);
    ASSERT_TRUE(disc.writeToFile(path));
    DVDResource loaded;
    ASSERT_TRUE(loaded.initWithContentsOfFile(path));
    EXPECT_EQ(loaded.dvdBitrate(), 7000);
    EXPECT_TRUE(loaded.useNoMenu());
}

}  // namespace
