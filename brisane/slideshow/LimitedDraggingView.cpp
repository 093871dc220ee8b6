#include "slideshow/LimitedDraggingView.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "slideshow/core/UpCoordinates.h"

LimitedDraggingView::LimitedDraggingView(QWidget* parent)
    : LimitedDraggingView(parent, std::make_unique<LimitedDragging>())
{
}

LimitedDraggingView::LimitedDraggingView(QWidget* parent, std::unique_ptr<LimitedDragging> geometry)
    : QWidget(parent), m_geometry(std::move(geometry))
{
    watchParent();
}

LimitedDraggingView::~LimitedDraggingView()
{
    if (m_watched) {
        m_watched->removeEventFilter(this);
    }
}

void LimitedDraggingView::setLimitedRect(const QRectF& limit)
{
    m_geometry->setLimitedRect(limit);
}

void LimitedDraggingView::setFrameUp(const QRectF& frame)
{
    m_geometry->setFrame(frame);
    applyFrame();
}

void LimitedDraggingView::inspectNewFrame(const QRectF& wanted)
{
    m_geometry->inspectNewFrame(wanted);
    applyFrame();
}

void LimitedDraggingView::applyFrame()
{
    const double height = parentWidget() ? parentWidget()->height() : 0.0;
    const QRectF onParent = UpCoordinates::toWidget(m_geometry->frame(), height);
    const QRect whole(
        QPoint(int(std::floor(onParent.left())), int(std::floor(onParent.top()))),
        QPoint(int(std::ceil(onParent.right())) - 1, int(std::ceil(onParent.bottom())) - 1));
    if (geometry() != whole) {
        setGeometry(whole);
    }
    update();
}

QPointF LimitedDraggingView::pointInSuperview(const QPointF& local) const
{
    const double height = parentWidget() ? parentWidget()->height() : 0.0;
    return UpCoordinates::fromWidget(QPointF(pos()) + local, height);
}

void LimitedDraggingView::turnPainterUp(QPainter& painter) const
{
    const double height = parentWidget() ? parentWidget()->height() : 0.0;
    const QRectF onParent = UpCoordinates::toWidget(m_geometry->frame(), height);
    // To the frame's top-left on the widget, then y up from its bottom.
    painter.translate(onParent.topLeft() - QPointF(pos()));
    UpCoordinates::turnUp(painter, onParent.height());
}

void LimitedDraggingView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_geometry->mouseDown(pointInSuperview(event->position()));
}

void LimitedDraggingView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_geometry->mouseDragged(pointInSuperview(event->position()));
    applyFrame();
}

void LimitedDraggingView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_geometry->mouseUp();
}

void LimitedDraggingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::blue);
}

bool LimitedDraggingView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && event->type() == QEvent::Resize) {
        applyFrame();
    }
    return QWidget::eventFilter(watched, event);
}

void LimitedDraggingView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        watchParent();
        applyFrame();
    }
    QWidget::changeEvent(event);
}

void LimitedDraggingView::watchParent()
{
    if (m_watched == parentWidget()) {
        return;
    }
    if (m_watched) {
        m_watched->removeEventFilter(this);
    }
    m_watched = parentWidget();
    if (m_watched) {
        m_watched->installEventFilter(this);
    }
}
