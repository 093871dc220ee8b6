#pragma once
// The dark cover laid over the menu canvas while the disc has no menus:
// opaque grey 0.1. It keeps every click to itself (taking the keyboard focus),
// so nothing on the canvas below can be picked.

#include "common/widgets/MouseFirstResponderView.h"

class NoMenuView : public MouseFirstResponderView {
    Q_OBJECT
public:
    explicit NoMenuView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
