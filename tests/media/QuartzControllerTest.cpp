// The transition registry: walking a bundle, its lookups and its renderers.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "TestSupport.h"
#include "TransitionTestSupport.h"
#include "platform/PropertyList.h"
#include "media/QuartzController.h"
#include "media/RenderController.h"

using namespace transitiontest;

namespace {

QString composition(const QString& kind)
{
    return QString::fromUtf8(plist({{"Kind", str(kind)}, {"TransitionTime", real(1.0)}}));
}

// A bundle with transitions at several depths, written in an order unlike the sorted one.
class QuartzFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        addTransition("b/deeper/nested/Nested.plist", "Nested.qtz", "Index.qtz", "Nested.png");
        addTransition("a/First.plist", "First.qtz", "", "First.png");
        addTransition("c/Same.plist", "Twice.qtz", "Index.qtz", "Missing.png", false);
        addTransition("d/Same.plist", "Twice.qtz", "Index.qtz", "Other.png");
        writeText(root + "/e/Broken.plist", "<plist><dict><key>QuartzName</key>");
        writeText(root + "/e/NoName.plist", plist({{"NormalDuration", real(3)}}));
        writeText(root + "/e/ZeroPace.plist",
                  plist({{"QuartzName", str("Zero.qtz")}, {"NormalDuration", real(0)}}));
        writeText(root + "/e/readme.txt", "not a transition");
    }

    void addTransition(const QString& plistPath, const QString& name, const QString& index,
                       const QString& thumbnail, bool writeThumbnail = true)
    {
        const QString folder = QFileInfo(root + "/" + plistPath).absolutePath();
        QList<std::pair<QString, QString>> entries{
            {"QuartzName", str(name)},   {"ThumbnailName", str(thumbnail)},
            {"NormalDuration", real(2)}, {"FirstRatio", real(1)},
            {"LastRatio", real(1)},      {"BestCount", "<integer>3</integer>"}};
        entries.append({"QuartzIndex", str(index)});
        ASSERT_TRUE(writeText(root + "/" + plistPath, plist(entries)));
        ASSERT_TRUE(writeText(folder + "/" + name, composition("crossfade").toUtf8()));
        if (!index.isEmpty()) {
            ASSERT_TRUE(writeText(folder + "/" + index, composition("standardIndexes").toUtf8()));
        }
        if (writeThumbnail) {
            QImage picture(16, 12, QImage::Format_RGB32);
            picture.fill(Qt::red);
            ASSERT_TRUE(picture.save(folder + "/" + thumbnail));
        }
    }

    Value::Dictionary sized(Value::Dictionary information, double w, double h)
    {
        information.insert("RenderingWidth", w);
        information.insert("RenderingHeight", h);
        return information;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString root;
};

}  // namespace

TEST_F(QuartzFixture, WalksNestedFoldersInSortedOrderAndSkipsBadLists)
{
    LogCapture log;
    QuartzController controller(root);
    QStringList names;
    for (const auto& item : controller.mtAryQuartzItems()) {
        names << item->strQuartzName;
    }
    EXPECT_EQ(names, QStringList({"First.qtz", "Nested.qtz", "Twice.qtz", "Twice.qtz"}));

    // The nested list finds its compositions and thumbnail beside it.
    const auto nested = controller.getQuartzItemByName("Nested.qtz");
    ASSERT_TRUE(nested);
    EXPECT_TRUE(nested->oComposition);
    EXPECT_TRUE(nested->oCompositionIndexs);
    EXPECT_EQ(nested->imgThumbnail.size(), QSize(16, 12));
    EXPECT_EQ(nested->oComposition->timing().normalDuration, 2.0);

    // A missing thumbnail logs its name followed by a line break.
    EXPECT_TRUE(log.contains("Missing.png\n"));
    EXPECT_TRUE(controller.getQuartzItemByName("Twice.qtz")->imgThumbnail.isNull());
}

