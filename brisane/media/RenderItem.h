#pragma once
// One photo slideshow: the photos in show order, the transition settings,
// the music list and the keep-ratio flag (fit each photo on black when set,
// cut it to fill the frame when not).
//
// Timing (seconds): with n positions (one photo counts twice) and d =
// dDuration, position 0 lasts dFirstRatio·d, the last dLastRatio·d, the
// others d. The compositions run at their own pace stretched by
// slideshowMetaRatio = dDuration / dBestDuration.
//
// Archived under "RI_SlideshowItem", "RI_PhotoItems", "RI_KeepStandardRatio"
// and "audioItems"; a saved project keeps the photo files in its
// "slideshow-photo" folder and the music in "slideshow-audio".

#include <QList>
#include <QMutex>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

#include "media/MediaItem.h"
#include "media/MusicPiece.h"
#include "media/PhotoItem.h"
#include "media/SlideshowItem.h"
#include "platform/Object.h"

class RenderItem : public Object {
public:
    // A bare slideshow: default settings, no photos, no transition chosen.
    RenderItem();
    // A new slideshow with the default transition of the registry merged in.
    static std::shared_ptr<RenderItem> create();
    static std::shared_ptr<RenderItem> renderItemWithPhotoPaths(const QStringList& paths);
    static std::shared_ptr<RenderItem> renderItemWithPhotoURLs(const QList<QUrl>& urls);

    // Appends a photo per readable picture, in order; others are skipped.
    // Answers how many were added.
    qsizetype addPhotoPaths(const QStringList& paths);
    qsizetype addPhotoURLs(const QList<QUrl>& urls);
    void addPhotoItems(const QList<std::shared_ptr<PhotoItem>>& photos);

    void slideshowMergeFrom(const std::optional<Value::Dictionary>& information);

    // The photos as renderers see them: one photo is counted twice.
    QList<std::shared_ptr<PhotoItem>> slideshowPhotoItems() const;
    double slideshowDuration() const;
    double slideshowMetaDuration() const;
    double slideshowFirstRatio() const;
    double slideshowLastRatio() const;
    // dDuration / dBestDuration; 1 when that is zero, negative or not finite.
    double slideshowMetaRatio() const;
    QString slideshowName() const;
    // The music pieces laid under the whole slideshow.
    QList<MusicPiece> audioVcMovies() const;

    // Stores the music and photo files in the project folder; answers whether
    // every file is there afterwards.
    bool saveSourceAtPath(const QString& projectFolder) const;
    void loadSourceAtPath(const QString& projectFolder);

    std::shared_ptr<SlideshowItem> oSlideshowItem() const { return m_slideshow; }
    void setOSlideshowItem(std::shared_ptr<SlideshowItem> item);
    const QList<std::shared_ptr<PhotoItem>>& mtAryPhotoItems() const { return m_photos; }
    QList<std::shared_ptr<PhotoItem>>& mtAryPhotoItems() { return m_photos; }
    void setMtAryPhotoItems(const QList<std::shared_ptr<PhotoItem>>& photos);
    QList<std::shared_ptr<MediaItem>> audioItems() const;
    void setAudioItems(const QList<std::shared_ptr<MediaItem>>& items);
    bool hasAudioItems() const;
    bool bKeepStandardRatio() const { return m_keepStandardRatio; }
    // Also sets the flag on every photo.
    void setBKeepStandardRatio(bool keep);

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    void encodeWithCoder(KeyedArchiver& coder) const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;

private:
    std::shared_ptr<SlideshowItem> m_slideshow;
    QList<std::shared_ptr<PhotoItem>> m_photos;
    mutable QMutex m_audioMutex;
    std::optional<QList<std::shared_ptr<MediaItem>>> m_audioItems;  // empty until set
    bool m_keepStandardRatio = true;
};
