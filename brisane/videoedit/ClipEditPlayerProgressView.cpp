#include "videoedit/ClipEditPlayerProgressView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "videoedit/core/ClipEditPlayerProgressDelegate.h"

namespace {

// Used when a picture is missing, so the geometry stays usable.
constexpr double kDefaultBarHeight = 8.0;
constexpr QSizeF kDefaultMarker{13.0, 24.0};
constexpr QSizeF kDefaultPoint{13.0, 13.0};

void drawPicture(QPainter& painter, const QRectF& rect, const QImage& image, const QColor& stand)
{
    if (image.isNull()) {
        painter.fillRect(rect, stand);
    } else {
        painter.drawImage(rect, image, QRectF(image.rect()));
    }
}

}  // namespace

ClipEditPlayerProgressView::ClipEditPlayerProgressView(QWidget* parent)
    : TimelineBarView(parent),
      m_backgroundImage(NamedImage::imageNamed(QStringLiteral("Clip_PlayBack"))),
      m_markerImage(NamedImage::imageNamed(QStringLiteral("Clip_ChapterImage2"))),
      m_markerSelectImage(NamedImage::imageNamed(QStringLiteral("Clip_ChapterImage"))),
      m_pointImage(NamedImage::imageNamed(QStringLiteral("Clip_PlayPoint")))
{
    m_timeline.setBarHeight(m_backgroundImage.isNull() ? kDefaultBarHeight
                                                       : m_backgroundImage.height());
    m_timeline.setMarkerSize(sizeOr(m_markerImage, kDefaultMarker));
    m_timeline.setNeedsDisplay([this] { update(); });
    syncBounds();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ClipEditPlayerProgressView::sizeHint() const
{
    return {560, minimumSizeHint().height()};
}

QSize ClipEditPlayerProgressView::minimumSizeHint() const
{
    // The buttons below the bar and the playhead above it, mirrored about
    // the bar's centre, and the insets.
    const double bar = m_timeline.barHeight();
    const double below = bar / 2.0 + m_timeline.markerSize().height();
    const double above = 1.4 * bar + sizeOr(m_pointImage, kDefaultPoint).height() / 2.0;
    return {80, int(2.0 * (std::max(below, above) + TimelineMapping::kInsetY)) + 2};
}

// --- Drawing ---

void ClipEditPlayerProgressView::paintEvent(QPaintEvent*)
{
    syncBounds();
    if (m_timeline.mapping().isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // 1. The bar, clipped to a rounded rectangle.
    const QRectF bar = widgetRect(m_timeline.barRect());
    if (!bar.isEmpty()) {
        painter.save();
        QPainterPath clip;
        clip.addRoundedRect(bar, 3.0, 5.0);
        painter.setClipPath(clip);
        drawPicture(painter, bar, m_backgroundImage, QColor(90, 90, 90));
        painter.restore();
    }

    // 2. The chapter markers, the selected one highlighted.
    const ClipMarker::Ptr selected = m_timeline.selectedMarker();
    for (const auto& marker : m_timeline.markerArrayForDraw()) {
        const QRectF button =
            widgetRect(m_timeline.markerButtonRect(m_timeline.timeToPoint(marker->markTime())));
        drawPicture(painter, button, m_markerImage, Qt::lightGray);
        if (marker == selected) {
            drawPicture(painter, button, m_markerSelectImage, QColor(255, 170, 0));
        }
    }

    // 3. The playhead above the bar.
    const QRectF head = widgetRect(CommonFunction::rectForCenter(
        m_timeline.playheadCenter(), sizeOr(m_pointImage, kDefaultPoint)));
    drawPicture(painter, head, m_pointImage, Qt::white);
}

// --- Mouse ---

void ClipEditPlayerProgressView::mousePressEvent(QMouseEvent* event)
{
    TimelineBarView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        update();
    }
}
