#include "common/CursorExtention.h"

#include <QPixmap>

#include "common/CommonFunctionImages.h"
#include "common/NamedImage.h"

namespace {

const QString kLeftRightPicture = QStringLiteral("resize-left-right-cursor");

}  // namespace

QCursor CursorExtention::cursorWithImage(const QImage& image)
{
    if (image.isNull()) {
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(QPixmap::fromImage(image), static_cast<int>(image.width() * 0.5),
                   static_cast<int>(image.height() * 0.5));
}

QImage CursorExtention::resizeDiagonalImage(float degrees)
{
    const QImage leftRight = NamedImage::imageNamed(kLeftRightPicture);
    return CommonFunctionImages::rotateImage(leftRight, QSizeF(leftRight.size()), degrees);
}

QCursor CursorExtention::resizeLeftTopToRightBottom()
{
    return cursorWithImage(resizeDiagonalImage(-45));
}

QCursor CursorExtention::resizeLeftBottomToRightTop()
{
    return cursorWithImage(resizeDiagonalImage(45));
}

QCursor CursorExtention::resizeRotate()
{
    return cursorWithImage(NamedImage::imageNamed(QStringLiteral("resize-rotate-cursor")));
}
