// The application's drawing of the three subpicture images of a menu, drawn
// through Corvane's generator on PAL and NTSC frames: the ring and fill of a
// button low on the canvas (a missing y flip puts it at the top), the border
// rules, the elements that get no shape, square and rounded corners, and the
// colour count spumux allows.

#include <gtest/gtest.h>

#include <QSet>

#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuImageGenerator.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"

namespace {

class Element : public DVDMenuElement {
public:
    double rotation() const override { return 0; }
    int level() const override { return 1; }
    bool isValid() const override { return valid; }
    bool highlightModeEmptyInDVD() const override { return true; }
    bool isStaticItem() const override { return isStatic; }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return false; }
    QRectF frame() const override { return rect; }
    QImage imageAtTime(qint64) override { return {}; }
    ObjectPtr jump() const override { return nullptr; }
    std::optional<Shadow> shadow() const override { return std::nullopt; }
    double roundValue() const override { return round; }

    QRectF rect;
    bool valid = true;
    bool isStatic = false;
    double round = 0.0;
};

class Page : public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return nullptr; }
    double duration() const override { return 1; }
    qint64 aspectType() const override { return 1; }
    QSizeF menuSize() const override { return {854, 480}; }
    QImage imageAtTime(qint64) override { return {}; }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return elements; }

    QList<std::shared_ptr<DVDMenuElement>> elements;
};

// The disc whose style draws menus that belong to no disc of their own.
struct Services {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
};

const QColor ring(200, 30, 30);
const QColor fill(30, 60, 220);
const QColor clear(0, 0, 0, 0);

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2 && std::abs(a.alpha() - b.alpha()) <= 2;
}

// The colour at (x, y) counted from the bottom-left corner, as the canvas does.
QColor at(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, image.height() - 1 - y);
    return c.alpha() == 0 ? clear : c;
}

class SubpictureDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        services = std::make_shared<Services>();
        services->disc->setBorderColor(ring);
        services->disc->setFillColor(fill);
        services->disc->setBorderWidth(6);
        lookup = [disc = services->disc](const DVDMenuPage* menu) {
            const auto own = DVDMenuImageGeneratorCustomImage::discForMenu(menu);
            return own ? own : disc;
        };
        DVDMenuImageGeneratorCustomImage::install(lookup);
        page = std::make_shared<Page>();
        // A button low on the canvas: a picture drawn the wrong way up shows
        // it near the top of the frame.
        button = addElement({100, 20, 200, 100});
    }
    void TearDown() override { DVDMenuImageGeneratorCustomImage::uninstall(); }

    std::shared_ptr<Element> addElement(const QRectF& rect)
    {
        auto element = std::make_shared<Element>();
        element->rect = rect;
        page->elements.append(element);
        return element;
    }

    QImage draw(const QString& name, qint64 format = 1)
    {
        auto disc = std::make_shared<DVDLibrary>();
        disc->setFormat(format);
        disc->setAspectType(1);
        DVDMenuImageGenerator generator;
        generator.setDvd(disc);
        generator.setMenu(page);
        return generator.generatorImageForName(name).convertToFormat(QImage::Format_ARGB32);
    }

    // The button as drawn: its frame scaled into the picture, one pixel larger.
    QRect drawnButton(const Element& element, qint64 format = 1) const
    {
        const QSizeF frame = format == 1 ? QSizeF(720, 576) : QSizeF(720, 480);
        return DVDMenuMake::scaleRect(element.rect, page->menuSize(), frame)
            .adjusted(-1, -1, 1, 1)
            .toRect();
    }

    std::shared_ptr<Services> services;
    DVDMenuImageGeneratorCustomImage::DiscLookup lookup;
    std::shared_ptr<Page> page;
    std::shared_ptr<Element> button;
};

QSet<QRgb> coloursOf(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            colours.insert(qAlpha(p) == 0 ? 0u : p);
        }
    }
    return colours;
}

