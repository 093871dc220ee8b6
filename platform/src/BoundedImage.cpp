#include "platform/BoundedImage.h"

#include <QBuffer>
#include <QImageReader>

#include "platform/BoundedFile.h"

namespace {

void setError(QString* error, const QString& message)
{
    if (error) {
        *error = message;
    }
}

QString unreadable()
{
    return QStringLiteral("the file is not a picture that can be read");
}

// The size the reader is about to decode.
QSize decodedSize(const QImageReader& reader)
{
    if (reader.scaledSize().isValid()) {
        return reader.scaledSize();
    }
    if (reader.clipRect().isValid()) {
        return reader.clipRect().size();
    }
    return reader.size();
}

}  // namespace

QImage BoundedImage::read(const QString& path, QString* error)
{
    return read(path, Preparation(), error);
}

QImage BoundedImage::readUpright(const QString& path, QString* error)
{
    return read(
        path,
        [](QImageReader& reader, QString*) {
            reader.setAutoTransform(true);
            return true;
        },
        error);
}

QImage BoundedImage::read(const QString& path, const Preparation& prepare, QString* error)
{
    std::optional<QByteArray> bytes = BoundedFile::read(path, MaximumFileBytes, error);
    if (!bytes) {
        return {};
    }
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (prepare && !prepare(reader, error)) {
        return {};
    }
    const QSize size = decodedSize(reader);
    if (!size.isValid() || size.isEmpty()) {
        setError(error, unreadable());
        return {};
    }
    if (qint64(size.width()) * size.height() > MaximumPixels) {
        setError(error, QStringLiteral("the picture is too large"));
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        setError(error, QStringLiteral("%1 (%2)").arg(unreadable(), reader.errorString()));
    }
    return image;
}
