#pragma once
// The dark strip above the menu canvas that holds the editor's controls: a
// gradient from grey 0.13 at the top to grey 0.14 at the bottom, with a line
// of grey 0.03 along its upper edge. A click takes the keyboard focus away
// from the canvas.

#include "common/widgets/MouseFirstResponderView.h"

class MenuUpBgView : public MouseFirstResponderView {
    Q_OBJECT
public:
    explicit MenuUpBgView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
