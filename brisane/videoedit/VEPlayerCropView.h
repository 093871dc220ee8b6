#pragma once
// The overlay laid over the video edit sheet's pictures: on the crop tab it
// holds the crop rectangle over the picture before the edits, on the
// watermark tab the watermark's rectangle over the picture after them. Its
// rectangle is in its own points with the origin at the lower left, y up;
// the sheet places it and converts between these points and the movie's
// pixels. The rules of its handles and drags are VEPlayerCropGeometry's.
//
// A press on a handle or inside the rectangle starts a drag; every step is
// measured from the press and tells the delegate, and the release tells it
// once more (so a press and release without motion tells it once). A press
// elsewhere does nothing and is not passed on. The arrow keys move the
// rectangle by one point, also with onlyMove. Setting cropRect stores it and
// does not tell the delegate.
//
// On the crop tab (the delegate's isEditWaterMark() false) the outline is
// orange and white dashes and the picture outside it is darkened; on the
// watermark tab it is a white line. Allowed handles are green squares; the
// cursor shows what a press would do. Main thread.

#include <QRectF>
#include <QWidget>

#include "videoedit/core/VEPlayerCropGeometry.h"

class VEPlayerCropViewDelegate;

class VEPlayerCropView : public QWidget {
    Q_OBJECT
public:
    explicit VEPlayerCropView(QWidget* parent = nullptr);

    // Not owned; the same object answers controller().
    VEPlayerCropViewDelegate* delegate() const { return m_delegate; }
    VEPlayerCropViewDelegate* controller() const { return m_delegate; }
    void setDelegate(VEPlayerCropViewDelegate* delegate) { m_delegate = delegate; }

    QRectF cropRect() const { return m_cropRect; }
    void setCropRect(const QRectF& rect);
    bool onlyMove() const { return m_onlyMove; }
    void setOnlyMove(bool on);

    // The rules over the current size and rectangle.
    VEPlayerCropGeometry cropGeometry() const;
    // A widget point (y down) as an overlay point (y up), and back.
    QPointF toOverlay(const QPointF& widgetPoint) const;
    QPointF toWidget(const QPointF& overlayPoint) const;
    // The drag type a press at that widget point would start.
    int dragTypeAt(const QPointF& widgetPoint) const;
    // The cursor shown over a drag type.
    static Qt::CursorShape cursorWithType(int type);

    // One arrow-key step (dx, dy in steps, y up), then the delegate is told.
    void moveStep(int dx, int dy);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void playerCropDidChanged();
    void updateCursor(const QPointF& widgetPoint);
    bool editsWatermark() const;

    VEPlayerCropViewDelegate* m_delegate = nullptr;
    QRectF m_cropRect;
    bool m_onlyMove = false;
    // The drag under way: its type (None when there is none), the press
    // point in overlay points and the rectangle at the press.
    int m_dragType = VEPlayerCropGeometry::None;
    QPointF m_pressPoint;
    QRectF m_pressRect;
};
