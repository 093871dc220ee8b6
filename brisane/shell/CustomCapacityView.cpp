#include "shell/CustomCapacityView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/NamedImage.h"

CustomCapacityView::CustomCapacityView(QWidget* parent) : QWidget(parent)
{
    m_gradient = defaultGradient();
    setMinimumHeight(24);
}

QGradientStops CustomCapacityView::defaultGradient()
{
    return {
        {0.0, QColor::fromRgbF(1, 242 / 255.0, 7 / 255.0, 1)},
        {0.33, QColor::fromRgbF(1, 175 / 255.0, 11 / 255.0, 1)},
        {0.66, QColor::fromRgbF(1, 121 / 255.0, 8 / 255.0, 1)},
        {1.0, QColor::fromRgbF(1, 0, 0, 1)},
    };
}

void CustomCapacityView::setGradient(const QGradientStops& stops)
{
    m_gradient = stops.isEmpty() ? defaultGradient() : stops;
    update();
}

void CustomCapacityView::setCapacityValue(float value)
{
    m_capacityValue = value;
    update();
}

void CustomCapacityView::setShowString(const QString& text)
{
    m_showString = text;
    update();
}

QRectF CustomCapacityView::contentRect(const QRectF& bounds)
{
    return bounds.adjusted(5, 4, -5, -4);
}

QRectF CustomCapacityView::outlineRect(const QRectF& content)
{
    return content.adjusted(1, 2, -1, -2);
}

QRectF CustomCapacityView::filledRect(const QRectF& content, float value)
{
    const double fraction = std::isnan(value) || value < 0 ? 0.0 : double(value);
    return QRectF(content.topLeft(), QSizeF(fraction * content.width(), content.height()));
}

void CustomCapacityView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF content = contentRect(rect());
    QPainterPath outline;
    outline.addRoundedRect(outlineRect(content), OutlineRadius, OutlineRadius);

    painter.setPen(QPen(Qt::black, 1));
    painter.drawPath(outline);
    painter.drawImage(content, NamedImage::imageNamed(QStringLiteral("levelBottom")));
    painter.fillPath(outline, QColor::fromRgbF(0, 0, 0, 0.7));

    painter.save();
    painter.setClipRect(filledRect(content, m_capacityValue));
    const QRectF across = outline.boundingRect();
    QLinearGradient fill(across.left(), 0, across.right(), 0);
    fill.setStops(m_gradient);
    painter.fillPath(outline, fill);
    painter.restore();

    painter.drawImage(content, NamedImage::imageNamed(QStringLiteral("levelTop")));
    drawShowString(painter, content);
}

void CustomCapacityView::drawShowString(QPainter& painter, const QRectF& content) const
{
    if (m_showString.isEmpty()) {
        return;
    }
    QFont textFont = font();
    textFont.setPixelSize(14);
    const QFontMetricsF metrics(textFont);
    const QString text =
        metrics.elidedText(m_showString, Qt::ElideMiddle, std::max(0.0, content.width() - 20));
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    // Right-aligned 10 points from the track's end, centred a point high.
    const QRectF box(content.right() - size.width() - 10,
                     content.top() + (content.height() - size.height()) * 0.5 - 1, size.width(),
                     size.height());
    painter.setFont(textFont);
    painter.setPen(QColor::fromRgbF(0.9, 0.9, 0.9, 1));
    painter.drawText(box, Qt::AlignCenter, text);
}
