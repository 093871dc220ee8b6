// The disc model: defaults, sizes, custom data, the chapter and title
// queries, and archiving by key list.

#include <gtest/gtest.h>

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include "DVDLibraryTestFakes.h"
#include "platform/ClassRegistry.h"
#include "platform/CodingBase.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

using namespace disctest;

namespace {

template <typename T>
std::shared_ptr<T> as(const ObjectPtr& object)
{
    return std::dynamic_pointer_cast<T>(object);
}

TEST(DVDLibrary, newLibraryIsEmpty)
{
    DVDLibrary library;
    EXPECT_EQ(library.currentMenu(), nullptr);
    EXPECT_TRUE(library.menus().isEmpty());
    EXPECT_TRUE(library.titles().isEmpty());
    EXPECT_TRUE(library.customDataStorage().isEmpty());
    for (const char* key :
         {"noMenu", "autoMenus", "playFirstTitle", "playTitleSequence", "menuLoop", "loopVideo",
          "loopAutoPlayVideos", "menuAutoJumpVideo", "loopSingleVideo"}) {
        EXPECT_EQ(library.valueForKey(key), Value(false)) << key;
    }
    for (const char* key : {"aspectType", "format", "dvdBitrate", "autoPlayVideos"}) {
        EXPECT_EQ(library.valueForKey(key), Value(0)) << key;
    }
    EXPECT_EQ(library.getFirstMenu(), nullptr);
    EXPECT_EQ(library.getWarningTitle(), nullptr);
}

TEST(DVDLibrary, sizes)
{
    const struct {
        qint64 aspect;
        QSizeF canvas;
    } canvases[] = {{0, {640, 480}}, {1, {854, 480}}, {2, {854, 480}}, {-1, {854, 480}}};
    for (const auto& row : canvases) {
        auto p = page({});
        p->setAspectType(row.aspect);
        EXPECT_EQ(DVDLibrary::menuSizeForMenu(p), row.canvas) << row.aspect;
    }
    EXPECT_EQ(DVDLibrary::menuSizeForMenu(nullptr), QSizeF(640, 480));

    const struct {
        qint64 format;
        QSize frame;
        QSize timebase;
    } formats[] = {{1, {720, 576}, {1, 25}},
                   {0, {720, 480}, {1001, 30000}},
                   {2, {720, 480}, {1001, 30000}},
                   {-1, {720, 480}, {1001, 30000}}};
    DVDLibrary library;
    for (const auto& row : formats) {
        library.setFormat(row.format);
        EXPECT_EQ(library.dvdVideoSize(), row.frame) << row.format;
        EXPECT_EQ(library.dvdVideoTimebase(), row.timebase) << row.format;
    }
}

TEST(DVDLibrary, customData)
{
    DVDLibrary library;
    const Value::Dictionary before = library.customDataStorage();
    library.setObject(QString("Holiday"), "name");
    library.setObject(3, "count");
    EXPECT_TRUE(before.isEmpty());  // replaced, not changed in place
    EXPECT_EQ(library.objectForKey("name"), Value("Holiday"));
    library.setObject(4, "count");
    EXPECT_EQ(library.objectForKey("count"), Value(4));
    library.setObject(Value(), "name");
    EXPECT_TRUE(library.objectForKey("name").isNull());
    EXPECT_TRUE(library.objectForKey("never set").isNull());
    EXPECT_EQ(library.customDataStorage().size(), 1);
}

TEST(DVDLibrary, chapterAndTitleQueries)
{
    Disc disc(2);
    const DVDLibrary& library = *disc.library;
    EXPECT_EQ(library.getTitleForChapter(as<DVDChapterVideo>(disc["c10"])), disc["T1"]);
    EXPECT_EQ(library.getTitleForChapter(chapter(1)), nullptr);
    EXPECT_EQ(library.getTitleForChapter(nullptr), nullptr);

    const auto chapters = library.getChaptersForItem(as<DVDMenuElement>(disc["e0a"]));
    ASSERT_EQ(chapters.size(), 1);
    EXPECT_EQ(chapters.first(), disc["c00"]);
    EXPECT_TRUE(library.getChaptersForItem(as<DVDMenuElement>(disc["e1a"])).isEmpty());
    EXPECT_TRUE(library.getChaptersForItem(nullptr).isEmpty());

    EXPECT_EQ(library.getAllNormalTitles(),
              (QList<ObjectPtr>{disc["T0"], disc["T1"], disc["R2"], disc["T3"]}));
    EXPECT_EQ(library.getWarningTitle(), disc["W"]);
}

TEST(DVDLibrary, chaptersOfAnElementInTitleThenChapterOrder)
{
    auto e = element();
    auto a = chapter(1, {e}), b = chapter(1), c = chapter(1, {e}), d = chapter(1, {e});
    DVDLibrary library;
    library.setTitles({title({b, c}), std::make_shared<FakeResource>(), title({d, a})});
    EXPECT_EQ(library.getChaptersForItem(e), (QList<DVDLibrary::ChapterPtr>{c, d, a}));
}

TEST(DVDLibrary, warningTitleIsTheLastMarkedOne)
{
    auto first = title({}, true), second = title({}, true), normal = title({});
    DVDLibrary library;
    library.setTitles({first, normal, second, nullptr});
    EXPECT_EQ(library.getWarningTitle(), second);
    EXPECT_EQ(library.getAllNormalTitles(), QList<ObjectPtr>{normal});
}

TEST(DVDLibrary, menuQueries)
{
    Disc disc;
    const DVDLibrary& library = *disc.library;
    auto menu = [&](const char* name) { return as<DVDMenuPage>(disc[name]); };
    EXPECT_EQ(library.getFirstMenu(), menu("P0"));
    EXPECT_EQ(library.indexOfMenu(menu("S0")), 2);
    EXPECT_EQ(library.indexOfMenu(menu("X")), DVDLibrary::NotFound);
    EXPECT_EQ(library.indexOfMenu(nullptr), DVDLibrary::NotFound);
    EXPECT_EQ(library.menuForItem(as<DVDMenuElement>(disc["e1b"])), menu("P1"));
    EXPECT_EQ(library.menuForItem(element()), nullptr);
    EXPECT_EQ(library.menuForItem(nullptr), nullptr);
    EXPECT_EQ(library.submenusForMenuItem(nullptr),
              (QList<DVDLibrary::MenuPtr>{menu("P0"), menu("P1")}));
    EXPECT_EQ(library.submenusForMenuItem(as<DVDMenuElement>(disc["e0b"])),
              (QList<DVDLibrary::MenuPtr>{menu("S0"), menu("S1")}));
    EXPECT_TRUE(library.submenusForMenuItem(as<DVDMenuElement>(disc["e0a"])).isEmpty());
}

TEST(DVDLibrary, submenusFollowTheRecursion)
{
    // A (a1, a2): a1 opens B, a2 opens C; B's b1 opens D; C's c1 opens E;
    // D's d1 opens F (depth three).
    auto a1 = element(), a2 = element(), b1 = element(), c1 = element(), d1 = element();
    auto A = page({a1, a2}), B = page({b1}, a1), C = page({c1}, a2), D = page({d1}, b1),
         E = page({}, c1), F = page({}, d1);
    DVDLibrary library;
    library.setMenus({F, E, D, C, B, A});
    // A's own pages first, then B's whole subtree, then C's.
    EXPECT_EQ(library.submenusForMenu(A), (QList<DVDLibrary::MenuPtr>{B, C, D, F, E}));
    EXPECT_EQ(library.submenusForMenu(B), (QList<DVDLibrary::MenuPtr>{D, F}));
    EXPECT_EQ(library.submenusForMenu(C), (QList<DVDLibrary::MenuPtr>{E}));
    EXPECT_TRUE(library.submenusForMenu(F).isEmpty());

    // Parent links in a circle end once every page is listed.
    A->setParent(c1);
    EXPECT_EQ(library.submenusForMenu(A), (QList<DVDLibrary::MenuPtr>{B, C, D, F, E}));
}

// ---- archiving

const QStringList kArchiveKeys = {"currentMenu",
                                  "menus",
                                  "titles",
                                  "noMenu",
                                  "aspectType",
                                  "format",
                                  "dvdBitrate",
                                  "playFirstTitle",
                                  "playTitleSequence",
                                  "menuLoop",
                                  "loopVideo",
                                  "customDataStorage",
                                  "autoPlayVideos",
                                  "loopAutoPlayVideos",
                                  "menuAutoJumpVideo",
                                  "loopSingleVideo"};

QCborMap libraryEntry(const QCborMap& archive)
{
    for (const auto& entry : archive.value("objects").toArray()) {
        if (entry.toMap().value("class").toString() == "DVDLibrary") {
            return entry.toMap();
        }
    }
    return {};
}

TEST(DVDLibraryArchive, keyList)
{
    DVDLibrary library;
    EXPECT_EQ(library.allCoderKeys(), kArchiveKeys);
    EXPECT_EQ(library.className(), "DVDLibrary");
}

TEST(DVDLibraryArchive, roundTrip)
{
    Disc disc(0);
    auto& library = disc.library;
    as<FakeElement>(disc["e0e"])->setJump(disc["P1"]);  // archive only what the disc holds
    library->setCurrentMenu(as<DVDMenuPage>(disc["P1"]));
    applyFlags(*library,
               "noMenu,autoMenus,playFirstTitle,playTitleSequence,menuLoop,loopVideo,"
               "loopAutoPlayVideos,menuAutoJumpVideo,loopSingleVideo");
    library->setAspectType(1);
    library->setFormat(1);
    library->setDvdBitrate(4000);
    library->setAutoPlayVideos(-3);
    library->setObject(QString("value"), "key");

    const QByteArray data = KeyedArchiver::archivedData(library);
    const QCborMap archive = QCborValue::fromCbor(data).toMap();
    const QCborMap keys = libraryEntry(archive).value("keys").toMap();
    EXPECT_EQ(keys.size(), kArchiveKeys.size());
    EXPECT_FALSE(keys.contains(QStringLiteral("autoMenus")));

    const auto result = KeyedUnarchiver::unarchive(data);
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    auto copy = result.root->objectAs<DVDLibrary>();
    ASSERT_TRUE(copy);
    for (const QString& key : kArchiveKeys.mid(3)) {
        EXPECT_EQ(copy->valueForKey(key), library->valueForKey(key)) << qPrintable(key);
    }
    EXPECT_FALSE(copy->autoMenus());
    ASSERT_EQ(copy->menus().size(), 4);
    ASSERT_EQ(copy->titles().size(), 5);
    EXPECT_EQ(copy->currentMenu(), copy->menus().at(1));
    EXPECT_EQ(copy->getWarningTitle(), copy->titles().at(0));
    EXPECT_TRUE(as<FakeResource>(copy->titles().at(3)));
    EXPECT_EQ(copy->menus().at(2)->parent(), copy->menus().at(0)->items().at(1));
    // The graph navigates and authors as the original did.
    EXPECT_EQ(copy->authorContent(), library->authorContent());
    copy->setNoMenu(false);
    library->setNoMenu(false);
    EXPECT_EQ(copy->authorContent(), library->authorContent());
}

TEST(DVDLibraryArchive, missingKeysKeepTheirDefaults)
{
    auto library = std::make_shared<DVDLibrary>();
    library->setMenuLoop(true);
    library->setFormat(1);
    library->setAutoPlayVideos(7);
    QCborMap archive = QCborValue::fromCbor(KeyedArchiver::archivedData(library)).toMap();
    QCborArray objects = archive.value("objects").toArray();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        QCborMap entry = objects.at(i).toMap();
        if (entry.value("class").toString() == "DVDLibrary") {
            QCborMap keys = entry.value("keys").toMap();
            keys.remove(QStringLiteral("menuLoop"));
            keys.remove(QStringLiteral("menus"));
            entry.insert(QStringLiteral("keys"), keys);
            objects[i] = entry;
        }
    }
    archive.insert(QStringLiteral("objects"), objects);

