#pragma once
// The crop frame over the background picture canvas: the picture outside the
// frame darkened, the frame as a white dashed rounded rectangle, a green
// handle on each corner (the fixed one yellow during a drag). A press inside
// the frame moves it, a press on a corner resizes it at its aspect about the
// opposite corner; every step is measured from the press and the frame at
// the press, kept inside the box, and reported to the canvas. Each corner
// shows a diagonal resize cursor. Geometry in BgPictureGeometry; coordinates
// are the canvas's (y up), converted by the canvas view.

#include <QRectF>
#include <QWidget>

class BgPictureCanvasView;

class BgPictureShapeView : public QWidget {
    Q_OBJECT
public:
    explicit BgPictureShapeView(BgPictureCanvasView* canvas);

    QRectF cropRect() const { return m_cropRect; }
    void setCropRect(const QRectF& rect);
    int fixedPointType() const { return m_fixedPointType; }
    // The crop aspect follows the dialog's disc aspect.
    void setIs16_9(bool is16_9) { m_is16_9 = is16_9; }
    bool is16_9() const { return m_is16_9; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateCursor(const QPointF& canvasPoint);

    BgPictureCanvasView* m_canvas;
    QRectF m_cropRect;
    QRectF m_startRect;
    QPointF m_press;
    int m_dragType = 0;
    int m_fixedPointType = 0;
    bool m_is16_9 = true;
};
