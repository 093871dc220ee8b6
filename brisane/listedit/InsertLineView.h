#pragma once
// The marker of a drag over the title list: the outline of its bounds in
// green, one point wide, so that a frame one point high shows as a line
// where new rows would go in and a row-sized frame as an outline around the
// clip a merge goes into. It lets the mouse through and stands above the
// rows while a drag runs; an empty frame hides it.

#include <QRectF>
#include <QWidget>

class ListTableView;

class InsertLineView : public QWidget {
    Q_OBJECT
public:
    // The marker of `list`, standing in `parent`.
    InsertLineView(QWidget* parent, const ListTableView* list);

    // The marker's frame in the list (points); empty hides it. The widget
    // covers the whole points the frame touches.
    QRectF lineFrame() const { return m_lineFrame; }
    void setLineFrame(const QRectF& frame);
    // The bounds the outline is drawn around.
    QRectF contentRect() const { return QRectF(rect()); }
    // The list editor's selection type (what an own drag carries), or 0.
    quint64 dragType() const;

    static QColor lineColor() { return QColor::fromRgbF(0.0f, 1.0f, 0.0f, 1.0f); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ListTableView* m_list;  // not owned; it owns the marker
    QRectF m_lineFrame;
};
