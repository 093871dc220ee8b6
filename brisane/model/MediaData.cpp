#include "model/MediaData.h"

#include <QFileInfo>
#include <QtDebug>
#include <algorithm>

#include "common/CommonFunction.h"
#include "corvane/DVDMenu.h"
#include "media/SubtitleEncodings.h"
#include "media/SubtitleFileOpener.h"
#include "model/DVDFileSource.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaEditSnapshot.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(MediaData)

namespace {

const QStringList& clipMovieKeys()
{
    static const QStringList keys = MediaEditSnapshot::movieAttributesKeys(true);
    return keys;
}

}  // namespace

// --- Media item ---

void MediaData::loadVCMovieFromProject()
{
    loadVCMovieFromProject(DVDMenu::menuSizeForAspectType(1));
}

void MediaData::loadVCMovieFromProject(const QSizeF& canvas)
{
    loadVCMovie(canvas);
    updateMovieAttributesToMovie();
    // A snapshot of another shape (taken on another disc) does not win over
    // the disc the clip is opened on.
    if (m_vcmovie && m_vcmovie->videoOutputSize() != canvas) {
        m_vcmovie->setVideoOutputSize(canvas);
    }
}

void MediaData::loadVCMovie(const QSizeF& canvas)
{
    const auto source = m_sectionItem ? m_sectionItem->superResource() : nullptr;
    m_vcmovie =
        source ? SectionDataResource::createVcmovieWithSectionDataSource(*source, canvas) : nullptr;
}

void MediaData::newMediaEditDic()
{
    takeSnapshot();
}

void MediaData::takeSnapshot() const
{
    if (!m_vcmovie) {
        return;
    }
    auto snapshot = MediaEditSnapshot::take(*m_vcmovie, clipMovieKeys());
    if (!snapshot) {
        return;
    }
    if (const auto subtitle = subtitleFileSource()) {
        snapshot->insert(SubtitleFileKey, Value(subtitle));
        snapshot->insert(SubtitleEncodingKey, m_vcmovie->valueForKey(SubtitleEncodingKey));
    }
    m_movieAttributes = *snapshot;
}

std::shared_ptr<DVDFileSource> MediaData::subtitleFileSource() const
{
    if (!m_vcmovie) {
        return m_movieAttributes.value(SubtitleFileKey).objectAs<DVDFileSource>();
    }
    const QString chosen = m_vcmovie->subtitlePath();
    if (chosen.isEmpty()) {
        m_subtitleSource.reset();
        m_subtitleSourceFor.clear();
    } else if (!m_subtitleSource ||
               (chosen != m_subtitleSourceFor && chosen != m_subtitleSource->path())) {
        m_subtitleSource = DVDFileSource::sourceWithPath(chosen);
        m_subtitleSourceFor = chosen;
    }
    return m_subtitleSource;
}

void MediaData::reopenSubtitle()
{
    const auto source = m_movieAttributes.value(SubtitleFileKey).objectAs<DVDFileSource>();
    if (!source || source->path().isEmpty()) {
        return;
    }
    m_vcmovie->setValueForKey(m_movieAttributes.value(SubtitleEncodingKey), SubtitleEncodingKey);
    m_subtitleSource = source;
    m_subtitleSourceFor = source->path();
    const SubtitleFileOpener::Result opened =
        SubtitleFileOpener::openSubtitlePath(*m_vcmovie, source->path());
    if (!opened.hasSubtitle) {
        qWarning().noquote() << "the subtitle of" << m_name << "is not shown:" << opened.problem;
    } else if (!opened.damagedLines.isEmpty()) {
        qWarning().noquote() << "the subtitle of" << m_name
                             << "has damaged lines:" << opened.damagedLines;
    }
}

bool MediaData::keepSubtitleText()
{
    const auto source = subtitleFileSource();
    const IMovie::Ptr movie = ffmovie();
    if (!source || !movie || !movie->hasSubtitle() || QFileInfo(source->path()).isFile()) {
        return false;
    }
    m_vcmovie->setSubtitleEncoding(SubtitleEncodings::kUTF8);
    return true;
}

