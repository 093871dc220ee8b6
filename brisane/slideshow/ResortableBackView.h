#pragma once
// The grid of the sort sheet: the parent of the photo tiles (the document of
// the sheet's scroll area), the place of the rubber-band selection and the
// drop target that shows, with a green insertion line, where a dragged
// selection goes (ResortableGrid holds the rules). Coordinates y up, origin
// at the lower left.
//
// A press on the grid unselects every tile unless a modifier key is held;
// dragging spans a yellow rubber band that selects the tiles it touches
// (added to the selection with a modifier, Shift for instance). The Delete
// key removes the selection. The grid changes no list: it tells its
// delegate. Main thread.

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>

class ResortableThumbnailView;
class ResortableViewDelegate;

class ResortableBackView : public QWidget {
    Q_OBJECT
public:
    static inline const QColor InsertLineColor{0, 255, 0};

    explicit ResortableBackView(QWidget* parent = nullptr);

    // Whether the grid takes the keyboard focus (for the Delete key).
    static void enableKeyboardRespond(bool respond);

    double dHorizontalGap() const { return m_horizontalGap; }
    double dVerticalGap() const { return m_verticalGap; }
    int iItemsCount() const { return m_itemsCount; }
    void setIItemsCount(int count) { m_itemsCount = count; }
    ResortableViewDelegate* oDelegate() const { return m_delegate; }
    // Not owned.
    void setODelegate(ResortableViewDelegate* delegate) { m_delegate = delegate; }
    QColor clChoosenColor() const { return m_choosenColor; }
    // The rubber band, y up; empty when there is none.
    QRectF rctChoosenFrame() const { return m_choosenFrame; }
    int iInsertIndex() const { return m_insertIndex; }
    // The insertion line, y up; none outside a drag.
    std::optional<QLineF> bzthInsertLine() const { return m_insertLine; }

    // Places a tile at a frame in the grid (y up).
    void setTileFrame(ResortableThumbnailView* tile, const QRectF& frame);

    // A drag of the selection is at `point` (y up): the insert index and the
    // line follow it.
    void draggingUpdated(const QPointF& point);
    // The drag left or ended: no line.
    void draggingEnded();
    // The drop: the selection moves to the insert index.
    void performDragOperation();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF upPoint(const QPointF& widgetPoint) const;

    double m_horizontalGap = 5.0;
    double m_verticalGap = 5.0;
    int m_itemsCount = 0;
    ResortableViewDelegate* m_delegate = nullptr;
    QColor m_choosenColor{255, 255, 0};
    QRectF m_choosenFrame;
    QPointF m_tempPoint;
    int m_insertIndex = 0;
    std::optional<QLineF> m_insertLine;
};
