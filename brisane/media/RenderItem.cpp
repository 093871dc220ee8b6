#include "media/RenderItem.h"

#include <QDir>
#include <cmath>

#include "media/RenderController.h"
#include "media/SlideshowFiles.h"
#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/Numeric.h"

BRISANE_REGISTER_CLASS(RenderItem)

RenderItem::RenderItem() : m_slideshow(std::make_shared<SlideshowItem>()) {}

std::shared_ptr<RenderItem> RenderItem::create()
{
    auto item = std::make_shared<RenderItem>();
    item->slideshowMergeFrom(RenderController::defaultInformation());
    return item;
}

std::shared_ptr<RenderItem> RenderItem::renderItemWithPhotoPaths(const QStringList& paths)
{
    auto item = create();
    item->addPhotoPaths(paths);
    return item;
}

std::shared_ptr<RenderItem> RenderItem::renderItemWithPhotoURLs(const QList<QUrl>& urls)
{
    auto item = create();
    item->addPhotoURLs(urls);
    return item;
}

qsizetype RenderItem::addPhotoPaths(const QStringList& paths)
{
    QList<std::shared_ptr<PhotoItem>> photos;
    for (const QString& path : paths) {
        if (auto photo = PhotoItem::itemWithPhotoPath(path)) {
            photos.append(photo);
        }
    }
    addPhotoItems(photos);
    return photos.size();
}

qsizetype RenderItem::addPhotoURLs(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        paths.append(url.toLocalFile());
    }
    return addPhotoPaths(paths);
}

void RenderItem::addPhotoItems(const QList<std::shared_ptr<PhotoItem>>& photos)
{
    for (const auto& photo : photos) {
        if (photo) {
            m_photos.append(photo);
        }
    }
}

void RenderItem::slideshowMergeFrom(const std::optional<Value::Dictionary>& information)
{
    m_slideshow->mergeFromDic(information);
}

QList<std::shared_ptr<PhotoItem>> RenderItem::slideshowPhotoItems() const
{
    if (m_photos.size() == 1) {
        return {m_photos.first(), m_photos.first()};
    }
    return m_photos;
}

double RenderItem::slideshowDuration() const
{
    const qsizetype n = slideshowPhotoItems().size();
    if (n == 0) {
        return 0.0;
    }
    const double d = m_slideshow->dDuration();
    return (m_slideshow->dFirstRatio() + m_slideshow->dLastRatio() + double(n - 2)) * d;
}

double RenderItem::slideshowMetaDuration() const
{
    return m_slideshow->dDuration();
}

double RenderItem::slideshowFirstRatio() const
{
    return m_slideshow->dFirstRatio();
}

double RenderItem::slideshowLastRatio() const
{
    return m_slideshow->dLastRatio();
}

double RenderItem::slideshowMetaRatio() const
{
    const double ratio = m_slideshow->dDuration() / m_slideshow->dBestDuration();
    return std::isfinite(ratio) && ratio > 0.0 ? ratio : 1.0;
}

QString RenderItem::slideshowName() const
{
    return m_slideshow->strSlideshowName();
}

QList<MusicPiece> RenderItem::audioVcMovies() const
{
    const qint64 length = saturatingCast<qint64>(slideshowDuration() * MediaItem::TimeBase);
    return MediaItem::getVcMovies(audioItems(), length);
}

bool RenderItem::saveSourceAtPath(const QString& projectFolder) const
{
    const QDir project(projectFolder);
    bool stored = true;
    const QString audio = project.filePath(SlideshowFiles::AudioFolderName);
    for (const auto& item : audioItems()) {
        stored = item->saveSourceAtPath(audio) && stored;
    }
    const QString photos = project.filePath(SlideshowFiles::PhotoFolderName);
    for (const auto& photo : m_photos) {
        stored = photo->saveSourceAtPath(photos) && stored;
    }
    return stored;
}

