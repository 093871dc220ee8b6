#pragma once
// The lower panel of the slideshow editor: a gradient from grey 0.26 to 0.18
// with a dark and a light line along its top.

#include "slideshow/RenderBackView.h"

class DownRenderBackView : public RenderBackView {
    Q_OBJECT
public:
    using RenderBackView::RenderBackView;
    Look look(double height) const override;
};
