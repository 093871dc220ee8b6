#include "videoedit/VEPlayerProgressBarView.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "media/MovieTrimItem.h"

namespace {

// Used when a picture is missing, so the geometry stays usable.
constexpr QSizeF kDefaultHandle{9.0, 16.0};
constexpr double kDefaultBarHeight = 8.0;
constexpr QSizeF kDefaultPoint{13.0, 13.0};

}  // namespace

VEPlayerProgressBarView::VEPlayerProgressBarView(QWidget* parent)
    : TimelineBarView(parent),
      m_backImage(NamedImage::imageNamed(QStringLiteral("player_progress_bar_background"))),
      m_leftTrimImage(NamedImage::imageNamed(QStringLiteral("player_trim_left"))),
      m_rightTrimImage(NamedImage::imageNamed(QStringLiteral("player_trim_right"))),
      m_pointImage(NamedImage::imageNamed(QStringLiteral("player_progress_point")))
{
    m_timeline.setBarHeight(m_backImage.isNull() ? kDefaultBarHeight : m_backImage.height());
    m_timeline.setHandleSizes(sizeOr(m_leftTrimImage, kDefaultHandle),
                              sizeOr(m_rightTrimImage, kDefaultHandle));
    m_timeline.setNeedsDisplay([this] { update(); });
    syncBounds();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize VEPlayerProgressBarView::sizeHint() const
{
    return {480, minimumSizeHint().height()};
}

QSize VEPlayerProgressBarView::minimumSizeHint() const
{
    // Room for the handles below the bar, mirrored above it, and the insets.
    const double below =
        m_timeline.barHeight() / 2.0 + std::max(sizeOr(m_leftTrimImage, kDefaultHandle).height(),
                                                sizeOr(m_rightTrimImage, kDefaultHandle).height());
    return {80, int(2.0 * (below + TimelineMapping::kInsetY)) + 2};
}

// --- Drawing ---

void VEPlayerProgressBarView::paintEvent(QPaintEvent*)
{
    syncBounds();
    const TimelineMapping mapping = m_timeline.mapping();
    if (mapping.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QSizeF point = sizeOr(m_pointImage, kDefaultPoint);
    const QRectF content = mapping.content();
    const QRectF outline(content.left() - point.width() / 2.0,
                         mapping.midY() - point.height() / 2.0, content.width() + point.width(),
                         point.height());
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(widgetRect(outline), 5.0, 5.0);

    const VETrimTimeline::TrimArray trims = m_timeline.trims();
    for (const auto& trim : trims) {
        drawTrim(painter, *trim, false);
    }
    if (const auto selected = m_timeline.selectedTrim()) {
        drawTrim(painter, *selected, true);
    }

    const QPointF head(m_timeline.timeToPoint(m_timeline.currentTime()), mapping.midY());
    const QRectF headRect = widgetRect(CommonFunction::rectForCenter(head, point));
    if (m_pointImage.isNull()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(headRect);
    } else {
        painter.drawImage(headRect, m_pointImage);
    }
}

void VEPlayerProgressBarView::drawTrim(QPainter& painter, const MovieTrimItem& trim,
                                       bool selected) const
{
    const double xs = m_timeline.startX(trim);
    const double xe = m_timeline.endX(trim);
    const QRectF left = widgetRect(m_timeline.leftTrimButtonRect(xs));
    const QRectF right = widgetRect(m_timeline.rightTrimButtonRect(xe));
    for (const auto& [rect, image] :
         {std::pair{left, &m_leftTrimImage}, {right, &m_rightTrimImage}}) {
        if (image->isNull()) {
            painter.fillRect(rect, Qt::lightGray);
        } else {
            painter.drawImage(rect, *image);
        }
    }
    const QRectF span = widgetRect(m_timeline.centerTrimRect(xs, xe));
    if (selected) {
        QLinearGradient gradient(span.topLeft(), span.topRight());
        gradient.setColorAt(0.0, Qt::yellow);
        gradient.setColorAt(0.5, QColor(255, 165, 0));
        gradient.setColorAt(1.0, Qt::yellow);
        painter.fillRect(span, gradient);
    } else {
        painter.fillRect(span, Qt::green);
    }
}
