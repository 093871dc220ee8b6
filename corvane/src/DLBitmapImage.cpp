#include "corvane/DLBitmapImage.h"

#include <QList>
#include <QTransform>
#include <QtGlobal>

#include "platform/Numeric.h"

namespace {

// The surfaces holding focus on this thread, innermost last.
thread_local QList<DLBitmapImage*> focusStack;

int pixelsFor(double points)
{
    return saturatingCast<int>(points + 0.5);
}

}  // namespace

DLBitmapImage::~DLBitmapImage()
{
    if (m_painter) {
        qWarning("DLBitmapImage destroyed while its focus is locked");
        m_painter->end();
        focusStack.removeAll(this);
    }
}

std::shared_ptr<DLBitmapImage> DLBitmapImage::imageWithSize(const QSizeF& size)
{
    const int width = pixelsFor(size.width());
    const int height = pixelsFor(size.height());
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    QImage bitmap(width, height, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull()) {
        qWarning("DLBitmapImage: cannot allocate a %d x %d bitmap", width, height);
        return nullptr;
    }
    bitmap.fill(Qt::transparent);
    auto surface = std::make_shared<DLBitmapImage>();
    surface->m_bitmap = std::move(bitmap);
    return surface;
}

void DLBitmapImage::lockFocus()
{
    if (m_focusDepth == 0) {
        m_painter = std::make_unique<QPainter>();
        if (m_bitmap.isNull() || !m_painter->begin(&m_bitmap)) {
            m_painter.reset();
        } else {
            m_painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            // The one place where the bottom-left canvas meets Qt's top-left one.
            m_painter->setWorldTransform(QTransform(1, 0, 0, -1, 0, m_bitmap.height()));
        }
    } else if (m_painter) {
        m_painter->save();
    }
    ++m_focusDepth;
    focusStack.append(this);
}

void DLBitmapImage::unlockFocus()
{
    if (m_focusDepth == 0) {
        qWarning("DLBitmapImage::unlockFocus without lockFocus");
        return;
    }
    --m_focusDepth;
    const qsizetype index = focusStack.lastIndexOf(this);
    if (index >= 0) {
        focusStack.remove(index);
    }
    if (!m_painter) {
        return;
    }
    if (m_focusDepth > 0) {
        m_painter->restore();
    } else {
        m_painter->end();
        m_painter.reset();
    }
}

QSizeF DLBitmapImage::size() const
{
    return QSizeF(m_bitmap.width(), m_bitmap.height());
}

QImage DLBitmapImage::nsimage() const
{
    if (m_bitmap.isNull()) {
        return QImage();
    }
    // While a painter works on the bitmap a shallow copy would keep changing.
    return m_painter ? m_bitmap.copy() : m_bitmap;
}

QPainter* DLBitmapImage::currentContext()
{
    return focusStack.isEmpty() ? nullptr : focusStack.last()->painter();
}

QRectF DLBitmapImage::flipped(const QRectF& rect, double height)
{
    return QRectF(rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height());
}

void DLBitmapImage::drawUpright(QPainter& painter, const QRectF& destination,
                                const std::function<void(QPainter&, const QSizeF&)>& draw)
{
    painter.save();
    // Pictures and text are laid out top row first: turn the y-up space back for them.
    painter.translate(destination.x(), destination.y() + destination.height());
    painter.scale(1, -1);
    draw(painter, destination.size());
    painter.restore();
}

void DLBitmapImage::drawImage(QPainter& painter, const QImage& image, const QRectF& destination,
                              const QRectF& source, QPainter::CompositionMode mode, double opacity)
{
    if (image.isNull() || destination.isEmpty()) {
        return;
    }
    const QRectF part = source.isEmpty() ? QRectF(0, 0, image.width(), image.height())
                                         : flipped(source, image.height());
    drawUpright(painter, destination, [&](QPainter& p, const QSizeF& size) {
        p.setCompositionMode(mode);
        p.setOpacity(opacity);
        p.drawImage(QRectF(QPointF(0, 0), size), image, part);
    });
}
