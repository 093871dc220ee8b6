#include "listedit/RowEditButtonView.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "common/NamedImage.h"
#include "listedit/ListTableView.h"
#include "listedit/MediaDataView.h"

namespace {

constexpr double PictureInset = 5.0;

}  // namespace

RowEditButtonView::RowEditButtonView(const QString& imageName, const QString& tooltip,
                                     MediaDataView* row)
    : QWidget(row), m_row(row), m_imageName(imageName)
{
    setToolTip(tooltip);
    setAttribute(Qt::WA_Hover);
}

void RowEditButtonView::setIsMouseEntered(bool entered)
{
    if (m_isMouseEntered != entered) {
        m_isMouseEntered = entered;
        update();
    }
}

QRectF RowEditButtonView::pictureRect(const QRectF& bounds, bool hovered)
{
    return hovered ? bounds
                   : bounds.adjusted(PictureInset, PictureInset, -PictureInset, -PictureInset);
}

ListTableView* RowEditButtonView::listTableView() const
{
    return m_row ? m_row->listTableView() : nullptr;
}

IDocumentHost* RowEditButtonView::documentHost() const
{
    return m_row ? m_row->documentHost() : nullptr;
}

void RowEditButtonView::paintEvent(QPaintEvent*)
{
    const QImage picture = NamedImage::imageNamed(m_imageName);
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(QRectF(rect()), m_isMouseEntered), picture);
}

void RowEditButtonView::enterEvent(QEnterEvent* event)
{
    setIsMouseEntered(true);
    QWidget::enterEvent(event);
}

void RowEditButtonView::leaveEvent(QEvent* event)
{
    setIsMouseEntered(false);
    QWidget::leaveEvent(event);
}

void RowEditButtonView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    // Only the left button arms the button; any press selects the clip as
    // a press on the row does.
    m_selfMouseDown = event->button() == Qt::LeftButton;
    if (ListTableView* table = listTableView()) {
        table->setIsClickWndBtn(true);
    }
    if (MediaDataView* owner = row()) {
        owner->pressRow(event);
    }
}

void RowEditButtonView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool inside = rect().contains(event->position().toPoint());
    const bool pressed = m_selfMouseDown && event->button() == Qt::LeftButton;
    m_selfMouseDown = false;
    if (inside && pressed) {
        if (const auto clip = media()) {
            act(clip);
        }
    }
}