TEST_F(QuartzFixture, LooksUpByNameAndIndex)
{
    RenderController registry(root);
    ASSERT_EQ(registry.quartzsCount(), 4);
    EXPECT_EQ(registry.oSlideshowQuartzController().getQuartzIndexByName("Twice.qtz"), 2);
    EXPECT_EQ(registry.oSlideshowQuartzController().getQuartzIndexByName("None.qtz"), -1);
    EXPECT_FALSE(registry.oSlideshowQuartzController().getQuartzItemByName("None.qtz"));

    // Past the end an empty dictionary, not nothing.
    EXPECT_TRUE(registry.informationAtIndex(4).isEmpty());
    EXPECT_TRUE(registry.informationAtIndex(-1).isEmpty());
    EXPECT_EQ(registry.informationAtIndex(0).value("QuartzName"), Value("First.qtz"));

    // A name two lists share gives the first in walk order (its thumbnail is the missing one).
    const auto twice = registry.informationOfName("Twice.qtz");
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->value("ThumbnailName"), Value("Missing.png"));
    EXPECT_FALSE(registry.informationOfName("None.qtz"));
    EXPECT_EQ(registry.thumbnailWithInformation(*registry.informationOfName("First.qtz")).size(),
              QSize(16, 12));
}

TEST_F(QuartzFixture, MakesRenderersOnlyForWhatExists)
{
    RenderController registry(root);
    const auto first = sized(*registry.informationOfName("First.qtz"), 64, 48);
    EXPECT_TRUE(registry.renderWithInformation(first));
    EXPECT_TRUE(registry.slideshowRendererWithInformation(first));
    // An empty "QuartzIndex" means no index composition.
    EXPECT_FALSE(registry.indexsRenderWithInformation(first));
    const auto nested = sized(*registry.informationOfName("Nested.qtz"), 64, 48);
    auto index = registry.indexsRenderWithInformation(nested);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->pixelSize(), QSize(64, 48));
    // Unknown transitions give none.
    EXPECT_FALSE(registry.renderWithInformation(sized({{"QuartzName", "None.qtz"}}, 64, 48)));
}

TEST_F(QuartzFixture, ZeroSizeGivesNoRendererAndLogs)
{
    RenderController registry(root);
    const auto information = *registry.informationOfName("Nested.qtz");
    for (const auto& [w, h] : {std::pair{0.0, 48.0}, {64.0, 0.0}, {0.0, 0.0}}) {
        LogCapture log;
        EXPECT_FALSE(registry.renderWithInformation(sized(information, w, h)));
        EXPECT_FALSE(registry.slideshowRendererWithInformation(sized(information, w, h)));
        EXPECT_FALSE(registry.indexsRenderWithInformation(sized(information, w, h)));
        EXPECT_TRUE(log.contains("Invilidate Size"));
    }
    // Without the size keys the size is zero too.
    EXPECT_FALSE(registry.renderWithInformation(information));
}

TEST_F(QuartzFixture, TransitionWithoutIndexCompositionStillNamesItsPositions)
{
    RenderController registry(root);
    const auto first = *registry.informationOfName("First.qtz");
    // NormalDuration 2 and a change of 0.8 s: at 0.5 the look-ahead of 2 s
    // reaches into position 1's span.
    const auto indexes = registry.defaultIndexsWithInformation(first, 3, 0.5);
    EXPECT_EQ(indexes.size(), 2);
    EXPECT_EQ(indexes.value("0"), Value(0));
    EXPECT_EQ(indexes.value("1"), Value(1));
    EXPECT_TRUE(registry.defaultIndexsWithInformation(first, 0, 0.5).isEmpty());
}

TEST(QuartzControllerTest, MissingFolderGivesAnEmptyRegistry)
{
    RenderController registry(QStringLiteral("/nonexistent/Slideshows.plugin"));
    EXPECT_EQ(registry.quartzsCount(), 0);
    EXPECT_FALSE(registry.informationOfName(RenderController::DefaultQuartzName));
}

