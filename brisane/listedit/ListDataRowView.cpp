#include "listedit/ListDataRowView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "common/ControllerFunctionImages.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "shell/core/CapacityEstimate.h"
#include "shell/core/IDocumentHost.h"

namespace {

constexpr double DragPictureOpacity = 0.7;

}  // namespace

ListDataRowView::ListDataRowView(QWidget* parent, ListTableView* list)
    : QWidget(parent), m_list(list)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QRectF ListDataRowView::contentRect() const
{
    const double left = indent();
    return QRectF(left, 0.0, width() - left, height());
}

QRectF ListDataRowView::contentFrame() const
{
    const double left = indent();
    return QRectF(x() + left, y(), width() - left, height());
}

QRectF ListDataRowView::flipRect(const QRectF& yUp, double rowHeight)
{
    return QRectF(yUp.x(), rowHeight - yUp.y() - yUp.height(), yUp.width(), yUp.height());
}

bool ListDataRowView::isSelectedRow() const
{
    const ListEditViewController* list = controller();
    const auto entry = modelObject();
    return list && entry && list->selectedType() == typeCode() && list->selectedData() == entry;
}

void ListDataRowView::pressRow(QMouseEvent* event)
{
    ListEditViewController* list = controller();
    const auto entry = modelObject();
    if (!list || !entry) {
        return;
    }
    list->setSelectedType(typeCode());
    list->setSelectedData(entry);
    list->selectedTypeDataChanged();
    afterSelect();
    if (QWidget* table = parentWidget()) {
        table->update();
    }
    update();
    setDraggedImage();
    if (ListTableView* table = listTableView()) {
        table->rowMouseDown(this, event);
    }
}

void ListDataRowView::setDraggedImage()
{
    ListTableView* table = listTableView();
    if (!table) {
        return;
    }
    // Only what the row and its controls paint: the indent on its left,
    // where the list draws connectors, stays clear.
    const qreal ratio = devicePixelRatioF();
    QImage shot(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::transparent);
    render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    QImage picture(shot.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setOpacity(DragPictureOpacity);
    painter.drawImage(0, 0, shot);
    painter.end();
    table->setMouseDraggedImage(picture);
}

void ListDataRowView::removeFromSuperview()
{
    hide();
    setParent(nullptr);
}

ListTableView* ListDataRowView::listTableView() const
{
    return m_list && parentWidget() == m_list ? m_list.data() : nullptr;
}

ListEditViewController* ListDataRowView::controller() const
{
    const ListTableView* table = listTableView();
    return table ? table->controller() : nullptr;
}

IDocumentHost* ListDataRowView::documentHost() const
{
    const ListEditViewController* list = controller();
    return list ? list->documentHost() : nullptr;
}

double ListDataRowView::measuredSeconds(const std::shared_ptr<MediaData>& media) const
{
    if (IDocumentHost* main = documentHost()) {
        return main->totalMediaDataTime(media);
    }
    return media ? CapacityEstimate::totalMediaDataTime(*media) : 0.0;
}

QFont ListDataRowView::rowFont(int size)
{
    // Sizes are in drawing units, as the page texts drawn at 18.
    QFont font(ControllerFunctionImages::titleFontFamily());
    font.setPixelSize(size);
    return font;
}

QLabel* ListDataRowView::makeLabel(bool selectable)
{
    auto* label = new QLabel(this);
    label->setFont(rowFont(16));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, grey(0.8));
    palette.setColor(QPalette::Text, grey(0.8));
    label->setPalette(palette);
    label->setFrameShape(QFrame::NoFrame);
    label->setAutoFillBackground(false);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (selectable) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->installEventFilter(this);
    } else {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    return label;
}

void ListDataRowView::drawSelected(QPainter& painter) const
{
    if (isSelectedRow()) {
        painter.fillRect(contentRect(), selectionColor());
    }
}

void ListDataRowView::mousePressEvent(QMouseEvent* event)
{
    pressRow(event);
    event->accept();
}

void ListDataRowView::mouseMoveEvent(QMouseEvent* event)
{
    if (ListTableView* table = listTableView()) {
        table->rowMouseDragged(event);
    }
    event->accept();
}

void ListDataRowView::mouseReleaseEvent(QMouseEvent* event)
{
    if (ListTableView* table = listTableView()) {
        table->rowMouseUp(event);
    }
    event->accept();
}

bool ListDataRowView::eventFilter(QObject* watched, QEvent* event)
{
    // A press on a selectable label selects the row too (the label still
    // starts its text selection), and what follows the press may drag it.
    if (qobject_cast<QLabel*>(watched)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        ListTableView* table = listTableView();
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                pressRow(mouse);
                break;
            case QEvent::MouseMove:
                if (table) {
                    table->rowMouseDragged(mouse);
                }
                break;
            case QEvent::MouseButtonRelease:
                if (table) {
                    table->rowMouseUp(mouse);
                }
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
