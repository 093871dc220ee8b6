#include "common/FilterImage.h"

#include <QHash>
#include <QPainter>
#include <QtDebug>
#include <cmath>
#include <optional>

#include "platform/Numeric.h"

struct FilterImage::Node {
    enum class Kind { Image, Color, Composite };
    Kind kind = Kind::Image;
    QImage image;
    QColor color;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    std::shared_ptr<const Node> input;
    std::shared_ptr<const Node> background;
    QTransform transform;  // this node's own space to its parent's

    // The covered rectangle in the parent's space; nullopt when infinite.
    std::optional<QRectF> extent() const;
    // Draws the node onto a layer whose device transform from y-up space is `toDevice`.
    void draw(QPainter& painter, const QTransform& toDevice, const QSize& layerSize) const;
};

namespace {

using Mode = QPainter::CompositionMode;

const QHash<QString, Mode>& compositingFilters()
{
    static const QHash<QString, Mode> filters{
        {QStringLiteral("CISourceOverCompositing"), QPainter::CompositionMode_SourceOver},
        {QStringLiteral("CISourceInCompositing"), QPainter::CompositionMode_SourceIn},
        {QStringLiteral("CISourceOutCompositing"), QPainter::CompositionMode_SourceOut},
        {QStringLiteral("CISourceAtopCompositing"), QPainter::CompositionMode_SourceAtop},
        {QStringLiteral("CIMultiplyCompositing"), QPainter::CompositionMode_Multiply},
        {QStringLiteral("CIScreenCompositing"), QPainter::CompositionMode_Screen},
        {QStringLiteral("CIAdditionCompositing"), QPainter::CompositionMode_Plus},
        {QStringLiteral("CIDarkenCompositing"), QPainter::CompositionMode_Darken},
        {QStringLiteral("CILightenCompositing"), QPainter::CompositionMode_Lighten},
        {QStringLiteral("CIDifferenceCompositing"), QPainter::CompositionMode_Difference},
    };
    return filters;
}

QImage transparentLayer(const QSize& size)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    if (!layer.isNull()) {
        layer.fill(Qt::transparent);
    }
    return layer;
}

std::optional<QRectF> unite(const std::optional<QRectF>& a, const std::optional<QRectF>& b)
{
    if (!a || !b) {
        return std::nullopt;
    }
    return a->united(*b);
}

std::optional<QRectF> intersect(const std::optional<QRectF>& a, const std::optional<QRectF>& b)
{
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return a->intersected(*b);
}

}  // namespace

std::optional<QRectF> FilterImage::Node::extent() const
{
    std::optional<QRectF> own;
    switch (kind) {
        case Kind::Image:
            own = QRectF(QPointF(0, 0), image.size());
            break;
        case Kind::Color:
            return std::nullopt;
        case Kind::Composite: {
            const auto top = input->extent();
            const auto bottom = background->extent();
            switch (mode) {
                case QPainter::CompositionMode_SourceIn:
                    own = intersect(top, bottom);
                    break;
                case QPainter::CompositionMode_SourceOut:
                    own = top;
                    break;
                case QPainter::CompositionMode_SourceAtop:
                    own = bottom;
                    break;
                default:
                    own = unite(top, bottom);
                    break;
            }
            break;
        }
    }
    if (!own) {
        return std::nullopt;
    }
    return transform.mapRect(*own);
}

