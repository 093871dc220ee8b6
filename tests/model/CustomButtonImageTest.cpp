// User button pictures: names and roles by type, the picture re-read from its
// file, identity, and a round trip through a saved project folder.

#include "DataResourceTestFixture.h"
#include "model/ButtonType.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"

using namespace mediatest;

namespace {

class CustomButtonTest : public MediaSideTest {};

TEST_F(CustomButtonTest, TypeGivesNameAndRole)
{
    struct Case {
        qint64 type;
        QString name;
        bool play;
        bool prev;
        bool next;
    };
    const auto button = CustomButtonImageResource::createCustomButtonResourceWithPath(
        picture("button.png", Qt::yellow));
    EXPECT_EQ(button->type(), 0);
    for (const Case& c :
         {Case{1, "12-pre", false, true, false}, Case{2, "12-play", true, false, false},
          Case{3, "12-next", false, false, true}, Case{0, "12-next", false, false, true},
          Case{7, "12-next", false, false, true}}) {
        SCOPED_TRACE(c.type);
        button->setType(c.type);
        EXPECT_EQ(button->name(), c.name);
        EXPECT_EQ(ButtonType::isPlay(*button), c.play);
        EXPECT_EQ(ButtonType::isPrev(*button), c.prev);
        EXPECT_EQ(ButtonType::isNext(*button), c.next);
        EXPECT_EQ(ButtonType::type(*button), c.type);  // its own type, not 11/12/13
    }
}

TEST_F(CustomButtonTest, PictureIsReadAfreshAndEqualityIsIdentity)
{
    const QString file = picture("button.png", Qt::red);
    const auto a = CustomButtonImageResource::createCustomButtonResourceWithPath(file);
    const auto b = CustomButtonImageResource::createCustomButtonResourceWithPath(file);
    EXPECT_EQ(a->image().pixelColor(1, 1), QColor(Qt::red));
    picture("button.png", Qt::blue, QSize(30, 20));
    EXPECT_EQ(a->image().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(a->image().size(), QSize(30, 20));
    EXPECT_TRUE(a->isEqualToResource(a.get()));
    EXPECT_FALSE(a->isEqualToResource(b.get()));
    EXPECT_FALSE(b->isEqualToResource(a.get()));
    QFile::remove(file);
    EXPECT_TRUE(a->image().isNull());
}

TEST_F(CustomButtonTest, SurvivesSaveAndReopen)
{
    const QString file = picture("mine.png", Qt::green);
    const auto button = CustomButtonImageResource::createCustomButtonResourceWithPath(file);
    button->setType(2);
    auto page = std::make_shared<DVDPage>();
    page->playButtonItem()->setButtonResource(button);
    services->disc->setPageArray({page});
    services->disc->setCustomButtonImageResourceArray({button});

    const QString project = path("Project");
    ASSERT_TRUE(button->fileSource()->saveSourceAtPath(project));
    const QByteArray data = archiveProject(services->media, services->disc);
    QFile::remove(file);  // only the project's copy is left

    const Project back = unarchiveProject(data);
    ASSERT_TRUE(back.disc);
    ASSERT_EQ(back.disc->customButtonImageResourceArray().size(), 1);
    const auto reopened = std::dynamic_pointer_cast<CustomButtonImageResource>(
        back.disc->customButtonImageResourceArray().first());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->type(), 2);
    EXPECT_EQ(reopened->name(), "12-play");
    EXPECT_TRUE(reopened->fileSource()->path().isEmpty());
    reopened->fileSource()->loadSourceAtPath(project);
    EXPECT_EQ(reopened->image().pixelColor(2, 2), QColor(Qt::green));
    // The page's play button holds the very same decoded resource.
    EXPECT_EQ(back.disc->pageArray().first()->playButtonItem()->buttonResource(), reopened);
}

}  // namespace
