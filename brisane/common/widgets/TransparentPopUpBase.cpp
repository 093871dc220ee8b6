#include "common/widgets/TransparentPopUpBase.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr double kImageGap = 3;
constexpr double kMaxImageSide = 16;
constexpr double kTitleDrop = 2;
constexpr double kTitleInset = 4;

}  // namespace

TransparentPopUpBase::TransparentPopUpBase(Pictures pictures, QWidget* parent)
    : QComboBox(parent), pictures_(std::move(pictures))
{
}

void TransparentPopUpBase::setPullsDown(bool pullsDown)
{
    pullsDown_ = pullsDown;
    update();
}

void TransparentPopUpBase::setHighlighted(bool highlighted)
{
    highlighted_ = highlighted;
    update();
}

void TransparentPopUpBase::setImagePosition(ImagePosition position)
{
    imagePosition_ = position;
    update();
}

void TransparentPopUpBase::setTitleAlignment(Qt::Alignment alignment)
{
    titleAlignment_ = alignment;
    update();
}

void TransparentPopUpBase::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QImage TransparentPopUpBase::image() const
{
    if (!image_.isNull() || imagePosition_ == NoImage) {
        return imagePosition_ == NoImage ? QImage() : image_;
    }
    const int index = pullsDown_ ? 0 : currentIndex();
    const QIcon icon = itemIcon(index);
    if (icon.isNull()) {
        return {};
    }
    const int side = static_cast<int>(kMaxImageSide);
    return icon.pixmap(QSize(side, side)).toImage();
}

QString TransparentPopUpBase::title() const
{
    return pullsDown_ ? itemText(0) : currentText();
}

QRectF TransparentPopUpBase::bezelRect() const
{
    return {0, 0, static_cast<double>(width()), static_cast<double>(pictures_.normal.height())};
}

const QImage& TransparentPopUpBase::rightCap() const
{
    if (pullsDown_) {
        return highlighted_ ? pictures_.pullDownRightP : pictures_.pullDownRightN;
    }
    return highlighted_ ? pictures_.pressed.right() : pictures_.normal.right();
}

QRectF TransparentPopUpBase::platformImageRect(const QRectF& bounds) const
{
    const QImage picture = image();
    if (picture.isNull()) {
        return {};
    }
    const QSizeF size = QSizeF(picture.size()).boundedTo({kMaxImageSide, kMaxImageSide});
    const double left = bounds.x() + pictures_.normal.left().width();
    const double right = bounds.right() - rightCap().width();
    const double y = bounds.y() + (bezelRect().height() - size.height()) * 0.5;
    switch (imagePosition_) {
        case ImageRight:
            return {right - size.width(), y, size.width(), size.height()};
        case ImageOnly:
        case ImageOverlaps:
        case ImageAbove:
        case ImageBelow:
            return {left + (right - left - size.width()) * 0.5, y, size.width(), size.height()};
        default:
            return {left, y, size.width(), size.height()};
    }
}

QRectF TransparentPopUpBase::platformTitleRect(const QRectF& bounds) const
{
    const double lineHeight = QFontMetricsF(titleFont()).height();
    // A plain pop-up keeps its title a few pixels off the left cap.
    double left = bounds.x() + pictures_.normal.left().width() + kTitleInset;
    double right = bounds.right() - rightCap().width();
    const QRectF imageRect = platformImageRect(bounds);
    if (!imageRect.isNull()) {
        if (imagePosition_ == ImageLeft) {
            left = imageRect.right() + kImageGap;
        } else if (imagePosition_ == ImageRight) {
            right = imageRect.left() - kImageGap;
        }
    }
    // A plain pop-up sets its title a little below the middle of the body.
    const double y = bounds.y() + (bezelRect().height() - lineHeight) * 0.5 + kTitleDrop;
    return {left, y, std::max(0.0, right - left), lineHeight};
}

QRectF TransparentPopUpBase::adjustTitleForImage(QRectF rect) const
{
    if (!hasImage()) {
        return rect;
    }
    if (imagePosition_ == ImageRight && (titleAlignment_ & Qt::AlignRight)) {
        rect.translate(-3, 0);
    } else if (imagePosition_ == ImageLeft || imagePosition_ == NoImage) {
        rect.translate(2, 0);
    }
    return rect;
}

QRectF TransparentPopUpBase::imageRectForBounds(const QRectF& bounds) const
{
    return platformImageRect(bounds);
}

QSize TransparentPopUpBase::sizeHint() const
{
    const QFontMetricsF metrics(titleFont());
    double widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    }
    const double caps = pictures_.normal.left().width() + rightCap().width();
    const double imageWidth = hasImage() ? kMaxImageSide + kImageGap : 0;
    return {static_cast<int>(std::ceil(widest + caps + imageWidth + 12)),
            std::max(pictures_.normal.height(), 1)};
}

QSize TransparentPopUpBase::minimumSizeHint() const
{
    return sizeHint();
}

void TransparentPopUpBase::showPopup()
{
    setHighlighted(true);
    QComboBox::showPopup();
}

void TransparentPopUpBase::hidePopup()
{
    QComboBox::hidePopup();
    setHighlighted(false);
}

void TransparentPopUpBase::mousePressEvent(QMouseEvent* event)
{
    setHighlighted(true);
    QComboBox::mousePressEvent(event);
}

void TransparentPopUpBase::mouseReleaseEvent(QMouseEvent* event)
{
    QComboBox::mouseReleaseEvent(event);
    if (!view() || !view()->isVisible()) {
        setHighlighted(false);
    }
}

void TransparentPopUpBase::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame = rect();
    const ThreePartImage& body = highlighted_ ? pictures_.pressed : pictures_.normal;
    ThreePartImage::drawParts(painter, bezelRect(), body.left(), body.fill(), rightCap());
    drawImageWithFrame(painter, frame);
    const QString text = title();
    if (!text.isEmpty()) {
        painter.setFont(titleFont());
        painter.setPen(titleColor());
        const QRectF titleRect = titleRectForBounds(frame);
        const QString shown =
            QFontMetricsF(titleFont()).elidedText(text, Qt::ElideRight, titleRect.width());
        painter.drawText(
            titleRect,
            (titleAlignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine,
            shown);
    }
}

void TransparentPopUpBase::drawImageWithFrame(QPainter& painter, const QRectF& frame) const
{
    const QImage picture = image();
    const QRectF target = imageRectForBounds(frame);
    if (!picture.isNull() && !target.isEmpty()) {
        painter.drawImage(target, picture);
    }
}