TEST_F(SubpictureDrawing, HighlightRingAndFillSitWhereTheButtonIsOnPalAndNtsc)
{
    for (const qint64 format : {1, 0}) {
        SCOPED_TRACE(format == 1 ? "PAL" : "NTSC");
        const QImage image = draw("menu_highlight", format);
        ASSERT_EQ(image.size(), format == 1 ? QSize(720, 576) : QSize(720, 480));
        testsupport::writeArtifact(
            image, format == 1 ? "subpicture-highlight-pal.png" : "subpicture-highlight-ntsc.png");
        const QRect r = drawnButton(*button, format);
        // 854 -> 720 wide: x from 84 (minus the grown pixel), 170 wide.
        EXPECT_EQ(r.left(), 83);
        EXPECT_EQ(r.width(), 170);
        const int midY = r.top() + r.height() / 2;  // y up: r.top() is the lower edge
        const int midX = r.left() + r.width() / 2;
        EXPECT_TRUE(near(at(image, r.left(), midY), ring));
        EXPECT_TRUE(near(at(image, r.left() + 5, midY), ring));
        EXPECT_TRUE(near(at(image, r.left() + 6, midY), fill));
        EXPECT_TRUE(near(at(image, r.right() - 5, midY), ring));
        EXPECT_TRUE(near(at(image, midX, r.top()), ring));  // the lower edge
        EXPECT_TRUE(near(at(image, midX, r.top() + 6), fill));
        EXPECT_TRUE(near(at(image, midX, r.bottom()), ring));  // the upper edge
        EXPECT_TRUE(near(at(image, midX, midY), fill));
        // Outside the button: clear, above, below and beside it.
        EXPECT_EQ(at(image, r.left() - 1, midY), clear);
        EXPECT_EQ(at(image, r.right() + 1, midY), clear);
        EXPECT_EQ(at(image, midX, r.top() - 1), clear);
        EXPECT_EQ(at(image, midX, r.bottom() + 1), clear);
        EXPECT_EQ(at(image, midX, image.height() - 1 - midY), clear);  // the mirrored place
        EXPECT_LE(coloursOf(image).size(), 3);
    }
}

