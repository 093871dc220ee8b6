#include "videoedit/MenuPictureShowView.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

#include "common/DraggedFiles.h"
#include "videoedit/core/VideoEditSettingRules.h"

namespace {

constexpr double kRadius = 4.0;

}  // namespace

MenuPictureShowView::MenuPictureShowView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setMinimumSize(120, 68);
}

void MenuPictureShowView::setShowImage(const QImage& image)
{
    m_showImage = image;
    update();
}

bool MenuPictureShowView::dragAllowed() const
{
    if (!videoEditCanUse()) {
        return false;
    }
    QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == window();
}

bool MenuPictureShowView::performDragOperation(const QStringList& paths)
{
    const QString picture = VideoEditSettingRules::firstLoadablePicture(paths);
    if (!picture.isEmpty()) {
        emit picturePathDropped(picture);
    }
    return true;
}

void MenuPictureShowView::dragEnterEvent(QDragEnterEvent* event)
{
    if (videoEditCanUse() && event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void MenuPictureShowView::dragMoveEvent(QDragMoveEvent* event)
{
    if (dragAllowed()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void MenuPictureShowView::dropEvent(QDropEvent* event)
{
    if (!dragAllowed()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    performDragOperation(DraggedFiles::localFiles(event->mimeData()));
}

void MenuPictureShowView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect());
    QPainterPath well;
    well.addRoundedRect(bounds, kRadius, kRadius);
    painter.fillPath(well, QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    painter.setPen(QPen(QColor::fromRgbF(0.03f, 0.03f, 0.03f), 1.0));
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    if (!m_showImage.isNull()) {
        const QRectF target = VideoEditSettingRules::sizeMaxInSourceRect(
            QSizeF(m_showImage.size()), bounds.adjusted(10, 5, -10, -5));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_showImage);
    }
}
