#pragma once
// The middle panel of the slideshow editor: flat grey 0.1.

#include "slideshow/RenderBackView.h"

class MiddleRenderBackView : public RenderBackView {
    Q_OBJECT
public:
    using RenderBackView::RenderBackView;
    Look look(double height) const override;
};
