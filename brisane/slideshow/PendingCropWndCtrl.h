#pragma once
// Stands in for the photo crop sheet until it is built: opening it shows
// nothing, logs one line and changes nothing.

#include "slideshow/ICropWndCtrl.h"

class PendingCropWndCtrl : public ICropWndCtrl {
public:
    void setWndSheetedWindow(QWidget*) override {}
    void startEdittingImage(const QImage& image, const QSizeF& originalSize,
                            const std::shared_ptr<CropItem>& crop) override;
    bool bDidChange() const override { return false; }
};
