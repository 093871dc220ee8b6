#pragma once
// What the crop frame tells its owner. Main thread.

class CropFrameViewDelegate {
public:
    virtual ~CropFrameViewDelegate() = default;

    // The crop rectangle changed (a drag step or an arrow key).
    virtual void updateCropRatioRectInformation() = 0;
    // Told right after, for an owner that redraws around the frame.
    virtual void setCropRectDisplayOnSuperview() {}
};
