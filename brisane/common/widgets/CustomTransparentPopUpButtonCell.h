#pragma once
// The translucent pop-up button of the dark panels, drawn from the
// "TransparentPopUp" pictures. Unlike the other image-drawn controls it keeps
// the control size it is given: its title is 13 pixels at the regular size,
// 11 otherwise; white, at 0.6 alpha when disabled.

#include "common/widgets/TransparentPopUpBase.h"

class CustomTransparentPopUpButtonCell : public TransparentPopUpBase {
    Q_OBJECT
public:
    explicit CustomTransparentPopUpButtonCell(QWidget* parent = nullptr);

    int controlSize() const { return controlSize_; }
    void setControlSize(int size);
    // Kept for the layouts; the drawing does not read it.
    bool clipAlpha() const { return clipAlpha_; }
    void setClipAlpha(bool clipAlpha) { clipAlpha_ = clipAlpha; }

    QRectF imageRectForBounds(const QRectF& bounds) const override;
    QRectF titleRectForBounds(const QRectF& bounds) const override;
    QFont titleFont() const override;
    QColor titleColor() const override;

private:
    int controlSize_ = ThreePartImage::RegularControlSize;
    bool clipAlpha_ = false;
};