void FilterImage::Node::draw(QPainter& painter, const QTransform& toDevice,
                             const QSize& layerSize) const
{
    const QTransform here = transform * toDevice;
    switch (kind) {
        case Kind::Image: {
            // Rows run top-down; the picture's bottom row sits on y = 0.
            const QTransform rows(1, 0, 0, -1, 0, image.height());
            painter.save();
            painter.setTransform(rows * here);
            painter.drawImage(QPointF(0, 0), image);
            painter.restore();
            break;
        }
        case Kind::Color:
            painter.fillRect(QRect(QPoint(0, 0), layerSize), color);
            break;
        case Kind::Composite: {
            QImage bottom = transparentLayer(layerSize);
            QImage top = transparentLayer(layerSize);
            if (bottom.isNull() || top.isNull()) {
                return;
            }
            {
                QPainter bottomPainter(&bottom);
                bottomPainter.setRenderHint(QPainter::SmoothPixmapTransform);
                background->draw(bottomPainter, here, layerSize);
                QPainter topPainter(&top);
                topPainter.setRenderHint(QPainter::SmoothPixmapTransform);
                input->draw(topPainter, here, layerSize);
                topPainter.end();
                bottomPainter.setCompositionMode(mode);
                bottomPainter.drawImage(QPoint(0, 0), top);
            }
            painter.save();
            painter.resetTransform();
            painter.drawImage(QPoint(0, 0), bottom);
            painter.restore();
            break;
        }
    }
}

FilterImage::FilterImage() = default;

FilterImage::FilterImage(std::shared_ptr<const Node> node) : node_(std::move(node)) {}

FilterImage::FilterImage(const QImage& image)
{
    if (image.isNull()) {
        return;
    }
    auto node = std::make_shared<Node>();
    node->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    node_ = std::move(node);
}

FilterImage FilterImage::imagewithColor(const QColor& color)
{
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::Color;
    node->color = color.isValid() ? color.toRgb() : QColor(0, 0, 0, 0);
    return FilterImage(std::shared_ptr<const Node>(std::move(node)));
}

bool FilterImage::isInfinite() const
{
    return node_ && !node_->extent();
}

QRectF FilterImage::extent() const
{
    if (!node_) {
        return {};
    }
    return node_->extent().value_or(QRectF());
}

FilterImage FilterImage::transformed(const QTransform& transform) const
{
    if (!node_) {
        return {};
    }
    auto node = std::make_shared<Node>(*node_);
    node->transform = node_->transform * transform;
    return FilterImage(std::shared_ptr<const Node>(std::move(node)));
}

FilterImage FilterImage::translateImageWithSize(const QSizeF& delta) const
{
    return transformed(QTransform::fromTranslate(delta.width(), delta.height()));
}

FilterImage FilterImage::scaleImageWithSize(const QSizeF& factors) const
{
    return transformed(QTransform::fromScale(factors.width(), factors.height()));
}

FilterImage FilterImage::rotateImageWithAngle(float radians) const
{
    // In y-up space Qt's positive angle turns counter-clockwise.
    return transformed(QTransform().rotateRadians(radians));
}

FilterImage FilterImage::composition(const QString& filterName, const FilterImage& image,
                                     const FilterImage& background)
{
    const auto found = compositingFilters().constFind(filterName);
    if (found == compositingFilters().constEnd()) {
        qWarning().noquote() << "No compositing filter named" << filterName;
        return {};
    }
    if (image.isNull() || background.isNull()) {
        return {};
    }
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::Composite;
    node->mode = *found;
    node->input = image.node_;
    node->background = background.node_;
    return FilterImage(std::shared_ptr<const Node>(std::move(node)));
}

FilterImage FilterImage::sourceOverImage(const FilterImage& background) const
{
    return composition(QStringLiteral("CISourceOverCompositing"), *this, background);
}

FilterImage FilterImage::sourceInImage(const FilterImage& background) const
{
    return composition(QStringLiteral("CISourceInCompositing"), *this, background);
}

QImage FilterImage::render(const QRectF& region) const
{
    if (!node_ || region.isEmpty()) {
        return {};
    }
    const QSize size(saturatingCast<int>(std::ceil(region.width())),
                     saturatingCast<int>(std::ceil(region.height())));
    QImage result = transparentLayer(size);
    if (result.isNull()) {
        qWarning() << "FilterImage: cannot allocate" << size;
        return result;
    }
    // y-up space to the device: shift the region to the origin, then flip.
    const QTransform toDevice(1, 0, 0, -1, -region.x(), region.y() + size.height());
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    node_->draw(painter, toDevice, size);
    return result;
}

QImage FilterImage::render() const
{
    const QRectF area = extent();
    return isInfinite() ? QImage() : render(area);
}
