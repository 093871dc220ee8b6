#include "media/VCMovie.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QTimer>
#include <cmath>

#include "media/MediaItem.h"
#include "platform/GeometryStrings.h"

namespace {

LMMediaTime secondsToTime(double seconds)
{
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

// Scalar keys take a null value as 0.
template <typename T, typename Getter, typename Setter>
PropertyTable::Property scalarOrZero(Getter getter, Setter setter)
{
    return PropertyTable::Property{
        [getter](const Object& o) {
            return ValueTraits<T>::toValue(T((dynamic_cast<const VCMovie&>(o).*getter)()));
        },
        [setter](Object& o, const Value& v) {
            if (v.isNull()) {
                (dynamic_cast<VCMovie&>(o).*setter)(T{});
                return true;
            }
            const auto typed = ValueTraits<T>::fromValue(v);
            if (!typed) {
                return false;
            }
            (dynamic_cast<VCMovie&>(o).*setter)(*typed);
            return true;
        }};
}

// A separable box blur run three times: close to a Gaussian of the radius.
QImage boxBlur(const QImage& source, int radius)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width();
    const int h = image.height();
    const int r = qMax(1, radius / 2);
    QImage scratch(w, h, QImage::Format_ARGB32_Premultiplied);
    auto pass = [&](const QImage& in, QImage& out, bool horizontal) {
        const int length = horizontal ? w : h;
        const int lines = horizontal ? h : w;
        for (int line = 0; line < lines; ++line) {
            auto at = [&](const QImage& img, int i) -> QRgb {
                const int c = qBound(0, i, length - 1);
                return horizontal ? reinterpret_cast<const QRgb*>(img.constScanLine(line))[c]
                                  : reinterpret_cast<const QRgb*>(img.constScanLine(c))[line];
            };
            int sum[4] = {0, 0, 0, 0};
            for (int i = -r; i <= r; ++i) {
                const QRgb p = at(in, i);
                sum[0] += qAlpha(p), sum[1] += qRed(p), sum[2] += qGreen(p), sum[3] += qBlue(p);
            }
            const int n = 2 * r + 1;
            for (int i = 0; i < length; ++i) {
                const QRgb value = qRgba(sum[1] / n, sum[2] / n, sum[3] / n, sum[0] / n);
                if (horizontal) {
                    reinterpret_cast<QRgb*>(out.scanLine(line))[i] = value;
                } else {
                    reinterpret_cast<QRgb*>(out.scanLine(i))[line] = value;
                }
                const QRgb add = at(in, i + r + 1);
                const QRgb sub = at(in, i - r);
                sum[0] += qAlpha(add) - qAlpha(sub);
                sum[1] += qRed(add) - qRed(sub);
                sum[2] += qGreen(add) - qGreen(sub);
                sum[3] += qBlue(add) - qBlue(sub);
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(image, scratch, true);
        pass(scratch, image, false);
    }
    return image;
}

// Lower-left rectangle `r` inside a picture whose lower-left extent is `area`,
// as a top-left rectangle of that picture.
QRectF toImageRect(const QRectF& r, const QRectF& area)
{
    return QRectF(r.x() - area.x(), area.height() - (r.y() - area.y()) - r.height(), r.width(),
                  r.height());
}

const bool probeInstalled = [] {
    VCMovie::installDurationProbe();
    return true;
}();

}  // namespace

VCMovie::VCMovie()
{
    resetWatermark();
}

VCMovie::~VCMovie() = default;

// --- Constructors ---

VCMovie::Ptr VCMovie::movieWithMovie(const IMovie::Ptr& movie, LMMediaTime duration)
{
    auto item = create();
    item->m_movie = movie;
    item->m_trimStop = duration;
    return item;
}

VCMovie::Ptr VCMovie::movieWithPath(const QString& path)
{
    return movieWithSource(LMMediaSource::mediaWithPath(path));
}

VCMovie::Ptr VCMovie::movieWithSource(const LMMediaSource::Ptr& source, QString* reason)
{
    const auto refuse = [reason](const QString& why) {
        if (reason) {
            *reason = why;
        }
        return nullptr;
    };
    if (!source) {
        return refuse(QStringLiteral("the file cannot be opened"));
    }
    if (QFileInfo(source->path()).suffix().toLower() == QLatin1String("vob")) {
        qWarning("ignore vob");
        return refuse(QStringLiteral("single .vob files of a DVD cannot be added"));
    }
    auto movie = LMFFMovie::create();
    movie->openMedias(source->createMedias());
    if (source->isDRM()) {
        qWarning("ignore drm");
        return refuse(QStringLiteral("the file is copy-protected (DRM)"));
    }
    if (source->isDVD()) {
        movie->setSelectAudioStreams({0});
        movie->setSelectSubtitleStreams(IMovie::IndexSet{});
    }
    if (!movie->hasAudio() && !movie->hasVideo()) {
        const QString error = source->errorString();
        const QString why =
            error.isEmpty() ? QStringLiteral("the file holds no audio or video") : error;
        qWarning().noquote() << "Cannot use" << source->path() << ":" << why;
        return refuse(why);
    }
    return movieWithMovie(movie, movie->duration());
}

VCMovie::Ptr VCMovie::movieWithEmptyFFMovie()
{
    auto movie = LMFFMovie::create();
    movie->openMedias({});
    return movieWithMovie(movie, 3600 * 100 * lm_default_time_base());
}

QList<IMediaItem::Ptr> VCMovie::moviesFromTrimMovies(const QList<IMediaItem::Ptr>& movies)
{
    QList<IMediaItem::Ptr> pieces;
    for (const auto& item : movies) {
        if (item) {
            pieces += item->validVCMovies();
        }
    }
    return pieces;
}

QList<VCMovie::Ptr> VCMovie::moviesFromMusicPieces(const QList<MusicPiece>& pieces)
{
    QList<Ptr> movies;
    QHash<QString, IMovie::Ptr> opened;
    for (const MusicPiece& piece : pieces) {
        IMovie::Ptr movie = opened.value(piece.path);
        if (!movie) {
            const Ptr item = movieWithPath(piece.path);
            if (!item || !item->hasAudio()) {
                qWarning().noquote() << "Cannot open music" << piece.path;
                continue;
            }
            movie = item->movie();
            opened.insert(piece.path, movie);
        }
        auto item = movieWithMovie(movie, piece.trimStop);
        item->m_trimStart = piece.trimStart;
        item->m_fadeIn = piece.fadeIn;
        item->m_fadeOut = piece.fadeOut;
        movies << item;
    }
    return movies;
}

void VCMovie::installDurationProbe()
{
    MediaItem::setDurationProbe([](const QString& path) -> std::optional<qint64> {
        auto movie = LMFFMovie::create();
        if (!movie->openMedias(LMMediaSource::mediaWithPath(path)->createMedias()) ||
            !movie->hasAudio()) {
            return std::nullopt;
        }
        return movie->duration();
    });
}

// --- Movie ---

IMovie::Ptr VCMovie::movie() const
{
    std::lock_guard lock(m_lock);
    return m_movie;
}

void VCMovie::setMovie(const IMovie::Ptr& movie)
{
    std::lock_guard lock(m_lock);
    m_movie = movie;
}

QImage VCMovie::thumbnail() const
{
    std::lock_guard lock(m_lock);
    return m_thumbnail;
}

void VCMovie::setThumbnail(const QImage& v)
{
    std::lock_guard lock(m_lock);
    m_thumbnail = v.isNull() ? QImage() : v.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// --- Trimming ---

VCMovie::TrimArray VCMovie::validTrimArray() const
{
    const TrimArray segments = trimArray();
    if (segments.isEmpty()) {
        const double start = lm_ff_time_to_double(m_trimStart);
        const double duration = qMax(lm_ff_time_to_double(m_trimStop) - start, 0.0);
        return {std::make_shared<MovieTrimItem>(start, duration, lm_ff_time_to_double(m_fadeIn),
                                                lm_ff_time_to_double(m_fadeOut))};
    }
    LMMediaTime base = 0;
    for (const auto& member : segments) {
        member->setBase(base);
        base += member->durationTime();
    }
    return segments;
}

LMMediaTime VCMovie::trimArrayDuration() const
{
    const TrimArray segments = validTrimArray();
    return segments.last()->base() + segments.last()->durationTime();
}

QList<IMediaItem::Ptr> VCMovie::validVCMovies()
{
    updateMovieWatermarkImageIfNeeded();
    QList<IMediaItem::Ptr> pieces;
    const IMovie::Ptr sharedMovie = movie();
    const QImage sharedThumbnail = thumbnail();
    const MosaicArray sharedMosaics = mosaicArray();
    const bool wholeRange = trimArray().isEmpty();
    const LMMediaTime start = m_trimStart;
    const LMMediaTime stop = m_trimStop;
    for (const auto& member : validTrimArray()) {
        auto piece = create();
        piece->m_movie = sharedMovie;
        piece->m_thumbnail = sharedThumbnail;
        piece->m_mosaicArray = sharedMosaics;
        if (wholeRange) {
            // The kept range itself: no round trip through seconds.
            piece->m_trimStart = start;
            piece->m_trimStop = qMax(stop, start);
        } else {
            piece->m_trimStart = member->startTime();
            piece->m_trimStop = member->stopTime();
        }
        piece->m_fadeIn = secondsToTime(member->fadeIn());
        piece->m_fadeOut = secondsToTime(member->fadeOut());
        pieces << piece;
    }
    return pieces;
}

// --- Sizes ---

QSizeF VCMovie::videoOutputSize() const
{
    const IMovie::Ptr m = movie();
    return m ? m->outputVideoSize() : QSizeF();
}

void VCMovie::setVideoOutputSize(const QSizeF& size)
{
    const IMovie::Ptr m = movie();
    if (m) {
        m->setOutputVideoSize(size);
    }
    setWatermarkCacheImage(QImage());
    if (m) {
        m->setWatermark(LMPicture());
    }
}

QSizeF VCMovie::roatedSize(const QSizeF& size) const
{
    const IMovie::Ptr m = movie();
    const float rotate = m ? m->rotate() : 0.0f;
    const auto whole = static_cast<long long>(rotate + 0.1);
    return whole % 180 != 0 ? size.transposed() : size;
}

QSizeF VCMovie::rotatedVideoSize() const
{
    const IMovie::Ptr m = movie();
    return roatedSize(m ? m->videoSize() : QSizeF());
}

QSizeF VCMovie::contentImageSize() const
{
    const IMovie::Ptr m = movie();
    return roatedSize(m ? m->cropRect().size() : QSizeF());
}

int VCMovie::defaultZoomType() const
{
    const IMovie::Ptr m = movie();
    const QList<LMMedia::Ptr> videos = m ? m->videos() : QList<LMMedia::Ptr>();
    if (videos.isEmpty() || !videos.last()->source() || !videos.last()->source()->isDVD()) {
        return 5;
    }
    return videos.last()->value("title_set.display_aspect_ratio").toString() == "4:3" ? 4 : 3;
}

// --- Watermark settings ---

void VCMovie::resetWatermark()
{
    m_enableWatermark = false;
    m_watermarkType = 0;
    QFont font;
    font.setPointSizeF(80.0);
    {
        std::lock_guard lock(m_lock);
        m_watermarkText.clear();
        m_watermarkTextFont = font;
        m_watermarkTextColor = Qt::white;
        m_watermarkImagePath.clear();
        m_watermarkImage = QImage();
        m_watermarkRect = QRectF(0.0, 0.0, 0.3, 0.3);
    }
    setWatermarkCacheImage(QImage());
    m_watermarkOpacity = 1.0f;
}

QImage VCMovie::watermarkCacheImage() const
{
    std::lock_guard lock(m_lock);
    return m_watermarkCacheImage;
}

void VCMovie::setWatermarkCacheImage(const QImage& v)
{
    std::lock_guard lock(m_lock);
    m_watermarkCacheImage = v;
    m_watermarkCacheOrigin = QPointF();
}

QString VCMovie::watermarkRectString() const
{
    return stringFromRect(watermarkRect());
}

void VCMovie::setWatermarkRectString(const QString& v)
{
    setWatermarkRect(rectFromString(v));
}

QString VCMovie::watermarkTextSizeString() const
{
    return stringFromSize(watermarkTextSize());
}

void VCMovie::setWatermarkTextSizeString(const QString& v)
{
    setWatermarkTextSize(sizeFromString(v));
}

// --- Watermark geometry ---

QRectF VCMovie::maxWatermarkRect() const
{
    return QRectF(QPointF(0, 0), videoOutputSize());
}

QPointF VCMovie::watermarkPoint() const
{
    const QSizeF out = videoOutputSize();
    const QRectF rect = watermarkRect();
    return QPointF(rect.x() * out.width(), rect.y() * out.height());
}

void VCMovie::setWatermarkPoint(const QPointF& point)
{
    const QSizeF out = videoOutputSize();
    const float w = qMax(static_cast<float>(out.width()), 1.0f);
    const float h = qMax(static_cast<float>(out.height()), 1.0f);
    std::lock_guard lock(m_lock);
    m_watermarkRect.moveTo(point.x() / w, point.y() / h);
}

QSizeF VCMovie::watermarkImageDisplaySize() const
{
    const QSizeF out = videoOutputSize();
    const QRectF rect = watermarkRect();
    return QSizeF(rect.width() * out.width(), rect.height() * out.height());
}

void VCMovie::setWatermarkImageDisplaySize(const QSizeF& size)
{
    const QSizeF out = videoOutputSize();
    std::lock_guard lock(m_lock);
    m_watermarkRect.setSize(
        QSizeF(size.width() / qMax(out.width(), 1.0), size.height() / qMax(out.height(), 1.0)));
}

QSizeF VCMovie::watermarkTextDisplaySize() const
{
    const QSizeF out = videoOutputSize();
    const QSizeF text = watermarkTextSize();
    return QSizeF(text.width() * out.width(), text.height() * out.height());
}

void VCMovie::setWatermarkTextDisplaySize(const QSizeF& size)
{
    const QSizeF out = videoOutputSize();
    setWatermarkTextSize(
        QSizeF(size.width() / qMax(out.width(), 1.0), size.height() / qMax(out.height(), 1.0)));
}

QRectF VCMovie::realWatermarkRect() const
{
    return QRectF(watermarkPoint(),
                  m_watermarkType == 1 ? watermarkTextDisplaySize() : watermarkImageDisplaySize());
}

void VCMovie::setRealWatermarkRect(const QRectF& rect)
{
    setWatermarkPoint(rect.topLeft());
    if (m_watermarkType == 1) {
        setWatermarkTextDisplaySize(rect.size());
    } else {
        setWatermarkImageDisplaySize(rect.size());
    }
}

// --- Watermark picture ---

void VCMovie::forceUpdateWatermarkImage()
{
    if (!m_enableWatermark) {
        return;
    }
    const bool isPicture = m_watermarkType == 0;
    const QRectF target(watermarkPoint(),
                        isPicture ? watermarkImageDisplaySize() : watermarkTextDisplaySize());
    const QRectF area = target.intersected(maxWatermarkRect());
    const QSize size(qRound(area.width()), qRound(area.height()));
    if (area.isEmpty() || size.isEmpty()) {
        setWatermarkCacheImage(QImage());
        return;
    }
    QImage cache(size, QImage::Format_ARGB32_Premultiplied);
    cache.fill(Qt::transparent);
    QPainter painter(&cache);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (isPicture) {
        const QImage picture = watermarkImage();
        if (!picture.isNull()) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(toImageRect(target, area), picture);
        }
    } else {
        const QString text = watermarkText();
        const QFont font = watermarkTextFont();
        const QFontMetricsF metrics(font);
        const QSizeF natural(metrics.horizontalAdvance(text), metrics.height());
        if (natural.width() > 1.0 && natural.height() > 1.0) {
            // At the picture's lower-left corner, scaled to the target size.
            painter.translate(0, size.height() - target.height());
            painter.scale(target.width() / natural.width(), target.height() / natural.height());
            painter.setFont(font);
            painter.setPen(watermarkTextColor());
            painter.setClipRect(QRectF(QPointF(0, 0), natural));
            painter.drawText(QRectF(QPointF(0, 0), natural),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }
    painter.end();
    std::lock_guard lock(m_lock);
    m_watermarkCacheImage = cache;
    m_watermarkCacheOrigin = area.topLeft();
}

void VCMovie::updateWatermarkImage()
{
    if (watermarkCacheImage().isNull()) {
        forceUpdateWatermarkImage();
    }
}

LMPicture VCMovie::watermark()
{
    updateWatermarkImage();
    QImage cache;
    QPointF origin;
    {
        std::lock_guard lock(m_lock);
        cache = m_watermarkCacheImage;
        origin = m_watermarkCacheOrigin;
    }
    if (cache.isNull()) {
        return {};
    }
    QImage picture = cache.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.fillRect(picture.rect(),
                     QColor(255, 255, 255, qBound(0, qRound(m_watermarkOpacity * 255.0f), 255)));
    painter.end();
    return LMPicture{picture, origin};
}

void VCMovie::updateMovieWatermarkImage()
{
    const quint64 request = ++m_watermarkRequest;
    std::weak_ptr<Object> weak = weak_from_this();
    if (weak.expired() || !QCoreApplication::instance()) {
        updateMovieWatermarkImageHelper();
        return;
    }
    auto* context = QThread::currentThread() == qApp->thread() ? qApp : nullptr;
    auto run = [weak, request] {
        auto self = std::dynamic_pointer_cast<VCMovie>(weak.lock());
        if (self && self->m_watermarkRequest.load() == request) {
            self->updateMovieWatermarkImageHelper();
        }
    };
    if (context) {
        QTimer::singleShot(1, context, run);
    } else {
        QTimer::singleShot(1, run);
    }
}

void VCMovie::updateMovieWatermarkImageHelper()
{
    if (const IMovie::Ptr m = movie()) {
        m->setWatermark(watermark());
    }
}

void VCMovie::updateMovieWatermarkImageIfNeeded()
{
    const IMovie::Ptr m = movie();
    if (m && m->watermark().isNull() && m_enableWatermark) {
        updateMovieWatermarkImageHelper();
    }
}

// --- Mosaic ---

QImage VCMovie::mosaicImageForImage(const QImage& image)
{
    if (image.isNull()) {
        return {};
    }
    QImage opaque(image.size(), QImage::Format_ARGB32_Premultiplied);
    opaque.fill(Qt::black);
    QPainter(&opaque).drawImage(0, 0, image);
    return boxBlur(opaque, 20);
}

QImage VCMovie::processMosaicEffect(const QImage& frame) const
{
    const IMovie::Ptr m = movie();
    if (frame.isNull() || !m) {
        return frame;
    }
    // The blur does not care which way the picture is turned, so it is made
    // from the frame itself; only the regions, drawn on the turned picture,
    // are carried back into the frame.
    QTransform turn;
    turn.rotate(-m->rotate());
    turn.scale(m->hflip() ? -1 : 1, m->vflip() ? -1 : 1);
    const QTransform toTurned = QImage::trueMatrix(turn, frame.width(), frame.height());
    const QTransform toFrame = toTurned.inverted();
    const QRectF turnedWhole = toTurned.mapRect(QRectF(frame.rect()));
    const QRectF turnedArea(QPointF(0, 0), turnedWhole.size());

    const QImage blurred = mosaicImageForImage(frame);
    QImage result = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const LMMediaTime now = m->currentTime();
    const QRectF whole(QPointF(0, 0), QSizeF(result.size()));
    for (const auto& item : mosaicArray()) {
        if (!item || !item->appliesAt(now)) {
            continue;
        }
        QPainterPath turnedRegion;
        turnedRegion.addRect(toImageRect(item->mosaicRect(), turnedArea).intersected(turnedArea));
        const QPainterPath region = toFrame.map(turnedRegion);
        QPainter painter(&result);
        if (item->mosaicMode() == 0) {
            QPainterPath outside;
            outside.addRect(whole);
            painter.setClipPath(outside.subtracted(region));
        } else {
            painter.setClipPath(region);
        }
        painter.drawImage(QPointF(0, 0), blurred);
    }
    return result;
}

// --- Key access ---

QStringList VCMovie::snapshotKeys()
{
    return {"trimStart",
            "trimStop",
            "fadeIn",
            "fadeOut",
            "trimArray",
            "enableWatermark",
            "watermarkType",
            "watermarkText",
            "watermarkTextFont",
            "watermarkTextColor",
            "watermarkImage",
            "watermarkRectString",
            "watermarkTextSizeString",
            "watermarkOpacity"};
}

const PropertyTable& VCMovie::properties()
{
    using V = VCMovie;
    static const PropertyTable table = [] {
        PropertyTable t(Object::properties());
        auto scalar = [&t](const char* key, PropertyTable::Property p) {
            t.add(key, p.get, p.set);
        };
        scalar("trimStart", scalarOrZero<qint64>(&V::trimStart, &V::setTrimStart));
        scalar("trimStop", scalarOrZero<qint64>(&V::trimStop, &V::setTrimStop));
        scalar("fadeIn", scalarOrZero<qint64>(&V::fadeIn, &V::setFadeIn));
        scalar("fadeOut", scalarOrZero<qint64>(&V::fadeOut, &V::setFadeOut));
        scalar("enableWatermark", scalarOrZero<bool>(&V::enableWatermark, &V::setEnableWatermark));
        scalar("watermarkType", scalarOrZero<int>(&V::watermarkType, &V::setWatermarkType));
        scalar("watermarkOpacity",
               scalarOrZero<float>(&V::watermarkOpacity, &V::setWatermarkOpacity));
        scalar("subtitleEncoding",
               scalarOrZero<quint64>(&V::subtitleEncoding, &V::setSubtitleEncoding));
        t.add("trimArray", &V::trimArray, &V::setTrimArray)
            .add("mosaicArray", &V::mosaicArray, &V::setMosaicArray)
            .add("watermarkText", &V::watermarkText, &V::setWatermarkText)
            .add("watermarkTextFont", &V::watermarkTextFont, &V::setWatermarkTextFont)
            .add("watermarkTextColor", &V::watermarkTextColor, &V::setWatermarkTextColor)
            .add("watermarkImage", &V::watermarkImage, &V::setWatermarkImage)
            .add("watermarkImagePath", &V::watermarkImagePath, &V::setWatermarkImagePath)
            .add("watermarkRectString", &V::watermarkRectString, &V::setWatermarkRectString)
            .add("watermarkTextSizeString", &V::watermarkTextSizeString,
                 &V::setWatermarkTextSizeString)
            .add("subtitlePath", &V::subtitlePath, &V::setSubtitlePath)
            .add("thumbnail", &V::thumbnail, &V::setThumbnail);
        return t;
    }();
    return table;
}