bool MediaData::saveSubtitleTextAtPath(const QString& projectFolder) const
{
    const auto source = subtitleFileSource();
    const IMovie::Ptr movie = ffmovie();
    const std::optional<QString> text = movie ? movie->subtitle().toString() : std::nullopt;
    if (!source || !text) {
        return false;
    }
    qInfo().noquote() << "the subtitle file of" << m_name << "is gone:" << source->path()
                      << "; its copy is written from the text the clip holds";
    return source->saveContentAtPath(projectFolder, text->toUtf8());
}

void MediaData::updateMovieAttributesToMovie()
{
    if (!m_vcmovie) {
        return;
    }
    MediaEditSnapshot::apply(m_movieAttributes, *m_vcmovie, clipMovieKeys());
    reopenSubtitle();
    // The stream chosen in the video editor plays and goes to the disc again.
    const IMovie::Ptr movie = m_vcmovie->movie();
    if (movie && m_audioTreamTag >= 0 && m_audioTreamTag < movie->audioStreams().size()) {
        movie->setSelectAudioStreams({static_cast<int>(m_audioTreamTag)});
    }
}

IMovie::Ptr MediaData::ffmovie() const
{
    return m_vcmovie ? m_vcmovie->movie() : nullptr;
}

QList<VCMovie::Ptr> MediaData::segmentMovies() const
{
    QList<VCMovie::Ptr> pieces;
    if (!m_vcmovie) {
        return pieces;
    }
    const bool wholeSection = m_vcmovie->trimArray().isEmpty();
    for (const auto& member : m_vcmovie->validVCMovies()) {
        auto piece = std::dynamic_pointer_cast<VCMovie>(member);
        if (!piece) {
            continue;
        }
        if (m_sectionItem && wholeSection) {
            piece->setTrimStart(m_sectionItem->startTimeInMedia());
            piece->setTrimStop(m_sectionItem->endTimeInMedia());
        } else if (m_sectionItem) {
            piece->setTrimStart(piece->trimStart() + m_sectionItem->startTimeInMedia());
            piece->setTrimStop(piece->trimStop() + m_sectionItem->startTimeInMedia());
        }
        pieces.append(piece);
    }
    return pieces;
}

// --- Thumbnails ---

QImage MediaData::thumbnailForVcMovie(const VCMovie& item)
{
    const IMovie::Ptr movie = item.movie();
    if (!movie) {
        return {};
    }
    const auto limit = static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * 5.5);
    const LMMediaTime offset = std::min(limit, item.trimDuration() / 2);
    QSizeF size = movie->shownVideoSize();
    if (size.width() > 480 || size.height() > 320) {
        size =
            CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), size), QRectF(0, 0, 480, 320)).size();
    }
    return movie->thumbnailAtTime(item.trimStart() + offset, size.toSize());
}

QImage MediaData::thumbnailForMovie(const IMovie::Ptr& movie)
{
    if (!movie) {
        return {};
    }
    return thumbnailForVcMovie(*VCMovie::movieWithMovie(movie, movie->duration()));
}

// --- Moving ---

MediaData::Ptr MediaData::copyMediaFromMedia(const MediaData& clip)
{
    auto copy = std::make_shared<MediaData>();
    copy->m_isImageData = clip.m_isImageData;
    copy->m_imageDataDuration = clip.m_imageDataDuration;
    copy->m_path = clip.m_path;
    copy->m_name = clip.m_name;
    copy->m_previewImage = clip.m_previewImage;
    copy->m_vcmovie = clip.m_vcmovie;
    copy->m_subMediaArray = clip.m_subMediaArray;
    copy->m_isSubMedia = clip.m_isSubMedia;
    copy->m_hasSubMedia = clip.m_hasSubMedia;
    copy->m_superMediaData = clip.m_superMediaData;
    copy->m_superTitleData = clip.m_superTitleData;
    if (clip.m_subMediaArray.isEmpty() && clip.m_sectionItem) {
        copy->m_sectionItem = clip.m_sectionItem;
        copy->m_sectionItem->setAssociatedMedia(copy);
    }
    return copy;
}

