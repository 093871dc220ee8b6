#pragma once
// The styled text of a menu element (a title shown as text, a static
// decoration text, a button shown as text): string, font, fill (solid colour,
// gradient or picture), outline and a box behind the text, rendered into one
// picture whose size is the size of the text. The element owns its text;
// `media` links back to the element without owning it.
//
// Sizes are in points, one point per pixel of the rendered picture; font
// sizes are point sizes measured at 72 dots per inch, so a 60-point font is
// 60 pixels tall. Text is drawn from the top left, lines left aligned;
// `alignment` is kept for the dialogs and archived, not applied here.

#include <QColor>
#include <QFont>
#include <QGradient>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

#include "platform/CodingBase.h"

class DVDPageItem;
class QPainter;

class EffectTextImage : public CodingBase {
public:
    // "Text Here", white, in the system font at 60 points, no box.
    EffectTextImage();

    // The natural size of the text, each side at least 1 point.
    QSizeF size() const;
    // The rendered text: box, letters (solid, gradient or picture), outline.
    QImage textSourceImage() const;
    // Draws the text once at the top left of `painter`: in textColor, or,
    // for the outline pass, as an outline in textOutlineColor.
    void drawTextStringImage(QPainter& painter, bool outline) const;
    // The stroke width of the outline pass as a fraction-of-font figure:
    // outlineWidth x point size x 0.01 x 0.1 (0.6 for 10 at 60 points). The
    // pen drawn is this percentage of the point size.
    float outlineStrokeWidth() const;

    // Resizes `text`'s element to the text's size about the element's centre
    // and asks for a redisplay through that element (its page's disc).
    static void updaeDVDPageItemFrameWhenSizeChanged(const EffectTextImage& text);
    // Copies this text's style (everything but the string and the element)
    // to `other`, then resizes other's element.
    void flushOtherEffectTextWithSelfAttributes(EffectTextImage& other) const;

    // --- Properties ---
    QString textString() const { return m_textString; }
    void setTextString(const QString& text) { m_textString = text; }
    QFont textFont() const { return m_textFont; }
    void setTextFont(const QFont& font) { m_textFont = font; }
    quint64 alignment() const { return m_alignment; }
    void setAlignment(quint64 alignment) { m_alignment = alignment; }
    // 1 gradient, 2 picture, any other value solid colour.
    quint64 textFillType() const { return m_textFillType; }
    void setTextFillType(quint64 type) { m_textFillType = type; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color) { m_textColor = color; }
    // Colour stops from the top (0) to the bottom (1) of the text; empty for none.
    QGradientStops textGradient() const { return m_textGradient; }
    void setTextGradient(const QGradientStops& stops) { m_textGradient = stops; }
    QImage textImage() const { return m_textImage; }
    void setTextImage(const QImage& image) { m_textImage = image; }
    bool hasOutline() const { return m_hasOutline; }
    void setHasOutline(bool on) { m_hasOutline = on; }
    QColor textOutlineColor() const { return m_textOutlineColor; }
    void setTextOutlineColor(const QColor& color) { m_textOutlineColor = color; }
    float outlineWidth() const { return m_outlineWidth; }
    void setOutlineWidth(float width) { m_outlineWidth = width; }
    // 1 solid colour, 2 picture, any other value none.
    quint64 backgroundType() const { return m_backgroundType; }
    void setBackgroundType(quint64 type) { m_backgroundType = type; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color) { m_backgroundColor = color; }
    QImage backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const QImage& image) { m_backgroundImage = image; }
    // Corner rounding of the box as a fraction of half the shorter side.
    float backgroundRadius() const { return m_backgroundRadius; }
    void setBackgroundRadius(float radius) { m_backgroundRadius = radius; }
    // The corner radius of the box in points for the current size.
    float backgroundCornerRadius() const;
    std::shared_ptr<DVDPageItem> media() const { return m_media.lock(); }
    void setMedia(const std::shared_ptr<DVDPageItem>& item) { m_media = item; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QFont deviceFont() const;

    QString m_textString;
    QFont m_textFont;
    quint64 m_alignment = 0;
    quint64 m_textFillType = 0;
    QColor m_textColor;
    QGradientStops m_textGradient;
    QImage m_textImage;
    bool m_hasOutline = false;
    QColor m_textOutlineColor;
    float m_outlineWidth = 0.0f;
    quint64 m_backgroundType = 0;
    QColor m_backgroundColor;
    QImage m_backgroundImage;
    float m_backgroundRadius = 0.0f;
    std::weak_ptr<DVDPageItem> m_media;
};
