// The three subpicture images of a menu: the generator's own drawing (one
// colour per image, the inside of video elements left clear) and the
// application's drawing installed as a hook, exceptions from it included.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <stdexcept>

#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuImageGenerator.h"

using namespace tooltest;

namespace {

class DVDMenuMakeImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        // PAL 16:9: a title picture (video), a chapter picture that is not
        // valid, and a plain button.
        auto title = element({100, 250, 250, 150}, nullptr, true);
        title->target = title;
        auto hidden = element({480, 250, 250, 150}, nullptr, true);
        hidden->valid = false;
        auto next = element({700, 40, 80, 50});
        menu = page({title, hidden, next});
        disc->setFormat(1);
        disc->setMenus({menu});
        generator.setMenu(menu);
        generator.setDvd(disc);
        if (qEnvironmentVariableIsSet("BRISANE_KEEP_TEST_FILES")) {
            dir.setAutoRemove(false);
            qInfo("pictures kept in %s", qPrintable(dir.path()));
        }
    }
    void TearDown() override { DVDMenuImageGenerator::setDrawDVDMenuImageHook({}); }

    static void expectColor(const QImage& image, QPoint at, QColor expected)
    {
        const QColor c = image.pixelColor(at);
        const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
        EXPECT_TRUE(near(c.red(), expected.red()) && near(c.green(), expected.green()) &&
                    near(c.blue(), expected.blue()) && near(c.alpha(), expected.alpha()))
            << "at " << at.x() << "," << at.y() << ": " << qPrintable(c.name(QColor::HexArgb))
            << " expected " << qPrintable(expected.name(QColor::HexArgb));
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    std::shared_ptr<ToolPage> menu;
    std::shared_ptr<DVDLibrary> disc = std::make_shared<DVDLibrary>();
    DVDMenuImageGenerator generator;
};

TEST_F(DVDMenuMakeImage, fallbackColoursWithClearVideoInsides)
{
    // The title picture covers frame pixels x 84..296 and, counted from the
    // top, rows 96..276; 10 pixels inside that the highlight is clear.
    const struct {
        QString name;
        QColor colour;
    } cases[] = {
        {"menu_highlight", QColor(51, 51, 179, 179)},
        {"menu_select", QColor(255, 0, 0, 77)},
        {"menu_image", QColor(255, 255, 255, 18)},
        {"something else", QColor(51, 51, 179, 179)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.name));
        const QString path = dir.filePath(c.name + ".png");
        ASSERT_TRUE(generator.generatorImageForName(c.name, path));
        QImage image(path);
        ASSERT_EQ(image.size(), QSize(720, 576));
        image = image.convertToFormat(QImage::Format_ARGB32);
        expectColor(image, {5, 5}, c.colour);             // outside every element
        expectColor(image, {88, 150}, c.colour);          // the title's border
        expectColor(image, {190, 100}, c.colour);         // its top border
        expectColor(image, {190, 186}, Qt::transparent);  // its inside
        expectColor(image, {94, 106}, Qt::transparent);   // the inside's top-left corner
        expectColor(image, {93, 106}, c.colour);          // just left of it
        expectColor(image, {500, 186}, c.colour);         // the hidden element stays filled
        expectColor(image, {620, 500}, c.colour);         // the button is filled
    }
}

TEST_F(DVDMenuMakeImage, maskHoldsTheValidVideoElements)
{
    const QPainterPath mask = generator.hightlightMaskForMenu(menu, nullptr);
    EXPECT_EQ(mask.boundingRect(), QRectF(94, 310, 192, 160));
    // An element too small for the 10-pixel border adds nothing.
    auto tiny = element({10, 10, 20, 20}, nullptr, true);
    EXPECT_TRUE(generator.hightlightMaskForMenu(page({tiny}), nullptr).isEmpty());
    EXPECT_TRUE(generator.hightlightMaskForMenu(nullptr, nullptr).isEmpty());
}

TEST_F(DVDMenuMakeImage, theInstalledDrawingReplacesTheFallback)
{
    QStringList names;
    QList<QSizeF> sizes;
    DVDMenuImageGenerator::setDrawDVDMenuImageHook(
        [&](DVDMenuImageGenerator& g, const QString& name, const QSizeF& size) {
            names.append(name);
            sizes.append(size);
            EXPECT_EQ(&g, &generator);
            QPainter* painter = DLBitmapImage::currentContext();
            ASSERT_NE(painter, nullptr);
            // y up: a square at the bottom left of the frame.
            painter->fillRect(QRectF(0, 0, 100, 100), Qt::green);
        });
    EXPECT_TRUE(DVDMenuImageGenerator::respondsToDrawDVDMenuImage());
    const QImage image = generator.generatorImageForName("menu_select");
    ASSERT_EQ(image.size(), QSize(720, 576));
    EXPECT_EQ(names, QStringList{"menu_select"});
    EXPECT_EQ(sizes, QList<QSizeF>{QSizeF(720, 576)});
    expectColor(image, {50, 526}, Qt::green);
    expectColor(image, {50, 50}, Qt::transparent);  // no fallback colour anywhere
}

TEST_F(DVDMenuMakeImage, anExceptionInTheDrawingKeepsWhatWasDrawn)
{
    for (int kind = 0; kind < 2; ++kind) {
        DVDMenuImageGenerator::setDrawDVDMenuImageHook(
            [kind](DVDMenuImageGenerator&, const QString&, const QSizeF&) {
                DLBitmapImage::currentContext()->fillRect(QRectF(0, 0, 100, 100), Qt::green);
                if (kind == 0) {
                    throw std::runtime_error("drawing failed");
                }
                throw 42;
            });
        const QString path = dir.filePath(QString("thrown%1.png").arg(kind));
        ASSERT_TRUE(generator.generatorImageForName("menu_highlight", path));
        const QImage image(path);
        ASSERT_EQ(image.size(), QSize(720, 576));
        expectColor(image.convertToFormat(QImage::Format_ARGB32), {50, 526}, Qt::green);
    }
    // The current context was given back.
    EXPECT_EQ(DLBitmapImage::currentContext(), nullptr);
}

TEST_F(DVDMenuMakeImage, withoutADiscThereIsNoImage)
{
    DVDMenuImageGenerator empty;
    empty.setMenu(menu);
    EXPECT_EQ(empty.getDVDVideoFormatSize(), QSize());
    EXPECT_TRUE(empty.generatorImageForName("menu_image").isNull());
    const QString path = dir.filePath("menu_image.png");
    ASSERT_TRUE(writeFile(path, "old picture"));
    EXPECT_FALSE(empty.generatorImageForName("menu_image", path));
    EXPECT_FALSE(QFile::exists(path));  // the old picture is not taken for a new one
}

TEST_F(DVDMenuMakeImage, ntscFrameSize)
{
    disc->setFormat(0);
    EXPECT_EQ(generator.getDVDVideoFormatSize(), QSize(720, 480));
    EXPECT_EQ(generator.generatorImageForName("menu_image").size(), QSize(720, 480));
}

}  // namespace
