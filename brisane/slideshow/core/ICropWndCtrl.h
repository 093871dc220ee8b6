#pragma once
// The photo crop sheet as the slideshow editor sees it. Main thread.

#include <QImage>
#include <QSizeF>
#include <memory>

class CropItem;
class QWidget;

class ICropWndCtrl {
public:
    virtual ~ICropWndCtrl() = default;

    // The window the sheet attaches to. Not owned.
    virtual void setWndSheetedWindow(QWidget* window) = 0;
    // Edits the crop of a photo (its working picture and original pixel
    // size) in place; returns when the sheet closes.
    virtual void startEdittingImage(const QImage& image, const QSizeF& originalSize,
                                    const std::shared_ptr<CropItem>& crop) = 0;
    // Whether the last run changed anything.
    virtual bool bDidChange() const = 0;
};
