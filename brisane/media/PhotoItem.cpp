#include "media/PhotoItem.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QTemporaryFile>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "media/PhotoImageFunctions.h"
#include "media/SlideshowFiles.h"
#include "platform/BoundedImage.h"
#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(PhotoItem)

namespace {

QMutex tempPathMutex;
QString& tempPath()
{
    static QString path;
    return path;
}

qint64 tickCount()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void setReason(QString* reason, const QString& text)
{
    if (reason) {
        *reason = text;
    }
}

// The picture at `path`, turned upright. With `working`, it is decoded
// straight at its working size (see PhotoItem::workingSizeOf) and `original`
// receives its size upright: a panorama of hundreds of megapixels never
// needs its whole size in memory.
QImage readPicture(const QString& path, QString* reason = nullptr, bool working = false,
                   QSizeF* original = nullptr)
{
    const auto prepare = [working, original](QImageReader& reader, QString* error) {
        reader.setAutoTransform(true);
        if (!working) {
            return true;
        }
        const QSize stored = reader.size();
        if (!stored.isValid() || stored.isEmpty()) {
            setReason(error, QStringLiteral("the file is not a picture that can be read"));
            return false;
        }
        // The reader scales before it turns the picture upright.
        const bool turned =
            reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        const QSize upright = turned ? stored.transposed() : stored;
        if (original) {
            *original = QSizeF(upright);
        }
        const QSize scaled = PhotoItem::workingSizeOf(QSizeF(upright)).toSize().expandedTo({1, 1});
        if (scaled.width() < upright.width() || scaled.height() < upright.height()) {
            reader.setScaledSize(turned ? scaled.transposed() : scaled);
        }
        return true;
    };
    QString error;
    const QImage image = BoundedImage::read(path, prepare, &error);
    if (image.isNull()) {
        qWarning().noquote() << "Cannot read the picture" << path << ":" << error;
        setReason(reason, error);
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Writes the picture as JPEG under a new "%lld.jpg" name in `folder`; the name
// is taken only when no file has it. Answers the path, or empty on failure.
QString writeWorkingCopy(const QImage& picture, const QString& folder)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".photo-XXXXXX")));
    if (!file.open()) {
        qWarning().noquote() << "Cannot write a photo copy in" << folder << ":"
                             << file.errorString();
        return {};
    }
    QImageWriter writer(&file, "jpg");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)) || !file.flush()) {
        qWarning().noquote() << "Cannot write a photo copy in" << folder << ":"
                             << writer.errorString();
        return {};
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("%1.jpg").arg(tickCount() + attempt));
        // A hard link never replaces an existing file; the temporary name goes
        // with `file`.
        std::error_code error;
        std::filesystem::create_hard_link(QFile::encodeName(file.fileName()).toStdString(),
                                          QFile::encodeName(path).toStdString(), error);
        if (!error) {
            return path;
        }
        if (error != std::errc::file_exists) {
            qWarning().noquote() << "Cannot name a photo copy" << path << ":"
                                 << QString::fromStdString(error.message());
            return {};
        }
    }
    qWarning().noquote() << "Cannot name a photo copy in" << folder;
    return {};
}

}  // namespace

PhotoItem::PhotoItem() : m_crop(std::make_shared<CropItem>()) {}

void PhotoItem::updateAppTempPath(const QString& folder)
{
    QMutexLocker lock(&tempPathMutex);
    tempPath() = folder;
}

QString PhotoItem::appTempPath()
{
    QMutexLocker lock(&tempPathMutex);
    return tempPath();
}

QSizeF PhotoItem::workingSizeOf(const QSizeF& original)
{
    const double r = original.width() / original.height();
    const QSizeF working = r <= StandardRatio ? QSizeF(800.0, 800.0 / r) : QSizeF(600.0 * r, 600.0);
    return sizeWithinSide(working, MaximumWorkingSide);
}

std::shared_ptr<PhotoItem> PhotoItem::itemWithPhotoPath(const QString& path, QString* reason)
{
    QSizeF original;
    const QImage picture = readPicture(path, reason, true, &original);
    if (picture.isNull()) {
        qWarning().noquote() << "Not a readable picture:" << path;
        return nullptr;
    }
    const QString folder = appTempPath();
    if (folder.isEmpty()) {
        qWarning("No temporary photo folder set");
        setReason(reason, QStringLiteral("there is no folder for the working copy"));
        return nullptr;
    }
    const QSizeF working = workingSizeOf(original);
    const QImage drawn = drawnInSize(picture, working, Qt::black);
    if (drawn.isNull()) {
        setReason(reason, QStringLiteral("the picture is too large to be drawn"));
        return nullptr;
    }
    const QString copy = writeWorkingCopy(drawn, folder);
    if (copy.isEmpty()) {
        setReason(reason, QStringLiteral("its working copy cannot be written"));
        return nullptr;
    }
    auto item = std::make_shared<PhotoItem>();
    item->m_imagePath = copy;
    item->m_imageName = QFileInfo(copy).fileName();
    item->m_originalSize = original;
    item->m_thumbnail = thumbnailOfImage(drawn);
    item->m_savedName = QStringLiteral("Image-%1").arg(tickCount());
    return item;
}

QImage PhotoItem::originalCIImage() const
{
    if (m_imagePath.isEmpty()) {
        return {};
    }
    return readPicture(m_imagePath);
}

