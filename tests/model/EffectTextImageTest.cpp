#include <QFontDatabase>
#include <QPainter>

#include "DVDResourceTestFixture.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"

using namespace disctest;

namespace {

using EffectTextImageTest = DiscSideTest;

// The share of pixels of a picture that satisfy a test.
template <typename Test>
double share(const QImage& image, Test test)
{
    qint64 hits = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            hits += test(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return static_cast<double>(hits) / std::max(1, image.width() * image.height());
}

bool opaque(const QColor& c)
{
    return c.alpha() > 200;
}

TEST_F(EffectTextImageTest, NewTextIsWhiteOnTransparentAtItsOwnSize)
{
    EffectTextImage text;
    EXPECT_EQ(text.textString(), "Text Here");
    EXPECT_DOUBLE_EQ(text.textFont().pointSizeF(), 60);
    EXPECT_EQ(text.textFont().family(),
              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_EQ(text.allCoderKeys().size(), 15);

    const QSizeF size = text.size();
    EXPECT_GT(size.width(), 150);
    EXPECT_GT(size.height(), 55);
    const QImage image = text.textSourceImage();
    EXPECT_EQ(image.size(), QSize(std::ceil(size.width()), std::ceil(size.height())));
    // Letters are white, everything else transparent.
    const double letters = share(image, opaque);
    EXPECT_GT(letters, 0.05);
    EXPECT_LT(letters, 0.6);
    EXPECT_EQ(share(image, [](const QColor& c) { return opaque(c) && c.red() < 240; }), 0.0);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST_F(EffectTextImageTest, EmptyTextIsOnePointSquare)
{
    EffectTextImage text;
    text.setTextString("");
    EXPECT_EQ(text.size(), QSizeF(1, 1));
    EXPECT_EQ(text.textSourceImage().size(), QSize(1, 1));
}

TEST_F(EffectTextImageTest, MultipleLinesAddLineHeights)
{
    EffectTextImage one;
    EffectTextImage two;
    two.setTextString("Text Here\nand more");
    EXPECT_GT(two.size().height(), one.size().height() * 1.8);
}

TEST_F(EffectTextImageTest, BoxCornersFollowTheRadius)
{
    EffectTextImage text;
    text.setBackgroundType(1);
    text.setBackgroundColor(Qt::blue);
    const QSizeF s = text.size();
    const double shorter = std::min(s.width(), s.height());

    text.setBackgroundRadius(1.0f);
    EXPECT_NEAR(text.backgroundCornerRadius(), shorter * 0.5, 1e-3);
    QImage rounded = text.textSourceImage();
    EXPECT_EQ(rounded.pixelColor(0, 0).alpha(), 0);  // the corner is cut away
    EXPECT_EQ(rounded.pixelColor(rounded.width() / 2, 1), QColor(Qt::blue));

    text.setBackgroundRadius(0.0f);
    EXPECT_EQ(text.backgroundCornerRadius(), 0.0f);
    const QImage square = text.textSourceImage();
    EXPECT_EQ(square.pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(EffectTextImageTest, UnknownAndIncompleteFillsDrawSolidLetters)
{
    EffectTextImage solidText;
    solidText.setTextColor(Qt::yellow);
    const QImage reference = solidText.textSourceImage();

    struct Case {
        quint64 fill;
        bool withPicture;
    } cases[] = {{5, false}, {2, false}, {1, false}};
    for (const auto& c : cases) {
        EffectTextImage text;
        text.setTextColor(Qt::yellow);
        text.setTextFillType(c.fill);
        EXPECT_LE(pictureDifference(text.textSourceImage(), reference), 2) << c.fill;
    }
}

TEST_F(EffectTextImageTest, GradientAndPictureFillOnlyTheLetters)
{
    EffectTextImage text;
    text.setTextString("HHHH");
    text.setTextFillType(1);
    text.setTextGradient({{0.0, Qt::red}, {1.0, Qt::blue}});
    const QImage gradient = text.textSourceImage();
    // Letters only: where nothing is drawn it stays transparent.
    EXPECT_EQ(gradient.pixelColor(0, 0).alpha(), 0);
    // Redder at the top of the letters, bluer at the bottom.
    auto rowMean = [&gradient](int y, auto channel) {
        double sum = 0;
        int count = 0;
        for (int x = 0; x < gradient.width(); ++x) {
            const QColor c = gradient.pixelColor(x, y);
            if (c.alpha() == 255) {
                sum += channel(c);
                ++count;
            }
        }
        return count ? sum / count : -1.0;
    };
    const QFontMetricsF metrics([&] {
        QFont f = text.textFont();
        f.setPixelSize(60);
        return f;
    }());
    const int top = static_cast<int>(metrics.ascent() - metrics.capHeight()) + 3;
    const int bottom = static_cast<int>(metrics.ascent()) - 3;
    EXPECT_GT(rowMean(top, [](QColor c) { return c.red(); }),
              rowMean(bottom, [](QColor c) { return c.red(); }) + 40);
    EXPECT_LT(rowMean(top, [](QColor c) { return c.blue(); }),
              rowMean(bottom, [](QColor c) { return c.blue(); }) - 40);

    text.setTextFillType(2);
    text.setTextImage(solid(10, 10, Qt::green));
    const QImage picture = text.textSourceImage();
    EXPECT_GT(share(picture, [](const QColor& c) { return c == QColor(Qt::green); }), 0.05);
    EXPECT_EQ(share(picture, [](const QColor& c) { return opaque(c) && c.green() < 200; }), 0.0);
}

TEST_F(EffectTextImageTest, OutlineStrokeWidthScalesWithTheFont)
{
    EffectTextImage text;
    text.setOutlineWidth(10);
    EXPECT_FLOAT_EQ(text.outlineStrokeWidth(), 0.6f);
    QFont font = text.textFont();
    font.setPointSizeF(30);
    text.setTextFont(font);
    EXPECT_FLOAT_EQ(text.outlineStrokeWidth(), 0.3f);

    // The outline pass adds outline colour around the letters.
    text.setOutlineWidth(100);
    text.setTextColor(Qt::white);
    text.setTextOutlineColor(Qt::red);
    const QImage plain = text.textSourceImage();
    text.setHasOutline(true);
    const QImage outlined = text.textSourceImage();
    EXPECT_NE(plain, outlined);
    EXPECT_GT(share(outlined, [](const QColor& c) { return c.red() > 150 && c.green() < 120; }),
              0.0);
}

TEST_F(EffectTextImageTest, ResizingKeepsTheElementCentre)
{
    auto item = std::make_shared<DVDPageItem>();
    item->setType(2);
    item->setFrame(QRectF(100, 100, 300, 80));
    auto text = std::make_shared<EffectTextImage>();
    text->setMedia(item);
    item->setTextSource(text);
    const auto page = std::make_shared<DVDPage>();
    page->setItemArray({item});
    services->disc->setPageArray({page});

    QFont font = text->textFont();
    font.setPointSizeF(30);
    text->setTextFont(font);
    const int before = services->redisplays;
    EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*text);
    EXPECT_EQ(item->frame().size(), text->size());
    EXPECT_NEAR(item->frame().center().x(), 250, 1e-9);
    EXPECT_NEAR(item->frame().center().y(), 140, 1e-9);
    EXPECT_EQ(services->redisplays, before + 1);
}

TEST_F(EffectTextImageTest, StyleCopyLeavesStringAndElement)
{
    EffectTextImage source;
    source.setTextString("Source");
    source.setBackgroundType(2);
    source.setBackgroundRadius(0.3f);
    source.setTextFillType(1);
    source.setTextGradient({{0, Qt::red}, {1, Qt::black}});
    source.setTextColor(Qt::cyan);
    source.setTextOutlineColor(Qt::magenta);
    source.setHasOutline(true);
    source.setOutlineWidth(4);
    source.setAlignment(2);

    // A text title showing `other`.
    auto item = std::make_shared<DVDPageItem>();
    item->setType(4);
    item->setFrame(QRectF(0, 0, 10, 10));
    auto shown = std::make_shared<EffectTextImage>();
    EffectTextImage& other = *shown;
    item->setTextSource(shown);
    other.setTextString("Other");
    other.setMedia(item);
    source.flushOtherEffectTextWithSelfAttributes(other);
    EXPECT_EQ(other.textString(), "Other");
    EXPECT_EQ(other.media(), item);
    EXPECT_EQ(other.backgroundType(), 2u);
    EXPECT_FLOAT_EQ(other.backgroundRadius(), 0.3f);
    EXPECT_EQ(other.textFillType(), 1u);
    EXPECT_EQ(other.textGradient(), source.textGradient());
    EXPECT_EQ(other.textColor(), QColor(Qt::cyan));
    EXPECT_EQ(other.textOutlineColor(), QColor(Qt::magenta));
    EXPECT_TRUE(other.hasOutline());
    EXPECT_FLOAT_EQ(other.outlineWidth(), 4);
    EXPECT_EQ(other.alignment(), 2u);
    EXPECT_EQ(item->frame().size(), other.size());

    // Taken off its item (the title became a picture), the text no longer
    // sizes it, though it still names the item.
    item->setTextSource(nullptr);
    item->setType(1);
    item->setFrame(QRectF(0, 0, 200, 150));
    source.flushOtherEffectTextWithSelfAttributes(other);
    EXPECT_EQ(other.media(), item);
    EXPECT_EQ(item->frame(), QRectF(0, 0, 200, 150));
}

}  // namespace
