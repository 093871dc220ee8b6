#pragma once
// Slideshows of generated photos for the slideshow rendering tests.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "TestSupport.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"

namespace slideshowtest {

// Photos of distinct colours in a folder of their own.
class PhotoFolder {
public:
    PhotoFolder()
    {
        const QString temp = m_dir.filePath("temp-photo");
        QDir().mkpath(temp);
        PhotoItem::updateAppTempPath(temp);
    }

    QStringList photos(int count, QSize size = {320, 240})
    {
        static const QList<QColor> colours{Qt::red,  Qt::green,   Qt::blue,    Qt::yellow,
                                           Qt::cyan, Qt::magenta, Qt::darkRed, Qt::darkGreen};
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colours[i % colours.size()]);
            const QString path = m_dir.filePath(QStringLiteral("photo%1.png").arg(i));
            image.save(path);
            paths.append(path);
        }
        return paths;
    }

    // A slideshow of `count` photos on the default transition, `seconds` per
    // photo, its compositions run at `pace` seconds per photo (the same as
    // `seconds` when not given: composition time is slideshow time).
    std::shared_ptr<RenderItem> slideshow(int count, double seconds = 5.0, double pace = 0.0)
    {
        auto item = RenderItem::renderItemWithPhotoPaths(photos(count));
        if (item) {
            item->oSlideshowItem()->setDDuration(seconds);
            item->oSlideshowItem()->setDBestDuration(pace > 0.0 ? pace : seconds);
        }
        return item;
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir = testsupport::makeTempDir();
};

}  // namespace slideshowtest
