#include "dialogs/ImageWell.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "common/CommonFunction.h"

ImageWell::ImageWell(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAcceptDrops(true);
    setFixedSize(64, 48);
}

void ImageWell::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QImage ImageWell::imageFromMimeData(const QMimeData& data)
{
    if (data.hasImage()) {
        const QImage image = qvariant_cast<QImage>(data.imageData());
        if (!image.isNull()) {
            return image;
        }
    }
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            const QImage image(url.toLocalFile());
            if (!image.isNull()) {
                return image;
            }
        }
    }
    return {};
}

void ImageWell::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF box = QRectF(contentsRect()).adjusted(3, 3, -3, -3);
    painter.drawImage(CommonFunction::scaleRectIn(QRectF(image_.rect()), box), image_);
}

void ImageWell::dragEnterEvent(QDragEnterEvent* event)
{
    if (isEnabled() && (event->mimeData()->hasImage() || event->mimeData()->hasUrls())) {
        event->acceptProposedAction();
    }
}

void ImageWell::dropEvent(QDropEvent* event)
{
    const QImage image = imageFromMimeData(*event->mimeData());
    if (image.isNull()) {
        return;
    }
    event->acceptProposedAction();
    emit imageDropped(image);
}
