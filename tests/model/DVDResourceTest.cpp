#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include "DVDResourceTestFixture.h"
#include "model/DVDPage.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace disctest;

namespace {

class DVDResourceTest : public DiscSideTest {
protected:
    std::shared_ptr<DVDPage> topPage(qint64 titles)
    {
        auto listPage = std::make_shared<DiscTestListPage>();
        listPage->titles = titles;
        listPages.append(listPage);
        auto page = std::make_shared<DVDPage>();
        page->setMedia(listPage);
        return page;
    }
    std::shared_ptr<DVDPage> subPage()
    {
        auto page = std::make_shared<DVDPage>();
        page->setIsSubPage(true);
        return page;
    }

    QList<std::shared_ptr<DiscTestListPage>> listPages;  // keeps the back links alive
};

TEST_F(DVDResourceTest, NewDiscHasTheProjectDefaults)
{
    DVDResource disc;
    EXPECT_TRUE(disc.pageArray().isEmpty());
    EXPECT_TRUE(disc.customButtonImageResourceArray().isEmpty());
    EXPECT_EQ(disc.aspectType(), 1);
    EXPECT_EQ(disc.dvdFormat(), 1);
    EXPECT_EQ(disc.dvdBitrate(), 4000);
    EXPECT_FALSE(disc.useNoMenu());
    EXPECT_FALSE(disc.autoPlayFirstTitle());
    EXPECT_FALSE(disc.playTitleSequence());
    EXPECT_FALSE(disc.useBackMusicLengthAsPageDuration());
    EXPECT_FALSE(disc.showPlayButton());
    EXPECT_EQ(disc.borderColor(), QColor::fromRgbF(0, 0, 1, 1));
    EXPECT_EQ(disc.borderWidth(), 0.0);
    EXPECT_EQ(disc.fillColor(), QColor::fromRgbF(1, 0, 0, 0.25));
    EXPECT_EQ(disc.itemInitialFrame16_9Array().size(), 22);
    EXPECT_EQ(disc.itemInitialFrame4_3Array().size(), 22);
    EXPECT_EQ(disc.allCoderKeys().size(), 13);
}

TEST_F(DVDResourceTest, DefaultFrameTablesCascadeFromTheMiddle)
{
    struct Case {
        qint64 aspect;
        QList<QPointF> fixed;  // the first five origins
        QPointF firstStep;
        QPointF last;
    } cases[] = {
        {1,
         {{113.5, 285}, {540.5, 285}, {113.5, 45}, {540.5, 45}, {327, 165}},
         {337, 155},
         {497, -5}},
        {0, {{60, 285}, {380, 285}, {60, 45}, {380, 45}, {220, 165}}, {230, 155}, {390, -5}},
        {2,
         {{113.5, 285}, {540.5, 285}, {113.5, 45}, {540.5, 45}, {327, 165}},
         {337, 155},
         {497, -5}},
    };
    for (const auto& c : cases) {
        const auto table = DVDResource::initialItemFrameArrayWithAspect(c.aspect);
        ASSERT_EQ(table.size(), 22) << c.aspect;
        for (qsizetype i = 0; i < 5; ++i) {
            EXPECT_EQ(table[i].topLeft(), c.fixed[i]) << c.aspect << " " << i;
        }
        EXPECT_EQ(table[5].topLeft(), c.firstStep);
        for (qsizetype i = 5; i < 22; ++i) {
            EXPECT_EQ(table[i].topLeft(), c.firstStep + QPointF(10, -10) * (i - 5));
        }
        EXPECT_EQ(table[21].topLeft(), c.last);
        for (const auto& frame : table) {
            EXPECT_EQ(frame.size(), QSizeF(200, 150));
        }
    }
}

TEST_F(DVDResourceTest, FrameAtIndexFollowsTheAspectAndClampsToTheLast)
{
    DVDResource disc;
    struct Case {
        qint64 aspect;
        quint64 index;
        QRectF frame;
    } cases[] = {{1, 0, {113.5, 285, 200, 150}}, {1, 21, {497, -5, 200, 150}},
                 {1, 500, {497, -5, 200, 150}},  {2, 0, {113.5, 285, 200, 150}},
                 {0, 0, {60, 285, 200, 150}},    {0, 99, {390, -5, 200, 150}}};
    for (const auto& c : cases) {
        disc.setAspectType(c.aspect);
        EXPECT_EQ(disc.initialPageItemFrameAtIndex(c.index), c.frame) << c.aspect << " " << c.index;
    }
    disc.setItemInitialFrame16_9Array({});
    disc.setAspectType(1);
    EXPECT_EQ(disc.initialPageItemFrameAtIndex(0), QRectF());
}

TEST_F(DVDResourceTest, PageListsDropTopPagesWithoutTitles)
{
    DVDResource disc;
    EXPECT_TRUE(disc.noSubMenuArray().isEmpty());
    EXPECT_TRUE(disc.pageArrayForPreview().isEmpty());

    // One top page without titles: both lists keep it.
    auto lonely = topPage(0);
    disc.setPageArray({lonely});
    EXPECT_EQ(disc.noSubMenuArray(), DVDResource::PageList{lonely});
    EXPECT_EQ(disc.pageArrayForPreview(), DVDResource::PageList{lonely});

    // Two top pages, one empty, and a sub page.
    auto full = topPage(2);
    auto empty = topPage(0);
    auto sub = subPage();
    disc.setPageArray({full, empty, sub});
    EXPECT_EQ(disc.noSubMenuArray(), DVDResource::PageList{full});
    EXPECT_EQ(disc.pageArrayForPreview(), (DVDResource::PageList{full, sub}));
    EXPECT_EQ(disc.subMenuArray(), DVDResource::PageList{sub});

    // One empty top page plus a sub page: the lists count differently.
    disc.setPageArray({empty, sub});
    EXPECT_EQ(disc.noSubMenuArray(), DVDResource::PageList{empty});
    EXPECT_EQ(disc.pageArrayForPreview(), DVDResource::PageList{sub});

    // Two empty top pages: nothing remains, so the first page stands alone.
    auto otherEmpty = topPage(0);
    disc.setPageArray({empty, otherEmpty});
    EXPECT_EQ(disc.noSubMenuArray(), DVDResource::PageList{empty});
    EXPECT_EQ(disc.pageArrayForPreview(), DVDResource::PageList{empty});
}

TEST_F(DVDResourceTest, DecodingAnOlderFileKeepsDefaultsForMissingKeys)
{
    auto disc = std::make_shared<DVDResource>();
    disc->setShowPlayButton(true);
    disc->setDvdBitrate(6000);
    disc->setAspectType(0);
    disc->setItemInitialFrame4_3Array({});
    const QByteArray data = KeyedArchiver::archivedData(Value(disc));

    // Remove "showPlayButton" from the archived object, as an older file lacks it.
    QCborMap archive = QCborValue::fromCbor(data).toMap();
    QCborArray objects = archive.value("objects").toArray();
    QCborMap entry = objects.at(0).toMap();
    QCborMap keys = entry.value("keys").toMap();
    ASSERT_TRUE(keys.contains(QStringLiteral("showPlayButton")));
    keys.remove(QStringLiteral("showPlayButton"));
    entry.insert(QStringLiteral("keys"), keys);
    objects[0] = entry;
    archive.insert(QStringLiteral("objects"), objects);

    const auto result = KeyedUnarchiver::unarchive(QCborValue(archive).toCbor());
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    const auto decoded = result.root->objectAs<DVDResource>();
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded->showPlayButton());
    EXPECT_EQ(decoded->dvdBitrate(), 6000);
    EXPECT_EQ(decoded->aspectType(), 0);
    // The frame tables are rebuilt, never read.
    EXPECT_EQ(decoded->itemInitialFrame4_3Array().size(), 22);
}

}  // namespace