    const auto result = KeyedUnarchiver::unarchive(QCborValue(archive).toCbor());
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    auto copy = result.root->objectAs<DVDLibrary>();
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->menuLoop());
    EXPECT_TRUE(copy->menus().isEmpty());
    EXPECT_EQ(copy->format(), 1);
    EXPECT_EQ(copy->autoPlayVideos(), 7);
}

TEST(DVDLibraryArchive, copyToByKey)
{
    Disc disc;
    applyFlags(*disc.library, "menuLoop,autoPlayVideos=-1");
    DVDLibrary target;
    for (const QString& key : disc.library->allCoderKeys()) {
        disc.library->copyTo(target, key);
    }
    EXPECT_EQ(target.menus(), disc.library->menus());
    EXPECT_EQ(target.titles(), disc.library->titles());
    EXPECT_TRUE(target.menuLoop());
    EXPECT_EQ(target.autoPlayVideos(), -1);
    EXPECT_EQ(target.authorContent(), disc.library->authorContent());
}

// An application model class: archived through CodingBase and seen by
// Corvane as a menu page, with one Object root between them.
class ModelPage : public CodingBase, public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return nullptr; }
    double duration() const override { return 0; }
    qint64 aspectType() const override { return m_aspectType; }
    void setAspectType(qint64 type) { m_aspectType = type; }
    QSizeF menuSize() const override { return DVDLibrary::menuSizeForMenu(nullptr); }
    QImage imageAtTime(qint64) override { return {}; }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return {}; }

    static const PropertyTable& properties()
    {
        static const PropertyTable table =
            PropertyTable(Object::properties())
                .add("aspectType", &ModelPage::aspectType, &ModelPage::setAspectType);
        return table;
    }
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override { return {"aspectType"}; }

private:
    qint64 m_aspectType = 0;
};

TEST(DVDLibraryArchive, modelClassesAdoptTheProtocolsOverOneRoot)
{
    ClassRegistry::add<ModelPage>(QStringLiteral("DiscTestModelPage"));
    auto page = std::make_shared<ModelPage>();
    page->setAspectType(1);
    auto library = std::make_shared<DVDLibrary>();
    library->setMenus({page});
    EXPECT_EQ(Value(page).objectAs<DVDMenuPage>(), page);

    const auto result = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(library));
    ASSERT_TRUE(result.root) << qPrintable(result.error);
    const auto menus = result.root->objectAs<DVDLibrary>()->menus();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_TRUE(std::dynamic_pointer_cast<ModelPage>(menus.first()));
    EXPECT_EQ(DVDLibrary::menuSizeForMenu(menus.first()), QSizeF(854, 480));
}

}  // namespace
