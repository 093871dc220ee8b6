#include "model/MediaSectionItem.h"

#include <QFileInfo>

#include "common/NamedImage.h"
#include "corvane/DVDMenu.h"
#include "media/RenderItem.h"
#include "model/DVDFileSource.h"
#include "model/MediaData.h"
#include "model/SectionDataResource.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(MediaSectionItem)

namespace {

// A clip shorter than this (seconds) is refused; exactly this is kept.
constexpr double MinimumClipSeconds = 1.0;

}  // namespace

std::shared_ptr<MediaData> MediaSectionItem::createMediaData(QString* reason)
{
    return createMediaData(DVDMenu::menuSizeForAspectType(1), reason);
}

std::shared_ptr<MediaData> MediaSectionItem::createMediaData(const QSizeF& canvas, QString* reason)
{
    const auto source = superResource();
    auto clip = std::make_shared<MediaData>();
    const VCMovie::Ptr item =
        source ? SectionDataResource::createVcmovieWithSectionDataSource(*source, canvas, reason)
               : nullptr;
    clip->setVcmovie(item);
    clip->setIsImageData(false);
    if (source && source->imageSource()) {
        clip->setIsImageData(true);
        clip->setImageDataDuration(source->imageSource()->slideshowDuration());
    }
    const IMovie::Ptr movie = item ? item->movie() : nullptr;
    const double seconds = movie ? lm_ff_time_to_double(movie->duration()) : 0.0;
    if (seconds < MinimumClipSeconds || !item->hasVideo()) {
        if (reason && item) {
            *reason = item->hasVideo() ? QStringLiteral("the video is shorter than 1 second")
                                       : QStringLiteral("the file holds no video");
        }
        return nullptr;
    }
    clip->setPath(source->fileSource() ? source->fileSource()->path() : QString());
    clip->setName(clip->isImageData() ? QStringLiteral("PhotoSlideshow")
                                      : QFileInfo(clip->path()).completeBaseName());
    QImage preview = MediaData::thumbnailForMovie(movie);
    if (preview.isNull()) {
        preview = NamedImage::imageNamed(QStringLiteral("DefaultImage"));
    }
    clip->setPreviewImage(preview);
    item->setThumbnailNSImage(preview);
    clip->setSectionItem(std::dynamic_pointer_cast<MediaSectionItem>(weak_from_this().lock()));
    m_associatedMedia = clip;
    return clip;
}

QStringList MediaSectionItem::allCoderKeys() const
{
    return {"superResource", "startTimeInMedia", "endTimeInMedia"};
}

const PropertyTable& MediaSectionItem::properties()
{
    using M = MediaSectionItem;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("superResource", &M::superResource, &M::setSuperResource)
            .add("startTimeInMedia", &M::startTimeInMedia, &M::setStartTimeInMedia)
            .add("endTimeInMedia", &M::endTimeInMedia, &M::setEndTimeInMedia)
            .add("associatedMedia", &M::associatedMedia, &M::setAssociatedMedia);
    return table;
}
