#include "model/SectionDataResource.h"

#include "corvane/DVDMenu.h"
#include "media/ImageRenderVideo.h"
#include "media/RenderItem.h"
#include "model/DVDFileSource.h"
#include "model/MediaSectionItem.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(SectionDataResource)

namespace {

// A file item shorter than this (seconds) makes no section.
constexpr double MinimumSectionSeconds = 0.1;

VCMovie::Ptr fileItem(const DVDFileSource& file, QString* reason)
{
    VCMovie::Ptr item = VCMovie::movieWithSource(LMMediaSource::mediaWithPath(file.path()), reason);
    if (!item) {
        return nullptr;
    }
    if (!item->hasVideo() ||
        lm_ff_time_to_double(item->movie()->duration()) <= MinimumSectionSeconds) {
        if (reason) {
            *reason = item->hasVideo() ? QStringLiteral("the video is too short")
                                       : QStringLiteral("the file holds no video");
        }
        return nullptr;
    }
    item->movie()->setZoomType(2);
    return item;
}

VCMovie::Ptr slideshowItem(const std::shared_ptr<RenderItem>& slideshow,
                           const SectionDataResource::SlideshowMovieFactory& factory)
{
    const IMovie::Ptr movie = factory(slideshow);
    if (!movie) {
        qWarning("no slideshow movie source is installed");
        return nullptr;
    }
    return VCMovie::movieWithMovie(movie, movie->duration());
}

}  // namespace

IMovie::Ptr SectionDataResource::defaultSlideshowMovie(const std::shared_ptr<RenderItem>& slideshow)
{
    if (!slideshow) {
        return nullptr;
    }
    return std::make_shared<ImageRenderVideo>(slideshow);
}

void SectionDataResource::setSlideshowMovieFactory(SlideshowMovieFactory factory)
{
    m_slideshowMovie = factory ? std::move(factory) : SlideshowMovieFactory(&defaultSlideshowMovie);
}

std::shared_ptr<SectionDataResource> SectionDataResource::resourceWithPath(const QString& path)
{
    auto source = std::make_shared<SectionDataResource>();
    source->m_fileSource = DVDFileSource::sourceWithPath(path);
    return source;
}

std::shared_ptr<SectionDataResource> SectionDataResource::resourceWithImagePaths(
    const QStringList& paths)
{
    auto source = std::make_shared<SectionDataResource>();
    source->m_imageSource = RenderItem::renderItemWithPhotoPaths(paths);
    return source;
}

VCMovie::Ptr SectionDataResource::createVcmovieWithSectionDataSource(
    const SectionDataResource& source, const QSizeF& canvas, QString* reason)
{
    VCMovie::Ptr item;
    if (source.m_fileSource) {
        item = fileItem(*source.m_fileSource, reason);
    } else if (source.m_imageSource) {
        item = slideshowItem(source.m_imageSource, source.m_slideshowMovie);
    }
    if (item) {
        item->setVideoOutputSize(canvas);
    }
    return item;
}

std::shared_ptr<MediaSectionItem> SectionDataResource::createMediaSectionItem(QString* reason)
{
    // Only the length counts here: any disc's canvas will do.
    const VCMovie::Ptr item =
        createVcmovieWithSectionDataSource(*this, DVDMenu::menuSizeForAspectType(1), reason);
    if (!item) {
        return nullptr;
    }
    auto section = std::make_shared<MediaSectionItem>();
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(item->movie()->duration());
    section->setSuperResource(
        std::dynamic_pointer_cast<SectionDataResource>(weak_from_this().lock()));
    return section;
}

QStringList SectionDataResource::allCoderKeys() const
{
    return {"mediaSectionArray", "fileSource", "imageSource"};
}

const PropertyTable& SectionDataResource::properties()
{
    using S = SectionDataResource;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("mediaSectionArray",
                 static_cast<const SectionList& (S::*)() const>(&S::mediaSectionArray),
                 &S::setMediaSectionArray)
            .add("fileSource", &S::fileSource, &S::setFileSource)
            .add("imageSource", &S::imageSource, &S::setImageSource);
    return table;
}
