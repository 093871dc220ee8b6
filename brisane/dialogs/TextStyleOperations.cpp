#include "dialogs/TextStyleOperations.h"

#include <QUndoStack>

#include "dialogs/core/TextStyleCommand.h"
#include "model/EffectTextImage.h"

TextStyleOperations::TextStyleOperations(QUndoStack& stack, MenuEditorAccess editor)
    : stack_(stack), editor_(editor)
{
}

void TextStyleOperations::displayCanvasView() const
{
    editor_.displayCanvasView();
}

template <typename Value, typename Getter, typename Setter>
void TextStyleOperations::change(const std::shared_ptr<EffectTextImage>& text, const Value& value,
                                 Getter get, Setter set, bool refit)
{
    if (!text) {
        return;
    }
    const Value old = ((*text).*get)();
    auto apply = [set, value](EffectTextImage& t) { (t.*set)(value); };
    auto revert = [set, old](EffectTextImage& t) { (t.*set)(old); };
    auto refresh = [refit, editor = editor_](EffectTextImage& t) {
        if (refit) {
            EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(t);
        } else {
            editor.displayCanvasView();
        }
    };
    stack_.push(new TextStyleCommand(text, apply, revert, refresh));
}

void TextStyleOperations::textViewString(const std::shared_ptr<EffectTextImage>& text,
                                         const QString& string)
{
    change(text, string, &EffectTextImage::textString, &EffectTextImage::setTextString, true);
}

void TextStyleOperations::textViewFont(const std::shared_ptr<EffectTextImage>& text,
                                       const QFont& font)
{
    change(text, font, &EffectTextImage::textFont, &EffectTextImage::setTextFont, true);
}

void TextStyleOperations::textViewAlignment(const std::shared_ptr<EffectTextImage>& text,
                                            quint64 alignment)
{
    change(text, alignment, &EffectTextImage::alignment, &EffectTextImage::setAlignment, false);
}

void TextStyleOperations::textViewTextFillType(const std::shared_ptr<EffectTextImage>& text,
                                               quint64 type)
{
    change(text, type, &EffectTextImage::textFillType, &EffectTextImage::setTextFillType, false);
}

void TextStyleOperations::textViewTextColor(const std::shared_ptr<EffectTextImage>& text,
                                            const QColor& colour)
{
    change(text, colour, &EffectTextImage::textColor, &EffectTextImage::setTextColor, false);
}

void TextStyleOperations::textViewTextGradient(const std::shared_ptr<EffectTextImage>& text,
                                               const QGradientStops& gradient)
{
    change(text, gradient, &EffectTextImage::textGradient, &EffectTextImage::setTextGradient,
           false);
}

void TextStyleOperations::textViewTextImage(const std::shared_ptr<EffectTextImage>& text,
                                            const QImage& image)
{
    change(text, image, &EffectTextImage::textImage, &EffectTextImage::setTextImage, false);
}

void TextStyleOperations::textViewOutlineWidth(const std::shared_ptr<EffectTextImage>& text,
                                               float width)
{
    change(text, width, &EffectTextImage::outlineWidth, &EffectTextImage::setOutlineWidth, false);
}

void TextStyleOperations::textViewOutlineColor(const std::shared_ptr<EffectTextImage>& text,
                                               const QColor& colour)
{
    change(text, colour, &EffectTextImage::textOutlineColor, &EffectTextImage::setTextOutlineColor,
           false);
}

void TextStyleOperations::textViewHasOutline(const std::shared_ptr<EffectTextImage>& text, bool on)
{
    change(text, on, &EffectTextImage::hasOutline, &EffectTextImage::setHasOutline, false);
}

void TextStyleOperations::textViewBackgroundType(const std::shared_ptr<EffectTextImage>& text,
                                                 quint64 type)
{
    change(text, type, &EffectTextImage::backgroundType, &EffectTextImage::setBackgroundType,
           false);
}

void TextStyleOperations::textViewBackgroundColor(const std::shared_ptr<EffectTextImage>& text,
                                                  const QColor& colour)
{
    change(text, colour, &EffectTextImage::backgroundColor, &EffectTextImage::setBackgroundColor,
           false);
}

void TextStyleOperations::textViewBackgroundImage(const std::shared_ptr<EffectTextImage>& text,
                                                  const QImage& image)
{
    change(text, image, &EffectTextImage::backgroundImage, &EffectTextImage::setBackgroundImage,
           false);
}

void TextStyleOperations::textViewBackFilletValue(const std::shared_ptr<EffectTextImage>& text,
                                                  float fillet)
{
    change(text, fillet, &EffectTextImage::backgroundRadius, &EffectTextImage::setBackgroundRadius,
           false);
}
