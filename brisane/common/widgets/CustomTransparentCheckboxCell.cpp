#include "common/widgets/CustomTransparentCheckboxCell.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include "common/NamedImage.h"

namespace {

constexpr int kIndicatorWidth = 18;
constexpr int kTitleGap = 4;

}  // namespace

CustomTransparentCheckboxCell::CustomTransparentCheckboxCell(QWidget* parent)
    : CustomTransparentCheckboxCell(QString(), parent)
{
}

CustomTransparentCheckboxCell::CustomTransparentCheckboxCell(const QString& text, QWidget* parent)
    : QCheckBox(text, parent)
{
}

QColor CustomTransparentCheckboxCell::interiorColor() const
{
    return ThreePartImage::titleColor(isEnabled(), 0.9);
}

QString CustomTransparentCheckboxCell::boxImageName(bool on, bool highlighted)
{
    if (on) {
        return highlighted ? QStringLiteral("TransparentCheckboxOnP")
                           : QStringLiteral("TransparentCheckboxOnN");
    }
    return highlighted ? QStringLiteral("TransparentCheckboxOffP")
                       : QStringLiteral("TransparentCheckboxOffN");
}

QRectF CustomTransparentCheckboxCell::imageFrame() const
{
    return {0, 0, static_cast<double>(kIndicatorWidth), static_cast<double>(height())};
}

QImage CustomTransparentCheckboxCell::boxImage() const
{
    // A mixed box counts as on.
    return NamedImage::imageNamed(boxImageName(checkState() != Qt::Unchecked, isDown()));
}

QRectF CustomTransparentCheckboxCell::boxRect() const
{
    const QImage image = boxImage();
    const QRectF frame = imageFrame();
    // Placed for pictures 15 high: such a picture sits centred in the frame.
    const double y = ThreePartImage::nearest(frame.y() + frame.height() -
                                             (frame.height() - image.height()) / 2.0 - 15);
    return {frame.x() + 1, y, static_cast<double>(image.width()),
            static_cast<double>(image.height())};
}

QSize CustomTransparentCheckboxCell::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int titleWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text()) + kTitleGap;
    return {kIndicatorWidth + titleWidth + 2, std::max(18, metrics.height())};
}

QSize CustomTransparentCheckboxCell::minimumSizeHint() const
{
    return sizeHint();
}

bool CustomTransparentCheckboxCell::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void CustomTransparentCheckboxCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage image = boxImage();
    if (!image.isNull()) {
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(isEnabled() ? 1.0 : 0.6);
        painter.drawImage(boxRect().topLeft(), image);
        painter.restore();
    }
    drawTitle(painter);
}

void CustomTransparentCheckboxCell::drawTitle(QPainter& painter) const
{
    if (text().isEmpty()) {
        return;
    }
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (font().pixelSize() > 0) {
        titleFont.setPixelSize(font().pixelSize());
    } else {
        titleFont.setPointSizeF(font().pointSizeF());
    }
    painter.setFont(titleFont);
    const QRectF titleRect(kIndicatorWidth + kTitleGap, 0, width() - kIndicatorWidth - kTitleGap,
                           height());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    // The shadow falls one pixel below the title, in translucent black.
    painter.setPen(QColor(0, 0, 0, 85));
    painter.drawText(titleRect.translated(0, 1), flags, text());
    painter.setPen(interiorColor());
    painter.drawText(titleRect, flags, text());
}
