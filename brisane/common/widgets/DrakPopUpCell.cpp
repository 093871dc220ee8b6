#include "common/widgets/DrakPopUpCell.h"

#include <QFontDatabase>

#include "common/NamedImage.h"

namespace {

TransparentPopUpBase::Pictures darkPictures()
{
    return {ThreePartImage("DrakPopUpLeftN.tiff", "DrakPopUpFillN.tiff", "DrakPopUpRightN.tiff"),
            ThreePartImage("DrakPopUpLeftP.tiff", "DrakPopUpFillP.tiff", "DrakPopUpRightP.tiff"),
            NamedImage::imageNamed("DrakPopUpDownRightN.tif"),
            NamedImage::imageNamed("DrakPopUplDownRightP.tif")};
}

}  // namespace

DrakPopUpCell::DrakPopUpCell(QWidget* parent) : TransparentPopUpBase(darkPictures(), parent) {}

QImage DrakPopUpCell::actionImage()
{
    const QImage gear = NamedImage::imageNamed(QStringLiteral("ActionTemplate"));
    return gear.isNull() ? gear
                         : gear.scaled(10, 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QRectF DrakPopUpCell::titleRectForBounds(const QRectF& bounds) const
{
    QRectF rect = platformTitleRect(bounds);
    rect.translate(-2, -4);
    rect.setWidth(rect.width() + 6);
    return adjustTitleForImage(rect);
}

QFont DrakPopUpCell::titleFont() const
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(13);
    return font;
}

QColor DrakPopUpCell::titleColor() const
{
    return ThreePartImage::titleColor(isEnabled());
}
