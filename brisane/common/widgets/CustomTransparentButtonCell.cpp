#include "common/widgets/CustomTransparentButtonCell.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

CustomTransparentButtonCell::CustomTransparentButtonCell(QWidget* parent)
    : CustomTransparentButtonCell(QString(), parent)
{
}

CustomTransparentButtonCell::CustomTransparentButtonCell(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      normal_("TransparentButtonLeftN", "TransparentButtonFillN", "TransparentButtonRightN"),
      pressed_("TransparentButtonLeftP", "TransparentButtonFillP", "TransparentButtonRightP")
{
}

QColor CustomTransparentButtonCell::interiorColor() const
{
    return ThreePartImage::titleColor(isEnabled());
}

QRectF CustomTransparentButtonCell::bezelRect() const
{
    const double fillHeight = normal_.height();
    return {0, (height() - fillHeight) * 0.5, static_cast<double>(width()), fillHeight};
}

QSize CustomTransparentButtonCell::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int caps = normal_.left().width() + normal_.right().width();
    return {metrics.horizontalAdvance(text()) + caps + 16,
            std::max(normal_.height(), metrics.height())};
}

QSize CustomTransparentButtonCell::minimumSizeHint() const
{
    return sizeHint();
}

void CustomTransparentButtonCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawBezel(painter);
    drawTitle(painter);
}

void CustomTransparentButtonCell::drawBezel(QPainter& painter) const
{
    (isDown() ? pressed_ : normal_).draw(painter, bezelRect());
}

void CustomTransparentButtonCell::drawTitle(QPainter& painter) const
{
    if (text().isEmpty()) {
        return;
    }
    // The system font at the button's own size, in the title colour.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (font().pixelSize() > 0) {
        titleFont.setPixelSize(font().pixelSize());
    } else {
        titleFont.setPointSizeF(font().pointSizeF());
    }
    painter.setFont(titleFont);
    painter.setPen(interiorColor());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}
