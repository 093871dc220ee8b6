#include "model/EffectTextImage.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "common/CommonFunction.h"
#include "model/DVDPageItem.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(EffectTextImage)

namespace {

QImage transparentImage(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

Value gradientToValue(const QGradientStops& stops)
{
    if (stops.isEmpty()) {
        return {};
    }
    Value::Array array;
    for (const auto& stop : stops) {
        array.append(Value(Value::Array{Value(stop.first), Value(stop.second)}));
    }
    return Value(array);
}

std::optional<QGradientStops> gradientFromValue(const Value& value)
{
    if (value.isNull()) {
        return QGradientStops();
    }
    if (!value.isArray()) {
        return std::nullopt;
    }
    QGradientStops stops;
    for (const auto& entry : value.array()) {
        const auto& pair = entry.array();
        const auto location = pair.size() == 2 ? pair[0].toDouble() : std::nullopt;
        const auto colour = pair.size() == 2 ? pair[1].toColor() : std::nullopt;
        if (!location || !colour) {
            return std::nullopt;
        }
        stops.append({std::clamp(*location, 0.0, 1.0), *colour});
    }
    return stops;
}

}  // namespace

EffectTextImage::EffectTextImage()
    : m_textString(QStringLiteral("Text Here")),
      m_textFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont)),
      m_textColor(Qt::white),
      m_backgroundColor(Qt::red)
{
    m_textFont.setPointSizeF(60);
}

QFont EffectTextImage::deviceFont() const
{
    // One point per pixel, whatever the drawing device's resolution.
    QFont font = m_textFont;
    if (m_textFont.pointSizeF() > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(m_textFont.pointSizeF()))));
    }
    return font;
}

QSizeF EffectTextImage::size() const
{
    if (m_textString.isEmpty()) {
        return QSizeF(1, 1);
    }
    const QFontMetricsF metrics(deviceFont());
    const QStringList lines = m_textString.split(QLatin1Char('\n'));
    double width = 0;
    for (const auto& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const double height = metrics.height() + metrics.lineSpacing() * (lines.size() - 1);
    return QSizeF(std::max(width, 1.0), std::max(height, 1.0));
}

float EffectTextImage::outlineStrokeWidth() const
{
    return static_cast<float>(m_outlineWidth * m_textFont.pointSizeF() * 0.01 * 0.1);
}

float EffectTextImage::backgroundCornerRadius() const
{
    const QSizeF s = size();
    return static_cast<float>(std::min(s.width(), s.height())) * m_backgroundRadius * 0.5f;
}

void EffectTextImage::drawTextStringImage(QPainter& painter, bool outline) const
{
    const QFont font = deviceFont();
    const QFontMetricsF metrics(font);
    const QStringList lines = m_textString.split(QLatin1Char('\n'));
    if (!outline) {
        if (!m_textColor.isValid()) {
            return;
        }
        painter.save();
        painter.setFont(font);
        painter.setPen(m_textColor);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            painter.drawText(QPointF(0, metrics.ascent() + metrics.lineSpacing() * i), lines[i]);
        }
        painter.restore();
        return;
    }
    const float strokeWidth = outlineStrokeWidth();
    if (!m_textOutlineColor.isValid() || !(strokeWidth > 0)) {
        return;
    }
    QPainterPath path;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        path.addText(QPointF(0, metrics.ascent() + metrics.lineSpacing() * i), font, lines[i]);
    }
    // The stroke width is a percentage of the point size; only the outline
    // is drawn, the letters are not filled.
    const double penWidth = strokeWidth / 100.0 * m_textFont.pointSizeF();
    painter.save();
    painter.strokePath(path, QPen(m_textOutlineColor, penWidth));
    painter.restore();
}

