// DVDPageItem: how an element turns into a picture at a media time.

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "model/DVDPageItem.h"
#include "model/EffectTextImage.h"
#include "model/MenuClip.h"
#include "model/MenuTitle.h"

namespace {

// The rectangle rounded outwards to whole points, as an integral rectangle.
QRectF integralRect(const QRectF& rect)
{
    if (!(rect.width() > 0) || !(rect.height() > 0)) {
        return {};
    }
    const double left = std::floor(rect.left());
    const double bottom = std::floor(rect.top());
    const double right = std::ceil(rect.right());
    const double top = std::ceil(rect.bottom());
    return QRectF(left, bottom, right - left, top - bottom);
}

}  // namespace

QImage DVDPageItem::imageAtTime(qint64 time)
{
    if (isTextItem()) {
        return m_textSource ? m_textSource->textSourceImage() : QImage();
    }
    if (isButtonItem()) {
        return m_buttonResource ? m_buttonResource->image() : QImage();
    }
    return titlePictureAtTime(time);
}

QImage DVDPageItem::titlePictureAtTime(qint64 time)
{
    QImage picture;
    if (!m_menuStaticImage.isNull() && m_useStaticImage) {
        picture = m_menuStaticImage;
    } else {
        const auto clips = getMovieMediasForItem();
        if (time == stillTime || m_useStaticImage) {
            if (!m_menuStaticImage.isNull()) {
                picture = m_menuStaticImage;
            } else if (!clips.isEmpty() && clips.first()) {
                picture = clips.first()->previewImage();
            }
        } else {
            picture = liveVideoPicture(time, clips);
        }
    }
    return menuFrameItem(time == stillTime, [&picture](QPainter& painter, const QRectF& rect) {
        if (!picture.isNull()) {
            DLBitmapImage::drawImage(painter, picture, rect);
        }
    });
}

QImage DVDPageItem::liveVideoPicture(qint64 time, const QList<std::shared_ptr<MenuClip>>& clips)
{
    if (!m_segmentMovie) {
        m_segmentMovie = SegmentsMovie::movieWithMovies(getVCMovieForMedias(clips));
    }
    // Saturating sum: the video starts at the element's offset and loops.
    qint64 start = 0;
    if (__builtin_add_overflow(time, m_videoImageTime, &start)) {
        start = time > 0 ? std::numeric_limits<qint64>::max() : 0;
    }
    start = std::max<qint64>(0, start);
    const qint64 length = std::max<qint64>(1, m_segmentMovie->duration());
    return m_segmentMovie->ciImageAtTime(start % length);
}

QImage DVDPageItem::menuFrameItem(bool, const std::function<void(QPainter&, const QRectF&)>& draw)
{
    const QRectF r = integralRect(QRectF(0, 0, m_frame.width(), m_frame.height()));
    const auto bitmap = DLBitmapImage::imageWithSize(r.size());
    if (!bitmap) {
        return {};
    }
    bitmap->lockFocus();
    QPainter& painter = *bitmap->painter();
    painter.setRenderHint(QPainter::Antialiasing);
    const QImage frameImage = m_frameResource ? m_frameResource->frameImage() : QImage();
    const QImage maskImage = m_frameResource ? m_frameResource->maskImage() : QImage();

    QPainterPath clip;
    if (m_useFrame) {
        clip.addRect(r.adjusted(5, 5, -5, -5));
    } else {
        const double radius = std::min({r.height() * 0.5, roundValue(), r.width() * 0.5});
        clip.addRoundedRect(r, radius, radius);
    }
    painter.save();
    painter.fillPath(clip, Qt::black);
    painter.setClipPath(clip);
    if (draw) {
        draw(painter, r);
    }
    painter.restore();
    if (m_useFrame) {
        if (!maskImage.isNull()) {
            DLBitmapImage::drawImage(painter, maskImage, r, QRectF(),
                                     QPainter::CompositionMode_DestinationOut);
        }
        if (!frameImage.isNull()) {
            DLBitmapImage::drawImage(painter, frameImage, r);
        }
    }
    bitmap->unlockFocus();
    return bitmap->nsimage();
}

double DVDPageItem::roundValue() const
{
    if (m_useFrame) {
        return 0.0;
    }
    return m_itemRoundValue * m_frame.width() * 0.5;
}

std::optional<Shadow> DVDPageItem::getItemShadow() const
{
    if (!m_hasShadow) {
        return std::nullopt;
    }
    const double angle = static_cast<double>(m_shadowAngleValue) / 180.0 * M_PI;
    const double offset = m_shadowOffsetValue;
    Shadow shadow;
    shadow.offset = QPointF(offset * std::cos(angle), offset * std::sin(angle));
    shadow.blurRadius = m_shadowBlursizeValue;
    shadow.color = m_shadowColor;
    return shadow;
}

QList<std::shared_ptr<MenuClip>> DVDPageItem::getMovieMediasForItem() const
{
    const ObjectPtr media = m_media.lock();
    if (const auto title = std::dynamic_pointer_cast<MenuTitle>(media)) {
        return title->menuClips();
    }
    if (const auto clip = std::dynamic_pointer_cast<MenuClip>(media)) {
        return {clip};
    }
    return {};
}

QList<SegmentsMovie::Piece> DVDPageItem::getVCMovieForMedias(
    const QList<std::shared_ptr<MenuClip>>& clips)
{
    QList<SegmentsMovie::Piece> pieces;
    for (const auto& clip : clips) {
        if (!clip) {
            continue;
        }
        if (clip->hasSubMedia()) {
            for (const auto& member : clip->subMenuClips()) {
                if (member) {
                    pieces += member->segmentPieces();
                }
            }
        } else {
            pieces += clip->segmentPieces();
        }
    }
    return pieces;
}
