#pragma once
// What the page, title and clip rows of the title list share: the indent at
// their left where the list draws its connectors, the content rectangle
// right of it, the blue fill of a selected row, the press steps (select the
// row's entry, render the drag picture, hand the press to the list) and the
// plain labels they show.
//
// A row spans the list's width and stands at x 0 of the list. Its drawing
// rectangles are worked out bottom up (y grows upward from the row's lower
// edge) and turned into widget coordinates in one place, flipRect.
//
// A row in the list is a child of the list, which it is given when it is
// made; leaving the list hides it and takes it out of the widget tree, and
// the next reload puts it back while its entry is still listed. Main thread
// only.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <memory>

#include "listedit/core/ListTableLayout.h"
#include "model/ListRowView.h"

class IDocumentHost;
class ListEditViewController;
class ListTableView;
class MediaData;
class Object;
class QLabel;

class ListDataRowView : public QWidget, public virtual ListRowView {
    Q_OBJECT
public:
    // The row's selection code: 1 clip or sub-clip, 2 title, 3 page.
    virtual quint64 typeCode() const = 0;
    // The entry shown; null once it has gone.
    virtual std::shared_ptr<Object> modelObject() const = 0;
    // Where the content starts: 0 page, 70 title, 120 clip, 170 sub-clip.
    virtual double indent() const = 0;

    // The bounds, and the frame in the list, with the left edge at the indent.
    QRectF contentRect() const;
    QRectF contentFrame() const;

    // A rectangle given bottom up in a row of height `rowHeight`, in widget
    // coordinates: y' = rowHeight - y - height.
    static QRectF flipRect(const QRectF& yUp, double rowHeight);

    // Whether the list editor's selection is this row's entry.
    bool isSelectedRow() const;

    // The press steps; a press on the row and on its edit buttons ends here.
    void pressRow(QMouseEvent* event);
    // Renders the row as it is now at 70 % opacity and hands the picture to
    // the list as its drag picture.
    void setDraggedImage();

    // --- ListRowView ---
    void removeFromSuperview() override;

    // The list the row belongs to while it stands in it (is its child), or
    // null.
    ListTableView* listTableView() const;
    // The list editor of that list, or null.
    ListEditViewController* controller() const;
    // The list editor's document host, or null.
    IDocumentHost* documentHost() const;
    // The seconds a clip plays on the disc, as the main window measures it;
    // measured the same way from the clip alone without a main window.
    double measuredSeconds(const std::shared_ptr<MediaData>& media) const;

    // The label font, "STIXGeneral" (or the default family), `size` units high.
    static QFont rowFont(int size);
    static QColor grey(double level) { return QColor::fromRgbF(level, level, level, 1.0); }
    // The standard selection blue.
    static QColor selectionColor() { return QColor::fromRgbF(0.0, 0.0, 1.0, 1.0); }

protected:
    // A row standing in `parent`, belonging to `list` (null: to no list).
    explicit ListDataRowView(QWidget* parent = nullptr, ListTableView* list = nullptr);

    // A plain label of the row: 16 point, grey 0.8, one line, no frame or
    // background; a selectable one still lets a press select the row.
    QLabel* makeLabel(bool selectable);
    // Fills the content rectangle blue when the row is selected.
    void drawSelected(QPainter& painter) const;
    // The page row makes its page current here; the others do nothing.
    virtual void afterSelect() {}

    void mousePressEvent(QMouseEvent* event) override;
    // Moves and the release after a press go to the list, which drags.
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<ListTableView> m_list;
};
