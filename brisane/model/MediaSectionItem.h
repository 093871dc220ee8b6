#pragma once
// One section of an imported source: the time range [startTimeInMedia,
// endTimeInMedia) of the source (media time) that one clip plays.
//
// `superResource` and `associatedMedia` are back links that do not own: the
// source owns its sections, a title owns its clips. Whoever deletes a clip
// also takes its section out of the source. Archived under "superResource",
// "startTimeInMedia" and "endTimeInMedia"; the clip sets associatedMedia
// again when it is decoded.

#include <QSizeF>
#include <memory>

#include "lumenta/LMMediaTime.h"
#include "platform/CodingBase.h"

class MediaData;
class SectionDataResource;

class MediaSectionItem : public CodingBase {
public:
    // A new clip that plays this section on a disc whose menu canvas is
    // `canvas` (its media item's output size), linked both ways; null when
    // the source's media item lasts under 1.0 s or has no video (the section
    // stays; why in `reason`). A slideshow clip is named "PhotoSlideshow".
    std::shared_ptr<MediaData> createMediaData(const QSizeF& canvas, QString* reason = nullptr);
    // The same for a new disc's canvas (16:9); the clip takes the canvas of
    // its own disc when the disc side is rebuilt from the title list.
    std::shared_ptr<MediaData> createMediaData(QString* reason = nullptr);

    std::shared_ptr<SectionDataResource> superResource() const { return m_superResource.lock(); }
    void setSuperResource(const std::shared_ptr<SectionDataResource>& source)
    {
        m_superResource = source;
    }
    LMMediaTime startTimeInMedia() const { return m_startTimeInMedia; }
    void setStartTimeInMedia(LMMediaTime time) { m_startTimeInMedia = time; }
    LMMediaTime endTimeInMedia() const { return m_endTimeInMedia; }
    void setEndTimeInMedia(LMMediaTime time) { m_endTimeInMedia = time; }
    std::shared_ptr<MediaData> associatedMedia() const { return m_associatedMedia.lock(); }
    void setAssociatedMedia(const std::shared_ptr<MediaData>& clip) { m_associatedMedia = clip; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    std::weak_ptr<SectionDataResource> m_superResource;
    LMMediaTime m_startTimeInMedia = 0;
    LMMediaTime m_endTimeInMedia = 0;
    std::weak_ptr<MediaData> m_associatedMedia;
};
