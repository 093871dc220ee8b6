#pragma once
// What the crop picture area asks its owner. Main thread.

#include <QRectF>

class CropBackgroundViewDelegate {
public:
    virtual ~CropBackgroundViewDelegate() = default;

    // The crop rectangle to leave undimmed, in the area's coordinates (y up).
    virtual QRectF getVisualCropFrame() const = 0;
};