void MediaData::copyMediaEditEndWithMedia(const Ptr& clip)
{
    if (!clip) {
        return;
    }
    for (const auto& member : clip->m_subMediaArray) {
        if (member) {
            member->flushSuperMediaData(clip);
        }
    }
}

void MediaData::flushSuperTitleData(const std::shared_ptr<DVDTitleData>& title)
{
    m_superTitleData = title;
    m_isSubMedia = false;
    m_superMediaData.reset();
}

void MediaData::flushSuperMediaData(const Ptr& group)
{
    m_superTitleData.reset();
    m_hasSubMedia = false;
    m_isSubMedia = true;
    m_subMediaArray.clear();
    m_superMediaData = group;
}

void MediaData::setMenuItem(const std::shared_ptr<DVDPageItem>& item)
{
    m_menuItem = item;
}

// --- MenuClip ---

QList<std::shared_ptr<MenuClip>> MediaData::subMenuClips() const
{
    QList<std::shared_ptr<MenuClip>> members;
    for (const auto& member : m_subMediaArray) {
        if (member) {
            members.append(member);
        }
    }
    return members;
}

QList<SegmentsMovie::Piece> MediaData::segmentPieces() const
{
    QList<SegmentsMovie::Piece> pieces;
    for (const auto& piece : segmentMovies()) {
        pieces.append({piece->movie(), piece->trimStart(), piece->trimDuration()});
    }
    return pieces;
}

// --- Archive ---

void MediaData::encodeWithCoder(KeyedArchiver& coder) const
{
    takeSnapshot();
    CodingBase::encodeWithCoder(coder);
}

bool MediaData::initWithCoder(KeyedUnarchiver& coder)
{
    if (!CodingBase::initWithCoder(coder)) {
        return false;
    }
    if (m_sectionItem) {
        m_sectionItem->setAssociatedMedia(
            std::dynamic_pointer_cast<MediaData>(weak_from_this().lock()));
    }
    return true;
}

QStringList MediaData::allCoderKeys() const
{
    return {"superTitleData", "isImageData",     "imageDataDuration", "path",
            "name",           "previewImage",    "sectionItem",       "hasSubMedia",
            "subMediaArray",  "isSubMedia",      "superMediaData",    "isTitle",
            "menuItem",       "movieAttributes", "audioTreamTag"};
}

const PropertyTable& MediaData::properties()
{
    using M = MediaData;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("superTitleData", &M::superTitleData, &M::setSuperTitleData)
            .add("isImageData", &M::isImageData, &M::setIsImageData)
            .add("imageDataDuration", &M::imageDataDuration, &M::setImageDataDuration)
            .add("path", &M::path, &M::setPath)
            .add("name", &M::name, &M::setName)
            .add("previewImage", &M::previewImage, &M::setPreviewImage)
            .add("sectionItem", &M::sectionItem, &M::setSectionItem)
            .add("hasSubMedia", &M::hasSubMedia, &M::setHasSubMedia)
            .add("subMediaArray", static_cast<const ClipList& (M::*)() const>(&M::subMediaArray),
                 &M::setSubMediaArray)
            .add("isSubMedia", &M::isSubMedia, &M::setIsSubMedia)
            .add("superMediaData", &M::superMediaData, &M::setSuperMediaData)
            .add("isTitle", &M::isTitle, &M::setIsTitle)
            .add("menuItem", &M::menuItem, &M::setMenuItem)
            .add("movieAttributes", &M::movieAttributes, &M::setMovieAttributes)
            .add("audioTreamTag", &M::audioTreamTag, &M::setAudioTreamTag)
            .add("vcmovie", &M::vcmovie, &M::setVcmovie);
    return table;
}
