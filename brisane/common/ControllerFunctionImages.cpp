#include "common/ControllerFunctionImages.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtDebug>

#include "common/CommonFunctionImages.h"
#include "common/NamedImage.h"
#include "platform/BoundedImage.h"

namespace {

const QString kTitleFamily = QStringLiteral("STIXGeneral");

QImage transparentImage(const QSize& size)
{
    if (size.isEmpty()) {
        return {};
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
        image.fill(Qt::transparent);
    }
    return image;
}

// The text's single-line size in the font.
QSizeF textSize(const QFont& font, const QString& text)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void drawTextIn(QPainter& painter, const QRectF& box, const QFont& font, const QColor& color,
                const QString& text)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter.restore();
}

// A button picture: optional plate, the named picture above the title strip,
// the title at the bottom. The layout comes from a y-up description: the
// picture box starts 18 above the bottom and ends 2 below the top, the title
// strip is 20 high and 8 above the bottom.
QImage composeButton(const QSize& size, const QString& imageName, const QString& title,
                     double plateAlpha, const QColor& titleColor)
{
    QImage image = transparentImage(size);
    if (image.isNull()) {
        return image;
    }
    const QRectF bounds(QPointF(0, 0), size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (plateAlpha > 0) {
        QPainterPath plate;
        plate.addRoundedRect(bounds.adjusted(5, 5, -5, -5), 5, 5);
        painter.fillPath(plate, QColor::fromRgbF(0, 0, 0, static_cast<float>(plateAlpha)));
    }
    const QRectF pictureBox =
        QRectF(bounds.x(), bounds.y() + 2, bounds.width(), bounds.height() - 20)
            .adjusted(20, 10, -20, -10);
    const QImage picture = NamedImage::imageNamed(imageName);
    if (!picture.isNull() && !pictureBox.isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(pictureBox, picture);
    }
    const QRectF titleBox(bounds.x(), bounds.bottom() - 8 - 20, bounds.width(), 20);
    ControllerFunctionImages::drawBtnTitleAtRect(painter, titleBox, title, 12, titleColor);
    return image;
}

}  // namespace

QString ControllerFunctionImages::titleFontFamily()
{
    static const QString family = [] {
        if (QFontDatabase::hasFamily(kTitleFamily)) {
            return kTitleFamily;
        }
        qWarning().noquote() << "Font" << kTitleFamily << "is not installed; using the default";
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

void ControllerFunctionImages::drawTitleAtRect(QPainter& painter, const QRectF& rect,
                                               const QString& string, int fontSize,
                                               const QColor& color)
{
    const QString text = stringNoneNil(string);
    if (text.isEmpty()) {
        return;  // an empty string draws nothing visible
    }
    QFont font(titleFontFamily());
    font.setPixelSize(std::max(1, fontSize));
    const QSizeF measured = textSize(font, text);
    const QRectF box(rect.x(), rect.y() + (rect.height() - measured.height()) * 0.5,
                     measured.width(), measured.height());
    drawTextIn(painter, box, font, color, text);
}

void ControllerFunctionImages::drawBtnTitleAtRect(QPainter& painter, const QRectF& rect,
                                                  const QString& string, int fontSize,
                                                  const QColor& color)
{
    if (string.isEmpty()) {
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(1, fontSize));
    const QSizeF measured = textSize(font, string);
    const QRectF box(rect.x() + (rect.width() - measured.width()) * 0.5,
                     rect.y() + (rect.height() - measured.height()) * 0.5, measured.width(),
                     measured.height());
    drawTextIn(painter, box, font, color, string);
}

QImage ControllerFunctionImages::buttonImage(const QSize& size, const QString& imageName,
                                             const QString& title, bool selected)
{
    return composeButton(size, imageName, title, selected ? 0.6 : 0.0,
                         selected ? QColor(Qt::white) : QColor(Qt::lightGray));
}

QImage ControllerFunctionImages::alterButtonImage(const QSize& size, const QString& imageName,
                                                  const QString& title)
{
    return composeButton(size, imageName, title, 0.3, QColor(Qt::lightGray));
}

QRectF ControllerFunctionImages::imageCanvasWithMax16_9RectWithImage(const QSizeF& size)
{
    if (!(size.width() > 0) || !(size.height() > 0)) {
        return {};
    }
    if (size.width() / size.height() >= 16.0 / 9.0) {
        const double height = size.height();
        const double width = height / 9 * 16;
        return {(size.width() - width) * 0.5, 0, width, height};
    }
    const double width = size.width();
    const double height = width / 16 * 9;
    return {0, (size.height() - height) * 0.5, width, height};
}

QRectF ControllerFunctionImages::imageCanvasWithMax16_9RectWithImage(const QImage& image)
{
    return imageCanvasWithMax16_9RectWithImage(QSizeF(image.size()));
}

QImage ControllerFunctionImages::getNSImageFromPath(const QString& path)
{
    return getNSImageFromErrNSImage(BoundedImage::read(path));
}

QImage ControllerFunctionImages::getNSImageFromErrNSImage(const QImage& image)
{
    const QByteArray png = pngData(image);
    return png.isEmpty() ? QImage() : QImage::fromData(png, "PNG");
}

QByteArray ControllerFunctionImages::pngData(const QImage& image)
{
    if (image.isNull()) {
        return {};
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        qWarning() << "Could not encode a picture as PNG";
        return {};
    }
    return data;
}

QImage ControllerFunctionImages::imageFromCGImageRefForQuickTime(const QImage& frame)
{
    QImage result = transparentImage(frame.size());
    if (result.isNull()) {
        return result;
    }
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(-36, -30, frame.width() + 72, frame.height() + 75), frame);
    return result;
}

QImage ControllerFunctionImages::getThumbnailFromPath(const QString&)
{
    return NamedImage::imageNamed(QStringLiteral("DefaultImage"));
}

QString ControllerFunctionImages::stringNoneNil(const QString& string)
{
    return string.isNull() ? QStringLiteral("") : string;
}
