#pragma once
// What the crop and watermark overlay tells and asks the video edit sheet.
// Main thread.

class VEPlayerCropView;

class VEPlayerCropViewDelegate {
public:
    virtual ~VEPlayerCropViewDelegate() = default;

    // The overlay's rectangle changed (during and after a drag or a key move).
    virtual void playerCropDidChanged(VEPlayerCropView* view) = 0;
    // The overlay edits the watermark rather than the crop.
    virtual bool isEditWaterMark() const = 0;
};
