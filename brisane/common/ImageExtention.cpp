#include "common/ImageExtention.h"

#include <QPainter>

QImage ImageExtention::bwTintedImageWithColor(const QImage& image, const QColor& color)
{
    if (image.isNull()) {
        return {};
    }
    QImage tinted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(tinted.rect(), color);
    painter.end();
    return tinted;
}

std::optional<QColor> ImageExtention::convertToRGBColor(const QColor& color)
{
    if (!color.isValid()) {
        return std::nullopt;
    }
    return color.toRgb();
}

QColor ImageExtention::cicolor(const QColor& color)
{
    const auto rgb = convertToRGBColor(color);
    return rgb ? *rgb : QColor(0, 0, 0, 0);
}
