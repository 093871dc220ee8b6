#pragma once
// The dark pop-up button, drawn from the "DrakPopUp" pictures, with a 13
// pixel white title that dims when disabled and an optional small picture
// (such as the action picture) before it. Its control size is always small.

#include "common/widgets/TransparentPopUpBase.h"

class DrakPopUpCell : public TransparentPopUpBase {
    Q_OBJECT
public:
    explicit DrakPopUpCell(QWidget* parent = nullptr);

    int controlSize() const { return ThreePartImage::SmallControlSize; }
    void setControlSize(int) {}

    // The action (gear) picture at the 10 x 10 size the pop-up shows it.
    static QImage actionImage();

    QRectF titleRectForBounds(const QRectF& bounds) const override;
    QFont titleFont() const override;
    QColor titleColor() const override;
};
