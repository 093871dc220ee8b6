#include "production/DVDMenuImageGeneratorCustomImage.h"

#include <QPainter>
#include <algorithm>

#include "corvane/DLBitmapImage.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuImageGenerator.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/EffectTextImage.h"

namespace {

const QString highlightName = QStringLiteral("menu_highlight");
const QString selectName = QStringLiteral("menu_select");
const QString imageName = QStringLiteral("menu_image");

// Below this a corner radius draws square corners.
constexpr double smallestRadius = 0.9;
// The largest share of a button's side its border may take.
constexpr double borderShare = 0.3;

void fillNormalImage(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(200, 200, 1, 1), QColor::fromRgbF(1, 1, 1, 0.07f));
    painter.restore();
}

}  // namespace

void DVDMenuImageGeneratorCustomImage::install(DiscLookup lookup)
{
    if (!lookup) {
        lookup = &discForMenu;
    }
    DVDMenuImageGenerator::setDrawDVDMenuImageHook(
        [lookup = std::move(lookup)](DVDMenuImageGenerator& generator, const QString& name,
                                     const QSizeF& size) {
            const auto disc = lookup(generator.menu().get());
            drawDVDMenuImageSize(generator, size, name, styleForDisc(disc.get()));
        });
}

void DVDMenuImageGeneratorCustomImage::uninstall()
{
    DVDMenuImageGenerator::setDrawDVDMenuImageHook({});
}

void DVDMenuImageGeneratorCustomImage::drawDVDMenuImageSize(DVDMenuImageGenerator& generator,
                                                            const QSizeF& size, const QString& name,
                                                            const HighlightStyle& style)
{
    QPainter* painter = DLBitmapImage::currentContext();
    if (!painter) {
        return;
    }
    const auto menu = generator.menu();
    drawDVDMenuImage(*painter, menu.get(), size, name, style);
}

void DVDMenuImageGeneratorCustomImage::drawDVDMenuImage(QPainter& painter, const DVDMenuPage* menu,
                                                        const QSizeF& size, const QString& name)
{
    const std::shared_ptr<DVDResource> disc = discForMenu(menu);
    drawDVDMenuImage(painter, menu, size, name, styleForDisc(disc.get()));
}

void DVDMenuImageGeneratorCustomImage::drawDVDMenuImage(QPainter& painter, const DVDMenuPage* menu,
                                                        const QSizeF& size, const QString& name,
                                                        const HighlightStyle& style)
{
    if (name == imageName) {
        fillNormalImage(painter);
        return;
    }
    QColor colour;
    const bool select = name == selectName;
    if (name == highlightName) {
        colour = style.borderColor;
        if (!colour.isValid()) {
            colour = defaultBorderColor();
        }
    } else if (select) {
        colour = QColor::fromRgbF(0, 0, 0, 0.35f);
    } else {
        return;
    }

    QPainterPath outlines;
    QPainterPath insides;
    if (menu) {
        const double border = style.borderWidth;
        for (const auto& element : menu->items()) {
            if (!element) {
                continue;
            }
            if (const auto shape = buttonShape(*element, menu->menuSize(), size, border)) {
                outlines.addPath(shape->outline);
                insides.addPath(shape->inside);
            }
        }
    }
    outlines.setFillRule(Qt::WindingFill);
    insides.setFillRule(Qt::WindingFill);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.fillPath(outlines, colour);
    if (!select) {
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillPath(insides, Qt::transparent);
        if (getMenuItemImageDrawUseFill()) {
            // A project without a fill colour keeps the colour set last.
            QColor fill = style.fillColor;
            if (!fill.isValid()) {
                fill = colour;
            }
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillPath(insides, fill);
        }
    }
    painter.restore();
}

DVDMenuImageGeneratorCustomImage::HighlightStyle DVDMenuImageGeneratorCustomImage::styleForDisc(
    const DVDResource* disc)
{
    return {getMenuItemImageDrawDVDBorderColor(disc), getMenuItemImageDrawDVDBorderFillColor(disc),
            getMenuItemImageDrawDVDBorderWidth(disc)};
}

QColor DVDMenuImageGeneratorCustomImage::getMenuItemImageDrawDVDBorderColor(const DVDResource* disc)
{
    return disc ? disc->borderColor() : QColor();
}

QColor DVDMenuImageGeneratorCustomImage::getMenuItemImageDrawDVDBorderFillColor(
    const DVDResource* disc)
{
    return disc ? disc->fillColor() : QColor();
}

double DVDMenuImageGeneratorCustomImage::getMenuItemImageDrawDVDBorderWidth(const DVDResource* disc)
{
    return disc ? disc->borderWidth() : 0.0;
}

std::shared_ptr<DVDResource> DVDMenuImageGeneratorCustomImage::discForMenu(const DVDMenuPage* menu)
{
    if (const auto* page = dynamic_cast<const DVDPage*>(menu)) {
        if (auto disc = page->dvdResource()) {
            return disc;
        }
    }
    return nullptr;
}

QColor DVDMenuImageGeneratorCustomImage::defaultBorderColor()
{
    return QColor::fromRgbF(0.2f, 0.2f, 0.7f, 0.7f);
}

std::optional<DVDMenuImageGeneratorCustomImage::ButtonShape>
DVDMenuImageGeneratorCustomImage::buttonShape(const DVDMenuElement& element, const QSizeF& menuSize,
                                              const QSizeF& size, double borderWidth)
{
    if (!element.isValid() || element.isStaticItem()) {
        return std::nullopt;
    }
    const QRectF scaled = DVDMenuMake::scaleRect(element.frame(), menuSize, size);
    if (scaled.isEmpty()) {
        return std::nullopt;  // wholly off the picture
    }
    const QRectF r = scaled.adjusted(-1, -1, 1, 1);
    int b = static_cast<int>(borderWidth);
    b = static_cast<int>(std::min<double>(b, borderShare * r.width()));
    b = static_cast<int>(std::min<double>(b, borderShare * r.height()));
    b = std::max(b, 0);
    const QRectF inner = r.adjusted(b, b, -b, -b);

    ButtonShape shape;
    double radius = cornerRadius(element, r);
    if (radius > smallestRadius) {
        radius = std::min({radius, r.width() / 2, r.height() / 2});
        shape.outline.addRoundedRect(r, radius, radius);
        const double innerRadius = std::max(radius - b, 0.0);
        shape.inside.addRoundedRect(inner, innerRadius, innerRadius);
    } else {
        shape.outline.addRect(r);
        shape.inside.addRect(inner);
    }
    return shape;
}

double DVDMenuImageGeneratorCustomImage::cornerRadius(const DVDMenuElement& element,
                                                      const QRectF& button)
{
    if (!element.isTextItem()) {
        return element.roundValue();
    }
    const auto* item = dynamic_cast<const DVDPageItem*>(&element);
    const auto text = item ? item->textSource() : nullptr;
    const double share = text ? text->backgroundRadius() : 0.0;
    const float side =
        std::min(static_cast<float>(button.width()), static_cast<float>(button.height()));
    return side * share * 0.5;
}
