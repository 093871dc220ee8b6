#include "slideshow/AudioEditView.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

#include "common/DraggedFiles.h"
#include "slideshow/AudioEditItemView.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/core/AudioLineLayout.h"

AudioEditView::AudioEditView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    execDrag = [](QDrag* drag) { return drag->exec(Qt::MoveAction); };
}

QList<AudioEditItemView*> AudioEditView::rows() const
{
    return findChildren<AudioEditItemView*>(QString(), Qt::FindDirectChildrenOnly);
}

AudioEditItemView* AudioEditView::hitAudioItemView(const QPoint& point) const
{
    for (AudioEditItemView* row : rows()) {
        if (row->geometry().contains(point)) {
            return row;
        }
    }
    return nullptr;
}

QList<AudioEditItemView*> AudioEditView::selectedItems() const
{
    QList<AudioEditItemView*> result;
    for (const auto& row : m_selectedItems) {
        if (row) {
            result << row;
        }
    }
    return result;
}

AudioEditItemView* AudioEditView::selectedAudioItemView() const
{
    const auto selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.last();
}

void AudioEditView::updateSelectedViews(const QList<AudioEditItemView*>& selection)
{
    for (AudioEditItemView* row : selectedItems()) {
        row->setIsSelected(false);
    }
    m_selectedItems.clear();
    for (AudioEditItemView* row : selection) {
        if (row && row->parentWidget() == this) {
            row->setIsSelected(true);
            m_selectedItems << row;
        }
    }
    update();
}

void AudioEditView::updateSelectedViews()
{
    updateSelectedViews(selectedItems());
}

void AudioEditView::deleteSelected()
{
    AudioEditItemView* row = selectedAudioItemView();
    if (!row || !m_delegate) {
        return;
    }
    m_delegate->deleteAudioItemFromList(row->audioItem());
    m_delegate->loadAudioItemsToView();
}

void AudioEditView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        deleteSelected();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AudioEditView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    AudioEditItemView* row = hitAudioItemView(event->position().toPoint());
    updateSelectedViews(row ? QList<AudioEditItemView*>{row} : QList<AudioEditItemView*>{});
    m_pressedRow = event->button() == Qt::LeftButton ? row : nullptr;
    m_pressPoint = event->position().toPoint();
    m_rowPicture = row ? row->grab() : QPixmap();
}

void AudioEditView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressedRow || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressPoint).manhattanLength() <
            QApplication::startDragDistance()) {
        return;
    }
    AudioEditItemView* row = m_pressedRow;
    m_pressedRow = nullptr;
    startRowDrag(row);
}

void AudioEditView::mouseReleaseEvent(QMouseEvent*)
{
    m_pressedRow = nullptr;
}

void AudioEditView::startRowDrag(AudioEditItemView* row)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(DragAudioItemType), QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(m_rowPicture);
    drag->setHotSpot(m_pressPoint - row->geometry().topLeft());
    m_insertPos = -1;
    m_rowDragging = true;
    m_rowDropped = false;
    setDragItem(true);
    execDrag(drag);
    drag->deleteLater();
    m_rowDragging = false;
    setDragItem(false);
    const int from = rows().indexOf(selectedAudioItemView());
    const int to = AudioLineLayout::moveTarget(from, m_insertPos);
    if (m_rowDropped && to >= 0 && m_delegate) {
        m_delegate->moveItemAt(from, to);
    }
}

bool AudioEditView::isRowDrag(const QMimeData* data) const
{
    return m_rowDragging && data && data->hasFormat(QString::fromLatin1(DragAudioItemType));
}

void AudioEditView::updateInsertPos(const QPointF& point)
{
    m_insertPos = AudioLineLayout::insertPosition(point.x(), int(rows().size()));
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
            scroll->ensureVisible(int(point.x()), int(point.y()), 40, 0);
            break;
        }
    }
    update();
}

void AudioEditView::setDragItem(bool shown)
{
    m_dragItem = shown;
    update();
}

void AudioEditView::dragEnterEvent(QDragEnterEvent* event)
{
    if (isRowDrag(event->mimeData())) {
        updateInsertPos(event->position());
        event->acceptProposedAction();
        return;
    }
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    m_insertPos = -1;
    setDragItem(true);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void AudioEditView::dragMoveEvent(QDragMoveEvent* event)
{
    if (isRowDrag(event->mimeData())) {
        updateInsertPos(event->position());
        event->acceptProposedAction();
        return;
    }
    if (DraggedFiles::localFiles(event->mimeData()).isEmpty()) {
        setDragItem(false);
        event->ignore();
        return;
    }
    setDragItem(true);
    updateInsertPos(event->position());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void AudioEditView::dragLeaveEvent(QDragLeaveEvent*)
{
    if (!m_rowDragging) {
        setDragItem(false);
    }
    update();
}

void AudioEditView::dropEvent(QDropEvent* event)
{
    if (isRowDrag(event->mimeData())) {
        updateInsertPos(event->position());
        m_rowDropped = true;
        event->acceptProposedAction();
        return;
    }
    const QStringList paths = DraggedFiles::localFiles(event->mimeData());
    setDragItem(false);
    if (paths.isEmpty() || !m_delegate) {
        event->ignore();
        return;
    }
    m_delegate->dragAudioPaths(paths, m_insertPos);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void AudioEditView::paintEvent(QPaintEvent*)
{
    if (!m_dragItem) {
        return;
    }
    QPainter(this).fillRect(AudioLineLayout::markerRect(m_insertPos, height()), Qt::red);
}
