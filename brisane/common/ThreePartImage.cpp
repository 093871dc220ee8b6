#include "common/ThreePartImage.h"

#include <QPainter>
#include <cmath>

#include "common/NamedImage.h"

ThreePartImage::ThreePartImage(const QString& left, const QString& fill, const QString& right)
    : left_(NamedImage::imageNamed(left)),
      fill_(NamedImage::imageNamed(fill)),
      right_(NamedImage::imageNamed(right))
{
}

void ThreePartImage::draw(QPainter& painter, const QRectF& rect, qreal opacity) const
{
    drawParts(painter, rect, left_, fill_, right_, opacity);
}

void ThreePartImage::drawParts(QPainter& painter, const QRectF& rect, const QImage& left,
                               const QImage& fill, const QImage& right, qreal opacity)
{
    if (rect.isEmpty()) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(painter.opacity() * opacity);
    const double leftWidth = std::min<double>(left.width(), rect.width());
    const double rightWidth = std::min<double>(right.width(), rect.width() - leftWidth);
    if (!left.isNull()) {
        painter.drawImage(QRectF(rect.x(), rect.y(), leftWidth, rect.height()), left,
                          QRectF(0, 0, leftWidth, left.height()));
    }
    const QRectF middle(rect.x() + leftWidth, rect.y(), rect.width() - leftWidth - rightWidth,
                        rect.height());
    if (!fill.isNull() && middle.width() > 0) {
        painter.drawImage(middle, fill);
    }
    if (!right.isNull() && rightWidth > 0) {
        painter.drawImage(QRectF(rect.right() - rightWidth, rect.y(), rightWidth, rect.height()),
                          right, QRectF(right.width() - rightWidth, 0, rightWidth, right.height()));
    }
    painter.restore();
}

double ThreePartImage::nearest(double x)
{
    return std::round(static_cast<float>(x));
}

QColor ThreePartImage::titleColor(bool enabled, qreal enabledAlpha)
{
    if (!enabled) {
        return QColor::fromRgbF(0.6f, 0.6f, 0.6f, 1.0f);
    }
    return QColor::fromRgbF(1.0f, 1.0f, 1.0f, static_cast<float>(enabledAlpha));
}
