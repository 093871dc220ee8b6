#pragma once
// What the two timeline widgets on a bar share (the trim timeline of the
// video edit sheet and the chapter editor's): the timeline they own, its
// bounds kept at the widget's size, and the left button's press, drag and
// release handed to it in its coordinates (y up), converted in one
// transform. The widgets paint the timeline and set its geometry from their
// pictures.

#include <QImage>
#include <QMouseEvent>
#include <QRectF>
#include <QResizeEvent>
#include <QSizeF>
#include <QTransform>
#include <QWidget>
#include <type_traits>
#include <utility>

#include "lumenta/LMMediaTime.h"

template <class Timeline>
class TimelineBarView : public QWidget {
public:
    using Delegate = std::remove_pointer_t<decltype(std::declval<const Timeline&>().delegate())>;

    Timeline& timeline() { return m_timeline; }
    const Timeline& timeline() const { return m_timeline; }

    // Not owned.
    Delegate* delegate() const { return m_timeline.delegate(); }
    void setDelegate(Delegate* delegate) { m_timeline.setDelegate(delegate); }

    LMMediaTime duration() const { return m_timeline.duration(); }
    void setDuration(LMMediaTime duration) { m_timeline.setDuration(duration); }
    LMMediaTime currentTime() const { return m_timeline.currentTime(); }
    void setCurrentTime(LMMediaTime time) { m_timeline.setCurrentTime(time); }

    // Timeline coordinates (y up) to widget coordinates; its own inverse.
    QTransform toWidget() const { return QTransform(1, 0, 0, -1, 0, height()); }

protected:
    explicit TimelineBarView(QWidget* parent) : QWidget(parent) {}

    void resizeEvent(QResizeEvent* event) override
    {
        syncBounds();
        QWidget::resizeEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        syncBounds();
        m_timeline.mousePressed(toWidget().map(event->position()));
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton) {
            syncBounds();
            m_timeline.mouseDragged(toWidget().map(event->position()));
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) {
            m_timeline.mouseReleased();
        }
    }

    // The timeline's bounds follow the widget's size, also before a pending
    // resize event has arrived.
    void syncBounds() { m_timeline.setBounds(QRectF(QPointF(0, 0), QSizeF(size()))); }
    QRectF widgetRect(const QRectF& rect) const { return toWidget().mapRect(rect); }

    // A picture's size, or `fallback` when the picture is missing, so the
    // geometry stays usable.
    static QSizeF sizeOr(const QImage& image, QSizeF fallback)
    {
        return image.isNull() ? fallback : QSizeF(image.size());
    }

    Timeline m_timeline;
};
