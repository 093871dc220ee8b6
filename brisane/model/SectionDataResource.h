#pragma once
// One imported source of the project, a video file (`fileSource`) or a photo
// slideshow (`imageSource`), exactly one of the two, with the sections cut
// from it. Callers add and remove sections in mediaSectionArray directly.
//
// A slideshow plays through the movie its factory makes: the media engine's
// slideshow source unless whoever builds the resource gives another.
//
// Archived under "mediaSectionArray", "fileSource" and "imageSource".

#include <QList>
#include <QSizeF>
#include <QStringList>
#include <functional>
#include <memory>

#include "media/VCMovie.h"
#include "platform/CodingBase.h"

class DVDFileSource;
class MediaSectionItem;
class RenderItem;

class SectionDataResource : public CodingBase {
public:
    using SectionList = QList<std::shared_ptr<MediaSectionItem>>;
    // Makes the movie that plays a slideshow; null for no slideshow.
    using SlideshowMovieFactory =
        std::function<IMovie::Ptr(const std::shared_ptr<RenderItem>& slideshow)>;

    // The media engine's slideshow source over `slideshow`; null for none.
    static IMovie::Ptr defaultSlideshowMovie(const std::shared_ptr<RenderItem>& slideshow);

    // A file source over `path`; no movie is opened.
    static std::shared_ptr<SectionDataResource> resourceWithPath(const QString& path);
    // A slideshow of the readable pictures among `paths`.
    static std::shared_ptr<SectionDataResource> resourceWithImagePaths(const QStringList& paths);

    // A section over the whole source (not added to mediaSectionArray), or
    // null when the source gives no media item (why in `reason`).
    std::shared_ptr<MediaSectionItem> createMediaSectionItem(QString* reason = nullptr);

    // A new media item for the source on a disc whose menu canvas is
    // `canvas`: for a file, its movie when it has video and lasts more than
    // 0.1 s, fitted with bars (zoom type 2); for a slideshow, the slideshow's
    // movie over its whole length. Either way the item's output size is
    // `canvas`. Null when refused, with why in `reason`.
    static VCMovie::Ptr createVcmovieWithSectionDataSource(const SectionDataResource& source,
                                                           const QSizeF& canvas,
                                                           QString* reason = nullptr);

    const SectionList& mediaSectionArray() const { return m_mediaSectionArray; }
    SectionList& mediaSectionArray() { return m_mediaSectionArray; }
    void setMediaSectionArray(const SectionList& sections) { m_mediaSectionArray = sections; }
    std::shared_ptr<DVDFileSource> fileSource() const { return m_fileSource; }
    void setFileSource(const std::shared_ptr<DVDFileSource>& source) { m_fileSource = source; }
    std::shared_ptr<RenderItem> imageSource() const { return m_imageSource; }
    void setImageSource(const std::shared_ptr<RenderItem>& slideshow) { m_imageSource = slideshow; }
    // The factory of the slideshow's movie; an empty one restores the
    // default (defaultSlideshowMovie). Not archived.
    void setSlideshowMovieFactory(SlideshowMovieFactory factory);

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    SectionList m_mediaSectionArray;
    std::shared_ptr<DVDFileSource> m_fileSource;
    std::shared_ptr<RenderItem> m_imageSource;
    SlideshowMovieFactory m_slideshowMovie = &defaultSlideshowMovie;
};