TEST_F(SubpictureDrawing, SelectFillsWholeShapesAndImageIsOneFaintPixel)
{
    const QImage select = draw("menu_select");
    testsupport::writeArtifact(select, "subpicture-select.png");
    const QRect r = drawnButton(*button);
    const QColor shade = QColor::fromRgbF(0, 0, 0, 0.35f);
    for (const QPoint p : {QPoint(r.left(), r.top()), QPoint(r.center().x(), r.center().y()),
                           QPoint(r.right(), r.bottom())}) {
        EXPECT_TRUE(near(at(select, p.x(), p.y()), shade)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(at(select, r.left() - 1, r.top()), clear);
    EXPECT_EQ(coloursOf(select).size(), 2);

    const QImage image = draw("menu_image");
    const QSet<QRgb> colours = coloursOf(image);
    EXPECT_EQ(colours.size(), 2);
    EXPECT_GT(at(image, 200, 200).alpha(), 0);
    EXPECT_LT(at(image, 200, 200).alpha(), 40);
    int visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            visible += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(coloursOf(draw("menu_other")).size(), 1);  // other names draw nothing
}

TEST_F(SubpictureDrawing, BorderWidthZeroFillsAndAWideBorderIsCut)
{
    const QRect r = drawnButton(*button);
    const int midY = r.top() + r.height() / 2;

    services->disc->setBorderWidth(0);
    const QImage bare = draw("menu_highlight");
    EXPECT_TRUE(near(at(bare, r.left(), midY), fill));
    EXPECT_TRUE(near(at(bare, r.right(), midY), fill));
    EXPECT_EQ(coloursOf(bare).size(), 2);

    // 30 % of the 122-pixel height is 36: a border of 80 is cut to that.
    services->disc->setBorderWidth(80);
    const QImage wide = draw("menu_highlight");
    testsupport::writeArtifact(wide, "subpicture-wide-border.png");
    ASSERT_EQ(r.height(), 122);
    EXPECT_TRUE(near(at(wide, r.left() + 35, midY), ring));
    EXPECT_TRUE(near(at(wide, r.left() + 36, midY), fill));
    EXPECT_TRUE(near(at(wide, r.center().x(), r.top() + 35), ring));
    EXPECT_TRUE(near(at(wide, r.center().x(), r.top() + 36), fill));
}

TEST_F(SubpictureDrawing, StaticAndInvalidElementsGetNoShape)
{
    auto decoration = addElement({500, 300, 150, 80});
    decoration->isStatic = true;
    auto hidden = addElement({500, 100, 150, 80});
    hidden->valid = false;
    for (const QString name : {"menu_highlight", "menu_select"}) {
        SCOPED_TRACE(qPrintable(name));
        const QImage image = draw(name);
        for (const auto& absent : {decoration, hidden}) {
            const QRect r = drawnButton(*absent);
            EXPECT_EQ(at(image, r.center().x(), r.center().y()), clear);
            EXPECT_EQ(at(image, r.left() + 1, r.top() + 1), clear);
        }
        const QRect shown = drawnButton(*button);
        EXPECT_NE(at(image, shown.center().x(), shown.center().y()), clear);
    }
}

TEST_F(SubpictureDrawing, SmallRadiusDrawsSquareCornersAndALargerOneRounds)
{
    const QRect r = drawnButton(*button);
    button->round = 0.9;
    const QImage square = draw("menu_highlight");
    EXPECT_TRUE(near(at(square, r.left(), r.top()), ring));
    EXPECT_TRUE(near(at(square, r.right(), r.bottom()), ring));

    button->round = 20;
    const QImage round = draw("menu_highlight");
    testsupport::writeArtifact(round, "subpicture-rounded.png");
    EXPECT_EQ(at(round, r.left(), r.top()), clear);
    EXPECT_EQ(at(round, r.right(), r.bottom()), clear);
    EXPECT_TRUE(near(at(round, r.left(), r.top() + r.height() / 2), ring));
    EXPECT_TRUE(near(at(round, r.center().x(), r.center().y()), fill));
    EXPECT_LE(coloursOf(round).size(), 3);
    EXPECT_LE(coloursOf(draw("menu_select")).size(), 2);
}

TEST_F(SubpictureDrawing, ProjectWithoutColoursUsesTheDefaultHighlight)
{
    services->disc->setBorderColor(QColor());
    services->disc->setFillColor(QColor());
    const QImage image = draw("menu_highlight");
    const QRect r = drawnButton(*button);
    const QColor blue = DVDMenuImageGeneratorCustomImage::defaultBorderColor();
    EXPECT_TRUE(near(at(image, r.left(), r.center().y()), blue));
    EXPECT_TRUE(near(at(image, r.center().x(), r.center().y()), blue));
}

// A page of a disc other than the open project (one built or loaded beside
// it) is drawn in its own disc's highlight colours.
TEST_F(SubpictureDrawing, APageIsDrawnInTheColoursOfItsOwnDisc)
{
    const QColor own(20, 180, 40);
    auto disc = std::make_shared<DVDResource>();
    disc->setBorderColor(own);
    disc->setFillColor(fill);
    disc->setBorderWidth(6);
    auto menuPage = std::make_shared<DVDPage>();
    auto item = std::make_shared<DVDPageItem>();
    item->setFrame(button->rect);
    item->setUseFrame(true);
    menuPage->setItemArray({item});
    EXPECT_EQ(DVDMenuImageGeneratorCustomImage::discForMenu(menuPage.get()), nullptr);
    EXPECT_EQ(lookup(menuPage.get()), services->disc);
    disc->setPageArray({menuPage});
    EXPECT_EQ(DVDMenuImageGeneratorCustomImage::discForMenu(menuPage.get()), disc);
    EXPECT_EQ(lookup(menuPage.get()), disc);
    EXPECT_EQ(DVDMenuImageGeneratorCustomImage::discForMenu(page.get()), nullptr);
    EXPECT_EQ(lookup(page.get()), services->disc);

    auto library = std::make_shared<DVDLibrary>();
    library->setFormat(1);
    library->setAspectType(1);
    DVDMenuImageGenerator generator;
    generator.setDvd(library);
    generator.setMenu(menuPage);
    const QImage image =
        generator.generatorImageForName("menu_highlight").convertToFormat(QImage::Format_ARGB32);
    testsupport::writeArtifact(image, "subpicture-own-disc.png");
    const QRect r = drawnButton(*button);
    EXPECT_TRUE(near(at(image, r.left(), r.center().y()), own));
    EXPECT_TRUE(near(at(image, r.center().x(), r.center().y()), fill));
    EXPECT_FALSE(coloursOf(image).contains(ring.rgba()));
}

}  // namespace
