#pragma once
// One photo tile of the sort sheet: the thumbnail fitted into the tile with
// rounded corners and a shadow, outlined in the selection colour while
// selected.
//
// A click on the picture selects the tile alone (a click beside it
// unselects it); with a modifier key held it toggles the tile and leaves the
// others. Moving the mouse with the button still down on a selected tile
// drags the selection: a drag of type "private.ResortableDragType" (no data)
// that the grid answers. The Delete key removes the selection. The tile
// changes no list: it tells its delegate.
//
// Size, corner radius, zoom and colours are settings shared by every tile.
// Main thread.

#include <QColor>
#include <QImage>
#include <QWidget>

class ResortableViewDelegate;

class ResortableThumbnailView : public QWidget {
    Q_OBJECT
public:
    static inline const QString DragType = QStringLiteral("private.ResortableDragType");

    // A tile of the picture; null for no picture.
    static ResortableThumbnailView* viewWithImage(const QImage& image, QWidget* parent = nullptr);

    // --- Settings shared by every tile ---
    // The base size is ResortableGrid's 120 × 90, scaled by the zoom.
    static void updateRoundRadius(double radius);
    static void updateResizeRatio(double ratio);
    static double resizeRatio();
    static void updateChoosenColor(const QColor& colour);
    static QColor choosenColor();
    // Whether tiles take the keyboard focus (for the Delete key).
    static void enableKeyboardRespond(bool respond);
    static bool keyboardRespond();
    // The tile's frame size at the current zoom.
    static QSizeF frameSize();

    QImage imgThumb() const { return m_thumb; }
    bool bIsChoosen() const { return m_choosen; }
    void setBIsChoosen(bool choosen);
    ResortableViewDelegate* oDelegate() const { return m_delegate; }
    // Not owned.
    void setODelegate(ResortableViewDelegate* delegate) { m_delegate = delegate; }

    // The tile's frame in the grid, y up.
    QRectF frameUp() const { return m_frameUp; }
    void setFrameUp(const QRectF& frame) { m_frameUp = frame; }
    // The picture area in the grid's coordinates (y up).
    QRectF hitTestFrame() const;
    // Where the thumbnail is drawn, in the tile's coordinates (y up).
    QRectF getDisplayFrame() const;

signals:
    // A drag of the selection began from this tile.
    void dragStarted();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit ResortableThumbnailView(const QImage& image, QWidget* parent);
    // The rounded picture, in Qt's coordinates of the tile.
    QPainterPath displayPath() const;
    void startDragging();

    QImage m_thumb;
    bool m_choosen = false;
    bool m_awaitingDrag = false;
    QRectF m_frameUp;
    ResortableViewDelegate* m_delegate = nullptr;
};