QImage EffectTextImage::textSourceImage() const
{
    const QSizeF s = size();
    const QSize pixels(static_cast<int>(std::ceil(s.width())),
                       static_cast<int>(std::ceil(s.height())));
    const QRectF r(QPointF(0, 0), s);
    QImage image = transparentImage(pixels);
    if (image.isNull()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);

    QPainterPath box;
    const double radius = backgroundCornerRadius();
    box.addRoundedRect(r, radius, radius);
    painter.save();
    painter.setClipPath(box);
    if (m_backgroundType == 1 && m_backgroundColor.isValid()) {
        painter.fillPath(box, m_backgroundColor);
    } else if (m_backgroundType == 2 && !m_backgroundImage.isNull()) {
        painter.drawImage(r, m_backgroundImage);
    }
    painter.restore();

    if (m_textFillType != 1 && m_textFillType != 2) {
        drawTextStringImage(painter, false);
    } else {
        // The letters in textColor serve as the mask of the gradient or picture.
        QImage letters = transparentImage(pixels);
        QPainter layer(&letters);
        layer.setRenderHints(painter.renderHints());
        drawTextStringImage(layer, false);
        layer.setCompositionMode(QPainter::CompositionMode_SourceIn);
        if (m_textFillType == 1 && !m_textGradient.isEmpty()) {
            QLinearGradient gradient(r.topLeft(), r.bottomLeft());
            gradient.setStops(m_textGradient);
            layer.fillRect(r, gradient);
        } else if (m_textFillType == 2 && !m_textImage.isNull()) {
            layer.drawImage(r, m_textImage);
        }
        layer.end();
        painter.drawImage(QPointF(0, 0), letters);
    }
    if (m_hasOutline) {
        drawTextStringImage(painter, true);
    }
    painter.end();
    return image;
}

void EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(const EffectTextImage& text)
{
    // Only the text an item shows sizes it: a text taken off its item (a
    // title turned into a picture) may still be reached by an undo step.
    const auto item = text.media();
    if (item && item->textSource().get() == &text && item->isTextItem()) {
        const QPointF centre = CommonFunction::centerForRect(item->frame());
        item->setFrame(CommonFunction::rectForCenter(centre, text.size()));
    }
    if (item) {
        item->displayCanvasView();
    }
}

void EffectTextImage::flushOtherEffectTextWithSelfAttributes(EffectTextImage& other) const
{
    other.setBackgroundType(m_backgroundType);
    other.setBackgroundImage(m_backgroundImage);
    other.setBackgroundColor(m_backgroundColor);
    other.setBackgroundRadius(m_backgroundRadius);
    other.setTextFont(m_textFont);
    other.setAlignment(m_alignment);
    other.setTextFillType(m_textFillType);
    other.setTextImage(m_textImage);
    other.setTextGradient(m_textGradient);
    other.setTextColor(m_textColor);
    other.setTextOutlineColor(m_textOutlineColor);
    other.setHasOutline(m_hasOutline);
    other.setOutlineWidth(m_outlineWidth);
    updaeDVDPageItemFrameWhenSizeChanged(other);
}

QStringList EffectTextImage::allCoderKeys() const
{
    return {
        "backgroundType", "backgroundImage",  "backgroundColor", "backgroundRadius", "textFont",
        "textString",     "alignment",        "textFillType",    "textImage",        "textGradient",
        "textColor",      "textOutlineColor", "hasOutline",      "outlineWidth",     "media"};
}

const PropertyTable& EffectTextImage::properties()
{
    using E = EffectTextImage;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("backgroundType", &E::backgroundType, &E::setBackgroundType)
            .add("backgroundImage", &E::backgroundImage, &E::setBackgroundImage)
            .add("backgroundColor", &E::backgroundColor, &E::setBackgroundColor)
            .add("backgroundRadius", &E::backgroundRadius, &E::setBackgroundRadius)
            .add("textFont", &E::textFont, &E::setTextFont)
            .add("textString", &E::textString, &E::setTextString)
            .add("alignment", &E::alignment, &E::setAlignment)
            .add("textFillType", &E::textFillType, &E::setTextFillType)
            .add("textImage", &E::textImage, &E::setTextImage)
            .add(
                "textGradient",
                [](const Object& o) {
                    return gradientToValue(dynamic_cast<const E&>(o).textGradient());
                },
                [](Object& o, const Value& v) {
                    const auto stops = gradientFromValue(v);
                    if (!stops) {
                        return false;
                    }
                    dynamic_cast<E&>(o).setTextGradient(*stops);
                    return true;
                })
            .add("textColor", &E::textColor, &E::setTextColor)
            .add("textOutlineColor", &E::textOutlineColor, &E::setTextOutlineColor)
            .add("hasOutline", &E::hasOutline, &E::setHasOutline)
            .add("outlineWidth", &E::outlineWidth, &E::setOutlineWidth)
            .add("media", &E::media, &E::setMedia);
    return table;
}
