#include "dialogs/SingleBackgroundView.h"

#include <QMouseEvent>
#include <QPainter>

#include "corvane/DVDMenuBackgroundResource.h"

SingleBackgroundView::SingleBackgroundView(const std::shared_ptr<DVDMenuBackgroundResource>& source,
                                           QWidget* parent)
    : QWidget(parent), m_source(source), m_image(source ? source->backgroundImage() : QImage())
{
    setFixedSize(kTileSize);
}

void SingleBackgroundView::setMarked(bool marked)
{
    if (m_marked != marked) {
        m_marked = marked;
        update();
    }
}

QRectF SingleBackgroundView::imageRect() const
{
    const QRectF box = QRectF(rect()).adjusted(10, 10, -10, -10);
    if (m_image.isNull()) {
        return QRectF();
    }
    const QSizeF size = QSizeF(m_image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void SingleBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_image.isNull()) {
        painter.drawImage(imageRect(), m_image);
    }
    if (m_marked) {
        const QRectF mark = QRectF(rect()).adjusted(3, 3, -3, -3);
        painter.setBrush(QColor::fromRgbF(1, 1, 0, 0.1f));
        painter.setPen(QPen(Qt::yellow, 2));
        painter.drawRoundedRect(mark, 5, 5);
    }
}

void SingleBackgroundView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit chosen(this);
    }
}
