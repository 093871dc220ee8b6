#include "media/MediaItem.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <algorithm>

#include "common/NamedImage.h"
#include "lumenta/IMovie.h"
#include "media/SlideshowFiles.h"
#include "media/VCMovie.h"
#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(MediaItem)

namespace {

QMutex probeMutex;
MediaItem::DurationProbe& durationProbe()
{
    static MediaItem::DurationProbe probe;
    return probe;
}

constexpr qint64 ShortestPiece = MediaItem::TimeBase / 2;       // shorter ones are skipped
constexpr qint64 ShortestLaidPiece = MediaItem::TimeBase / 10;  // laid only when longer
constexpr qint64 LastFadeOut = MediaItem::TimeBase;
constexpr qint64 ShortestFile = MediaItem::TimeBase / 5;  // files this short are refused
constexpr qint64 ThumbnailTime = MediaItem::TimeBase * 11 / 2;

}  // namespace

std::shared_ptr<MediaItem> MediaItem::mediaItemWithPath(const QString& path)
{
    auto item = std::make_shared<MediaItem>();
    const QString fileName = QFileInfo(path).fileName();
    item->m_path = path;
    item->m_name = QFileInfo(path).completeBaseName();
    item->m_itemPathName = QStringLiteral("item-%1.%2").arg(shaString(path), fileName);
    return item;
}

std::shared_ptr<MediaItem> MediaItem::itemWithPath(const QString& path)
{
    const auto movie = VCMovie::movieWithPath(path);
    if (!movie || !movie->hasAudio() || movie->trimDuration() <= ShortestFile) {
        return nullptr;
    }
    auto item = mediaItemWithPath(path);
    item->m_trimStart = movie->trimStart();
    item->m_trimStop = movie->trimStop();
    item->m_fadeIn = movie->fadeIn();
    item->m_fadeOut = movie->fadeOut();
    item->m_vcmovie = movie;
    item->m_image = thumbnailForMovie(movie->movie());
    if (item->m_image.isNull()) {
        item->m_image = NamedImage::imageNamed(QStringLiteral("default-audio-icon"));
    }
    return item;
}

std::shared_ptr<MediaItem> MediaItem::itemWithPath(const QString& path,
                                                   const Value::Dictionary& attributes)
{
    auto item = itemWithPath(path);
    if (item) {
        item->setItemAttributes(attributes);
    }
    return item;
}

Value::Dictionary MediaItem::itemAttributes() const
{
    Value::Dictionary attrs;
    attrs.insert(QStringLiteral("name"), m_name.isNull() ? QStringLiteral("") : m_name);
    attrs.insert(QStringLiteral("itemPathName"),
                 m_itemPathName.isNull() ? QStringLiteral("") : m_itemPathName);
    attrs.insert(QStringLiteral("fadeIn"), Value(m_fadeIn));
    attrs.insert(QStringLiteral("fadeOut"), Value(m_fadeOut));
    attrs.insert(QStringLiteral("trimStart"), Value(m_trimStart));
    attrs.insert(QStringLiteral("trimStop"), Value(m_trimStop));
    return attrs;
}

void MediaItem::setItemAttributes(const Value::Dictionary& attrs)
{
    auto text = [&](const char* key) {
        return attrs.value(QString::fromLatin1(key)).toString().value_or(QString());
    };
    auto number = [&](const char* key) {
        return attrs.value(QString::fromLatin1(key)).toInt().value_or(0);
    };
    m_name = text("name");
    m_itemPathName = text("itemPathName");
    setFadeIn(number("fadeIn"));
    setFadeOut(number("fadeOut"));
    setTrimStart(number("trimStart"));
    setTrimStop(number("trimStop"));
}

QString MediaItem::shaString(const QString& text)
{
    const QByteArray bytes = text.isEmpty() ? QByteArray("     ") : text.toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QImage MediaItem::thumbnailForMovie(const std::shared_ptr<IMovie>& movie)
{
    if (!movie || !movie->hasVideo()) {
        return {};
    }
    const qint64 time = std::min<qint64>(ThumbnailTime, movie->duration() / 2);
    QSizeF size = movie->shownVideoSize();
    if (size.width() > 480 || size.height() > 320) {
        size = scaleRect(QRectF(QPointF(), size), QRectF(0, 0, 480, 320)).size();
    }
    return movie->thumbnailAtTime(time, size.toSize());
}

QRectF MediaItem::scaleRect(const QRectF& rect, const QRectF& box)
{
    const float r =
        std::max({float(rect.width() / box.width()), float(rect.height() / box.height()), 0.01f});
    const QSizeF size(rect.width() / r, rect.height() / r);
    return QRectF(box.topLeft() +
                      QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2),
                  size);
}

void MediaItem::setTrimStart(qint64 v)
{
    m_trimStart = v;
    if (m_vcmovie) {
        m_vcmovie->setTrimStart(v);
    }
}