QImage PhotoItem::precessImage(const QImage& image, const QSizeF& size) const
{
    if (image.isNull() || image.height() == 0) {
        return image;
    }
    const double w = image.width();
    const double h = image.height();
    const double cw = w * m_crop->dWidthRatio();
    const double ch = h * m_crop->dHeightRatio();
    if (!(cw > size.width() && ch > size.height())) {
        return image;
    }
    const double s = std::min(cw / size.width(), ch / size.height());
    const qint64 q = static_cast<qint64>(w / s);
    const qint64 width = (q + 3) / 4 * 4;
    const double height = width / (w / h);
    return drawnInSize(image, QSizeF(width, height), Qt::transparent);
}

QImage PhotoItem::slideshowCIImageInSize(const QSizeF& size) const
{
    const QImage original = originalCIImage();
    if (original.isNull()) {
        return {};
    }
    const QImage cropped = cropCIImage(precessImage(original, size), *m_crop);
    // The canvas has the frame's own shape, so the transition shows it as it
    // is: a 4:3 canvas on a 16:9 frame would lose a quarter of its height.
    const double ratio =
        size.width() > 0.0 && size.height() > 0.0 ? size.width() / size.height() : StandardRatio;
    if (m_keepStandardRatio) {
        return standardRatioFilledCIImage(cropped, Qt::black, ratio, size.width(), size.height());
    }
    return standardRatioCuttedCIImage(cropped, ratio, size.width(), size.height());
}

QImage PhotoItem::thumbnailOfImage(const QImage& image, const QSizeF& box)
{
    if (image.isNull()) {
        return {};
    }
    const double longest = 4 * std::max(box.width(), box.height());
    return drawnInSize(image, sizeWithinSide(coverSizeInBox(QSizeF(image.size()), box), longest),
                       Qt::transparent);
}

QImage PhotoItem::resortableThumnbailOfMaxSize(const QSizeF& size) const
{
    return thumbnailOfImage(m_thumbnail, size);
}

bool PhotoItem::saveSourceAtPath(const QString& folder) const
{
    if (!SlideshowFiles::isPlainFileName(m_savedName)) {
        qWarning().noquote() << "Photo without a valid saved name:" << m_savedName;
        return false;
    }
    return SlideshowFiles::linkOrCopy(m_imagePath, QDir(folder).filePath(m_savedName));
}

void PhotoItem::loadSourceAtPath(const QString& folder)
{
    if (!SlideshowFiles::isPlainFileName(m_savedName)) {
        qWarning().noquote() << "Photo without a valid saved name:" << m_savedName;
        m_imagePath.clear();
        return;
    }
    m_imagePath = QDir(folder).filePath(m_savedName);
}

void PhotoItem::setOCropItem(std::shared_ptr<CropItem> crop)
{
    m_crop = crop ? std::move(crop) : std::make_shared<CropItem>();
}

const PropertyTable& PhotoItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("strImagePath", &PhotoItem::strImagePath, &PhotoItem::setStrImagePath)
            .add("strImageName", &PhotoItem::strImageName, &PhotoItem::setStrImageName)
            .add("strSavedName", &PhotoItem::strSavedName, &PhotoItem::setStrSavedName)
            .add("szOriginalSize", &PhotoItem::szOriginalSize, &PhotoItem::setSzOriginalSize)
            .add("imgThumbnail", &PhotoItem::imgThumbnail, &PhotoItem::setImgThumbnail)
            .add("oCropItem", &PhotoItem::oCropItem, &PhotoItem::setOCropItem)
            .add("bKeepStandardRatio", &PhotoItem::bKeepStandardRatio,
                 &PhotoItem::setBKeepStandardRatio);
    return table;
}

void PhotoItem::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(m_imageName.isNull() ? Value() : Value(m_imageName),
                       QStringLiteral("PI_ImageName"));
    coder.encodeObject(m_savedName.isNull() ? Value() : Value(m_savedName),
                       QStringLiteral("PI_SavedImageName"));
    coder.encodeSize(m_originalSize, QStringLiteral("PI_OriginalSize"));
    coder.encodeObject(m_thumbnail.isNull() ? Value() : Value(m_thumbnail),
                       QStringLiteral("PI_Thumbnail"));
    coder.encodeObject(Value(m_crop), QStringLiteral("PI_CropItem"));
    coder.encodeBool(m_keepStandardRatio, QStringLiteral("PI_KeepStandRatio"));
}

bool PhotoItem::initWithCoder(KeyedUnarchiver& coder)
{
    Object::initWithCoder(coder);
    m_imageName = coder.decodeString(QStringLiteral("PI_ImageName"));
    m_savedName = coder.decodeString(QStringLiteral("PI_SavedImageName"));
    m_originalSize = coder.containsValueForKey(QStringLiteral("PI_OriginalSize"))
                         ? coder.decodeSize(QStringLiteral("PI_OriginalSize"))
                         : QSizeF(0, 0);
    m_thumbnail =
        coder.decodeObjectForKey(QStringLiteral("PI_Thumbnail")).toImage().value_or(QImage());
    setOCropItem(coder.decodeObjectForKey(QStringLiteral("PI_CropItem")).objectAs<CropItem>());
    m_keepStandardRatio = coder.decodeBool(QStringLiteral("PI_KeepStandRatio"));
    return true;
}
