#include "slideshow/ResortableThumbnailView.h"

#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "slideshow/core/ResortableGrid.h"
#include "slideshow/core/ResortableViewDelegate.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

struct Settings {
    double radius = 5.0;
    double ratio = 1.0;
    QColor choosen{255, 255, 0};
    bool keyboard = false;
};

Settings& settings()
{
    static Settings shared;
    return shared;
}

constexpr double ShadowBlur = ResortableGrid::TileGap * 1.3;

}  // namespace

ResortableThumbnailView* ResortableThumbnailView::viewWithImage(const QImage& image,
                                                                QWidget* parent)
{
    return image.isNull() ? nullptr : new ResortableThumbnailView(image, parent);
}

ResortableThumbnailView::ResortableThumbnailView(const QImage& image, QWidget* parent)
    : QWidget(parent), m_thumb(image)
{
    setFocusPolicy(settings().keyboard ? Qt::ClickFocus : Qt::NoFocus);
}

void ResortableThumbnailView::updateRoundRadius(double radius)
{
    settings().radius = radius;
}

void ResortableThumbnailView::updateResizeRatio(double ratio)
{
    if (ratio > 0.0) {
        settings().ratio = ratio;
    }
}

double ResortableThumbnailView::resizeRatio()
{
    return settings().ratio;
}

void ResortableThumbnailView::updateChoosenColor(const QColor& colour)
{
    settings().choosen = colour;
}

QColor ResortableThumbnailView::choosenColor()
{
    return settings().choosen;
}

void ResortableThumbnailView::enableKeyboardRespond(bool respond)
{
    settings().keyboard = respond;
}

bool ResortableThumbnailView::keyboardRespond()
{
    return settings().keyboard;
}

QSizeF ResortableThumbnailView::frameSize()
{
    return ResortableGrid::frameSize(settings().ratio);
}

void ResortableThumbnailView::setBIsChoosen(bool choosen)
{
    if (m_choosen != choosen) {
        m_choosen = choosen;
        update();
    }
}

QRectF ResortableThumbnailView::hitTestFrame() const
{
    return ResortableGrid::hitTestFrame(m_frameUp);
}

QRectF ResortableThumbnailView::getDisplayFrame() const
{
    return ResortableGrid::displayFrame(m_thumb.size(), m_frameUp.size());
}

QPainterPath ResortableThumbnailView::displayPath() const
{
    QPainterPath path;
    const QRectF frame = getDisplayFrame();
    if (!frame.isEmpty()) {
        path.addRoundedRect(UpCoordinates::toWidget(frame, m_frameUp.height()), settings().radius,
                            settings().radius);
    }
    return path;
}

void ResortableThumbnailView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const bool hit = displayPath().contains(event->position());
    if (event->modifiers() == Qt::NoModifier) {
        if (hit && !m_choosen && m_delegate) {
            m_delegate->cancelAllThumbnailViewsBut(this);
        }
        setBIsChoosen(hit);
    } else if (hit) {
        setBIsChoosen(!m_choosen);
    }
    m_awaitingDrag = true;
}

void ResortableThumbnailView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_awaitingDrag || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    m_awaitingDrag = false;
    if (m_choosen) {
        startDragging();
    }
}

void ResortableThumbnailView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_awaitingDrag = false;
    }
}

void ResortableThumbnailView::startDragging()
{
    auto* data = new QMimeData;
    data->setData(DragType, QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QRect frame = UpCoordinates::toWidget(getDisplayFrame(), m_frameUp.height()).toRect();
    if (!frame.isEmpty()) {
        drag->setPixmap(QPixmap::fromImage(
            m_thumb.scaled(frame.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    emit dragStarted();
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void ResortableThumbnailView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        if (m_delegate) {
            m_delegate->willRemoveChoosenThumbnailView();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void ResortableThumbnailView::paintEvent(QPaintEvent*)
{
    const QPainterPath path = displayPath();
    if (path.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The shadow: the picture's shape, blurred, in black.
    for (int i = int(ShadowBlur); i > 0; --i) {
        const double spread = i * 0.5;
        QPainterPath halo;
        halo.addRoundedRect(path.boundingRect().adjusted(-spread, -spread + 1, spread, spread + 1),
                            settings().radius + spread, settings().radius + spread);
        painter.fillPath(halo, QColor(0, 0, 0, 18));
    }
    painter.fillPath(path, Qt::black);
    painter.save();
    painter.setClipPath(path);
    painter.drawImage(path.boundingRect(), m_thumb);
    painter.restore();
    if (m_choosen) {
        painter.strokePath(path, QPen(settings().choosen, 2.0));
    }
}