void MediaItem::setTrimStop(qint64 v)
{
    m_trimStop = v;
    if (m_vcmovie) {
        m_vcmovie->setTrimStop(v);
    }
}

void MediaItem::setFadeIn(qint64 v)
{
    m_fadeIn = v;
    if (m_vcmovie) {
        m_vcmovie->setFadeIn(v);
    }
}

void MediaItem::setFadeOut(qint64 v)
{
    m_fadeOut = v;
    if (m_vcmovie) {
        m_vcmovie->setFadeOut(v);
    }
}

void MediaItem::setDurationProbe(DurationProbe probe)
{
    QMutexLocker lock(&probeMutex);
    durationProbe() = std::move(probe);
}

std::optional<MusicPiece> MediaItem::piece()
{
    if (m_trimStart == 0 && m_trimStop == 0) {
        DurationProbe probe;
        {
            QMutexLocker lock(&probeMutex);
            probe = durationProbe();
        }
        const auto length = probe ? probe(m_path) : std::nullopt;
        if (!length || *length <= 0) {
            qWarning().noquote() << "Cannot open music" << m_path;
            return std::nullopt;
        }
        m_trimStop = *length;
    }
    return MusicPiece{m_path, m_trimStart, m_trimStop, m_fadeIn, m_fadeOut};
}

QList<MusicPiece> MediaItem::getVcMovies(const QList<std::shared_ptr<MediaItem>>& items,
                                         qint64 duration)
{
    QList<MusicPiece> pieces;
    qint64 laid = 0;
    bool laidInPass = !items.isEmpty();
    while (laid < duration && laidInPass) {
        laidInPass = false;
        for (const auto& item : items) {
            auto piece = item ? item->piece() : std::nullopt;
            if (!piece || piece->duration() < ShortestPiece) {
                continue;
            }
            if (piece->duration() > duration - laid) {
                piece->trimStop = piece->trimStart + (duration - laid);
            }
            if (piece->duration() > ShortestLaidPiece) {
                laid += piece->duration();
                pieces.append(*piece);
                laidInPass = true;
            }
            if (laid >= duration) {
                break;
            }
        }
    }
    if (!pieces.isEmpty()) {
        MusicPiece& last = pieces.last();
        last.fadeOut = std::max(last.fadeOut, LastFadeOut);
        last.fadeIn = std::min(last.fadeIn, std::max<qint64>(last.duration() - last.fadeOut, 0));
    }
    return pieces;
}

std::shared_ptr<VCMovie> MediaItem::vcmovie()
{
    const auto kept = piece();
    if (!kept) {
        return nullptr;
    }
    if (!m_vcmovie || !m_vcmovie->movie()) {
        m_vcmovie = VCMovie::moviesFromMusicPieces({*kept}).value(0);
        return m_vcmovie;
    }
    m_vcmovie->setTrimStart(kept->trimStart);
    m_vcmovie->setTrimStop(kept->trimStop);
    m_vcmovie->setFadeIn(kept->fadeIn);
    m_vcmovie->setFadeOut(kept->fadeOut);
    return m_vcmovie;
}

bool MediaItem::saveSourceAtPath(const QString& folder) const
{
    if (!SlideshowFiles::isPlainFileName(m_itemPathName)) {
        qWarning().noquote() << "Music without a valid copy name:" << m_itemPathName;
        return false;
    }
    return SlideshowFiles::linkOrCopy(m_path, QDir(folder).filePath(m_itemPathName));
}

void MediaItem::loadSourceAtPath(const QString& folder)
{
    if (!SlideshowFiles::isPlainFileName(m_itemPathName)) {
        qWarning().noquote() << "Music without a valid copy name:" << m_itemPathName;
        m_path.clear();
        return;
    }
    setPath(QDir(folder).filePath(m_itemPathName));
}

const PropertyTable& MediaItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("path", &MediaItem::path, &MediaItem::setPath)
            .add("name", &MediaItem::name, &MediaItem::setName)
            .add("image", &MediaItem::image, &MediaItem::setImage)
            .add("itemPathName", &MediaItem::itemPathName, &MediaItem::setItemPathName)
            .add("trimStart", &MediaItem::trimStart, &MediaItem::setTrimStart)
            .add("trimStop", &MediaItem::trimStop, &MediaItem::setTrimStop)
            .add("fadeIn", &MediaItem::fadeIn, &MediaItem::setFadeIn)
            .add("fadeOut", &MediaItem::fadeOut, &MediaItem::setFadeOut);
    return table;
}

void MediaItem::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(Value(itemAttributes()), QStringLiteral("attrs"));
}

bool MediaItem::initWithCoder(KeyedUnarchiver& coder)
{
    Object::initWithCoder(coder);
    m_vcmovie.reset();
    setItemAttributes(coder.decodeObjectForKey(QStringLiteral("attrs")).dictionary());
    return true;
}