TEST(QuartzControllerTest, ShippedBundleHoldsEveryTransition)
{
    RenderController registry(shippedTransitionFolder());
    ASSERT_GE(registry.quartzsCount(), 10);
    const auto& items = registry.oSlideshowQuartzController().mtAryQuartzItems();
    EXPECT_EQ(items.first()->strQuartzName, QStringLiteral("Cube New.qtz"));
    for (const auto& item : items) {
        SCOPED_TRACE(item->strQuartzName.toStdString());
        EXPECT_TRUE(item->oComposition);
        EXPECT_TRUE(item->oCompositionIndexs);
        EXPECT_EQ(item->imgThumbnail.size(), QSize(160, 120));
        const auto& info = item->dicInformation;
        for (const char* key :
             {"QuartzName", "QuartzIndex", "ThumbnailName", "NormalDuration", "MaxDuration",
              "FirstRatio", "LastRatio", "BestDuration", "BestCount"}) {
            EXPECT_TRUE(info.contains(key)) << key;
        }
        // The chooser's preview loop shows the whole run of its sample pictures.
        const double n = info.value("NormalDuration").toDouble().value_or(0);
        const double expected = (info.value("FirstRatio").toDouble().value_or(0) +
                                 info.value("LastRatio").toDouble().value_or(0) +
                                 info.value("BestCount").toDouble().value_or(0) - 2) *
                                n;
        EXPECT_DOUBLE_EQ(info.value("BestDuration").toDouble().value_or(0), expected);
    }
}

TEST(QuartzControllerTest, SharedRegistryGivesTheDefaultAndRandomInformation)
{
    const auto information = RenderController::defaultInformation();
    ASSERT_TRUE(information);
    EXPECT_EQ(information->value("QuartzName"), Value("Cube New.qtz"));
    for (int i = 0; i < 20; ++i) {
        const auto random = RenderController::randomInformation();
        ASSERT_TRUE(random);
        EXPECT_TRUE(RenderController::sharedRenderController().informationOfName(
            random->value("QuartzName").toString().value_or("")));
    }
}

TEST(QuartzControllerTest, PropertyListsReadEveryKindAndRefuseDamage)
{
    const auto dictionary = PropertyList::dictionaryFromData(
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
        "<key>s</key><string>Cube New.qtz</string><key>i</key><integer>-3</integer>"
        "<key>r</key><real>2.5</real><key>t</key><true/><key>f</key><false/>"
        "<key>d</key><data>aGk=</data><key>a</key><array><integer>1</integer><string>x</string></"
        "array>"
        "<key>n</key><dict><key>k</key><string>v</string></dict></dict></plist>");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->value("s"), Value("Cube New.qtz"));
    EXPECT_EQ(dictionary->value("i"), Value(-3));
    EXPECT_EQ(dictionary->value("r"), Value(2.5));
    EXPECT_EQ(dictionary->value("t"), Value(true));
    EXPECT_EQ(dictionary->value("f"), Value(false));
    EXPECT_EQ(dictionary->value("d"), Value(QByteArray("hi")));
    EXPECT_EQ(dictionary->value("a").array().size(), 2);
    EXPECT_EQ(dictionary->value("n").dictionary().value("k"), Value("v"));

    for (const QByteArray& bad :
         {QByteArray(""), QByteArray("<plist><array/></plist>"),
          QByteArray("<plist><dict><key>a</key></dict></plist>"),
          QByteArray("<plist><dict><key>a</key><integer>x</integer></dict></plist>"),
          QByteArray("<plist><dict><string>a</string></dict></plist>"),
          QByteArray("<plist><dict><key>a</key><string>b</string>")}) {
        EXPECT_FALSE(PropertyList::dictionaryFromData(bad)) << bad.toStdString();
    }
}

TEST(QuartzControllerTest, UnknownCompositionLeavesTheTransitionWithoutIt)
{
    auto dir = testsupport::makeTempDir();
    ASSERT_TRUE(writeText(dir.filePath("T.plist"), plist({{"QuartzName", str("Odd.qtz")},
                                                          {"QuartzIndex", str("Gone.qtz")},
                                                          {"NormalDuration", real(3)}})));
    ASSERT_TRUE(writeText(dir.filePath("Odd.qtz"), plist({{"Kind", str("spiral")}})));
    RenderController registry(dir.path());
    ASSERT_EQ(registry.quartzsCount(), 1);
    auto information = registry.informationAtIndex(0);
    EXPECT_FALSE(registry.quartzItemWithInformation(information)->oComposition);
    information.insert("RenderingWidth", 64);
    information.insert("RenderingHeight", 48);
    EXPECT_FALSE(registry.renderWithInformation(information));
    EXPECT_FALSE(registry.indexsRenderWithInformation(information));
    // No thumbnail named: none, and nothing logged for it.
    EXPECT_TRUE(registry.thumbnailWithInformation(information).isNull());
}
