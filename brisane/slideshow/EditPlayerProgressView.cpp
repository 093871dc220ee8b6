#include "slideshow/EditPlayerProgressView.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "common/NamedImage.h"

namespace {
constexpr double Inset = 10;
constexpr double BarHeight = 7;
constexpr double HandleWidth = 8;
constexpr double HandleHeight = 12;
constexpr double ShortestDivisor = 0.1;
constexpr double HandlesFrom = 1.0;  // handles are drawn only for longer files
}  // namespace

EditPlayerProgressView::EditPlayerProgressView(QWidget* parent) : QWidget(parent) {}

QRectF EditPlayerProgressView::progressRect() const
{
    const QRectF bar(Inset, (height() - BarHeight) / 2, width() - 2 * Inset, BarHeight);
    return bar.width() > 0 && bar.height() > 0 ? bar : QRectF();
}

double EditPlayerProgressView::divisor() const
{
    return std::max(m_duration, ShortestDivisor);
}

double EditPlayerProgressView::positionOf(double value) const
{
    const QRectF bar = progressRect();
    return bar.x() + bar.width() * value / divisor();
}

QRectF EditPlayerProgressView::trimButtonRect(bool left) const
{
    if (progressRect().isEmpty()) {
        return {};
    }
    // The handles hang at the bottom edge of the view.
    const double y = height() - HandleHeight;
    return left ? QRectF(positionOf(m_trimLeft) - HandleWidth, y, HandleWidth, HandleHeight)
                : QRectF(positionOf(m_trimRight), y, HandleWidth, HandleHeight);
}

double EditPlayerProgressView::currentTimeRate() const
{
    return m_currentTime / divisor();
}

double EditPlayerProgressView::timeAtPointX(double x) const
{
    const QRectF bar = progressRect();
    if (bar.isEmpty() || m_duration <= 0) {
        return 0;
    }
    return std::clamp((x - bar.x()) / bar.width() * m_duration, 0.0, m_duration);
}

EditPlayerProgressView::Action EditPlayerProgressView::actionAt(const QPointF& point) const
{
    if (progressRect().isEmpty()) {
        return ActionNone;
    }
    if (trimButtonRect(true).contains(point)) {
        return ActionLeft;
    }
    if (trimButtonRect(false).contains(point)) {
        return ActionRight;
    }
    return progressRect().contains(point) ? ActionSeek : ActionNone;
}

void EditPlayerProgressView::seekToPointX(double x, Action action)
{
    const double t = timeAtPointX(x);
    switch (action) {
        case ActionSeek:
            if (onSeek) {
                onSeek(t);
            }
            break;
        case ActionRight:
            m_trimRight = std::max(t, m_trimLeft);
            if (onTrimSeek) {
                onTrimSeek(qint64(m_trimRight));
            }
            break;
        case ActionLeft:
            m_trimLeft = std::min(t, m_trimRight);
            if (onTrimSeek) {
                onTrimSeek(qint64(m_trimLeft));
            }
            break;
        case ActionNone:
            break;
    }
    update();
}

void EditPlayerProgressView::mousePressEvent(QMouseEvent* event)
{
    m_action = ActionNone;
    if (m_disabled || event->button() != Qt::LeftButton) {
        return;
    }
    m_action = actionAt(event->position());
    m_lastX = event->position().x();
}

void EditPlayerProgressView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_action == ActionNone || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    m_lastX = event->position().x();
    seekToPointX(m_lastX, m_action);
}

void EditPlayerProgressView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_action == ActionNone || event->button() != Qt::LeftButton) {
        return;
    }
    const Action action = m_action;
    m_action = ActionNone;
    seekToPointX(m_lastX, action);
}

void EditPlayerProgressView::drawPart(QPainter& painter, double from, double to,
                                      const QColor& color) const
{
    const QRectF bar = progressRect();
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(bar, 3, 3);
    painter.setClipPath(clip);
    const QRectF part(bar.x() + bar.width() * from, bar.y(), bar.width() * (to - from),
                      bar.height());
    QLinearGradient gradient(part.bottomLeft(), part.topLeft());
    QColor edge = color;
    edge.setAlphaF(0.9f);
    gradient.setColorAt(0, edge);
    gradient.setColorAt(0.5, color);
    gradient.setColorAt(1, edge);
    painter.fillRect(part, gradient);
    painter.restore();
}

void EditPlayerProgressView::paintEvent(QPaintEvent*)
{
    const QRectF bar = progressRect();
    if (bar.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPart(painter, 0, 1, QColor::fromRgbF(0.1f, 0.1f, 0.1f));
    drawPart(painter, 0, currentTimeRate(), QColor(80, 150, 220));
    drawPart(painter, m_trimLeft / divisor(), m_trimRight / divisor(), QColor(0, 250, 40));
    if (m_duration > HandlesFrom) {
        painter.drawImage(trimButtonRect(true),
                          NamedImage::imageNamed(QStringLiteral("player_trim_left")));
        painter.drawImage(trimButtonRect(false),
                          NamedImage::imageNamed(QStringLiteral("player_trim_right")));
    }
    const QPointF mark(bar.x() + bar.width() * currentTimeRate(), bar.center().y());
    painter.drawImage(QRectF(mark.x() - 5, mark.y() - 5, 10, 10),
                      NamedImage::imageNamed(QStringLiteral("player_progress_point")));
}
