#pragma once
// The media item of the whole application: a movie (a media file's LMFFMovie
// or any movie-like source) together with the edits the application keeps
// itself: the kept range and its fades, the trim segments, a watermark,
// mosaic regions, a subtitle file and a thumbnail. Edits Lumenta applies
// itself (crop, rotation, colour, zoom, output size, volume) live on the
// movie.
//
// Owners store the attributes below by key and restore them by key
// ("trimStart", "trimStop", "fadeIn", "fadeOut", "trimArray",
// "enableWatermark", "watermarkType", "watermarkText", "watermarkTextFont",
// "watermarkTextColor", "watermarkImage", "watermarkRectString",
// "watermarkTextSizeString", "watermarkOpacity"); a null value for a scalar
// key stores 0.
//
// Watermark geometry is kept as fractions of the movie's output size; the
// output area has its origin at the lower left, y up.
//
// Threads: items are made on any thread and edited on the main thread;
// validVCMovies() and updateMovieWatermarkImageIfNeeded() also run on the
// converter's thread. Every attribute is read and written whole: scalars are
// atomic, the others are copied in and out under the item's lock, so the
// converter never reads one half-written. updateMovieWatermarkImage() needs
// the calling thread's event loop.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>

#include "lumenta/LMFFMovie.h"
#include "lumenta/LMMediaSource.h"
#include "lumenta/LMPicture.h"
#include "media/IMediaItem.h"
#include "media/MosaicItem.h"
#include "media/MovieTrimItem.h"
#include "media/MusicPiece.h"
#include "platform/Object.h"

class VCMovie : public Object, public IMediaItem {
public:
    using Ptr = std::shared_ptr<VCMovie>;
    using TrimArray = QList<std::shared_ptr<MovieTrimItem>>;
    using MosaicArray = QList<std::shared_ptr<MosaicItem>>;

    VCMovie();
    ~VCMovie() override;

    // --- Constructors; null refuses the source ---
    static Ptr create() { return std::make_shared<VCMovie>(); }
    // An item over any movie, the whole of [0, duration) kept.
    static Ptr movieWithMovie(const IMovie::Ptr& movie, LMMediaTime duration);
    static Ptr movieWithPath(const QString& path);
    // Refuses ".vob" files (any case), DRM sources and sources without audio
    // and video, saying why in `reason`. A DVD source plays audio stream 0
    // and no subtitles.
    static Ptr movieWithSource(const LMMediaSource::Ptr& source, QString* reason = nullptr);
    // A movie without streams over 360000 s: silence.
    static Ptr movieWithEmptyFFMovie();
    // Every item's validVCMovies(), in order.
    static QList<IMediaItem::Ptr> moviesFromTrimMovies(const QList<IMediaItem::Ptr>& movies);

    // Items over the files of laid music pieces with their ranges and fades;
    // pieces of one file share one movie. A file that cannot be opened is
    // left out (logged).
    static QList<Ptr> moviesFromMusicPieces(const QList<MusicPiece>& pieces);

    // Makes MediaItem (slideshow music) ask files for their length through
    // Lumenta. Installed when this library is loaded; calling again is harmless.
    static void installDurationProbe();

    // --- IMediaItem ---
    IMovie::Ptr movie() const override;
    void setMovie(const IMovie::Ptr& movie);
    LMMediaTime trimStart() const override { return m_trimStart; }
    void setTrimStart(LMMediaTime v) { m_trimStart = v; }
    LMMediaTime trimStop() const override { return m_trimStop; }
    void setTrimStop(LMMediaTime v) { m_trimStop = v; }
    LMMediaTime fadeIn() const override { return m_fadeIn; }
    void setFadeIn(LMMediaTime v) { m_fadeIn = v; }
    LMMediaTime fadeOut() const override { return m_fadeOut; }
    void setFadeOut(LMMediaTime v) { m_fadeOut = v; }
    // One piece per member of validTrimArray(), sharing this item's movie,
    // thumbnail and mosaic list; the watermark reaches them through the movie.
    QList<IMediaItem::Ptr> validVCMovies() override;
    QSizeF videoOutputSize() const override;
    // Also drops the watermark cache and the movie's watermark, so both are
    // rebuilt for the new size.
    void setVideoOutputSize(const QSizeF& size) override;
    void updateMovieWatermarkImageIfNeeded() override;

    void setHasAudio(bool) {}
    void setHasVideo(bool) {}
    // t + trimStart.
    LMMediaTime timeToMediaTime(LMMediaTime t) const { return t + m_trimStart; }

    // --- Trimming ---
    TrimArray trimArray() const { return guarded(m_trimArray); }
    void setTrimArray(const TrimArray& v) { assign(m_trimArray, v); }
    // The segments with their running bases; one segment over the kept range
    // when there are none.
    TrimArray validTrimArray() const;
    // The total kept length (media time).
    LMMediaTime trimArrayDuration() const;

    // --- Sizes ---
    // The size with width and height swapped when the movie is turned by an
    // odd multiple of 90 degrees.
    QSizeF roatedSize(const QSizeF& size) const;
    QSizeF rotatedVideoSize() const;
    QSizeF contentImageSize() const;
    // 5, or for a DVD source 4 (4:3 title set) or 3.
    int defaultZoomType() const;

