#pragma once
// One slideshow photo: a reduced JPEG working copy of the user's picture
// (covering 800 × 600, one side equal to it), the name it is kept under in a
// saved project, the user picture's pixel size, an 80 × 80 cover thumbnail,
// a crop and the keep-ratio flag (the whole photo on black when set, cut to
// fill the frame when not).
//
// Working copies are written into the temporary photo folder that the
// application hands over once at launch (updateAppTempPath). Archived under
// "PI_ImageName", "PI_SavedImageName", "PI_OriginalSize", "PI_Thumbnail",
// "PI_CropItem", "PI_KeepStandRatio"; the working path is not archived:
// loadSourceAtPath points the photo at its stored copy.

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

#include "media/CropItem.h"
#include "platform/Object.h"

class PhotoItem : public Object {
public:
    static inline const QSizeF ThumbnailBox{80, 80};
    static constexpr double StandardRatio = 4.0 / 3.0;
    // Longest side of a working copy and of a thumbnail: a picture of extreme
    // shape (a 1 x 16000 strip) is scaled down whole, keeping its shape.
    static constexpr double MaximumWorkingSide = 8192.0;
    static constexpr double MaximumThumbnailSide = 4 * 80.0;

    PhotoItem();

    static void updateAppTempPath(const QString& folder);
    static QString appTempPath();

    // A photo of the picture at `path`, or null when it cannot be read as a
    // picture or its working copy cannot be written (both logged, and told in
    // `reason`). The picture is decoded at its working size, so pictures of
    // hundreds of megapixels are read without holding them whole.
    static std::shared_ptr<PhotoItem> itemWithPhotoPath(const QString& path,
                                                        QString* reason = nullptr);
    // The size of the working copy of a picture of `original` size, its
    // longer side at most MaximumWorkingSide.
    static QSizeF workingSizeOf(const QSizeF& original);

    // The working picture; null when it cannot be read.
    QImage originalCIImage() const;
    // The picture for the transition at display size `size`: reduced, cropped
    // and put on a canvas of `size`, whole and centred on black when the
    // keep-ratio flag is set, cut to cover it when not. Null on failure.
    QImage slideshowCIImageInSize(const QSizeF& size) const;
    // The picture reduced so its crop part is no smaller than `size` needs.
    QImage precessImage(const QImage& image, const QSizeF& size) const;

    // The picture at its cover size in `box`, its longer side at most four
    // times the box's longer side.
    static QImage thumbnailOfImage(const QImage& image, const QSizeF& box = ThumbnailBox);
    QImage resortableThumnbailOfMaxSize(const QSizeF& size) const;

    // Stores the working file as folder/strSavedName (hard link, else copy).
    bool saveSourceAtPath(const QString& folder) const;
    // Points strImagePath at folder/strSavedName.
    void loadSourceAtPath(const QString& folder);

    QString strImagePath() const { return m_imagePath; }
    void setStrImagePath(const QString& v) { m_imagePath = v; }
    QString strImageName() const { return m_imageName; }
    void setStrImageName(const QString& v) { m_imageName = v; }
    QString strSavedName() const { return m_savedName; }
    void setStrSavedName(const QString& v) { m_savedName = v; }
    QSizeF szOriginalSize() const { return m_originalSize; }
    void setSzOriginalSize(const QSizeF& v) { m_originalSize = v; }
    QImage imgThumbnail() const { return m_thumbnail; }
    void setImgThumbnail(const QImage& v) { m_thumbnail = v; }
    std::shared_ptr<CropItem> oCropItem() const { return m_crop; }
    // A null crop becomes a fresh one.
    void setOCropItem(std::shared_ptr<CropItem> crop);
    bool bKeepStandardRatio() const { return m_keepStandardRatio; }
    void setBKeepStandardRatio(bool v) { m_keepStandardRatio = v; }

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    void encodeWithCoder(KeyedArchiver& coder) const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;

private:
    QString m_imagePath;
    QString m_imageName;
    QString m_savedName;
    QSizeF m_originalSize{0, 0};
    QImage m_thumbnail;
    std::shared_ptr<CropItem> m_crop;
    bool m_keepStandardRatio = true;
};
