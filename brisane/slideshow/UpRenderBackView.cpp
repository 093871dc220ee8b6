#include "slideshow/UpRenderBackView.h"

#include <cmath>

RenderBackView::Look UpRenderBackView::look(double height) const
{
    const double top = std::floor(height);
    return {0.13, 0.14, {{0.03, 0.5}, {0.15, 1.5}, {0.03, top - 0.5}}};
}
