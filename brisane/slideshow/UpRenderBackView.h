#pragma once
// The upper panel of the slideshow editor: a gradient from grey 0.13 to 0.14,
// dark lines along both edges and a light one just above the bottom.

#include "slideshow/RenderBackView.h"

class UpRenderBackView : public RenderBackView {
    Q_OBJECT
public:
    using RenderBackView::RenderBackView;
    Look look(double height) const override;
};
