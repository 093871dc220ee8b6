#include "corvane/DVDMenuImageGenerator.h"

#include <QColor>
#include <QFile>
#include <QImageWriter>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QSaveFile>
#include <QtDebug>
#include <exception>

#include "DLGeometry.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDMenuPage.h"

namespace {

// Pixels of coloured border kept around the clear inside of a video element.
constexpr double maskInset = 10;

QMutex hookMutex;
DVDMenuImageGenerator::DrawHook& hookStorage()
{
    static DVDMenuImageGenerator::DrawHook hook;
    return hook;
}

DVDMenuImageGenerator::DrawHook installedHook()
{
    QMutexLocker lock(&hookMutex);
    return hookStorage();
}

}  // namespace

void DVDMenuImageGenerator::setDrawDVDMenuImageHook(DrawHook hook)
{
    QMutexLocker lock(&hookMutex);
    hookStorage() = std::move(hook);
}

bool DVDMenuImageGenerator::respondsToDrawDVDMenuImage()
{
    return static_cast<bool>(installedHook());
}

QSize DVDMenuImageGenerator::getDVDVideoFormatSize() const
{
    return m_dvd ? m_dvd->dvdVideoSize() : QSize();
}

QImage DVDMenuImageGenerator::generatorImageForName(const QString& name)
{
    const QSize size = getDVDVideoFormatSize();
    const auto surface = DLBitmapImage::imageWithSize(size);
    if (!surface) {
        return {};
    }
    surface->lockFocus();
    if (respondsToDrawDVDMenuImage()) {
        drawInstalled(name, size);
    } else if (QPainter* painter = surface->painter()) {
        drawFallback(*painter, name, size);
    }
    surface->unlockFocus();
    return surface->bitmapImageRep();
}

bool DVDMenuImageGenerator::generatorImageForName(const QString& name, const QString& path)
{
    QFile::remove(path);
    const QImage image = generatorImageForName(name);
    if (image.isNull()) {
        qWarning("No %s image to write to %s", qPrintable(name), qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning("Cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image) || !file.commit()) {
        qWarning("Cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

QPainterPath DVDMenuImageGenerator::hightlightMaskForMenu(
    const std::shared_ptr<DVDMenuPage>& page, const std::shared_ptr<const DVDLibrary>&) const
{
    QPainterPath mask;
    if (!page) {
        return mask;
    }
    const QSizeF frameSize = getDVDVideoFormatSize();
    const QSizeF menuSize = page->menuSize();
    for (const auto& element : page->items()) {
        if (!element || !element->isValid() || !element->highlightModeEmptyInDVD()) {
            continue;
        }
        const QRectF area = dlgeometry::insetRect(
            DVDMenuMake::scaleRect(element->frame(), menuSize, frameSize), maskInset);
        if (!area.isEmpty()) {
            mask.addRect(area);
        }
    }
    return mask;
}

void DVDMenuImageGenerator::drawDVDMenuImageSize(const QString& name, const QSizeF& size)
{
    if (const DrawHook hook = installedHook()) {
        hook(*this, name, size);
    }
}

QColor DVDMenuImageGenerator::fallbackColor(const QString& name)
{
    if (name == QLatin1String("menu_select")) {
        return QColor::fromRgbF(1, 0, 0, 0.3f);
    }
    if (name == QLatin1String("menu_image")) {
        return QColor::fromRgbF(1, 1, 1, 0.07f);
    }
    return QColor::fromRgbF(0.2f, 0.2f, 0.7f, 0.7f);
}

void DVDMenuImageGenerator::drawFallback(QPainter& painter, const QString& name,
                                         const QSize& size) const
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), fallbackColor(name));
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(hightlightMaskForMenu(m_menu, m_dvd), Qt::transparent);
    painter.restore();
}

void DVDMenuImageGenerator::drawInstalled(const QString& name, const QSizeF& size)
{
    try {
        drawDVDMenuImageSize(name, size);
    } catch (const std::exception& error) {
        qWarning("Drawing the %s image failed: %s", qPrintable(name), error.what());
    } catch (...) {
        qWarning("Drawing the %s image failed", qPrintable(name));
    }
}