    // --- Other attributes ---
    QImage thumbnail() const;
    void setThumbnail(const QImage& v);
    void setThumbnailNSImage(const QImage& picture) { setThumbnail(picture); }
    MosaicArray mosaicArray() const { return guarded(m_mosaicArray); }
    void setMosaicArray(const MosaicArray& v) { assign(m_mosaicArray, v); }
    QString subtitlePath() const { return guarded(m_subtitlePath); }
    void setSubtitlePath(const QString& v) { assign(m_subtitlePath, v); }
    quint64 subtitleEncoding() const { return m_subtitleEncoding; }
    void setSubtitleEncoding(quint64 v) { m_subtitleEncoding = v; }

    // --- Watermark settings ---
    void resetWatermark();
    bool enableWatermark() const { return m_enableWatermark; }
    void setEnableWatermark(bool v) { m_enableWatermark = v; }
    // 0 picture, 1 text.
    int watermarkType() const { return m_watermarkType; }
    void setWatermarkType(int v) { m_watermarkType = v; }
    QString watermarkText() const { return guarded(m_watermarkText); }
    void setWatermarkText(const QString& v) { assign(m_watermarkText, v); }
    QFont watermarkTextFont() const { return guarded(m_watermarkTextFont); }
    void setWatermarkTextFont(const QFont& v) { assign(m_watermarkTextFont, v); }
    QColor watermarkTextColor() const { return guarded(m_watermarkTextColor); }
    void setWatermarkTextColor(const QColor& v) { assign(m_watermarkTextColor, v); }
    QString watermarkImagePath() const { return guarded(m_watermarkImagePath); }
    void setWatermarkImagePath(const QString& v) { assign(m_watermarkImagePath, v); }
    QImage watermarkImage() const { return guarded(m_watermarkImage); }
    void setWatermarkImage(const QImage& v) { assign(m_watermarkImage, v); }
    QImage watermarkCacheImage() const;
    void setWatermarkCacheImage(const QImage& v);
    // Origin and picture size as fractions of the output size.
    QRectF watermarkRect() const { return guarded(m_watermarkRect); }
    void setWatermarkRect(const QRectF& v) { assign(m_watermarkRect, v); }
    QSizeF watermarkTextSize() const { return guarded(m_watermarkTextSize); }
    void setWatermarkTextSize(const QSizeF& v) { assign(m_watermarkTextSize, v); }
    QString watermarkRectString() const;
    void setWatermarkRectString(const QString& v);
    QString watermarkTextSizeString() const;
    void setWatermarkTextSizeString(const QString& v);
    float watermarkOpacity() const { return m_watermarkOpacity; }
    void setWatermarkOpacity(float v) { m_watermarkOpacity = v; }

    // --- Watermark geometry, in output pixels ---
    QRectF maxWatermarkRect() const;
    QPointF watermarkPoint() const;
    void setWatermarkPoint(const QPointF& point);
    QSizeF watermarkImageDisplaySize() const;
    void setWatermarkImageDisplaySize(const QSizeF& size);
    QSizeF watermarkTextDisplaySize() const;
    void setWatermarkTextDisplaySize(const QSizeF& size);
    QRectF realWatermarkRect() const;
    void setRealWatermarkRect(const QRectF& rect);

    // --- Watermark picture ---
    // Redraws the cache (nothing while the watermark is off; an empty cache
    // when the watermark lies wholly outside the output).
    void forceUpdateWatermarkImage();
    void updateWatermarkImage();
    // The cache placed in the output with its opacity applied; null for none.
    LMPicture watermark();
    // Brings the watermark onto the movie once the calling thread's event
    // loop is idle for a moment, so that a burst of changes gives one update.
    void updateMovieWatermarkImage();
    void updateMovieWatermarkImageHelper();

    // --- Mosaic ---
    // The picture over opaque black, blurred (radius 20); null for null.
    static QImage mosaicImageForImage(const QImage& image);
    // The frame with the regions active at the movie's current time blurred.
    // Regions are given in the turned picture (the movie's rotation and
    // flips applied), pixels with the origin at the lower left; the blur is
    // laid over the frame as it is, each region mapped back into it.
    QImage processMosaicEffect(const QImage& frame) const;

    // --- Key access ---
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    // The attributes owners store, in order.
    static QStringList snapshotKeys();

private:
    template <typename T>
    T guarded(const T& field) const
    {
        std::lock_guard lock(m_lock);
        return field;
    }
    template <typename T>
    void assign(T& field, const T& value)
    {
        std::lock_guard lock(m_lock);
        field = value;
    }

    mutable std::mutex m_lock;  // every attribute that is not atomic
    IMovie::Ptr m_movie;
    QImage m_thumbnail;
    std::atomic<LMMediaTime> m_trimStart{0};
    std::atomic<LMMediaTime> m_trimStop{0};
    std::atomic<LMMediaTime> m_fadeIn{0};
    std::atomic<LMMediaTime> m_fadeOut{0};
    TrimArray m_trimArray;
    MosaicArray m_mosaicArray;
    QString m_subtitlePath;
    std::atomic<quint64> m_subtitleEncoding{0};
    std::atomic<bool> m_enableWatermark{false};
    std::atomic<int> m_watermarkType{0};
    QString m_watermarkText;
    QFont m_watermarkTextFont;
    QColor m_watermarkTextColor;
    QString m_watermarkImagePath;
    QImage m_watermarkImage;
    QImage m_watermarkCacheImage;
    QPointF m_watermarkCacheOrigin;
    QRectF m_watermarkRect;
    QSizeF m_watermarkTextSize;
    std::atomic<float> m_watermarkOpacity{1.0f};
    std::atomic<quint64> m_watermarkRequest{0};
};
