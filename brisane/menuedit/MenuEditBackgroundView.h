#pragma once
// The menu editor's whole area, painted in opaque grey 0.1. A click takes the
// keyboard focus away from the canvas.

#include "common/widgets/MouseFirstResponderView.h"

class MenuEditBackgroundView : public MouseFirstResponderView {
    Q_OBJECT
public:
    explicit MenuEditBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
