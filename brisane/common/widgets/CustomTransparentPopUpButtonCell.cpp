#include "common/widgets/CustomTransparentPopUpButtonCell.h"

#include <QFontDatabase>

#include "common/NamedImage.h"

namespace {

TransparentPopUpBase::Pictures transparentPictures()
{
    return {
        ThreePartImage("TransparentPopUpLeftN", "TransparentPopUpFillN", "TransparentPopUpRightN"),
        ThreePartImage("TransparentPopUpLeftP", "TransparentPopUpFillP", "TransparentPopUpRightP"),
        NamedImage::imageNamed("TransparentPopUpPullDownRightN"),
        NamedImage::imageNamed("TransparentPopUpPullDownRightP")};
}

}  // namespace

CustomTransparentPopUpButtonCell::CustomTransparentPopUpButtonCell(QWidget* parent)
    : TransparentPopUpBase(transparentPictures(), parent)
{
}

void CustomTransparentPopUpButtonCell::setControlSize(int size)
{
    controlSize_ = size;
    updateGeometry();
    update();
}

QRectF CustomTransparentPopUpButtonCell::imageRectForBounds(const QRectF& bounds) const
{
    QRectF rect = platformImageRect(bounds);
    if (rect.isNull()) {
        return rect;
    }
    rect.translate(0, -1);
    switch (imagePosition()) {
        case ImageOnly:
        case ImageOverlaps:
        case ImageAbove:
        case ImageBelow:
            rect.translate(4, 0);
            break;
        case ImageRight:
            rect.translate(3, 0);
            break;
        default:  // image left, no image
            rect.translate(-1, 0);
            break;
    }
    return rect;
}

QRectF CustomTransparentPopUpButtonCell::titleRectForBounds(const QRectF& bounds) const
{
    QRectF rect = platformTitleRect(bounds);
    rect.translate(-2, controlSize_ == ThreePartImage::RegularControlSize ? -3 : -1);
    rect.setWidth(rect.width() + 6);
    return adjustTitleForImage(rect);
}

QFont CustomTransparentPopUpButtonCell::titleFont() const
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(controlSize_ == ThreePartImage::RegularControlSize ? 13 : 11);
    return font;
}

QColor CustomTransparentPopUpButtonCell::titleColor() const
{
    return isEnabled() ? QColor(Qt::white) : QColor::fromRgbF(1, 1, 1, 0.6f);
}
