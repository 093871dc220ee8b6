#include "slideshow/PendingCropWndCtrl.h"

#include <QtDebug>

void PendingCropWndCtrl::startEdittingImage(const QImage&, const QSizeF&,
                                            const std::shared_ptr<CropItem>&)
{
    qInfo("Photo crop sheet is not available yet; the crop is unchanged");
}
