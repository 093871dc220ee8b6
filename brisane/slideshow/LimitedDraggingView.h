#pragma once
// A view that the user drags with the mouse and that never leaves a limiting
// rectangle of its superview (LimitedDragging holds the rules). Its frame is
// kept with y upward in the superview's coordinates and placed on the Qt
// superview here, in one conversion that follows the superview's resizes;
// the drawing is offset by the part of a point that whole-pixel widget
// geometry cannot hold, so fractional frames draw where they belong.
//
// Drawn as a solid blue rectangle; subclasses draw themselves instead. Main
// thread.

#include <QWidget>
#include <memory>

#include "slideshow/core/LimitedDragging.h"

class LimitedDraggingView : public QWidget {
    Q_OBJECT
public:
    explicit LimitedDraggingView(QWidget* parent = nullptr);
    ~LimitedDraggingView() override;

    QRectF rctLimitedRect() const { return m_geometry->rctLimitedRect(); }
    virtual void setLimitedRect(const QRectF& limit);
    bool bCanDragNow() const { return m_geometry->bCanDragNow(); }
    void setBCanDragNow(bool can) { m_geometry->setBCanDragNow(can); }

    // The frame in the superview's coordinates, y up.
    QRectF frameUp() const { return m_geometry->frame(); }
    void setFrameUp(const QRectF& frame);
    void inspectNewFrame(const QRectF& wanted);

    // A point of this view (Qt's coordinates) in the superview's y-up ones.
    QPointF pointInSuperview(const QPointF& local) const;

protected:
    // For subclasses with richer rules of their own kind.
    LimitedDraggingView(QWidget* parent, std::unique_ptr<LimitedDragging> geometry);
    LimitedDragging& dragging() { return *m_geometry; }
    const LimitedDragging& dragging() const { return *m_geometry; }

    // Places the widget after the frame changed.
    void applyFrame();
    // Makes the painter draw in the frame's own coordinates, y up, origin at
    // its lower-left corner.
    void turnPainterUp(QPainter& painter) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void watchParent();

    std::unique_ptr<LimitedDragging> m_geometry;
    QWidget* m_watched = nullptr;
};