void RenderItem::loadSourceAtPath(const QString& projectFolder)
{
    const QDir project(projectFolder);
    const QString audio = project.filePath(SlideshowFiles::AudioFolderName);
    for (const auto& item : audioItems()) {
        item->loadSourceAtPath(audio);
    }
    const QString photos = project.filePath(SlideshowFiles::PhotoFolderName);
    for (const auto& photo : m_photos) {
        photo->loadSourceAtPath(photos);
    }
}

void RenderItem::setOSlideshowItem(std::shared_ptr<SlideshowItem> item)
{
    m_slideshow = item ? std::move(item) : std::make_shared<SlideshowItem>();
}

void RenderItem::setMtAryPhotoItems(const QList<std::shared_ptr<PhotoItem>>& photos)
{
    m_photos.clear();
    addPhotoItems(photos);
}

QList<std::shared_ptr<MediaItem>> RenderItem::audioItems() const
{
    QMutexLocker lock(&m_audioMutex);
    return m_audioItems.value_or(QList<std::shared_ptr<MediaItem>>());
}

void RenderItem::setAudioItems(const QList<std::shared_ptr<MediaItem>>& items)
{
    QList<std::shared_ptr<MediaItem>> kept;
    for (const auto& item : items) {
        if (item) {
            kept.append(item);
        }
    }
    QMutexLocker lock(&m_audioMutex);
    m_audioItems = kept;
}

bool RenderItem::hasAudioItems() const
{
    QMutexLocker lock(&m_audioMutex);
    return m_audioItems.has_value();
}

void RenderItem::setBKeepStandardRatio(bool keep)
{
    m_keepStandardRatio = keep;
    for (const auto& photo : m_photos) {
        photo->setBKeepStandardRatio(keep);
    }
}

const PropertyTable& RenderItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("oSlideshowItem", &RenderItem::oSlideshowItem, &RenderItem::setOSlideshowItem)
            .add("bKeepStandardRatio", &RenderItem::bKeepStandardRatio,
                 &RenderItem::setBKeepStandardRatio);
    return table;
}

void RenderItem::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(Value(m_slideshow), QStringLiteral("RI_SlideshowItem"));
    Value::Array photos;
    for (const auto& photo : m_photos) {
        photos.append(Value(photo));
    }
    coder.encodeObject(Value(photos), QStringLiteral("RI_PhotoItems"));
    coder.encodeBool(m_keepStandardRatio, QStringLiteral("RI_KeepStandardRatio"));
    if (hasAudioItems()) {
        Value::Array audio;
        for (const auto& item : audioItems()) {
            audio.append(Value(item));
        }
        coder.encodeObject(Value(audio), QStringLiteral("audioItems"));
    } else {
        coder.encodeObject(Value(), QStringLiteral("audioItems"));
    }
}

bool RenderItem::initWithCoder(KeyedUnarchiver& coder)
{
    Object::initWithCoder(coder);
    setOSlideshowItem(
        coder.decodeObjectForKey(QStringLiteral("RI_SlideshowItem")).objectAs<SlideshowItem>());
    // Lists leave out what did not decode (an unknown class, a damaged entry).
    const auto photos = ValueTraits<QList<std::shared_ptr<PhotoItem>>>::fromValue(
        coder.decodeObjectForKey(QStringLiteral("RI_PhotoItems")));
    setMtAryPhotoItems(photos.value_or(QList<std::shared_ptr<PhotoItem>>()));
    const Value audio = coder.decodeObjectForKey(QStringLiteral("audioItems"));
    if (audio.isArray()) {
        const auto items = ValueTraits<QList<std::shared_ptr<MediaItem>>>::fromValue(audio);
        setAudioItems(items.value_or(QList<std::shared_ptr<MediaItem>>()));
    }
    setBKeepStandardRatio(coder.decodeBool(QStringLiteral("RI_KeepStandardRatio")));
    return true;
}
