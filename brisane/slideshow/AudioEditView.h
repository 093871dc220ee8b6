#pragma once
// The strip of the slideshow music window: the music rows side by side, the
// selection (one row, chosen by the mouse), the Delete key, row drags that
// reorder and file drops from the desktop that insert, both shown by a red
// marker at the insert position. A row moves only when its drag is dropped
// on the strip. Main thread.

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>

class AudioEditItemView;
class AudioLineCtrl;
class QDrag;
class QMimeData;

class AudioEditView : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* DragAudioItemType = "private.DragAudioItemType";

    explicit AudioEditView(QWidget* parent = nullptr);

    AudioLineCtrl* audioLineCtrl() const { return m_delegate; }
    void setDelegate(AudioLineCtrl* delegate) { m_delegate = delegate; }

    // The rows in list order.
    QList<AudioEditItemView*> rows() const;
    AudioEditItemView* hitAudioItemView(const QPoint& point) const;
    AudioEditItemView* selectedAudioItemView() const;
    QList<AudioEditItemView*> selectedItems() const;
    void updateSelectedViews(const QList<AudioEditItemView*>& rows);
    void updateSelectedViews();
    // Deletes the selected row's music.
    void deleteSelected();

    int insertPos() const { return m_insertPos; }
    bool dragItem() const { return m_dragItem; }

    // Runs a row drag; the default is QDrag::exec. Tests replace it to send
    // the drag and drop events a drag would.
    std::function<Qt::DropAction(QDrag*)> execDrag;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void startRowDrag(AudioEditItemView* row);
    void updateInsertPos(const QPointF& point);
    void setDragItem(bool shown);
    bool isRowDrag(const QMimeData* data) const;

    QPointer<AudioLineCtrl> m_delegate;
    QList<QPointer<AudioEditItemView>> m_selectedItems;
    int m_insertPos = -1;
    bool m_dragItem = false;
    bool m_rowDragging = false;
    bool m_rowDropped = false;
    QPoint m_pressPoint;
    QPixmap m_rowPicture;
    QPointer<AudioEditItemView> m_pressedRow;
};
