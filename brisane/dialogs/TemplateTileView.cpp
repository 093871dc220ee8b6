#include "dialogs/TemplateTileView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "common/CommonFunction.h"

TemplateTileView::TemplateTileView(MenuEditorAccess editor, QWidget* parent)
    : QWidget(parent), editor_(editor)
{
    setFixedSize(tileSide, tileSide);
}

void TemplateTileView::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QRectF TemplateTileView::imageRect(const QRectF& bounds)
{
    return bounds.adjusted(imageInset, imageInset, -imageInset, -imageInset);
}

QRectF TemplateTileView::pictureRect(const QSizeF& size, const QRectF& bounds)
{
    return CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), size), imageRect(bounds));
}

QRectF TemplateTileView::highlightRect(const QRectF& bounds)
{
    return bounds.adjusted(highlightInset, highlightInset, -highlightInset, -highlightInset);
}

void TemplateTileView::click()
{
    if (!clickActs()) {
        return;
    }
    choose();
    if (parentWidget()) {
        parentWidget()->update();
    }
    update();
    editor_.displayCanvasView();
}

void TemplateTileView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();
    if (!image_.isNull()) {
        painter.drawImage(pictureRect(QSizeF(image_.size()), bounds), image_);
    }
    if (isChosen()) {
        QPainterPath path;
        path.addRoundedRect(highlightRect(bounds), highlightRadius, highlightRadius);
        painter.fillPath(path, QColor::fromRgbF(1, 1, 0, 0.1f));
        painter.setPen(QPen(QColor(Qt::yellow), 2));
        painter.drawPath(path);
    }
}

void TemplateTileView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        click();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
